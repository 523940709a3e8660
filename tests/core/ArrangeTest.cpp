// The geometry edits: every align, distribute and same-size command on three controls, to the
// screen with one, too few controls; moves that keep a rectangle's orientation and stay within 32
// bits; moving off-screen controls inside; and the names of their steps.

#include <gtest/gtest.h>

#include <limits>

#include "LayoutBuilders.h"
#include "editing/Arrange.h"

namespace {

const Resolution Xga{1024, 768};

std::vector<ControlRecord> Three() {
    return {MakeControl(ControlKind::Button, 1, 10, 10, 50, 30),
            MakeControl(ControlKind::DRO, 1, 70, 40, 130, 70),
            MakeControl(ControlKind::LED, 1, 200, 5, 220, 25)};
}

// The rectangles after the edit, as x1, y1, x2, y2 of each record.
std::vector<PixelBox> After(std::vector<ControlRecord> records, const ControlsEdit& edit) {
    EXPECT_TRUE(edit.Removed.empty() && edit.Inserted.empty());
    for (const auto& [position, record] : edit.Changed) {
        ControlRecord& r = records.at(static_cast<std::size_t>(position - 1));
        ControlRecord moved = r;
        moved.rX1 = record.rX1;
        moved.rY1 = record.rY1;
        moved.rX2 = record.rX2;
        moved.rY2 = record.rY2;
        EXPECT_EQ(moved, record) << "only the rectangle changes";
        r = record;
    }
    std::vector<PixelBox> boxes;
    for (const ControlRecord& r : records)
        boxes.push_back({r.rX1, r.rY1, r.rX2, r.rY2});
    return boxes;
}

struct ArrangeCase {
    const char* Name;
    ArrangeCommand Command;
    std::vector<int> Positions;
    int Reference;
    std::vector<PixelBox> Expected;
    std::size_t Changed;
};

class ArrangeTable : public ::testing::TestWithParam<ArrangeCase> {};

TEST_P(ArrangeTable, ArrangesAsTheCommandSays) {
    const ArrangeCase& c = GetParam();
    const std::vector<ControlRecord> records = Three();
    const ControlsEdit edit = ArrangeControls(records, c.Positions, c.Reference, c.Command, Xga);
    EXPECT_EQ(edit.Changed.size(), c.Changed);
    EXPECT_EQ(After(records, edit), c.Expected);
}

using A = ArrangeCommand;
const PixelBox A0{10, 10, 50, 30}, B0{70, 40, 130, 70}, C0{200, 5, 220, 25};
INSTANTIATE_TEST_SUITE_P(
    Cases, ArrangeTable,
    ::testing::Values(
        ArrangeCase{"Left", A::AlignLeft, {1, 2, 3}, 1, {A0, {10, 40, 70, 70}, {10, 5, 30, 25}}, 2},
        ArrangeCase{
            "Right", A::AlignRight, {1, 2, 3}, 1, {A0, {-10, 40, 50, 70}, {30, 5, 50, 25}}, 2},
        ArrangeCase{
            "Top", A::AlignTop, {1, 2, 3}, 1, {A0, {70, 10, 130, 40}, {200, 10, 220, 30}}, 2},
        ArrangeCase{
            "Bottom", A::AlignBottom, {1, 2, 3}, 1, {A0, {70, 0, 130, 30}, {200, 10, 220, 30}}, 2},
        ArrangeCase{
            "Centres", A::AlignCentres, {1, 2, 3}, 1, {A0, {0, 40, 60, 70}, {20, 5, 40, 25}}, 2},
        ArrangeCase{"Middles",
                    A::AlignMiddles,
                    {1, 2, 3},
                    1,
                    {A0, {70, 5, 130, 35}, {200, 10, 220, 30}},
                    2},
        ArrangeCase{"ToAnotherReference",
                    A::AlignLeft,
                    {1, 2, 3},
                    2,
                    {{70, 10, 110, 30}, B0, {70, 5, 90, 25}},
                    2},
        ArrangeCase{
            "SameWidth", A::SameWidth, {1, 2, 3}, 1, {A0, {70, 40, 110, 70}, {200, 5, 240, 25}}, 2},
        ArrangeCase{"SameHeightChangesOnlyWhatDiffers",
                    A::SameHeight,
                    {1, 2, 3},
                    1,
                    {A0, {70, 40, 130, 60}, C0},
                    1},
        ArrangeCase{
            "DistributeAcross", A::DistributeAcross, {3, 1, 2}, 1, {A0, {95, 40, 155, 70}, C0}, 1},
        ArrangeCase{"DistributeDownWithTooLittleRoom",
                    A::DistributeDown,
                    {1, 2, 3},
                    1,
                    {{10, 22, 50, 42}, B0, C0},
                    1},
        ArrangeCase{
            "OneAlignsToTheScreensRight", A::AlignRight, {1}, 1, {{984, 10, 1024, 30}, B0, C0}, 1},
        ArrangeCase{"OneAlignsToTheScreensCentre",
                    A::AlignCentres,
                    {1},
                    1,
                    {{492, 10, 532, 30}, B0, C0},
                    1},
        ArrangeCase{"OneAlignsToTheScreensMiddle",
                    A::AlignMiddles,
                    {1},
                    1,
                    {{10, 374, 50, 394}, B0, C0},
                    1},
        ArrangeCase{"TwoDoNotDistribute", A::DistributeAcross, {1, 2}, 1, {A0, B0, C0}, 0},
        ArrangeCase{"OneHasNoSameWidth", A::SameWidth, {2}, 2, {A0, B0, C0}, 0},
        ArrangeCase{"PositionsOutsideAreIgnored",
                    A::AlignTop,
                    {0, 1, 3, 3, 9},
                    1,
                    {A0, B0, {200, 10, 220, 30}},
                    1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Arrange, DistributingSharesTheRoomToThePixel) {
    // 100 pixels of room between the first and the last for three gaps: 33, 33 and 34.
    std::vector<ControlRecord> records;
    for (int32_t x : {0, 5, 17, 130})
        records.push_back(MakeControl(ControlKind::Button, 1, x, 0, x + 10, 10));
    const auto boxes = After(
        records, ArrangeControls(records, {1, 2, 3, 4}, 1, ArrangeCommand::DistributeAcross, Xga));
    EXPECT_EQ(boxes[1].Left - boxes[0].Right, 33);
    EXPECT_EQ(boxes[2].Left - boxes[1].Right, 33);
    EXPECT_EQ(boxes[3].Left - boxes[2].Right, 34);
}

TEST(Arrange, MovesKeepOrientationAndStayWithin32Bits) {
    constexpr int32_t Top = std::numeric_limits<int32_t>::max();
    std::vector<ControlRecord> records{MakeControl(ControlKind::Button, 1, 50, 30, 10, 10),
                                       MakeControl(ControlKind::Button, 1, 0, 0, 20, Top - 3)};
    // Inverted rectangles stay inverted.
    EXPECT_EQ(After(records, MoveControls(records, {1}, 5, -2))[0], (PixelBox{55, 28, 15, 8}));
    // Both move down only as far as the lower one can go.
    const auto moved = After(records, MoveControls(records, {1, 2}, 0, 10));
    EXPECT_EQ(moved[0], (PixelBox{50, 33, 10, 13}));
    EXPECT_EQ(moved[1].Bottom, Top);
    EXPECT_TRUE(MoveControls(records, {2}, 0, 10).Changed.size() == 1);
    EXPECT_TRUE(MoveControls(records, {1, 2}, 0, 0).Empty());
    // A resize given inside out is put right way round, in the record's own orientation.
    EXPECT_EQ(After(records, SetControlBox(records, 1, {40, 50, 0, 0}))[0],
              (PixelBox{40, 50, 0, 0}));
    EXPECT_TRUE(SetControlBox(records, 3, {0, 0, 1, 1}).Empty());
}

TEST(Arrange, MoveInsideTakesTheLeastWayIn) {
    const std::vector<ControlRecord> records{
        MakeControl(ControlKind::Button, 1, 1142, 100, 1202, 140), // a parked jog button
        MakeControl(ControlKind::Button, 1, -20, 790, 40, 810),
        MakeControl(ControlKind::Bitmap, 1, 0, 0, 1100, 800), // larger than the screen
        MakeControl(ControlKind::Button, 1, 10, 10, 50, 30)}; // inside already
    const ControlsEdit edit = MoveInside(records, {1, 2, 3, 4}, Xga);
    EXPECT_EQ(edit.Changed.size(), 3u);
    const auto boxes = After(records, edit);
    EXPECT_EQ(boxes[0], (PixelBox{964, 100, 1024, 140}));
    EXPECT_EQ(boxes[1], (PixelBox{0, 748, 60, 768}));
    EXPECT_EQ(boxes[2], (PixelBox{0, 0, 1024, 768}));
    EXPECT_TRUE(MoveInside(records, {1}, {0, 0}).Empty());
}

TEST(Arrange, StepsAreNamedByWhatTheyDidAndHowMany) {
    EXPECT_EQ(ControlsStepText("Move", 3), "Move 3 controls");
    EXPECT_EQ(ControlsStepText("Move", 1), "Move 1 control");
    EXPECT_EQ(ArrangeStepText(ArrangeCommand::AlignLeft, 3), "Align left edges of 3 controls");
    EXPECT_EQ(ArrangeStepText(ArrangeCommand::AlignMiddles, 1), "Align middle of 1 control");
    EXPECT_EQ(ArrangeStepText(ArrangeCommand::DistributeDown, 4), "Distribute 4 controls down");
    EXPECT_EQ(ArrangeStepText(ArrangeCommand::SameWidth, 2), "Make 2 controls the same width");
}

} // namespace
