// How far the controls of a screen, or of the whole layout, reach to the right and downwards.

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

TEST(ScreenExtents, EmptyLayoutAndEmptyScreenReachNowhere) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    EXPECT_EQ(layout.ScreenExtentX(-1), 0);
    EXPECT_EQ(layout.ScreenExtentY(-1), 0);

    cLayoutProbe::Adopt(layout, {MakeControl(4, 2, 10, 10, 300, 200)});
    EXPECT_EQ(layout.ScreenExtentX(5), 0);
    EXPECT_EQ(layout.ScreenExtentY(5), 0);
}

TEST(ScreenExtents, LargestRightAndBottomEdgesOfOneScreenOrAll) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, {
                                    MakeControl(4, 0, 0, 0, 120, 900),
                                    MakeControl(1, 3, 0, 0, 639, 20),
                                    MakeControl(6, 3, 700, 400, 640, 479),
                                    MakeControl(7, 3, 0, 0, 20, 30),
                                    MakeControl(4, 9, 0, 0, 1279, 1023),
                                });
    // The largest rX2 and the largest rY2 may come from different controls.
    EXPECT_EQ(layout.ScreenExtentX(3), 640);
    EXPECT_EQ(layout.ScreenExtentY(3), 479);
    EXPECT_EQ(layout.ScreenExtentX(0), 120);
    EXPECT_EQ(layout.ScreenExtentY(0), 900);
    // Any negative screen means the whole layout; rX1 and rY1 play no part.
    EXPECT_EQ(layout.ScreenExtentX(-1), 1279);
    EXPECT_EQ(layout.ScreenExtentY(-1), 1023);
    EXPECT_EQ(layout.ScreenExtentX(-7), 1279);
    EXPECT_EQ(layout.ScreenExtentY(-7), 1023);
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST(ScreenExtents, NegativeEdgesNeverBringTheExtentBelowZero) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, {MakeControl(4, 1, -300, -200, -100, -50)});
    EXPECT_EQ(layout.ScreenExtentX(1), 0);
    EXPECT_EQ(layout.ScreenExtentY(1), 0);
}

TEST(ScreenExtents, EdgesBeyondSixteenBitsAreReportedInFull) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, {
                                    MakeControl(4, 1, 0, 0, 32767, 32768),
                                    MakeControl(4, 2, 0, 0, 40000, 65536 + 100),
                                    MakeControl(4, 3, 0, 0, INT32_MAX, 2),
                                });
    EXPECT_EQ(layout.ScreenExtentX(1), 32767);
    EXPECT_EQ(layout.ScreenExtentY(1), 32768);
    // 65636 would look like 100 if it wrapped round at 16 bits, and fit 640 x 480.
    EXPECT_EQ(layout.ScreenExtentX(2), 40000);
    EXPECT_EQ(layout.ScreenExtentY(2), 65636);
    EXPECT_EQ(layout.ScreenExtentX(-1), INT32_MAX);
}

} // namespace
