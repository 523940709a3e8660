#include "platform/SystemCodePage.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

struct SystemCodePage::Handles {
    UINT CodePage = 0;
    bool Valid = false;
};

SystemCodePage::SystemCodePage(int codePage) : Converter(std::make_unique<Handles>()) {
    Converter->CodePage = static_cast<UINT>(codePage);
    CPINFO info{};
    Converter->Valid = ::GetCPInfo(Converter->CodePage, &info) != FALSE;
}

SystemCodePage::~SystemCodePage() = default;

bool SystemCodePage::Valid() const {
    return Converter->Valid;
}

bool SystemCodePage::Decode(std::string_view bytes, char32_t& character) {
    if (!Converter->Valid || bytes.empty()) return false;
    wchar_t wide[4];
    const int n = ::MultiByteToWideChar(Converter->CodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                        static_cast<int>(bytes.size()), wide, 4);
    if (n == 1 && !(wide[0] >= 0xD800 && wide[0] <= 0xDFFF)) {
        character = static_cast<char32_t>(wide[0]);
        return true;
    }
    if (n == 2 && wide[0] >= 0xD800 && wide[0] <= 0xDBFF && wide[1] >= 0xDC00 && wide[1] <= 0xDFFF) {
        character = 0x10000 + ((static_cast<char32_t>(wide[0]) - 0xD800) << 10) +
                    (static_cast<char32_t>(wide[1]) - 0xDC00);
        return true;
    }
    return false;
}

bool SystemCodePage::Encode(char32_t character, std::string& bytes) {
    if (!Converter->Valid) return false;
    wchar_t wide[2];
    int length = 1;
    if (character >= 0x10000) {
        if (character > 0x10FFFF) return false;
        wide[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        length = 2;
    } else {
        if (character >= 0xD800 && character <= 0xDFFF) return false;
        wide[0] = static_cast<wchar_t>(character);
    }
    char out[8];
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(Converter->CodePage, WC_NO_BEST_FIT_CHARS, wide, length, out,
                                        sizeof out, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    bytes.assign(out, static_cast<std::size_t>(n));
    return true;
}
