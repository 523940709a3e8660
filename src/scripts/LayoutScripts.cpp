#include "scripts/LayoutScripts.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "layout/HostCodes.h"
#include "platform/CodePages.h"
#include "preview/PictureFinder.h"
#include "scripts/ScriptLines.h"
#include "platform/SystemPaths.h"

namespace {

std::string TwoDigits(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

char FoldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
    return true;
}

// The entry of the folder called `name`, the exact spelling first, else in any letter case.
std::filesystem::path Entry(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    const std::filesystem::path exact = folder / PathOf(name);
    if (std::filesystem::exists(exact, error)) return exact;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (SameName(Utf8Of(it->path().filename()), name)) return it->path();
    return {};
}

} // namespace

bool HoldsScript(const ControlRecord& r) {
    return !IsNoneText(r.rGText);
}

std::vector<ScriptEntry> LayoutScripts(std::span<const ControlRecord> records) {
    std::vector<ScriptEntry> scripts;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        if (!HoldsScript(r)) continue;
        ScriptEntry entry;
        entry.Record = static_cast<int>(i) + 1;
        entry.Screen = r.rScreen;
        entry.Caption =
            IsNoneText(r.rText) ? KindName(r.rType) : std::string(TrimmedBlanks(r.rText));
        for (const ScriptLine& line : SplitScriptLines(r.rGText)) {
            const std::string_view text = TrimmedBlanks(line.Text);
            if (text.empty()) continue;
            entry.FirstLine = std::string(text);
            break;
        }
        entry.Length = r.rGText.size();
        scripts.push_back(std::move(entry));
    }
    return scripts;
}

std::string ScriptFileName(const ScriptEntry& entry) {
    std::string caption;
    int kept = 0;
    for (char c : entry.Caption) {
        if (kept >= 40) break;
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (plain) {
            caption += c;
            ++kept;
        } else if (!caption.empty() && caption.back() != '-') {
            caption += '-';
        }
    }
    while (!caption.empty() && caption.back() == '-')
        caption.pop_back();
    if (caption.empty()) caption = "script";
    const int screen = entry.Screen < 0 ? 0 : entry.Screen;
    return "screen" + TwoDigits(screen, 2) + (entry.Screen < 0 ? "neg" : "") + "-record" +
           TwoDigits(entry.Record, 4) + "-" + caption + ".txt";
}

ScriptExport ExportScripts(std::span<const ControlRecord> records, int codePage) {
    ScriptExport exported;
    exported.List = "# The scripts of a layout, one file each: file, screen, record, length, first "
                    "line (tab-separated)\n";
    for (const ScriptEntry& entry : LayoutScripts(records)) {
        const std::string name = ScriptFileName(entry);
        std::string first = CodePageToUtf8(entry.FirstLine, codePage);
        for (char& c : first)
            if (c == '\t') c = ' ';
        exported.List += name + "\t" + std::to_string(entry.Screen) + "\t" +
                         std::to_string(entry.Record) + "\t" + std::to_string(entry.Length) + "\t" +
                         first + "\n";
        exported.Files.push_back(
            {name, records[static_cast<std::size_t>(entry.Record - 1)].rGText});
    }
    return exported;
}

ScriptImport ImportScripts(std::span<const ControlRecord> records, const std::string& list,
                           const ScriptFileReader& read) {
    ScriptImport imported;
    int lineNumber = 0;
    const auto refuse = [&imported, &lineNumber](const std::string& why) {
        imported.Refusal =
            std::string(ScriptListName) + " line " + std::to_string(lineNumber) + ": " + why;
        imported.Edit = {};
        return imported;
    };
    for (const ScriptLine& line : SplitScriptLines(list)) {
        ++lineNumber;
        if (TrimmedBlanks(line.Text).empty() || line.Text.front() == '#') continue;
        const std::vector<std::string_view> fields = Fields(line.Text);
        const std::optional<int> screen =
            fields.size() >= 3 ? WholeNumber(fields[1]) : std::nullopt;
        const std::optional<int> record =
            fields.size() >= 3 ? WholeNumber(fields[2]) : std::nullopt;
        if (!screen || !record)
            return refuse("it is not a file name, a screen and a record separated by tabs");
        const std::string name(fields[0]);
        if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "." ||
            name == "..")
            return refuse("\"" + name + "\" is not a file of the folder");
        if (*record < 1 || *record > static_cast<int>(records.size()))
            return refuse("the layout has no record " + std::to_string(*record));
        const ControlRecord& r = records[static_cast<std::size_t>(*record - 1)];
        if (r.rScreen != *screen || !HoldsScript(r))
            return refuse("record " + std::to_string(*record) + " is no script on screen " +
                          std::to_string(*screen) + ": the layout has changed since the export");
        std::string bytes, reason;
        if (!read(name, bytes, reason)) return refuse("cannot read \"" + name + "\": " + reason);
        if (bytes.size() > static_cast<std::size_t>(MaxTextLength))
            return refuse("\"" + name + "\" holds " + std::to_string(bytes.size()) +
                          " bytes; a script holds at most " + std::to_string(MaxTextLength));
        ++imported.Listed;
        if (bytes == r.rGText) continue;
        ControlRecord changed = r;
        changed.rGText = std::move(bytes);
        imported.Edit.Changed.emplace_back(*record, std::move(changed));
    }
    const std::size_t count = imported.Edit.Changed.size();
    imported.Text = "Import " + std::to_string(count) + (count == 1 ? " script" : " scripts");
    return imported;
}

std::string FindExpandedFile(const std::vector<std::string>& folders, const std::string& path) {
    const std::vector<std::string> parts = PictureFinder::LookupParts(path);
    if (parts.empty()) return {};
    for (const std::string& folder : folders) {
        std::filesystem::path at = PathOf(folder);
        for (const std::string& part : parts) {
            at = Entry(at, part);
            if (at.empty()) break;
        }
        std::error_code error;
        if (!at.empty() && std::filesystem::is_regular_file(at, error)) return Utf8Of(at);
    }
    return {};
}
