#include "platform/Windows1252.h"

#include <cerrno>
#include <iconv.h>

namespace {

// The bytes the code page leaves unassigned; the C1 control of the same value stands for each.
bool IsUnassigned(unsigned char c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// One iconv conversion, closed on every way out.
class Converter {
public:
    Converter(const char* to, const char* from) : Handle(::iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) ::iconv_close(Handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as it can; false at a sequence it cannot convert,
    // with `in` on that sequence.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            char* from = const_cast<char*>(in);
            const std::size_t result = ::iconv(Handle, &from, &inLeft, &outPtr, &outLeft);
            in = from;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t Handle;
};

void AppendC1(std::string& out, unsigned char c) {
    out.push_back(static_cast<char>(0xC2));
    out.push_back(static_cast<char>(c));
}

} // namespace

std::string Windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    Converter converter("UTF-8", "WINDOWS-1252");
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (converter.Valid() && converter.Run(in, left, out)) break;
        // A byte the converter has no character for: the C1 control of the same value, or
        // U+FFFD when the converter itself is missing.
        const auto c = static_cast<unsigned char>(*in);
        if (converter.Valid() && IsUnassigned(c))
            AppendC1(out, c);
        else if (!converter.Valid() && c < 0x80)
            out.push_back(static_cast<char>(c));
        else
            out += "\xEF\xBF\xBD";
        ++in;
        --left;
    }
    return out;
}

bool Utf8ToWindows1252(const std::string& utf8, std::string& bytes, std::size_t* failedAt) {
    Converter converter("WINDOWS-1252", "UTF-8");
    if (!converter.Valid()) {
        if (failedAt) *failedAt = 0;
        return false;
    }
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!converter.Run(in, left, out)) {
        // The C1 controls that stand for the unassigned bytes convert back to those bytes.
        const auto lead = static_cast<unsigned char>(in[0]);
        const auto next = left > 1 ? static_cast<unsigned char>(in[1]) : 0;
        if (lead == 0xC2 && IsUnassigned(next)) {
            out.push_back(static_cast<char>(next));
            in += 2;
            left -= 2;
            continue;
        }
        if (failedAt) *failedAt = static_cast<std::size_t>(in - utf8.data());
        return false;
    }
    bytes = std::move(out);
    return true;
}
