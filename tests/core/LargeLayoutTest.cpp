// A layout of the most records a layout holds, shaped as real ones are: it loads, saves byte for
// byte, takes the screen commands and an append that fills it, and undoes them; one record more is
// a damaged file.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

// Screens 0..14 of a mill layout: each with its label, links to the others, buttons with Windows
// keys, scripts of "None" plus CR LF and now and then a long one, and its background picture late
// in record order; a few records lie on screen 50. Screen 15 is empty.
std::vector<ControlRecord> LargestLayout() {
    std::vector<ControlRecord> records;
    const int perScreen = MaxControls / 15;
    for (int32_t s = 0; s < 15; ++s) {
        records.push_back(MakeScreenLabel(s, "Screen " + std::to_string(s)));
        for (int i = 1; i < perScreen; ++i) {
            ControlRecord r =
                MakeControl(1 + i % 11, s, i % 900, i % 700, i % 900 + 60, i % 700 + 30);
            if (i % 50 == 0) r = MakeScreenButton(s, (s + i / 50) % 16, "Go", 0x800 + '1' + s % 9);
            if (i % 97 == 0) r.rType = ControlKind::BitmapButton;
            r.rText = i % 3 == 0 ? "None" : "Caption " + std::to_string(i);
            r.rGText = i % 500 == 0 ? std::string(1967, 'g') : "None\r\n";
            r.rBitMapPath = i % 7 == 0 ? "Newplasma\\Button.png" : "None";
            if (i == perScreen / 2) r = MakeControl(ControlKind::Bitmap, s, 0, 0, 1027, 729);
            records.push_back(r);
        }
    }
    while (records.size() < static_cast<std::size_t>(MaxControls))
        records.push_back(MakeScreenButton(50, 3, "Parked"));
    return records;
}

class LargeLayoutTest : public ::testing::Test {
protected:
    LargeLayoutTest() { principal.BindScreenList(list); }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout principal{dialogs};
    TempDir dir;
};

TEST_F(LargeLayoutTest, TheLargestLayoutLoadsSavesAndTakesEveryScreenCommand) {
    const std::vector<ControlRecord> records = LargestLayout();
    ASSERT_EQ(records.size(), static_cast<std::size_t>(MaxControls));
    const std::string bytes = LayoutFileBytes(records, {1, 2, 3, 4, 5, 6, 7, 8, 9, -1});
    ASSERT_TRUE(principal.LoadLayout(dir.Write("large.set", bytes)));
    EXPECT_EQ(cLayoutProbe::Records(principal), records);
    ASSERT_TRUE(principal.SaveLayout(dir.File("copy.set")));
    EXPECT_EQ(ReadBytes(dir.File("copy.set")), bytes);

    // A delete takes the screen's controls and the links to it, and renumbers the screens above.
    const int onThree = principal.Screens()[3].CtrlCount;
    int linksToThree = 0;
    for (const ControlRecord& r : records)
        linksToThree += r.rScreen != 3 && r.LinksToLayoutScreen() && r.rOEMCode == 3;
    principal.DeleteScreens(3);
    EXPECT_EQ(principal.ControlCount(), MaxControls - onThree - linksToThree);
    EXPECT_EQ(principal.Screens()[3].Label, "Screen 4");
    dialogs.Answer(MsgAnswer::Yes);
    principal.Undo();
    EXPECT_EQ(cLayoutProbe::Records(principal), records);

    // A move swaps two screens and every link to them.
    principal.PromoteScreens(9);
    EXPECT_EQ(principal.Screens()[8].Label, "Screen 9");
    EXPECT_EQ(principal.Screens()[9].Label, "Screen 8");
    EXPECT_EQ(principal.ControlCount(), MaxControls);
    dialogs.Answer(MsgAnswer::Yes);
    principal.Undo();
    EXPECT_EQ(cLayoutProbe::Records(principal), records);

    // After a delete makes room, an append fills the layout: one warning, and the report counts
    // what was left out.
    principal.DeleteScreens(14);
    const int room = MaxControls - principal.ControlCount();
    const std::vector<ControlRecord> afterDelete = cLayoutProbe::Records(principal);
    cLayout additional(dialogs);
    cLayoutProbe::Adopt(additional, ControlsOnScreens({0, 0, room + 25}));
    dialogs.Answer(MsgAnswer::OK, 2);
    principal.AppendScreenFrom(additional, 2);
    EXPECT_EQ(principal.ControlCount(), MaxControls);
    ASSERT_EQ(dialogs.Shown().size(), 4u) << "two undo questions, one warning, the report";
    EXPECT_EQ(dialogs.Shown()[2].prompt, "Error in AppendControl - Layout already full");
    EXPECT_EQ(dialogs.Last().prompt, std::to_string(room) +
                                         " controls have been copied into Principal Layout "
                                         "screen 14\n\n25 controls were not copied because the "
                                         "Principal Layout is full");
    EXPECT_EQ(principal.Screens()[14].CtrlCount, room);
    dialogs.Answer(MsgAnswer::Yes);
    principal.Undo();
    EXPECT_EQ(dialogs.Last().prompt, "Is it OK to undo Append screen(s) from Additional layout "
                                     "done " +
                                         std::to_string(room) + " times?");
    EXPECT_EQ(cLayoutProbe::Records(principal), afterDelete);
}

TEST_F(LargeLayoutTest, OneRecordMoreIsADamagedFile) {
    std::vector<ControlRecord> records = ControlsOnScreens({MaxControls});
    records.push_back(MakeControl(ControlKind::LED, 1));
    const std::string path = dir.Write("over.set", LayoutFileBytes(records));
    cLayoutProbe::Adopt(principal, ControlsOnScreens({3}), "before.set");
    const DocumentState before = cLayoutProbe::State(principal);

    dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(principal.LoadLayout(path));
    EXPECT_EQ(dialogs.Last().prompt,
              "Cannot read layout file \"" + path +
                  "\": its record count 32768 is outside 0 to 32767; a layout holds at most 32767 "
                  "records");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(cLayoutProbe::State(principal), before);
}

} // namespace
