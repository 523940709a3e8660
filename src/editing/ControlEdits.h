#pragma once
// The edits of single controls, as plain functions: each takes the layout's records (read only)
// and what the user chose, and returns the change for cLayout::ApplyEdit with the name of its
// history step, or a refusal saying why nothing can be done. The property sheet, the Controls
// menu, the controls table and `quill edit` make their changes through these, so the same choice
// gives the same change everywhere.
//
// Where records go: a control added, duplicated or pasted goes after the last record of its
// screen (at the end when the screen has none), so it lies on top of its layer and the screen's
// records stay together. The host stacks a screen's bitmaps beneath all its other controls, each
// layer in record order; bring to front and send to back move records within their layer of their
// screen, as few places as it takes.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "editing/ControlFields.h"
#include "editing/CopiedControls.h"
#include "layout/cLayout.h"

struct ControlsEditPlan {
    ControlsEdit Edit;
    std::string Text;    // the history step: "Change rX1 of 3 controls"
    std::string Refusal; // why nothing can be done; the edit is then empty

    bool Refused() const { return !Refusal.empty(); }
};

// "1 control", "3 controls".
std::string ControlsCount(std::size_t count);

// How far a duplicate, or a control pasted onto the screen it came from, lies from the original.
inline constexpr int32_t CopyOffset = 10;

// Sets the values on the controls at these 1-based positions. Step "Change rX1 of 3 controls"
// (several fields: "Change rX1, rX2 of 3 controls"). Refused whole when a value is refused for
// any of them; the refusal names the control when there are several ("control 12: ...").
ControlsEditPlan SetFieldsEdit(std::span<const ControlRecord> records,
                               const std::vector<int>& positions,
                               std::span<const std::pair<const ControlField*, FieldValue>> values);
ControlsEditPlan SetFieldEdit(std::span<const ControlRecord> records,
                              const std::vector<int>& positions, const ControlField& field,
                              const FieldValue& value);

// A new control of a kind as real layouts hold one: "None" where they hold no text or picture,
// a script of "None" and a line break, a size that shows, at 20,20 on the screen.
ControlRecord NewControl(int32_t kind, int32_t screen);
// Adds a new control on the screen, 10 pixels further along for each control already at its
// place. Step "Add Button".
ControlsEditPlan AddControlEdit(std::span<const ControlRecord> records, int32_t kind,
                                int32_t screen);
// Copies of the controls, 10 pixels right and down. Step "Duplicate 2 controls".
ControlsEditPlan DuplicateEdit(std::span<const ControlRecord> records,
                               const std::vector<int>& positions);
// Step "Delete 2 controls".
ControlsEditPlan DeleteEdit(std::span<const ControlRecord> records,
                            const std::vector<int>& positions);
// Moves the controls over (front) or under (back) every other control of their layer on their
// screen, keeping their own order. Steps "Bring 2 controls to front", "Send 2 controls to back";
// nothing when they are there already.
ControlsEditPlan StackingEdit(std::span<const ControlRecord> records,
                              const std::vector<int>& positions, bool front);

// A paste and what became of the screen links in it.
struct PastePlan : ControlsEditPlan {
    int Pasted = 0;
    int LinksKept = 0;       // links into another layout kept by their target's label
    int LinksRenumbered = 0; // of those, the ones showing a screen of another number now
    int LinksDropped = 0;    // links whose target has no screen of the same label here
    bool Offset = false;     // moved 10 pixels off the controls they were copied from
};
// Pastes the copied controls onto a screen of the layout whose records, screen labels and
// identity are given. They keep their place, or move 10 pixels right and down when they are pasted
// onto the screen of this very layout they came from. From another layout, a screen link keeps
// showing the screen whose label its target had there, renumbered to that screen's number here
// (labels compared without regard to letter case or blanks around them), and is left out when
// its target had no label or no screen here has it. Step "Paste 4 controls".
PastePlan PasteEdit(std::span<const ControlRecord> records,
                    const std::array<std::string, ScreenCount>& labels,
                    const std::string& layoutIdentity, const CopiedControls& copied,
                    int32_t screen);
// The labels of the layout's screens as its screen index holds them.
std::array<std::string, ScreenCount> ScreenLabels(const cLayout& layout);
// "Pasted 4 controls on screen 3; screen links: 2 kept by their screen's label (1 renumbered), 1
// dropped (no screen of its label here)".
std::string PasteSummary(const PastePlan& plan, int32_t screen);
