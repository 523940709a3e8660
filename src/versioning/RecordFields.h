#pragma once
// The twenty fields of a record by name, in file order, for the code that reads and compares
// records field by field: the text form, diff and merge. A field is a number or a text.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "layout/ControlRecord.h"

struct RecordField {
    const char* Name;
    int32_t ControlRecord::*Number; // nullptr for a text
    std::string ControlRecord::*Text;

    bool IsText() const { return Text != nullptr; }
    bool Same(const ControlRecord& a, const ControlRecord& b) const {
        return IsText() ? a.*Text == b.*Text : a.*Number == b.*Number;
    }
};

inline constexpr std::array<RecordField, 20> RecordFields{{
    {"rFunction", &ControlRecord::rFunction, nullptr},
    {"rType", &ControlRecord::rType, nullptr},
    {"rScreen", &ControlRecord::rScreen, nullptr},
    {"rText", nullptr, &ControlRecord::rText},
    {"rGText", nullptr, &ControlRecord::rGText},
    {"rBitMapPath", nullptr, &ControlRecord::rBitMapPath},
    {"rHoriz", &ControlRecord::rHoriz, nullptr},
    {"rVert", &ControlRecord::rVert, nullptr},
    {"rLabel", nullptr, &ControlRecord::rLabel},
    {"rColor", &ControlRecord::rColor, nullptr},
    {"rOEMCode", &ControlRecord::rOEMCode, nullptr},
    {"rHotKey", &ControlRecord::rHotKey, nullptr},
    {"rFlash", &ControlRecord::rFlash, nullptr},
    {"rRedGreen", &ControlRecord::rRedGreen, nullptr},
    {"rFormat", nullptr, &ControlRecord::rFormat},
    {"rTabGroup", &ControlRecord::rTabGroup, nullptr},
    {"rX1", &ControlRecord::rX1, nullptr},
    {"rY1", &ControlRecord::rY1, nullptr},
    {"rX2", &ControlRecord::rX2, nullptr},
    {"rY2", &ControlRecord::rY2, nullptr},
}};

// Positions in RecordFields of the fields the version-control code treats specially.
namespace FieldNo {
constexpr int rType = 1;
constexpr int rScreen = 2;
constexpr int rText = 3;
constexpr int rOEMCode = 10;
constexpr int rX1 = 16;
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
