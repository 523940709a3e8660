#include "layout/cLayout.h"

#include "layout/StepTexts.h"

namespace {
constexpr const char* ReplacePersistentQuestion =
    "You are going to replace the Persistent screen. OK?";
} // namespace

void cLayout::DeleteScreens(int screen) {
    if (screen == 0) return Warn("You may not delete the Persistent screen");
    if (screen < 0) return Warn("Nothing selected to Delete");
    if (screen > LastUserScreenNo())
        return Warn("Call to Delete with invalid screen group: = " + std::to_string(screen));

    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen)] = -1;
    for (int i = screen + 1; i < ScreenCount; ++i)
        ScreenMap[static_cast<std::size_t>(i)] = i - 1;

    // One pass: the screen's own controls go, and so does every link, button or bitmap button,
    // that would otherwise show a screen that no longer exists.
    std::vector<int> removed;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const ControlRecord& r = Controls[i];
        if (r.rScreen == screen || (r.IsScreenLink() && r.rOEMCode == screen))
            removed.push_back(static_cast<int>(i));
    }
    RecordChangeBuilder change(Controls);
    change.Remove(std::move(removed));
    ApplyScreenMap(change);
    CommitCommand(StepText::Delete, change.Take(), 1);
}

void cLayout::PromoteScreens(int screen) {
    if (screen < 0) return Warn("Nothing selected to Promote");
    if (screen == 0) return Warn("You cannot Promote the Persistent screen");
    if (screen == 1 && Dialogs.MsgBox(ReplacePersistentQuestion, MsgButtons::OKCancel,
                                      MsgIcon::Question) != MsgAnswer::OK)
        return;
    if (screen > LastUserScreenNo())
        return Warn("Call to Promote with invalid screen group: = " + std::to_string(screen));

    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen - 1)] = screen;
    ScreenMap[static_cast<std::size_t>(screen)] = screen - 1;
    RecordChangeBuilder change(Controls);
    ApplyScreenMap(change);
    // The row of the promoted screen, so pressing again moves it one step further.
    CommitCommand(StepText::Promote, change.Take(), screen);
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

    ResetScreenMap();
    ScreenMap[static_cast<std::size_t>(screen + 1)] = screen;
    ScreenMap[static_cast<std::size_t>(screen)] = screen + 1;
    RecordChangeBuilder change(Controls);
    ApplyScreenMap(change);
    CommitCommand(StepText::Demote, change.Take(), screen + 2);
}
