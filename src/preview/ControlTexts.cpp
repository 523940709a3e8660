#include "preview/ControlTexts.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "layout/HostCodes.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits at `at`, at most up to `limit`; false past the limit (a hostile "%999999f").
bool ReadNumber(std::string_view text, std::size_t& at, int limit, int& value) {
    value = 0;
    while (at < text.size() && IsDigit(text[at])) {
        value = value * 10 + (text[at] - '0');
        if (value > limit) return false;
        ++at;
    }
    return true;
}

std::string ToChars(double value, std::chars_format style, int precision) {
    // Enough for the widest double in fixed notation with the largest precision allowed.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, style, precision);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

int ExponentOf(const std::string& scientific) {
    const std::size_t e = scientific.find('e');
    return e == std::string::npos ? 0 : std::atoi(scientific.c_str() + e + 1);
}

void DropTrailingZeros(std::string& digits) {
    const std::size_t point = digits.find('.');
    if (point == std::string::npos) return;
    const std::size_t e = digits.find('e');
    const std::size_t end = e == std::string::npos ? digits.size() : e;
    std::size_t last = end;
    while (last > point + 1 && digits[last - 1] == '0')
        --last;
    if (last == point + 1) last = point;
    digits.erase(last, end - last);
}

} // namespace

std::optional<DROFormat> ParseDROFormat(std::string_view text) {
    text = TrimmedBlanks(text);
    if (text.size() < 2 || text.front() != '%') return std::nullopt;
    DROFormat format;
    std::size_t at = 1;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '-')
            format.LeftAlign = true;
        else if (c == '+')
            format.Sign = true;
        else if (c == ' ')
            format.Blank = true;
        else if (c == '0')
            format.ZeroPad = true;
        else if (c == '#')
            format.Alternate = true;
        else
            break;
    }
    if (!ReadNumber(text, at, MaxDROWidth, format.Width)) return std::nullopt;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!ReadNumber(text, at, MaxDROPrecision, format.Precision)) return std::nullopt;
    }
    if (at + 1 != text.size()) return std::nullopt;
    const char conversion = text[at];
    if (conversion != 'f' && conversion != 'e' && conversion != 'g') return std::nullopt;
    format.Conversion = conversion;
    return format;
}

std::string FormatDRO(const DROFormat& format, double value) {
    std::string digits;
    if (!std::isfinite(value)) {
        digits = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    } else if (format.Conversion == 'f') {
        digits = ToChars(value, std::chars_format::fixed, format.Precision);
        if (format.Alternate && format.Precision == 0) digits += '.';
    } else if (format.Conversion == 'e') {
        digits = ToChars(value, std::chars_format::scientific, format.Precision);
        if (format.Alternate && format.Precision == 0) digits.insert(digits.find('e'), 1, '.');
    } else {
        // %g: scientific when the exponent is below -4 or not below the precision, else fixed;
        // trailing zeros go unless the alternate form keeps them.
        const int p = format.Precision == 0 ? 1 : format.Precision;
        const std::string scientific = ToChars(value, std::chars_format::scientific, p - 1);
        const int x = ExponentOf(scientific);
        digits =
            (x < -4 || x >= p) ? scientific : ToChars(value, std::chars_format::fixed, p - 1 - x);
        if (format.Alternate) {
            if (digits.find('.') == std::string::npos) {
                const std::size_t e = digits.find('e');
                digits.insert(e == std::string::npos ? digits.size() : e, 1, '.');
            }
        } else {
            DropTrailingZeros(digits);
        }
    }
    if (digits.front() != '-') {
        if (format.Sign)
            digits.insert(digits.begin(), '+');
        else if (format.Blank)
            digits.insert(digits.begin(), ' ');
    }
    const std::size_t width = static_cast<std::size_t>(format.Width);
    if (digits.size() < width) {
        const std::size_t fill = width - digits.size();
        if (format.LeftAlign) {
            digits.append(fill, ' ');
        } else if (format.ZeroPad && std::isfinite(value)) {
            const bool signed_ =
                digits.front() == '-' || digits.front() == '+' || digits.front() == ' ';
            digits.insert(signed_ ? 1 : 0, fill, '0');
        } else {
            digits.insert(0, fill, ' ');
        }
    }
    return digits;
}

std::string DROZeroText(std::string_view rFormat) {
    const std::optional<DROFormat> format = ParseDROFormat(rFormat);
    return format ? FormatDRO(*format, 0.0) : std::string(FallbackDROText);
}

std::string LinkBadgeText(int32_t target) {
    return "\xE2\x86\x92 " + std::to_string(target);
}
