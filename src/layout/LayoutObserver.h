#pragma once
// What a document tells the windows that show it after each change: which screens changed, whether
// records moved (so positions held elsewhere must follow) or only fields changed, and whether the
// file name, the modified state or the history changed. A document keeps a list of observers and
// tells each of them once per change, after the change is complete; it does not own them.

#include <cstdint>
#include <set>
#include <vector>

class cLayout;

struct LayoutChange {
    // Everything is new: a load or an import. Positions held elsewhere mean nothing now.
    bool Reloaded = false;
    // Records changed (fields, or records added, removed or reordered).
    bool RecordsChanged = false;
    // Records were added, removed or reordered: a position held elsewhere must be mapped through
    // PositionAfter.
    bool RecordsMoved = false;
    // The screen index changed: counts, labels or the buttons that show a screen.
    bool ScreensChanged = false;
    bool FileNameChanged = false;
    bool ModifiedChanged = false;
    bool HistoryChanged = false; // what undo and redo would do
    // The screens that had or have a changed record (any screen number the records hold).
    std::set<int32_t> Screens;
    // When RecordsMoved: for each 1-based position before the change (index p-1), the position
    // after it, 0 when the record is gone. Positions of records inserted by the change are listed
    // in Inserted (1-based, after the change).
    std::vector<int> PositionAfter;
    std::vector<int> Inserted;

    // Where the record at a position before the change lies now; 0 when gone.
    int MapPosition(int before) const {
        if (!RecordsMoved) return before;
        if (before < 1 || before > static_cast<int>(PositionAfter.size())) return 0;
        return PositionAfter[static_cast<std::size_t>(before - 1)];
    }
};

class LayoutObserver {
public:
    virtual ~LayoutObserver() = default;
    virtual void LayoutChanged(const cLayout& layout, const LayoutChange& change) = 0;
};
