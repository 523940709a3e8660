#pragma once
// What changed between two versions of a layout, screen by screen: controls added, removed,
// changed (which fields) and re-ordered, and the trailer. Controls are matched by what they are
// (RecordMatching.h), so one control inserted early is one "added" and nothing else, and a control
// with one field changed is that control "changed". The diff only computes; `quill diff` and the
// compare window show it.

#include <span>
#include <string>
#include <vector>

#include "layout/RecordFields.h"
#include "versioning/RecordMatching.h"

enum class ChangeKind { Added, Removed, Changed, Reordered, Trailer };

struct LayoutDifference {
    ChangeKind Kind = ChangeKind::Changed;
    // The control's screen: in the new version, in the old one for a removed control; 0 for the
    // trailer.
    int32_t Screen = 0;
    int Old = 0; // 1-based record position in the old version, 0 where there is none
    int New = 0; // 1-based record position in the new version, 0 where there is none
    // Changed: the fields that differ, as positions in RecordFields. Trailer: the positions
    // (0..9) of the trailer Longs that differ.
    std::vector<int> Fields;

    bool operator==(const LayoutDifference&) const = default;
};

struct LayoutDiff {
    // Sorted by screen, then by where they stand in the new version; the trailer last. A
    // control both changed and re-ordered has one change of each kind.
    std::vector<LayoutDifference> Changes;
    ScreenRenumbering Screens; // how the new version numbers the old one's screens

    bool Same() const { return Changes.empty(); }
};

LayoutDiff DiffLayouts(const LayoutContent& older, const LayoutContent& newer);

// "added", "removed", "changed", "reordered", "trailer".
const char* ChangeKindName(ChangeKind kind);

// A control as the diff names it, in Windows-1252 bytes: its kind and its caption, when it has
// one ("Button \"Cycle Start\"", "Bitmap", "Kind 42").
std::string ControlDescription(const ControlRecord& record);

// The name of a screen as the screen list gives it: the first screen label on it, in record
// order, without its mark; "" when it has none.
std::string ScreenName(std::span<const ControlRecord> records, int32_t screen);

// The fields a change shows: the rectangle's four as one when any of them changed.
struct ShownField {
    int Field = 0;          // position in RecordFields; rX1 stands for the whole rectangle
    bool Rectangle = false; // the four of the rectangle
};
std::vector<ShownField> ShownFields(const LayoutDifference& change);

// The record positions a change concerns, as the diff shows them: "5" for an added control (in
// the new version), "12" for a removed one (in the old), "7 -> 8" for the others; "" for the
// trailer.
std::string ChangePositions(const LayoutDifference& change);

// What a change changed, in Windows-1252 bytes: for a changed control each shown field old -> new
// ("rText \"Jog\" -> \"Jog+\"; rectangle (10,10)-(50,30) -> (20,10)-(60,30)"), for the
// trailer each Long ("Trailer(4) 1024 -> 1280"), "" for the other kinds.
std::string ChangeDetails(const LayoutDifference& change, const LayoutContent& older,
                          const LayoutContent& newer);

// A field's value as a change shows it, in Windows-1252 bytes: a number in decimal, a text in
// double quotes with its control characters escaped as JSON escapes them, a rectangle as
// "(x1,y1)-(x2,y2)".
std::string FieldValueText(const ControlRecord& record, const ShownField& field);
