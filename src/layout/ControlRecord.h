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

    // What the record is to the host; layout/HostCodes.h holds these rules and says what each
    // means.
    bool IsScreenLink() const;
    bool LinksToLayoutScreen() const;
    bool IsScreenChangeButton() const;
    bool IsFunctionKeyButton() const;
    bool IsScreenLabel() const;
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
