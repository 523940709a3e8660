#pragma once
// Which record of one version of a layout is which record of another: the matching behind diff and
// merge. Records are matched by what the controls are, not by where they stand in the file:
// first those equal in every field; then those equal but for their screen (carried to another
// screen, or their screen renumbered); then by kind, screen, texts, picture, function and OEM
// code (the position may differ); then a control left in its place under a new caption or
// picture; last, on one screen, a control with one or two of its properties changed, the least
// changed first. Among equals, the record nearest where the common order puts it wins, so one
// control inserted early is one unmatched record and nothing else.
//
// Screens renumbered between the versions (moved up or down the list, or one deleted and the rest
// moved down) are found from where the controls that make each screen what it is went; the
// matching is then done again with the old screen numbers and link targets read as the new version
// numbers them, so identical controls of different screens (the background picture of every screen)
// keep to their own screens.
//
// Guarantees: each record has at most one counterpart; the result depends only on the records;
// the work grows about linearly with the number of records (two 32767-record versions take well
// under a second).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "layout/ControlRecord.h"

// How the newer version numbers the screens 0..15 of the older one.
struct ScreenRenumbering {
    // NewOf[s]: the new number of old screen s, or -1 when the screen is gone.
    std::array<int32_t, ScreenCount> NewOf{};

    ScreenRenumbering();
    bool IsIdentity() const;
    // A screen number (a record's rScreen or a link's target) as the newer version numbers it:
    // numbers outside 0..15 name no screen of the layout and stay; nothing for a screen gone.
    std::optional<int32_t> Map(int32_t screen) const;
    // The record with its screen and, for a link to a screen of the layout, its target
    // renumbered; nothing when either screen is gone.
    std::optional<ControlRecord> Apply(const ControlRecord& record) const;
};

struct RecordMatch {
    std::vector<int> NewOfOld; // per old record (0-based), its counterpart in the new, or -1
    std::vector<int> OldOfNew; // per new record, its counterpart in the old, or -1
    // Per old record: matched, but not in the longest run of matched records that kept their
    // order, so it counts as moved. The run is the longest there is, so the fewest are moved.
    std::vector<bool> Reordered;
    ScreenRenumbering Screens;
    // Where the common order would put old record i in the new version (0-based, fractional when
    // between two), for placing what has no counterpart.
    std::vector<double> ExpectedNew;
};

RecordMatch MatchRecords(std::span<const ControlRecord> older,
                         std::span<const ControlRecord> newer);
