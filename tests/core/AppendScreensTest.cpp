// Appending a screen of the Additional layout onto the first empty screen of the Principal
// layout, and the report of what was copied.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/StepTexts.h"
#include "editing/AppendTarget.h"
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
    // Room for ten records on screens 0..14; the source screen of 200 controls holds two links.
    std::vector<int> counts(15, (MaxControls - 10) / 15);
    counts[0] += (MaxControls - 10) % 15;
    cLayoutProbe::Adopt(principal, ControlsOnScreens(counts));
    ASSERT_EQ(principal.ControlCount(), MaxControls - 10);
    std::vector<ControlRecord> source(200, MakeControl(6, 4));
    source[150] = MakeScreenButton(4, 2, "to two");
    source[199] = MakeScreenButton(4, 3, "to three");
    cLayoutProbe::Adopt(additional, source);

    dialogs.Answer(MsgAnswer::OK, 2);
    principal.AppendScreenFrom(additional, 4);

    EXPECT_EQ(principal.ControlCount(), MaxControls);
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

struct TargetCase {
    const char* name;
    std::vector<int> counts; // controls on the Principal's screens 0, 1, ...
    int source;
    int target;
};

TEST_F(AppendScreensTest, TheDefaultTargetAvoidsThePersistentScreen) {
    const TargetCase cases[] = {
        {"an empty screen 0 is kept for screen 0", {0, 5, 0, 3}, 5, 2},
        {"screen 0 goes onto an empty screen 0", {0, 5, 0, 3}, 0, 0},
        {"screen 0 goes elsewhere when screen 0 is in use", {4, 5, 0, 3}, 0, 2},
        {"the lowest empty screen from 1 up", {4, 0, 0}, 7, 1},
        {"screen 0 when no other screen is empty",
         {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
         9,
         0},
        {"none when every screen is in use", std::vector<int>(16, 1), 3, -1},
        {"no selection", {0, 5}, -1, 2},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        cLayoutProbe::Adopt(principal, ControlsOnScreens(c.counts));
        EXPECT_EQ(DefaultAppendTarget(principal, c.source), c.target);
        EXPECT_EQ(AppendTargetAsks(c.source, c.target), c.target == 0 && c.source != 0);
    }
    EXPECT_EQ(AppendToPersistentQuestion(5, "Diagnostics"),
              "Screen 0 is the Persistent screen: its controls show on every screen. Append screen "
              "5 \"Diagnostics\" there?");
    EXPECT_EQ(AppendToPersistentQuestion(12, ""),
              "Screen 0 is the Persistent screen: its controls show on every screen. Append screen "
              "12 there?");
}

TEST_F(AppendScreensTest, AChosenTargetTakesTheScreenAndARefusedOneChangesNothing) {
    cLayoutProbe::Adopt(principal, ControlsOnScreens({0, 2, 0, 1}));
    cLayoutProbe::Adopt(additional, {MakeControl(1, 6), MakeScreenButton(6, 2, "to two"),
                                     MakeControl(4, 6), MakeControl(4, 7)});
    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, 6, 9);
    ExpectReport("2 controls have been copied into Principal Layout screen 9\n\n"
                 "1 screen change buttons were deleted");
    ASSERT_EQ(principal.ControlCount(), 5);
    EXPECT_EQ(Records()[3].rScreen, 9);
    EXPECT_EQ(Records()[4].rScreen, 9);
    EXPECT_EQ(principalList.Selected, 10);
    EXPECT_EQ(principal.EmptyScreenNr(), 0) << "the Persistent screen stays empty";

    const std::vector<ControlRecord> before = Records();
    for (const auto& [target, warning] :
         {std::pair<int, std::string>{1, "Screen 1 of the Principal Layout holds controls: an "
                                         "append goes to an empty screen"},
          {16, "Screen 16 is not a screen of the Principal Layout to append to"},
          {-1, "Screen -1 is not a screen of the Principal Layout to append to"}}) {
        dialogs.Answer(MsgAnswer::OK);
        principal.AppendScreenFrom(additional, 7, target);
        EXPECT_EQ(dialogs.Last().prompt, warning);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(Records(), before);
    }
    EXPECT_EQ(cLayoutProbe::UndoRepeat(principal), 2) << "the refusals recorded nothing";
}

} // namespace
