// A layout bundled with its pictures and read back, as a folder and as a zip: every picture the
// layout names is in it where the bundled layout names it, the missing ones are listed, and
// unpacking refuses what would reach outside its folder or replace what is there.

#include <gtest/gtest.h>

#include <filesystem>

#include "LayoutBuilders.h"
#include "bundle/LayoutBundle.h"
#include "layout/HostCodes.h"
#include "preview/PictureFinder.h"
#include "versioning/LayoutFiles.h"

namespace fs = std::filesystem;

namespace {

class LayoutBundleTest : public ::testing::Test {
protected:
    LayoutBundleTest() {
        fs::create_directories(Dir.File("pics/NewPlasma"));
        fs::create_directories(Dir.File("pics/Other"));
        Dir.Write("pics/NewPlasma/Jog.png", "jog picture");
        Dir.Write("pics/Other/jog.PNG", "another jog");
        Dir.Write("pics/Back.bmp", std::string(5000, 'b'));
        for (const char* path :
             {"NewPlasma\\Jog.png", "Newplasma/JOG.png", "Other\\jog.PNG", "None",
              "c:\\korvo\\Back.bmp", "MillBitmaps\\gone.jpg", "millbitmaps/GONE.jpg"}) {
            Layout.Records.push_back(MakeControl(ControlKind::Bitmap, 1));
            Layout.Records.back().rBitMapPath = path;
        }
        Layout.Trailer[3] = 1024;
    }

    BundlePlan Plan() const {
        return PlanBundle(Layout, "Skin.set", PictureFinder({Dir.File("pics")}));
    }

    // Reads the bundled layout from `folder`, as the host's folder holding it, and checks that
    // each picture it names is found there by the host's rule, with the bytes of the picture it
    // was made from, and that only the path the host could not resolve was rewritten.
    void ExpectWhole(const std::string& folder) {
        LayoutContent bundled;
        std::string failure;
        ASSERT_TRUE(ReadLayoutContent(folder + "/Skin.set", bundled, failure)) << failure;
        ASSERT_EQ(bundled.Records.size(), Layout.Records.size());
        EXPECT_EQ(bundled.Trailer, Layout.Trailer);
        const PictureFinder original({Dir.File("pics")});
        const PictureFinder inBundle = PictureFinder::ForLayout(folder + "/Skin.set", "");
        for (std::size_t k = 0; k < Layout.Records.size(); ++k) {
            const std::string& before = Layout.Records[k].rBitMapPath;
            const std::string& after = bundled.Records[k].rBitMapPath;
            SCOPED_TRACE(before + " -> " + after);
            EXPECT_EQ(after, k == 4 ? "Skin\\Back.bmp" : before);
            const PictureLookup was = original.Find(before);
            if (!was.Found()) continue;
            const PictureLookup is = inBundle.Find(after);
            ASSERT_TRUE(is.Found());
            EXPECT_EQ(is.FoundIn, "Bitmaps beside the layout");
            EXPECT_EQ(ReadBytes(is.FoundPath), ReadBytes(was.FoundPath));
        }
        const std::string missing = ReadBytes(folder + "/Skin-missing-pictures.txt");
        EXPECT_NE(missing.find("MillBitmaps\\gone.jpg  (2 controls)"), std::string::npos);
        EXPECT_EQ(missing.find("Jog"), std::string::npos);
    }

    TempDir Dir;
    LayoutContent Layout;
};

TEST_F(LayoutBundleTest, APlanKeepsTheHostsArrangementAndRewritesOnlyWhatItCannotResolve) {
    const BundlePlan plan = Plan();
    EXPECT_EQ(plan.LayoutName, "Skin.set");
    EXPECT_EQ(plan.PicturesFolder, "Bitmaps");
    EXPECT_EQ(plan.Pictures, 3);
    std::vector<std::string> names;
    for (const BundleFile& file : plan.Files)
        names.push_back(file.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Skin.set", "Bitmaps/NewPlasma/Jog.png",
                                               "Bitmaps/Other/jog.PNG", "Bitmaps/Skin/Back.bmp",
                                               "Skin-missing-pictures.txt"}));
    // One file under two spellings Windows matches: bundled once, both spellings kept.
    EXPECT_EQ(plan.Layout.Records[1].rBitMapPath, "Newplasma/JOG.png");
    EXPECT_EQ(plan.Layout.Records[3].rBitMapPath, "None");
    ASSERT_EQ(plan.Rewrites.size(), 1u);
    EXPECT_EQ(plan.Rewrites[0].From, "c:\\korvo\\Back.bmp");
    EXPECT_EQ(plan.Rewrites[0].To, "Skin\\Back.bmp");
    EXPECT_NE(BundleReport(plan, "x.zip").find("\n  c:\\korvo\\Back.bmp -> Skin\\Back.bmp"),
              std::string::npos);
    ASSERT_EQ(plan.Missing.size(), 1u);
    EXPECT_EQ(plan.Missing[0].Uses, 2);
    EXPECT_EQ(Layout.Records[4].rBitMapPath, "c:\\korvo\\Back.bmp"); // the layout is not changed

    // Without a path to rewrite, the bundled layout is the layout, byte for byte.
    LayoutContent resolvable = Layout;
    resolvable.Records.erase(resolvable.Records.begin() + 4);
    const BundlePlan kept = PlanBundle(resolvable, "Skin.set", PictureFinder({Dir.File("pics")}));
    EXPECT_TRUE(kept.Rewrites.empty());
    EXPECT_EQ(kept.Files[0].Bytes, LayoutFileBytesOf(resolvable));
    // A layout name the records cannot spell still names a folder they can.
    LayoutContent driveOnly;
    driveOnly.Records.push_back(MakeControl(ControlKind::Bitmap, 1));
    driveOnly.Records.back().rBitMapPath = "C:\\Korvo\\Back.bmp";
    const BundlePlan odd =
        PlanBundle(driveOnly, "\xE2\x9C\x93 Skin.lset", PictureFinder({Dir.File("pics")}));
    EXPECT_EQ(odd.Layout.Records[0].rBitMapPath, "_ Skin\\Back.bmp");
}

