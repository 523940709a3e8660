#include "platform/Windows1252.h"

#include <utility>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {

constexpr UINT kCodePage = 1252;

// The bytes the code page leaves unassigned; the C1 control of the same value stands for each.
bool IsUnassigned(unsigned int c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Whether the code page has a byte for this character, asked of the system one character at a time.
bool HasByte(char32_t c) {
    if (c < 0x80 || IsUnassigned(c)) return true;
    if (c > 0xFFFF) return false;
    const wchar_t wide = static_cast<wchar_t>(c);
    char out = 0;
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, &out, 1, nullptr,
                                        &usedDefault);
    return n == 1 && !usedDefault;
}

// Where the first character that cannot be converted starts.
std::size_t FirstFailure(const std::string& utf8) {
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t value = 0;
        const std::size_t length = Utf8SequenceAt(utf8, at, value);
        if (length == 0 || !HasByte(value)) return at;
        at += length;
    }
    return utf8.size();
}

std::wstring WideFromUtf8(const std::string& utf8, bool& ok) {
    ok = true;
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), n);
    return wide;
}

} // namespace

std::string Windows1252ToUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    // A single-byte code page gives one UTF-16 unit a byte, so each unassigned byte can be put
    // right at its own place, whatever the system maps it to.
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(bytes.size(), L'\0');
    const int n = ::MultiByteToWideChar(kCodePage, 0, bytes.data(), size, wide.data(), size);
    if (n != size) {
        // No converter: keep ASCII and mark the rest, as the other systems do without one.
        std::string out;
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80)
                out.push_back(c);
            else
                out += "\xEF\xBF\xBD";
        }
        return out;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (IsUnassigned(c)) wide[i] = static_cast<wchar_t>(c);
    }
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), length, nullptr, nullptr);
    return out;
}

bool Utf8ToWindows1252(const std::string& utf8, std::string& bytes, std::size_t* failedAt) {
    const auto fail = [&] {
        if (failedAt) *failedAt = FirstFailure(utf8);
        return false;
    };
    bool wellFormed = false;
    std::wstring wide = WideFromUtf8(utf8, wellFormed);
    if (!wellFormed) return fail();

    // The C1 controls that stand for the unassigned bytes are set aside and put back as those
    // bytes; every other character must have its own byte, never a look-alike.
    std::vector<std::pair<std::size_t, char>> unassigned;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (IsUnassigned(static_cast<unsigned int>(wide[i]))) {
            unassigned.emplace_back(i, static_cast<char>(wide[i]));
            wide[i] = L' ';
        }
    }
    std::string out(wide.size(), '\0');
    if (!wide.empty()) {
        BOOL usedDefault = FALSE;
        const int n = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                            static_cast<int>(wide.size()), out.data(),
                                            static_cast<int>(out.size()), nullptr, &usedDefault);
        if (n != static_cast<int>(wide.size()) || usedDefault) return fail();
    }
    for (const auto& [at, byte] : unassigned)
        out[at] = byte;
    bytes = std::move(out);
    return true;
}
