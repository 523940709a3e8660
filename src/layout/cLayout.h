#pragma once
// The layout document: up to MaxControls (32767) control records with the file's trailer, the screen index
// derived from them and the history of their changes. Every command of the program is one call on
// one of the two documents the main window holds.
//
// Guarantees: 0 <= ControlCount() <= MaxControls; a load, import or save that does not complete
// leaves the document exactly as it was; records are copied in and out by value. Every change of
// the records, a command's or an edit's, ends in one commit: it records one history step (or
// grows the open run of its kind), rebuilds the screen index, refills the bound list and tells
// the observers. A command that changes nothing records nothing and leaves the modified state
// alone. Questions are asked before the commit, so a redo never asks. The document is modified
// exactly when its records are not in the state at which they were loaded or last saved.

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "layout/LayoutHistory.h"
#include "layout/ControlRecord.h"
#include "layout/LayoutObserver.h"
#include "layout/ScreenListView.h"
#include "layout/UserDialogs.h"

struct CSVReaderState;

// One entry of the screen index.
struct ScreenEntry {
    std::string Label;                  // from the screen's label control, without its mark
    int ShownByCount = 0;               // 0..2
    std::array<std::string, 2> ShownBy; // captions of the first two buttons that show the screen
    int CtrlCount = 0;                  // records lying on the screen

    bool operator==(const ScreenEntry&) const = default;
};

// An edit of single controls, applied as one step: records changed in place and removed (by their
// 1-based positions before the edit), then records inserted (by their 1-based positions after
// it, ascending).
struct ControlsEdit {
    std::vector<std::pair<int, ControlRecord>> Changed;
    std::vector<int> Removed;
    std::vector<std::pair<int, ControlRecord>> Inserted;

    bool Empty() const { return Changed.empty() && Removed.empty() && Inserted.empty(); }
};

class cLayout {
public:
    explicit cLayout(UserDialogs& dialogs);
    cLayout(const cLayout&) = delete;
    cLayout& operator=(const cLayout&) = delete;

    // --- properties
    int LastUserScreenNo() const { return 15; }
    // Modified: the records are not in the state at which they were loaded or last saved.
    bool IsDirty() const { return !History.AtSaved(); }
    // True: counts as modified until the next save; false: the state now counts as saved.
    void SetIsDirty(bool value);
    // The path the document was last loaded from, as the operating system spells it.
    const std::string& FileName() const { return LayoutFileName; }
    void SetFileName(const std::string& value);
    int EmptyScreenNr() const;
    // The code page of the texts where they meet a person or another format (CSV import, the
    // windows, the tool): the layout never says, so whoever opens it chooses (DetectCodePage).
    // Changing it changes no byte of the records.
    int TextCodePage() const { return CodePage; }
    void SetTextCodePage(int codePage) { CodePage = codePage; }
    int ControlCount() const { return static_cast<int>(Controls.size()); }

    // --- read-only views for what computes from the document (previews, checks, the tool)
    std::span<const ControlRecord> Records() const { return Controls; }
    // The screen index as last built, entry s for screen s.
    const std::array<ScreenEntry, ScreenCount>& Screens() const { return ScreenTable; }
    // The screens beyond the host's 16 (16 and above) that records lie on, ascending, each
    // indexed as the 16 are: its label, its controls, the first two buttons that show it.
    // Computed from the records on each call.
    std::vector<std::pair<int32_t, ScreenEntry>> ScreensBeyond() const;
    const std::array<int32_t, 10>& FileTrailer() const { return Trailer; }

    // --- screen list and observers
    void BindScreenList(ScreenListView& list);
    // Observers are told of every change after it is complete; the document does not own them.
    void AddObserver(LayoutObserver& observer);
    void RemoveObserver(LayoutObserver& observer);

    // --- records
    bool FirstControl(ControlRecord& record);
    bool NextControl(ControlRecord& record);
    void AppendControl(const ControlRecord& record);

    // --- layout file
    // Starts afresh: no records, a zero trailer, no file name, the history emptied, not modified.
    void StartEmpty();
    bool LoadLayout(const std::string& path);
    // Writes the layout with a safe replace. A save that replaces an existing file first keeps
    // that file's content in its backup (BackupPathOf), replacing an older backup; when the backup
    // cannot be written the save stops with a warning and neither file changes, and a save that
    // fails afterwards leaves the backup as it was. A link is followed to the file it names; a
    // read-only file is replaced only when the user answers Yes to the question titled
    // ReadOnlyQuestionTitle (No: false, nothing written, no further warning).
    bool SaveLayout(const std::string& path);

