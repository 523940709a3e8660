#include "tools/ScreenResolution.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

std::string ResolutionCaption(const Resolution& resolution) {
    return std::to_string(resolution.Width) + " x " + std::to_string(resolution.Height);
}

bool IsClassicResolution(const Resolution& resolution) {
    const auto classic = Resolutions.begin() + ClassicResolutionCount;
    return std::find(Resolutions.begin(), classic, resolution) != classic;
}

bool HoldsExtents(const Resolution& resolution, int64_t x, int64_t y) {
    return 100 * x <= 101 * static_cast<int64_t>(resolution.Width) &&
           100 * y <= 101 * static_cast<int64_t>(resolution.Height);
}

DetectedResolution DetectResolution(int64_t x, int64_t y) {
    // The table lists the classic five first, so the first that holds is the rule's answer.
    for (std::size_t i = 0; i < Resolutions.size(); ++i)
        if (HoldsExtents(Resolutions[i], x, y)) return {static_cast<int>(i), false};
    return {static_cast<int>(Resolutions.size()) - 1, true};
}

RescalePlan PlanRescale(const Resolution& from, const Resolution& to) {
    const double widths = static_cast<double>(to.Width) / static_cast<double>(from.Width);
    RescalePlan plan;
    if (IsClassicResolution(from) && IsClassicResolution(to)) {
        plan.Factor = static_cast<float>(widths);
        return plan;
    }
    const double heights = static_cast<double>(to.Height) / static_cast<double>(from.Height);
    plan.FromHeights = heights < widths;
    plan.Factor = static_cast<float>(std::min(widths, heights));
    if (plan.FromHeights) {
        const double used = static_cast<double>(from.Width) * static_cast<double>(plan.Factor);
        plan.CentringShift = static_cast<int32_t>(std::lround((to.Width - used) / 2.0));
    }
    return plan;
}

std::optional<Resolution> ParseResolution(const std::string& text) {
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    const std::size_t x = compact.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == compact.size()) return std::nullopt;
    const auto side = [](const char* first, const char* last) -> std::optional<int32_t> {
        int32_t value = 0;
        const auto result = std::from_chars(first, last, value);
        if (result.ec != std::errc() || result.ptr != last) return std::nullopt;
        if (value < MinResolutionSide || value > MaxResolutionSide) return std::nullopt;
        return value;
    };
    const char* begin = compact.data();
    const auto width = side(begin, begin + x);
    const auto height = side(begin + x + 1, begin + compact.size());
    if (!width || !height) return std::nullopt;
    return Resolution{*width, *height};
}
