#pragma once
// The full benchmark layout as skinned layouts are drawn: every screen starts with a background
// picture and every fifth control shows a picture, named the host's way.

#include <string>
#include <vector>

#include "layout/ControlRecord.h"

inline constexpr int BenchPictureCount = 8;
// "BenchBitmaps\Background.jpg" and "BenchBitmaps\Button<n>.png".
std::string BenchBackgroundName();
std::string BenchButtonName(int n);

const std::vector<ControlRecord>& PicturedBenchLayout();
// The screen holding the most records.
int LargestScreen(const std::vector<ControlRecord>& records);
