#include "layout/cLayout.h"

namespace {

// The largest value of one edge over the records of a screen (all screens when negative). The
// result starts at 0, so controls at negative coordinates never make an extent negative, and it
// keeps the full 32 bits so that a layout reaching past 32767 is seen as reaching that far.
int32_t LargestEdge(const std::vector<ControlRecord>& records, int screen,
                    int32_t ControlRecord::*edge) {
    int32_t largest = 0;
    for (const ControlRecord& record : records)
        if ((screen < 0 || record.rScreen == screen) && record.*edge > largest)
            largest = record.*edge;
    return largest;
}

} // namespace

int32_t cLayout::ScreenExtentX(int screen) const {
    return LargestEdge(Controls, screen, &ControlRecord::rX2);
}

int32_t cLayout::ScreenExtentY(int screen) const {
    return LargestEdge(Controls, screen, &ControlRecord::rY2);
}
