#pragma once
// The texts a screen preview shows for a control that the record does not hold as text: a DRO's
// value as its format would print it and the badge of a screen link (the names of keys and kinds
// are the host's, in layout/HostCodes.h). Formats from files are read by a parser of our own and
// never reach printf.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A DRO format: one conversion of the form %[flags][width][.precision](f|e|g), blanks around it
// allowed, nothing else.
struct DROFormat {
    bool LeftAlign = false; // '-'
    bool Sign = false;      // '+'
    bool Blank = false;     // ' '
    bool ZeroPad = false;   // '0'
    bool Alternate = false; // '#'
    int Width = 0;
    int Precision = 6;
    char Conversion = 'f';
};

inline constexpr int MaxDROWidth = 64;
inline constexpr int MaxDROPrecision = 17;
// What a DRO shows when its format is not one the parser accepts.
inline constexpr const char* FallbackDROText = "0.0000";

// nullopt for anything but one accepted conversion, or a width or precision past the limits.
std::optional<DROFormat> ParseDROFormat(std::string_view text);
// The value as printf would print it with this format.
std::string FormatDRO(const DROFormat& format, double value);
// Zero formatted by a record's rFormat, or the fallback text when the format is refused.
std::string DROZeroText(std::string_view rFormat);

// "→ 5", in UTF-8: the badge of a control that shows screen 5.
std::string LinkBadgeText(int32_t target);
