// The resolution rule: which resolution holds a layout's extents, the factor and centring shift
// between two resolutions, sizes typed by the user, and the shift applied by a rescale.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/StepTexts.h"
#include "check/LayoutCheck.h"
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
        const DetectedResolution found = ResolutionHoldingExtents(c.x, c.y);
        ASSERT_GE(found.Index, 0);
        ASSERT_LT(found.Index, static_cast<int>(Resolutions.size()));
        EXPECT_EQ(Resolutions[static_cast<std::size_t>(found.Index)], c.expected);
        EXPECT_EQ(found.Outside, c.outside);
    }
}

ControlRecord Picture(int32_t screen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ControlRecord r = MakeControl(ControlKind::Bitmap, screen, x1, y1, x2, y2);
    r.rBitMapPath = "NewPlasma\\Background.png";
    r.rText = "None";
    return r;
}

struct EvidenceCase {
    const char* name;
    std::vector<ControlRecord> records;
    int screen;
    std::optional<Resolution> chosen;
    Resolution expected;
    ResolutionRule from;
};

TEST(ScreenResolution, DetectsByEvidenceOverTheScreensAskedFor) {
    // A real 1024 x 768 mill screen: buttons, a background late in record order, and seven jog
    // buttons parked past its right edge.
    std::vector<ControlRecord> jogging{MakeControl(ControlKind::Button, 1, 10, 700, 110, 740),
                                       Picture(1, 0, 0, 1027, 729)};
    for (int32_t k = 0; k < 7; ++k)
        jogging.push_back(MakeControl(ControlKind::Button, 1, 1100, 40 * k, 1142, 40 * k + 30));
    const std::vector<ControlRecord> twoSizes{Picture(1, 0, 0, 1016, 768),
                                              Picture(2, 0, 0, 1280, 1024)};

    const std::vector<EvidenceCase> cases{
        {"background with jog buttons past it",
         jogging,
         -1,
         {},
         {1024, 768},
         ResolutionRule::Background},
        {"the same on its own screen", jogging, 1, {}, {1024, 768}, ResolutionRule::Background},
        {"a skinned 1920 x 1080 background",
         {Picture(0, 0, 0, 1920, 1080)},
         -1,
         {},
         {1920, 1080},
         ResolutionRule::Background},
        {"a background a few pixels off the corner",
         {Picture(4, 3, 2, 1031, 770)},
         -1,
         {},
         {1024, 768},
         ResolutionRule::Background},
        {"a wide 720-line background",
         {Picture(4, 0, 0, 1287, 718)},
         -1,
         {},
         {1280, 720},
         ResolutionRule::Background},
        {"the largest background of all screens",
         twoSizes,
         -1,
         {},
         {1280, 1024},
         ResolutionRule::Background},
        {"one screen's own background", twoSizes, 1, {}, {1024, 768}, ResolutionRule::Background},
        {"a picture too far from the corner",
         {Picture(1, 20, 0, 1044, 768)},
         -1,
         {},
         {1152, 864},
         ResolutionRule::Extents},
        {"a background centred on a wider screen, jog buttons parked past it",
         {Picture(1, 240, 0, 1680, 1080), MakeControl(ControlKind::Button, 1, 1950, 40, 1990, 70)},
         -1,
         {},
         {1920, 1080},
         ResolutionRule::Background},
        {"1920 x 1080 content centred on 1920 x 1200",
         {Picture(1, 0, 60, 1920, 1140), MakeControl(ControlKind::Button, 1, 10, 1100, 60, 1130)},
         -1,
         {},
         {1920, 1200},
         ResolutionRule::Background},
        {"a small centred picture is no background",
         {Picture(1, 462, 334, 562, 434), MakeControl(ControlKind::Button, 1, 0, 0, 30, 20)},
         -1,
         {},
         {640, 480},
         ResolutionRule::Extents},
        {"a picture taller than its width's heights",
         {Picture(1, 0, 0, 1024, 800)},
         -1,
         {},
         {1152, 864},
         ResolutionRule::Extents},
        {"a picture of no listed width",
         {Picture(1, 0, 0, 960, 720)},
         -1,
         {},
         {1024, 768},
         ResolutionRule::Extents},
        {"a bitmap button is no background",
         {MakeControl(ControlKind::BitmapButton, 1, 0, 0, 1024, 768)},
         -1,
         {},
         {1024, 768},
         ResolutionRule::Extents},
        {"1440 wide content centred on 1920 x 1080",
         {MakeControl(ControlKind::Button, 1, 240, 0, 300, 40),
          MakeControl(ControlKind::Button, 1, 1600, 1010, 1680, 1050)},
         -1,
         {},
         {1920, 1080},
         ResolutionRule::Centred},
        {"content from the left edge",
         {MakeControl(ControlKind::Button, 1, 0, 0, 1680, 1050)},
         -1,
         {},
         {1680, 1050},
         ResolutionRule::Extents},
        {"records off the 16 screens are never on view",
         {Picture(1, 0, 0, 800, 600), MakeControl(ControlKind::Button, 50, 0, 0, 5000, 4000)},
         -1,
         {},
         {800, 600},
         ResolutionRule::Background},
        {"beyond every resolution",
         {MakeControl(ControlKind::Button, 1, 0, 0, 5000, 3000)},
         -1,
         {},
         {3840, 2160},
         ResolutionRule::Extents},
        {"no controls", {}, -1, {}, {640, 480}, ResolutionRule::Extents},
        {"the user's choice wins",
         jogging,
         -1,
         Resolution{1366, 768},
         {1366, 768},
         ResolutionRule::Chosen},
        {"a choice of the user's own size",
         jogging,
         1,
         Resolution{1000, 700},
         {1000, 700},
         ResolutionRule::Chosen},
    };
    for (const EvidenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DetectedResolution found = DetectResolution(c.records, c.screen, c.chosen);
        EXPECT_EQ(found.Size, c.expected);
        EXPECT_EQ(found.From, c.from);
        const auto listed = std::find(Resolutions.begin(), Resolutions.end(), c.expected);
        EXPECT_EQ(found.Index, listed == Resolutions.end()
                                   ? -1
                                   : static_cast<int>(listed - Resolutions.begin()));
        EXPECT_EQ(found.Outside, (c.expected == Resolution{3840, 2160}));
    }
    EXPECT_EQ(DrawnForText(DetectResolution(jogging, -1)),
              "Drawn for 1024 x 768 (from the background picture)");
    EXPECT_EQ(DetectResolution(jogging, -1).ExtentX, 1142);

    // The check takes the same resolution, so the parked jog buttons are off the screen.
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, jogging);
    std::vector<int> offScreen;
    for (const Finding& finding : CheckLayout(layout))
        if (finding.Code == CheckCode::OffScreen) offScreen.push_back(finding.Record);
    EXPECT_EQ(offScreen, (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
}

// A 1024 x 768 layout rescaled to each listed resolution is detected as the resolution it was
// rescaled to, centred or not, except where, not centred, its content is exactly what a layout
// drawn for a resolution tried earlier holds: then the extents give that one, as before.
TEST(ScreenResolution, DetectsTheTargetOfARescale) {
    const std::vector<ControlRecord> original{
        Picture(1, 0, 0, 1024, 768), MakeControl(ControlKind::Button, 1, 10, 700, 110, 760),
        MakeControl(ControlKind::DRO, 2, 500, 100, 1010, 140), Picture(2, 0, 0, 1024, 768)};
    const std::map<std::pair<int32_t, int32_t>, Resolution> notCentred{
        {{1280, 720}, {1024, 768}},  {{1280, 800}, {1152, 864}},  {{1366, 768}, {1024, 768}},
        {{1440, 900}, {1280, 1024}}, {{1600, 900}, {1280, 1024}},
    };
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    for (const Resolution& target : Resolutions) {
        for (const bool centre : {false, true}) {
            SCOPED_TRACE(ResolutionCaption(target) + (centre ? ", centred" : ""));
            cLayoutProbe::Adopt(layout, original);
            const RescalePlan plan = PlanRescale({1024, 768}, target);
            ASSERT_TRUE(layout.RescaleControls(-1, plan.Factor, centre ? plan.CentringShift : 0));
            const auto exception = notCentred.find({target.Width, target.Height});
            const bool moved = centre && plan.FromHeights;
            const Resolution expected =
                !moved && exception != notCentred.end() ? exception->second : target;
            const DetectedResolution found = DetectResolution(layout.Records(), -1);
            EXPECT_EQ(found.Size, expected);
            // A centred rescale leaves the background picture centred: it decides.
            if (moved) {
                EXPECT_EQ(found.From, ResolutionRule::Background);
            }
        }
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
