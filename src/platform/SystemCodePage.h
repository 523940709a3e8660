#pragma once
// What the code-page tables ask of the system's converter, one character at a time: iconv here,
// the Windows API in the Win32 source.

#include <memory>
#include <string>
#include <string_view>

class SystemCodePage {
public:
    explicit SystemCodePage(int codePage);
    ~SystemCodePage();
    SystemCodePage(const SystemCodePage&) = delete;
    SystemCodePage& operator=(const SystemCodePage&) = delete;

    bool Valid() const;
    // The one character `bytes` stand for; false when they are no character or more than one.
    bool Decode(std::string_view bytes, char32_t& character);
    // The bytes of one character, never a look-alike; false when the code page has none.
    bool Encode(char32_t character, std::string& bytes);

private:
    struct Handles;
    std::unique_ptr<Handles> Converter;
};
