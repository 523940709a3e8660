// The screen preview of a sample layout: pixels of a button, a picture and the background,
// hovering, highlighting, saving as PNG and SVG, the pictures folder, files that are no
// pictures; and the SVG parsed back as XML.

#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>

#include <filesystem>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "layout/cLayout.h"
#include "preview/SvgWriter.h"
#include "ui/widgets/CodePage.h"
#include "ui/canvas/CanvasHits.h"
#include "ui/canvas/PictureCache.h"
#include "ui/session/PreviewSettings.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

bool Near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string Hex(QRgb c) {
    return QColor(c).name().toStdString();
}

QRgb SamplePixel(const char* picture, int x, int y) {
    const QImage image(QString::fromStdString(SamplePath("SampleBitmaps/") + picture));
    EXPECT_FALSE(image.isNull()) << picture;
    return image.pixel(x, y);
}

int PositionOf(const cLayout& layout, int screen, int32_t type, int32_t x1, int32_t y1) {
    const auto records = layout.Records();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].rScreen == screen && records[i].rType == type && records[i].rX1 == x1 &&
            records[i].rY1 == y1)
            return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no such record";
    return 0;
}

class ScreenPreviewTest : public ::testing::Test {
protected:
    ScreenPreviewTest() {
        SetPicturesFolderSetting("");
        Dialogs.Answer(MsgAnswer::OK); // mill.set has a duplicate screen label
        EXPECT_TRUE(Mill.LoadLayout(SamplePath("mill.set")));
        Preview.resize(840, 680);
        Preview.show();
    }
    ~ScreenPreviewTest() override { SetPicturesFolderSetting(""); }

    QRgb PixelAt(const QImage& grab, QPointF scenePoint) {
        const QPointF at = Preview.FromScene(scenePoint);
        return grab.pixel(static_cast<int>(at.x()), static_cast<int>(at.y()));
    }

    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    cLayout Mill{Dialogs};
    ScreenPreview Preview{Files, Dialogs};
    TempDir Dir;
};

TEST_F(ScreenPreviewTest, ASampleScreenShowsItsButtonsPicturesAndBackground) {
    Preview.ShowScreen(Mill, 1);
    EXPECT_EQ(Preview.Caption(), "Screen 1: Program Run");
    EXPECT_EQ(Preview.Scene().Size, (Resolution{800, 600}));
    const QImage grab = Preview.grab().toImage();
    // "Go Offsets", a plain button at 20,380, above its caption.
    EXPECT_TRUE(Near(PixelAt(grab, {24, 384}), SceneQColor(SceneColour::ButtonFace).rgb()))
        << Hex(PixelAt(grab, {24, 384}));
    // Cycle Start, a bitmap button at 20,340 showing CycleStart.bmp at its own size.
    EXPECT_TRUE(Near(PixelAt(grab, {28, 350}), SamplePixel("CycleStart.bmp", 8, 10)))
        << Hex(PixelAt(grab, {28, 350}));
    EXPECT_TRUE(Near(PixelAt(grab, {66, 356}), qRgb(255, 255, 255), 40)) << "its white arrow";
    // Open background between the DROs and the MDI line: Background.bmp, 800 / 256 times.
    EXPECT_TRUE(Near(PixelAt(grab, {150, 250}), SamplePixel("Background.bmp", 48, 80)))
        << Hex(PixelAt(grab, {150, 250}));

    // The same at 1:1, as the PNG is saved.
    const QImage full = Preview.RenderImage();
    EXPECT_EQ(full.size(), QSize(800, 600));
    EXPECT_TRUE(Near(full.pixel(28, 350), SamplePixel("CycleStart.bmp", 8, 10)));
    EXPECT_TRUE(Near(full.pixel(150, 250), SamplePixel("Background.bmp", 48, 80)));
}

