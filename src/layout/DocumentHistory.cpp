#include "layout/cLayout.h"

#include "layout/LayoutFile.h"

namespace {

// What a list of changes did to the records, for the observers: the screens touched and, when
// records moved, where each record of before lies after. `sizeBefore` is the number of records
// before the changes were applied (or reverted, when `reverted`).
LayoutChange Describe(const RecordChanges& changes, bool reverted, std::size_t sizeBefore,
                      const std::vector<ControlRecord>& records) {
    LayoutChange change;
    change.RecordsChanged = !changes.empty();
    for (const RecordChange& piece : changes) {
        piece.CollectScreens(records, !reverted, change.Screens);
        if (piece.What() != RecordChange::Type::Replace) change.RecordsMoved = true;
    }
    if (!change.RecordsMoved) return change;
    std::vector<int> origin(sizeBefore);
    for (std::size_t i = 0; i < sizeBefore; ++i)
        origin[i] = static_cast<int>(i) + 1;
    if (reverted) {
        for (auto piece = changes.rbegin(); piece != changes.rend(); ++piece)
            piece->FollowPositions(origin, true);
    } else {
        for (const RecordChange& piece : changes)
            piece.FollowPositions(origin, false);
    }
    change.PositionAfter.assign(sizeBefore, 0);
    for (std::size_t i = 0; i < origin.size(); ++i) {
        if (origin[i] > 0)
            change.PositionAfter[static_cast<std::size_t>(origin[i] - 1)] = static_cast<int>(i) + 1;
        else
            change.Inserted.push_back(static_cast<int>(i) + 1);
    }
    return change;
}

// The number of records before applied changes, from the number after them.
std::size_t SizeBefore(const RecordChanges& changes, std::size_t sizeAfter) {
    std::size_t size = sizeAfter;
    for (const RecordChange& piece : changes) {
        if (piece.What() == RecordChange::Type::Insert) size -= piece.Positions().size();
        if (piece.What() == RecordChange::Type::Remove) size += piece.Positions().size();
    }
    return size;
}

std::string StoredTooLong(const ControlRecord& record, int position) {
    const std::string* text = TextTooLongToStore(record);
    if (text == nullptr) return {};
    return "Control " + std::to_string(position) + " would hold a text of " +
           std::to_string(text->size()) + " characters, more than the " +
           std::to_string(MaxTextLength) + " a layout file can hold.";
}

} // namespace

void cLayout::Commit(const std::string& text, const std::string& runKey, bool asks,
                     RecordChanges changes, int selectRow) {
    if (changes.empty()) return;
    const std::size_t before = SizeBefore(changes, Controls.size());
    LayoutChange change = Describe(changes, false, before, Controls);
    History.Record(text, runKey, asks, std::move(changes));
    Finish(std::move(change), selectRow);
}

void cLayout::CommitCommand(const char* text, RecordChanges changes, int selectRow) {
    Commit(text, text, true, std::move(changes), selectRow);
}

void cLayout::Finish(LayoutChange change, int selectRow) {
    const std::array<ScreenEntry, ScreenCount> before = ScreenTable;
    BuildScreenIndex(false);
    change.ScreensChanged = ScreenTable != before;
    // Refilling the list loses its selection: only when it shows something new, or the command
    // selects a row itself.
    if (change.ScreensChanged || selectRow > 0) FillScreenList(BoundList);
    if (selectRow > 0) SelectListRow(selectRow);
    Notify(std::move(change));
}

