#include "tools/ControlCounts.h"

#include <iterator>
#include <numeric>

#include "layout/HostCodes.h"

int KindCounts::OtherTotal() const {
    return std::accumulate(Other.begin(), Other.end(), 0,
                           [](int sum, const auto& entry) { return sum + entry.second; });
}

KindCounts CountKinds(std::span<const ControlRecord> records, int screen) {
    KindCounts counts;
    for (const ControlRecord& record : records) {
        if (screen >= 0 && record.rScreen != screen) continue;
        if (IsKnownKind(record.rType))
            ++counts.Known[static_cast<std::size_t>(record.rType)];
        else
            ++counts.Other[record.rType];
    }
    return counts;
}

const char* KindLabel(int32_t kind) {
    return KindStatisticsLabel(kind);
}

std::map<int32_t, int> RecordsOffScreens(std::span<const ControlRecord> records) {
    std::map<int32_t, int> screens;
    for (const ControlRecord& record : records)
        if (!IsLayoutScreen(record.rScreen)) ++screens[record.rScreen];
    return screens;
}
