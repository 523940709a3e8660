// Finding the pictures that records name the host's way: backslashes, any letter case,
// drive-letter paths into the host's folder, "None", and files that are missing or no pictures.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"

namespace {

namespace fs = std::filesystem;

// <dir>/Host/Layouts/mill.set, pictures beside it and in the host folder, and a pictures folder
// of the user's elsewhere.
class PictureFinderTest : public ::testing::Test {
protected:
    PictureFinderTest() {
        for (const char* folder : {"Host/Layouts", "Host/MillBitmaps/Sub", "Mine", "Host/x.png"})
            fs::create_directories(Dir.File(folder));
        for (const char* file : {"Host/MillBitmaps/grayZero4.JPG", "Host/MillBitmaps/Sub/Deep.png",
                                 "Host/Layouts/Beside.bmp", "Host/MillBitmaps/notes.txt",
                                 "Mine/logo.png", "Mine/Beside.bmp", "Host/MillBitmaps/fake.jpg"})
            Dir.Write(file, "not really a picture");
    }
    PictureFinder Finder() const {
        return PictureFinder::ForLayout(Dir.File("Host/Layouts/mill.set"), Dir.File("Mine"));
    }
    TempDir Dir;
};

TEST_F(PictureFinderTest, HostPathsAreFoundUnderTheFoldersInAnyCase) {
    const PictureFinder finder = Finder();
    EXPECT_EQ(finder.Folders(), (std::vector<std::string>{
                                    Dir.File("Mine"), Dir.File("Host/Layouts"), Dir.File("Host")}));
    const std::pair<const char*, const char*> cases[] = {
        {"MillBitmaps\\grayZero4.jpg", "Host/MillBitmaps/grayZero4.JPG"},
        {"millbitmaps/GRAYZERO4.jpg", "Host/MillBitmaps/grayZero4.JPG"},
        {"MillBitmaps\\sub\\deep.PNG", "Host/MillBitmaps/Sub/Deep.png"},
        {"C:\\Korvo\\MillBitmaps\\grayZero4.jpg", "Host/MillBitmaps/grayZero4.JPG"},
        {"c:\\KORVO\\millbitmaps\\Sub\\Deep.png", "Host/MillBitmaps/Sub/Deep.png"},
        {"D:\\Elsewhere\\Deep\\logo.png", "Mine/logo.png"}, // by its file name
        {"\\\\server\\share\\logo.png", "Mine/logo.png"},
        {"Beside.bmp", "Mine/Beside.bmp"},                          // the user's folder comes first
        {"..\\..\\Layouts\\Beside.bmp", "Host/Layouts/Beside.bmp"}, // no way out of the folders
        {"Skins\\Old\\logo.png", "Mine/logo.png"},                  // a tail of a relative path
        {"MillBitmaps\\fake.jpg", "Host/MillBitmaps/fake.jpg"}, // decoding is the painter's part
        {"MillBitmaps\\absent.jpg", nullptr},
        {"MillBitmaps\\notes.txt", nullptr}, // not a picture's extension
        {"x.png", nullptr},                  // a folder
        {"C:\\Korvo", nullptr},
        {"MillBitmaps\\", nullptr},
    };
    for (const auto& [name, found] : cases) {
        SCOPED_TRACE(name);
        const PictureLookup lookup = finder.Find(name);
        EXPECT_TRUE(lookup.Named);
        EXPECT_EQ(lookup.FoundPath, found ? Dir.File(found) : "");
    }
    for (const char* none : {"", "None", "none", "None\r\n", "  "}) {
        const PictureLookup lookup = finder.Find(none);
        EXPECT_FALSE(lookup.Named) << none;
        EXPECT_FALSE(lookup.Found());
    }
    EXPECT_EQ(finder.Find("C:\\Korvo\\MillBitmaps\\grayZero4.jpg").FileName, "grayZero4.jpg");
    EXPECT_EQ(finder.Find("c:logo.png").FileName, "logo.png");
}

TEST_F(PictureFinderTest, AnswersAreCachedUntilForgotten) {
    PictureFinder finder = Finder();
    ASSERT_TRUE(finder.Find("MillBitmaps\\grayZero4.jpg").Found());
    EXPECT_FALSE(finder.Find("MillBitmaps\\late.png").Found());
    fs::remove(Dir.File("Host/MillBitmaps/grayZero4.JPG"));
    Dir.Write("Host/MillBitmaps/late.png", "x");
    EXPECT_TRUE(finder.Find("MillBitmaps\\grayZero4.jpg").Found());
    EXPECT_FALSE(finder.Find("MillBitmaps\\late.png").Found());
    finder.Forget();
    EXPECT_FALSE(finder.Find("MillBitmaps\\grayZero4.jpg").Found());
    EXPECT_TRUE(finder.Find("MillBitmaps\\late.png").Found());
}

TEST_F(PictureFinderTest, TheSceneCarriesWhatWasFound) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    ControlRecord found = MakeControl(ControlKind::Bitmap, 1, 0, 0, 1027, 729);
    found.rBitMapPath = "MillBitmaps\\GrayZero4.jpg";
    ControlRecord missing = MakeControl(ControlKind::BitmapButton, 1);
    missing.rBitMapPath = "C:\\Korvo\\MillBitmaps\\Gone.bmp";
    cLayoutProbe::Adopt(layout, {found, missing});
    const PictureFinder finder = Finder();
    const ScreenScene scene = BuildScreenScene(layout, 1, {.Pictures = &finder});
    ASSERT_EQ(scene.Items.size(), 2u);
    EXPECT_EQ(scene.Items[0].PicturePath, Dir.File("Host/MillBitmaps/grayZero4.JPG"));
    EXPECT_TRUE(scene.Items[0].Background);
    EXPECT_EQ(scene.Items[1].Shape, ItemShape::HotSpot) << "a bitmap button without its picture";
    EXPECT_EQ(scene.Items[1].PictureName, missing.rBitMapPath);
    EXPECT_EQ(scene.Items[1].PictureFileName, "Gone.bmp");
    EXPECT_EQ(scene.Items[1].PicturePath, "");
}

