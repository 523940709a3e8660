// Undo of the screen commands: runs of one kind, the question they ask, and what a confirmed undo
// puts back. (The history as a whole has a model test.)

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

class UndoJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        layout.BindScreenList(list);
        cLayoutProbe::Adopt(layout, original);
    }
    const std::vector<ControlRecord>& Records() const { return cLayoutProbe::Records(layout); }
    // Answers the undo question and checks it was asked as the journal must ask it.
    void UndoAnswering(MsgAnswer answer, const std::string& kindText, int times) {
        dialogs.Answer(answer);
        layout.Undo();
        EXPECT_EQ(dialogs.Last().prompt,
                  "Is it OK to undo " + kindText + " done " + std::to_string(times) + " times?");
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::YesNo);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Question);
        EXPECT_EQ(dialogs.Last().title, "OK to Undo?");
    }
    void ExpectNothingToUndo() {
        dialogs.Answer(MsgAnswer::OK);
        layout.Undo();
        EXPECT_EQ(dialogs.Last().prompt, "Nothing available to undo");
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
        EXPECT_EQ(dialogs.Last().title, "");
    }

    const std::vector<ControlRecord> original = [] {
        std::vector<ControlRecord> records = ControlsOnScreens({2, 3, 1, 4, 2, 1});
        records.push_back(MakeScreenButton(0, 4, "to four"));
        return records;
    }();
    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
};

TEST_F(UndoJournalTest, NothingToUndoAfterALoad) {
    ExpectNothingToUndo();
    EXPECT_EQ(Records(), original);
}

TEST_F(UndoJournalTest, TwoDeletesAreOneRunUndoneAtOnce) {
    const std::vector<std::vector<std::string>> rowsBefore = list.Rows;
    layout.DeleteScreens(2);
    layout.DeleteScreens(2);
    ASSERT_EQ(layout.ControlCount(), static_cast<int>(original.size()) - 5);

    UndoAnswering(MsgAnswer::Yes, "Delete screen(s)", 2);
    EXPECT_EQ(Records(), original);
    EXPECT_EQ(list.Rows, rowsBefore) << "index and list rebuilt from the restored records";
    EXPECT_EQ(list.Selected, 0) << "undo selects no row";
    EXPECT_FALSE(layout.IsDirty()) << "back to the records as they were loaded";
    ExpectNothingToUndo();
}

TEST_F(UndoJournalTest, ADifferentKindStartsANewRun) {
    layout.PromoteScreens(3);
    const std::vector<ControlRecord> afterPromote = Records();
    layout.DemoteScreens(4);
    UndoAnswering(MsgAnswer::Yes, "Demote screen(s) Down List", 1);
    EXPECT_EQ(Records(), afterPromote);
}

TEST_F(UndoJournalTest, AnsweringNoKeepsEverything) {
    layout.DeleteScreens(1);
    const std::vector<ControlRecord> afterDelete = Records();
    UndoAnswering(MsgAnswer::No, "Delete screen(s)", 1);
    EXPECT_EQ(Records(), afterDelete);
    EXPECT_TRUE(layout.IsDirty());
    UndoAnswering(MsgAnswer::No, "Delete screen(s)", 1);
    UndoAnswering(MsgAnswer::Yes, "Delete screen(s)", 1);
    EXPECT_EQ(Records(), original);
}

TEST_F(UndoJournalTest, AppendedControlsAreCountedOneByOne) {
    cLayout additional(dialogs);
    std::vector<int> counts(12, 0);
    counts[10] = 12;
    counts[11] = 8;
    cLayoutProbe::Adopt(additional, ControlsOnScreens(counts));
    dialogs.Answer(MsgAnswer::OK, 2);
    layout.AppendScreenFrom(additional, 10);
    layout.AppendScreenFrom(additional, 11);
    ASSERT_EQ(layout.ControlCount(), static_cast<int>(original.size()) + 20);

    UndoAnswering(MsgAnswer::Yes, "Append screen(s) from Additional layout", 20);
    EXPECT_EQ(Records(), original);
}

TEST_F(UndoJournalTest, UndoAfterSaveMakesTheLayoutModified) {
    TempDir dir;
    layout.DeleteScreens(3);
    ASSERT_TRUE(layout.SaveLayout(dir.File("saved.set")));
    EXPECT_FALSE(layout.IsDirty());
    UndoAnswering(MsgAnswer::Yes, "Delete screen(s)", 1);
    EXPECT_EQ(Records(), original);
    EXPECT_TRUE(layout.IsDirty()) << "the file still holds the delete";
    layout.Redo();
    EXPECT_FALSE(layout.IsDirty()) << "back where it was saved";
}

} // namespace
