#pragma once
// The tests' view of a document's internals, a way to put records into a document as a
// completed load would, and a snapshot of all a refused load, import or save must leave alone.

#include "layout/cLayout.h"

struct DocumentState {
    std::vector<ControlRecord> records;
    std::array<int32_t, 10> trailer{};
    std::string fileName;
    std::array<ScreenEntry, ScreenCount> index{};
    std::string undoText;
    std::string redoText;
    bool dirty = false;
    bool operator==(const DocumentState&) const = default;
};

struct cLayoutProbe {
    static const std::vector<ControlRecord>& Records(const cLayout& l) { return l.Controls; }
    static std::vector<ControlRecord>& MutableRecords(cLayout& l) { return l.Controls; }
    static const ScreenEntry& Screen(const cLayout& l, int s) {
        return l.ScreenTable.at(static_cast<std::size_t>(s));
    }
    static const std::array<ScreenEntry, ScreenCount>& ScreenTable(const cLayout& l) {
        return l.ScreenTable;
    }
    static const std::array<int32_t, 10>& Trailer(const cLayout& l) { return l.Trailer; }
    static void SetTrailer(cLayout& l, const std::array<int32_t, 10>& t) { l.Trailer = t; }
    static int NextIndex(const cLayout& l) { return l.NextIndex; }
    static std::array<int, ScreenCount>& ScreenMap(cLayout& l) { return l.ScreenMap; }
    static ScreenListView* BoundList(const cLayout& l) { return l.BoundList; }
    // Changes with every step taken, undone or redone.
    static uint64_t HistoryState(const cLayout& l) { return l.History.StateNow(); }
    static std::size_t HistoryBytes(const cLayout& l) { return l.History.Bytes(); }
    // How many changes the step the next undo takes holds; 0 when there is none.
    static int UndoRepeat(const cLayout& l) {
        const HistoryStep* step = l.History.NextUndo();
        return step != nullptr ? step->Repeat : 0;
    }

    static DocumentState State(const cLayout& l) {
        return {l.Controls,   l.Trailer,    l.LayoutFileName, l.ScreenTable,
                l.UndoText(), l.RedoText(), l.IsDirty()};
    }

    static void Adopt(cLayout& l, std::vector<ControlRecord> records,
                      const std::string& fileName = "adopted.set") {
        l.AdoptRecords(std::move(records), fileName);
    }
    static void BuildScreenIndex(cLayout& l, bool report) { l.BuildScreenIndex(report); }
    static void ClearScreenIndex(cLayout& l) { l.ClearScreenIndex(); }
    static void ResetScreenMap(cLayout& l) { l.ResetScreenMap(); }
    // Renumbers the records through the map, outside the history.
    static void ApplyScreenMap(cLayout& l) {
        RecordChangeBuilder change(l.Controls);
        l.ApplyScreenMap(change);
        change.Take();
    }
};
