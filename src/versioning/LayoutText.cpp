#include "versioning/LayoutText.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cstdio>
#include <limits>

#include "platform/CodePages.h"
#include "platform/Windows1252.h"
#include "versioning/JsonText.h"

namespace {

// A text of at most MaxTextLength Windows-1252 bytes takes at most three UTF-8 bytes a character.
constexpr std::size_t MaxTextUtf8 = 3 * static_cast<std::size_t>(MaxTextLength);
// Member names longer than this are no name of ours.
constexpr std::size_t MaxNameLength = 64;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendText(std::string& out, const std::string& bytes, int codePage) {
    // ASCII is the same in both encodings; only other texts go through the converter.
    if (IsAscii(bytes))
        AppendJsonString(out, bytes);
    else
        AppendJsonString(out, CodePageToUtf8(bytes, codePage));
}

void AppendNumber(std::string& out, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendField(std::string& out, const ControlRecord& record, const RecordField& field,
                 int codePage) {
    if (field.IsText())
        AppendText(out, record.*field.Text, codePage);
    else
        AppendNumber(out, record.*field.Number);
}

// "U+2713" for the character at `offset` of the UTF-8 text.
std::string CodePointAt(std::string_view utf8, std::size_t offset) {
    char32_t code = 0;
    if (offset >= utf8.size() || Utf8SequenceAt(utf8, offset, code) == 0)
        code = offset < utf8.size() ? static_cast<unsigned char>(utf8[offset]) : 0;
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// A member name and the colon after it.
bool ReadName(JsonCursor& in, std::string& name, int& line) {
    line = in.Line();
    const JsonCursor::Outcome read = in.ReadString(name, MaxNameLength);
    if (read == JsonCursor::Outcome::Failed) return false;
    if (read == JsonCursor::Outcome::TooLong) return in.FailAt(line, "a member name is too long");
    if (!in.Take(':')) return in.Fail("a \":\" should follow the name " + Quoted(name));
    return true;
}

bool ReadLong(JsonCursor& in, std::string_view name, int32_t& value) {
    const int line = in.Line();
    int64_t number = 0;
    switch (in.ReadInteger(number)) {
    case JsonCursor::Outcome::Done:
        break;
    case JsonCursor::Outcome::NotWhole:
        return in.FailAt(line, "the value of " + Quoted(name) + " is not a whole number");
    case JsonCursor::Outcome::OutOfRange:
        return in.FailAt(line, "the value of " + Quoted(name) +
                                   " lies outside the 32-bit range -2147483648 to 2147483647");
    default:
        return false;
    }
    if (number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max())
        return in.FailAt(line, "the value of " + Quoted(name) + ", " + std::to_string(number) +
                                   ", lies outside the 32-bit range -2147483648 to 2147483647");
    value = static_cast<int32_t>(number);
    return true;
}

bool ReadText(JsonCursor& in, std::string_view name, std::string& bytes) {
    const int line = in.Line();
    std::string utf8;
    const std::string tooLong = Quoted(name) + " holds more than the " +
                                std::to_string(MaxTextLength) +
                                " characters a layout file can hold";
    switch (in.ReadString(utf8, MaxTextUtf8)) {
    case JsonCursor::Outcome::Done:
        break;
    case JsonCursor::Outcome::TooLong:
        return in.FailAt(line, tooLong);
    default:
        return false;
    }
    if (IsAscii(utf8)) {
        bytes = std::move(utf8);
    } else {
        std::size_t failedAt = 0;
        if (!Utf8ToCodePage(utf8, bytes, in.TextCodePage(), &failedAt))
            return in.FailAt(line, Quoted(name) + " holds the character " +
                                       CodePointAt(utf8, failedAt) + ", which has no " +
                                       CodePageName(in.TextCodePage()) + " byte");
    }
    if (bytes.size() > static_cast<std::size_t>(MaxTextLength))
        return in.FailAt(line, Quoted(name) + " holds " + std::to_string(bytes.size()) +
                                   " characters, more than the " + std::to_string(MaxTextLength) +
                                   " a layout file can hold");
    return true;
}

// The members of a record, read by their names; -1 stands for "record".
bool ReadRecordMembers(JsonCursor& in, ControlRecord& record, int& position) {
    const int opening = in.Line();
    if (!in.Take('{')) return in.Fail("a record, an object in braces, should stand here");
    std::bitset<RecordFields.size()> seen;
    bool seenPosition = false;
    ControlRecord read;
    int32_t readPosition = 0;
    if (!in.Next('}')) {
        do {
            std::string name;
            int line = 0;
            if (!ReadName(in, name, line)) return false;
            if (name == "record") {
                if (seenPosition) return in.FailAt(line, "\"record\" stands twice in one record");
                seenPosition = true;
                if (!ReadLong(in, name, readPosition)) return false;
                continue;
            }
            const int k = FieldNumber(name);
            if (k < 0)
                return in.FailAt(line, Quoted(name) + " is not a field of a record; the fields "
                                                      "are rFunction to rY2");
            const auto field = static_cast<std::size_t>(k);
            if (seen[field]) return in.FailAt(line, Quoted(name) + " stands twice in one record");
            seen[field] = true;
            const RecordField& f = RecordFields[field];
            if (!(f.IsText() ? ReadText(in, name, read.*f.Text)
                             : ReadLong(in, name, read.*f.Number)))
                return false;
        } while (in.Take(','));
    }
    if (!in.Next('}')) return in.Fail("a \",\" or the \"}\" ending the record should stand here");
    const int closing = in.Line();
    in.Take('}');
    if (!seenPosition)
        return in.FailAt(opening, "the record has no \"record\" giving its position");
    for (std::size_t k = 0; k < RecordFields.size(); ++k)
        if (!seen[k])
            return in.FailAt(closing, "record " + std::to_string(readPosition) + " has no " +
                                          Quoted(RecordFields[k].Name));
    record = std::move(read);
    position = readPosition;
    return true;
}

// The first member, naming the format, then the version.
bool ReadHeading(JsonCursor& in, const char* format) {
    if (!in.Take('{'))
        return in.Fail(std::string("this is not the text form of a layout: it does not start "
                                   "with {\"format\": \"") +
                       format + "\"");
    std::string name, value;
    int line = 0;
    if (!ReadName(in, name, line)) return false;
    const bool named =
        name == "format" && in.ReadString(value, MaxNameLength) == JsonCursor::Outcome::Done;
    if (!named || value != format) {
        // A layout's text where controls are expected, or the other way round, says so.
        return in.FailAt(line, "this is not the text form of " +
                                   std::string(format == std::string_view(LayoutTextFormat)
                                                   ? "a layout"
                                                   : "a list of controls") +
                                   ": its first member is not \"format\": \"" + format + "\"");
    }
    if (!in.Take(',')) return in.Fail("a \",\" and \"version\" should follow the format");
    if (!ReadName(in, name, line)) return false;
    if (name != "version") return in.FailAt(line, "\"version\" should follow the format");
    const int valueLine = in.Line();
    int32_t version = 0;
    if (!ReadLong(in, name, version)) return false;
    if (version != LayoutTextVersion)
        return in.FailAt(valueLine, "this text is of version " + std::to_string(version) +
                                        " of the form; this program reads version " +
                                        std::to_string(LayoutTextVersion));
    // The code page the texts were written in, when not Windows-1252: they are stored in it.
    JsonCursor before = in;
    if (in.Take(',') && ReadName(in, name, line) && name == "codepage") {
        int32_t codePage = 0;
        if (!ReadLong(in, name, codePage)) return false;
        if (!IsSupportedCodePage(codePage))
            return in.FailAt(line, "the code page " + std::to_string(codePage) +
                                       " is not one this program reads");
        in.SetTextCodePage(codePage);
    } else {
        in = before;
    }
    return true;
}

bool ReadRecordArray(JsonCursor& in, std::vector<ControlRecord>& records) {
    std::string name;
    int line = 0;
    if (!in.Take(',')) return in.Fail("a \",\" and \"records\" should follow the version");
    if (!ReadName(in, name, line)) return false;
    if (name != "records") return in.FailAt(line, "\"records\" should follow the version");
    if (!in.Take('[')) return in.Fail("the records should stand in brackets [ ]");
    if (in.Take(']')) return true;
    do {
        if (records.size() >= static_cast<std::size_t>(MaxControls))
            return in.Fail("there are more than " + std::to_string(MaxControls) +
                           " records; a layout holds at most " + std::to_string(MaxControls));
        const int opening = in.Line();
        ControlRecord record;
        int position = 0;
        if (!ReadRecordJson(in, record, position)) return false;
        const int expected = static_cast<int>(records.size()) + 1;
        if (position != expected)
            return in.FailAt(opening, "the record numbered " + std::to_string(position) +
                                          " stands at position " + std::to_string(expected) +
                                          "; records are numbered 1, 2, 3, ... in order");
        records.push_back(std::move(record));
    } while (in.Take(','));
    if (!in.Take(']')) return in.Fail("a \",\" or the \"]\" ending the records should stand here");
    return true;
}

bool ReadEnd(JsonCursor& in) {
    if (!in.Take('}')) return in.Fail("the \"}\" ending the text should stand here");
    if (!in.AtEnd()) return in.Fail("something follows the end of the text");
    return true;
}

void AppendHeading(std::string& out, const char* format, int codePage) {
    out += "{\n  \"format\": ";
    AppendJsonString(out, format);
    out += ",\n  \"version\": ";
    AppendNumber(out, LayoutTextVersion);
    if (codePage != DefaultCodePage) {
        out += ",\n  \"codepage\": ";
        AppendNumber(out, codePage);
    }
    out += ",\n  \"records\": [";
}

void AppendRecords(std::string& out, std::span<const ControlRecord> records, int codePage) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        AppendRecordJsonBlock(out, records[i], static_cast<int>(i) + 1, "    ", codePage);
    }
    out += records.empty() ? "]" : "\n  ]";
}

std::size_t TextSizeGuess(std::span<const ControlRecord> records) {
    std::size_t size = 128;
    for (const ControlRecord& r : records)
        size += 400 + r.rText.size() + r.rGText.size() + r.rBitMapPath.size() + r.rLabel.size() +
                r.rFormat.size();
    return size;
}

} // namespace

