#pragma once
// Where a rectangle dragged on the screen comes to rest. While the user moves or resizes controls,
// the edges and centres of the moving rectangle are drawn to the left, right, top and bottom edges
// and the centres of the other controls and of the screen when they come within a tolerance, and
// otherwise to a grid; each kind of snapping can be switched off. The answer is the rectangle as
// it snaps, what each axis snapped to, and the guide lines that show the user why.
//
// Guarantees: whole screen pixels throughout; the moving rectangle keeps its size when it moves,
// and only the edges that move change when it is resized; a snap to another control or to the
// screen wins over the grid, the nearest one winning, ties going to the earlier control (the
// screen comes after every control); nothing snaps farther than the tolerance, but the grid
// always does when it is on.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A rectangle by its edges in screen pixels, Left <= Right and Top <= Bottom; Right and Bottom are
// edges, as a record's rX2 and rY2 are.
struct PixelBox {
    int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int64_t Width() const { return Right - Left; }
    int64_t Height() const { return Bottom - Top; }
    bool operator==(const PixelBox&) const = default;
};

// The edges of the moving rectangle that follow the mouse: all four for a move, one or two for a
// resize by a handle.
namespace SnapEdges {
inline constexpr unsigned Left = 1, Right = 2, Top = 4, Bottom = 8;
inline constexpr unsigned Move = Left | Right | Top | Bottom;
} // namespace SnapEdges

struct SnapSettings {
    bool ToGrid = true;
    int GridStep = 8; // pixels; a step below 2 snaps to nothing
    bool ToControls = true;
    bool ToScreen = true;
    bool ToCentres = true; // centres as well as edges (of controls and of the screen)
    int64_t Tolerance = 4; // screen pixels; see SnapTolerance

    bool operator==(const SnapSettings&) const = default;
};

inline constexpr int DefaultGridStep = 8;
inline constexpr int LargestGridStep = 256;

// Another control the moving rectangle may snap to, with its record position for the status line.
struct SnapTarget {
    PixelBox Box;
    int Record = 0;
};

// One line of a rectangle along an axis: its start (left or top edge), centre, or end (right or
// bottom edge).
enum class SnapLine { Start, Centre, End };
enum class SnapSource { None, Grid, Control, Screen };

// What one axis snapped to: the moving rectangle's line, the target's line, the target.
struct AxisSnap {
    SnapSource Source = SnapSource::None;
    SnapLine Moving = SnapLine::Start;
    SnapLine Target = SnapLine::Start;
    int Record = 0; // the control, for SnapSource::Control
    int64_t At = 0; // where the lines meet (x for the horizontal axis, y for the vertical)
    bool operator==(const AxisSnap&) const = default;
};

// A guide line: vertical at x = At from y = From to To, or horizontal at y = At from x = From to
// To.
struct SnapGuide {
    bool Vertical = true;
    int64_t At = 0, From = 0, To = 0;
    bool operator==(const SnapGuide&) const = default;
};

struct SnapResult {
    PixelBox Box;
    AxisSnap X, Y;
    // Every line of the snapped rectangle that meets a line of another control or of the screen,
    // one guide per line position, spanning both rectangles.
    std::vector<SnapGuide> Guides;
};

// `moving` is where the mouse has put the rectangle; `movingEdges` which of its edges follow the
// mouse (SnapEdges); `screen` the screen, 0,0 to its resolution.
SnapResult Snap(const PixelBox& moving, unsigned movingEdges, std::span<const SnapTarget> others,
                const PixelBox& screen, const SnapSettings& settings);

// The tolerance in screen pixels that is `devicePixels` on the user's display at this zoom (1.0 is
// one screen pixel to one display pixel): the same reach for the hand at every zoom, at least
// one pixel.
int64_t SnapTolerance(double zoom, int devicePixels = 6);

// What snapped, for the status line: "left edge to the right edge of record 12, top edge to the
// grid"; empty when nothing did.
std::string SnapText(const SnapResult& result);
