#pragma once
// One control of a host screen: the 20 fields in the fixed order shared by the layout file, the CSV
// file and every copy. A plain value: copies never share text, and a new record is all 0 and empty.

#include <cstdint>
#include <string>

struct ControlRecord {
    int32_t rFunction = 0;
    int32_t rType = 0;
    int32_t rScreen = 0;
    std::string rText;
    std::string rGText;
    std::string rBitMapPath;
    int32_t rHoriz = 0;
    int32_t rVert = 0;
    std::string rLabel;
    int32_t rColor = 0;
    int32_t rOEMCode = 0;
    int32_t rHotKey = 0;
    int32_t rFlash = 0;
    int32_t rRedGreen = 0;
    std::string rFormat;
    int32_t rTabGroup = 0;
    int32_t rX1 = 0;
    int32_t rY1 = 0;
    int32_t rX2 = 0;
    int32_t rY2 = 0;

    bool operator==(const ControlRecord&) const = default;

    // A screen link: a button or a bitmap button whose function switches the host to the screen
    // named by rOEMCode. Renumbering, deleting and appending screens keep every screen link
    // right, whatever its kind.
    bool IsScreenLink() const { return rFunction == 32 && (rType == 4 || rType == 8); }
    // A screen link that names one of the layout's 16 screens; other targets name none.
    bool LinksToLayoutScreen() const { return IsScreenLink() && rOEMCode >= 0 && rOEMCode < 16; }
    // A screen-change button: the captioned kind of screen link, a button (rType 4). Only these
    // are listed in the screen list's "Shown by" columns and re-captioned by Update Buttons; a
    // bitmap button has no caption to show.
    bool IsScreenChangeButton() const { return rType == 4 && rFunction == 32; }
    // A function-key button: a screen-change button with one of the keys F1..F15 (codes
    // 112..126) that shows one of the screens 0..14. Update Buttons gives it key Fn for screen n.
    bool IsFunctionKeyButton() const {
        return IsScreenChangeButton() && rOEMCode >= 0 && rOEMCode < 15 && rHotKey > 111 &&
               rHotKey <= 126;
    }
    // A label control whose text starts with the section mark names its screen.
    bool IsScreenLabel() const { return rType == 7 && !rLabel.empty() && rLabel[0] == '\xA7'; }
};

// The code values the program interprets; everything else in a record is carried unchanged.
namespace ControlKind {
constexpr int32_t DRO = 1;
constexpr int32_t ScrollBar = 2;
constexpr int32_t Bitmap = 3;
constexpr int32_t Button = 4;
constexpr int32_t JogBall = 5;
constexpr int32_t LED = 6;
constexpr int32_t Label = 7;
constexpr int32_t BitmapButton = 8;
constexpr int32_t MDILine = 9;
constexpr int32_t GCodeWindow = 10;
constexpr int32_t ToolpathDisplay = 11;
constexpr int32_t First = 1;
constexpr int32_t Last = 11;
} // namespace ControlKind

constexpr int32_t ScreenChangeFunction = 32;
constexpr char ScreenLabelMark = '\xA7'; // the Windows-1252 byte of the section mark
constexpr int ScreenCount = 16;
// The most records a layout holds: the host addresses records by 16-bit positions.
constexpr int MaxControls = 32767;
constexpr int MaxTextLength = 32767;