std::string RecordJsonLine(const ControlRecord& record, int position, int codePage) {
    std::string out = "{\"record\": ";
    AppendNumber(out, position);
    for (const RecordField& field : RecordFields) {
        out += ", \"";
        out += field.Name;
        out += "\": ";
        AppendField(out, record, field, codePage);
    }
    out += "}";
    return out;
}

void AppendRecordJsonBlock(std::string& out, const ControlRecord& record, int position,
                           std::string_view indent, int codePage) {
    out += indent;
    out += "{\n";
    out += indent;
    out += "  \"record\": ";
    AppendNumber(out, position);
    for (const RecordField& field : RecordFields) {
        out += ",\n";
        out += indent;
        out += "  \"";
        out += field.Name;
        out += "\": ";
        AppendField(out, record, field, codePage);
    }
    out += "\n";
    out += indent;
    out += "}";
}

bool ReadRecordJson(JsonCursor& in, ControlRecord& record, int& position) {
    return ReadRecordMembers(in, record, position);
}

bool RecordFromJson(std::string_view text, ControlRecord& record, int& position, std::string& error,
                    int line, int codePage) {
    JsonCursor in(text, line);
    in.SetTextCodePage(codePage);
    ControlRecord read;
    int readPosition = 0;
    if (ReadRecordJson(in, read, readPosition) &&
        (in.AtEnd() || in.Fail("something follows the end of the record"))) {
        record = std::move(read);
        position = readPosition;
        return true;
    }
    error = in.Error();
    return false;
}

