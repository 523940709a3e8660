#include "tools/ScreenResolution.h"

#include <algorithm>
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

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<int32_t> ParseResolutionSide(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    if (first == last) return std::nullopt;
    // Digits only: from_chars would take a minus sign, and no sign belongs in a size.
    for (std::size_t i = first; i < last; ++i)
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    int32_t value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    if (value < MinResolutionSide || value > MaxResolutionSide) return std::nullopt;
    return value;
}

std::optional<Resolution> ParseResolution(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const auto width = ParseResolutionSide(text.substr(0, x));
    const auto height = ParseResolutionSide(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return Resolution{*width, *height};
}
