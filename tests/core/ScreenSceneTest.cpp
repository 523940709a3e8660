// The scene of a screen: which controls it holds and in what order, the Persistent screen's
// controls on the others, what each kind shows, the DRO formats (hostile ones never reach
// printf), the key names and the link badges.

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
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

TEST_F(ScreenSceneTest, RecordOrderWithThePersistentControlsOverTheScreen) {
    const std::vector<ControlRecord> records = {
        Background(0),                              // 1: screen 0's background, not shown on 3
        MakeScreenLabel(0, "Persistent"),           // 2: names screen 0 only
        MakeScreenButton(0, 3, "Go 3", 112 + 2),    // 3
        Background(3),                              // 4
        MakeControl(ControlKind::Button, 3),        // 5
        MakeScreenLabel(3, "Tools"),                // 6
        MakeControl(ControlKind::LED, 0),           // 7
        MakeControl(ControlKind::DRO, 3, 5, 5, 60), // 8
        MakeControl(ControlKind::Button, 4),        // 9: another screen
    };
    const ScreenScene three = Scene(records, 3);
    EXPECT_EQ(Positions(three), (std::vector<int>{4, 5, 6, 8, 3, 7}));
    EXPECT_EQ(three.Label, "Tools");
    EXPECT_EQ(three.Size, (Resolution{1024, 768})) << "reaching 1027 x 729";
    for (const SceneItem& item : three.Items)
        EXPECT_EQ(item.Persistent, item.Position == 3 || item.Position == 7) << item.Position;
    EXPECT_TRUE(three.Items[0].Background);
    EXPECT_FALSE(three.Items[1].Background);

    // Topmost first: the DRO lies over the button, and a Persistent control over both.
    EXPECT_EQ(three.ItemAt(20, 20)->Position, 7);
    EXPECT_EQ(three.ItemAt(55, 25)->Position, 8);
    EXPECT_EQ(three.ItemAt(500, 500)->Position, 4);
    EXPECT_EQ(three.ItemAt(1030, 10), nullptr);

    EXPECT_EQ(Positions(BuildScreenScene(Layout, 3, {.ShowPersistent = false})),
              (std::vector<int>{4, 5, 6, 8}));
    const ScreenScene zero = BuildScreenScene(Layout, 0);
    EXPECT_EQ(Positions(zero), (std::vector<int>{1, 2, 3, 7}));
    EXPECT_EQ(zero.Label, "Persistent");
    EXPECT_EQ(BuildScreenScene(Layout, 9).Size, (Resolution{640, 480})) << "an empty screen";
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
              [](ControlRecord& r) { r.rText = "None"; }),
         ItemShape::HotSpot, ""},
        {"bitmap button with picture",
         With(MakeControl(ControlKind::BitmapButton, 1),
              [](ControlRecord& r) {
                  r.rText = "None";
                  r.rBitMapPath = "Skin\\Start.png";
              }),
         ItemShape::Picture, ""},
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
    for (std::size_t i = 0; i < scene.Items.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(scene.Items[i].Shape, cases[i].shape);
        EXPECT_EQ(scene.Items[i].Text, cases[i].text);
    }
    EXPECT_EQ(scene.Label, "Offsets");
    EXPECT_EQ(scene.Items[12].PictureFileName, "Start.png");
    EXPECT_TRUE(scene.Items[12].PicturePath.empty()) << "no finder: nothing is found";
    EXPECT_TRUE(scene.Items[10].PictureName.empty()) << "a bitmap that names no picture";
}

TEST_F(ScreenSceneTest, LampColourFollowsRColorAndLinksCarryBadgesAndKeys) {
    std::vector<ControlRecord> records;
    for (int32_t colour : {0, 1, 2, 3, -1}) {
        records.push_back(MakeControl(ControlKind::LED, 1));
        records.back().rColor = colour;
    }
    records.push_back(MakeScreenButton(1, 5, "Offsets", 116));
    ControlRecord hotSpot = MakeControl(ControlKind::BitmapButton, 1);
    hotSpot.rFunction = ScreenChangeFunction;
    hotSpot.rOEMCode = 20;
    hotSpot.rHotKey = 2097;
    records.push_back(hotSpot);
    ControlRecord notALink = MakeControl(ControlKind::DRO, 1);
    notALink.rFunction = ScreenChangeFunction;
    notALink.rOEMCode = 5;
    notALink.rHotKey = 65535;
    records.push_back(notALink);

    const ScreenScene scene = Scene(records, 1);
    const uint32_t lamps[] = {SceneColour::LampGreen, SceneColour::LampRed, SceneColour::LampYellow,
                              SceneColour::LampGrey, SceneColour::LampGrey};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(scene.Items[i].Fill, lamps[i]) << i;
    EXPECT_EQ(scene.Items[5].LinkTarget, 5);
    EXPECT_EQ(scene.Items[5].KeyText, "F5");
    EXPECT_EQ(scene.Items[6].LinkTarget, 20) << "a target beyond the layout still shows";
    EXPECT_EQ(scene.Items[6].KeyText, "Alt+1");
    EXPECT_FALSE(scene.Items[7].LinkTarget.has_value());
    EXPECT_EQ(scene.Items[7].KeyText, "");
    EXPECT_EQ(LinkBadgeText(5), "\xE2\x86\x92 5");
    EXPECT_EQ(LinkBadgeText(20), "\xE2\x86\x92 20");
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

TEST(HotKeyTextTest, KeyCodesOfRealLayouts) {
    const std::pair<int32_t, const char*> cases[] = {
        {112, "F1"},     {116, "F5"},
        {121, "F10"},    {126, "F15"},
        {32, "Space"},   {2097, "Alt+1"},
        {2124, "Alt+L"}, {34890, "Ctrl+Alt+J"},
        {65, "A"},       {13, "Enter"},
        {65535, ""},     {0, ""},
        {-4096, ""},     {127, "127"},
        {2048, "2048"},  {0x8800 + 200, "35016"},
        {-1, "-1"},      {0x10000 + 65, "65601"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(HotKeyText(code), text) << code;
}

} // namespace
