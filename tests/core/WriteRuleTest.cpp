// One rule for every file the program writes, held by each writer: Save, the outputs of the tool
// (a written file with its backup), the layouts made from text or merged, a .zip bundle and a CSV
// export. Through a symbolic link the file it names is replaced, its backup beside that file and
// the link kept; a dangling link gets its file made where it points; the permission bits of the
// file replaced are kept by the new file and its backup; a read-only file is refused (Save asks).

#include <gtest/gtest.h>

#ifndef _WIN32

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "FileSystemFaults.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "bundle/LayoutBundle.h"
#include "layout/FileBackup.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "versioning/LayoutFiles.h"

namespace {

struct Writer {
    const char* Name;
    bool KeepsBackup;
    // Writes to the path; "" when written, else the failure's words.
    std::function<std::string(const std::string& path, ScriptedDialogs& dialogs)> Write;
};

LayoutContent Content() {
    LayoutContent content;
    content.Records = ControlsOnScreens({3, 2});
    content.Trailer[0] = 7;
    return content;
}

std::vector<Writer> Writers() {
    return {
        {"Save", true,
         [](const std::string& path, ScriptedDialogs& dialogs) {
             cLayout layout(dialogs);
             cLayoutProbe::Adopt(layout, Content().Records, "x.set");
             const bool saved = layout.SaveLayout(path);
             if (saved) return std::string();
             return dialogs.Shown().empty() ? std::string("refused") : dialogs.Last().prompt;
         }},
        {"layout from text or merged", true,
         [](const std::string& path, ScriptedDialogs&) {
             std::string failure;
             WriteLayoutContent(path, Content(), failure);
             return failure;
         }},
        {"tool output", true,
         [](const std::string& path, ScriptedDialogs&) {
             std::string failure;
             WriteWithBackup(path, "<svg/>\n", failure);
             return failure;
         }},
        {"zip bundle", true,
         [](const std::string& path, ScriptedDialogs&) {
             if (!ZipBundles()) return std::string();
             std::string failure;
             WriteBundleZip(PlanBundle(Content(), "Skin.set", PictureFinder()), path, failure);
             return failure;
         }},
        {"CSV export", false,
         [](const std::string& path, ScriptedDialogs& dialogs) {
             cLayout layout(dialogs);
             cLayoutProbe::Adopt(layout, Content().Records, "x.set");
             if (layout.ExportCSV(path)) return std::string();
             return dialogs.Shown().empty() ? std::string("refused") : dialogs.Last().prompt;
         }},
    };
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0u;
}

class WriteRuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.File("real"));
        std::filesystem::create_directories(dir.File("links"));
    }
    // What the writer writes to a new file.
    std::string Expected(const Writer& writer) {
        ScriptedDialogs dialogs;
        const std::string fresh = dir.File("fresh-" + std::to_string(++n));
        EXPECT_EQ(writer.Write(fresh, dialogs), "") << writer.Name;
        return ReadBytes(fresh);
    }

    TempDir dir;
    int n = 0;
    const std::string old = "old content";
};

TEST_F(WriteRuleTest, ALinkLeadsToTheFileItNamesWhoseBackupLiesBesideIt) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.Name);
        if (std::string(writer.Name) == "zip bundle" && !ZipBundles()) continue;
        const std::string target = dir.Write("real/target-" + std::to_string(++n), old);
        const std::string link = dir.File("links/link-" + std::to_string(n));
        if (!MakeSymbolicLink("../real/target-" + std::to_string(n), link))
            GTEST_SKIP() << "symbolic links cannot be made here";
        ScriptedDialogs dialogs;
        ASSERT_EQ(writer.Write(link, dialogs), "");
        EXPECT_TRUE(IsSymbolicLink(link)) << "the link stays";
        const std::string written = ReadBytes(target);
        EXPECT_NE(written, old);
        EXPECT_EQ(written, Expected(writer));
        EXPECT_FALSE(FileExists(link + ".bak")) << "no backup beside the link";
        if (writer.KeepsBackup) {
            EXPECT_EQ(ReadBytes(target + ".bak"), old);
            EXPECT_EQ(std::filesystem::path(BackupPathOf(link)).lexically_normal(),
                      std::filesystem::path(target + ".bak"));
        }
    }
}

