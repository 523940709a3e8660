// Picture paths matched as Windows matches them, relinking a path or a folder with the rest of
// each path kept as spelled, and where screens, codes, keys and pictures are used.

#include <gtest/gtest.h>

#include <filesystem>

#include "LayoutBuilders.h"
#include "editing/Relink.h"
#include "layout/HostCodes.h"
#include "preview/PictureFinder.h"
#include "preview/WhereUsed.h"

namespace {

TEST(RelinkTest, PicturePathsMatchAsWindowsMatchesThem) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"NewPlasma\\Jog.png", "Newplasma/JOG.PNG", true},
        {"MillBitmaps\\\\a.jpg", "millbitmaps/a.jpg", true},
        {"Caf\xE9\\x.png", "CAF\xC9/x.png", true},
        {"\x8A\\x.png", "\x9A\\X.png", true}, // Š and š
        {"a.png", "b.png", false},
        {"Bitmaps\\x.bmp", "C:\\Korvo\\Bitmaps\\x.bmp", false},
        {"a\xD7.png", "a\xF7.png", false}, // × and ÷ are no letters
    };
    for (const auto& c : cases)
        EXPECT_EQ(SamePicturePath(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(PictureFolderPrefix("Newplasma//a.png", "NewPlasma\\"), 11u);
    EXPECT_EQ(PictureFolderPrefix("NewPlasmaOld\\a.png", "NewPlasma\\"), std::nullopt);
    EXPECT_EQ(PictureFolderPrefix("New", "NewPlasma\\"), std::nullopt);
}

std::vector<ControlRecord> WithPictures(const std::vector<std::string>& paths) {
    std::vector<ControlRecord> records;
    for (const std::string& path : paths) {
        records.push_back(MakeControl(ControlKind::Bitmap, static_cast<int32_t>(records.size())));
        records.back().rBitMapPath = path;
    }
    return records;
}

TEST(RelinkTest, RelinksAPathOrAFolderKeepingTheRestAsSpelled) {
    const std::vector<std::string> paths = {"NewPlasma\\Jog.png",
                                            "Newplasma/Stop.PNG",
                                            "NEWPLASMA\\Sub\\x.png",
                                            "MillBitmaps\\a.jpg",
                                            "None",
                                            "NewPlasmaOld\\y.png"};
    const struct {
        const char* from;
        std::string to;
        std::vector<int> only;
        std::vector<std::pair<int, std::string>> changed;
        const char* refusal;
    } cases[] = {
        {"newplasma\\",
         "Skin",
         {},
         {{1, "Skin\\Jog.png"}, {2, "Skin\\Stop.PNG"}, {3, "Skin\\Sub\\x.png"}},
         nullptr},
        {"NewPlasma/",
         "Skin/",
         {},
         {{1, "Skin/Jog.png"}, {2, "Skin/Stop.PNG"}, {3, "Skin/Sub\\x.png"}},
         nullptr},
        {"NewPlasma\\", "", {}, {{1, "Jog.png"}, {2, "Stop.PNG"}, {3, "Sub\\x.png"}}, nullptr},
        {"NewPlasma\\", "Skin", {2}, {{2, "Skin\\Stop.PNG"}}, nullptr},
        {"newplasma/jog.PNG", "Skin\\Jog.png", {}, {{1, "Skin\\Jog.png"}}, nullptr},
        {"NewPlasma\\Jog.png", "NewPlasma\\Jog.png", {}, {}, nullptr},
        {"NewPlasma\\Jog.png", "", {}, {}, "is empty"},
        {"NewPlasma\\Jog.png", "None", {}, {}, "is empty"},
        {"Elsewhere\\", "Skin", {}, {}, "No control's picture lies under the folder"},
        {"none", "x.png", {}, {}, "No control shows the picture \"none\""},
        {"\\", "x\\", {}, {}, "Name the picture path"},
        {"NewPlasma\\Jog.png", std::string(32768, 'x'), {}, {}, "32768 characters long"},
    };
    const std::vector<ControlRecord> records = WithPictures(paths);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to.substr(0, 20));
        const RelinkPlan plan = PlanRelink(records, c.from, c.to, c.only);
        if (c.refusal != nullptr) {
            EXPECT_NE(plan.Refusal.find(c.refusal), std::string::npos) << plan.Refusal;
            EXPECT_TRUE(plan.Edit.Empty());
            continue;
        }
        EXPECT_EQ(plan.Refusal, "");
        EXPECT_EQ(plan.Controls, static_cast<int>(c.changed.size()));
        std::vector<std::pair<int, std::string>> changed;
        for (const auto& [position, record] : plan.Edit.Changed) {
            changed.emplace_back(position, record.rBitMapPath);
            ControlRecord same = record;
            same.rBitMapPath = records[static_cast<std::size_t>(position - 1)].rBitMapPath;
            EXPECT_EQ(same, records[static_cast<std::size_t>(position - 1)]);
        }
        EXPECT_EQ(changed, c.changed);
    }
    EXPECT_EQ(PlanRelink(records, "NewPlasma\\", "Skin").StepText(), "Relink 3 controls");
}

