// Re-captioning the function-key buttons and giving each the key of the screen it shows.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

const char* const CaptionTitle = "Update button caption & F-keys";

class ButtonCaptionsTest : public ::testing::Test {
protected:
    void SetUp() override { layout.BindScreenList(list); }
    const ControlRecord& Record(int position) const {
        return cLayoutProbe::Records(layout).at(static_cast<std::size_t>(position - 1));
    }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
};

TEST_F(ButtonCaptionsTest, PromptNamesTheOldKeyAndTheNewOne) {
    cLayoutProbe::Adopt(layout, {MakeControl(1, 3), MakeScreenButton(0, 3, "Tools", 117)});
    dialogs.Type("Tool page");
    layout.UpdateButtonCaptions();

    ASSERT_EQ(dialogs.Shown().size(), 1u);
    const ShownBox& box = dialogs.Last();
    EXPECT_TRUE(box.isInput);
    EXPECT_EQ(box.prompt, "New caption for button: Tools\n"
                          "Old Funtion key: 6\n"
                          "\n"
                          "Screen 3 will be selected by F3\n"
                          "\n"
                          "Set caption to:");
    EXPECT_EQ(box.title, CaptionTitle);
    EXPECT_EQ(box.proposed, "Tools");
    EXPECT_EQ(Record(2).rText, "Tool page");
    EXPECT_EQ(Record(2).rHotKey, 114);
    EXPECT_TRUE(layout.IsDirty());
    EXPECT_EQ(list.Rows[3], (std::vector<std::string>{"3", "1", "", "Tool page"}));
}

TEST_F(ButtonCaptionsTest, OnlyFunctionKeyButtonsOfScreensZeroToFourteenAreOffered) {
    ControlRecord notScreenChange = MakeControl(ControlKind::Button, 0);
    notScreenChange.rOEMCode = 2;
    notScreenChange.rHotKey = 113;
    const std::vector<ControlRecord> others{
        MakeScreenButton(0, 15, "fifteen", 112), MakeScreenButton(0, 4, "no key", 0),
        MakeScreenButton(0, 4, "below F1", 111), MakeScreenButton(0, 4, "above F15", 127),
        MakeScreenButton(0, -1, "nowhere", 113), notScreenChange};
    cLayoutProbe::Adopt(layout, others);
    dialogs.Answer(MsgAnswer::OK);
    layout.UpdateButtonCaptions();
    EXPECT_EQ(dialogs.Last().prompt, "No Function Key buttons in layout so nothing updated");
    EXPECT_FALSE(dialogs.Last().isInput);
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
    EXPECT_EQ(dialogs.Last().title, "");
    EXPECT_EQ(cLayoutProbe::Records(layout), others);
    EXPECT_FALSE(layout.IsDirty());
    EXPECT_EQ(layout.UndoText(), "") << "nothing changed, nothing recorded";

    // Screen 0 gets the code before F1, so it is not offered again.
    cLayoutProbe::Adopt(layout, {MakeScreenButton(1, 0, "Main", 126)});
    dialogs.Type("Main");
    layout.UpdateButtonCaptions();
    EXPECT_EQ(Record(1).rHotKey, 111);
    EXPECT_EQ(Record(1).rText, "Main");
    dialogs.Answer(MsgAnswer::OK);
    layout.UpdateButtonCaptions();
    EXPECT_EQ(dialogs.Last().prompt, "No Function Key buttons in layout so nothing updated");
}

TEST_F(ButtonCaptionsTest, CancelKeepsAndMarksTheEarlierButtonsAndUndoRevertsThem) {
    const std::vector<ControlRecord> before{
        MakeScreenButton(0, 1, "One", 112), MakeScreenButton(0, 2, "Two", 113),
        MakeScreenButton(0, 3, "Three", 120), MakeControl(1, 1)};
    cLayoutProbe::Adopt(layout, before);
    const int clears = list.Clears;
    dialogs.Type("First").Type("");
    layout.UpdateButtonCaptions();

    EXPECT_EQ(dialogs.Shown().size(), 2u) << "the third button is not offered";
    EXPECT_EQ(Record(1).rText, "First");
    EXPECT_EQ(Record(1).rHotKey, 112);
    EXPECT_EQ(Record(2), before[1]);
    EXPECT_EQ(Record(3), before[2]);
    EXPECT_TRUE(layout.IsDirty()) << "the kept caption must not be lost on closing";
    EXPECT_EQ(list.Clears, clears + 1);
    EXPECT_EQ(list.Rows[1][3], "First") << "the list shows the kept caption";

    dialogs.Answer(MsgAnswer::Yes);
    layout.Undo();
    EXPECT_EQ(cLayoutProbe::Records(layout), before);
}

TEST_F(ButtonCaptionsTest, CancelAtTheFirstButtonChangesNothing) {
    const std::vector<ControlRecord> before{MakeScreenButton(0, 1, "One", 118),
                                            MakeScreenButton(0, 2, "Two", 113)};
    cLayoutProbe::Adopt(layout, before);
    const int clears = list.Clears;
    dialogs.Type("");
    layout.UpdateButtonCaptions();

    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(cLayoutProbe::Records(layout), before);
    EXPECT_FALSE(layout.IsDirty());
    EXPECT_EQ(list.Clears, clears);
}

TEST_F(ButtonCaptionsTest, TwoRunsAreUndoneTogether) {
    const std::vector<ControlRecord> before{MakeScreenButton(0, 5, "Five", 118),
                                            MakeScreenButton(0, 2, "Two", 115)};
    cLayoutProbe::Adopt(layout, before);
    dialogs.Type("5a").Type("2a").Type("5b").Type("2b");
    layout.UpdateButtonCaptions();
    layout.UpdateButtonCaptions();
    EXPECT_EQ(Record(1).rText, "5b");
    EXPECT_EQ(Record(2).rHotKey, 113);

    dialogs.Answer(MsgAnswer::Yes);
    layout.Undo();
    EXPECT_EQ(dialogs.Last().prompt, "Is it OK to undo Re-caption buttons done 2 times?");
    EXPECT_EQ(cLayoutProbe::Records(layout), before);
}

} // namespace
