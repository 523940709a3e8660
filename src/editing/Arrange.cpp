#include "editing/Arrange.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t LowestLong = std::numeric_limits<int32_t>::min();
constexpr int64_t HighestLong = std::numeric_limits<int32_t>::max();

int32_t ToLong(int64_t value) {
    return static_cast<int32_t>(std::clamp(value, LowestLong, HighestLong));
}

int64_t FloorHalf(int64_t twice) {
    return twice >= 0 ? twice / 2 : -((1 - twice) / 2);
}

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The positions that name records, each once, in the order given.
std::vector<int> Valid(std::span<const ControlRecord> records, const std::vector<int>& positions) {
    std::vector<int> valid;
    std::vector<char> seen(records.size() + 1, 0);
    for (int p : positions) {
        if (p < 1 || static_cast<std::size_t>(p) > records.size()) continue;
        if (seen[static_cast<std::size_t>(p)] != 0) continue;
        seen[static_cast<std::size_t>(p)] = 1;
        valid.push_back(p);
    }
    return valid;
}

const ControlRecord& At(std::span<const ControlRecord> records, int position) {
    return records[static_cast<std::size_t>(position - 1)];
}

PixelBox Shifted(PixelBox box, int64_t dx, int64_t dy) {
    return {box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy};
}

// Adds the record with its new box to the edit when the box changes it.
void Put(ControlsEdit& edit, std::span<const ControlRecord> records, int position,
         const PixelBox& box) {
    const ControlRecord& before = At(records, position);
    ControlRecord after = WithBox(before, box);
    if (after.rX1 == before.rX1 && after.rY1 == before.rY1 && after.rX2 == before.rX2 &&
        after.rY2 == before.rY2)
        return;
    edit.Changed.emplace_back(position, std::move(after));
}

// Spaces the controls out across (by left edges) or down (by top edges).
ControlsEdit Distribute(std::span<const ControlRecord> records, const std::vector<int>& positions,
                        bool across) {
    const auto start = [across](const PixelBox& b) { return across ? b.Left : b.Top; };
    const auto size = [across](const PixelBox& b) { return across ? b.Width() : b.Height(); };
    std::vector<std::pair<int, PixelBox>> order;
    for (int p : positions)
        order.emplace_back(p, BoxOf(At(records, p)));
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        return start(a.second) != start(b.second) ? start(a.second) < start(b.second)
                                                  : a.first < b.first;
    });
    const int64_t n = static_cast<int64_t>(order.size());
    const int64_t firstEnd = start(order.front().second) + size(order.front().second);
    int64_t inner = 0;
    for (int64_t i = 1; i + 1 < n; ++i)
        inner += size(order[static_cast<std::size_t>(i)].second);
    const int64_t room = start(order.back().second) - firstEnd - inner;

    ControlsEdit edit;
    int64_t widths = 0;
    for (int64_t i = 1; i + 1 < n; ++i) {
        const auto& [position, box] = order[static_cast<std::size_t>(i)];
        const int64_t to = firstEnd + widths + FloorDiv(i * room, n - 1);
        const int64_t shift = to - start(box);
        Put(edit, records, position, across ? Shifted(box, shift, 0) : Shifted(box, 0, shift));
        widths += size(box);
    }
    return edit;
}

std::string Controls(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " control" : " controls");
}

} // namespace

PixelBox BoxOf(const ControlRecord& r) {
    return {std::min<int64_t>(r.rX1, r.rX2), std::min<int64_t>(r.rY1, r.rY2),
            std::max<int64_t>(r.rX1, r.rX2), std::max<int64_t>(r.rY1, r.rY2)};
}

ControlRecord WithBox(ControlRecord r, const PixelBox& box) {
    const bool flippedX = r.rX2 < r.rX1, flippedY = r.rY2 < r.rY1;
    r.rX1 = ToLong(flippedX ? box.Right : box.Left);
    r.rX2 = ToLong(flippedX ? box.Left : box.Right);
    r.rY1 = ToLong(flippedY ? box.Bottom : box.Top);
    r.rY2 = ToLong(flippedY ? box.Top : box.Bottom);
    return r;
}

PixelBox BoundsOf(std::span<const ControlRecord> records, const std::vector<int>& positions) {
    const std::vector<int> valid = Valid(records, positions);
    if (valid.empty()) return {};
    PixelBox bounds = BoxOf(At(records, valid.front()));
    for (int p : valid) {
        const PixelBox b = BoxOf(At(records, p));
        bounds = {std::min(bounds.Left, b.Left), std::min(bounds.Top, b.Top),
                  std::max(bounds.Right, b.Right), std::max(bounds.Bottom, b.Bottom)};
    }
    return bounds;
}

ControlsEdit MoveControls(std::span<const ControlRecord> records, const std::vector<int>& positions,
                          int64_t dx, int64_t dy) {
    const std::vector<int> valid = Valid(records, positions);
    ControlsEdit edit;
    if (valid.empty()) return edit;
    const PixelBox bounds = BoundsOf(records, valid);
    dx = std::clamp(dx, LowestLong - bounds.Left, HighestLong - bounds.Right);
    dy = std::clamp(dy, LowestLong - bounds.Top, HighestLong - bounds.Bottom);
    if (dx == 0 && dy == 0) return edit;
    for (int p : valid)
        Put(edit, records, p, Shifted(BoxOf(At(records, p)), dx, dy));
    return edit;
}

