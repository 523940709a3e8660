// The scene of a screen: which controls it holds and in what order they are painted, the
// Persistent screen's controls on the others, what each kind shows, the DRO formats (hostile ones
// never reach printf) and the link badges.

#include <gtest/gtest.h>

#include <algorithm>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "preview/ControlTexts.h"
#include "preview/ScreenScene.h"

namespace {

ControlRecord Background(int32_t screen) {
    ControlRecord r = MakeControl(ControlKind::Bitmap, screen, 0, 0, 1027, 729);
    r.rBitMapPath = "MillBitmaps\\BackgroundMain.jpg";
    r.rText = "None";
    return r;
}

class ScreenSceneTest : public ::testing::Test {
protected:
    ScreenScene Scene(const std::vector<ControlRecord>& records, int screen,
                      SceneOptions options = {}) {
        cLayoutProbe::Adopt(Layout, records);
        return BuildScreenScene(Layout, screen, options);
    }
    ScriptedDialogs Dialogs;
    cLayout Layout{Dialogs};
};

std::vector<int> Positions(const ScreenScene& scene) {
    std::vector<int> positions;
    for (const SceneItem& item : scene.Items)
        positions.push_back(item.Position);
    return positions;
}

// A screen built as real ones are: the background picture late in record order, after the DROs;
// a bitmap after a bitmap button; screen 0's logo, late background and label.
TEST_F(ScreenSceneTest, PicturesLieBeneathTheOtherControlsWhateverTheirRecordOrder) {
    ControlRecord tab = MakeScreenButton(1, 2, "None");
    tab.rType = ControlKind::BitmapButton;
    tab.rBitMapPath = "Skin\\Tab.png";
    tab.rX1 = 100, tab.rY1 = 390, tab.rX2 = 240, tab.rY2 = 450;
    ControlRecord logo = MakeControl(ControlKind::Bitmap, 0, 900, 0, 1020, 40);
    logo.rBitMapPath = "MillBitmaps\\Logo.png";
    struct Row {
        const char* what;
        ControlRecord record;
        int paintedAs; // 0 not drawn on screen 1; else its place in painting order
    };
    const Row rows[] = {
        {"screen 0's label", MakeScreenLabel(0, "Persistent"), 0},
        {"screen 0's logo", logo, 3},
        {"screen 0's button", MakeControl(ControlKind::Button, 0, 600, 700, 700, 740), 10},
        {"the screen's label", MakeScreenLabel(1, "Program Run"), 4},
        {"a DRO", MakeDRO(1, 1, 100, 100), 5},
        {"another DRO", MakeDRO(1, 1, 100, 140), 6},
        {"a bitmap button", tab, 7},
        {"a bitmap after it", MakeControl(ControlKind::Bitmap, 1, 120, 400, 220, 440), 1},
        {"the G-code window", MakeControl(ControlKind::GCodeWindow, 1, 300, 100, 700, 400), 8},
        {"the late background", Background(1), 2},
        {"screen 0's late background", Background(0), 0},
        {"the toolpath", MakeControl(ControlKind::ToolpathDisplay, 1, 700, 100, 1000, 400), 9},
    };
    std::vector<ControlRecord> records;
    std::vector<int> expected(std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        records.push_back(rows[i].record);
        if (rows[i].paintedAs > 0)
            expected[static_cast<std::size_t>(rows[i].paintedAs - 1)] = int(i) + 1;
    }
    expected.erase(std::remove(expected.begin(), expected.end(), 0), expected.end());
    const ScreenScene one = Scene(records, 1);
    EXPECT_EQ(Positions(one), expected);
    EXPECT_EQ(one.Label, "Program Run");
    for (const SceneItem& item : one.Items) {
        SCOPED_TRACE(rows[item.Position - 1].what);
        EXPECT_EQ(item.Persistent, records[std::size_t(item.Position - 1)].rScreen == 0);
        EXPECT_EQ(item.Background, item.Position == 10);
    }

    // Hovering finds what is painted last at a point: the DRO, not the background over it.
    EXPECT_EQ(one.ItemAt(110, 110)->Position, 5);
    EXPECT_EQ(one.ItemAt(150, 420)->Position, 7) << "the bitmap button over the later bitmap";
    EXPECT_EQ(one.ItemAt(950, 20)->Position, 2) << "screen 0's logo over the background";
    EXPECT_EQ(one.ItemAt(650, 720)->Position, 3);
    EXPECT_EQ(one.ItemAt(500, 600)->Position, 10);
    EXPECT_EQ(one.ItemAt(1030, 10), nullptr);

    EXPECT_EQ(Positions(BuildScreenScene(Layout, 1, {.ShowPersistent = false})),
              (std::vector<int>{8, 10, 4, 5, 6, 7, 9, 12}));
    EXPECT_EQ(Positions(BuildScreenScene(Layout, 0)), (std::vector<int>{2, 11, 1, 3}))
        << "screen 0 itself, with its own backgrounds";
    EXPECT_EQ(BuildScreenScene(Layout, 9).Size, (Resolution{640, 480})) << "an empty screen";
}

TEST_F(ScreenSceneTest, OnlyLinksToTheLayoutsScreensCarryABadge) {
    struct Case {
        int32_t type, target;
        bool badge;
    };
    const Case cases[] = {
        {ControlKind::Button, 0, true},         {ControlKind::Button, 15, true},
        {ControlKind::Button, 16, false},       {ControlKind::Button, 216, false},
        {ControlKind::BitmapButton, 0, true},   {ControlKind::BitmapButton, 15, true},
        {ControlKind::BitmapButton, 16, false}, {ControlKind::BitmapButton, 216, false},
        {ControlKind::Button, -1, false},       {ControlKind::DRO, 5, false},
    };
    std::vector<ControlRecord> records;
    for (const Case& c : cases) {
        ControlRecord r = MakeScreenButton(1, c.target, "Open G-code file");
        r.rType = c.type;
        records.push_back(r);
    }
    const ScreenScene scene = Scene(records, 1);
    ASSERT_EQ(scene.Items.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const SceneItem& item = scene.Items[i];
        SCOPED_TRACE(KindName(cases[i].type) + " to " + std::to_string(cases[i].target));
        EXPECT_EQ(item.LinkTarget.has_value(), cases[i].badge);
        if (cases[i].badge) {
            EXPECT_EQ(*item.LinkTarget, cases[i].target);
        }
        EXPECT_EQ(item.OEMCode, cases[i].target) << "the tooltip's OEM code";
    }
    EXPECT_EQ(LinkBadgeText(5), "\xE2\x86\x92 5");
}

struct KindCase {
    const char* name;
    ControlRecord record;
    ItemShape shape;
    std::string text;
};

ControlRecord With(ControlRecord r, void (*change)(ControlRecord&)) {
    change(r);
    return r;
}

TEST_F(ScreenSceneTest, EachKindShowsItsShapeAndText) {
    const ControlRecord button = MakeControl(ControlKind::Button, 1);
    const ControlRecord label = MakeControl(ControlKind::Label, 1);
    const ControlRecord dro = MakeControl(ControlKind::DRO, 1);
    const KindCase cases[] = {
        {"button", With(button, [](ControlRecord& r) { r.rText = "Cycle Start"; }),
         ItemShape::RaisedBox, "Cycle Start"},
        {"button None", With(button, [](ControlRecord& r) { r.rText = "None"; }),
         ItemShape::RaisedBox, ""},
        {"label text", With(label, [](ControlRecord& r) { r.rLabel = "unused"; }), ItemShape::Text,
         "ctl"},
        {"label None falls back",
         With(label,
              [](ControlRecord& r) {
                  r.rText = "None";
                  r.rLabel = "Spindle";
              }),
         ItemShape::Text, "Spindle"},
        {"label empty falls back",
         With(label,
              [](ControlRecord& r) {
                  r.rText = "";
                  r.rLabel = "Feed";
              }),
         ItemShape::Text, "Feed"},
        {"label both None",
         With(label,
              [](ControlRecord& r) {
                  r.rText = "None";
                  r.rLabel = "None";
              }),
         ItemShape::Text, ""},
        {"screen label",
         With(label,
              [](ControlRecord& r) {
                  r.rText = "None";
                  r.rLabel = "\xA7Offsets";
              }),
         ItemShape::Title, "Offsets"},
        {"DRO", With(dro, [](ControlRecord& r) { r.rFormat = "%+.4f"; }), ItemShape::SunkenBox,
         "+0.0000"},
        {"DRO hostile", With(dro, [](ControlRecord& r) { r.rFormat = "%s%n"; }),
         ItemShape::SunkenBox, "0.0000"},
        {"LED", MakeControl(ControlKind::LED, 1), ItemShape::Lamp, ""},
        {"bitmap without picture", MakeControl(ControlKind::Bitmap, 1), ItemShape::Picture, ""},
        {"bitmap button hot spot",
         With(MakeControl(ControlKind::BitmapButton, 1),
              [](ControlRecord& r) { r.rText = "Text"; }),
         ItemShape::HotSpot, ""},
        {"bitmap button whose picture is not found",
         With(MakeControl(ControlKind::BitmapButton, 1),
              [](ControlRecord& r) {
                  r.rText = "Cycle Start";
                  r.rBitMapPath = "Skin\\Start.png";
              }),
         ItemShape::HotSpot, ""},
        {"button with picture keeps its caption",
         With(button, [](ControlRecord& r) { r.rBitMapPath = "Skin\\Start.png"; }),
         ItemShape::Picture, "ctl"},
        {"LED with a missing picture stays a lamp",
         With(MakeControl(ControlKind::LED, 1),
              [](ControlRecord& r) { r.rBitMapPath = "MillBitmaps\\BoxLEDGreen.bmp"; }),
         ItemShape::Lamp, ""},
        {"scroll bar", MakeControl(ControlKind::ScrollBar, 1), ItemShape::Panel, "Scroll bar"},
        {"jog ball", MakeControl(ControlKind::JogBall, 1), ItemShape::Panel, "Jog ball"},
        {"MDI line", MakeControl(ControlKind::MDILine, 1), ItemShape::Panel, "MDI line"},
        {"G-code window", MakeControl(ControlKind::GCodeWindow, 1), ItemShape::Panel,
         "G-code window"},
        {"toolpath", MakeControl(ControlKind::ToolpathDisplay, 1), ItemShape::Panel,
         "Toolpath display"},
        {"unknown kind", MakeControl(42, 1), ItemShape::Unknown, "Kind 42"},
        {"kind 0", MakeControl(0, 1), ItemShape::Unknown, "Kind 0"},
    };
    std::vector<ControlRecord> records;
    for (const KindCase& c : cases)
        records.push_back(c.record);
    const ScreenScene scene = Scene(records, 1, {.ShowPersistent = false});
    ASSERT_EQ(scene.Items.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const SceneItem* item = scene.ItemOfRecord(static_cast<int>(i) + 1);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Shape, cases[i].shape);
        EXPECT_EQ(item->Text, cases[i].text);
    }
    EXPECT_EQ(scene.Label, "Offsets");
    const SceneItem& startButton = *scene.ItemOfRecord(13);
    EXPECT_EQ(startButton.PictureFileName, "Start.png");
    EXPECT_TRUE(startButton.PicturePath.empty()) << "no finder: nothing is found";
    EXPECT_TRUE(startButton.MissingAsHotSpot);
    EXPECT_TRUE(scene.ItemOfRecord(11)->PictureName.empty()) << "a bitmap that names no picture";
}

