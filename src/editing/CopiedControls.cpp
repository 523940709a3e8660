#include "editing/CopiedControls.h"

#include <algorithm>

#include "layout/cLayout.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"
#include "versioning/JsonText.h"
#include "versioning/LayoutText.h"

namespace {

// An identity is a short text of ours; anything longer is not.
constexpr std::size_t MaxIdentity = 256;
constexpr std::size_t MaxName = 64;
// A label is a text of a record: at most MaxTextLength bytes, three UTF-8 bytes each at most.
constexpr std::size_t MaxLabelUtf8 = 3 * static_cast<std::size_t>(MaxTextLength);

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

bool ReadName(JsonCursor& in, const char* expected) {
    const int line = in.Line();
    std::string name;
    const JsonCursor::Outcome read = in.ReadString(name, MaxName);
    if (read == JsonCursor::Outcome::Failed) return false;
    if (read != JsonCursor::Outcome::Done || name != expected)
        return in.FailAt(line, Quoted(expected) + " should stand here");
    if (!in.Take(':')) return in.Fail("a \":\" should follow " + Quoted(expected));
    return true;
}

bool ReadLabel(JsonCursor& in, std::string& label) {
    const int line = in.Line();
    std::string utf8;
    switch (in.ReadString(utf8, MaxLabelUtf8)) {
    case JsonCursor::Outcome::Done:
        break;
    case JsonCursor::Outcome::TooLong:
        return in.FailAt(line, "a screen label is longer than a layout can hold");
    default:
        return false;
    }
    std::string bytes;
    if (!Utf8ToCodePage(utf8, bytes, in.TextCodePage()) ||
        bytes.size() > static_cast<std::size_t>(MaxTextLength))
        return in.FailAt(line, "a screen label holds a character without a " +
                                   CodePageName(in.TextCodePage()) + " byte");
    label = std::move(bytes);
    return true;
}

// The members after the version, the closing brace and the end of the text.
bool ReadCopiedMembers(JsonCursor& in, CopiedControls& read) {
    // The source's code page, when not Windows-1252, is named first; the texts, Unicode here,
    // are stored in the cursor's (the target's).
    JsonCursor before = in;
    std::string name;
    if (!(in.Take(',') && in.ReadString(name, MaxName) == JsonCursor::Outcome::Done &&
          name == "codepage" && in.Take(':'))) {
        in = before;
    } else {
        int64_t ignored = 0;
        if (in.ReadInteger(ignored) != JsonCursor::Outcome::Done)
            return in.Fail("the code page should be a whole number");
    }
    read.CodePage = in.TextCodePage();
    if (!in.Take(',') || !ReadName(in, "layout")) return in.Fail("\"layout\" should follow");
    const int line = in.Line();
    switch (in.ReadString(read.Layout, MaxIdentity)) {
    case JsonCursor::Outcome::Done:
        break;
    case JsonCursor::Outcome::TooLong:
        return in.FailAt(line, "the layout's identity is too long");
    default:
        return false;
    }
    if (!in.Take(',') || !ReadName(in, "labels")) return in.Fail("\"labels\" should follow");
    if (!in.Take('[')) return in.Fail("the labels should stand in brackets [ ]");
    for (std::size_t s = 0; s < read.Labels.size(); ++s) {
        if (s > 0 && !in.Take(','))
            return in.Fail("there should be 16 labels; there are " + std::to_string(s));
        if (!ReadLabel(in, read.Labels[s])) return false;
    }
    if (!in.Take(']')) return in.Fail("there should be 16 labels; there are more");
    if (!in.Take(',') || !ReadName(in, "records")) return in.Fail("\"records\" should follow");
    if (!in.Take('[')) return in.Fail("the records should stand in brackets [ ]");
    if (!in.Take(']')) {
        do {
            if (read.Records.size() >= static_cast<std::size_t>(MaxControls))
                return in.Fail("there are more than " + std::to_string(MaxControls) +
                               " records; a layout holds at most " + std::to_string(MaxControls));
            ControlRecord record;
            int position = 0;
            if (!ReadRecordJson(in, record, position)) return false;
            read.Records.push_back(std::move(record));
            read.Positions.push_back(position);
        } while (in.Take(','));
        if (!in.Take(']'))
            return in.Fail("a \",\" or the \"]\" ending the records should stand here");
    }
    if (!in.Take('}')) return in.Fail("the \"}\" ending the text should stand here");
    if (!in.AtEnd()) return in.Fail("something follows the end of the text");
    return true;
}

// The value of the first member when it is "format"; empty otherwise. The cursor is then past it.
std::string FormatOf(JsonCursor& in) {
    std::string name, format;
    if (!in.Take('{') || in.ReadString(name, MaxName) != JsonCursor::Outcome::Done ||
        name != "format" || !in.Take(':') ||
        in.ReadString(format, MaxName) != JsonCursor::Outcome::Done)
        return {};
    return format;
}

bool ReadVersion(JsonCursor& in) {
    if (!in.Take(',') || !ReadName(in, "version")) return in.Fail("\"version\" should follow");
    const int line = in.Line();
    int64_t version = 0;
    if (in.ReadInteger(version) != JsonCursor::Outcome::Done)
        return in.FailAt(line, "the version should be a whole number");
    if (version != LayoutTextVersion)
        return in.FailAt(line, "this text is of version " + std::to_string(version) +
                                   "; this program reads version " +
                                   std::to_string(LayoutTextVersion));
    return true;
}

bool ReadRecordLines(std::string_view text, CopiedControls& read, std::string& error) {
    int line = 0;
    std::size_t start = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view one = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (one.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        if (read.Records.size() >= static_cast<std::size_t>(MaxControls)) {
            error = "line " + std::to_string(line) + ": there are more than " +
                    std::to_string(MaxControls) + " records; a layout holds at most " +
                    std::to_string(MaxControls);
            return false;
        }
        ControlRecord record;
        int position = 0;
        if (!RecordFromJson(one, record, position, error, line, read.CodePage)) return false;
        read.Records.push_back(std::move(record));
        read.Positions.push_back(position);
    }
    if (read.Records.empty()) {
        error = "line 1: the text holds no controls";
        return false;
    }
    return true;
}

} // namespace

