#include "preview/ScreenScene.h"

#include <algorithm>

#include "layout/cLayout.h"
#include "preview/ControlTexts.h"
#include "preview/PictureFinder.h"

namespace {

bool IsScreenLabel(const ControlRecord& r) {
    return r.rType == ControlKind::Label && !r.rLabel.empty() && r.rLabel[0] == ScreenLabelMark;
}

std::string Shown(const std::string& text) {
    return IsNoneText(text) ? std::string() : text;
}

std::string LabelText(const ControlRecord& r) {
    if (!IsNoneText(r.rText)) return r.rText;
    return Shown(IsScreenLabel(r) ? r.rLabel.substr(1) : r.rLabel);
}

// The text a kind shows over its picture, or in its own box.
std::string KindText(const ControlRecord& r) {
    switch (r.rType) {
    case ControlKind::Button:
    case ControlKind::BitmapButton:
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
    if (r.IsScreenLink()) item.LinkTarget = r.rOEMCode;

    const PictureLookup picture = options.Pictures != nullptr
                                      ? options.Pictures->Find(r.rBitMapPath)
                                      : PictureFinder::Unsearched(r.rBitMapPath);
    if (picture.Named) {
        item.PictureName = r.rBitMapPath;
        item.PictureFileName = picture.FileName;
        item.PicturePath = picture.FoundPath;
    }

    const bool known = r.rType >= ControlKind::First && r.rType <= ControlKind::Last;
    // An LED whose picture is missing still shows its colour as a lamp.
    const bool drawsPicture =
        known && picture.Named && (r.rType != ControlKind::LED || picture.Found());
    if (drawsPicture || r.rType == ControlKind::Bitmap) {
        item.Shape = ItemShape::Picture;
        item.Text = KindText(r);
        Colour(item, SceneColour::Missing, SceneColour::MissingText, 0xC8B080);
        if (r.rType == ControlKind::Button || r.rType == ControlKind::BitmapButton)
            item.Ink = SceneColour::ButtonText;
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
    case ControlKind::BitmapButton:
        item.Shape = ItemShape::HotSpot;
        item.Text = KindText(r);
        Colour(item, 0, SceneColour::HotSpot, SceneColour::HotSpot);
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

// A picture reaching across nine tenths of the screen each way is taken for the background.
bool CoversScreen(const SceneItem& item, const Resolution& size) {
    return item.Kind == ControlKind::Bitmap && 10 * item.Rect.Width() >= 9 * int64_t{size.Width} &&
           10 * item.Rect.Height() >= 9 * int64_t{size.Height};
}

} // namespace

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
    scene.Size = DetectResolution(layout.Records(), screen, options.ScreenResolution).Size;
    if (screen >= 0 && screen < ScreenCount) {
        scene.Label = layout.Screens()[static_cast<std::size_t>(screen)].Label;
    }

    const std::span<const ControlRecord> records = layout.Records();
    bool leading = true; // no control but backgrounds met yet on this screen
    bool labelled = screen >= 0 && screen < ScreenCount;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        if (r.rScreen != screen) continue;
        SceneItem item = MakeItem(r, static_cast<int>(i) + 1, options);
        item.Background = leading && CoversScreen(item, scene.Size);
        leading = item.Background;
        if (!labelled && IsScreenLabel(r)) {
            scene.Label = r.rLabel.substr(1);
            labelled = true;
        }
        scene.Items.push_back(std::move(item));
    }

    // The Persistent screen's controls lie over every other screen, all but its background and
    // the label that names it.
    if (options.ShowPersistent && screen > 0 && screen < ScreenCount) {
        bool leadingPersistent = true;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ControlRecord& r = records[i];
            if (r.rScreen != 0) continue;
            SceneItem item = MakeItem(r, static_cast<int>(i) + 1, options);
            leadingPersistent = leadingPersistent && CoversScreen(item, scene.Size);
            if (leadingPersistent || IsScreenLabel(r)) continue;
            item.Persistent = true;
            scene.Items.push_back(std::move(item));
        }
    }
    return scene;
}