TEST(RelinkTest, WhereScreensCodesKeysAndPicturesAreUsed) {
    const std::vector<ControlRecord> skinned = SkinnedLayout();
    // Every link that shows screen 4, wherever it lies.
    for (const ScreenLinkUse& use : LinksToScreen(skinned, 4)) {
        const ControlRecord& link = skinned[static_cast<std::size_t>(use.Record - 1)];
        EXPECT_TRUE(IsScreenLink(link));
        EXPECT_EQ(link.rOEMCode, 4);
        EXPECT_EQ(link.rScreen, use.OnScreen);
    }
    EXPECT_FALSE(LinksToScreen(skinned, 4).empty());
    EXPECT_TRUE(LinksToScreen(skinned, 12).empty());

    std::vector<ControlRecord> records = WithPictures(
        {"NewPlasma\\Jog.png", "Newplasma/jog.png", "None", "Other.png", "NewPlasma\\Jog.png"});
    records[0].rOEMCode = 216;
    records[0].rHotKey = 2097;
    records[2].rOEMCode = 216;
    records[3].rHotKey = 2097;
    records[4].rHotKey = -1; // no key is shared by nobody
    records[1].rHotKey = -1;
    const std::vector<AlikeControl> alike = ControlsAlike(records, 1);
    const std::vector<AlikeControl> expected = {{3, 2, SharedValue::OEMCode},
                                                {4, 3, SharedValue::HotKey},
                                                {2, 1, SharedValue::Picture},
                                                {5, 4, SharedValue::Picture}};
    EXPECT_EQ(alike, expected);
    EXPECT_TRUE(ControlsAlike(records, 2).size() == 2); // the two other spellings of its picture
    EXPECT_TRUE(ControlsAlike(records, 99).empty());
    EXPECT_EQ(ControlsShowingPicture(records, "NEWPLASMA/JOG.PNG"), (std::vector<int>{1, 2, 5}));

    // Each spelling once, in the order of first use, found where the preview finds it.
    TempDir dir;
    std::filesystem::create_directories(dir.File("NewPlasma"));
    dir.Write("NewPlasma/Jog.png", std::string(1234, 'p'));
    const PictureFinder finder({dir.Path()});
    const std::vector<PictureUse> uses = PictureUses(records, &finder);
    ASSERT_EQ(uses.size(), 3u);
    EXPECT_EQ(uses[0].Path, "NewPlasma\\Jog.png");
    EXPECT_EQ(uses[0].Records, (std::vector<int>{1, 5}));
    EXPECT_EQ(uses[0].Found, dir.File("NewPlasma/Jog.png"));
    EXPECT_EQ(uses[0].Bytes, 1234u);
    EXPECT_EQ(uses[1].Path, "Newplasma/jog.png");
    EXPECT_EQ(uses[1].Found, dir.File("NewPlasma/Jog.png"));
    EXPECT_EQ(uses[2].Path, "Other.png");
    EXPECT_EQ(uses[2].Found, "");
    EXPECT_FALSE(uses[2].Bytes);
}

} // namespace
