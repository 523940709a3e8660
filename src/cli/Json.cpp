#include "cli/Json.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";

void PutEscape(std::string& out, uint32_t code) {
    out += "\\u00";
    out.push_back(Hex[(code >> 4) & 0xF]);
    out.push_back(Hex[code & 0xF]);
}

// The length of the well-formed UTF-8 sequence starting at text[i], or 0 when it is ill-formed
// (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF or cut short).
std::size_t SequenceLength(std::string_view text, std::size_t i, uint32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    uint32_t lowest = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, lowest = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

} // namespace

std::string JsonString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out.push_back('"');
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t code = 0;
        const std::size_t length = SequenceLength(utf8, i, code);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (code == '"' || code == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(code));
        } else if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
            // The C1 controls too: a terminal showing the output would act on them.
            PutEscape(out, code);
        } else {
            out.append(utf8.substr(i, length));
        }
        i += length;
    }
    out.push_back('"');
    return out;
}

void JsonWriter::BeforeValue() {
    if (AfterKey) {
        AfterKey = false;
        return;
    }
    if (!HasMembers.empty()) {
        if (HasMembers.back()) Out += ", ";
        HasMembers.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    Out.push_back('{');
    HasMembers.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    Out.push_back('}');
    HasMembers.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    Out.push_back('[');
    HasMembers.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    Out.push_back(']');
    HasMembers.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view utf8) {
    BeforeValue();
    Out += JsonString(utf8);
    Out += ": ";
    AfterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    Out += JsonString(utf8);
    return *this;
}

JsonWriter& JsonWriter::Number(int64_t value) {
    BeforeValue();
    Out += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    Out += "null";
    return *this;
}
