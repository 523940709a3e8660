// The screen index built from the records, and the screen list that shows it.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

const std::string Mark(1, ScreenLabelMark);

class ScreenIndexTest : public ::testing::Test {
protected:
    const ScreenEntry& Screen(int s) const { return cLayoutProbe::Screen(layout, s); }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
};

TEST_F(ScreenIndexTest, DuplicateLabelsReportedOnLoadTheFirstNamesTheScreenAlways) {
    std::vector<ControlRecord> records{MakeScreenLabel(5, "Setup"), MakeControl(1, 5),
                                       MakeScreenLabel(5, "Setup2"), MakeScreenLabel(3, "Tools"),
                                       MakeScreenLabel(3, "Tools2")};
    dialogs.Answer(MsgAnswer::OK, 2);
    cLayoutProbe::Adopt(layout, records);
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[0].prompt,
              "Screen #5 (Setup) has duplicate label: " + Mark + "Setup2");
    EXPECT_EQ(dialogs.Shown()[1].prompt,
              "Screen #3 (Tools) has duplicate label: " + Mark + "Tools2");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(dialogs.Last().title, "");
    EXPECT_EQ(Screen(5).Label, "Setup");
    EXPECT_EQ(Screen(3).Label, "Tools");

    cLayoutProbe::BuildScreenIndex(layout, false);
    EXPECT_EQ(dialogs.Shown().size(), 2u) << "no message with reporting off";
    EXPECT_EQ(Screen(5).Label, "Setup");
    EXPECT_EQ(Screen(3).Label, "Tools");
}

TEST_F(ScreenIndexTest, WhichLabelsNameTheirScreen) {
    ControlRecord blankFirst = MakeControl(ControlKind::Label, 2);
    blankFirst.rLabel = " " + Mark + "NotAName";
    ControlRecord otherKind = MakeControl(ControlKind::Button, 4);
    otherKind.rLabel = Mark + "Button";
    cLayoutProbe::Adopt(
        layout, {MakeScreenLabel(1, ""), MakeScreenLabel(1, "Second"), blankFirst, otherKind});
    EXPECT_TRUE(dialogs.Shown().empty()) << "an empty label counts as no label";
    EXPECT_EQ(Screen(1).Label, "Second");
    EXPECT_EQ(Screen(2).Label, "");
    EXPECT_EQ(Screen(4).Label, "");

    cLayoutProbe::Adopt(layout, {MakeScreenLabel(6, "")});
    EXPECT_EQ(Screen(6).Label, "");
    EXPECT_EQ(Screen(6).CtrlCount, 1);
}

TEST_F(ScreenIndexTest, ShownByRemembersTheFirstTwoButtonsOfScreensZeroToFifteen) {
    cLayoutProbe::Adopt(layout, {
                                    MakeScreenButton(0, 4, "First"),
                                    MakeScreenButton(1, 4, "Second"),
                                    MakeScreenButton(2, 4, "Third"),
                                    MakeScreenButton(7, 7, "Itself"),
                                    MakeScreenButton(0, 15, "Last"),
                                    MakeScreenButton(0, 16, "Beyond"),
                                    MakeScreenButton(0, 200, "Far"),
                                    MakeScreenButton(0, -1, "Negative"),
                                });
    EXPECT_EQ(Screen(4).ShownByCount, 2);
    EXPECT_EQ(Screen(4).ShownBy[0], "First");
    EXPECT_EQ(Screen(4).ShownBy[1], "Second");
    EXPECT_EQ(Screen(7).CtrlCount, 1);
    EXPECT_EQ(Screen(7).ShownByCount, 1);
    EXPECT_EQ(Screen(7).ShownBy[0], "Itself");
    EXPECT_EQ(Screen(15).ShownBy[0], "Last");
    EXPECT_EQ(Screen(0).CtrlCount, 5);
    EXPECT_EQ(Screen(0).ShownByCount, 0);
    for (int s : {1, 2, 3, 5, 6, 8, 9, 10, 11, 12, 13, 14})
        EXPECT_EQ(Screen(s).ShownByCount, 0);
}

TEST_F(ScreenIndexTest, RecordsOnScreensOutsideTheTablePassWithoutAMessage) {
    ControlRecord odd = MakeScreenLabel(16, "High");
    ControlRecord negative = MakeScreenButton(-3, 2, "Hidden");
    ControlRecord strangeKind = MakeControl(42, 1);
    cLayoutProbe::Adopt(layout, {odd, negative, strangeKind, MakeScreenButton(20, 1, "Far away")});
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(Screen(1).CtrlCount, 1) << "a record of an unknown kind still lies on its screen";
    EXPECT_EQ(Screen(1).ShownByCount, 0);
    EXPECT_EQ(Screen(2).ShownByCount, 0);
    EXPECT_EQ(layout.ControlCount(), 4);
    EXPECT_EQ(layout.EmptyScreenNr(), 0);
}

