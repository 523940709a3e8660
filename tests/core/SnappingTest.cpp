// The snapping rule, case by case: the grid alone, edges and centres of other controls and of the
// screen, both axes at once, which target wins, resizing by one edge, the tolerance as the zoom
// gives it, and a control larger than the screen.

#include <gtest/gtest.h>

#include "editing/Snapping.h"

namespace {

const PixelBox Screen{0, 0, 1024, 768};
const std::vector<SnapTarget> OneControl{{{100, 100, 200, 150}, 7}};

SnapSettings Only(bool grid, bool controls, bool screen, bool centres = true,
                  int64_t tolerance = 4) {
    SnapSettings s;
    s.ToGrid = grid;
    s.ToControls = controls;
    s.ToScreen = screen;
    s.ToCentres = centres;
    s.Tolerance = tolerance;
    return s;
}

struct SnapCase {
    const char* Name;
    PixelBox Moving;
    unsigned Edges;
    std::vector<SnapTarget> Others;
    SnapSettings Settings;
    PixelBox Expected;
    SnapSource X, Y;
    const char* Text; // nullptr: not checked
};

class SnapTable : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapTable, SnapsAsTheRuleSays) {
    const SnapCase& c = GetParam();
    const SnapResult r = Snap(c.Moving, c.Edges, c.Others, Screen, c.Settings);
    EXPECT_EQ(r.Box, c.Expected) << r.Box.Left << "," << r.Box.Top << " " << r.Box.Right << ","
                                 << r.Box.Bottom;
    EXPECT_EQ(r.X.Source, c.X);
    EXPECT_EQ(r.Y.Source, c.Y);
    if (c.Text != nullptr) {
        EXPECT_EQ(SnapText(r), c.Text);
    }
    if (c.Edges == SnapEdges::Move) {
        EXPECT_EQ(r.Box.Width(), c.Moving.Width());
        EXPECT_EQ(r.Box.Height(), c.Moving.Height());
    }
}

using S = SnapSource;
INSTANTIATE_TEST_SUITE_P(
    Cases, SnapTable,
    ::testing::Values(
        SnapCase{"GridOnly",
                 {13, 21, 53, 41},
                 SnapEdges::Move,
                 OneControl,
                 Only(true, false, false),
                 {16, 24, 56, 44},
                 S::Grid,
                 S::Grid,
                 "left edge to the grid, top edge to the grid"},
        SnapCase{"GridBelowZero",
                 {-3, -5, 7, 5},
                 SnapEdges::Move,
                 {},
                 Only(true, false, false),
                 {0, -8, 10, 2},
                 S::Grid,
                 S::Grid,
                 nullptr},
        SnapCase{"EdgeToEdge",
                 {203, 300, 243, 320},
                 SnapEdges::Move,
                 OneControl,
                 Only(false, true, false),
                 {200, 300, 240, 320},
                 S::Control,
                 S::None,
                 "left edge to the right edge of record 7"},
        SnapCase{"ControlWinsOverGrid",
                 {203, 301, 243, 321},
                 SnapEdges::Move,
                 OneControl,
                 Only(true, true, false),
                 {200, 304, 240, 324},
                 S::Control,
                 S::Grid,
                 nullptr},
        SnapCase{"CentreToCentre",
                 {128, 160, 168, 180},
                 SnapEdges::Move,
                 OneControl,
                 Only(false, true, false),
                 {130, 160, 170, 180},
                 S::Control,
                 S::None,
                 "centre to the centre of record 7"},
        SnapCase{"CentresSwitchedOff",
                 {128, 160, 168, 180},
                 SnapEdges::Move,
                 OneControl,
                 Only(false, true, false, false),
                 {128, 160, 168, 180},
                 S::None,
                 S::None,
                 ""},
        SnapCase{"BothAxes",
                 {198, 148, 238, 168},
                 SnapEdges::Move,
                 OneControl,
                 Only(false, true, false),
                 {200, 150, 240, 170},
                 S::Control,
                 S::Control,
                 "left edge to the right edge of record 7, top edge to the bottom edge of "
                 "record 7"},
        SnapCase{"NearestWinsThenTheEarlier",
                 {302, 500, 342, 520},
                 SnapEdges::Move,
                 {{{0, 0, 299, 10}, 1}, {{300, 0, 310, 10}, 2}, {{304, 0, 400, 10}, 3}},
                 Only(false, true, false),
                 {300, 500, 340, 520},
                 S::Control,
                 S::None,
                 "left edge to the left edge of record 2"},
        SnapCase{"ScreenEdges",
                 {3, 700, 43, 765},
                 SnapEdges::Move,
                 {},
                 Only(false, false, true),
                 {0, 703, 40, 768},
                 S::Screen,
                 S::Screen,
                 "left edge to the screen's left edge, bottom edge to the screen's bottom edge"},
        SnapCase{"ScreenCentre",
                 {459, 10, 559, 20},
                 SnapEdges::Move,
                 {},
                 Only(false, false, true),
                 {462, 10, 562, 20},
                 S::Screen,
                 S::None,
                 "centre to the screen's centre"},
        SnapCase{"ControlsSwitchedOff",
                 {203, 300, 243, 320},
                 SnapEdges::Move,
                 OneControl,
                 Only(false, false, true),
                 {203, 300, 243, 320},
                 S::None,
                 S::None,
                 ""},
        SnapCase{"ResizeMovesOnlyItsEdges",
                 {10, 10, 97, 62},
                 SnapEdges::Right | SnapEdges::Bottom,
                 {{{100, 0, 150, 60}, 4}},
                 Only(false, true, false),
                 {10, 10, 100, 60},
                 S::Control,
                 S::Control,
                 nullptr},
        SnapCase{"ResizeToTheGrid",
                 {10, 10, 45, 30},
                 SnapEdges::Right,
                 {},
                 Only(true, false, false),
                 {10, 10, 48, 30},
                 S::Grid,
                 S::None,
                 "right edge to the grid"},
        SnapCase{"ResizeNeverTurnsInsideOut",
                 {50, 10, 52, 30},
                 SnapEdges::Left,
                 {{{0, 0, 54, 5}, 9}},
                 Only(false, true, false),
                 {50, 10, 52, 30},
                 S::None,
                 S::None,
                 ""},
        SnapCase{"LargerThanTheScreenMoves",
                 {-50, -40, 1100, 800},
                 SnapEdges::Move,
                 {},
                 Only(true, false, true),
                 {-48, -36, 1102, 804},
                 S::Grid,
                 S::Screen,
                 nullptr},
        SnapCase{"LargerThanTheScreenAtItsCentre",
                 {-50, -40, 1100, 800},
                 SnapEdges::Move,
                 {},
                 Only(true, false, true, true, SnapTolerance(0.25)),
                 {-63, -36, 1087, 804},
                 S::Screen,
                 S::Screen,
                 nullptr},
        SnapCase{"LargerThanTheScreenResized",
                 {0, 0, 1026, 768},
                 SnapEdges::Right,
                 {},
                 Only(true, false, true),
                 {0, 0, 1024, 768},
                 S::Screen,
                 S::None,
                 nullptr}),
    [](const auto& info) { return std::string(info.param.Name); });

