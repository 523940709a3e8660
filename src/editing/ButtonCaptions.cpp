#include "layout/cLayout.h"

#include "layout/StepTexts.h"
#include "layout/HostCodes.h"

void cLayout::UpdateButtonCaptions() {
    RecordChangeBuilder change(Controls);
    int count = 0;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const ControlRecord& r = Controls[i];
        if (!r.IsFunctionKeyButton()) continue;
        ++count;
        const std::string screen = std::to_string(r.rOEMCode);
        const std::string prompt =
            "New caption for button: " + r.rText + "\n" +
            "Old Funtion key: " + std::to_string(FunctionKeyNumber(r.rHotKey)) + "\n\n" +
            "Screen " + screen + " will be selected by F" + screen + "\n\n" + "Set caption to:";
        std::string answer = Dialogs.InputBox(prompt, "Update button caption & F-keys", r.rText);
        // An empty answer is a cancel: no further button is offered. The buttons already done
        // keep their new captions, as one step like a completed run.
        if (answer.empty()) break;
        ControlRecord recaptioned = r;
        recaptioned.rText = std::move(answer);
        recaptioned.rHotKey = FunctionKeyCode(r.rOEMCode);
        change.Set(i, std::move(recaptioned));
    }
    if (count == 0)
        Dialogs.MsgBox("No Function Key buttons in layout so nothing updated", MsgButtons::OK,
                       MsgIcon::None);
    // Nothing answered, or every answer as it was: no step, and the layout as modified as before.
    CommitCommand(StepText::Captions, change.Take());
}