TEST_F(ScreenPreviewTest, HoverTellsWhatAControlIsAndOneRecordCanBeHighlighted) {
    Preview.ShowScreen(Mill, 8);
    const int hotSpot = PositionOf(Mill, 8, ControlKind::BitmapButton, 120, 400);
    const QString tip = Preview.ToolTipAt(Preview.FromScene({160, 420}).toPoint());
    EXPECT_EQ(tip.toStdString(), "Bitmap button, record " + std::to_string(hotSpot) +
                                     "\nRectangle 120,400 - 210,432\nFunction 32, OEM code 1"
                                     "\nKey Alt+1 (code 2097)\nShows screen 1");
    const QString persistent = Preview.ToolTipAt(Preview.FromScene({740, 20}).toPoint());
    EXPECT_TRUE(persistent.startsWith("Bitmap button, record ")) << persistent.toStdString();
    EXPECT_TRUE(persistent.contains("(Persistent screen)"));
    EXPECT_TRUE(persistent.contains(
        "Picture " + QFileInfo(QString::fromStdString(SamplePath("SampleBitmaps/Reset.bmp")))
                         .absoluteFilePath()))
        << persistent.toStdString();
    EXPECT_TRUE(Preview.ToolTipAt(QPoint(1, 1)).isEmpty()) << "the caption is no control";

    EXPECT_TRUE(Preview.HighlightRecord(hotSpot));
    const QImage grab = Preview.grab().toImage();
    EXPECT_TRUE(Near(PixelAt(grab, {119, 416}), SceneQColor(SceneColour::Highlight).rgb(), 30));
    EXPECT_FALSE(Preview.HighlightRecord(PositionOf(Mill, 1, ControlKind::BitmapButton, 20, 340)))
        << "a record of another screen";
    EXPECT_EQ(Preview.HighlightedRecord(), 0);

    Preview.SetShowPersistent(false);
    EXPECT_TRUE(Preview.ToolTipAt(Preview.FromScene({740, 20}).toPoint()).startsWith("Bitmap, "))
        << "the background, once the Persistent controls are hidden";
}

TEST_F(ScreenPreviewTest, SavesThePictureAsPngOrSvgAndSaysWhenItCannot) {
    Preview.ShowScreen(Mill, 1);
    Files.Choose(Dir.File("one.png"));
    ASSERT_TRUE(Preview.SavePicture());
    ASSERT_EQ(Files.Shown().size(), 1u);
    EXPECT_TRUE(Files.Shown()[0].save);
    EXPECT_EQ(Files.Shown()[0].setup.DialogTitle, "Save picture");
    EXPECT_EQ(Files.Shown()[0].setup.FileName, "mill-screen1.png");
    EXPECT_EQ(Files.Shown()[0].setup.InitDir,
              QFileInfo(QStringLiteral(QUILL_SAMPLES_DIR)).absoluteFilePath().toStdString());
    const QImage png(QString::fromStdString(Dir.File("one.png")));
    ASSERT_EQ(png.size(), QSize(800, 600));
    EXPECT_TRUE(Near(png.pixel(28, 350), SamplePixel("CycleStart.bmp", 8, 10)));

    // The SVG carries its pictures, so it shows them wherever it is sent.
    Files.Choose(Dir.File("one.SVG"));
    ASSERT_TRUE(Preview.SavePicture());
    const std::string svg = ReadBytes(Dir.File("one.SVG"));
    EXPECT_NE(svg.find("xlink:href=\"data:image/bmp;base64,"), std::string::npos);
    EXPECT_EQ(svg.find("file:"), std::string::npos);
    EXPECT_EQ(svg.find("SampleBitmaps"), std::string::npos);

    Files.Cancel();
    EXPECT_FALSE(Preview.SavePicture());
    EXPECT_TRUE(Dialogs.Shown().size() == 1u) << "only the duplicate label of opening";

    Files.Choose(Dir.File("no/such/folder/x.png"));
    Dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(Preview.SavePicture());
    EXPECT_EQ(Dialogs.Last().prompt.rfind(
                  "Cannot save the picture \"" + Dir.File("no/such/folder/x.png") + "\": ", 0),
              0u)
        << Dialogs.Last().prompt;
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
}

