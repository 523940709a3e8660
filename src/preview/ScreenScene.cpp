#include "preview/ScreenScene.h"

#include <algorithm>
#include <string_view>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "preview/ControlTexts.h"
#include "preview/PictureFinder.h"

namespace {

std::string Shown(std::string_view text) {
    return IsNoneText(text) ? std::string() : std::string(text);
}

std::string LabelText(const ControlRecord& r) {
    if (!IsNoneText(r.rText)) return r.rText;
    return Shown(IsScreenLabel(r) ? ScreenLabelName(r) : std::string_view(r.rLabel));
}

// The text a kind shows over its picture, or in its own box.
std::string KindText(const ControlRecord& r) {
    switch (r.rType) {
    case ControlKind::Button:
        return Shown(r.rText);
    case ControlKind::Label:
        return LabelText(r);
    case ControlKind::DRO:
        return DROZeroText(r.rFormat);
    default:
        return {};
    }
}

uint32_t LampColour(int32_t rColor) {
    switch (rColor) {
    case 0:
        return SceneColour::LampGreen;
    case 1:
        return SceneColour::LampRed;
    case 2:
        return SceneColour::LampYellow;
    default:
        return SceneColour::LampGrey;
    }
}

void Colour(SceneItem& item, uint32_t fill, uint32_t ink, uint32_t edge) {
    item.Fill = fill;
    item.Ink = ink;
    item.Edge = edge;
}

void SetPanelLook(SceneItem& item) {
    item.Shape = ItemShape::Panel;
    item.Text = KindName(item.Kind);
    switch (item.Kind) {
    case ControlKind::MDILine:
        Colour(item, 0xFFFFFF, 0x303030, 0x707070);
        break;
    case ControlKind::GCodeWindow:
        Colour(item, 0xFFFFF4, 0x303030, 0x707070);
        break;
    case ControlKind::ToolpathDisplay:
        Colour(item, 0x0A0F1E, 0x50E050, 0x5080A0);
        break;
    case ControlKind::JogBall:
        Colour(item, 0x4A525C, 0xE0E0E0, 0x9AA4B0);
        break;
    default:
        Colour(item, 0xB8B8B8, 0x202020, 0x606060);
        break; // scroll bar
    }
}

SceneItem MakeItem(const ControlRecord& r, int position, const SceneOptions& options) {
    SceneItem item;
    item.Position = position;
    item.Kind = r.rType;
    item.Rect = {r.rX1, r.rY1, r.rX2, r.rY2};
    // Text fills about two thirds of a low control, and stays readable in a tall one.
    const int64_t fit = item.Rect.Height() * 2 / 3;
    item.TextPixels = static_cast<int>(fit < 8 ? 8 : (fit > 14 ? 14 : fit));
    item.Function = r.rFunction;
    item.OEMCode = r.rOEMCode;
    item.HotKey = r.rHotKey;
    item.KeyText = HotKeyText(r.rHotKey);
    item.LinkTarget = LinkedScreen(r);

    const PictureLookup picture = options.Pictures != nullptr
                                      ? options.Pictures->Find(r.rBitMapPath)
                                      : PictureFinder::Unsearched(r.rBitMapPath);
    if (picture.Named) {
        item.PictureName = r.rBitMapPath;
        item.PictureFileName = picture.FileName;
        item.PicturePath = picture.FoundPath;
    }

    // The host shows a bitmap button's picture alone; with no picture to show it is an
    // invisible hot spot, however it is captioned.
    if (r.rType == ControlKind::BitmapButton) {
        item.MissingAsHotSpot = true;
        item.Shape = picture.Found() ? ItemShape::Picture : ItemShape::HotSpot;
        Colour(item, 0, SceneColour::HotSpot, SceneColour::HotSpot);
        return item;
    }
    // An LED whose picture is missing still shows its colour as a lamp.
    const bool drawsPicture =
        IsKnownKind(r.rType) && picture.Named && (r.rType != ControlKind::LED || picture.Found());
    if (drawsPicture || r.rType == ControlKind::Bitmap) {
        item.Shape = ItemShape::Picture;
        item.Text = KindText(r);
        Colour(item, SceneColour::Missing, SceneColour::MissingText, 0xC8B080);
        if (r.rType == ControlKind::Button) item.Ink = SceneColour::ButtonText;
        return item;
    }
    switch (r.rType) {
    case ControlKind::Button:
        item.Shape = ItemShape::RaisedBox;
        item.Text = KindText(r);
        Colour(item, SceneColour::ButtonFace, SceneColour::ButtonText, 0x404040);
        break;
    case ControlKind::DRO:
        item.Shape = ItemShape::SunkenBox;
        item.Text = KindText(r);
        Colour(item, SceneColour::DROFace, SceneColour::DROText, 0x808080);
        break;
    case ControlKind::Label:
        item.Shape = IsScreenLabel(r) ? ItemShape::Title : ItemShape::Text;
        if (item.Shape == ItemShape::Title)
            item.TextPixels =
                static_cast<int>(std::min<int64_t>(18, std::max<int64_t>(8, item.Rect.Height())));
        item.Text = KindText(r);
        Colour(item, 0, SceneColour::LabelText, 0);
        break;
    case ControlKind::LED:
        item.Shape = ItemShape::Lamp;
        Colour(item, LampColour(r.rColor), 0, 0x202020);
        break;
    case ControlKind::ScrollBar:
    case ControlKind::JogBall:
    case ControlKind::MDILine:
    case ControlKind::GCodeWindow:
    case ControlKind::ToolpathDisplay:
        SetPanelLook(item);
        break;
    default:
        item.Shape = ItemShape::Unknown;
        item.Text = KindName(r.rType);
        Colour(item, 0, 0xFF70FF, 0xFF70FF);
        break;
    }
    return item;
}

// A bitmap reaching across nine tenths of the screen each way is taken for the background.
bool CoversScreen(const SceneItem& item, const Resolution& size) {
    return item.Kind == ControlKind::Bitmap && 10 * item.Rect.Width() >= 9 * int64_t{size.Width} &&
           10 * item.Rect.Height() >= 9 * int64_t{size.Height};
}

} // namespace

