#pragma once
// The twenty fields of a record, in file order: the one table the file's reader and writer, the
// CSV export and import, the text form, diff and merge, find and replace, the property sheet and
// `quill` read. Each field has its name ("rX1"), the caption a user sees ("Left edge"), the kind
// of value it takes, its place in the record (a number or a text), and how the CSV export
// protects it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "layout/ControlRecord.h"

enum class FieldType {
    Number,     // any 32-bit whole number (rFunction, rOEMCode, rFlash, ...)
    Kind,       // rType: one of the kinds 1..11, by number or name
    Screen,     // rScreen: 0..15 or any other 32-bit number
    Text,       // one line of text (rText, rLabel, rFormat)
    Script,     // rGText: several lines, kept with their CR LF line ends
    Picture,    // rBitMapPath: a picture path as the host spells it
    Colour,     // rColor: the host's 0x00BBGGRR, as a number or in hex ("0x0000FF")
    Key,        // rHotKey: a key name ("Alt+1") or a code
    Coordinate, // rX1, rY1, rX2, rY2: an edge in screen pixels
    Size,       // Width, Height: rX2 - rX1, rY2 - rY1 (not record fields of their own)
};

// How the CSV export writes a text.
enum class CsvText {
    Plain,      // written as it is
    Tildes,     // double quotes written as tildes
    ComplexCode // written as a marker when it holds a double quote or a line break
};

struct RecordField {
    const char* Name;    // "rX1"
    const char* Caption; // what the property sheet and find call it: "Left edge"
    FieldType Type;
    int32_t ControlRecord::*Number; // nullptr for a text
    std::string ControlRecord::*Text;
    CsvText Csv = CsvText::Plain;

    bool IsText() const { return Text != nullptr; }
    bool Same(const ControlRecord& a, const ControlRecord& b) const {
        return IsText() ? a.*Text == b.*Text : a.*Number == b.*Number;
    }
};

inline constexpr std::array<RecordField, 20> RecordFields{{
    {"rFunction", "Function", FieldType::Number, &ControlRecord::rFunction, nullptr},
    {"rType", "Kind", FieldType::Kind, &ControlRecord::rType, nullptr},
    {"rScreen", "Screen", FieldType::Screen, &ControlRecord::rScreen, nullptr},
    {"rText", "Text", FieldType::Text, nullptr, &ControlRecord::rText, CsvText::Tildes},
    {"rGText", "Script", FieldType::Script, nullptr, &ControlRecord::rGText, CsvText::ComplexCode},
    {"rBitMapPath", "Picture", FieldType::Picture, nullptr, &ControlRecord::rBitMapPath},
    {"rHoriz", "Horizontal", FieldType::Number, &ControlRecord::rHoriz, nullptr},
    {"rVert", "Vertical", FieldType::Number, &ControlRecord::rVert, nullptr},
    {"rLabel", "Label", FieldType::Text, nullptr, &ControlRecord::rLabel, CsvText::Tildes},
    {"rColor", "Colour", FieldType::Colour, &ControlRecord::rColor, nullptr},
    {"rOEMCode", "OEM code", FieldType::Number, &ControlRecord::rOEMCode, nullptr},
    {"rHotKey", "Key", FieldType::Key, &ControlRecord::rHotKey, nullptr},
    {"rFlash", "Flash", FieldType::Number, &ControlRecord::rFlash, nullptr},
    {"rRedGreen", "Red/green", FieldType::Number, &ControlRecord::rRedGreen, nullptr},
    {"rFormat", "Format", FieldType::Text, nullptr, &ControlRecord::rFormat},
    {"rTabGroup", "DRO group", FieldType::Number, &ControlRecord::rTabGroup, nullptr},
    {"rX1", "Left edge", FieldType::Coordinate, &ControlRecord::rX1, nullptr},
    {"rY1", "Top edge", FieldType::Coordinate, &ControlRecord::rY1, nullptr},
    {"rX2", "Right edge", FieldType::Coordinate, &ControlRecord::rX2, nullptr},
    {"rY2", "Bottom edge", FieldType::Coordinate, &ControlRecord::rY2, nullptr},
}};

// Positions in RecordFields.
namespace FieldNo {
constexpr int rFunction = 0;
constexpr int rType = 1;
constexpr int rScreen = 2;
constexpr int rText = 3;
constexpr int rGText = 4;
constexpr int rBitMapPath = 5;
constexpr int rHoriz = 6;
constexpr int rVert = 7;
constexpr int rLabel = 8;
constexpr int rColor = 9;
constexpr int rOEMCode = 10;
constexpr int rHotKey = 11;
constexpr int rFlash = 12;
constexpr int rRedGreen = 13;
constexpr int rFormat = 14;
constexpr int rTabGroup = 15;
constexpr int rX1 = 16;
constexpr int rY1 = 17;
constexpr int rX2 = 18;
constexpr int rY2 = 19;
} // namespace FieldNo

// The position of the field with this name, or -1.
inline int FieldNumber(std::string_view name) {
    for (std::size_t k = 0; k < RecordFields.size(); ++k)
        if (name == RecordFields[k].Name) return static_cast<int>(k);
    return -1;
}

// The rectangle rX1, rY1, rX2, rY2.
inline bool IsRectangleField(int field) {
    return field >= FieldNo::rX1 && field <= FieldNo::rY2;
}

// A layout's content as the file holds it: the records in order and the ten trailer Longs.
struct LayoutContent {
    std::vector<ControlRecord> Records;
    std::array<int32_t, 10> Trailer{};

    bool operator==(const LayoutContent&) const = default;
};