// Real screens: the background picture late in record order, a skin's bitmap buttons.
TEST_F(ScreenPreviewTest, PicturesLieBeneathAndBitmapButtonsShowTheirPictureAlone) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::filesystem::create_directories(Dir.File("MillBitmaps"));
    std::filesystem::copy_file(SamplePath("SampleBitmaps/Background.bmp"),
                               Dir.File("MillBitmaps/BackgroundMain.bmp"));
    std::filesystem::copy_file(SamplePath("SampleBitmaps/CycleStart.bmp"),
                               Dir.File("MillBitmaps/CycleStart.bmp"));
    ControlRecord dro = MakeDRO(1, 1, 100, 100);
    dro.rX2 = 300, dro.rY2 = 140;
    ControlRecord start = MakeScreenButton(1, 2, "Text");
    start.rType = ControlKind::BitmapButton;
    start.rBitMapPath = "MillBitmaps\\CycleStart.bmp";
    start.rX1 = 400, start.rY1 = 100, start.rX2 = 490, start.rY2 = 132;
    ControlRecord hotSpot = start;
    hotSpot.rBitMapPath = "None";
    hotSpot.rY1 = 300, hotSpot.rY2 = 332;
    ControlRecord open = MakeScreenButton(1, 216, "Open G-code file");
    open.rX1 = 600, open.rY1 = 600, open.rX2 = 800, open.rY2 = 650;
    ControlRecord background = MakeControl(ControlKind::Bitmap, 1, 0, 0, 1027, 729);
    background.rBitMapPath = "MillBitmaps\\BackgroundMain.bmp";
    cLayoutProbe::Adopt(layout, {dro, start, hotSpot, background, open}, Dir.File("real.set"));
    Preview.ShowScreen(layout, 1);
    ASSERT_FALSE(Preview.Scene().Items[0].PicturePath.empty()) << "the background is found";

    const QImage full = Preview.RenderImage();
    ASSERT_EQ(full.size(), QSize(1024, 768));
    // The DRO, its record before the background's, lies over it.
    EXPECT_TRUE(Near(full.pixel(110, 104), SceneQColor(SceneColour::DROFace).rgb()))
        << Hex(full.pixel(110, 104));
    // The bitmap button shows its picture and no caption: the middle of the picture, where a
    // caption would be written, is the picture's own.
    for (const QPoint p : {QPoint(408, 110), QPoint(445, 116), QPoint(430, 120)})
        EXPECT_TRUE(
            Near(full.pixel(p), SamplePixel("CycleStart.bmp", p.x() - 400, p.y() - 100), 12))
            << p.x() << "," << p.y() << " " << Hex(full.pixel(p));
    // Without a picture it is the host's invisible hot spot: the background shows through.
    const QImage backgroundPicture(Dir.File("MillBitmaps/BackgroundMain.bmp").c_str());
    const auto underneath = [&](int x, int y) {
        return backgroundPicture.pixel(x * 256 / 1027, y * 192 / 729);
    };
    EXPECT_TRUE(Near(full.pixel(445, 316), underneath(445, 316), 24)) << Hex(full.pixel(445, 316));

    // A button of function 32 whose OEM code names no screen of the layout runs that code.
    const QString tip = Preview.ToolTipAt(Preview.FromScene({700, 620}).toPoint());
    EXPECT_TRUE(tip.contains("OEM code 216")) << tip.toStdString();
    EXPECT_FALSE(tip.contains("Shows screen")) << tip.toStdString();

    // Hovering the DRO finds the DRO, the topmost painted there.
    EXPECT_TRUE(
        Preview.ToolTipAt(Preview.FromScene({110, 110}).toPoint()).startsWith("DRO, record 1"));
}

