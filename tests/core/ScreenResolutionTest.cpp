// The resolution rule: which resolution holds a layout's extents, the factor and centring shift
// between two resolutions, sizes typed by the user, and the shift applied by a rescale.

#include <gtest/gtest.h>

#include <climits>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "editing/StepTexts.h"
#include "layout/cLayout.h"
#include "tools/ScreenResolution.h"

namespace {

struct PlanCase {
    Resolution from, to;
    float factor;
    bool fromHeights;
    int32_t shift;
};

TEST(ScreenResolution, FactorAndCentringShiftBetweenResolutions) {
    const PlanCase cases[] = {
        // Between the classic five only the widths count, whatever the aspect.
        {{640, 480}, {640, 480}, 1.0f, false, 0},
        {{800, 600}, {800, 600}, 1.0f, false, 0},
        {{1024, 768}, {1024, 768}, 1.0f, false, 0},
        {{1152, 864}, {1152, 864}, 1.0f, false, 0},
        {{1280, 1024}, {1280, 1024}, 1.0f, false, 0},
        {{1280, 1024}, {640, 480}, 0.5f, false, 0}, // the height ratio would be 0.46875
        {{1280, 1024}, {800, 600}, 0.625f, false, 0},
        {{1280, 1024}, {1024, 768}, 0.8f, false, 0},
        {{1280, 1024}, {1152, 864}, 0.9f, false, 0},
        // To and from the others the whole screen stays visible.
        {{1024, 768}, {1366, 768}, 1.0f, true, 171},
        {{1024, 768}, {1920, 1080}, 1.40625f, true, 240},
        {{1024, 768}, {1280, 800}, 1.04166663f, true, 107},
        {{1280, 1024}, {1920, 1080}, 1.0546875f, true, 285},
        {{1920, 1080}, {1024, 768}, 0.533333361f, false, 0}, // narrower: the width limits
        {{1280, 720}, {1920, 1080}, 1.5f, false, 0},         // same aspect: nothing to centre
        // Sizes of the user's own.
        {{1024, 768}, {1000, 1000}, 0.9765625f, false, 0},
        {{1600, 1200}, {1024, 768}, 0.64f, false, 0},
        {{1024, 768}, {1365, 768}, 1.0f, true, 171}, // 170.5: the half goes away from zero
        {{640, 480}, {16384, 320}, 0.666666687f, true, 7979},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(ResolutionCaption(c.from) + " to " + ResolutionCaption(c.to));
        const RescalePlan plan = PlanRescale(c.from, c.to);
        EXPECT_EQ(plan.Factor, c.factor);
        EXPECT_EQ(plan.FromHeights, c.fromHeights);
        EXPECT_EQ(plan.CentringShift, c.shift);
    }
}

struct DetectionCase {
    int64_t x, y;
    Resolution expected;
    bool outside;
};

TEST(ScreenResolution, DetectsTheFirstResolutionHoldingTheExtents) {
    const DetectionCase cases[] = {
        {0, 0, {640, 480}, false},
        {640, 479, {640, 480}, false},   // within 1 %
        {647, 480, {800, 600}, false},   // 1.1 % past 640
        {1028, 768, {1024, 768}, false}, // a 1028-pixel background picture
        {1034, 775, {1024, 768}, false}, // the very edge of 1 %
        {1035, 768, {1152, 864}, false},
        {1280, 1024, {1280, 1024}, false},
        {1290, 700, {1280, 1024}, false}, // the classic five come first
        {1365, 767, {1366, 768}, false},
        {1300, 800, {1440, 900}, false}, // 800 lines are too many for 1366 x 768
        {1919, 1079, {1920, 1080}, false},
        {3878, 2181, {3840, 2160}, false},
        {4000, 3000, {3840, 2160}, true},
        {5, 2200, {3840, 2160}, true},
        {INT32_MAX, INT32_MAX, {3840, 2160}, true},
    };
    for (const DetectionCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + " x " + std::to_string(c.y));
        const DetectedResolution found = DetectResolution(c.x, c.y);
        ASSERT_GE(found.Index, 0);
        ASSERT_LT(found.Index, static_cast<int>(Resolutions.size()));
        EXPECT_EQ(Resolutions[static_cast<std::size_t>(found.Index)], c.expected);
        EXPECT_EQ(found.Outside, c.outside);
    }
}

TEST(ScreenResolution, ReadsSizesOfTheUsersOwn) {
    const std::pair<const char*, std::optional<Resolution>> cases[] = {
        {"1920x1080", Resolution{1920, 1080}},
        {" 1920 X 1080\t", Resolution{1920, 1080}},
        {"320 x 16384", Resolution{320, 16384}},
        {"0640x0480", Resolution{640, 480}},
        {"319x480", std::nullopt},
        {"640x16385", std::nullopt},
        {"19 20x1080", std::nullopt},
        {"-640x480", std::nullopt},
        {"+640x480", std::nullopt},
        {"1920.0x1080", std::nullopt},
        {"99999999999x1080", std::nullopt},
        {"1920x", std::nullopt},
        {"x1080", std::nullopt},
        {"1920x1080x2", std::nullopt},
        {"1920", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseResolution(text), expected) << '"' << text << '"';
}

TEST(ScreenResolution, CentringShiftMovesOnlyHorizontalEdgesInOneUndoStep) {
    ScriptedDialogs dialogs;
    dialogs.Answer(MsgAnswer::Yes);
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{MakeControl(4, 1, 0, 0, 1027, 767),
                                             MakeControl(1, 2, 100, 100, 200, 200)};
    cLayoutProbe::Adopt(layout, records);

    ASSERT_TRUE(layout.RescaleControls(-1, 1.40625f, 240));
    EXPECT_EQ(cLayoutProbe::Records(layout),
              (std::vector<ControlRecord>{MakeControl(4, 1, 240, 0, 1685, 1079),
                                          MakeControl(1, 2, 380, 140, 522, 282)}));
    EXPECT_EQ(layout.UndoText(), StepText::Rescale);
    EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), 1);

    layout.Undo();
    EXPECT_EQ(cLayoutProbe::Records(layout), records);

    // A shift that would carry an edge past the 32-bit range refuses the whole rescale.
    const std::vector<ControlRecord> far{MakeControl(4, 1, 0, 0, 10, 10),
                                         MakeControl(4, 1, 0, 0, INT32_MAX - 100, 10)};
    cLayoutProbe::Adopt(layout, far);
    dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(layout.RescaleControls(-1, 1.0f, 200));
    EXPECT_EQ(cLayoutProbe::Records(layout), far);
    EXPECT_EQ(layout.UndoText(), "");
    EXPECT_FALSE(layout.IsDirty());
}

} // namespace
