#include "layout/cLayout.h"

#include "layout/StepTexts.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// One scaled edge. A product that is a whole number is the new coordinate on every edge, so a
// whole factor (1, 2, 3) scales exactly. A fractional product goes down on left and top edges
// and up on right and bottom edges (the product shifted by half a pixel and rounded), so a
// control never shrinks by rounding. Empty when the result would not fit a coordinate (a factor
// that is not a number gives no result either).
std::optional<int32_t> ScaledEdge(int32_t coordinate, double factor, double shift) {
    const double product = static_cast<double>(coordinate) * factor;
    const double shifted = product == std::floor(product) ? product : product + shift;
    const double rounded = std::nearbyint(shifted);
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (!(rounded >= lowest && rounded <= highest)) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

struct ScaledRect {
    std::optional<int32_t> X1, Y1, X2, Y2;
    bool Fits() const { return X1 && Y1 && X2 && Y2; }
};

// A scaled horizontal edge moved right by the centring shift, when the sum is still a coordinate.
std::optional<int32_t> Shifted(std::optional<int32_t> edge, int32_t shift) {
    if (!edge) return std::nullopt;
    const int64_t moved = static_cast<int64_t>(*edge) + shift;
    if (moved < std::numeric_limits<int32_t>::min() || moved > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(moved);
}

ScaledRect Scale(const ControlRecord& record, double factor, int32_t shiftX) {
    return {
        Shifted(ScaledEdge(record.rX1, factor, -0.5), shiftX), ScaledEdge(record.rY1, factor, -0.5),
        Shifted(ScaledEdge(record.rX2, factor, 0.5), shiftX), ScaledEdge(record.rY2, factor, 0.5)};
}

} // namespace

bool cLayout::RescaleControls(int screen, float factor, int32_t shiftX) {
    // The single-precision factor is widened exactly; its binary value, not its decimal text,
    // decides where halves fall.
    const double f = static_cast<double>(factor);

    // Every rectangle is scaled aside first, so a refusal leaves nothing half rescaled and
    // nothing in the history.
    std::vector<ScaledRect> scaled(Controls.size());
    std::size_t moved = 0;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        if (screen >= 0 && Controls[i].rScreen != screen) continue;
        scaled[i] = Scale(Controls[i], f, shiftX);
        if (scaled[i].Fits()) {
            ++moved;
            continue;
        }
        Warn("Cannot rescale the screen(s): control " + std::to_string(i + 1) +
             " would be moved outside the coordinates a layout can hold (" +
             std::to_string(std::numeric_limits<int32_t>::min()) + " to " +
             std::to_string(std::numeric_limits<int32_t>::max()) + "). Nothing has been changed.");
        return false;
    }

    RecordChangeBuilder change(Controls);
    change.Reserve(moved);
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        if (!scaled[i].Fits()) continue; // a record of another screen
        const ControlRecord& record = Controls[i];
        if (record.rX1 == *scaled[i].X1 && record.rY1 == *scaled[i].Y1 &&
            record.rX2 == *scaled[i].X2 && record.rY2 == *scaled[i].Y2)
            continue;
        ControlRecord rescaled = record;
        rescaled.rX1 = *scaled[i].X1;
        rescaled.rY1 = *scaled[i].Y1;
        rescaled.rX2 = *scaled[i].X2;
        rescaled.rY2 = *scaled[i].Y2;
        change.Set(i, std::move(rescaled));
    }
    CommitCommand(StepText::Rescale, change.Take());
    return true;
}