TEST_F(ScreenPreviewTest, ThePicturesFolderIsRememberedAndABadFileDrawsAsMissing) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    ControlRecord bad = MakeControl(ControlKind::Bitmap, 1, 0, 0, 400, 300);
    bad.rBitMapPath = "Skin\\Fake.png";
    ControlRecord good = MakeControl(ControlKind::Bitmap, 1, 400, 300, 490, 332);
    good.rBitMapPath = "Skin\\CycleStart.bmp";
    cLayoutProbe::Adopt(layout, {bad, good}, Dir.File("layouts/skin.set"));
    std::filesystem::create_directories(Dir.File("pictures"));
    Dir.Write("pictures/fake.png", std::string(5000, 'x'));
    std::filesystem::copy_file(SamplePath("SampleBitmaps/CycleStart.bmp"),
                               Dir.File("pictures/cyclestart.BMP"));
    Preview.ShowScreen(layout, 1);
    EXPECT_EQ(Preview.Scene().Items[1].PicturePath, "") << "no pictures folder yet";

    Files.Choose(Dir.File("pictures"));
    ASSERT_TRUE(Preview.ChoosePicturesFolder());
    EXPECT_TRUE(Files.Shown().back().folder);
    EXPECT_EQ(PicturesFolderSetting(), Dir.File("pictures"));
    ASSERT_EQ(Preview.Scene().Items[1].PicturePath, Dir.File("pictures/cyclestart.BMP"));
    EXPECT_EQ(Preview.Scene().Items[0].PicturePath, Dir.File("pictures/fake.png"));

    const QImage full = Preview.RenderImage();
    const QRgb missing = SceneQColor(SceneColour::Missing).rgb();
    const QRgb hatched =
        qRgb(qRed(missing) * 185 / 255, qGreen(missing) * 185 / 255, qBlue(missing) * 185 / 255);
    for (QPoint p : {QPoint(100, 100), QPoint(101, 100), QPoint(102, 100), QPoint(103, 100)})
        EXPECT_TRUE(Near(full.pixel(p), missing, 8) || Near(full.pixel(p), hatched, 8))
            << Hex(full.pixel(p));
    EXPECT_TRUE(Near(full.pixel(408, 310), SamplePixel("CycleStart.bmp", 8, 10)));
    EXPECT_TRUE(
        Preview.ToolTipAt(Preview.FromScene({50, 50}).toPoint()).contains("cannot be read"));

    // Another preview made later finds the same folder.
    ScreenPreview later(Files, Dialogs);
    later.ShowScreen(layout, 1);
    EXPECT_EQ(later.Scene().Items[1].PicturePath, Dir.File("pictures/cyclestart.BMP"));
}

TEST_F(ScreenPreviewTest, NothingARecordHoldsStopsThePainting) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::filesystem::copy_file(SamplePath("SampleBitmaps/Background.bmp"), Dir.File("bg.bmp"));
    std::vector<ControlRecord> records;
    const int32_t extremes[] = {INT32_MIN, -4096, 0, 1, 1027, 40000, INT32_MAX};
    int32_t kind = 0;
    for (int32_t a : extremes)
        for (int32_t b : extremes) {
            ControlRecord r = MakeControl(kind++ % 13, 1, a, b, b, a);
            r.rText = std::string(32767, 'W');
            r.rBitMapPath = kind % 2 == 0 ? "bg.bmp" : std::string(32767, '\\');
            r.rFormat = std::string(32767, '%');
            r.rHotKey = a;
            records.push_back(r);
        }
    cLayoutProbe::Adopt(layout, records, Dir.File("hostile.set"));
    Preview.ShowScreen(layout, 1);
    EXPECT_EQ(Preview.Scene().Size, (Resolution{3840, 2160})) << "outside every resolution";
    EXPECT_FALSE(Preview.grab().toImage().isNull());
    EXPECT_EQ(Preview.RenderImage().size(), QSize(3840, 2160));
    EXPECT_FALSE(Preview.ToolTipAt(Preview.FromScene({100, 100}).toPoint()).isEmpty());
}

// --- SVG

struct SvgElement {
    QString name, id, classes, text;
};

