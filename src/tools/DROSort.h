#pragma once
// The order DRO re-ordering gives a group of DROs: sorted by rows (top edge, then left edge) or by
// columns (left edge, then top edge), with edges closer than a few pixels to their neighbour's
// counted as one row or column, and ties kept in record order.

#include <cstdint>
#include <vector>

// One sort entry of the DRO re-ordering. Wide enough for any 32-bit coordinate.
struct DROKey {
    int32_t Primary = 0;
    int32_t Secondary = 0;
    int32_t CopyNo = 0;
    int64_t SortKey = 0;

    bool operator==(const DROKey&) const = default;
};

// Sorts the first n keys (clamped to the keys there are) into the order the DROs take.
void SortDROKeys(std::vector<DROKey>& keys, int n);