// The host's rule: a relative path is looked up in the pictures folder the user chose, Bitmaps
// beside the layout, Bitmaps in each folder above it, then the layout's folder and its parent;
// a drive-letter path by its part after Bitmaps. Rebuilt in a scratch tree shaped as published
// layouts are installed (generated files, no real program's).
TEST(HostPictureRule, EachPlaceInOrderWithLetterCaseSlashesAndDriveLetters) {
    TempDir dir;
    for (const char* folder : {"host/Bitmaps/NewPlasma", "host/Bitmaps/Skin",
                               "host/Bitmaps/Std/Mill", "host/Std/Set Files/Custom",
                               "host/Sub/Deeper", "mine/NewPlasma"})
        fs::create_directories(dir.File(folder));
    for (const char* file :
         {"host/Bitmaps/NewPlasma/Diagnostics.jpg", "host/Bitmaps/Skin/Back.PNG",
          "host/Bitmaps/Std/Mill/Panel.bmp", "host/Beside.png", "host/Sub/Parent.png",
          "mine/NewPlasma/Chosen.jpg", "host/Bitmaps/NewPlasma/Chosen.jpg"})
        dir.Write(file, file);
    struct Case {
        const char* layout;
        const char* chosen;
        const char* path;
        const char* found; // below the scratch folder; nullptr: not found
        const char* foundIn;
    };
    const Case cases[] = {
        {"host/NewPlasma.set", "", "NewPlasma\\Diagnostics.jpg",
         "host/Bitmaps/NewPlasma/Diagnostics.jpg", "Bitmaps beside the layout"},
        {"host/NewPlasma.set", "", "newplasma/DIAGNOSTICS.JPG",
         "host/Bitmaps/NewPlasma/Diagnostics.jpg", "Bitmaps beside the layout"},
        {"host/NewPlasma.set", "mine", "NewPlasma\\Chosen.jpg", "mine/NewPlasma/Chosen.jpg",
         "the pictures folder"},
        {"host/NewPlasma.set", "", "NewPlasma\\Chosen.jpg", "host/Bitmaps/NewPlasma/Chosen.jpg",
         "Bitmaps beside the layout"},
        {"host/Std/Set Files/Custom/X.set", "", "Std\\Mill\\Panel.bmp",
         "host/Bitmaps/Std/Mill/Panel.bmp", "Bitmaps 3 folders above the layout"},
        {"host/Std/Set Files/Custom/X.set", "", "C:\\Host\\Bitmaps\\Std\\Mill\\Panel.bmp",
         "host/Bitmaps/Std/Mill/Panel.bmp", "Bitmaps 3 folders above the layout"},
        {"host/Std/Set Files/Custom/X.set", "", "c:/host/BITMAPS/std/mill/panel.BMP",
         "host/Bitmaps/Std/Mill/Panel.bmp", "Bitmaps 3 folders above the layout"},
        {"host/Skin.set", "", "Skin\\Back.png", "host/Bitmaps/Skin/Back.PNG",
         "Bitmaps beside the layout"},
        {"host/Skin.set", "", "Beside.png", "host/Beside.png", "the layout's folder"},
        {"host/Sub/Deeper/A.set", "", "Parent.png", "host/Sub/Parent.png",
         "the folder above the layout"},
        {"host/Skin.set", "", "..\\Skin\\Gone.png", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + c.path);
        const PictureFinder finder =
            PictureFinder::ForLayout(dir.File(c.layout), *c.chosen ? dir.File(c.chosen) : "");
        const PictureLookup lookup = finder.Find(c.path);
        EXPECT_EQ(lookup.FoundPath, c.found ? dir.File(c.found) : "");
        EXPECT_EQ(lookup.FoundIn, c.foundIn);
    }
}