    // --- CSV interchange
    bool ExportCSV(const std::string& path);
    bool ImportCSV(const std::string& path);

    // --- history
    // Takes back the newest step; a step of the screen commands asks first.
    void Undo();
    // Applies again the step undone last, without a question.
    void Redo();
    bool CanUndo() const { return History.CanUndo(); }
    bool CanRedo() const { return History.CanRedo(); }
    // What the next undo or redo takes back or applies again ("Delete screen(s)"); empty for none.
    std::string UndoText() const;
    std::string RedoText() const;

    // --- editing single controls
    // Applies the edit as one step named `text`; with a run key, it joins the newest step while
    // that step's run is open and has the same key (one drag, one run of nudges). Returns why the
    // edit was refused, with nothing changed, or the empty text when it was applied (also when
    // it changed nothing, which records no step).
    std::string ApplyEdit(const ControlsEdit& edit, const std::string& text,
                          const std::string& runKey = {});

    // --- screen editing
    // The append command: copies the controls of one screen of the source layout onto this
    // layout's first empty screen and reports the counts, as one step.
    void AppendScreenFrom(cLayout& source, int sourceScreen);
    // The same onto a target screen of the user's choice (DefaultAppendTarget proposes one). A
    // target outside 0..15 or holding controls is refused with a warning, changing nothing.
    void AppendScreenFrom(cLayout& source, int sourceScreen, int target);
    void AppendScreens(int screen);
    void DeleteScreens(int screen);
    void PromoteScreens(int screen);
    void DemoteScreens(int screen);
    void UpdateButtonCaptions();

    // --- control tools; a negative screen means all screens
    int32_t ScreenExtentX(int screen) const;
    int32_t ScreenExtentY(int screen) const;
    // Multiplies the rectangles by the factor, then moves them right by shiftX pixels (to centre
    // a screen on a wider one), as one undo step. False, with nothing changed, when refused
    // because a coordinate would leave the 32-bit range.
    bool RescaleControls(int screen, float factor, int32_t shiftX = 0);
    void SortDROs(int screen, int group, bool columns);
    void ShowStatistics(int screen);

private:
    friend struct cLayoutProbe; // the tests' view of the internals

    // The end of every completed load and import: the records are taken over, the index is
    // rebuilt with duplicate labels reported, the list refilled, the history emptied and the
    // document clean. The caller has checked the records: at most MaxControls, texts storable.
    void AdoptRecords(std::vector<ControlRecord> records, const std::string& fileName);

    // The one road of every change: records the step (or grows its run), rebuilds the index,
    // refills the list when the index changed or a row is to be selected, selects that row
    // (1-based; 0 none) and tells the observers. Nothing happens for no changes.
    void Commit(const std::string& text, const std::string& runKey, bool asks,
                RecordChanges changes, int selectRow = 0);
    // A step of the screen commands: its text is the one the undo question names.
    void CommitCommand(const char* text, RecordChanges changes, int selectRow = 0);
    // Rebuilds the index and the list after records changed, and tells the observers.
    void Finish(LayoutChange change, int selectRow);
    void Notify(LayoutChange change);

    // screen index and list
    void ClearScreenIndex();
    void BuildScreenIndex(bool reportDuplicates);
    void FillScreenList(ScreenListView* list);
    void SelectListRow(int position);

    // renumbering
    void ResetScreenMap();
    void ApplyScreenMap(RecordChangeBuilder& change);

    // CSV
    void ExportCSVHeading(std::string& out) const;
    void ExportControlCSV(std::string& out, const ControlRecord& record) const;
    void ImportCSVHeading(CSVReaderState& reader, bool& ok);
    void ImportControlCSV(CSVReaderState& reader, ControlRecord& record, bool& ok);

    // Shows a warning with the exclamation icon, an OK button and the application title.
    void Warn(const std::string& prompt);

    UserDialogs& Dialogs;
    std::array<ScreenEntry, ScreenCount> ScreenTable{};
    std::vector<ControlRecord> Controls; // positions 1..ControlCount() are Controls[0..]
    int NextIndex = 0;
    LayoutHistory History;
    std::array<int32_t, 10> Trailer{};
    std::string LayoutFileName;
    int CodePage = 1252;
    std::array<int, ScreenCount> ScreenMap{};
    ScreenListView* BoundList = nullptr;
    std::vector<LayoutObserver*> Observers;
    // What the observers were last told, so a notice says what changed since.
    bool ToldDirty = false;
    std::string ToldUndo, ToldRedo;
    // Appended controls not yet finished by AppendScreens: the size before the first of them and
    // the screens they went to.
    int PendingAppendFrom = -1;
    std::set<int32_t> PendingAppendScreens;
};
