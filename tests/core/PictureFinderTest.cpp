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

#ifndef _WIN32
TEST_F(PictureFinderTest, APipeNamedLikeAPictureIsMissing) {
    // Opening a pipe to decode it would wait for a writer for ever.
    const std::string pipe = Dir.File("Mine/pipe.png");
    ASSERT_EQ(std::system(("mkfifo '" + pipe + "'").c_str()), 0);
    EXPECT_FALSE(Finder().Find("pipe.png").Found());
}
#endif

} // namespace
