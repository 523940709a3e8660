#pragma once
// The fields of a control as a user edits them: the twenty record fields by their names, plus the
// width and the height of its rectangle, each with the kind of value it takes, how a typed text
// becomes that value (or is refused, and why), and how the value is written back as text. The
// property sheet, `quill edit` and find and replace all go through here, so a value is accepted or
// refused the same way wherever it is typed.
//
// Texts a user types are UTF-8; record texts are Windows-1252 bytes. A value is refused, with a
// sentence saying why, when it is not a whole number, lies outside the 32-bit range, holds a
// character without a Windows-1252 byte (the character is named), is longer than a layout file
// can hold, is not one of the eleven kinds, not a key or not a colour; and, once applied, when it
// leaves a right edge left of its left edge or a bottom edge above its top. Nothing is changed by
// a refused value.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layout/ControlRecord.h"
#include "layout/RecordFields.h"

struct ControlField {
    const char* Name;    // "rX1"; "Width" and "Height" for the two sizes
    const char* Caption; // what the property sheet calls it: "Left edge"
    FieldType Type;
    int32_t ControlRecord::*Number = nullptr; // the record's number field; nullptr for a text
    std::string ControlRecord::*Text = nullptr;

    bool IsText() const { return Text != nullptr; }
    bool IsSize() const { return Type == FieldType::Size; }
};

// A parsed value: a number (a field's number, or a width or height) or Windows-1252 bytes.
struct FieldValue {
    int64_t Number = 0;
    std::string Text;

    bool operator==(const FieldValue&) const = default;
};

// The twenty record fields in file order, then Width and Height.
std::span<const ControlField> ControlFields();
// The field of this name in any letter case ("rx1" is rX1); nullptr for none.
const ControlField* FindControlField(std::string_view name);
// "rFunction, rType, ..., rY2, Width, Height", for a message naming the fields.
std::string ControlFieldNames();

// A typed value (UTF-8) read as the field's value, or why it cannot be one.
struct FieldParse {
    std::optional<FieldValue> Value;
    std::string Refusal; // a sentence without the field's name: "\"abc\" is not a whole number"
};
// Texts are read in the layout's code page.
FieldParse ParseFieldValue(const ControlField& field, std::string_view utf8, int codePage = 1252);

// The field's value in a record.
FieldValue FieldValueOf(const ControlField& field, const ControlRecord& record);
// The value as the editors show it and ParseFieldValue reads it back (UTF-8): numbers in decimal,
// a kind by its name, a key by its name (its code where it has none), a colour as 0x00BBGGRR.
std::string FieldValueText(const ControlField& field, const FieldValue& value, int codePage = 1252);
std::string FieldText(const ControlField& field, const ControlRecord& record, int codePage = 1252);

// Puts the values into the record, in order, then checks what they leave: a size must not make
// an edge leave the 32-bit range, and a rectangle the values touched must not end up with its
// right edge left of its left edge or its bottom above its top. Returns why, with the record as it
// was, or "".
std::string ApplyFieldValues(ControlRecord& record,
                             std::span<const std::pair<const ControlField*, FieldValue>> values);
std::string ApplyFieldValue(ControlRecord& record, const ControlField& field,
                            const FieldValue& value);

// The rBitMapPath of a picture file the user chose, spelt as the layout spells its pictures:
// `chosen` is a system path; `folders` are where the host's pictures are looked up (the pictures
// folder, the Bitmaps folders, the layout's folder and its parent, as PictureFinder::ForLayout
// lists them); `existing` are the
// layout's picture paths. When a picture the layout names lies in the chosen file's folder, the
// new path takes that path's folder part as the layout spells it ("NewPlasma\" + the file name);
// otherwise it is the path below the first folder holding the file, with backslashes. Refused
// when the file lies in none of the folders (the host would not find it) or its path has no
// Windows-1252 spelling.
FieldParse ChosenPicturePath(const std::string& chosen, const std::vector<std::string>& folders,
                             std::span<const std::string> existing, int codePage = 1252);
