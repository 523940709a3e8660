#include "cli/Json.h"

#include "platform/Windows1252.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";

void PutEscape(std::string& out, uint32_t code) {
    out += "\\u00";
    out.push_back(Hex[(code >> 4) & 0xF]);
    out.push_back(Hex[code & 0xF]);
}

} // namespace

std::string JsonString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out.push_back('"');
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(utf8, i, code);
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