int PaintingLayer(int32_t kind) {
    return kind == ControlKind::Bitmap ? 0 : 1;
}

const SceneItem* ScreenScene::ItemAt(double x, double y) const {
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
        if (it->Rect.Contains(x, y)) return &*it;
    return nullptr;
}

const SceneItem* ScreenScene::ItemOfRecord(int position) const {
    for (const SceneItem& item : Items)
        if (item.Position == position) return &item;
    return nullptr;
}

ScreenScene BuildScreenScene(const cLayout& layout, int screen, const SceneOptions& options) {
    ScreenScene scene;
    scene.Screen = screen;
    scene.CodePage = layout.TextCodePage();
    scene.Size = DetectResolution(layout.Records(), screen, options.ScreenResolution).Size;
    const bool onLayout = IsLayoutScreen(screen);
    if (onLayout) scene.Label = layout.Screens()[static_cast<std::size_t>(screen)].Label;

    // The Persistent screen's controls lie over every other screen, all but its backgrounds
    // (wherever they stand in record order) and the label that names it.
    // Screens beyond the host's 16 show it too: they are screens the layout switches to.
    const bool withPersistent = options.ShowPersistent && screen > PersistentScreen;
    const std::span<const ControlRecord> records = layout.Records();
    std::vector<SceneItem> layers[2][2]; // [layer][0 the screen's own, 1 the Persistent screen's]
    bool labelled = onLayout;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        const bool own = r.rScreen == screen;
        if (!own && !(withPersistent && r.rScreen == PersistentScreen)) continue;
        SceneItem item = MakeItem(r, static_cast<int>(i) + 1, options);
        item.Background = CoversScreen(item, scene.Size);
        if (own) {
            if (!labelled && IsScreenLabel(r)) {
                scene.Label = ScreenLabelName(r);
                labelled = true;
            }
        } else {
            if (item.Background || IsScreenLabel(r)) continue;
            item.Persistent = true;
        }
        layers[PaintingLayer(r.rType)][own ? 0 : 1].push_back(std::move(item));
    }
    for (auto& layer : layers)
        for (auto& items : layer)
            for (SceneItem& item : items)
                scene.Items.push_back(std::move(item));
    return scene;
}
