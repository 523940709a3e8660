#pragma once
// The pieces every change of a layout's records is made of, in a form that can be applied, taken
// back and applied again exactly: records replaced in place, records removed, records inserted.
// Each piece holds the records that are not in the layout at the moment (the ones it replaced or
// removed, or the ones it will insert), so applying and reverting only move records between the
// layout and the piece: a step costs what it changed, and redo gives back the very records undo
// took away.
//
// RecordChangeBuilder applies the pieces to the live records as a command goes, so a command reads
// its own changes as it makes them, and hands them over as one list for the history.

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "layout/ControlRecord.h"

class RecordChange {
public:
    enum class Type {
        Replace, // Records hold what lies at Positions when the change is not applied
        Remove,  // Positions (before) are removed; Records hold them while applied
        Insert,  // Positions (after) are inserted; Records hold them while not applied
    };

    static RecordChange Replace(std::vector<int> positions, std::vector<ControlRecord> records);
    static RecordChange Remove(std::vector<int> positions);
    static RecordChange Insert(std::vector<int> positions, std::vector<ControlRecord> records);

    Type What() const { return Kind; }
    // 0-based indexes into the records; ascending for Remove and Insert.
    const std::vector<int>& Positions() const { return Indexes; }

    void Apply(std::vector<ControlRecord>& records);
    void Revert(std::vector<ControlRecord>& records);

    // Takes the next change of the same type into this one when the two are one change (a run of
    // nudges of the same controls, appended records one after the other); false otherwise.
    bool Absorb(RecordChange& next);

    // Bytes held beyond the layout, for the history's budget.
    std::size_t Bytes() const;

    // Follows a position through the change: `origin` holds, for each record of the layout before
    // the change, where it came from (a position of an earlier layout, 0 for none); afterwards it
    // does so for the layout after the change. Reverted: the same, the other way.
    void FollowPositions(std::vector<int>& origin, bool reverted) const;
    // The screens of the records the change touches, before and after, given the layout's
    // records and whether the change is applied to them now.
    void CollectScreens(const std::vector<ControlRecord>& records, bool applied,
                        std::set<int32_t>& screens) const;

private:
    void Exchange(std::vector<ControlRecord>& records);
    void RemoveAt(std::vector<ControlRecord>& records);
    void InsertAt(std::vector<ControlRecord>& records);

    Type Kind = Type::Replace;
    std::vector<int> Indexes;
    std::vector<ControlRecord> Held;
};

using RecordChanges = std::vector<RecordChange>;

// Builds one command's changes while applying them to the records it is given.
class RecordChangeBuilder {
public:
    explicit RecordChangeBuilder(std::vector<ControlRecord>& records) : Records(records) {}

    // Puts the record at a 0-based index; nothing is noted when it is the same.
    void Set(std::size_t index, ControlRecord record);
    // Removes the records at these 0-based indexes (any order, no repeats).
    void Remove(std::vector<int> indexes);
    // Inserts records at 0-based indexes of the result (ascending, paired with the records).
    void Insert(std::vector<int> indexes, std::vector<ControlRecord> records);
    void Append(ControlRecord record);
    // Room for this many replaced records, when the caller knows how many it will set.
    void Reserve(std::size_t replaced);

    bool Empty() const { return Changes.empty(); }
    RecordChanges Take();

private:
    void Push(RecordChange change);

    std::vector<ControlRecord>& Records;
    RecordChanges Changes;
    // The Replace change Set adds to, while nothing else came after it.
    std::vector<int> ReplaceIndexes;
    std::vector<ControlRecord> ReplaceHeld;
    std::vector<char> Replaced; // per index: already in ReplaceIndexes
};
