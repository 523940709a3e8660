#include "editing/ControlFields.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "layout/HostCodes.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"
#include "preview/PictureFinder.h"
#include "platform/SystemPaths.h"

namespace {

using R = ControlRecord;

// The record's twenty fields as the field table has them, then the two sizes, each kept as the
// far edge: rX2 = rX1 + width.
constexpr std::array<ControlField, 22> Fields = [] {
    std::array<ControlField, 22> fields{};
    for (std::size_t k = 0; k < RecordFields.size(); ++k) {
        const RecordField& f = RecordFields[k];
        fields[k] = {f.Name, f.Caption, f.Type, f.Number, f.Text};
    }
    fields[20] = {"Width", "Width", FieldType::Size, &R::rX2};
    fields[21] = {"Height", "Height", FieldType::Size, &R::rY2};
    return fields;
}();

constexpr int64_t LongMin = std::numeric_limits<int32_t>::min();
constexpr int64_t LongMax = std::numeric_limits<int32_t>::max();
const std::string RangeText = "the 32-bit range -2147483648 to 2147483647";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string Quoted(std::string_view utf8) {
    // A long text is named by its start: the message is one line beside a field.
    constexpr std::size_t Shown = 40;
    if (utf8.size() <= Shown) return "\"" + std::string(utf8) + "\"";
    std::size_t cut = Shown;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return "\"" + std::string(utf8.substr(0, cut)) + "...\"";
}

FieldParse Refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

FieldParse Accepted(int64_t number) {
    return {FieldValue{number, {}}, {}};
}

// A whole number as a field reads it: decimal, with a plus sign allowed (blanks around are trimmed
// by the caller); nothing for anything else. `outOfRange` says a number was written but lies
// beyond 64 bits. Plain numbers elsewhere (WholeNumber) take no plus sign.
std::optional<int64_t> TypedWholeNumber(std::string_view text, bool& outOfRange) {
    outOfRange = false;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ptr != end) return std::nullopt;
    if (result.ec == std::errc::result_out_of_range) {
        outOfRange = true;
        return std::nullopt;
    }
    if (result.ec != std::errc()) return std::nullopt;
    return value;
}

FieldParse ParseLong(std::string_view typed) {
    const std::string_view text = TrimmedBlanks(typed);
    bool tooLarge = false;
    const std::optional<int64_t> number = TypedWholeNumber(text, tooLarge);
    if (tooLarge || (number && (*number < LongMin || *number > LongMax)))
        return Refused(std::string(text) + " lies outside " + RangeText);
    if (!number) return Refused(Quoted(typed) + " is not a whole number");
    return Accepted(*number);
}

FieldParse ParseColour(std::string_view typed) {
    const std::string_view text = TrimmedBlanks(typed);
    if (text.size() > 2 && text[0] == '0' && Lower(text[1]) == 'x') {
        const std::string_view digits = text.substr(2);
        uint64_t value = 0;
        const char* end = digits.data() + digits.size();
        const auto result = std::from_chars(digits.data(), end, value, 16);
        if (result.ptr == end && result.ec == std::errc() && value <= 0xFFFFFFFFu)
            return Accepted(static_cast<int32_t>(static_cast<uint32_t>(value)));
        if (result.ptr == end)
            return Refused(std::string(text) + " lies outside the 32 bits of a colour, 0x00000000 "
                                               "to 0xFFFFFFFF");
    } else {
        bool tooLarge = false;
        if (TypedWholeNumber(text, tooLarge) || tooLarge) return ParseLong(text);
    }
    return Refused(Quoted(typed) +
                   " is not a colour: write a number, or 0x and the hex digits 00BBGGRR");
}

// "U+2713" for a code point.
std::string CodePointName(char32_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    return name;
}

