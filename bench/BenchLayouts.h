#pragma once
// The layouts every benchmark works on, at the two sizes each command is timed at, and the plain
// copy of their records that the commands are measured against.

#include <benchmark/benchmark.h>

#include <vector>

#include "layout/ControlRecord.h"

constexpr int BenchDROScreen = 2;
constexpr int BenchDROGroup = 1;

// The sizes a command is timed at: a layout as large as most, and the largest a layout holds.
constexpr int BenchCommonSize = 2000;
constexpr int BenchLargestSize = MaxControls;

// The test helpers' mixed layout (MixedLayout) of that many records, made once: its DROs are
// group BenchDROGroup on screen BenchDROScreen.
const std::vector<ControlRecord>& BenchLayout(int records);
// The layout of 2000 records the preview benchmarks draw.
const std::vector<ControlRecord>& FullBenchLayout();

// Times a benchmark at both sizes; state.range(0) is the number of records.
void AtBothSizes(benchmark::internal::Benchmark* benchmark);
