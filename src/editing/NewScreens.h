#pragma once
// New screens as plain functions: a new screen with its label and a link to it in each row of
// screen links, and a copy of a screen. Each takes the layout's records (read only) and what the
// user chose, and returns one edit for cLayout::ApplyEdit (one history step) with what became of
// each link, or a refusal saying why nothing can be done. The Screen menu and `quill add-screen`
// and `quill duplicate-screen` make their changes through these.
//
// A row of screen links is two or more links of one kind to the layout's screens lying side by
// side (the same top and height) or one above the other (the same left edge and width); a
// screen's row is its longest one. A new link copies the row's last link (kind, size, picture,
// colour, style), shows the new screen, is captioned with its label and goes after that link
// where nothing but a picture lies there and the screen holds it; else below the row (right of a
// column), else after the last link anyway, and the plan says where it went.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "editing/ControlEdits.h"

struct NewScreenRequest {
    std::string Label; // the screen's name, Windows-1252 bytes, without the mark
    std::optional<int32_t>
        Screen; // the empty screen to take; the lowest empty one from 1 when not given
    // The screens to get a link; when not given, every screen with a row of screen links.
    std::optional<std::vector<int32_t>> LinksOn;
    // The key of every link (0: none); when not given, the next Alt+digit free on each screen.
    std::optional<int32_t> Key;
};

struct PlacedLink {
    int32_t Screen = 0;
    int Record = 0;       // 1-based position after the edit
    int32_t Key = 0;      // 0: no key
    bool AfterRow = true; // placed right after the row's last link
    std::string Where;    // "screen 3: after its row at 560,0" and how it went, for the user
};

struct NewScreenPlan : ControlsEditPlan {
    int32_t Screen = -1;
    std::vector<PlacedLink> Links;
    std::vector<std::string> Notes; // what the user should know, each a sentence
};

// The row of screen links of one screen, positions 1-based in record order; empty when none.
std::vector<int> ScreenLinkRow(std::span<const ControlRecord> records, int32_t screen);
// The screens 0..15 that have a row of screen links.
std::vector<int32_t> ScreensWithLinkRows(std::span<const ControlRecord> records);

// The lowest empty screen from 1 up; -1 when there is none.
int32_t LowestEmptyScreen(std::span<const ControlRecord> records);

// Step "New screen 4 \"Probing\"". Refused when the label is empty or names another screen
// already, when the chosen screen is not one of 1..15 or holds controls, when no screen is
// empty, when a chosen screen has no screen link to copy, when a given key is taken on one of
// the chosen screens, or when the layout has no room for the records.
NewScreenPlan NewScreenEdit(std::span<const ControlRecord> records,
                            const NewScreenRequest& request);

// Copies every control of the source screen onto an empty screen (the lowest from 1 up when
// not given) in their order, the screen label renamed (added when the source has none), and the
// copy's links that showed the source screen show the copy. Step "Duplicate screen 2 as 5
// \"Probing\"". Refused like NewScreenEdit, and when the source screen holds no control.
NewScreenPlan DuplicateScreenEdit(std::span<const ControlRecord> records, int32_t source,
                                  const std::string& label,
                                  std::optional<int32_t> target = std::nullopt);