CopiedControls CopyControls(const cLayout& layout, const std::vector<int>& positions,
                            const std::string& layoutIdentity) {
    CopiedControls copied;
    copied.Layout = layoutIdentity;
    copied.CodePage = layout.TextCodePage();
    for (std::size_t s = 0; s < copied.Labels.size(); ++s)
        copied.Labels[s] = layout.Screens()[s].Label;
    const std::span<const ControlRecord> records = layout.Records();
    std::vector<int> sorted = positions;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int position : sorted) {
        if (position < 1 || position > static_cast<int>(records.size())) continue;
        copied.Records.push_back(records[static_cast<std::size_t>(position - 1)]);
        copied.Positions.push_back(position);
    }
    return copied;
}

std::string CopiedControlsText(const CopiedControls& copied) {
    std::string out = "{\n  \"format\": ";
    AppendJsonString(out, CopiedControlsFormat);
    out += ",\n  \"version\": " + std::to_string(LayoutTextVersion);
    if (copied.CodePage != DefaultCodePage)
        out += ",\n  \"codepage\": " + std::to_string(copied.CodePage);
    out += ",\n  \"layout\": ";
    AppendJsonString(out, copied.Layout);
    out += ",\n  \"labels\": [";
    for (std::size_t s = 0; s < copied.Labels.size(); ++s) {
        if (s > 0) out += ", ";
        AppendJsonString(out, CodePageToUtf8(copied.Labels[s], copied.CodePage));
    }
    out += "],\n  \"records\": [";
    for (std::size_t i = 0; i < copied.Records.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        const int position = i < copied.Positions.size() ? copied.Positions[i] : 0;
        AppendRecordJsonBlock(out, copied.Records[i], position, "    ", copied.CodePage);
    }
    out += copied.Records.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

std::string CopiedControlsPlainText(const CopiedControls& copied) {
    std::string out;
    for (std::size_t i = 0; i < copied.Records.size(); ++i) {
        const int position = i < copied.Positions.size() ? copied.Positions[i] : 0;
        out += RecordJsonLine(copied.Records[i], position, copied.CodePage);
        out += '\n';
    }
    return out;
}

bool ReadCopiedControls(std::string_view text, CopiedControls& copied, std::string& error,
                        int codePage) {
    JsonCursor in(text);
    in.SetTextCodePage(codePage);
    const int line = in.Line();
    CopiedControls read;
    if (FormatOf(in) != CopiedControlsFormat) {
        error = "line " + std::to_string(line) +
                ": this is not a list of copied controls: it does not start with {\"format\": \"" +
                CopiedControlsFormat + "\"";
        return false;
    }
    if (ReadVersion(in) && ReadCopiedMembers(in, read)) {
        copied = std::move(read);
        return true;
    }
    error = in.Error();
    return false;
}

bool ReadControlsFromPlainText(std::string_view text, CopiedControls& copied, std::string& error,
                               int codePage) {
    JsonCursor peek(text);
    const std::string format = FormatOf(peek);
    if (format == CopiedControlsFormat) return ReadCopiedControls(text, copied, error, codePage);
    CopiedControls read;
    read.CodePage = codePage;
    if (format == ControlsTextFormat) {
        int textCodePage = codePage;
        if (!ControlsFromText(text, read.Records, error, &textCodePage)) return false;
        for (std::size_t i = 0; i < read.Records.size(); ++i)
            read.Positions.push_back(static_cast<int>(i) + 1);
    } else if (!ReadRecordLines(text, read, error)) {
        return false;
    }
    copied = std::move(read);
    return true;
}
