// Damaged and unreadable layout files are refused with a warning that names the file and the
// fault, and leave a loaded document exactly as it was.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "FileSystemFaults.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/LayoutFile.h"
#include "layout/cLayout.h"

namespace {

class LayoutLoadFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        layout.BindScreenList(list);
        std::vector<ControlRecord> records = ControlsOnScreens({2, 1});
        records.push_back(MakeScreenLabel(1, "Jog"));
        original = dir.Write("good.set", LayoutFileBytes(records, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
        ASSERT_TRUE(layout.LoadLayout(original));
        layout.AppendControl(MakeControl(ControlKind::LED, 4)); // something to undo
        layout.SetIsDirty(true);
    }

    // The document and what its list shows.
    std::pair<DocumentState, std::vector<std::vector<std::string>>> State() const {
        return {cLayoutProbe::State(layout), list.Rows};
    }

    // Loads the file, expects one warning naming it and containing the fault, and no change.
    void ExpectRefused(const std::string& path, const std::string& fault) {
        const auto before = State();
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.LoadLayout(path));
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        const ShownBox& box = dialogs.Last();
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
        EXPECT_EQ(box.buttons, MsgButtons::OK);
        EXPECT_NE(box.prompt.find("\"" + path + "\""), std::string::npos) << box.prompt;
        EXPECT_NE(box.prompt.find(fault), std::string::npos) << box.prompt;
        EXPECT_TRUE(State() == before) << "the document changed on a refused load";
    }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
    TempDir dir;
    std::string original;
};

TEST_F(LayoutLoadFailureTest, TruncatedFilesAreRefusedWhereTheyEnd) {
    // Two records with every kind of field, the second with a long-prefixed text.
    ControlRecord second = MakeFullRecord(2);
    second.rLabel = std::string(300, 'L');
    const std::string file = LayoutFileBytes({MakeFullRecord(1), second});

    std::string one;
    WriteControl(one, MakeFullRecord(1));
    const std::size_t record1End = 4 + one.size();
    const std::size_t trailerStart = file.size() - 40;

    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        std::string where;
        if (cut < 4)
            where = "inside the record count";
        else if (cut < record1End)
            where = "inside record 1,";
        else if (cut < trailerStart)
            where = "inside record 2,";
        else
            where = "inside the trailer";
        const std::string path = dir.Write("cut.set", file.substr(0, cut));
        SCOPED_TRACE("cut at " + std::to_string(cut));
        ExpectRefused(path, "ends " + where);
        ExpectRefused(path, "at byte " + std::to_string(cut));
    }
}

TEST_F(LayoutLoadFailureTest, RecordCountOutsideTheStoreIsRefused) {
    ExpectRefused(dir.Write("neg.set", HexBytes("FF FF FF FF") + std::string(40, '\0')),
                  "record count -1 is outside 0 to 32767");
    ExpectRefused(dir.Write("big.set", HexBytes("00 80 00 00") + std::string(40, '\0')),
                  "record count 32768 is outside 0 to 32767; a layout holds at most 32767 records");
    ExpectRefused(dir.Write("huge.set", HexBytes("FF FF FF 7F") + std::string(40, '\0')),
                  "record count 2147483647 is outside 0 to 32767");
}

TEST_F(LayoutLoadFailureTest, TextLongerThanTheHostCanHoldIsRefused) {
    std::string file = LayoutFileBytes({MakeControl(1, 0)});
    // Replace the empty rGText prefix (after rFunction, rType, rScreen and rText "ctl").
    const std::size_t at = 4 + 12 + 4;
    ASSERT_EQ(file[at], '\0');
    file.replace(at, 1, HexBytes("FF 00 90") + std::string(0x9000, 'x'));
    ExpectRefused(dir.Write("long.set", file), "record 1 holds a text of 36864 characters");
}

TEST_F(LayoutLoadFailureTest, MissingFileAndFolderAreRefused) {
    ExpectRefused(dir.File("absent.set"), MissingFileReason());
    ExpectRefused(dir.File("no/such/folder.set"), MissingFolderReason());
    ExpectRefused(dir.Path(), FolderReason());
}

TEST_F(LayoutLoadFailureTest, SaveThatCannotWriteKeepsTheOldFileAndTheDirtyFlag) {
    const std::string before = ReadBytes(original);
    for (const std::string& target : {dir.Path(), dir.File("no/such/folder.set")}) {
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.SaveLayout(target)) << target;
        EXPECT_NE(dialogs.Last().prompt.find("Cannot save layout file \"" + target + "\""),
                  std::string::npos)
            << dialogs.Last().prompt;
        EXPECT_TRUE(layout.IsDirty());
    }
    EXPECT_EQ(ReadBytes(original), before);
}

TEST_F(LayoutLoadFailureTest, SaveKeepsThePermissionsOfTheFileItReplaces) {
    ASSERT_TRUE(SetDistinctProperty(original));
    ASSERT_TRUE(layout.SaveLayout(original));
    EXPECT_TRUE(HasDistinctProperty(original));
    EXPECT_FALSE(layout.IsDirty());
}

} // namespace
