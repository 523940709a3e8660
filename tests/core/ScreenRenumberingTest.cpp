// Renumbering through the screen map: controls follow their screen, and screen-change buttons
// follow the screen they show.

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

class ScreenRenumberingTest : public ::testing::Test {
protected:
    void Adopt(std::vector<ControlRecord> records) { cLayoutProbe::Adopt(layout, records); }
    const ControlRecord& Record(int position) const {
        return cLayoutProbe::Records(layout).at(static_cast<std::size_t>(position - 1));
    }
    int& Map(int s) { return cLayoutProbe::ScreenMap(layout).at(static_cast<std::size_t>(s)); }

    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
};

TEST_F(ScreenRenumberingTest, IdentityMapChangesNothing) {
    std::vector<ControlRecord> records;
    for (int s = 0; s < 16; ++s)
        records.push_back(MakeScreenButton(s, 15 - s, "b" + std::to_string(s)));
    Adopt(records);
    cLayoutProbe::ScreenMap(layout).fill(-1);
    cLayoutProbe::ResetScreenMap(layout);
    cLayoutProbe::ApplyScreenMap(layout);
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
}

TEST_F(ScreenRenumberingTest, SwappedEntriesMoveControlsAndRelinkButtons) {
    Adopt({MakeControl(1, 2), MakeControl(1, 3), MakeScreenButton(0, 3, "to three"),
           MakeScreenButton(9, 2, "to two"), MakeScreenButton(3, 20, "far"),
           MakeScreenButton(1, 15, "to fifteen"), MakeScreenButton(1, 5, "to five")});
    cLayoutProbe::ResetScreenMap(layout);
    std::swap(Map(2), Map(3));
    std::swap(Map(14), Map(15));
    cLayoutProbe::ApplyScreenMap(layout);

    EXPECT_EQ(Record(1).rScreen, 3);
    EXPECT_EQ(Record(2).rScreen, 2);
    EXPECT_EQ(Record(3).rOEMCode, 2);
    EXPECT_EQ(Record(3).rScreen, 0);
    EXPECT_EQ(Record(4).rOEMCode, 3);
    EXPECT_EQ(Record(5).rScreen, 2);
    EXPECT_EQ(Record(5).rOEMCode, 20) << "a target above 15 names no screen";
    EXPECT_EQ(Record(6).rOEMCode, 14) << "15 is still a screen of the layout";
    EXPECT_EQ(Record(7).rOEMCode, 5);
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(ScreenRenumberingTest, OnlyScreensZeroToFifteenAreLookedUp) {
    ControlRecord plainWithCode = MakeControl(4, 1);
    plainWithCode.rOEMCode = 2; // not a screen-change button: its code is no target
    Adopt({MakeControl(1, 20), MakeControl(1, -2), MakeScreenButton(2, -1, "negative"),
           MakeScreenButton(30, 2, "off screen"), plainWithCode});
    cLayoutProbe::ResetScreenMap(layout);
    for (int s = 0; s < 16; ++s)
        Map(s) = 15 - s;
    cLayoutProbe::ApplyScreenMap(layout);

    EXPECT_EQ(Record(1).rScreen, 20);
    EXPECT_EQ(Record(2).rScreen, -2);
    EXPECT_EQ(Record(3).rScreen, 13);
    EXPECT_EQ(Record(3).rOEMCode, -1);
    EXPECT_EQ(Record(4).rScreen, 30) << "stays off the screens";
    EXPECT_EQ(Record(4).rOEMCode, 13) << "but still shows the same screen content";
    EXPECT_EQ(Record(5).rScreen, 14);
    EXPECT_EQ(Record(5).rOEMCode, 2);
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(ScreenRenumberingTest, RecordsOfAScreenMappedAwayAreReportedAndKept) {
    std::vector<ControlRecord> records = ControlsOnScreens({2, 2, 2});
    records.push_back(MakeControl(1, 4));                  // 7th: on the screen mapped away
    records.push_back(MakeScreenButton(0, 4, "dangling")); // 8th: shows it
    records.push_back(MakeControl(1, 5));
    Adopt(records);
    cLayoutProbe::ResetScreenMap(layout);
    Map(4) = -1;
    Map(5) = 4;
    dialogs.Answer(MsgAnswer::OK, 2);
    cLayoutProbe::ApplyScreenMap(layout);

    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[0].prompt,
              "Internal code error remapping after change. Item index = 7");
    EXPECT_EQ(dialogs.Shown()[1].prompt,
              "Internal code error remapping after change. Item index = 8");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(dialogs.Last().title, "");
    EXPECT_EQ(Record(7), records[6]);
    EXPECT_EQ(Record(8), records[7]);
    EXPECT_EQ(Record(9).rScreen, 4) << "the pass goes on after a report";
}

} // namespace