FieldParse ParseText(std::string_view typed, int codePage) {
    FieldValue value;
    std::size_t failedAt = 0;
    const std::string utf8(typed);
    if (!Utf8ToCodePage(utf8, value.Text, codePage, &failedAt)) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(utf8, failedAt, code);
        if (length == 0) return Refused("the text is not well-formed UTF-8");
        return Refused("the text holds \"" + utf8.substr(failedAt, length) + "\" (" +
                       CodePointName(code) + "), which has no " + CodePageName(codePage) +
                       " byte");
    }
    if (value.Text.size() > static_cast<std::size_t>(MaxTextLength))
        return Refused("the text holds " + std::to_string(value.Text.size()) +
                       " characters, more than the " + std::to_string(MaxTextLength) +
                       " a layout file can hold");
    return {std::move(value), {}};
}

std::string Utf8(const std::string& bytes, int codePage) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? bytes : CodePageToUtf8(bytes, codePage);
}

std::string HexColour(int32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X",
                  static_cast<unsigned>(static_cast<uint32_t>(colour)));
    return text;
}

// The near edge of a size: rX1 for the width, rY1 for the height.
int32_t ControlRecord::*NearEdge(const ControlField& size) {
    return size.Number == &R::rX2 ? &R::rX1 : &R::rY1;
}

std::string EdgeRefusal(const ControlRecord& r, bool across) {
    if (across)
        return "the right edge (" + std::to_string(r.rX2) + ") would lie left of the left edge (" +
               std::to_string(r.rX1) + ")";
    return "the bottom edge (" + std::to_string(r.rY2) + ") would lie above the top edge (" +
           std::to_string(r.rY1) + ")";
}

namespace fs = std::filesystem;

fs::path Normal(const std::string& utf8) {
    std::error_code error;
    fs::path full = fs::absolute(PathOf(utf8), error);
    if (error) full = PathOf(utf8);
    return full.lexically_normal();
}

} // namespace

std::span<const ControlField> ControlFields() {
    return Fields;
}

const ControlField* FindControlField(std::string_view name) {
    name = TrimmedBlanks(name);
    for (const ControlField& field : Fields)
        if (SameLetters(name, field.Name)) return &field;
    return nullptr;
}

std::string ControlFieldNames() {
    std::string names;
    for (const ControlField& field : Fields)
        names += std::string(names.empty() ? "" : ", ") + field.Name;
    return names;
}

FieldParse ParseFieldValue(const ControlField& field, std::string_view utf8, int codePage) {
    switch (field.Type) {
    case FieldType::Number:
    case FieldType::Screen:
    case FieldType::Coordinate:
    case FieldType::Size:
        return ParseLong(utf8);
    case FieldType::Kind: {
        if (const std::optional<int32_t> kind = KindFromName(utf8)) return Accepted(*kind);
        return Refused(Quoted(utf8) + " is not a kind of control: write 1 to 11 or a kind's "
                                      "name, such as \"Button\" or \"Bitmap button\"");
    }
    case FieldType::Key: {
        if (const std::optional<int32_t> code = HotKeyCode(utf8)) return Accepted(*code);
        // A number too large for a code says so rather than not being a key.
        bool tooLarge = false;
        const std::optional<int64_t> number = TypedWholeNumber(TrimmedBlanks(utf8), tooLarge);
        if (tooLarge || number) return ParseLong(utf8);
        return Refused(
            Quoted(utf8) +
            " is not a key: write a key's name, such as \"Alt+1\" or \"F5\", or its code");
    }
    case FieldType::Colour:
        return ParseColour(utf8);
    case FieldType::Text:
    case FieldType::Script:
    case FieldType::Picture:
        return ParseText(utf8, codePage);
    }
    return Refused("the field takes no value");
}

FieldValue FieldValueOf(const ControlField& field, const ControlRecord& record) {
    if (field.IsText()) return {0, record.*field.Text};
    if (field.IsSize()) return {int64_t{record.*field.Number} - record.*NearEdge(field), {}};
    return {record.*field.Number, {}};
}

