#include "editing/FindReplace.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "editing/ControlFields.h"
#include "layout/HostCodes.h"
#include "layout/RecordFields.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"

namespace {

// A searchable field as the field table has it.
constexpr FindFieldInfo Searched(FindField field, int k) {
    const RecordField& f = RecordFields[static_cast<std::size_t>(k)];
    return {field, f.Name, f.Caption, f.Text, f.Number};
}

constexpr std::array<FindFieldInfo, FindFieldCount> Fields{{
    Searched(FindField::Text, FieldNo::rText),
    Searched(FindField::Label, FieldNo::rLabel),
    Searched(FindField::Script, FieldNo::rGText),
    Searched(FindField::Format, FieldNo::rFormat),
    Searched(FindField::Picture, FieldNo::rBitMapPath),
    Searched(FindField::Function, FieldNo::rFunction),
    Searched(FindField::OEMCode, FieldNo::rOEMCode),
    Searched(FindField::HotKey, FieldNo::rHotKey),
    Searched(FindField::DROGroup, FieldNo::rTabGroup),
}};

const std::array<char, 256> FoldTable = [] {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<std::size_t>(b)] = FoldedByte(static_cast<char>(b));
    return table;
}();

char Fold(char c) {
    return FoldTable[static_cast<unsigned char>(c)];
}

bool SameFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

// The text read as a number field reads what is typed into it.
std::optional<int32_t> TypedNumber(std::string_view text) {
    static const ControlField* const numberField = FindControlField("rOEMCode");
    const FieldParse parse = ParseFieldValue(*numberField, text);
    if (!parse.Value) return std::nullopt;
    return static_cast<int32_t>(parse.Value->Number);
}

// The text to find, compiled once for a search over many fields. Letter case is ignored as
// Windows ignores it in Windows-1252; in another code page only for ASCII letters, and in a
// code page of two-byte characters a match starts and ends on a character's edge, so that the
// bytes of one character never match part of another.
class Matcher {
public:
    Matcher(const std::string& needle, bool matchCase, int codePage = 1252)
        : Needle(needle), Folds(!matchCase), Plain(codePage == 1252), CodePage(codePage),
          DoubleByte(IsDoubleByteCodePage(codePage)) {
        if (!Folds) return;
        Foldable.assign(Needle.size(), false);
        for (std::size_t k = 0; k < Needle.size();) {
            const std::size_t length = CharacterLength(Needle, k);
            Foldable[k] = length == 1 && (Plain || static_cast<unsigned char>(Needle[k]) < 0x80);
            if (Foldable[k]) Needle[k] = Fold(Needle[k]);
            k += length;
        }
    }

    std::size_t FindIn(std::string_view hay, std::size_t from) const {
        const std::size_t n = Needle.size();
        if (n == 0 || hay.size() < n) return std::string_view::npos;
        if (DoubleByte) {
            for (std::size_t i = 0; i + n <= hay.size(); i += CharacterLength(hay, i))
                if (i >= from && SameAt(hay, i) && EdgeAt(hay, i, i + n)) return i;
            return std::string_view::npos;
        }
        if (!Folds) return hay.find(Needle, from);
        for (std::size_t i = from; i + n <= hay.size(); ++i)
            if (SameAt(hay, i)) return i;
        return std::string_view::npos;
    }

    bool Equals(std::string_view hay) const {
        return hay.size() == Needle.size() && SameAt(hay, 0);
    }

    std::size_t Size() const { return Needle.size(); }

private:
    std::size_t CharacterLength(std::string_view text, std::size_t at) const {
        return DoubleByte ? CodePageCharacterLength(text, at, CodePage) : 1;
    }
    bool SameAt(std::string_view hay, std::size_t at) const {
        for (std::size_t k = 0; k < Needle.size(); ++k) {
            const char c = Folds && Foldable[k] ? Fold(hay[at + k]) : hay[at + k];
            if (c != Needle[k]) return false;
        }
        return true;
    }
    // Whether `end` is a character's edge of `hay`, walking from the edge `start`.
    bool EdgeAt(std::string_view hay, std::size_t start, std::size_t end) const {
        std::size_t at = start;
        while (at < end)
            at += CharacterLength(hay, at);
        return at == end;
    }

