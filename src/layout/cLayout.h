#pragma once
// The layout document: up to 32767 control records with the file's trailer, the screen index
// derived from them, the single-level undo journal and the working tables of the editing tools.
// Every command of the program is one call on one of the two documents the main window holds.
//
// Guarantees: 0 <= ControlCount() <= 32767; a load, import or save that does not complete leaves
// the document exactly as it was; every operation that changes screens rebuilds the index and
// refills the bound list before it returns; records are copied in and out by value.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "layout/ControlRecord.h"
#include "layout/ScreenListView.h"
#include "layout/UserDialogs.h"

struct CSVReaderState;

// Where a save keeps the content of the file it replaces: NAME.bak beside it (mill.set.bak).
std::string BackupPathOf(const std::string& path);

// One entry of the screen index.
struct ScreenEntry {
    std::string Label;                  // from the screen's label control, without its mark
    int ShownByCount = 0;               // 0..2
    std::array<std::string, 2> ShownBy; // captions of the first two buttons that show the screen
    int CtrlCount = 0;                  // records lying on the screen

    bool operator==(const ScreenEntry&) const = default;
};

// Kinds of change the undo journal tells apart; the prompt names each.
enum UndoKindCode : int32_t {
    UndoNone = 0,
    UndoDelete = 1,
    UndoPromote = 2,
    UndoDemote = 3,
    UndoAppend = 4,
    UndoCaptions = 5,
    UndoRescale = 6,
    UndoSortDROs = 7,
};

// One sort entry of the DRO re-ordering. Wide enough for any 32-bit coordinate.
struct DROKey {
    int32_t Primary = 0;
    int32_t Secondary = 0;
    int32_t CopyNo = 0;
    int64_t SortKey = 0;
};

class cLayout {
public:
    explicit cLayout(UserDialogs& dialogs);
    cLayout(const cLayout&) = delete;
    cLayout& operator=(const cLayout&) = delete;

    // --- properties
    int LastUserScreenNo() const { return 15; }
    bool IsDirty() const { return Dirty; }
    void SetIsDirty(bool value) { Dirty = value; }
    // The path the document was last loaded from, as the operating system spells it.
    const std::string& FileName() const { return LayoutFileName; }
    void SetFileName(const std::string& value) { LayoutFileName = value; }
    int EmptyScreenNr() const;
    void debugWork() {}
    int ControlCount() const { return static_cast<int>(Controls.size()); }

    // --- read-only views for what computes from the document (previews, checks, the tool)
    std::span<const ControlRecord> Records() const { return Controls; }
    // The screen index as last built, entry s for screen s.
    const std::array<ScreenEntry, ScreenCount>& Screens() const { return ScreenTable; }
    const std::array<int32_t, 10>& FileTrailer() const { return Trailer; }

    // --- screen list
    void BindScreenList(ScreenListView& list);

    // --- records
    bool FirstControl(ControlRecord& record);
    bool NextControl(ControlRecord& record);
    void AppendControl(const ControlRecord& record);

    // --- layout file
    bool LoadLayout(const std::string& path);
    // Writes the layout with a safe replace. A save that replaces an existing file first keeps
    // that file's content in its backup (BackupPathOf), replacing an older backup; when the backup
    // cannot be written the save stops with a warning and neither file changes, and a save that
    // fails afterwards leaves the backup as it was.
    bool SaveLayout(const std::string& path);

    // --- CSV interchange
    bool ExportCSV(const std::string& path);
    bool ImportCSV(const std::string& path);

    // --- screen editing
    void Undo();
    // The append command: copies the controls of one screen of the source layout onto this
    // layout's first empty screen and reports the counts.
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
    // rebuilt with duplicate labels reported, the list refilled, the journal emptied and the
    // document clean. The caller has checked the records: at most MaxControls, texts storable.
    void AdoptRecords(std::vector<ControlRecord> records, const std::string& fileName);

    // screen index and list
    void ClearScreenIndex();
    void BuildScreenIndex(bool reportDuplicates);
    void FillScreenList(ScreenListView* list);
    void SelectListRow(int position);

    // undo journal
    void RecordUndo(int32_t kind);
    void TakeSnapshot(int32_t kind);
    void RestoreSnapshot();

    // renumbering
    void ResetScreenMap();
    void ApplyScreenMap();
    // The common end of every screen-changing operation.
    void FinishScreenChange();

    // CSV
    void ExportCSVHeading(std::string& out) const;
    void ExportControlCSV(std::string& out, const ControlRecord& record) const;
    void ImportCSVHeading(CSVReaderState& reader, bool& ok);
    void ImportControlCSV(CSVReaderState& reader, ControlRecord& record, bool& ok);

    // DRO re-ordering
    void SortDROKeys(std::vector<DROKey>& keys, int n);

    // Shows a warning with the exclamation icon, an OK button and the application title.
    void Warn(const std::string& prompt);

    UserDialogs& Dialogs;
    std::array<ScreenEntry, ScreenCount> ScreenTable{};
    std::vector<ControlRecord> Controls; // positions 1..ControlCount() are Controls[0..]
    int NextIndex = 0;
    std::vector<ControlRecord> UndoControls;
    int32_t UndoKind = UndoNone;
    int UndoRepeat = 0;
    std::array<int32_t, 10> Trailer{};
    bool Dirty = false;
    std::string LayoutFileName;
    std::array<int, ScreenCount> ScreenMap{};
    ScreenListView* BoundList = nullptr;
    std::vector<DROKey> DROKeys;
    std::vector<int> DROSlots;
    std::vector<ControlRecord> DROCopies;
    int DROCount = 0;
    std::array<int, 12> TypeCounts{}; // indexed by rType 1..11
    int OtherTypeCount = 0;           // records whose rType lies outside 1..11
};
