#pragma once
// Counts of a layout's records that the statistics report, the screen list's users and the
// command-line tool share: controls of each kind on a screen or on all screens, with the kinds the
// program does not know kept apart by their code, and the records lying on screens outside 0..15.

#include <array>
#include <cstdint>
#include <map>
#include <span>

#include "layout/ControlRecord.h"

struct KindCounts {
    std::array<int, ControlKind::Last + 1> Known{}; // indexed by rType 1..11; [0] stays 0
    std::map<int32_t, int> Other;                   // rType outside 1..11 -> records of it

    int OtherTotal() const;
};

// A negative screen counts the records of every screen.
KindCounts CountKinds(std::span<const ControlRecord> records, int screen);

// The statistics report's label of a kind 1..11, with its two leading blanks ("  DROs"); empty for
// any other code.
const char* KindLabel(int32_t kind);

// Records whose rScreen lies outside 0..15, by screen number.
std::map<int32_t, int> RecordsOffScreens(std::span<const ControlRecord> records);
