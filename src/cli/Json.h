#pragma once
// Writes JSON text for the tool's machine-readable output: objects and arrays on one line, keys
// and texts taken as UTF-8 and escaped so that any byte sequence gives valid JSON (control
// characters as \u00XX, ill-formed UTF-8 as U+FFFD).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text as a quoted JSON string.
std::string JsonString(std::string_view utf8);

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next member of the open object.
    JsonWriter& Key(std::string_view utf8);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& Number(int64_t value);
    JsonWriter& Null();

    const std::string& Text() const { return Out; }

private:
    void BeforeValue();

    std::string Out;
    std::vector<bool> HasMembers; // one entry per open object or array
    bool AfterKey = false;
};
