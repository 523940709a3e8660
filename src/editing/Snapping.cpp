#include "editing/Snapping.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Halves rounded down, also below zero, so a centre moves with its rectangle pixel for pixel.
int64_t FloorHalf(int64_t twice) {
    return twice >= 0 ? twice / 2 : -((1 - twice) / 2);
}

int64_t FloorToStep(int64_t value, int64_t step) {
    const int64_t q = value / step;
    return (value % step != 0 && value < 0 ? q - 1 : q) * step;
}

int64_t NearestGridLine(int64_t value, int64_t step) {
    return FloorToStep(value + step / 2, step);
}

// One axis of a rectangle: left and right, or top and bottom.
struct Span {
    int64_t Start = 0, End = 0;
    int64_t Line(SnapLine line) const {
        switch (line) {
        case SnapLine::Start:
            return Start;
        case SnapLine::End:
            return End;
        case SnapLine::Centre:
            break;
        }
        return FloorHalf(Start + End);
    }
};

Span AlongX(const PixelBox& b) {
    return {b.Left, b.Right};
}
Span AlongY(const PixelBox& b) {
    return {b.Top, b.Bottom};
}

struct AxisRule {
    bool StartMoves = false, EndMoves = false;
    bool Moves() const { return StartMoves && EndMoves; }
};

// The lines of the moving rectangle that may snap, in the order ties are settled.
std::vector<SnapLine> MovingLines(const AxisRule& rule, const SnapSettings& settings) {
    std::vector<SnapLine> lines;
    if (rule.StartMoves) lines.push_back(SnapLine::Start);
    if (rule.EndMoves) lines.push_back(SnapLine::End);
    if (rule.Moves() && settings.ToCentres) lines.push_back(SnapLine::Centre);
    return lines;
}

std::vector<SnapLine> TargetLines(const SnapSettings& settings) {
    std::vector<SnapLine> lines{SnapLine::Start, SnapLine::End};
    if (settings.ToCentres) lines.push_back(SnapLine::Centre);
    return lines;
}

// Puts the moving line at `at`: the whole span for a move, the one edge for a resize. Nothing
// when a resize would turn the rectangle inside out.
std::optional<Span> Placed(Span span, const AxisRule& rule, SnapLine line, int64_t at) {
    if (rule.Moves()) {
        const int64_t shift = at - span.Line(line);
        return Span{span.Start + shift, span.End + shift};
    }
    if (line == SnapLine::Start) span.Start = at;
    if (line == SnapLine::End) span.End = at;
    if (span.Start > span.End) return std::nullopt;
    return span;
}

struct AxisAnswer {
    Span Placed;
    AxisSnap Snap;
};

AxisAnswer SnapAxis(Span moving, const AxisRule& rule, std::span<const SnapTarget> others,
                    Span (*along)(const PixelBox&), const PixelBox& screen,
                    const SnapSettings& settings) {
    AxisAnswer answer{moving, {}};
    if (!rule.StartMoves && !rule.EndMoves) return answer;
    const std::vector<SnapLine> movingLines = MovingLines(rule, settings);
    const std::vector<SnapLine> targetLines = TargetLines(settings);
    std::optional<int64_t> best;
    const auto consider = [&](const Span& target, SnapSource source, int record) {
        for (SnapLine targetLine : targetLines) {
            const int64_t at = target.Line(targetLine);
            for (SnapLine movingLine : movingLines) {
                const int64_t distance = at > moving.Line(movingLine)
                                             ? at - moving.Line(movingLine)
                                             : moving.Line(movingLine) - at;
                if (distance > settings.Tolerance || (best && distance >= *best)) continue;
                const std::optional<Span> placed = Placed(moving, rule, movingLine, at);
                if (!placed) continue;
                best = distance;
                answer.Placed = *placed;
                answer.Snap = {source, movingLine, targetLine, record, at};
            }
        }
    };
    if (settings.ToControls)
        for (const SnapTarget& other : others)
            consider(along(other.Box), SnapSource::Control, other.Record);
    if (settings.ToScreen) consider(along(screen), SnapSource::Screen, 0);
    if (best || !settings.ToGrid || settings.GridStep < 2) return answer;

    const SnapLine line = rule.StartMoves ? SnapLine::Start : SnapLine::End;
    const int64_t at = NearestGridLine(moving.Line(line), settings.GridStep);
    if (const std::optional<Span> placed = Placed(moving, rule, line, at)) {
        answer.Placed = *placed;
        answer.Snap = {SnapSource::Grid, line, line, 0, at};
    }
    return answer;
}