std::string ControlsToText(std::span<const ControlRecord> records, int codePage) {
    std::string out;
    out.reserve(TextSizeGuess(records));
    AppendHeading(out, ControlsTextFormat, codePage);
    AppendRecords(out, records, codePage);
    out += "\n}\n";
    return out;
}

bool ControlsFromText(std::string_view text, std::vector<ControlRecord>& records,
                      std::string& error, int* codePage) {
    JsonCursor in(text);
    if (codePage) in.SetTextCodePage(*codePage);
    std::vector<ControlRecord> read;
    if (ReadHeading(in, ControlsTextFormat) && ReadRecordArray(in, read) && ReadEnd(in)) {
        records = std::move(read);
        if (codePage) *codePage = in.TextCodePage();
        return true;
    }
    error = in.Error();
    return false;
}

std::string LayoutToText(const LayoutContent& layout, int codePage) {
    std::string out;
    out.reserve(TextSizeGuess(layout.Records));
    AppendHeading(out, LayoutTextFormat, codePage);
    AppendRecords(out, layout.Records, codePage);
    out += ",\n  \"trailer\": [";
    for (std::size_t k = 0; k < layout.Trailer.size(); ++k) {
        if (k > 0) out += ", ";
        AppendNumber(out, layout.Trailer[k]);
    }
    out += "]\n}\n";
    return out;
}

bool LayoutFromText(std::string_view text, LayoutContent& layout, std::string& error,
                    int* codePage) {
    JsonCursor in(text);
    if (codePage) in.SetTextCodePage(*codePage);
    LayoutContent read;
    const auto trailer = [&] {
        std::string name;
        int line = 0;
        if (!in.Take(',')) return in.Fail("a \",\" and \"trailer\" should follow the records");
        if (!ReadName(in, name, line)) return false;
        if (name != "trailer") return in.FailAt(line, "\"trailer\" should follow the records");
        if (!in.Take('[')) return in.Fail("the trailer should be 10 numbers in brackets [ ]");
        for (std::size_t k = 0; k < read.Trailer.size(); ++k) {
            if (k > 0 && !in.Take(','))
                return in.Fail("the trailer should be 10 numbers; it has " + std::to_string(k));
            if (!ReadLong(in, "trailer", read.Trailer[k])) return false;
        }
        if (!in.Take(']')) return in.Fail("the trailer should be 10 numbers; it has more");
        return true;
    };
    if (ReadHeading(in, LayoutTextFormat) && ReadRecordArray(in, read.Records) && trailer() &&
        ReadEnd(in)) {
        layout = std::move(read);
        if (codePage) *codePage = in.TextCodePage();
        return true;
    }
    error = in.Error();
    return false;
}

std::size_t MaxLayoutTextBytes() {
    static const std::size_t limit = [] {
        ControlRecord widest;
        for (const RecordField& field : RecordFields)
            if (field.IsText())
                widest.*field.Text = std::string(254, '\x01');
            else
                widest.*field.Number = -2147483647 - 1;
        LayoutContent one, none;
        one.Records.push_back(widest);
        one.Trailer.fill(-2147483647 - 1);
        none.Trailer = one.Trailer;
        const std::size_t empty = LayoutToText(none).size();
        const std::size_t perRecord = LayoutToText(one).size() - empty;
        // Record positions up to 32767 take five digits, the one written here one.
        return empty + static_cast<std::size_t>(MaxControls) * (perRecord + 4);
    }();
    return limit;
}