void cLayout::Undo() {
    const HistoryStep* step = History.NextUndo();
    if (step == nullptr) {
        Dialogs.MsgBox("Nothing available to undo", MsgButtons::OK, MsgIcon::None);
        return;
    }
    if (step->Asks) {
        const std::string prompt =
            "Is it OK to undo " + step->Text + " done " + std::to_string(step->Repeat) + " times?";
        if (Dialogs.MsgBox(prompt, MsgButtons::YesNo, MsgIcon::Question, "OK to Undo?") !=
            MsgAnswer::Yes)
            return;
    }
    const std::size_t before = Controls.size();
    step = History.Undo(Controls);
    LayoutChange change = Describe(step->Changes, true, before, Controls);
    // The list always shows the records as they are back, as the screen commands' undo did.
    const std::array<ScreenEntry, ScreenCount> previous = ScreenTable;
    BuildScreenIndex(false);
    change.ScreensChanged = ScreenTable != previous;
    FillScreenList(BoundList);
    Notify(std::move(change));
}

void cLayout::Redo() {
    if (!History.CanRedo()) {
        Dialogs.MsgBox("Nothing available to redo", MsgButtons::OK, MsgIcon::None);
        return;
    }
    const std::size_t before = Controls.size();
    const HistoryStep* step = History.Redo(Controls);
    LayoutChange change = Describe(step->Changes, false, before, Controls);
    const std::array<ScreenEntry, ScreenCount> previous = ScreenTable;
    BuildScreenIndex(false);
    change.ScreensChanged = ScreenTable != previous;
    FillScreenList(BoundList);
    Notify(std::move(change));
}

std::string cLayout::UndoText() const {
    const HistoryStep* step = History.NextUndo();
    return step != nullptr ? step->Text : std::string();
}

std::string cLayout::RedoText() const {
    const HistoryStep* step = History.NextRedo();
    return step != nullptr ? step->Text : std::string();
}

std::string cLayout::ApplyEdit(const ControlsEdit& edit, const std::string& text,
                               const std::string& runKey) {
    const int count = ControlCount();
    std::vector<char> touched(static_cast<std::size_t>(count) + 1, 0);
    for (const auto& [position, record] : edit.Changed) {
        if (position < 1 || position > count)
            return "There is no control " + std::to_string(position) + " to change.";
        if (touched[static_cast<std::size_t>(position)] != 0)
            return "Control " + std::to_string(position) + " is changed twice in one edit.";
        touched[static_cast<std::size_t>(position)] = 1;
        if (std::string tooLong = StoredTooLong(record, position); !tooLong.empty()) return tooLong;
    }
    for (int position : edit.Removed) {
        if (position < 1 || position > count)
            return "There is no control " + std::to_string(position) + " to delete.";
        if (touched[static_cast<std::size_t>(position)] != 0)
            return "Control " + std::to_string(position) + " is changed or deleted twice.";
        touched[static_cast<std::size_t>(position)] = 2;
    }
    const std::size_t size = static_cast<std::size_t>(count) - edit.Removed.size();
    if (!edit.Inserted.empty() &&
        size + edit.Inserted.size() > static_cast<std::size_t>(MaxControls))
        return "The layout would hold " + std::to_string(size + edit.Inserted.size()) +
               " records, more than the " + std::to_string(MaxControls) + " it can hold.";
    int last = 0;
    for (const auto& [position, record] : edit.Inserted) {
        if (position <= last || position > static_cast<int>(size + edit.Inserted.size()))
            return "Control " + std::to_string(position) + " cannot be inserted there.";
        last = position;
        if (std::string tooLong = StoredTooLong(record, position); !tooLong.empty()) return tooLong;
    }

    RecordChangeBuilder change(Controls);
    for (const auto& [position, record] : edit.Changed)
        change.Set(static_cast<std::size_t>(position - 1), record);
    std::vector<int> removed;
    removed.reserve(edit.Removed.size());
    for (int position : edit.Removed)
        removed.push_back(position - 1);
    change.Remove(std::move(removed));
    std::vector<int> at;
    std::vector<ControlRecord> inserted;
    for (const auto& [position, record] : edit.Inserted) {
        at.push_back(position - 1);
        inserted.push_back(record);
    }
    change.Insert(std::move(at), std::move(inserted));
    Commit(text, runKey, false, change.Take());
    return {};
}