    std::string Needle;
    bool Folds;
    bool Plain;
    int CodePage;
    bool DoubleByte;
    std::vector<bool> Foldable;
};

// The line of `text` holding the byte at `at`, without its line break.
std::string LineAt(std::string_view text, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && text[start - 1] != '\r' && text[start - 1] != '\n')
        --start;
    std::size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    return std::string(text.substr(start, end - start));
}

struct Search {
    const FindOptions& Options;
    Matcher Text;
    std::optional<int32_t> Number;  // the text as a whole number
    std::optional<int32_t> KeyCode; // the text as a key

    explicit Search(const FindOptions& options)
        : Options(options), Text(options.Text, options.MatchCase, options.CodePage),
          Number(TypedNumber(options.Text)), KeyCode(HotKeyCode(options.Text)) {}

    // Where the field matches: the position of the match in its value text (0 for a whole
    // field), or nothing.
    std::optional<std::size_t> Match(const ControlRecord& record, const FindFieldInfo& field,
                                     std::string_view value) const {
        if (field.Field == FindField::HotKey) {
            if (IsNoKey(record.rHotKey)) return std::nullopt;
            if (Options.WholeField)
                return (KeyCode && *KeyCode == record.rHotKey) || Text.Equals(value)
                           ? std::optional<std::size_t>(0)
                           : std::nullopt;
        } else if (field.Number != nullptr && Options.WholeField) {
            return Number && *Number == record.*field.Number ? std::optional<std::size_t>(0)
                                                             : std::nullopt;
        }
        if (Options.WholeField)
            return Text.Equals(value) ? std::optional<std::size_t>(0) : std::nullopt;
        const std::size_t at = Text.FindIn(value, 0);
        return at == std::string_view::npos ? std::nullopt : std::optional<std::size_t>(at);
    }
};

std::vector<const FindFieldInfo*> ChosenFields(const FindOptions& options) {
    std::vector<const FindFieldInfo*> chosen;
    for (const FindFieldInfo& field : Fields)
        if (options.Fields.empty() || std::find(options.Fields.begin(), options.Fields.end(),
                                                field.Field) != options.Fields.end())
            chosen.push_back(&field);
    return chosen;
}

std::string FieldName(const FindFieldInfo& field) {
    return std::string(field.Caption) + " (" + field.Name + ")";
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

ReplacePlan Refused(std::string why) {
    ReplacePlan plan;
    plan.Refusal = std::move(why);
    return plan;
}

} // namespace

std::span<const FindFieldInfo> FindFields() {
    return Fields;
}

const FindFieldInfo& FieldInfo(FindField field) {
    return Fields[static_cast<std::size_t>(field)];
}

std::optional<FindField> FindFieldFromName(std::string_view name) {
    name = TrimmedBlanks(name);
    for (const FindFieldInfo& field : Fields)
        if (SameFolded(name, field.Name) || SameFolded(name, field.Caption)) return field.Field;
    if (SameFolded(name, "group")) return FindField::DROGroup;
    if (SameFolded(name, "oem")) return FindField::OEMCode;
    return std::nullopt;
}

std::string FieldValueText(const ControlRecord& record, FindField field) {
    const FindFieldInfo& info = FieldInfo(field);
    if (info.Text != nullptr) return record.*info.Text;
    if (field == FindField::HotKey)
        return IsNoKey(record.rHotKey) ? "" : HotKeyText(record.rHotKey);
    return std::to_string(record.*info.Number);
}

namespace {

// A field's value as it is searched: a text where it lies, a number or key written out first
// into `written`.
std::string_view SearchedValue(const ControlRecord& record, const FindFieldInfo& field,
                               std::string& written) {
    if (field.Text != nullptr) return record.*field.Text;
    written = FieldValueText(record, field.Field);
    return written;
}

} // namespace

