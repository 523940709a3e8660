#include "layout/HostCodes.h"
#include "layout/cLayout.h"

void cLayout::UpdateButtonCaptions() {
    RecordUndo(UndoCaptions);
    int count = 0;
    bool cancelled = false;
    for (ControlRecord& r : Controls) {
        if (!r.IsFunctionKeyButton()) continue;
        ++count;
        const std::string screen = std::to_string(r.rOEMCode);
        const std::string prompt =
            "New caption for button: " + r.rText + "\n" +
            "Old Funtion key: " + std::to_string(FunctionKeyNumber(r.rHotKey)) + "\n\n" +
            "Screen " + screen + " will be selected by F" + screen + "\n\n" + "Set caption to:";
        std::string answer = Dialogs.InputBox(prompt, "Update button caption & F-keys", r.rText);
        // An empty answer is a cancel: no further button is offered.
        if (answer.empty()) {
            cancelled = true;
            break;
        }
        r.rText = std::move(answer);
        r.rHotKey = FunctionKeyCode(r.rOEMCode);
    }
    if (cancelled) {
        // A cancel at the first button has changed nothing. Later, the buttons already done keep
        // their new captions, so the document is as changed as after a completed run and must say
        // so, or closing would drop them without a question; the undo journal holds the way back.
        if (count == 1) return;
        Dirty = true;
    } else if (count == 0) {
        Dialogs.MsgBox("No Function Key buttons in layout so nothing updated", MsgButtons::OK,
                       MsgIcon::None);
    } else {
        Dirty = true;
    }
    BuildScreenIndex(false);
    FillScreenList(BoundList);
}
