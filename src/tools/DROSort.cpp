#include "tools/DROSort.h"

#include "layout/StepTexts.h"
#include "layout/cLayout.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Left or top edges closer than this to their neighbour's count as one column or row.
constexpr int64_t SnapDistance = 4;
constexpr int64_t PrimaryWeight = 2000;

} // namespace

void cLayout::SortDROs(int screen, int group, bool columns) {
    std::vector<DROKey> keys;
    std::vector<int> slots;
    for (int i = 0; i < ControlCount(); ++i) {
        const ControlRecord& record = Controls[static_cast<std::size_t>(i)];
        if (record.rTabGroup != group || record.rScreen != screen ||
            record.rType != ControlKind::DRO)
            continue;
        slots.push_back(i);
        DROKey key;
        key.CopyNo = static_cast<int32_t>(slots.size());
        key.Primary = columns ? record.rX1 : record.rY1;
        key.Secondary = columns ? record.rY1 : record.rX1;
        keys.push_back(key);
    }
    const int count = static_cast<int>(slots.size());
    SortDROKeys(keys, count);

    // The gathered DROs keep the positions they held; only which DRO stands where changes. A
    // group already in order changes nothing and records no step.
    std::vector<ControlRecord> copies;
    copies.reserve(slots.size());
    for (int slot : slots)
        copies.push_back(Controls[static_cast<std::size_t>(slot)]);
    RecordChangeBuilder change(Controls);
    for (std::size_t k = 0; k < keys.size(); ++k)
        change.Set(static_cast<std::size_t>(slots[k]),
                   copies[static_cast<std::size_t>(keys[k].CopyNo - 1)]);

    Dialogs.MsgBox("Number of DROs in Group " + std::to_string(group) + " on Screen " +
                       std::to_string(screen) +
                       "\nthat have been sorted = " + std::to_string(count),
                   MsgButtons::OK, MsgIcon::None, "Sort completed");
    CommitCommand(StepText::SortDROs, change.Take());
}

void SortDROKeys(std::vector<DROKey>& keys, int n) {
    const auto count = std::clamp<std::ptrdiff_t>(n, 0, static_cast<std::ptrdiff_t>(keys.size()));
    const auto first = keys.begin();
    const auto last = keys.begin() + count;

    // A stable sort gives exactly the order of repeated adjacent swaps on "strictly less": entries
    // that compare equal never pass each other, so ties keep their record order.
    std::stable_sort(first, last,
                     [](const DROKey& a, const DROKey& b) { return a.Primary < b.Primary; });

    for (auto key = first; key != last; ++key)
        key->SortKey = key->Primary;
    // Each entry is compared with its neighbour's primary before snapping but takes the value the
    // neighbour has after it, so a run of close edges lines up on the first edge of the run.
    for (auto key = first; key != last; ++key) {
        if (key == first) continue;
        const auto before = key - 1;
        if (std::llabs(key->Primary - before->SortKey) < SnapDistance)
            key->Primary = before->Primary;
    }
    // 64 bits hold the key of any pair of 32-bit edges; a secondary of 2000 or more still reaches
    // into the next primary's range, as it does for ordinary screen coordinates.
    for (auto key = first; key != last; ++key)
        key->SortKey = key->Primary * PrimaryWeight + key->Secondary;

    std::stable_sort(first, last,
                     [](const DROKey& a, const DROKey& b) { return a.SortKey < b.SortKey; });
}
