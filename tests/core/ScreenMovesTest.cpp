// Deleting, promoting and demoting screens: the refusals, the Persistent-screen question, the
// records afterwards and the list row selected.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/StepTexts.h"
#include "layout/cLayout.h"

namespace {

class ScreenMovesTest : public ::testing::Test {
protected:
    void SetUp() override { layout.BindScreenList(list); }
    void Adopt(std::vector<ControlRecord> records) { cLayoutProbe::Adopt(layout, records); }
    const std::vector<ControlRecord>& Records() const { return cLayoutProbe::Records(layout); }
    std::vector<int> ScreensOfRecords() const {
        std::vector<int> screens;
        for (const ControlRecord& r : Records())
            screens.push_back(r.rScreen);
        return screens;
    }
    void ExpectUndo(const std::string& step, int repeat) const {
        EXPECT_EQ(layout.UndoText(), step);
        EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), repeat);
    }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
};

// Every record tagged with its old position in rColor, so order and identity can be followed.
std::vector<ControlRecord> Tagged(std::vector<ControlRecord> records) {
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].rColor = static_cast<int32_t>(i + 1);
    return records;
}

TEST_F(ScreenMovesTest, DeleteRemovesTheScreenAndTheButtonsThatShowIt) {
    const std::vector<ControlRecord> before =
        Tagged({MakeControl(1, 0), MakeScreenButton(1, 9, "to nine"), MakeControl(1, 3),
                MakeScreenButton(7, 3, "to three"), MakeScreenButton(2, 2, "to two"),
                MakeControl(1, 4), MakeScreenButton(0, 20, "far"), MakeControl(1, 3),
                MakeControl(1, 9), MakeScreenButton(15, 15, "to fifteen"), MakeControl(1, 7)});
    Adopt(before);
    list.SelectRow(8);
    layout.DeleteScreens(3);

    std::vector<int> tags;
    for (const ControlRecord& r : Records())
        tags.push_back(r.rColor);
    EXPECT_EQ(tags, (std::vector<int>{1, 2, 5, 6, 7, 9, 10, 11})) << "relative order kept";
    EXPECT_EQ(layout.ControlCount(), static_cast<int>(before.size()) - 3);
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{0, 1, 2, 3, 0, 8, 14, 6}));
    EXPECT_EQ(Records()[1].rOEMCode, 8) << "the button on screen 1 follows screen 9 down";
    EXPECT_EQ(Records()[2].rOEMCode, 2) << "a target below the deleted screen is untouched";
    EXPECT_EQ(Records()[4].rOEMCode, 20);
    EXPECT_EQ(Records()[6].rOEMCode, 14);

    EXPECT_TRUE(dialogs.Shown().empty()) << "no confirmation before a delete";
    EXPECT_TRUE(layout.IsDirty());
    ExpectUndo(StepText::Delete, 1);
    EXPECT_EQ(list.Selected, 1);
    ASSERT_EQ(list.Rows.size(), 16u);
    EXPECT_EQ(list.Rows[3][1], "1") << "the list shows the new numbering";
    EXPECT_EQ(list.Rows[15], (std::vector<std::string>{"15", "0"}));
}

TEST_F(ScreenMovesTest, DeleteOfTheLastOrAnEmptyScreen) {
    Adopt({MakeControl(1, 14), MakeControl(1, 15), MakeScreenButton(3, 15, "to fifteen"),
           MakeScreenButton(3, 14, "to fourteen")});
    layout.DeleteScreens(15);
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{14, 3}));
    EXPECT_EQ(Records()[1].rOEMCode, 14) << "no other screen changes number";

    Adopt({MakeControl(1, 2), MakeControl(1, 6), MakeScreenButton(2, 4, "to empty"),
           MakeScreenButton(2, 6, "to six")});
    layout.DeleteScreens(4);
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{2, 5, 2}));
    EXPECT_EQ(Records()[2].rOEMCode, 5);
}

struct Refusal {
    void (cLayout::*command)(int);
    int screen;
    const char* warning;
};

