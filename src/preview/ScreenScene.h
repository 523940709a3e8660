#pragma once
// What a screen looks like, as data: the controls of one screen of a layout in the order the host
// paints them, each with the shape, colours and text to draw, its picture looked up, the screen it
// links to and its key. The Qt preview paints a scene, the thumbnails and the SVG writer draw one,
// and hovering asks it what lies under the cursor; none of them decides anything the scene has
// not. Texts stay the records' Windows-1252 bytes; the program's own short texts (kind names, key
// names) are plain ASCII.
//
// The host's stacking: bitmaps (rType 3) lie beneath every other control. A scene's items are in
// painting order: the screen's bitmaps in record order, then those of the Persistent screen, then
// the screen's other controls in record order, then the Persistent screen's; a later item lies
// over an earlier one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/ScreenResolution.h"

class cLayout;
class PictureFinder;

enum class ItemShape {
    RaisedBox, // a button: its caption centred
    SunkenBox, // a DRO: its value right-aligned
    Text,      // a label: its text alone
    Title,     // a screen label: the screen's name as a title
    Lamp,      // an LED: a round lamp
    Picture,   // a picture scaled into the rectangle; a hatched box with its file name if missing
    HotSpot,   // a bitmap button with no picture to show: an invisible hot spot, outlined dashed
    Panel,     // MDI line, G-code window, toolpath, jog ball, scroll bar: a box with its name
    Unknown,   // a kind outside 1..11: a dotted box marked with its number
};

// Corner coordinates as the record holds them (x2, y2 are edges), in screen pixels.
struct SceneRect {
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    // The rectangle with its corners in order, as wide as it is drawn.
    int64_t Left() const { return X1 < X2 ? X1 : X2; }
    int64_t Top() const { return Y1 < Y2 ? Y1 : Y2; }
    int64_t Width() const { return X1 < X2 ? int64_t{X2} - X1 : int64_t{X1} - X2; }
    int64_t Height() const { return Y1 < Y2 ? int64_t{Y2} - Y1 : int64_t{Y1} - Y2; }
    bool Contains(double x, double y) const {
        return x >= Left() && x < Left() + Width() && y >= Top() && y < Top() + Height();
    }
    bool operator==(const SceneRect&) const = default;
};

struct SceneItem {
    int Position = 0; // 1-based record position in the layout
    int32_t Kind = 0; // rType
    ItemShape Shape = ItemShape::Unknown;
    SceneRect Rect;
    std::string Text;    // Windows-1252: caption, label, DRO value, kind name or number
    int TextPixels = 12; // the height of its text, in screen pixels
    uint32_t Fill = 0, Ink = 0, Edge = 0; // 0xRRGGBB
    bool Persistent = false;              // a control of screen 0 shown on another screen
    bool Background = false;              // a bitmap covering the screen
    // A picture that cannot be shown leaves what the host shows then: an invisible hot spot (a
    // bitmap button) rather than a hatched box naming the file.
    bool MissingAsHotSpot = false;

    std::string PictureName;     // rBitMapPath when it names a picture
    std::string PictureFileName; // its last part, for the caption of a missing picture
    std::string PicturePath;     // the file found (system path); empty when missing

    std::optional<int32_t> LinkTarget; // the screen 0..15 a screen link shows (rOEMCode)
    std::string KeyText;               // "F5", "Alt+1"; empty for none

    int32_t Function = 0, OEMCode = 0, HotKey = 0; // as the record holds them
};

struct SceneOptions {
    bool ShowPersistent = true;              // draw the controls of screen 0 on other screens
    const PictureFinder* Pictures = nullptr; // none: every picture is missing
    std::optional<Resolution> ScreenResolution = std::nullopt; // chosen; none: the one detected
};

struct ScreenScene {
    int Screen = 0;
    std::string Label; // the screen's name from its label control, in CodePage; may be empty
    int CodePage = 1252; // the layout's (cLayout::TextCodePage), its texts are read in
    Resolution Size;   // the screen's resolution: the one chosen, else the one detected
    std::vector<SceneItem> Items; // in painting order

    // The topmost item under a point of the screen (the last painted there), or nullptr.
    const SceneItem* ItemAt(double x, double y) const;
    const SceneItem* ItemOfRecord(int position) const;
};

ScreenScene BuildScreenScene(const cLayout& layout, int screen, const SceneOptions& options = {});

// The stacking layer of a kind: 0 for bitmaps, which lie beneath, 1 for every other control.
int PaintingLayer(int32_t kind);

// The colours of the scene, shared by everything that draws one.
namespace SceneColour {
inline constexpr uint32_t Screen = 0x2B2F36; // behind everything, where no picture lies
inline constexpr uint32_t ButtonFace = 0xD4D0C8;
inline constexpr uint32_t ButtonText = 0x101010;
inline constexpr uint32_t DROFace = 0x0B1F0B;
inline constexpr uint32_t DROText = 0x7CFC7C;
inline constexpr uint32_t LabelText = 0xF2F2F2;
inline constexpr uint32_t LampGreen = 0x20C040;
inline constexpr uint32_t LampRed = 0xE02020;
inline constexpr uint32_t LampYellow = 0xF0D020;
inline constexpr uint32_t LampGrey = 0x909090;
inline constexpr uint32_t Missing = 0x6B5A3A;
inline constexpr uint32_t MissingText = 0xFFE8B0;
inline constexpr uint32_t HotSpot = 0x60E0FF;
inline constexpr uint32_t Persistent = 0xFFB040; // the mark of a Persistent screen control
inline constexpr uint32_t Badge = 0x1F5FBF;
inline constexpr uint32_t Highlight = 0xFF00C0;
} // namespace SceneColour
