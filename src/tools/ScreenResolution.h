#pragma once
// The monitor resolutions a layout can be drawn for, and the one rule the Edit Controls window, the
// previews, the layout check and the command-line tool share: which resolution a layout's controls
// were drawn for, and the factor that rescales them from one resolution to another.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "layout/ControlRecord.h"

struct Resolution {
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const Resolution&) const = default;
};

// The classic five first, in their order (indexes 0..4), then the widescreen and larger ones.
inline constexpr std::array<Resolution, 15> Resolutions{{
    {640, 480},
    {800, 600},
    {1024, 768},
    {1152, 864},
    {1280, 1024},
    {1280, 720},
    {1280, 800},
    {1366, 768},
    {1440, 900},
    {1600, 900},
    {1680, 1050},
    {1920, 1080},
    {1920, 1200},
    {2560, 1440},
    {3840, 2160},
}};
inline constexpr int ClassicResolutionCount = 5;

// The sides a resolution of the user's own ("Other") may have.
inline constexpr int32_t MinResolutionSide = 320;
inline constexpr int32_t MaxResolutionSide = 16384;

// "1024 x 768", as the window's options show it.
std::string ResolutionCaption(const Resolution& resolution);
// One of the classic five (by its size).
bool IsClassicResolution(const Resolution& resolution);

// Whether a screen of this resolution shows controls reaching to x and y. Layouts drawn for a
// resolution reach a little past it (background pictures 1028 pixels wide on 1024 x 768), so
// 1 % more is allowed: 100 x <= 101 W and 100 y <= 101 H.
bool HoldsExtents(const Resolution& resolution, int64_t x, int64_t y);

// Which rule decided the resolution a layout is drawn for, so that the windows and the tool can
// say how it was found.
enum class ResolutionRule {
    Chosen,     // the user chose it
    Background, // a background picture at the top left corner, as wide as a listed resolution
    Centred,    // the controls centred on a listed width
    Extents,    // how far the controls reach
};

struct DetectedResolution {
    Resolution Size;
    int Index = 0; // into Resolutions; -1 for a size of the user's own that the table lacks
    ResolutionRule From = ResolutionRule::Extents;
    bool Outside = false; // no resolution holds the extents: the largest is assumed
    // How far the controls of the screens asked for reach (their largest right and bottom edges,
    // at least 0), whichever rule decided.
    int64_t ExtentX = 0, ExtentY = 0;
};

// The rule of the extents alone: the first of the classic five that holds them; else the first of
// the others, in table order; else the largest, marked as outside.
DetectedResolution ResolutionHoldingExtents(int64_t x, int64_t y);

// The resolution the controls of one screen (of the screens 0..15 when screen is negative) were
// drawn for, the one entry point of the windows, the previews, the check and the tool. A
// resolution the user chose is taken as it is. Otherwise, by evidence:
//   1. a background picture: a bitmap at 0,0 (within 4 pixels) whose width is a listed width
//      within 1 % gives that width, with the smallest listed height for it that holds the
//      picture's height within 1 %; a bitmap standing centred (its left and right margins
//      equal within 1 % of a listed width, or its top and bottom margins of a listed height)
//      and filling at least half of it counts too, for that width or height; of several such
//      pictures the largest resolution counts;
//   2. centred content: when the controls start at x0 > 0 and end at x1, and x0 + x1 is a listed
//      width within 1 %, that width with the smallest listed height for it holding the extents;
//   3. the extents (ResolutionHoldingExtents).
DetectedResolution DetectResolution(std::span<const ControlRecord> records, int screen,
                                    const std::optional<Resolution>& chosen = std::nullopt);

// How the resolution was found, for a sentence: "from the background picture", "from the centred
// content", "from how far the controls reach", "as chosen".
std::string ResolutionRuleText(ResolutionRule rule);
// The rule's name in machine-readable output: "chosen", "background", "centred", "extents".
const char* ResolutionRuleName(ResolutionRule rule);
// "Drawn for 1024 x 768 (from the background picture)".
std::string DrawnForText(const DetectedResolution& detected);

struct RescalePlan {
    float Factor = 1.0f;       // single precision, as the rescale arithmetic takes it
    bool FromHeights = false;  // the height ratio limited the factor
    int32_t CentringShift = 0; // pixels to move right to centre on a wider screen, when FromHeights
};
// Between two classic resolutions the ratio of the widths. Otherwise the factor that keeps the
// whole screen visible with its proportions: the smaller of the width and height ratios; when that
// is the height ratio, the shift that centres the screen is round((new width - old width x
// factor) / 2), halves away from zero. Both resolutions have positive sides (the table's, or ones
// read by ParseResolution or ParseResolutionSide).
RescalePlan PlanRescale(const Resolution& from, const Resolution& to);

// One side of a resolution of the user's own: a whole number from MinResolutionSide to
// MaxResolutionSide, blanks around it allowed; nullopt otherwise.
std::optional<int32_t> ParseResolutionSide(const std::string& text);
// "1920x1080" (also "1920 x 1080" or with a capital X), both sides as ParseResolutionSide reads
// them; nullopt otherwise.
std::optional<Resolution> ParseResolution(const std::string& text);