// The reach is the same for the hand at every zoom: five screen pixels are within reach at 100 %
// but not at 400 %, where they are twenty display pixels.
TEST(SnapTolerance, IsTheSameReachOnTheDisplayAtEveryZoom) {
    const struct {
        double Zoom;
        int64_t Tolerance;
        bool SnapsFiveAway;
    } zooms[] = {{0.25, 24, true}, {0.5, 12, true}, {1.0, 6, true},
                 {2.0, 3, false},  {4.0, 2, false}, {8.0, 1, false}};
    for (const auto& z : zooms) {
        SCOPED_TRACE(z.Zoom);
        EXPECT_EQ(SnapTolerance(z.Zoom), z.Tolerance);
        const SnapResult r = Snap({205, 300, 245, 320}, SnapEdges::Move, OneControl, Screen,
                                  Only(false, true, false, true, SnapTolerance(z.Zoom)));
        EXPECT_EQ(r.X.Source == SnapSource::Control, z.SnapsFiveAway);
    }
    EXPECT_EQ(SnapTolerance(0), 1);
    EXPECT_EQ(SnapTolerance(-2), 1);
}

TEST(SnapGuides, OneGuidePerLineSpanningBothRectangles) {
    // Two controls share the left edge the moving one snaps to; the screen's centre meets nothing.
    const std::vector<SnapTarget> others{{{100, 10, 150, 30}, 1}, {{100, 400, 190, 420}, 2}};
    const SnapResult r =
        Snap({102, 200, 142, 230}, SnapEdges::Move, others, Screen, Only(false, true, true));
    ASSERT_EQ(r.Box, (PixelBox{100, 200, 140, 230}));
    ASSERT_EQ(r.Guides.size(), 1u);
    EXPECT_EQ(r.Guides[0], (SnapGuide{true, 100, 10, 420}));
    // Nothing meets: no guides.
    EXPECT_TRUE(Snap({600, 600, 630, 620}, SnapEdges::Move, others, Screen, Only(true, true, true))
                    .Guides.empty());
}

} // namespace
