#include "layout/RecordChanges.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

std::size_t TextBytes(const std::string& text) {
    // Short texts live inside the string itself.
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

std::size_t RecordBytes(const ControlRecord& r) {
    return sizeof(ControlRecord) + TextBytes(r.rText) + TextBytes(r.rGText) +
           TextBytes(r.rBitMapPath) + TextBytes(r.rLabel) + TextBytes(r.rFormat);
}

} // namespace

RecordChange RecordChange::Replace(std::vector<int> positions, std::vector<ControlRecord> records) {
    RecordChange change;
    change.Kind = Type::Replace;
    change.Indexes = std::move(positions);
    change.Held = std::move(records);
    return change;
}

RecordChange RecordChange::Remove(std::vector<int> positions) {
    RecordChange change;
    change.Kind = Type::Remove;
    change.Indexes = std::move(positions);
    std::sort(change.Indexes.begin(), change.Indexes.end());
    return change;
}

RecordChange RecordChange::Insert(std::vector<int> positions, std::vector<ControlRecord> records) {
    RecordChange change;
    change.Kind = Type::Insert;
    change.Indexes = std::move(positions);
    change.Held = std::move(records);
    return change;
}

void RecordChange::Exchange(std::vector<ControlRecord>& records) {
    for (std::size_t i = 0; i < Indexes.size(); ++i)
        std::swap(records[static_cast<std::size_t>(Indexes[i])], Held[i]);
}

void RecordChange::RemoveAt(std::vector<ControlRecord>& records) {
    // One pass: the removed records move out in order, the others close up.
    Held.clear();
    Held.reserve(Indexes.size());
    std::size_t next = 0, kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (next < Indexes.size() && static_cast<std::size_t>(Indexes[next]) == i) {
            Held.push_back(std::move(records[i]));
            ++next;
        } else {
            if (kept != i) records[kept] = std::move(records[i]);
            ++kept;
        }
    }
    records.resize(kept);
}

void RecordChange::InsertAt(std::vector<ControlRecord>& records) {
    // One pass from the end: every record moves at most once.
    const std::size_t before = records.size();
    records.resize(before + Held.size());
    std::size_t from = before;
    std::size_t held = Held.size();
    // Once every held record is in, the rest already stands where it belongs.
    for (std::size_t to = records.size(); held > 0 && to-- > 0;) {
        if (static_cast<std::size_t>(Indexes[held - 1]) == to) {
            records[to] = std::move(Held[--held]);
        } else {
            records[to] = std::move(records[--from]);
        }
    }
    Held.clear();
    Held.shrink_to_fit();
}

void RecordChange::Apply(std::vector<ControlRecord>& records) {
    switch (Kind) {
    case Type::Replace:
        Exchange(records);
        break;
    case Type::Remove:
        RemoveAt(records);
        break;
    case Type::Insert:
        InsertAt(records);
        break;
    }
}

void RecordChange::Revert(std::vector<ControlRecord>& records) {
    switch (Kind) {
    case Type::Replace:
        Exchange(records);
        break;
    case Type::Remove:
        InsertAt(records);
        break;
    case Type::Insert:
        RemoveAt(records);
        break;
    }
}

bool RecordChange::Absorb(RecordChange& next) {
    if (Kind != next.Kind) return false;
    if (Kind == Type::Replace) {
        // Where both replaced a record, this one already holds the record from before both.
        int last = -1;
        for (int index : Indexes)
            last = std::max(last, index);
        std::vector<char> mine(static_cast<std::size_t>(last + 1), 0);
        for (int index : Indexes)
            mine[static_cast<std::size_t>(index)] = 1;
        Indexes.reserve(Indexes.size() + next.Indexes.size());
        Held.reserve(Held.size() + next.Held.size());
        for (std::size_t i = 0; i < next.Indexes.size(); ++i) {
            const auto index = static_cast<std::size_t>(next.Indexes[i]);
            if (index < mine.size() && mine[index] != 0) continue;
            Indexes.push_back(next.Indexes[i]);
            Held.push_back(std::move(next.Held[i]));
        }
        return true;
    }
    if (Kind == Type::Insert && Held.empty() && next.Held.empty() && !Indexes.empty() &&
        !next.Indexes.empty() && next.Indexes.front() > Indexes.back()) {
        // Records inserted after all of this change's ones leave those where they are, so one
        // insertion of both sets gives the same layout.
        Indexes.insert(Indexes.end(), next.Indexes.begin(), next.Indexes.end());
        return true;
    }
    return false;
}

std::size_t RecordChange::Bytes() const {
    std::size_t bytes = sizeof(RecordChange) + Indexes.capacity() * sizeof(int);
    for (const ControlRecord& r : Held)
        bytes += RecordBytes(r);
    return bytes + (Held.capacity() - Held.size()) * sizeof(ControlRecord);
}

