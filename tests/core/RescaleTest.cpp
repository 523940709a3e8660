// Rescaling the rectangles of one screen or of all screens by a single-precision factor.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/StepTexts.h"
#include "layout/cLayout.h"

namespace {

enum class Edge { LeftTop, RightBottom };

struct WorkedValue {
    float factor;
    Edge edge;
    int32_t before;
    int32_t after;
};

// The worked values of the rounding rule. With 0.8 held in single precision (a little above 0.8)
// 5 on a right edge stays 5 and -10 on a left edge becomes -9; in double precision they would
// come out as 4 and -8. A product that is a whole number is kept on every edge.
const WorkedValue WorkedValues[] = {
    {0.8f, Edge::LeftTop, 100, 80},       {0.8f, Edge::RightBottom, 101, 81},
    {0.8f, Edge::LeftTop, 5, 4},          {0.8f, Edge::RightBottom, 5, 5},
    {0.8f, Edge::LeftTop, -10, -9},       {1.25f, Edge::LeftTop, 100, 125},
    {1.25f, Edge::RightBottom, 100, 125}, {1.25f, Edge::LeftTop, 101, 126},
    {1.25f, Edge::RightBottom, 101, 127}, {1.5f, Edge::LeftTop, 3, 4},
    {1.5f, Edge::RightBottom, 3, 5},      {1.5f, Edge::LeftTop, -3, -5},
};

void PrintTo(const WorkedValue& v, std::ostream* out) {
    *out << "f " << v.factor << (v.edge == Edge::LeftTop ? ", left/top " : ", right/bottom ")
         << v.before << " to " << v.after;
}

class RescaleWorkedValue : public testing::TestWithParam<WorkedValue> {};

TEST_P(RescaleWorkedValue, GivesTheTabulatedCoordinate) {
    const WorkedValue& v = GetParam();
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    ControlRecord record = MakeFullRecord(3);
    record.rX1 = record.rY1 = record.rX2 = record.rY2 = v.before;
    cLayoutProbe::Adopt(layout, {record});

    ASSERT_TRUE(layout.RescaleControls(-1, v.factor));
    const ControlRecord& after = cLayoutProbe::Records(layout)[0];
    if (v.edge == Edge::LeftTop) {
        EXPECT_EQ(after.rX1, v.after);
        EXPECT_EQ(after.rY1, v.after);
    } else {
        EXPECT_EQ(after.rX2, v.after);
        EXPECT_EQ(after.rY2, v.after);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RescaleWorkedValue, testing::ValuesIn(WorkedValues));

// Every shape of rectangle: odd and even edges, negative, empty, inverted, at either sign.
std::vector<ControlRecord> EveryShape() {
    std::vector<ControlRecord> shapes;
    const int32_t values[] = {-7, -6, -1, 0, 1, 2, 5, 10, 11, 1023};
    int n = 0;
    for (int32_t x1 : values)
        for (int32_t y1 : {-3, 0, 7})
            for (int32_t x2 : {x1, x1 + 1, x1 + 10, x1 - 3})
                for (int32_t y2 : {y1, y1 + 5})
                    shapes.push_back(MakeControl(1 + n++ % 11, 2, x1, y1, x2, y2));
    return shapes;
}

TEST(Rescale, WholeFactorsScaleEveryShapeExactlyAndOneChangesNothing) {
    for (const int factor : {1, 2, 3}) {
        SCOPED_TRACE(factor);
        ScriptedDialogs dialogs;
        FakeListView list;
        cLayout layout(dialogs);
        layout.BindScreenList(list);
        const std::vector<ControlRecord> before = EveryShape();
        cLayoutProbe::Adopt(layout, before);

        ASSERT_TRUE(layout.RescaleControls(2, static_cast<float>(factor)));

        const auto& after = cLayoutProbe::Records(layout);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            ControlRecord expected = before[i];
            expected.rX1 *= factor;
            expected.rY1 *= factor;
            expected.rX2 *= factor;
            expected.rY2 *= factor;
            EXPECT_EQ(after[i], expected) << "record " << i + 1;
        }
        EXPECT_EQ(layout.IsDirty(), factor != 1);
        EXPECT_EQ(layout.UndoText(), factor == 1 ? "" : StepText::Rescale)
            << "a rescale that changes nothing records no step";
        EXPECT_TRUE(dialogs.Shown().empty());
        if (factor == 1) continue;
        dialogs.Answer(MsgAnswer::Yes);
        layout.Undo();
        EXPECT_EQ(cLayoutProbe::Records(layout), before) << "undo gives back the records";
    }
}

TEST(Rescale, OneScreenLeavesTheOthersAndAllScreensReachesEveryRecord) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{
        MakeControl(4, 0, 100, 200, 300, 400),
        MakeControl(1, 5, 100, 200, 300, 400),
        MakeControl(6, 15, 100, 200, 300, 400),
        MakeControl(4, 5, 10, 20, 30, 40),
    };
    cLayoutProbe::Adopt(layout, records);

