// A save that replaces a layout file keeps the old content as NAME.bak beside it; a backup that
// cannot be written stops the save, and a save that fails later leaves the backup as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/FileBackup.h"
#include "layout/cLayout.h"

#ifndef _WIN32
#include "FileSizeLimit.h"
#endif

namespace {

class LayoutBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        cLayoutProbe::Adopt(layout, ControlsOnScreens({4, 2}), "edited.set");
        layout.SetIsDirty(true);
        path = dir.Write("mill.set", LayoutFileBytes(ControlsOnScreens({1})));
        oldBytes = ReadBytes(path);
    }

    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
    TempDir dir;
    std::string path, oldBytes;
};

TEST_F(LayoutBackupTest, EachSaveKeepsThePreviousContentAsTheBackup) {
    EXPECT_EQ(BackupPathOf(path), dir.File("mill.set.bak"));
    ASSERT_TRUE(layout.SaveLayout(path));
    const std::string firstSave = ReadBytes(path);
    EXPECT_EQ(firstSave, LayoutFileBytes(ControlsOnScreens({4, 2})));
    EXPECT_EQ(ReadBytes(dir.File("mill.set.bak")), oldBytes);

    cLayoutProbe::MutableRecords(layout).pop_back();
    ASSERT_TRUE(layout.SaveLayout(path));
    EXPECT_EQ(ReadBytes(dir.File("mill.set.bak")), firstSave) << "the older backup is replaced";
    EXPECT_TRUE(dialogs.Shown().empty());

    // A file that did not exist has nothing to keep.
    ASSERT_TRUE(layout.SaveLayout(dir.File("new.lset")));
    EXPECT_FALSE(FileExists(dir.File("new.lset.bak")));
}

TEST_F(LayoutBackupTest, ABackupThatCannotBeWrittenStopsTheSave) {
    std::filesystem::create_directory(dir.File("mill.set.bak"));
    dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(layout.SaveLayout(path));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    const std::string& prompt = dialogs.Last().prompt;
    EXPECT_NE(prompt.find("Cannot save layout file \"" + path + "\""), std::string::npos) << prompt;
    EXPECT_NE(prompt.find("backup \"" + dir.File("mill.set.bak") + "\""), std::string::npos)
        << prompt;
    EXPECT_NE(prompt.find("Neither file was changed"), std::string::npos) << prompt;
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("mill.set.bak")));
    EXPECT_TRUE(layout.IsDirty());
}

#ifndef _WIN32
TEST_F(LayoutBackupTest, ASaveThatFailsAfterTheBackupLeavesTheBackupAsItWas) {
    // Records big enough that the layout cannot be written under the cap, while the small old
    // file and its backup can.
    std::vector<ControlRecord> big;
    for (int i = 0; i < 200; ++i)
        big.push_back(MakeFullRecord(i));
    cLayoutProbe::MutableRecords(layout) = big;
    const std::string backup = dir.File("mill.set.bak");

    for (const bool hadBackup : {false, true}) {
        SCOPED_TRACE(hadBackup ? "with an older backup" : "without a backup");
        if (hadBackup) dir.Write("mill.set.bak", "older backup");
        dialogs.Answer(MsgAnswer::OK);
        {
            FileSizeLimit limit(4096);
            EXPECT_FALSE(layout.SaveLayout(path));
        }
        EXPECT_NE(dialogs.Last().prompt.find("File too large"), std::string::npos);
        EXPECT_EQ(ReadBytes(path), oldBytes);
        if (hadBackup) {
            EXPECT_EQ(ReadBytes(backup), "older backup");
        } else {
            EXPECT_FALSE(FileExists(backup));
        }
        EXPECT_TRUE(layout.IsDirty());
    }
}
#endif

} // namespace
