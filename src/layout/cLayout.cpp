#include "layout/cLayout.h"

#include <algorithm>

#include "layout/StepTexts.h"
#include "layout/FileBackup.h"
#include "layout/LayoutFile.h"
#include "platform/FileAccess.h"

namespace {

std::string CannotRead(const std::string& path, const std::string& what) {
    return "Cannot read layout file \"" + PathForMessage(path) + "\": " + what;
}

std::string CannotSave(const std::string& path, const std::string& what) {
    return "Cannot save layout file \"" + PathForMessage(path) + "\": " + what;
}

std::string TooLongText(int position, std::size_t length) {
    return "record " + std::to_string(position) + " holds a text of " + std::to_string(length) +
           " characters, more than the " + std::to_string(MaxTextLength) +
           " a layout file can hold";
}

} // namespace

cLayout::cLayout(UserDialogs& dialogs) : Dialogs(dialogs) {}

void cLayout::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}

bool cLayout::FirstControl(ControlRecord& record) {
    NextIndex = 1;
    return NextControl(record);
}

bool cLayout::NextControl(ControlRecord& record) {
    if (NextIndex < 1 || NextIndex > ControlCount()) return false;
    record = Controls[static_cast<std::size_t>(NextIndex - 1)];
    ++NextIndex;
    return true;
}

void cLayout::AppendControl(const ControlRecord& record) {
    if (ControlCount() >= MaxControls) {
        Warn("Error in AppendControl - Layout already full");
        return;
    }
    // The controls of one append, and of appends one after the other, are one step; the index,
    // the list and the observers learn of them when AppendScreens finishes the command.
    if (PendingAppendFrom < 0) PendingAppendFrom = ControlCount();
    PendingAppendScreens.insert(record.rScreen);
    RecordChangeBuilder change(Controls);
    change.Append(record);
    History.Record(StepText::Append, StepText::Append, true, change.Take());
}

void cLayout::AdoptRecords(std::vector<ControlRecord> records, const std::string& fileName) {
    Controls = std::move(records);
    LayoutFileName = fileName;
    History.Clear();
    PendingAppendFrom = -1;
    PendingAppendScreens.clear();
    BuildScreenIndex(true);
    FillScreenList(BoundList);
    LayoutChange change;
    change.Reloaded = true;
    change.RecordsChanged = true;
    change.RecordsMoved = true;
    change.ScreensChanged = true;
    Notify(std::move(change));
}

void cLayout::SetIsDirty(bool value) {
    if (value)
        History.ForgetSaved();
    else
        History.MarkSaved();
    Notify({});
}

void cLayout::SetFileName(const std::string& value) {
    if (value == LayoutFileName) return;
    LayoutFileName = value;
    LayoutChange change;
    change.FileNameChanged = true;
    Notify(std::move(change));
}

void cLayout::AddObserver(LayoutObserver& observer) {
    if (std::find(Observers.begin(), Observers.end(), &observer) == Observers.end())
        Observers.push_back(&observer);
}

void cLayout::RemoveObserver(LayoutObserver& observer) {
    std::erase(Observers, &observer);
}

void cLayout::Notify(LayoutChange change) {
    if (IsDirty() != ToldDirty) {
        change.ModifiedChanged = true;
        ToldDirty = IsDirty();
    }
    std::string undo = UndoText(), redo = RedoText();
    if (undo != ToldUndo || redo != ToldRedo || change.Reloaded) {
        change.HistoryChanged = true;
        ToldUndo = std::move(undo);
        ToldRedo = std::move(redo);
    }
    // An observer may stop observing while it is told; the others are still told.
    const std::vector<LayoutObserver*> observers = Observers;
    for (LayoutObserver* observer : observers)
        if (std::find(Observers.begin(), Observers.end(), observer) != Observers.end())
            observer->LayoutChanged(*this, change);
}

bool cLayout::LoadLayout(const std::string& path) {
    // The file is read as far as the layout goes: its count, its records and its trailer.
    FileSource file;
    std::string reason;
    if (!file.Open(path, reason)) {
        Warn(CannotRead(path, reason));
        return false;
    }
    LayoutReader in(file);
    const auto endsAt = [&in] { return ", at byte " + std::to_string(in.BytesSeen()); };
    const auto ended = [&](const std::string& inside) {
        if (in.LastFault() == LayoutReader::Fault::ReadError)
            Warn(CannotRead(path, in.ReadErrorReason()));
        else
            Warn(CannotRead(path, "it ends inside " + inside + endsAt()));
        return false;
    };

    int32_t count = 0;
    if (!in.GetRawLong(count)) return ended("the record count");
    if (count < 0 || count > MaxControls) {
        Warn(CannotRead(path, "its record count " + std::to_string(count) + " is outside 0 to " +
                                  std::to_string(MaxControls) + "; a layout holds at most " +
                                  std::to_string(MaxControls) + " records"));
        return false;
    }

    // Records are added as they are read, so a damaged count cannot claim memory the file lacks.
    std::vector<ControlRecord> records;
    for (int i = 0; i < count; ++i) {
        if (ReadControl(in, records.emplace_back())) continue;
        if (in.LastFault() == LayoutReader::Fault::TextTooLong) {
            Warn(CannotRead(path, TooLongText(i + 1, static_cast<std::size_t>(in.TooLongLength())) +
                                      ", at byte " + std::to_string(in.Offset())));
            return false;
        }
        return ended("record " + std::to_string(i + 1));
    }

    std::array<int32_t, 10> trailer{};
    for (int32_t& value : trailer)
        if (!in.GetRawLong(value)) return ended("the trailer");

    Trailer = trailer;
    AdoptRecords(std::move(records), path);
    return true;
}

bool cLayout::SaveLayout(const std::string& path) {
    std::size_t size = 44;
    for (int i = 0; i < ControlCount(); ++i) {
        const ControlRecord& record = Controls[static_cast<std::size_t>(i)];
        if (const std::string* text = TextTooLongToStore(record)) {
            Warn(CannotSave(path, TooLongText(i + 1, text->size())));
            return false;
        }
        size += 60 + 15 + record.rText.size() + record.rGText.size() + record.rBitMapPath.size() +
                record.rLabel.size() + record.rFormat.size();
    }

    std::string bytes;
    bytes.reserve(size);
    PutLong(bytes, ControlCount());
    for (const ControlRecord& record : Controls)
        WriteControl(bytes, record);
    for (int32_t value : Trailer)
        PutLong(bytes, value);

    FileWrite how;
    if (IsReadOnlyFile(WriteTargetOf(path))) {
        if (Dialogs.MsgBox(ReadOnlyQuestion(CannotSave(path, ReadOnlyReason)), MsgButtons::YesNo,
                           MsgIcon::Question, ReadOnlyQuestionTitle) != MsgAnswer::Yes)
            return false;
        how.ReplaceReadOnly = true;
    }
    std::string reason;
    if (!WriteWithBackup(path, bytes, reason, true, how)) {
        Warn(CannotSave(path, reason));
        return false;
    }
    History.MarkSaved();
    Notify({});
    return true;
}