TEST_F(ScreenIndexTest, ScreensBeyondTheHostsSixteenAreIndexedAsTheyAre) {
    std::vector<ControlRecord> records{MakeScreenButton(1, 21, "To 21"),
                                       MakeScreenLabel(21, "Far"),
                                       MakeControl(ControlKind::Button, 21),
                                       MakeScreenButton(21, 81, "To 81"),
                                       MakeControl(ControlKind::Bitmap, 81),
                                       MakeScreenLabel(81, "Farther"),
                                       MakeScreenButton(-3, 21, "Hidden"),
                                       MakeControl(ControlKind::Button, 15)};
    cLayoutProbe::Adopt(layout, records);
    const auto beyond = layout.ScreensBeyond();
    ASSERT_EQ(beyond.size(), 2u);
    EXPECT_EQ(beyond[0].first, 21);
    EXPECT_EQ(beyond[0].second.Label, "Far");
    EXPECT_EQ(beyond[0].second.CtrlCount, 3);
    EXPECT_EQ(beyond[0].second.ShownByCount, 2);
    EXPECT_EQ(beyond[0].second.ShownBy[0], "To 21");
    EXPECT_EQ(beyond[1].first, 81);
    EXPECT_EQ(beyond[1].second.Label, "Farther");
    EXPECT_EQ(beyond[1].second.CtrlCount, 2);
    EXPECT_EQ(Screen(15).CtrlCount, 1);
}

TEST_F(ScreenIndexTest, EmptyScreenNrIsTheLowestEmptyScreen) {
    EXPECT_EQ(layout.EmptyScreenNr(), 0) << "a new document";
    std::vector<int> counts(16, 1);
    counts[9] = 0;
    counts[12] = 0;
    cLayoutProbe::Adopt(layout, ControlsOnScreens(counts));
    EXPECT_EQ(layout.EmptyScreenNr(), 9);
    cLayoutProbe::Adopt(layout, ControlsOnScreens(std::vector<int>(16, 2)));
    EXPECT_EQ(layout.EmptyScreenNr(), -1);
    cLayoutProbe::ClearScreenIndex(layout);
    EXPECT_EQ(layout.EmptyScreenNr(), 0);
}

TEST_F(ScreenIndexTest, BindingAddsTheFiveHeadingsAndNoRows) {
    layout.BindScreenList(list);
    const std::vector<std::pair<std::string, int>> expected{{"S#", 400},
                                                            {"Ctrls.", 700},
                                                            {"Screen label ", 2345},
                                                            {"Shown by", 2345},
                                                            {" also Shown by", 2345}};
    EXPECT_EQ(list.Columns, expected);
    EXPECT_TRUE(list.Rows.empty());

    FakeListView narrow(3000);
    cLayout other(dialogs);
    other.BindScreenList(narrow);
    EXPECT_EQ(narrow.Columns[2].second, 500);
    EXPECT_EQ(narrow.Columns[4].second, 500);
}

TEST_F(ScreenIndexTest, ListShowsSixteenRowsWithTheirCells) {
    layout.BindScreenList(list);
    std::vector<ControlRecord> records = ControlsOnScreens({11, 2});
    records.push_back(MakeScreenLabel(0, "Main"));
    records.push_back(MakeScreenButton(1, 0, "Go main"));
    records.push_back(MakeScreenButton(0, 1, "Go jog"));
    records.push_back(MakeScreenButton(0, 1, "Jog again"));
    records.push_back(MakeScreenButton(0, 5, "To empty screen"));
    cLayoutProbe::Adopt(layout, records);

    ASSERT_EQ(list.Rows.size(), 16u);
    EXPECT_EQ(list.Rows[0], (std::vector<std::string>{"0", "15", "Main", "Go main"}));
    EXPECT_EQ(list.Rows[1], (std::vector<std::string>{"1", "3", "", "Go jog", "Jog again"}));
    for (int s = 2; s < 16; ++s)
        EXPECT_EQ(list.Rows[static_cast<std::size_t>(s)],
                  (std::vector<std::string>{std::to_string(s), "0"}))
            << "an empty screen shows neither label nor buttons";
}

} // namespace
