#pragma once
// The tests' view of a document's internals, a way to put records into a document as a
// completed load would, and a snapshot of all a refused load, import or save must leave alone.

#include "layout/cLayout.h"

struct DocumentState {
    std::vector<ControlRecord> records;
    std::array<int32_t, 10> trailer{};
    std::string fileName;
    std::array<ScreenEntry, ScreenCount> index{};
    int32_t undoKind = 0;
    int undoRepeat = 0;
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
    static int32_t UndoKind(const cLayout& l) { return l.UndoKind; }
    static int UndoRepeat(const cLayout& l) { return l.UndoRepeat; }
    static const std::vector<ControlRecord>& UndoControls(const cLayout& l) {
        return l.UndoControls;
    }
    static int NextIndex(const cLayout& l) { return l.NextIndex; }
    static std::array<int, ScreenCount>& ScreenMap(cLayout& l) { return l.ScreenMap; }
    static ScreenListView* BoundList(const cLayout& l) { return l.BoundList; }
    static int DROCount(const cLayout& l) { return l.DROCount; }
    static const std::vector<int>& DROSlots(const cLayout& l) { return l.DROSlots; }
    static const std::vector<DROKey>& DROKeys(const cLayout& l) { return l.DROKeys; }
    static const std::array<int, 12>& TypeCounts(const cLayout& l) { return l.TypeCounts; }

    static DocumentState State(const cLayout& l) {
        return {l.Controls, l.Trailer,    l.LayoutFileName, l.ScreenTable,
                l.UndoKind, l.UndoRepeat, l.Dirty};
    }

    static void Adopt(cLayout& l, std::vector<ControlRecord> records,
                      const std::string& fileName = "adopted.set") {
        l.AdoptRecords(std::move(records), fileName);
    }
    static void RecordUndo(cLayout& l, int32_t kind) { l.RecordUndo(kind); }
    static void BuildScreenIndex(cLayout& l, bool report) { l.BuildScreenIndex(report); }
    static void ClearScreenIndex(cLayout& l) { l.ClearScreenIndex(); }
    static void ResetScreenMap(cLayout& l) { l.ResetScreenMap(); }
    static void ApplyScreenMap(cLayout& l) { l.ApplyScreenMap(); }
    static void SortDROKeys(cLayout& l, std::vector<DROKey>& keys, int n) {
        l.SortDROKeys(keys, n);
    }
};