TEST(HostPictureRule, ThePublishedArrangementsFindEveryPicture) {
    TempDir dir;
    // A layout copied into the host's folder and its Skin folder into Bitmaps; one shipped beside
    // Bitmaps/NewPlasma/ naming 51 pictures; one kept a few folders below the top of its tree.
    fs::create_directories(dir.File("a/Bitmaps/Skin"));
    fs::create_directories(dir.File("b/Bitmaps/NewPlasma"));
    fs::create_directories(dir.File("c/Std/Set Files/Custom"));
    fs::create_directories(dir.File("c/Bitmaps/Std/Buttons"));
    std::vector<std::pair<std::string, std::string>> named; // layout, path
    for (int k = 0; k < 10; ++k) {
        dir.Write("a/Bitmaps/Skin/Tab" + std::to_string(k) + ".png", "x");
        named.emplace_back("a/Skinned.set", "Skin\\tab" + std::to_string(k) + ".PNG");
    }
    for (int k = 0; k < 51; ++k) {
        dir.Write("b/Bitmaps/NewPlasma/Page" + std::to_string(k) + ".jpg", "x");
        named.emplace_back("b/NewPlasma.set", (k % 2 ? "NewPlasma\\Page" : "NewPlasma/page") +
                                                  std::to_string(k) + ".jpg");
    }
    for (int k = 0; k < 5; ++k) {
        dir.Write("c/Bitmaps/Std/Buttons/B" + std::to_string(k) + ".bmp", "x");
        named.emplace_back("c/Std/Set Files/Custom/X.set",
                           "Std\\Buttons\\B" + std::to_string(k) + ".bmp");
    }
    int found = 0;
    for (const auto& [layout, path] : named)
        found += PictureFinder::ForLayout(dir.File(layout), "").Find(path).Found() ? 1 : 0;
    EXPECT_EQ(found, static_cast<int>(named.size()));
}

#ifndef _WIN32
TEST_F(PictureFinderTest, APipeNamedLikeAPictureIsMissing) {
    // Opening a pipe to decode it would wait for a writer for ever.
    const std::string pipe = Dir.File("Mine/pipe.png");
    ASSERT_EQ(std::system(("mkfifo '" + pipe + "'").c_str()), 0);
    EXPECT_FALSE(Finder().Find("pipe.png").Found());
}
#endif

} // namespace