    ASSERT_TRUE(layout.RescaleControls(5, 0.5f));
    auto expected = records;
    expected[1] = MakeControl(1, 5, 50, 100, 150, 200);
    expected[3] = MakeControl(4, 5, 5, 10, 15, 20);
    EXPECT_EQ(cLayoutProbe::Records(layout), expected);

    cLayoutProbe::Adopt(layout, records);
    ASSERT_TRUE(layout.RescaleControls(-1, 0.5f));
    EXPECT_EQ(cLayoutProbe::Records(layout), (std::vector<ControlRecord>{
                                                 MakeControl(4, 0, 50, 100, 150, 200),
                                                 MakeControl(1, 5, 50, 100, 150, 200),
                                                 MakeControl(6, 15, 50, 100, 150, 200),
                                                 MakeControl(4, 5, 5, 10, 15, 20),
                                             }));
}

TEST(Rescale, OnlyTheFourCornerCoordinatesChange) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const ControlRecord before = MakeFullRecord(7);
    cLayoutProbe::Adopt(layout, {before});

    ASSERT_TRUE(layout.RescaleControls(-1, 1.6f));
    ControlRecord after = cLayoutProbe::Records(layout)[0];
    EXPECT_NE(after.rX1, before.rX1);
    EXPECT_NE(after.rY2, before.rY2);
    after.rX1 = before.rX1;
    after.rY1 = before.rY1;
    after.rX2 = before.rX2;
    after.rY2 = before.rY2;
    EXPECT_EQ(after, before);
}

TEST(Rescale, NoQualifyingRecordStillRecordsUndoAndMarksDirty) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{MakeControl(4, 1)};
    cLayoutProbe::Adopt(layout, records);

    ASSERT_TRUE(layout.RescaleControls(9, 0.8f));
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
    EXPECT_FALSE(layout.IsDirty()) << "nothing changed: no step, not modified";
    EXPECT_EQ(layout.UndoText(), "");

    ASSERT_TRUE(layout.RescaleControls(1, 0.8f));
    ASSERT_TRUE(layout.RescaleControls(1, 0.8f));
    EXPECT_TRUE(layout.IsDirty());
    EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), 2) << "a second rescale joins the same run";
}

TEST(Rescale, RefusedBeforeAnythingChangesWhenACoordinateWouldLeaveTheRange) {
    struct Case {
        const char* why;
        ControlRecord record;
        float factor;
        const char* culprit; // the control the warning names
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"a right edge grown past the top", MakeControl(4, 3, 0, 0, 2000000000, 10), 1.25f,
         "control 2 "},
        {"a left edge grown past the bottom", MakeControl(4, 3, -2000000000, 0, 0, 10), 1.6f,
         "control 2 "},
        // A fractional product rounds outwards, past the top.
        {"an edge at the top rounded outwards", MakeControl(4, 3, 0, 0, 10, 2147483520), 1.0000001f,
         "control 2 "},
        {"a factor that is not a number", MakeControl(4, 3), nan, "control 1 "},
        {"an infinite factor", MakeControl(4, 3), infinity, "control 1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScriptedDialogs dialogs;
        cLayout layout(dialogs);
        const std::vector<ControlRecord> records{MakeControl(1, 3, 11, 11, 21, 21), c.record};
        cLayoutProbe::Adopt(layout, records);

        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.RescaleControls(3, c.factor));
        EXPECT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
        EXPECT_EQ(dialogs.Last().title, "");
        EXPECT_NE(dialogs.Last().prompt.find(c.culprit), std::string::npos)
            << dialogs.Last().prompt;
        EXPECT_EQ(cLayoutProbe::Records(layout), records) << "not even the first record moved";
        EXPECT_FALSE(layout.IsDirty());
        EXPECT_EQ(layout.UndoText(), "") << "a refusal records nothing";
    }
}

TEST(Rescale, ExtremeCoordinatesOnOtherScreensDoNotBlockOneScreen) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const ControlRecord far = MakeControl(4, 8, 0, 0, INT32_MAX, INT32_MAX);
    cLayoutProbe::Adopt(layout, {far, MakeControl(4, 2, 100, 100, 200, 200)});

    ASSERT_TRUE(layout.RescaleControls(2, 2.0f));
    EXPECT_EQ(cLayoutProbe::Records(layout)[0], far);
    EXPECT_EQ(cLayoutProbe::Records(layout)[1], MakeControl(4, 2, 200, 200, 400, 400));

    // The lowest coordinate maps onto itself with factor 1: an even product stays put.
    cLayoutProbe::Adopt(layout, {MakeControl(4, 2, INT32_MIN, INT32_MIN, 0, 0)});
    ASSERT_TRUE(layout.RescaleControls(2, 1.0f));
    EXPECT_EQ(cLayoutProbe::Records(layout)[0].rX1, INT32_MIN);
}

} // namespace
