// Appending a screen of the Additional layout onto the first empty screen of the Principal
// layout, and the report of what was copied.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "editing/StepTexts.h"
#include "layout/cLayout.h"

namespace {

class AppendScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        principal.BindScreenList(principalList);
        additional.BindScreenList(additionalList);
    }
    const std::vector<ControlRecord>& Records() const { return cLayoutProbe::Records(principal); }
    void ExpectReport(const std::string& text) {
        EXPECT_EQ(dialogs.Last().prompt, text);
        EXPECT_EQ(dialogs.Last().title, "Success!");
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    }

    ScriptedDialogs dialogs;
    FakeListView principalList, additionalList;
    cLayout principal{dialogs};
    cLayout additional{dialogs};
};

TEST_F(AppendScreensTest, CopiesTheScreenInOrderAndDropsItsScreenLinks) {
    cLayoutProbe::Adopt(principal, ControlsOnScreens({3, 1, 1, 2, 4}));
    std::vector<ControlRecord> source = ControlsOnScreens({2});
    std::vector<ControlRecord> screen2;
    for (int i = 0; i < 25; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = 2;
        if (i == 4) r = MakeScreenButton(2, 3, "to three");
        if (i == 17) r = MakeScreenButton(2, 9, "to nine");
        source.push_back(r);
        if (i != 4 && i != 17) screen2.push_back(r);
    }
    source.push_back(MakeControl(1, 3));
    cLayoutProbe::Adopt(additional, source);
    const std::vector<ControlRecord> principalBefore = Records();

    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, 2);

    ExpectReport("23 controls have been copied into Principal Layout screen 5\n\n"
                 "2 screen change buttons were deleted");
    ASSERT_EQ(principal.ControlCount(), 11 + 23);
    EXPECT_TRUE(std::equal(principalBefore.begin(), principalBefore.end(), Records().begin()));
    for (std::size_t i = 0; i < screen2.size(); ++i) {
        ControlRecord expected = screen2[i];
        expected.rScreen = 5;
        EXPECT_EQ(Records()[11 + i], expected) << "appended control " << i;
    }
    EXPECT_EQ(cLayoutProbe::Records(additional), source) << "the source is never changed";
    EXPECT_TRUE(principal.IsDirty());
    EXPECT_EQ(principalList.Selected, 6);
    EXPECT_EQ(principalList.Rows[5][1], "23");
    EXPECT_EQ(principal.UndoText(), StepText::Append);
    EXPECT_EQ(cLayoutProbe::UndoRepeat(principal), 23);
}

TEST_F(AppendScreensTest, LinksThatNameNoScreenTravelAndScreenZeroIsFilledFirst) {
    cLayoutProbe::Adopt(principal, ControlsOnScreens({0, 2, 0, 1}));
    cLayoutProbe::Adopt(additional,
                        {MakeScreenButton(7, 16, "beyond"), MakeScreenButton(7, -1, "nowhere"),
                         MakeScreenButton(7, 15, "to fifteen"), MakeControl(1, 6)});
    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, 7);

    ExpectReport("2 controls have been copied into Principal Layout screen 0\n\n"
                 "1 screen change buttons were deleted");
    ASSERT_EQ(principal.ControlCount(), 5);
    EXPECT_EQ(Records()[3].rOEMCode, 16);
    EXPECT_EQ(Records()[4].rOEMCode, -1);
    EXPECT_EQ(Records()[3].rScreen, 0);
    EXPECT_EQ(principal.EmptyScreenNr(), 2) << "the next append goes to the next empty screen";
    EXPECT_EQ(principalList.Selected, 1);
}

TEST_F(AppendScreensTest, AFillingLayoutWarnsOnceAndTheReportCountsTheRest) {
    // 1990 records on screens 0..14; the source screen of 200 controls holds two links.
    std::vector<int> counts(15, 132);
    counts[0] += 10;
    cLayoutProbe::Adopt(principal, ControlsOnScreens(counts));
    ASSERT_EQ(principal.ControlCount(), 1990);
    std::vector<ControlRecord> source(200, MakeControl(6, 4));
    source[150] = MakeScreenButton(4, 2, "to two");
    source[199] = MakeScreenButton(4, 3, "to three");
    cLayoutProbe::Adopt(additional, source);

    dialogs.Answer(MsgAnswer::OK, 2);
    principal.AppendScreenFrom(additional, 4);

    EXPECT_EQ(principal.ControlCount(), 2000);
    ASSERT_EQ(dialogs.Shown().size(), 2u) << "one warning, then the report";
    EXPECT_EQ(dialogs.Shown()[0].prompt, "Error in AppendControl - Layout already full");
    EXPECT_EQ(dialogs.Shown()[0].icon, MsgIcon::Exclamation);
    ExpectReport("10 controls have been copied into Principal Layout screen 15\n\n"
                 "2 screen change buttons were deleted\n\n"
                 "188 controls were not copied because the Principal Layout is full");
    EXPECT_EQ(cLayoutProbe::UndoRepeat(principal), 10);
    EXPECT_TRUE(principal.IsDirty());

    // On its own, each refused append still warns.
    dialogs.ClearShown();
    dialogs.Answer(MsgAnswer::OK, 2);
    principal.AppendControl(MakeControl(1, 15));
    principal.AppendControl(MakeControl(1, 15));
    EXPECT_EQ(dialogs.Prompts(), std::vector<std::string>(2, "Error in AppendControl - Layout "
                                                             "already full"));
}

TEST_F(AppendScreensTest, NoEmptyScreenIsRefusedWithoutAChange) {
    const std::vector<ControlRecord> before = ControlsOnScreens(std::vector<int>(16, 1));
    cLayoutProbe::Adopt(principal, before);
    cLayoutProbe::Adopt(additional, ControlsOnScreens({4}));
    const int clears = principalList.Clears;

    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, 0);

    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().prompt, "The Principal Layout has no empty screen to append to");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(principal.IsDirty());
    EXPECT_EQ(principal.UndoText(), "");
    EXPECT_EQ(principalList.Clears, clears);
}

TEST_F(AppendScreensTest, NoSelectionCopiesNothingEvenFromRecordsOffTheScreens) {
    cLayoutProbe::Adopt(principal, ControlsOnScreens({1}));
    cLayoutProbe::Adopt(additional, {MakeControl(1, -1), MakeControl(1, 0)});
    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, -1);

    ExpectReport("0 controls have been copied into Principal Layout screen 1");
    EXPECT_EQ(principal.ControlCount(), 1);
    EXPECT_EQ(principal.UndoText(), "") << "nothing appended, nothing to undo";
    EXPECT_FALSE(principal.IsDirty()) << "nothing changed, so nothing to save";
    EXPECT_EQ(principalList.Selected, 2);
}

} // namespace