ControlsEdit SetControlBox(std::span<const ControlRecord> records, int position,
                           const PixelBox& box) {
    ControlsEdit edit;
    if (position < 1 || static_cast<std::size_t>(position) > records.size()) return edit;
    const PixelBox ordered{std::min(box.Left, box.Right), std::min(box.Top, box.Bottom),
                           std::max(box.Left, box.Right), std::max(box.Top, box.Bottom)};
    Put(edit, records, position, ordered);
    return edit;
}

std::size_t FewestControls(ArrangeCommand command) {
    switch (command) {
    case ArrangeCommand::DistributeAcross:
    case ArrangeCommand::DistributeDown:
        return 3;
    case ArrangeCommand::SameWidth:
    case ArrangeCommand::SameHeight:
        return 2;
    default:
        return 1;
    }
}

ControlsEdit ArrangeControls(std::span<const ControlRecord> records,
                             const std::vector<int>& positions, int reference,
                             ArrangeCommand command, const Resolution& screen) {
    const std::vector<int> valid = Valid(records, positions);
    if (valid.empty() || valid.size() < FewestControls(command)) return {};
    if (command == ArrangeCommand::DistributeAcross || command == ArrangeCommand::DistributeDown)
        return Distribute(records, valid, command == ArrangeCommand::DistributeAcross);

    const int ref =
        std::find(valid.begin(), valid.end(), reference) != valid.end() ? reference : valid.front();
    const PixelBox to =
        valid.size() == 1 ? PixelBox{0, 0, screen.Width, screen.Height} : BoxOf(At(records, ref));
    ControlsEdit edit;
    for (int p : valid) {
        const PixelBox b = BoxOf(At(records, p));
        PixelBox placed = b;
        switch (command) {
        case ArrangeCommand::AlignLeft:
            placed = Shifted(b, to.Left - b.Left, 0);
            break;
        case ArrangeCommand::AlignRight:
            placed = Shifted(b, to.Right - b.Right, 0);
            break;
        case ArrangeCommand::AlignTop:
            placed = Shifted(b, 0, to.Top - b.Top);
            break;
        case ArrangeCommand::AlignBottom:
            placed = Shifted(b, 0, to.Bottom - b.Bottom);
            break;
        case ArrangeCommand::AlignCentres:
            placed = Shifted(b, FloorHalf(to.Left + to.Right) - FloorHalf(b.Left + b.Right), 0);
            break;
        case ArrangeCommand::AlignMiddles:
            placed = Shifted(b, 0, FloorHalf(to.Top + to.Bottom) - FloorHalf(b.Top + b.Bottom));
            break;
        case ArrangeCommand::SameWidth:
            placed.Right = b.Left + to.Width();
            break;
        case ArrangeCommand::SameHeight:
            placed.Bottom = b.Top + to.Height();
            break;
        case ArrangeCommand::DistributeAcross:
        case ArrangeCommand::DistributeDown:
            break;
        }
        Put(edit, records, p, placed);
    }
    return edit;
}

ControlsEdit MoveInside(std::span<const ControlRecord> records, const std::vector<int>& positions,
                        const Resolution& screen) {
    ControlsEdit edit;
    if (screen.Width <= 0 || screen.Height <= 0) return edit;
    // Along one axis: the least shift that brings start..end inside 0..side, cut to the side.
    const auto inside = [](int64_t& start, int64_t& end, int64_t side) {
        if (end - start >= side) {
            start = 0;
            end = side;
        } else if (start < 0) {
            end -= start;
            start = 0;
        } else if (end > side) {
            start -= end - side;
            end = side;
        }
    };
    for (int p : Valid(records, positions)) {
        PixelBox b = BoxOf(At(records, p));
        inside(b.Left, b.Right, screen.Width);
        inside(b.Top, b.Bottom, screen.Height);
        Put(edit, records, p, b);
    }
    return edit;
}

std::string ControlsStepText(const std::string& verb, std::size_t count) {
    return verb + " " + Controls(count);
}

std::string ArrangeStepText(ArrangeCommand command, std::size_t count) {
    const bool one = count == 1;
    const std::string of = " of " + Controls(count);
    switch (command) {
    case ArrangeCommand::AlignLeft:
        return (one ? "Align left edge" : "Align left edges") + of;
    case ArrangeCommand::AlignRight:
        return (one ? "Align right edge" : "Align right edges") + of;
    case ArrangeCommand::AlignTop:
        return (one ? "Align top edge" : "Align top edges") + of;
    case ArrangeCommand::AlignBottom:
        return (one ? "Align bottom edge" : "Align bottom edges") + of;
    case ArrangeCommand::AlignCentres:
        return (one ? "Align centre" : "Align centres") + of;
    case ArrangeCommand::AlignMiddles:
        return (one ? "Align middle" : "Align middles") + of;
    case ArrangeCommand::DistributeAcross:
        return "Distribute " + Controls(count) + " across";
    case ArrangeCommand::DistributeDown:
        return "Distribute " + Controls(count) + " down";
    case ArrangeCommand::SameWidth:
        return "Make " + Controls(count) + " the same width";
    case ArrangeCommand::SameHeight:
        return "Make " + Controls(count) + " the same height";
    }
    return "Arrange " + Controls(count);
}
