#include "tools/ScreenResolution.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

DetectedResolution ResolutionHoldingExtents(int64_t x, int64_t y) {
    DetectedResolution found;
    found.ExtentX = x;
    found.ExtentY = y;
    // The table lists the classic five first, so the first that holds is the rule's answer.
    found.Index = static_cast<int>(Resolutions.size()) - 1;
    found.Outside = true;
    for (std::size_t i = 0; i < Resolutions.size(); ++i)
        if (HoldsExtents(Resolutions[i], x, y)) {
            found.Index = static_cast<int>(i);
            found.Outside = false;
            break;
        }
    found.Size = Resolutions[static_cast<std::size_t>(found.Index)];
    return found;
}

namespace {

int IndexOf(const Resolution& resolution) {
    const auto at = std::find(Resolutions.begin(), Resolutions.end(), resolution);
    return at == Resolutions.end() ? -1 : static_cast<int>(at - Resolutions.begin());
}

// A length that is the listed width within 1 %; 0 when none is.
int32_t ListedWidthNear(int64_t length) {
    int32_t nearest = 0;
    int64_t nearestOff = 0;
    for (const Resolution& r : Resolutions) {
        const int64_t off = length > r.Width ? length - r.Width : r.Width - length;
        if (100 * off > r.Width) continue;
        if (nearest == 0 || off < nearestOff) nearest = r.Width, nearestOff = off;
    }
    return nearest;
}

// The smallest listed height of a listed width that holds a height within 1 %; 0 when none does.
int32_t ListedHeightHolding(int32_t width, int64_t height) {
    int32_t smallest = 0;
    for (const Resolution& r : Resolutions)
        if (r.Width == width && 100 * height <= 101 * int64_t{r.Height} &&
            (smallest == 0 || r.Height < smallest))
            smallest = r.Height;
    return smallest;
}

// A listed height of a listed width that a length is within 1 % of; 0 when none is.
int32_t ListedHeightNear(int32_t width, int64_t length) {
    for (const Resolution& r : Resolutions) {
        const int64_t off = length > r.Height ? length - r.Height : r.Height - length;
        if (r.Width == width && 100 * off <= r.Height) return r.Height;
    }
    return 0;
}

// Within this many pixels of 0,0 a picture counts as lying at the top left corner.
constexpr int64_t CornerSlack = 4;

// What the controls of the screens asked for show about the resolution they were drawn for.
struct Evidence {
    bool Any = false;
    int64_t Left = 0;                 // the smallest left edge
    int64_t ExtentX = 0, ExtentY = 0; // the largest right and bottom edges, at least 0
    std::optional<Resolution> Background;
};

Evidence Gather(std::span<const ControlRecord> records, int screen) {
    Evidence seen;
    for (const ControlRecord& r : records) {
        if (screen < 0 ? (r.rScreen < 0 || r.rScreen >= ScreenCount) : r.rScreen != screen)
            continue;
        const int64_t left = std::min(r.rX1, r.rX2), top = std::min(r.rY1, r.rY2);
        seen.Left = seen.Any ? std::min(seen.Left, left) : left;
        seen.Any = true;
        seen.ExtentX = std::max<int64_t>(seen.ExtentX, r.rX2);
        seen.ExtentY = std::max<int64_t>(seen.ExtentY, r.rY2);
        if (r.rType != ControlKind::Bitmap) continue;
        const int64_t right = std::max(r.rX1, r.rX2), bottom = std::max(r.rY1, r.rY2);
        const int64_t width = right - left;
        const int64_t height = bottom - top;
        // At the left edge the picture is as wide as the screen; centred on it (a rescale with
        // Centre), its margins are equal, so the screen is as wide as both its edges together.
        // A centred picture counts only when it fills at least half of the screen.
        int32_t listedWidth = 0;
        if (std::abs(left) <= CornerSlack) {
            listedWidth = ListedWidthNear(width);
        } else if (left > 0) {
            listedWidth = ListedWidthNear(left + right);
            if (2 * width < listedWidth) listedWidth = 0;
        }
        if (listedWidth == 0) continue;
        int32_t listedHeight = 0;
        if (std::abs(top) <= CornerSlack) {
            listedHeight = ListedHeightHolding(listedWidth, height);
        } else if (top > 0) {
            listedHeight = ListedHeightNear(listedWidth, top + bottom);
            if (2 * height < listedHeight) listedHeight = 0;
        }
        if (listedHeight == 0) continue;
        // Every screen must fit the monitor: the largest background decides.
        const Resolution found{listedWidth, listedHeight};
        if (!seen.Background || found.Width > seen.Background->Width ||
            (found.Width == seen.Background->Width && found.Height > seen.Background->Height))
            seen.Background = found;
    }
    return seen;
}

} // namespace

DetectedResolution DetectResolution(std::span<const ControlRecord> records, int screen,
                                    const std::optional<Resolution>& chosen) {
    const Evidence seen = Gather(records, screen);
    const auto decided = [&](const Resolution& size, ResolutionRule rule) {
        DetectedResolution found;
        found.Size = size;
        found.Index = IndexOf(size);
        found.From = rule;
        found.ExtentX = seen.ExtentX;
        found.ExtentY = seen.ExtentY;
        return found;
    };
    if (chosen) return decided(*chosen, ResolutionRule::Chosen);
    if (seen.Background) return decided(*seen.Background, ResolutionRule::Background);
    // A rescale that centres a screen on a wider one leaves as much room on the left of the
    // controls as on their right.
    if (seen.Any && seen.Left > 0) {
        const int32_t width = ListedWidthNear(seen.Left + seen.ExtentX);
        const int32_t height = width == 0 ? 0 : ListedHeightHolding(width, seen.ExtentY);
        if (height != 0) return decided({width, height}, ResolutionRule::Centred);
    }
    return ResolutionHoldingExtents(seen.ExtentX, seen.ExtentY);
}

std::string ResolutionRuleText(ResolutionRule rule) {
    switch (rule) {
    case ResolutionRule::Chosen:
        return "as chosen";
    case ResolutionRule::Background:
        return "from the background picture";
    case ResolutionRule::Centred:
        return "from the centred content";
    case ResolutionRule::Extents:
        break;
    }
    return "from how far the controls reach";
}

const char* ResolutionRuleName(ResolutionRule rule) {
    switch (rule) {
    case ResolutionRule::Chosen:
        return "chosen";
    case ResolutionRule::Background:
        return "background";
    case ResolutionRule::Centred:
        return "centred";
    case ResolutionRule::Extents:
        break;
    }
    return "extents";
}

std::string DrawnForText(const DetectedResolution& detected) {
    std::string text = "Drawn for " + ResolutionCaption(detected.Size) + " (";
    if (detected.Outside)
        text += "the largest listed: the controls reach to " + std::to_string(detected.ExtentX) +
                ", " + std::to_string(detected.ExtentY) + ", beyond every listed resolution";
    else
        text += ResolutionRuleText(detected.From);
    return text + ")";
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
