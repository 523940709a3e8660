#include "PreviewLayouts.h"

#include <array>

#include "BenchLayouts.h"

std::string BenchBackgroundName() {
    return "BenchBitmaps\\Background.jpg";
}

std::string BenchButtonName(int n) {
    return "BenchBitmaps\\Button" + std::to_string(n) + ".png";
}

const std::vector<ControlRecord>& PicturedBenchLayout() {
    static const std::vector<ControlRecord> records = [] {
        std::vector<ControlRecord> layout = FullBenchLayout();
        std::array<bool, ScreenCount> backed{};
        for (std::size_t i = 0; i < layout.size(); ++i) {
            ControlRecord& r = layout[i];
            const auto screen = static_cast<std::size_t>(r.rScreen);
            if (screen < backed.size() && !backed[screen]) {
                backed[screen] = true;
                r = ControlRecord();
                r.rType = ControlKind::Bitmap;
                r.rScreen = static_cast<int32_t>(screen);
                r.rText = "None";
                r.rBitMapPath = BenchBackgroundName();
                r.rX2 = 1027;
                r.rY2 = 729;
            } else if (i % 5 == 0) {
                r.rBitMapPath = BenchButtonName(static_cast<int>(i / 5) % BenchPictureCount);
            } else {
                r.rBitMapPath = "None";
            }
        }
        return layout;
    }();
    return records;
}

int LargestScreen(const std::vector<ControlRecord>& records) {
    std::array<int, ScreenCount> counts{};
    for (const ControlRecord& r : records)
        if (r.rScreen >= 0 && r.rScreen < ScreenCount)
            ++counts[static_cast<std::size_t>(r.rScreen)];
    int largest = 0;
    for (int s = 1; s < ScreenCount; ++s)
        if (counts[static_cast<std::size_t>(s)] > counts[static_cast<std::size_t>(largest)])
            largest = s;
    return largest;
}