std::vector<FindResult> FindInRecords(std::span<const ControlRecord> records,
                                      const FindOptions& options) {
    std::vector<FindResult> results;
    if (options.Text.empty()) return results;
    const Search search(options);
    const std::vector<const FindFieldInfo*> fields = ChosenFields(options);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& record = records[i];
        for (const FindFieldInfo* field : fields) {
            std::string written;
            const std::string_view value = SearchedValue(record, *field, written);
            const std::optional<std::size_t> at = search.Match(record, *field, value);
            if (!at) continue;
            results.push_back(
                {static_cast<int>(i + 1), record.rScreen, field->Field, LineAt(value, *at)});
        }
    }
    return results;
}

std::string ReplacePlan::Summary() const {
    const auto counted = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return counted(Fields, "field", "fields") + " of " + counted(Controls, "control", "controls") +
           " will change";
}

std::string ReplacePlan::StepText() const {
    return "Replace in " + std::to_string(Controls) + (Controls == 1 ? " control" : " controls");
}

ReplacePlan PlanReplace(std::span<const ControlRecord> records, const ReplaceRequest& request) {
    ReplacePlan plan;
    const FindOptions& options = request.Find;
    if (options.Text.empty()) return Refused("Type the text to find first; nothing was replaced.");
    const Search search(options);
    const Matcher& matcher = search.Text;
    const std::vector<const FindFieldInfo*> fields = ChosenFields(options);
    const auto chosen = [&request](int position, FindField field) {
        if (!request.Only) return true;
        return std::find(request.Only->begin(), request.Only->end(),
                         std::pair<int, FindField>(position, field)) != request.Only->end();
    };
    const auto replaced = [&](std::string_view value) {
        if (options.WholeField) return request.Replacement;
        std::string out;
        std::size_t from = 0;
        for (std::size_t at = matcher.FindIn(value, 0); at != std::string_view::npos;
             at = matcher.FindIn(value, from)) {
            out.append(value.substr(from, at - from));
            out += request.Replacement;
            from = at + matcher.Size();
        }
        out.append(value.substr(from));
        return out;
    };

    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& record = records[i];
        const int position = static_cast<int>(i + 1);
        std::optional<ControlRecord> changed;
        for (const FindFieldInfo* field : fields) {
            if (!chosen(position, field->Field)) continue;
            std::string written;
            const std::string_view value = SearchedValue(record, *field, written);
            if (!search.Match(record, *field, value)) continue;
            const std::string now = replaced(value);
            const std::string where = FieldName(*field) + " of record " + std::to_string(position);
            ControlRecord next = changed ? *changed : record;
            if (field->Text != nullptr) {
                if (now.size() > static_cast<std::size_t>(MaxTextLength)) {
                    return Refused("Replacing in the " + where + " makes it " +
                                   std::to_string(now.size()) + " characters long, more than the " +
                                   std::to_string(MaxTextLength) +
                                   " a text holds; nothing was replaced.");
                }
                if (now == value) continue;
                next.*field->Text = now;
            } else {
                // A number or a key must stay one, read as every editor reads it.
                const ControlField* edited = FindControlField(field->Name);
                const FieldParse parsed = ParseFieldValue(*edited, now);
                if (!parsed.Value) {
                    return Refused("Replacing in the " + where + " gives " + Quoted(now) + ": " +
                                   parsed.Refusal + "; nothing was replaced.");
                }
                const auto number = static_cast<int32_t>(parsed.Value->Number);
                if (number == record.*field->Number) continue;
                next.*field->Number = number;
            }
            changed = std::move(next);
            ++plan.Fields;
        }
        if (changed) {
            plan.Edit.Changed.emplace_back(position, std::move(*changed));
            ++plan.Controls;
        }
    }
    return plan;
}

bool TextForRecords(const std::string& utf8, std::string& bytes, std::string& refusal,
                    const std::string& what, int codePage) {
    std::size_t failedAt = 0;
    if (Utf8ToCodePage(utf8, bytes, codePage, &failedAt)) return true;
    char32_t codePoint = 0;
    if (Utf8SequenceAt(utf8, failedAt, codePoint) == 0) {
        refusal = what + " is not UTF-8 text.";
        return false;
    }
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    refusal = what + " holds the character " + name + ", which has no " + CodePageName(codePage) +
              " byte.";
    return false;
}