TEST_F(ScreenSceneTest, LampColourFollowsRColorAndKeysAreNamed) {
    std::vector<ControlRecord> records;
    for (int32_t colour : {0, 1, 2, 3, -1}) {
        records.push_back(MakeControl(ControlKind::LED, 1));
        records.back().rColor = colour;
    }
    records.push_back(MakeScreenButton(1, 5, "Offsets", 116));
    records.push_back(MakeScreenButton(1, 5, "Offsets", -1));
    records.back().rType = ControlKind::BitmapButton;

    const ScreenScene scene = Scene(records, 1);
    const uint32_t lamps[] = {SceneColour::LampGreen, SceneColour::LampRed, SceneColour::LampYellow,
                              SceneColour::LampGrey, SceneColour::LampGrey};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(scene.Items[i].Fill, lamps[i]) << i;
    EXPECT_EQ(scene.Items[5].KeyText, "F5");
    EXPECT_EQ(scene.Items[6].KeyText, "") << "-1 is no key, as the check reads it";
}

TEST(DROFormatTest, AcceptedFormatsPrintAsPrintfWould) {
    const std::pair<const char*, const char*> cases[] = {
        {"%+.4f", "+0.0000"},   {"%.0f", "0"},
        {"%4.2f", "0.00"},      {"%+4.4f", "+0.0000"},
        {"%8.3f", "   0.000"},  {"%-8.3f", "0.000   "},
        {"%08.3f", "0000.000"}, {"%+08.2f", "+0000.00"},
        {"% .1f", " 0.0"},      {"%#.0f", "0."},
        {"%f", "0.000000"},     {"%.2e", "0.00e+00"},
        {"%e", "0.000000e+00"}, {"%g", "0"},
        {"%#.3g", "0.00"},      {" %.3f ", "0.000"},
        {"%64.0f", nullptr},
    };
    for (const auto& [format, expected] : cases) {
        SCOPED_TRACE(format);
        const std::string shown = DROZeroText(format);
        if (expected)
            EXPECT_EQ(shown, expected);
        else
            EXPECT_EQ(shown, std::string(63, ' ') + "0");
    }
    // Values other than zero, for the tool and the check that will show real readings.
    const DROFormat g3 = *ParseDROFormat("%.3g");
    EXPECT_EQ(FormatDRO(g3, 1234.5), "1.23e+03");
    EXPECT_EQ(FormatDRO(g3, 0.5), "0.5");
    EXPECT_EQ(FormatDRO(g3, 0.00001234), "1.23e-05");
    EXPECT_EQ(FormatDRO(*ParseDROFormat("%+.4f"), -1.25), "-1.2500");
    EXPECT_EQ(FormatDRO(*ParseDROFormat("%09.2f"), -3.5), "-00003.50");
}

TEST(DROFormatTest, AnythingElseShowsTheFallbackAndNeverReachesPrintf) {
    const std::string hostile[] = {
        "%s",
        "%n",
        "%999999f",
        "%",
        "",
        "None",
        "%d",
        "%x",
        "%lf",
        "%.4F",
        "%%",
        "%f%f",
        "%.4fmm",
        "x%f",
        "%*f",
        "%.*f",
        "%1$f",
        "%65f",
        "%.18f",
        "%.99999999999999999999f",
        "%5",
        "%.f%n",
        std::string(300, 'A'),
        "%" + std::string(298, '9') + "f",
        std::string("%\0f", 3),
    };
    for (const std::string& format : hostile) {
        SCOPED_TRACE(format);
        EXPECT_FALSE(ParseDROFormat(format).has_value());
        EXPECT_EQ(DROZeroText(format), "0.0000");
    }
}

} // namespace