// Guides where a line of the snapped rectangle meets a line of a target, merged by position.
void AddGuides(std::vector<SnapGuide>& guides, const PixelBox& box, const AxisRule& rule,
               bool vertical, const PixelBox& target, const SnapSettings& settings) {
    const Span mine = vertical ? AlongX(box) : AlongY(box);
    const Span theirs = vertical ? AlongX(target) : AlongY(target);
    const Span across =
        vertical ? Span{std::min(box.Top, target.Top), std::max(box.Bottom, target.Bottom)}
                 : Span{std::min(box.Left, target.Left), std::max(box.Right, target.Right)};
    for (SnapLine movingLine : MovingLines(rule, settings)) {
        const int64_t at = mine.Line(movingLine);
        bool meets = false;
        for (SnapLine targetLine : TargetLines(settings))
            meets = meets || theirs.Line(targetLine) == at;
        if (!meets) continue;
        const auto same = std::find_if(guides.begin(), guides.end(), [&](const SnapGuide& g) {
            return g.Vertical == vertical && g.At == at;
        });
        if (same == guides.end()) {
            guides.push_back({vertical, at, across.Start, across.End});
        } else {
            same->From = std::min(same->From, across.Start);
            same->To = std::max(same->To, across.End);
        }
    }
}

const char* MovingName(SnapLine line, bool x) {
    switch (line) {
    case SnapLine::Start:
        return x ? "left edge" : "top edge";
    case SnapLine::End:
        return x ? "right edge" : "bottom edge";
    case SnapLine::Centre:
        break;
    }
    return x ? "centre" : "middle";
}

std::string AxisText(const AxisSnap& snap, bool x) {
    const std::string moving = MovingName(snap.Moving, x);
    switch (snap.Source) {
    case SnapSource::None:
        return {};
    case SnapSource::Grid:
        return moving + " to the grid";
    case SnapSource::Screen:
        return moving + " to the screen's " + MovingName(snap.Target, x);
    case SnapSource::Control:
        break;
    }
    return moving + " to the " + MovingName(snap.Target, x) + " of record " +
           std::to_string(snap.Record);
}

} // namespace

SnapResult Snap(const PixelBox& moving, unsigned movingEdges, std::span<const SnapTarget> others,
                const PixelBox& screen, const SnapSettings& settings) {
    const AxisRule xRule{(movingEdges & SnapEdges::Left) != 0,
                         (movingEdges & SnapEdges::Right) != 0};
    const AxisRule yRule{(movingEdges & SnapEdges::Top) != 0,
                         (movingEdges & SnapEdges::Bottom) != 0};
    const AxisAnswer x = SnapAxis(AlongX(moving), xRule, others, AlongX, screen, settings);
    const AxisAnswer y = SnapAxis(AlongY(moving), yRule, others, AlongY, screen, settings);

    SnapResult result;
    result.Box = {x.Placed.Start, y.Placed.Start, x.Placed.End, y.Placed.End};
    result.X = x.Snap;
    result.Y = y.Snap;
    for (const bool vertical : {true, false}) {
        const AxisRule& rule = vertical ? xRule : yRule;
        if (settings.ToControls)
            for (const SnapTarget& other : others)
                AddGuides(result.Guides, result.Box, rule, vertical, other.Box, settings);
        if (settings.ToScreen)
            AddGuides(result.Guides, result.Box, rule, vertical, screen, settings);
    }
    std::sort(result.Guides.begin(), result.Guides.end(),
              [](const SnapGuide& a, const SnapGuide& b) {
                  return a.Vertical != b.Vertical ? a.Vertical : a.At < b.At;
              });
    return result;
}

int64_t SnapTolerance(double zoom, int devicePixels) {
    if (!(zoom > 0)) return 1;
    const double pixels = std::round(devicePixels / zoom);
    return pixels < 1 ? 1 : static_cast<int64_t>(std::min(pixels, 1e6));
}

std::string SnapText(const SnapResult& result) {
    const std::string x = AxisText(result.X, true), y = AxisText(result.Y, false);
    if (x.empty() || y.empty()) return x + y;
    return x + ", " + y;
}
