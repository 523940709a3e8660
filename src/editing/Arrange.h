#pragma once
// The geometry edits of editing on the screen, as plain functions from a layout's records to the
// edit that cLayout::ApplyEdit applies as one step: moving controls, giving one control a new
// rectangle, aligning and distributing several, giving them one width or height, and moving
// controls that lie off the screen back inside it. The windows only turn mouse and keys into
// calls of these.
//
// Guarantees: positions are 1-based record positions; positions outside the records are ignored.
// Only the four position fields change, and only records whose rectangle changes are in the edit
// (an edit that would change nothing is empty). A rectangle keeps its orientation: a record whose
// rX2 lies left of its rX1 still does after the edit. Coordinates stay within 32 bits: a move is
// cut short rather than wrapped.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "editing/Snapping.h"
#include "layout/cLayout.h"
#include "tools/ScreenResolution.h"

// A record's rectangle with its edges in order.
PixelBox BoxOf(const ControlRecord& record);
// The record with its rectangle put at `box`, kept in the orientation it had; edges beyond 32 bits
// are cut to the range.
ControlRecord WithBox(ControlRecord record, const PixelBox& box);
// The smallest box holding the records at these positions; all zero for none.
PixelBox BoundsOf(std::span<const ControlRecord> records, const std::vector<int>& positions);

// Moves the controls by dx, dy pixels; the move is cut short where a coordinate would leave 32
// bits, the same for every control, so they keep their places to each other.
ControlsEdit MoveControls(std::span<const ControlRecord> records, const std::vector<int>& positions,
                          int64_t dx, int64_t dy);
// Gives one control a new rectangle (a resize).
ControlsEdit SetControlBox(std::span<const ControlRecord> records, int position,
                           const PixelBox& box);

enum class ArrangeCommand {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    AlignCentres, // centres on one vertical line (same horizontal centre)
    AlignMiddles, // centres on one horizontal line (same vertical centre)
    DistributeAcross,
    DistributeDown,
    SameWidth,
    SameHeight,
};

// The fewest controls a command works on: one for the aligns (a single control is aligned to the
// screen), two for same width and height, three to distribute.
std::size_t FewestControls(ArrangeCommand command);

// Aligns to the reference control (one of the positions; when it is not, the first of them), or
// to the screen of `screen`'s size when one control is given. Distributing keeps the first and the
// last control (by left edge, or top edge) where they are and spaces the others between them
// with equal gaps (gaps differ by a pixel at most when the room does not divide evenly). Same
// width and height keep each control's left or top edge and take the reference's size. Fewer
// controls than the command needs give an empty edit.
ControlsEdit ArrangeControls(std::span<const ControlRecord> records,
                             const std::vector<int>& positions, int reference,
                             ArrangeCommand command, const Resolution& screen);

// Moves each control that lies partly outside 0,0 to the screen's size the least way that puts it
// inside; a control larger than the screen is put at its edge and cut to its size.
ControlsEdit MoveInside(std::span<const ControlRecord> records, const std::vector<int>& positions,
                        const Resolution& screen);

// The names of the steps these edits make: "Move 3 controls", "Move 1 control".
std::string ControlsStepText(const std::string& verb, std::size_t count);
// "Align left edges of 3 controls", "Distribute 4 controls across", "Make 2 controls the same
// width".
std::string ArrangeStepText(ArrangeCommand command, std::size_t count);