TEST_F(ScreenMovesTest, RefusalsWarnAndChangeNothing) {
    const Refusal refusals[] = {
        {&cLayout::DeleteScreens, 0, "You may not delete the Persistent screen"},
        {&cLayout::DeleteScreens, -1, "Nothing selected to Delete"},
        {&cLayout::DeleteScreens, 16, "Call to Delete with invalid screen group: = 16"},
        {&cLayout::PromoteScreens, -1, "Nothing selected to Promote"},
        {&cLayout::PromoteScreens, 0, "You cannot Promote the Persistent screen"},
        {&cLayout::PromoteScreens, 40, "Call to Promote with invalid screen group: = 40"},
        {&cLayout::DemoteScreens, -3, "Nothing selected to Demote"},
        {&cLayout::DemoteScreens, 15, "You cannot Promote the screen 15"},
        {&cLayout::DemoteScreens, 16, "Call to Demote with invalid screen group: = 16"},
    };
    const std::vector<ControlRecord> before = ControlsOnScreens(std::vector<int>(16, 1));
    Adopt(before);
    const int clears = list.Clears;
    for (const Refusal& refusal : refusals) {
        dialogs.Answer(MsgAnswer::OK);
        (layout.*refusal.command)(refusal.screen);
        EXPECT_EQ(dialogs.Last().prompt, refusal.warning);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
        EXPECT_EQ(dialogs.Last().title, "");
    }
    EXPECT_EQ(dialogs.Shown().size(), std::size(refusals));
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(layout.IsDirty());
    ExpectUndo("", 0);
    EXPECT_EQ(list.Clears, clears);
}

TEST_F(ScreenMovesTest, ReplacingThePersistentScreenIsAskedFirst) {
    const std::vector<ControlRecord> before{MakeControl(1, 0), MakeControl(2, 1),
                                            MakeScreenButton(1, 0, "to persistent")};
    Adopt(before);
    for (void (cLayout::*command)(int) : {&cLayout::PromoteScreens, &cLayout::DemoteScreens}) {
        dialogs.Answer(MsgAnswer::Cancel);
        (layout.*command)(command == &cLayout::PromoteScreens ? 1 : 0);
        EXPECT_EQ(dialogs.Last().prompt, "You are going to replace the Persistent screen. OK?");
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OKCancel);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Question);
        EXPECT_EQ(dialogs.Last().title, "");
        EXPECT_EQ(Records(), before);
        EXPECT_FALSE(layout.IsDirty());
        ExpectUndo("", 0);
    }

    dialogs.Answer(MsgAnswer::OK);
    layout.PromoteScreens(1);
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(Records()[2].rOEMCode, 1) << "the button still shows the old Persistent screen";
    EXPECT_EQ(list.Selected, 1);
    ExpectUndo(StepText::Promote, 1);

    dialogs.Answer(MsgAnswer::OK);
    layout.DemoteScreens(0);
    EXPECT_EQ(Records(), before);
    EXPECT_EQ(list.Selected, 2);
    ExpectUndo(StepText::Demote, 1);
    EXPECT_TRUE(layout.IsDirty());
}

TEST_F(ScreenMovesTest, PressingAgainMovesTheSameScreenFurther) {
    Adopt({MakeControl(1, 3), MakeControl(1, 4), MakeControl(1, 5), MakeControl(1, 5),
           MakeScreenButton(0, 5, "to five"), MakeScreenButton(0, 3, "to three")});
    layout.PromoteScreens(5);
    EXPECT_EQ(list.Selected, 5);
    layout.PromoteScreens(std::stoi(list.SelectedText()));
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{4, 5, 3, 3, 0, 0}));
    EXPECT_EQ(Records()[4].rOEMCode, 3);
    EXPECT_EQ(Records()[5].rOEMCode, 4);
    EXPECT_EQ(list.Selected, 4);
    ExpectUndo(StepText::Promote, 2);
    EXPECT_EQ(list.Rows[3][1], "2");

    layout.DemoteScreens(3);
    layout.DemoteScreens(4);
    EXPECT_EQ(ScreensOfRecords(), (std::vector<int>{3, 4, 5, 5, 0, 0}));
    EXPECT_EQ(list.Selected, 6);
    ExpectUndo(StepText::Demote, 2);
}

} // namespace
