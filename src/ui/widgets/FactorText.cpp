#include "ui/widgets/FactorText.h"

#include <charconv>

#include "ui/widgets/CodePage.h"

std::string FactorText(float factor, const QLocale& locale) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(factor),
                                      std::chars_format::general, 7);
    std::string text(digits, result.ptr);
    std::string separator;
    // A separator the code page has no byte for falls back to the point.
    if (!ToCodePage(locale.decimalPoint(), separator) || separator.empty()) separator = ".";
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}