// Every element of the document, or a failure with the parser's message.
std::vector<SvgElement> ParseSvg(const std::string& svg) {
    QXmlStreamReader reader(QByteArray::fromStdString(svg));
    std::vector<SvgElement> elements;
    std::vector<std::size_t> open;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            open.push_back(elements.size());
            elements.push_back({reader.name().toString(),
                                reader.attributes().value("id").toString(),
                                reader.attributes().value("class").toString(),
                                {}});
        } else if (reader.isEndElement()) {
            open.pop_back();
        } else if (reader.isCharacters() && !open.empty()) {
            elements[open.back()].text += reader.text();
        }
    }
    EXPECT_FALSE(reader.hasError())
        << reader.errorString().toStdString() << " at line " << reader.lineNumber();
    return elements;
}

TEST(SvgWriterTest, WellFormedOneElementPerControlTextsEscapedAndInUtf8) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::string high;
    for (int b = 128; b <= 255; ++b)
        high.push_back(static_cast<char>(b));
    std::vector<ControlRecord> records;
    for (int32_t kind = 0; kind <= 12; ++kind)
        records.push_back(MakeControl(kind, kind == 0 ? 0 : 1, 10 * kind, 10 * kind));
    records[4].rText = "a<b & \"c\" 'd' >\x01\x1F\r\nx"; // a button
    records[7].rText = high;                             // a label
    records[7].rLabel = "\xA7Tool <&> \xE9t\xE9";        // and the screen's name
    records[3].rBitMapPath = "Skin\\<&>.png";            // a missing picture named oddly
    records[8].rText = "Text"; // a bitmap button: the host shows none of it
    records[1].rFormat = "%s</text>";
    cLayoutProbe::Adopt(layout, records);
    const ScreenScene scene = BuildScreenScene(layout, 1);
    ASSERT_EQ(scene.Items.size(), 13u) << "twelve of screen 1 and one Persistent";

    const std::vector<SvgElement> elements = ParseSvg(WriteSceneSvg(scene).Text);
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements[0].name, "svg");
    std::vector<const SvgElement*> controls;
    for (const SvgElement& e : elements)
        if (e.classes.split(' ').contains("control")) controls.push_back(&e);
    ASSERT_EQ(controls.size(), scene.Items.size());
    for (std::size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(controls[i]->id.toStdString(),
                  "record-" + std::to_string(scene.Items[i].Position))
            << "in painting order";
    EXPECT_TRUE(controls.back()->classes.contains("persistent"));

    const auto textOf = [&](int position) {
        const std::string id = "record-" + std::to_string(position);
        QString text;
        bool inside = false;
        for (const SvgElement& e : elements) {
            if (e.name == "svg" && !e.id.isEmpty())
                inside = e.id.toStdString() == id;
            else if (inside && e.name == "text")
                text += e.text;
        }
        return text;
    };
    EXPECT_EQ(textOf(5), QString::fromUtf8("a<b & \"c\" 'd' >\xEF\xBF\xBD\xEF\xBF\xBD  x"));
    EXPECT_EQ(textOf(8), FromCodePage(high)) << "as Qt's converter reads the code page";
    EXPECT_TRUE(textOf(8).startsWith(QString::fromUtf8("\xE2\x82\xAC"))) << "0x80 is the euro";
    EXPECT_EQ(textOf(4), "<&>.png");
    EXPECT_EQ(textOf(9), "");
    EXPECT_EQ(textOf(2), "0.0000");
    EXPECT_EQ(elements[1].name, "title");
    EXPECT_EQ(elements[1].text, QString::fromUtf8("Screen 1: Tool <&> \xC3\xA9t\xC3\xA9"));
}

