#pragma once
// Conversion between Windows-1252 bytes and UTF-8: the default code page of CodePages.h, for the
// program's own texts (messages) and layouts read in it. Every byte has a character: the five
// bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// characters of the same value, so text converted there and back keeps its bytes.

#include <cstddef>
#include <string>
#include <string_view>

std::string Windows1252ToUtf8(const std::string& bytes);

// False when `utf8` is not well-formed UTF-8 or holds a character with no Windows-1252 byte;
// `bytes` is then untouched and `failedAt`, when given, receives the byte offset of the first
// such character in `utf8`.
bool Utf8ToWindows1252(const std::string& utf8, std::string& bytes,
                       std::size_t* failedAt = nullptr);

// The length of the well-formed UTF-8 sequence that starts at `at` (1 to 4), with its code point;
// 0 when the bytes there are not one: a stray continuation byte, an overlong form, a surrogate,
// a sequence cut short or beyond U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& codePoint);