void RecordChange::FollowPositions(std::vector<int>& origin, bool reverted) const {
    if (Kind == Type::Replace) return;
    const bool removes = (Kind == Type::Remove) != reverted;
    if (removes) {
        std::size_t next = 0, kept = 0;
        for (std::size_t i = 0; i < origin.size(); ++i) {
            if (next < Indexes.size() && static_cast<std::size_t>(Indexes[next]) == i) {
                ++next;
                continue;
            }
            origin[kept++] = origin[i];
        }
        origin.resize(kept);
        return;
    }
    std::vector<int> result(origin.size() + Indexes.size());
    std::size_t next = 0, from = 0;
    for (std::size_t to = 0; to < result.size(); ++to) {
        if (next < Indexes.size() && static_cast<std::size_t>(Indexes[next]) == to) {
            result[to] = 0;
            ++next;
        } else {
            result[to] = origin[from++];
        }
    }
    origin = std::move(result);
}

void RecordChange::CollectScreens(const std::vector<ControlRecord>& records, bool applied,
                                  std::set<int32_t>& screens) const {
    // The records in the layout are those replaced ones, the removed ones before the change is
    // applied and the inserted ones after; the others are held.
    const bool live = Kind == Type::Replace || (Kind == Type::Insert) == applied;
    // The layout's own screens are noted in flags first: a step can touch every record.
    std::array<bool, ScreenCount> layoutScreens{};
    const auto note = [&](int32_t screen) {
        if (screen >= 0 && screen < ScreenCount)
            layoutScreens[static_cast<std::size_t>(screen)] = true;
        else
            screens.insert(screen);
    };
    if (live)
        for (int index : Indexes)
            note(records[static_cast<std::size_t>(index)].rScreen);
    for (const ControlRecord& r : Held)
        note(r.rScreen);
    for (int s = 0; s < ScreenCount; ++s)
        if (layoutScreens[static_cast<std::size_t>(s)]) screens.insert(s);
}

void RecordChangeBuilder::Push(RecordChange change) {
    if (!ReplaceIndexes.empty()) {
        Changes.push_back(RecordChange::Replace(std::move(ReplaceIndexes), std::move(ReplaceHeld)));
        ReplaceIndexes.clear();
        ReplaceHeld.clear();
        Replaced.clear();
    }
    Changes.push_back(std::move(change));
}

void RecordChangeBuilder::Set(std::size_t index, ControlRecord record) {
    ControlRecord& live = Records[index];
    if (live == record) return;
    if (Replaced.size() != Records.size()) Replaced.assign(Records.size(), 0);
    if (Replaced[index] == 0) {
        Replaced[index] = 1;
        ReplaceIndexes.push_back(static_cast<int>(index));
        ReplaceHeld.push_back(std::move(live));
    }
    live = std::move(record);
}

void RecordChangeBuilder::Remove(std::vector<int> indexes) {
    if (indexes.empty()) return;
    RecordChange change = RecordChange::Remove(std::move(indexes));
    change.Apply(Records);
    Push(std::move(change));
}

void RecordChangeBuilder::Insert(std::vector<int> indexes, std::vector<ControlRecord> records) {
    if (indexes.empty()) return;
    RecordChange change = RecordChange::Insert(std::move(indexes), std::move(records));
    change.Apply(Records);
    Push(std::move(change));
}

void RecordChangeBuilder::Append(ControlRecord record) {
    std::vector<ControlRecord> one;
    one.push_back(std::move(record));
    Insert({static_cast<int>(Records.size())}, std::move(one));
}

void RecordChangeBuilder::Reserve(std::size_t replaced) {
    ReplaceIndexes.reserve(ReplaceIndexes.size() + replaced);
    ReplaceHeld.reserve(ReplaceHeld.size() + replaced);
}

RecordChanges RecordChangeBuilder::Take() {
    if (!ReplaceIndexes.empty()) {
        // A record set back to what it was is no change at all: closed up in place.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < ReplaceIndexes.size(); ++i) {
            if (Records[static_cast<std::size_t>(ReplaceIndexes[i])] == ReplaceHeld[i]) continue;
            if (kept != i) {
                ReplaceIndexes[kept] = ReplaceIndexes[i];
                ReplaceHeld[kept] = std::move(ReplaceHeld[i]);
            }
            ++kept;
        }
        ReplaceIndexes.resize(kept);
        ReplaceHeld.resize(kept);
        if (kept > 0)
            Changes.push_back(
                RecordChange::Replace(std::move(ReplaceIndexes), std::move(ReplaceHeld)));
        ReplaceIndexes.clear();
        ReplaceHeld.clear();
        Replaced.clear();
    }
    return std::move(Changes);
}
