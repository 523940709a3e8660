#include "platform/SystemCodePage.h"

#include <iconv.h>

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// Runs one whole conversion from a fresh state; false unless all input converted.
bool Convert(iconv_t handle, std::string_view in, char* out, std::size_t& outSize) {
    if (handle == NoConverter) return false;
    ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char* from = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char* to = out;
    std::size_t room = outSize;
    if (::iconv(handle, &from, &left, &to, &room) == static_cast<std::size_t>(-1)) return false;
    // A stateful converter (Vietnamese composes) may hold a character back until flushed.
    if (::iconv(handle, nullptr, nullptr, &to, &room) == static_cast<std::size_t>(-1)) return false;
    outSize = outSize - room;
    return left == 0;
}

} // namespace

struct SystemCodePage::Handles {
    iconv_t ToUnicode = NoConverter;
    iconv_t FromUnicode = NoConverter;
};

SystemCodePage::SystemCodePage(int codePage) : Converter(std::make_unique<Handles>()) {
    const std::string name = "CP" + std::to_string(codePage);
    Converter->ToUnicode = ::iconv_open("UTF-32LE", name.c_str());
    Converter->FromUnicode = ::iconv_open(name.c_str(), "UTF-32LE");
}

SystemCodePage::~SystemCodePage() {
    if (Converter->ToUnicode != NoConverter) ::iconv_close(Converter->ToUnicode);
    if (Converter->FromUnicode != NoConverter) ::iconv_close(Converter->FromUnicode);
}

bool SystemCodePage::Valid() const {
    return Converter->ToUnicode != NoConverter && Converter->FromUnicode != NoConverter;
}

bool SystemCodePage::Decode(std::string_view bytes, char32_t& character) {
    char out[16];
    std::size_t size = sizeof out;
    if (!Convert(Converter->ToUnicode, bytes, out, size) || size != 4) return false;
    const auto byte = [&out](int i) { return static_cast<char32_t>(static_cast<unsigned char>(out[i])); };
    character = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    return true;
}

bool SystemCodePage::Encode(char32_t character, std::string& bytes) {
    const char in[4] = {static_cast<char>(character & 0xFF), static_cast<char>(character >> 8 & 0xFF),
                        static_cast<char>(character >> 16 & 0xFF),
                        static_cast<char>(character >> 24 & 0xFF)};
    char out[16];
    std::size_t size = sizeof out;
    if (!Convert(Converter->FromUnicode, std::string_view(in, 4), out, size) || size == 0)
        return false;
    bytes.assign(out, size);
    return true;
}
