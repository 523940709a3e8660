#include "layout/cLayout.h"

#include <algorithm>

namespace {
constexpr const char* ReplacePersistentQuestion =
    "You are going to replace the Persistent screen. OK?";
} // namespace

void cLayout::FinishScreenChange() {
    Dirty = true;
    BuildScreenIndex(false);
    FillScreenList(BoundList);
}

void cLayout::DeleteScreens(int screen) {
    if (screen == 0) return Warn("You may not delete the Persistent screen");
    if (screen < 0) return Warn("Nothing selected to Delete");
    if (screen > LastUserScreenNo())
        return Warn("Call to Delete with invalid screen group: = " + std::to_string(screen));

    RecordUndo(UndoDelete);
    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen)] = -1;
    for (int i = screen + 1; i < ScreenCount; ++i)
        ScreenMap[static_cast<std::size_t>(i)] = i - 1;

    // One pass in place: the screen's own controls go, and so does every link, button or bitmap
    // button, that would otherwise show a screen that no longer exists.
    std::erase_if(Controls, [screen](const ControlRecord& r) {
        return r.rScreen == screen || (r.IsScreenLink() && r.rOEMCode == screen);
    });
    ApplyScreenMap();
    FinishScreenChange();
    SelectListRow(1);
}

void cLayout::PromoteScreens(int screen) {
    if (screen < 0) return Warn("Nothing selected to Promote");
    if (screen == 0) return Warn("You cannot Promote the Persistent screen");
    if (screen == 1 && Dialogs.MsgBox(ReplacePersistentQuestion, MsgButtons::OKCancel,
                                      MsgIcon::Question) != MsgAnswer::OK)
        return;
    if (screen > LastUserScreenNo())
        return Warn("Call to Promote with invalid screen group: = " + std::to_string(screen));

    RecordUndo(UndoPromote);
    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen - 1)] = screen;
    ScreenMap[static_cast<std::size_t>(screen)] = screen - 1;
    ApplyScreenMap();
    FinishScreenChange();
    // The row of the promoted screen, so pressing again moves it one step further.
    SelectListRow(screen);
}

void cLayout::DemoteScreens(int screen) {
    if (screen < 0) return Warn("Nothing selected to Demote");
    if (screen == LastUserScreenNo())
        return Warn("You cannot Promote the screen " + std::to_string(screen));
    if (screen == 0 && Dialogs.MsgBox(ReplacePersistentQuestion, MsgButtons::OKCancel,
                                      MsgIcon::Question) != MsgAnswer::OK)
        return;
    if (screen > LastUserScreenNo())
        return Warn("Call to Demote with invalid screen group: = " + std::to_string(screen));

    RecordUndo(UndoDemote);
    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen + 1)] = screen;
    ScreenMap[static_cast<std::size_t>(screen)] = screen + 1;
    ApplyScreenMap();
    FinishScreenChange();
    SelectListRow(screen + 2);
}