TEST_F(WriteRuleTest, ADanglingLinkGetsItsFileMadeWhereItPoints) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.Name);
        if (std::string(writer.Name) == "zip bundle" && !ZipBundles()) continue;
        const std::string target = dir.File("real/absent-" + std::to_string(++n));
        const std::string link = dir.File("links/dangling-" + std::to_string(n));
        if (!MakeSymbolicLink(target, link)) GTEST_SKIP() << "symbolic links cannot be made here";
        ScriptedDialogs dialogs;
        ASSERT_EQ(writer.Write(link, dialogs), "");
        EXPECT_TRUE(IsSymbolicLink(link));
        EXPECT_EQ(ReadBytes(target), Expected(writer));
        EXPECT_EQ(ReadBytes(link), ReadBytes(target));
        EXPECT_FALSE(FileExists(target + ".bak"));
        EXPECT_FALSE(FileExists(link + ".bak"));
    }
}

TEST_F(WriteRuleTest, TheNewFileAndItsBackupKeepTheBitsOfTheFileReplaced) {
    for (const unsigned mode : {0600u, 0640u, 0604u}) {
        for (const Writer& writer : Writers()) {
            SCOPED_TRACE(std::string(writer.Name) + " mode " + std::to_string(mode));
            if (std::string(writer.Name) == "zip bundle" && !ZipBundles()) continue;
            const std::string path = dir.Write("real/private-" + std::to_string(++n), old);
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            // An older backup more open than the file does not stay so.
            if (writer.KeepsBackup) {
                dir.Write("real/private-" + std::to_string(n) + ".bak", "older");
                ::chmod((path + ".bak").c_str(), 0666);
            }
            ScriptedDialogs dialogs;
            ASSERT_EQ(writer.Write(path, dialogs), "");
            EXPECT_NE(ReadBytes(path), old);
            EXPECT_EQ(ModeOf(path), mode);
            if (writer.KeepsBackup) {
                EXPECT_EQ(ReadBytes(path + ".bak"), old);
                EXPECT_EQ(ModeOf(path + ".bak"), mode);
            }
        }
    }
}

TEST_F(WriteRuleTest, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.Name);
        if (std::string(writer.Name) == "zip bundle" && !ZipBundles()) continue;
        const std::string path = dir.Write("real/locked-" + std::to_string(++n), old);
        ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
        ScriptedDialogs dialogs;
        const bool asks = std::string(writer.Name) == "Save";
        if (asks) dialogs.Answer(MsgAnswer::No);
        if (std::string(writer.Name) == "CSV export") dialogs.Answer(MsgAnswer::OK);
        const std::string failure = writer.Write(path, dialogs);
        if (asks) {
            ASSERT_EQ(dialogs.Shown().size(), 1u) << "the window asks, and says nothing more";
            EXPECT_EQ(dialogs.Last().title, ReadOnlyQuestionTitle);
            EXPECT_EQ(dialogs.Last().buttons, MsgButtons::YesNo);
            EXPECT_NE(dialogs.Last().prompt.find("\"" + path + "\": the file is read-only"),
                      std::string::npos)
                << dialogs.Last().prompt;
        } else {
            EXPECT_NE(failure.find(ReadOnlyReason), std::string::npos) << failure;
        }
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(ModeOf(path), 0444u);
        EXPECT_FALSE(FileExists(path + ".bak"));
    }
}

TEST_F(WriteRuleTest, SaveReplacesAReadOnlyFileWhenTheUserAgreesAndItStaysReadOnly) {
    const std::string path = dir.Write("real/locked.set", old);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ScriptedDialogs dialogs;
    dialogs.Answer(MsgAnswer::Yes);
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, Content().Records, "x.set");
    ASSERT_TRUE(layout.SaveLayout(path));
    EXPECT_EQ(ReadBytes(path), LayoutFileBytes(Content().Records));
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(ReadBytes(path + ".bak"), old);
    EXPECT_EQ(ModeOf(path + ".bak"), 0444u);
}

} // namespace

#endif