std::string FieldValueText(const ControlField& field, const FieldValue& value, int codePage) {
    switch (field.Type) {
    case FieldType::Kind:
        return IsKnownKind(static_cast<int32_t>(value.Number))
                   ? KindName(static_cast<int32_t>(value.Number))
                   : std::to_string(value.Number);
    case FieldType::Key: {
        const std::string name = HotKeyText(static_cast<int32_t>(value.Number));
        // No key reads back as 0; the other codes meaning none keep their number.
        if (!name.empty() || value.Number == 0) return name;
        return std::to_string(value.Number);
    }
    case FieldType::Colour:
        return HexColour(static_cast<int32_t>(value.Number));
    case FieldType::Text:
    case FieldType::Script:
    case FieldType::Picture:
        return Utf8(value.Text, codePage);
    default:
        return std::to_string(value.Number);
    }
}

std::string FieldText(const ControlField& field, const ControlRecord& record, int codePage) {
    return FieldValueText(field, FieldValueOf(field, record), codePage);
}

std::string ApplyFieldValues(ControlRecord& record,
                             std::span<const std::pair<const ControlField*, FieldValue>> values) {
    ControlRecord changed = record;
    bool across = false, down = false;
    for (const auto& [field, value] : values) {
        if (field->IsText()) {
            changed.*field->Text = value.Text;
            continue;
        }
        int64_t number = value.Number;
        if (field->IsSize()) {
            number += changed.*NearEdge(*field);
            if (number < LongMin || number > LongMax)
                return std::string("the ") + (field->Number == &R::rX2 ? "right" : "bottom") +
                       " edge would lie at " + std::to_string(number) + ", outside " + RangeText;
        }
        if (number < LongMin || number > LongMax)
            return std::to_string(number) + " lies outside " + RangeText;
        changed.*field->Number = static_cast<int32_t>(number);
        const bool x = field->Number == &R::rX1 || field->Number == &R::rX2;
        const bool y = field->Number == &R::rY1 || field->Number == &R::rY2;
        if (field->Type == FieldType::Coordinate || field->IsSize()) {
            across = across || x;
            down = down || y;
        }
    }
    // Only a rectangle the values touched is judged: an old inverted one is the user's to mend.
    if (across && changed.rX2 < changed.rX1) return EdgeRefusal(changed, true);
    if (down && changed.rY2 < changed.rY1) return EdgeRefusal(changed, false);
    record = std::move(changed);
    return {};
}

std::string ApplyFieldValue(ControlRecord& record, const ControlField& field,
                            const FieldValue& value) {
    const std::pair<const ControlField*, FieldValue> one{&field, value};
    return ApplyFieldValues(record, std::span(&one, 1));
}

FieldParse ChosenPicturePath(const std::string& chosen, const std::vector<std::string>& folders,
                             std::span<const std::string> existing, int codePage) {
    const fs::path file = Normal(chosen);
    const fs::path folder = file.parent_path();
    const std::string name = Utf8Of(file.filename());

    std::string path;
    PictureFinder finder(folders);
    finder.SetCodePage(codePage);
    std::vector<std::string> seen;
    for (const std::string& spelt : existing) {
        if (!NamesPicture(spelt) || std::find(seen.begin(), seen.end(), spelt) != seen.end())
            continue;
        seen.push_back(spelt);
        const PictureLookup found = finder.Find(spelt);
        if (!found.Found()) continue;
        const fs::path foundFile = Normal(found.FoundPath);
        if (foundFile == file) return {FieldValue{0, spelt}, {}};
        if (!path.empty() || foundFile.parent_path() != folder) continue;
        const std::size_t cut = spelt.find_last_of("\\/");
        // The folder part as the layout spells it, read as text: the whole is converted back.
        path = (cut == std::string::npos ? std::string()
                                         : CodePageToUtf8(spelt.substr(0, cut + 1), codePage)) +
               name;
    }
    if (path.empty()) {
        for (const std::string& root : folders) {
            if (root.empty()) continue;
            const fs::path relative = file.lexically_relative(Normal(root));
            const std::string below = Utf8Of(relative);
            if (relative.empty() || below.starts_with("..") || relative.is_absolute()) continue;
            path = below;
            std::replace(path.begin(), path.end(), '/', '\\');
            break;
        }
    }
    if (path.empty())
        return Refused("the picture lies outside the pictures folder, the Bitmaps folder and the "
                       "layout's folder, where the host would not find it");
    return ParseText(path, codePage);
}