TEST_F(LayoutBundleTest, ABundleUnpackedIntoAHostFolderFindsEveryPicture) {
    if (!ZipBundles()) GTEST_SKIP() << "this build writes bundles into folders only";
    // A host's folder with its own layouts and pictures already there.
    fs::create_directories(Dir.File("host/Bitmaps/Std"));
    Dir.Write("host/Bitmaps/Std/own.png", "the host's own");
    Dir.Write("host/Mill.set", "not ours");
    std::string failure;
    const std::string zip = Dir.File("Skin.zip");
    ASSERT_TRUE(WriteBundleZip(Plan(), zip, failure)) << failure;
    UnpackedBundle unpacked;
    ASSERT_TRUE(UnpackBundle(zip, Dir.File("host"), unpacked, failure)) << failure;
    ExpectWhole(Dir.File("host"));
    EXPECT_EQ(ReadBytes(Dir.File("host/Bitmaps/Std/own.png")), "the host's own");
}

TEST_F(LayoutBundleTest, AFolderBundleReadsBackWhole) {
    std::string failure;
    ASSERT_TRUE(WriteBundleFolder(Plan(), Dir.File("out"), failure)) << failure;
    ExpectWhole(Dir.File("out"));
    // A folder that holds files already is refused and left as it is.
    EXPECT_FALSE(WriteBundleFolder(Plan(), Dir.File("out"), failure));
    EXPECT_NE(failure.find("already holds files"), std::string::npos);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // pics and out: nothing was left beside them
}

TEST_F(LayoutBundleTest, AZipBundleReadsBackWhole) {
    if (!ZipBundles()) GTEST_SKIP() << "this build writes bundles into folders only";
    std::string failure;
    const std::string zip = Dir.File("Skin.zip");
    ASSERT_TRUE(WriteBundleZip(Plan(), zip, failure)) << failure;
    UnpackedBundle unpacked;
    ASSERT_TRUE(UnpackBundle(zip, Dir.File("host"), unpacked, failure)) << failure;
    EXPECT_EQ(unpacked.LayoutPath, Dir.File("host/Skin.set"));
    EXPECT_EQ(unpacked.Files, 5);
    ExpectWhole(Dir.File("host"));
    // Unpacking again where the same files are is fine; a changed file is not replaced.
    EXPECT_TRUE(UnpackBundle(zip, Dir.File("host"), unpacked, failure)) << failure;
    Dir.Write("host/Bitmaps/NewPlasma/Jog.png", "edited");
    EXPECT_FALSE(UnpackBundle(zip, Dir.File("host"), unpacked, failure));
    EXPECT_NE(failure.find("which differs from the bundle's"), std::string::npos) << failure;
    EXPECT_EQ(ReadBytes(Dir.File("host/Bitmaps/NewPlasma/Jog.png")), "edited");
    // A zip replaced keeps its backup.
    ASSERT_TRUE(WriteBundleZip(Plan(), zip, failure)) << failure;
    EXPECT_TRUE(FileExists(zip + ".bak"));
}

TEST_F(LayoutBundleTest, UnpackingRefusesWhatNoBundleHolds) {
    if (!ZipBundles()) GTEST_SKIP() << "this build writes bundles into folders only";
    const auto zipOf = [this](const std::string& name, std::vector<BundleFile> files) {
        BundlePlan plan;
        plan.Files = std::move(files);
        std::string failure;
        EXPECT_TRUE(WriteBundleZip(plan, Dir.File(name), failure)) << failure;
        return Dir.File(name);
    };
    const std::string layout = LayoutFileBytes({MakeControl(ControlKind::Button, 0)});
    const struct {
        std::string zip;
        const char* refusal;
    } cases[] = {
        {zipOf("escape.zip", {{"a.set", {}, layout}, {"../evil.txt", {}, "x"}}),
         "would lie outside the folder"},
        {zipOf("rooted.zip", {{"a.set", {}, layout}, {"/etc/evil", {}, "x"}}),
         "would lie outside the folder"},
        {zipOf("drive.zip", {{"a.set", {}, layout}, {"c:evil", {}, "x"}}),
         "would lie outside the folder"},
        {zipOf("none.zip", {{"pics/a.set", {}, layout}}), "holds no layout file"},
        {zipOf("two.zip", {{"a.set", {}, layout}, {"b.LSET", {}, layout}}), "2 layout files"},
        {Dir.Write("plain.zip", "not a zip at all"), "Not a zip archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zip);
        UnpackedBundle unpacked;
        std::string failure;
        EXPECT_FALSE(UnpackBundle(c.zip, Dir.File("target"), unpacked, failure));
        EXPECT_NE(failure.find(c.refusal), std::string::npos) << failure;
        EXPECT_FALSE(fs::exists(Dir.File("target")));
        EXPECT_FALSE(fs::exists(Dir.File("evil.txt")));
    }
}

} // namespace
