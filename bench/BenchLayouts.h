#pragma once
// The full layout every benchmark works on, and the plain copy of its records that the commands
// are measured against.

#include <vector>

#include "layout/ControlRecord.h"

constexpr int BenchDROScreen = 2;
constexpr int BenchDROGroup = 1;

// 2000 records of every kind on every screen: every twentieth is a DRO of one group on one
// screen (100 in all, at random places), and every twentieth, offset by ten, a button linking
// two screens.
const std::vector<ControlRecord>& FullBenchLayout();
