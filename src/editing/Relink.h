#pragma once
// Relinking pictures: one picture path, or every path under a folder, given a new path in one
// step. Paths are matched as Windows matches them (PicturePathKey: letter case ignored, '\' and
// '/' alike), and the rest of a path under a folder is kept as the layout spells it, so
// "NewPlasma\" relinked to "Skin\" turns "Newplasma/Jog.PNG" into "Skin\Jog.PNG". The window's
// pictures pane and quill call the same function; it returns the edit for cLayout::ApplyEdit or
// why it is refused, with nothing changed.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layout/cLayout.h"

// A folder is named by a path that ends in '\' or '/'.
bool IsPictureFolder(std::string_view path);

struct RelinkPlan {
    ControlsEdit Edit;
    int Controls = 0;     // controls whose path changes
    int Matched = 0;      // controls whose path matches, changed or not
    bool NoMatch = false; // refused because no control's picture matches
    std::string Refusal;  // why nothing may change; empty when the edit may be applied

    // The undo step: "Relink 3 controls"
    std::string StepText() const;
};

// The new path of every control whose picture is `from` (a whole path), or lies under `from` (a
// folder). A folder's new path gets a separator when it has none ("Skin" for
// "NewPlasma/" is "Skin\", the host's separator); it may be empty, which puts the pictures in the
// host's folder itself. `only`, when not empty, limits the relink to those 1-based positions.
// Refused when `from` names nothing, no control's picture matches it, a whole path's new path names
// no picture, or a new path would be longer than MaxTextLength. Windows-1252 bytes throughout.
RelinkPlan PlanRelink(std::span<const ControlRecord> records, const std::string& from,
                      const std::string& to, const std::vector<int>& only = {});