TEST(SvgWriterTest, LinkedPicturesAreNamedRelativeToTheSvgAndPictureFilesBySniffing) {
    ScreenScene scene;
    SceneItem item;
    item.Shape = ItemShape::Picture;
    item.Kind = ControlKind::Bitmap;
    item.Rect = {0, 0, 10, 10};
    item.PicturePath = "/data/screens/Skin/a b.png";
    scene.Items = {item, item};
    const auto href = [&](const std::string& folder) {
        const SvgDocument svg = WriteSceneSvg(scene, {SvgPictures::Linked, folder});
        EXPECT_EQ(svg.PictureFiles, 1) << "one file, written once for both controls";
        const std::size_t at = svg.Text.find("<image id=\"picture-1\"");
        const std::size_t start = svg.Text.find("xlink:href=\"", at) + 12;
        return svg.Text.substr(start, svg.Text.find('"', start) - start);
    };
    EXPECT_EQ(href("/data/screens"), "Skin/a%20b.png");
    EXPECT_EQ(href("/data/screens/"), "Skin/a%20b.png");
    EXPECT_EQ(href("/data/other/deeper"), "../../screens/Skin/a%20b.png");
    EXPECT_EQ(href(""), "file:///data/screens/Skin/a%20b.png");
    EXPECT_EQ(PictureUri("C:\\Korvo\\x.png"), "file:///C:/Korvo/x.png");
    EXPECT_EQ(PictureUri("/home/j\xC3\xBCrgen/#1.png"), "file:///home/j%C3%BCrgen/%231.png");

    const std::pair<std::string, const char*> types[] = {
        {"\xFF\xD8\xFF\xE0", "image/jpeg"},
        {"\x89PNG\r\n\x1A\n", "image/png"},
        {"GIF89a", "image/gif"},
        {"BM" + std::string(24, '\0'), "image/bmp"},
        {"BM", ""},
        {"<svg>", ""},
        {"", ""},
    };
    for (const auto& [bytes, type] : types)
        EXPECT_EQ(PictureMimeType(bytes), type);
}

} // namespace

// The hit test and click rule the preview and the editing view share.
TEST(CanvasHitsTest, TopmostFirstPersistentSkippedThinControlsWidenedAndClicksSelect) {
    ScreenScene scene;
    const auto item = [](int position, SceneRect rect, bool persistent = false) {
        SceneItem i;
        i.Position = position;
        i.Rect = rect;
        i.Persistent = persistent;
        return i;
    };
    scene.Items = {item(1, {0, 0, 100, 100}), item(2, {10, 10, 50, 50}),
                   item(3, {20, 20, 40, 40}, true), item(4, {70, 10, 71, 60})};
    const auto positions = [&](QPointF at, HitRules rules) {
        std::vector<int> out;
        for (const SceneItem* i : ItemsUnder(scene, at, rules))
            out.push_back(i->Position);
        return out;
    };
    struct Case {
        QPointF At;
        HitRules Rules;
        std::vector<int> Expected;
    };
    const Case cases[] = {
        {{30, 30}, {}, {3, 2, 1}},                 // painting order reversed
        {{30, 30}, {true, 0}, {2, 1}},             // the Persistent screen's control is not picked
        {{100, 50}, {}, {}},                       // the far edge lies outside
        {{72, 30}, {}, {1}},                       // beside a one-pixel line
        {{72, 30}, {true, 4}, {4, 1}},             // the line widened to four pixels
        {{-1, -1}, {true, 4}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(positions(c.At, c.Rules), c.Expected) << c.At.x() << "," << c.At.y();
    EXPECT_EQ(ItemUnder(scene, {30, 30}, {true, 0})->Position, 2);
    EXPECT_EQ(ItemUnder(scene, {200, 30}, {}), nullptr);

    EXPECT_EQ(SelectionAfterClick({1, 2}, 3, false), (std::vector<int>{3}));
    EXPECT_EQ(SelectionAfterClick({1, 2}, 0, false), (std::vector<int>{}));
    EXPECT_EQ(SelectionAfterClick({1, 2}, 3, true), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SelectionAfterClick({1, 2}, 1, true), (std::vector<int>{2}));
    EXPECT_EQ(SelectionAfterClick({1, 2}, 0, true), (std::vector<int>{1, 2}));
}
