// Layout files and the file system failing under a save or a load: each failure gives its warning
// and false, leaves the file on disk byte-identical, and leaves the document as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FileSystemFaults.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

class LayoutFileFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<ControlRecord> records;
        for (int i = 0; i < 400; ++i)
            records.push_back(MakeFullRecord(i));
        cLayoutProbe::Adopt(layout, records, "edited.set");
        layout.SetIsDirty(true);
        previous = dir.Write("previous.set", LayoutFileBytes(ControlsOnScreens({3, 2})));
        previousBytes = ReadBytes(previous);
    }

    void ExpectSaveFails(const std::string& path, const std::string& reason) {
        const auto records = cLayoutProbe::Records(layout);
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.SaveLayout(path));
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_NE(dialogs.Last().prompt.find("\"" + path + "\""), std::string::npos);
        EXPECT_NE(dialogs.Last().prompt.find(reason), std::string::npos) << dialogs.Last().prompt;
        EXPECT_TRUE(layout.IsDirty()) << "a failed save keeps the changes marked unsaved";
        EXPECT_EQ(cLayoutProbe::Records(layout), records);
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
    TempDir dir;
    std::string previous, previousBytes;
};

// A full disk on POSIX systems; on Windows the file held open by another program.
TEST_F(LayoutFileFaultsTest, ASaveThatCannotFinishKeepsTheOldFile) {
    const auto entriesBefore = FolderEntries();
    {
        SaveBlocker blocker(previous);
        ExpectSaveFails(previous, SaveBlocker::Reason());
    }
    EXPECT_EQ(ReadBytes(previous), previousBytes);
    EXPECT_EQ(FolderEntries(), entriesBefore) << "no temporary file is left behind";
}

TEST_F(LayoutFileFaultsTest, SaveToAFolderOrAMissingFolderFails) {
    ExpectSaveFails(dir.Path(), FolderReason());
    ExpectSaveFails(dir.File("missing/layout.set"), MissingFolderReason());
    EXPECT_EQ(ReadBytes(previous), previousBytes);
}

TEST_F(LayoutFileFaultsTest, SaveThroughALinkReplacesTheFileItNames) {
    const std::string link = dir.File("link.set");
    if (!MakeSymbolicLink(previous, link))
        GTEST_SKIP() << "symbolic links cannot be made here (Wine, or Windows without the right)";
    ASSERT_TRUE(layout.SaveLayout(link));
    EXPECT_TRUE(IsSymbolicLink(link));
    EXPECT_EQ(ReadBytes(previous).size(), ReadBytes(link).size());
    EXPECT_NE(ReadBytes(previous), previousBytes);
    EXPECT_FALSE(layout.IsDirty());
}

TEST_F(LayoutFileFaultsTest, LoadOfAFileThatDisappearedChangesNothing) {
    const std::string vanished = dir.Write("vanished.set", previousBytes);
    std::filesystem::remove(vanished);
    const auto records = cLayoutProbe::Records(layout);
    dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(layout.LoadLayout(vanished));
    EXPECT_NE(dialogs.Last().prompt.find(MissingFileReason()), std::string::npos);
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
    EXPECT_EQ(layout.FileName(), "edited.set");
    EXPECT_TRUE(layout.IsDirty());
}

} // namespace
