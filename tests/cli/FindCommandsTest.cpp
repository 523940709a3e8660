// quill's find, replace, pictures, relink and bundle run as the built program: their exit
// statuses, their lines and JSON, refusals that write nothing, and a bundle of a sample read back
// as a zip and as a folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "JsonReader.h"
#include "LayoutBuilders.h"
#include "QuillRunner.h"
#include "layout/HostCodes.h"
#include "bundle/LayoutBundle.h"
#include "preview/PictureFinder.h"
#include "versioning/LayoutFiles.h"

namespace {

using Outcome = QuillResult;

class FindCommandsTest : public ::testing::Test {
protected:
    TempDir Dir;
};

TEST_F(FindCommandsTest, FindExitsByWhatItFoundAndPrintsLinesOrJson) {
    const std::string mill = Quoted(Sample("mill.set"));
    const Outcome found = Quill("find " + mill + " jog --field rText", Dir);
    ASSERT_EQ(found.Status, 0) << found.Err;
    EXPECT_EQ(Lines(found.Out).front(), "screen 0 record 16 rText: Jog");
    for (const std::string& line : Lines(found.Out))
        EXPECT_NE(line.find(" rText: "), std::string::npos) << line;

    const Outcome json = Quill("find " + mill + " alt+1 --field Key --whole --json", Dir);
    ASSERT_EQ(json.Status, 0) << json.Err;
    for (const std::string& line : Lines(json.Out)) {
        const std::optional<JsonValue> value = JsonReader::Parse(line);
        ASSERT_TRUE(value) << line;
        EXPECT_EQ((*value)["field"].Text, "rHotKey");
        EXPECT_EQ((*value)["text"].Text, "Alt+1");
        EXPECT_GT((*value)["record"].Int(), 0);
        EXPECT_GE((*value)["screen"].Int(), 0);
    }

    EXPECT_EQ(Quill("find " + mill + " JOG --case", Dir).Status, 1);
    const struct {
        std::string arguments;
        const char* says;
    } errors[] = {
        {"find " + mill + " jog --field rX1", "--field \"rX1\" is not one of"},
#ifndef _WIN32 // the command processor passes arguments in the ANSI code page
        {"find " + mill + " \"\xE2\x9C\x93\"", "U+2713"},
#endif
        {"find " + mill + " \"\"", "the text to find is empty"},
        {"find " + Quoted(Dir.File("absent.set")) + " jog", "absent.set"},
    };
    for (const auto& e : errors) {
        const Outcome failed = Quill(e.arguments, Dir);
        EXPECT_EQ(failed.Status, 2) << e.arguments;
        EXPECT_NE(failed.Err.find(e.says), std::string::npos) << failed.Err;
    }
}

TEST_F(FindCommandsTest, ReplaceAndRelinkWriteOnlyWhatChangesAndRefuseWithNothingWritten) {
    const std::string mill = Quoted(Sample("mill.set"));
    const std::string out = Dir.File("out.set");
    const Outcome replaced =
        Quill("replace " + mill + " Jog Jogging --whole -o " + Quoted(out), Dir);
    ASSERT_EQ(replaced.Status, 0) << replaced.Err;
    EXPECT_EQ(replaced.Out, "Replaced: 2 fields of 2 controls changed.\n");
    EXPECT_EQ(Lines(Quill("find " + Quoted(out) + " Jogging --whole", Dir).Out).size(), 2u);

    const struct {
        std::string arguments;
        int status;
    } refused[] = {
        {"replace " + mill + " 8 x --field rOEMCode --whole -o " + Quoted(Dir.File("a.set")), 2},
#ifndef _WIN32
        {"replace " + mill + " Jog \"\xE2\x9C\x93\" -o " + Quoted(Dir.File("a.set")), 2},
#endif
        {"replace " + mill + " nowhere x -o " + Quoted(Dir.File("a.set")), 1},
        {"replace " + mill + " Jog Jog --case -o " + Quoted(Dir.File("a.set")), 1},
        {"replace " + mill + " Jog x", 2},
        {"relink " + mill + " nowhere\\\\ Skin -o " + Quoted(Dir.File("a.set")), 1},
        {"relink " + mill + " SampleBitmaps\\\\Reset.bmp None -o " + Quoted(Dir.File("a.set")), 2},
    };
    for (const auto& r : refused) {
        const Outcome outcome = Quill(r.arguments, Dir);
        EXPECT_EQ(outcome.Status, r.status) << r.arguments << "\n" << outcome.Err << outcome.Out;
        EXPECT_FALSE(FileExists(Dir.File("a.set"))) << r.arguments;
    }

    // A folder relinked, in place: the old file kept, every path under it moved, and the
    // pictures found again once they are where the paths say.
    const Outcome relinked =
        Quill("relink " + Quoted(out) + " samplebitmaps/ Skin --in-place", Dir);
    ASSERT_EQ(relinked.Status, 0) << relinked.Err;
    EXPECT_EQ(relinked.Out, "Relinked the picture of 11 controls.\n");
    EXPECT_TRUE(FileExists(out + ".bak"));
    std::filesystem::copy(Sample("SampleBitmaps"), Dir.File("Skin"));
    const Outcome pictures = Quill("pictures " + Quoted(out) + " --json", Dir);
    ASSERT_EQ(pictures.Status, 0) << pictures.Err;
    int found = 0;
    for (const std::string& line : Lines(pictures.Out)) {
        const std::optional<JsonValue> value = JsonReader::Parse(line);
        ASSERT_TRUE(value) << line;
        const std::string path = (*value)["path"].Text;
        if (path.rfind("Skin\\", 0) != 0) continue;
        EXPECT_EQ((*value)["found"].Text.rfind(Dir.File("Skin/"), 0), 0u) << line;
        EXPECT_GT((*value)["bytes"].Int(), 0);
        EXPECT_GT((*value)["uses"].Int(), 0);
        ++found;
    }
    EXPECT_EQ(found, 4);
}

// Every picture the bundled layout names is found in the bundle's Bitmaps folder by the host's
// rule, only the drive-letter path was rewritten, and the one the sample misses on purpose is
// listed.
void ExpectBundledSample(const std::string& folder) {
    LayoutContent bundled, original;
    std::string failure;
    ASSERT_TRUE(ReadLayoutContent(folder + "/mill.set", bundled, failure)) << failure;
    ASSERT_TRUE(ReadLayoutContent(Sample("mill.set"), original, failure)) << failure;
    ASSERT_EQ(bundled.Records.size(), original.Records.size());
    const PictureFinder inBundle = PictureFinder::ForLayout(folder + "/mill.set", "");
    int pictures = 0;
    for (std::size_t k = 0; k < bundled.Records.size(); ++k) {
        const std::string& path = bundled.Records[k].rBitMapPath;
        const std::string& was = original.Records[k].rBitMapPath;
        EXPECT_EQ(path, was == "C:\\Korvo\\SampleBitmaps\\Home.bmp" ? "mill\\Home.bmp" : was);
        if (!NamesPicture(path) || path == "c:\\korvo\\bitmaps\\mdi.bmp") continue;
        ++pictures;
        const PictureLookup found = inBundle.Find(path);
        EXPECT_EQ(found.FoundIn, "Bitmaps beside the layout") << path;
    }
    EXPECT_EQ(pictures, 12);
    EXPECT_TRUE(FileExists(folder + "/Bitmaps/SampleBitmaps/Background.bmp"));
    EXPECT_NE(ReadBytes(folder + "/mill-missing-pictures.txt").find("c:\\korvo\\bitmaps\\mdi.bmp"),
              std::string::npos);
}

TEST_F(FindCommandsTest, ABundleOfASampleReadsBackAsAFolderAndAsAZip) {
    const std::string mill = Quoted(Sample("mill.set"));
    const Outcome folder = Quill("bundle " + mill + " -o " + Quoted(Dir.File("shared")), Dir);
    ASSERT_EQ(folder.Status, 0) << folder.Err;
    EXPECT_NE(folder.Out.find("Bundled mill.set with 5 pictures"), std::string::npos);
    EXPECT_NE(folder.Out.find("\n  C:\\Korvo\\SampleBitmaps\\Home.bmp -> mill\\Home.bmp"),
              std::string::npos)
        << folder.Out;
    EXPECT_NE(folder.Err.find("c:\\korvo\\bitmaps\\mdi.bmp"), std::string::npos);
    ExpectBundledSample(Dir.File("shared"));
    EXPECT_EQ(Quill("bundle " + mill + " -o " + Quoted(Dir.File("shared")), Dir).Status, 2);
    EXPECT_EQ(Quill("bundle " + mill + " -o " + mill, Dir).Status, 2);

    if (!ZipBundles()) GTEST_SKIP() << "this build writes bundles into folders only";
    const std::string zip = Dir.File("mill.zip");
    const Outcome zipped = Quill("bundle " + mill + " -o " + Quoted(zip), Dir);
    ASSERT_EQ(zipped.Status, 0) << zipped.Err;
    UnpackedBundle unpacked;
    std::string failure;
    ASSERT_TRUE(UnpackBundle(zip, Dir.File("unpacked"), unpacked, failure)) << failure;
    EXPECT_EQ(unpacked.LayoutPath, Dir.File("unpacked/mill.set"));
    ExpectBundledSample(Dir.File("unpacked"));
}

} // namespace
