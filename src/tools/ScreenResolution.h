#pragma once
// The monitor resolutions a layout can be drawn for, and the one rule the Edit Controls window, the
// layout check and the command-line tool share: which resolution a layout's controls were drawn
// for, and the factor that rescales them from one resolution to another.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

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

struct DetectedResolution {
    int Index = 0;        // into Resolutions
    bool Outside = false; // no resolution holds the extents: the largest is assumed
};
// The first of the classic five that holds the extents; else the first of the others, in table
// order; else the largest, marked as outside.
DetectedResolution DetectResolution(int64_t x, int64_t y);

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
