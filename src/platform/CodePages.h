#pragma once
// The one converter between a layout's bytes and UTF-8, for every code page a host's Windows may
// write its layouts in. The characters come from the system's converter (iconv, or the Windows
// API); what it is asked once per code page is kept in tables, so every crossing is a table walk
// and every byte survives it: bytes the code page gives no character are kept as the control
// character of the same value (or, where the code page has a character of that value, as the
// private-use character U+10FF00 plus the byte), and convert back to themselves.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

inline constexpr int DefaultCodePage = 1252;

// Windows-1252 first, then 1250, 1251, 1253..1258, 874, 932, 936, 949, 950.
std::span<const int> SupportedCodePages();
bool IsSupportedCodePage(int codePage);
// "Windows-1251", "GBK", "Shift-JIS", "UHC", "Big5"; "" for a code page not supported.
std::string CodePageName(int codePage);
// The name with its script: "Windows-1251 (Cyrillic)", "GBK (Simplified Chinese)".
std::string CodePageDescription(int codePage);
// Whether the code page has characters of two bytes (932, 936, 949, 950).
bool IsDoubleByteCodePage(int codePage);

// The text of `bytes` as UTF-8. Every byte has a character, so nothing is lost.
std::string CodePageToUtf8(std::string_view bytes, int codePage);

// False when `utf8` is not well-formed UTF-8 or holds a character with no bytes in the code page;
// `bytes` is then untouched and `failedAt`, when given, receives the byte offset of the first such
// character in `utf8`.
bool Utf8ToCodePage(std::string_view utf8, std::string& bytes, int codePage,
                    std::size_t* failedAt = nullptr);

// How many bytes the character at `at` takes: 2 for a pair of a double-byte code page, else 1.
std::size_t CodePageCharacterLength(std::string_view bytes, std::size_t at, int codePage);

// The UTF-8 character starting at `at` (for naming it in a refusal), or "" when none starts there.
std::string Utf8CharacterAt(std::string_view utf8, std::size_t at);
