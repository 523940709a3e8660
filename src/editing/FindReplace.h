#pragma once
// Find and replace across the controls of a layout: a text or a number in the fields a user
// searches (the texts, the picture path, the function, the OEM code, the key by its name and the
// DRO group), the whole field or a part of it, with or without letter case. The window's find pane
// and quill call the same functions: finding returns the results, replacing returns the edit for
// cLayout::ApplyEdit (one step) or why it is refused, with nothing changed.
//
// Texts are the records' bytes in the layout's code page; letter case is ignored as Windows
// ignores it (FoldedByte) in Windows-1252, for ASCII letters in the other code pages, and a match
// in a code page of two-byte characters never starts or ends inside a character. A number field matches the number as written in decimal ("216"); the key matches
// its name ("Alt+1"), and as a whole field any spelling HotKeyCode reads ("alt+1", "2097").

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layout/cLayout.h"

enum class FindField { Text, Label, Script, Format, Picture, Function, OEMCode, HotKey, DROGroup };
inline constexpr int FindFieldCount = 9;

struct FindFieldInfo {
    FindField Field;
    const char* Name;                 // the record's field: "rText"
    const char* Caption;              // what the window calls it: "Text"
    std::string ControlRecord::*Text; // nullptr for a number
    int32_t ControlRecord::*Number;   // nullptr for a text
};

// The searchable fields, in the order the window lists them.
std::span<const FindFieldInfo> FindFields();
const FindFieldInfo& FieldInfo(FindField field);
// The field a name stands for: its record name ("rText") or its caption ("Text", "OEM code"), in
// any letter case, blanks around it ignored; "key" and "group" name the key and the DRO group too.
std::optional<FindField> FindFieldFromName(std::string_view name);
// The field's value as it is searched: the text, the number in decimal, the key's name ("" for no
// key).
std::string FieldValueText(const ControlRecord& record, FindField field);

struct FindOptions {
    std::string Text;              // Windows-1252 bytes; never empty
    std::vector<FindField> Fields; // empty: every field
    bool WholeField = false;
    bool MatchCase = false;
    int CodePage = 1252; // the layout's: where characters start, which letters have a case
};

struct FindResult {
    int Record = 0; // 1-based position
    int32_t Screen = 0;
    FindField Field = FindField::Text;
    std::string Line; // the line of the field's value that holds the match (no line break)

    bool operator==(const FindResult&) const = default;
};

// One result per field of a control that matches, in record order, then in the order of
// FindFields(). An empty text finds nothing.
std::vector<FindResult> FindInRecords(std::span<const ControlRecord> records,
                                      const FindOptions& options);

struct ReplaceRequest {
    FindOptions Find;
    std::string Replacement; // Windows-1252 bytes
    // Replace only in these fields of these controls (the selected results); none: every result.
    std::optional<std::vector<std::pair<int, FindField>>> Only = {};
};

struct ReplacePlan {
    ControlsEdit Edit;
    int Fields = 0;      // fields that change
    int Controls = 0;    // controls that change
    std::string Refusal; // why nothing may change; empty when the edit may be applied

    // "3 fields of 2 controls will change"
    std::string Summary() const;
    // The undo step: "Replace in 2 controls"
    std::string StepText() const;
};

// What a replace changes: in a text, every match of the text (or the whole field) becomes the
// replacement; in a number, the number written with its matches replaced must be a whole number
// of 32 bits, and the key's name a key (HotKeyCode). Refused, naming the control and the field,
// when a result is not a number or a key, or would be longer than MaxTextLength.
ReplacePlan PlanReplace(std::span<const ControlRecord> records, const ReplaceRequest& request);

// Text typed by a user (UTF-8) as the records' bytes in the layout's code page; false, with the
// sentence that says which character has no such byte ("... holds the character U+2713, which
// has no Windows-1252 byte"), when it cannot be. `what` names the text: "The replacement".
bool TextForRecords(const std::string& utf8, std::string& bytes, std::string& refusal,
                    const std::string& what, int codePage = 1252);
