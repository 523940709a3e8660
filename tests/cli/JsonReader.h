#pragma once
// A strict reader of JSON text for the tests of the tool's output: one value with nothing but
// white space around it; raw control characters in strings, trailing commas and bad escapes are
// refused (and true and false, which the tool does not write), so text that reads here is valid
// JSON.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Number, String, Array, Object };
    Kind Type = Kind::Number;
    double Number = 0;
    std::string Text; // UTF-8
    std::vector<JsonValue> Items;
    std::vector<std::pair<std::string, JsonValue>> Members; // in the order written

    const JsonValue* Find(const std::string& key) const {
        for (const auto& [name, value] : Members)
            if (name == key) return &value;
        return nullptr;
    }
    const JsonValue& operator[](const std::string& key) const {
        if (const JsonValue* value = Find(key)) return *value;
        throw std::out_of_range("no member " + key);
    }
    const JsonValue& operator[](std::size_t index) const { return Items.at(index); }
    int64_t Int() const { return static_cast<int64_t>(Number); }
};

class JsonReader {
public:
    static std::optional<JsonValue> Parse(std::string_view text) {
        JsonReader reader(text);
        JsonValue value;
        if (!reader.Value(value)) return std::nullopt;
        reader.Blanks();
        if (reader.Pos != text.size()) return std::nullopt;
        return value;
    }

private:
    explicit JsonReader(std::string_view text) : Text(text) {}

    void Blanks() {
        while (Pos < Text.size() &&
               (Text[Pos] == ' ' || Text[Pos] == '\t' || Text[Pos] == '\n' || Text[Pos] == '\r'))
            ++Pos;
    }
    bool Take(char c) {
        Blanks();
        if (Pos < Text.size() && Text[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }
    bool Value(JsonValue& value) {
        Blanks();
        if (Pos >= Text.size()) return false;
        const char c = Text[Pos];
        if (c == '{') return Object(value);
        if (c == '[') return Array(value);
        if (c == '"') {
            value.Type = JsonValue::Kind::String;
            return String(value.Text);
        }
        if (Text.substr(Pos, 4) == "null") {
            value.Type = JsonValue::Kind::Null;
            Pos += 4;
            return true;
        }
        return Number(value);
    }

    bool Object(JsonValue& value) {
        value.Type = JsonValue::Kind::Object;
        ++Pos;
        if (Take('}')) return true;
        do {
            Blanks();
            std::string key;
            JsonValue member;
            if (Pos >= Text.size() || Text[Pos] != '"' || !String(key) || !Take(':') ||
                !Value(member))
                return false;
            value.Members.emplace_back(std::move(key), std::move(member));
        } while (Take(','));
        return Take('}');
    }

    bool Array(JsonValue& value) {
        value.Type = JsonValue::Kind::Array;
        ++Pos;
        if (Take(']')) return true;
        do {
            JsonValue item;
            if (!Value(item)) return false;
            value.Items.push_back(std::move(item));
        } while (Take(','));
        return Take(']');
    }

    bool Number(JsonValue& value) {
        const std::size_t start = Pos;
        if (Pos < Text.size() && Text[Pos] == '-') ++Pos;
        const std::size_t digits = Pos;
        while (Pos < Text.size() &&
               ((Text[Pos] >= '0' && Text[Pos] <= '9') || Text[Pos] == '.' || Text[Pos] == 'e' ||
                Text[Pos] == 'E' || Text[Pos] == '+' || Text[Pos] == '-'))
            ++Pos;
        if (Pos == digits) return false;
        value.Type = JsonValue::Kind::Number;
        value.Number = std::stod(std::string(Text.substr(start, Pos - start)));
        return true;
    }

    bool Hex4(uint32_t& code) {
        if (Pos + 4 > Text.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Text[Pos++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void PutUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    bool String(std::string& out) {
        ++Pos; // the opening quote
        while (Pos < Text.size()) {
            const char c = Text[Pos++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (Pos >= Text.size()) return false;
            const char e = Text[Pos++];
            const std::string_view simple = "\"\\/bfnrt";
            const std::string_view meant = "\"\\/\b\f\n\r\t";
            if (const std::size_t k = simple.find(e); k != std::string_view::npos) {
                out.push_back(meant[k]);
                continue;
            }
            uint32_t code = 0;
            // The tool escapes only characters of the Basic Multilingual Plane.
            if (e != 'u' || !Hex4(code) || (code >= 0xD800 && code <= 0xDFFF)) return false;
            PutUtf8(out, code);
        }
        return false;
    }

    std::string_view Text;
    std::size_t Pos = 0;
};
