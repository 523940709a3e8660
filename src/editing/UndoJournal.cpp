#include "layout/cLayout.h"

#include <limits>

namespace {
const char* UndoKindText(int32_t kind) {
    switch (kind) {
    case UndoDelete:
        return "Delete screen(s)";
    case UndoPromote:
        return "Promote screen(s) Up list";
    case UndoDemote:
        return "Demote screen(s) Down List";
    case UndoAppend:
        return "Append screen(s) from Additional layout";
    case UndoCaptions:
        return "Re-caption buttons";
    case UndoRescale:
        return "Re-Scale of screen(s)";
    case UndoSortDROs:
        return "Sorting of DROs";
    default:
        return "";
    }
}
constexpr int MaxUndoRepeat = std::numeric_limits<int16_t>::max();
} // namespace

void cLayout::RecordUndo(int32_t kind) {
    if (kind == UndoKind) {
        // The count is what the prompt shows; the snapshot already covers the whole run.
        if (UndoRepeat < MaxUndoRepeat) ++UndoRepeat;
        return;
    }
    TakeSnapshot(kind);
    UndoRepeat = 1;
}

void cLayout::TakeSnapshot(int32_t kind) {
    UndoControls = Controls;
    UndoRepeat = 0;
    UndoKind = kind;
}

void cLayout::RestoreSnapshot() {
    Controls.swap(UndoControls);
    UndoControls.clear();
    UndoKind = UndoNone;
    UndoRepeat = 0;
}

void cLayout::Undo() {
    if (UndoKind == UndoNone) {
        Dialogs.MsgBox("Nothing available to undo", MsgButtons::OK, MsgIcon::None);
        return;
    }
    const std::string prompt = std::string("Is it OK to undo ") + UndoKindText(UndoKind) +
                               " done " + std::to_string(UndoRepeat) + " times?";
    if (Dialogs.MsgBox(prompt, MsgButtons::YesNo, MsgIcon::Question, "OK to Undo?") !=
        MsgAnswer::Yes)
        return;
    RestoreSnapshot();
    BuildScreenIndex(false);
    FillScreenList(BoundList);
}
