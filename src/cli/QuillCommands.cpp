#include "cli/QuillCommands.h"

#include "csv/CsvExportLosses.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>

#include "cli/CheckReport.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ControlCommands.h"
#include "cli/FindCommands.h"
#include "cli/Json.h"
#include "cli/ScreenCommands.h"
#include "cli/ScriptCommands.h"
#include "cli/ScreenListRows.h"
#include "cli/VersionCommands.h"
#include "cli/ViewCommands.h"
#include "layout/FileBackup.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"
#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"
#include "preview/SvgWriter.h"
#include "tools/ControlCounts.h"
#include "tools/ScreenResolution.h"
#include "versioning/LayoutFiles.h"
#include "platform/SystemPaths.h"

#ifndef QUILL_VERSION
#define QUILL_VERSION "unknown"
#endif

// Whether writing `output` would replace `input`: the same file under any spelling or link when
// both exist, otherwise the same absolute path.
bool SameFile(const std::string& input, const std::string& output) {
    namespace fs = std::filesystem;
    try {
        const fs::path in = PathOf(input);
        const fs::path out = PathOf(output);
        std::error_code error;
        if (fs::exists(in, error) && fs::exists(out, error)) {
            const bool same = fs::equivalent(in, out, error);
            if (!error) return same;
        }
        const auto normal = [](const fs::path& path) {
            std::error_code failed;
            fs::path full = fs::weakly_canonical(path, failed);
            if (failed) full = fs::absolute(path, failed);
            return full.lexically_normal();
        };
        return normal(in) == normal(out);
    } catch (const std::exception&) {
        return input == output;
    }
}

int UsageError(std::ostream& err, const std::string& command, const std::string& message) {
    err << "quill: " << command << ": " << message << "; see \"quill " << command << " --help\"\n";
    return ExitFailure;
}

// An output that is the command's own input is replaced only when the user says so.
bool OutputAllowed(const ParsedArguments& arguments, const std::string& input,
                   const std::string& output, const char* command, std::ostream& err) {
    if (arguments.Has("--in-place") || !SameFile(input, output)) return true;
    UsageError(err, command,
               QuotedValue(output) + " is the file it reads; add --in-place to replace that file");
    return false;
}

// An output of another format never replaces the layout it is made from.
bool OutputIsNotTheLayout(const std::string& layout, const std::string& output, const char* command,
                          const char* format, std::ostream& err) {
    if (!SameFile(layout, output)) return true;
    UsageError(err, command,
               QuotedValue(output) + " is the layout it reads, which " + format +
                   " would replace; choose another output file");
    return false;
}

std::string CannotRead(const std::string& path) {
    return "Cannot read layout file \"" + PathForMessage(path) + "\"";
}

namespace {

std::string CannotSave(const std::string& path) {
    return "Cannot save layout file \"" + PathForMessage(path) + "\"";
}

// ---- info

std::size_t DisplayLength(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(const std::string& utf8, std::size_t width, bool right) {
    const std::size_t length = DisplayLength(utf8);
    const std::string blanks(width > length ? width - length : 0, ' ');
    return right ? blanks + utf8 : utf8 + blanks;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Text columns are padded to at most this many characters; a longer cell pushes its row on.
constexpr std::size_t WidestPadding = 32;
constexpr std::size_t NumberColumns = 2; // the screen number and the count, right-aligned

std::string ScreenTable(const ScreenListRows& list, int codePage) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> heading;
    for (const std::string& text : list.Headings)
        heading.push_back(Trimmed(ConsoleText(text)));
    lines.push_back(heading);
    for (const auto& row : list.Rows) {
        std::vector<std::string> cells;
        for (const std::string& cell : row)
            cells.push_back(ConsoleText(cell, codePage));
        lines.push_back(cells);
    }

    std::vector<std::size_t> widths(heading.size(), 0);
    for (const auto& line : lines)
        for (std::size_t k = 0; k < line.size() && k < widths.size(); ++k)
            widths[k] = std::max(widths[k], DisplayLength(line[k]));
    for (std::size_t k = NumberColumns; k < widths.size(); ++k)
        widths[k] = std::max(std::min(widths[k], WidestPadding), DisplayLength(heading[k]));

    std::string table;
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t k = 0; k < widths.size(); ++k) {
            if (k > 0) text += "  ";
            text += Padded(k < line.size() ? line[k] : std::string(), widths[k], k < NumberColumns);
        }
        table += text.substr(0, text.find_last_not_of(' ') + 1) + "\n";
    }
    return table;
}

std::string CountsText(const KindCounts& kinds, const std::map<int32_t, int>& offScreens,
                       int records) {
    std::size_t width = 1;
    for (int count : kinds.Known)
        width = std::max(width, std::to_string(count).size());
    for (const auto& [kind, count] : kinds.Other)
        width = std::max(width, std::to_string(count).size());
    const auto count = [&](int n) { return "  " + Padded(std::to_string(n), width, true); };

    std::string text = "Controls of each kind:\n";
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        text += count(kinds.Known[static_cast<std::size_t>(kind)]) + KindLabel(kind) + "\n";
    for (const auto& [kind, n] : kinds.Other)
        text += count(n) + "  other controls (rType " + std::to_string(kind) + ")\n";

    if (offScreens.empty()) {
        text += "Records on screens outside 0..15: none\n";
    } else {
        text += "Records on screens outside 0..15:\n";
        for (const auto& [screen, n] : offScreens)
            text += count(n) + "  on screen " + std::to_string(screen) + "\n";
    }
    text += std::to_string(records) + " records\n";
    return text;
}

std::string InfoJson(const std::string& path, const cLayout& layout, const ScreenListRows& list,
                     const KindCounts& kinds, const std::map<int32_t, int>& offScreens,
                     const DetectedResolution& drawnFor, const DetectedCodePage& codePage) {
    const int cp = codePage.CodePage;
    JsonWriter json;
    json.BeginObject().Key("file").String(path).Key("controls").Number(layout.ControlCount());
    json.Key("resolution")
        .String(std::to_string(drawnFor.Size.Width) + "x" + std::to_string(drawnFor.Size.Height))
        .Key("resolutionFrom")
        .String(ResolutionRuleName(drawnFor.From));
    json.Key("codepage").Number(cp).Key("codepageFrom").String(CodePageRuleName(codePage.From));
    json.Key("screens").BeginArray();
    for (std::size_t s = 0; s < list.Rows.size() && s < layout.Screens().size(); ++s) {
        // The label and captions as the row shows them: an empty screen shows neither.
        const std::vector<std::string>& row = list.Rows[s];
        json.BeginObject()
            .Key("screen")
            .Number(static_cast<int64_t>(s))
            .Key("controls")
            .Number(layout.Screens()[s].CtrlCount)
            .Key("label")
            .String(row.size() > 2 ? CodePageToUtf8(row[2], cp) : std::string());
        json.Key("shownBy").BeginArray();
        for (std::size_t k = 3; k < row.size(); ++k)
            json.String(CodePageToUtf8(row[k], cp));
        json.EndArray().EndObject();
    }
    json.EndArray();

    std::map<int32_t, int> byKind = kinds.Other;
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        byKind[kind] = kinds.Known[static_cast<std::size_t>(kind)];
    json.Key("kinds").BeginObject();
    for (const auto& [kind, n] : byKind)
        json.Key(std::to_string(kind)).Number(n);
    json.EndObject();
    json.Key("otherScreens").BeginObject();
    for (const auto& [screen, n] : offScreens)
        json.Key(std::to_string(screen)).Number(n);
    json.EndObject().EndObject();
    return json.Text();
}

int RunInfo(const ParsedArguments& arguments, Console& console) {
    const std::string& path = arguments.Operands[0];
    ScreenListRows list;
    cLayout layout(console.Dialogs);
    layout.BindScreenList(list);
    if (!layout.LoadLayout(path) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(path));

    const KindCounts kinds = CountKinds(layout.Records(), -1);
    const std::map<int32_t, int> offScreens = RecordsOffScreens(layout.Records());
    const DetectedResolution drawnFor = DetectResolution(layout.Records(), -1);
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "info", console);
    if (!codePage) return ExitFailure;
    if (arguments.Has("--json"))
        console.Out << InfoJson(path, layout, list, kinds, offScreens, drawnFor, *codePage) << '\n';
    else
        console.Out << ScreenTable(list, codePage->CodePage) << '\n'
                    << DrawnForText(drawnFor) << '\n'
                    << "Texts in " << CodePageCaption(*codePage) << '\n'
                    << CountsText(kinds, offScreens, layout.ControlCount());
    return ExitSuccess;
}

// ---- CSV

int RunExportCsv(const ParsedArguments& arguments, Console& console) {
    const std::string& layoutPath = arguments.Operands[0];
    const std::string& csvPath = arguments.Operands[1];
    if (!OutputIsNotTheLayout(layoutPath, csvPath, "export-csv", "a CSV file", console.Err))
        return ExitFailure;
    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(layoutPath) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(layoutPath));
    // What the file cannot carry is said once the file is written; the export still succeeds.
    const std::string losses = CsvExportLossWarning(CountCsvExportLosses(layout.Records()));
    if (!losses.empty()) console.Dialogs.ExpectWarning(losses);
    FileBackup backup;
    std::string failure;
    if (!backup.Keep(csvPath, failure))
        return console.Dialogs.Fail("Cannot write CSV file \"" + PathForMessage(csvPath) +
                                    "\": " + failure);
    if (!layout.ExportCSV(csvPath) || console.Dialogs.Failed()) {
        backup.PutBack();
        return console.Dialogs.Fail("Cannot write CSV file \"" + PathForMessage(csvPath) + "\"");
    }
    return ExitSuccess;
}

int RunImportCsv(const ParsedArguments& arguments, Console& console) {
    const std::string& csvPath = arguments.Operands[0];
    const std::string& layoutPath = arguments.Operands[1];
    if (!OutputAllowed(arguments, csvPath, layoutPath, "import-csv", console.Err))
        return ExitFailure;
    // The caution is for someone choosing a file in the window; the user of the tool has chosen.
    console.Dialogs.Answer("Caution!", MsgButtons::OKCancel, MsgAnswer::OK, true);
    // A fresh document: the new file gets a trailer of zeros. A UTF-8 file's texts are stored in
    // the code page asked for (Windows-1252 unless --codepage says).
    cLayout layout(console.Dialogs);
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, {}, "import-csv", console);
    if (!codePage) return ExitFailure;
    layout.SetTextCodePage(codePage->CodePage);
    if (!layout.ImportCSV(csvPath) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot import CSV file \"" + PathForMessage(csvPath) + "\"");
    LayoutContent content;
    content.Records.assign(layout.Records().begin(), layout.Records().end());
    content.Trailer = layout.FileTrailer();
    if (CheckLayoutContent(content).empty() &&
        HoldsAlready(layoutPath, LayoutFileBytesOf(content)))
        return NothingChanges(console, "\"" + layoutPath + "\" holds these records already");
    if (!layout.SaveLayout(layoutPath) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotSave(layoutPath));
    return ExitSuccess;
}

// ---- rescale

// The factor as the window writes it: at most seven significant digits, trailing zeros dropped.
std::string FactorText(float factor) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(factor),
                                      std::chars_format::general, 7);
    return std::string(digits, result.ptr);
}

std::optional<int> ScreenNumber(const std::string& text) {
    int screen = -1;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, screen);
    if (result.ec != std::errc() || result.ptr != end || !IsLayoutScreen(screen))
        return std::nullopt;
    return screen;
}

} // namespace

// The value of a WxH option, or nothing after a usage error.
std::optional<Resolution> ResolutionOption(const ParsedArguments& arguments, const char* option,
                                           const char* command, std::ostream& err) {
    const std::optional<Resolution> parsed = ParseResolution(arguments.Value(option));
    if (!parsed)
        UsageError(err, command,
                   std::string(option) + " " + QuotedValue(arguments.Value(option)) +
                       " is not a resolution WxH with sides " +
                       std::to_string(MinResolutionSide) + " to " +
                       std::to_string(MaxResolutionSide));
    return parsed;
}

namespace {

// The value of --screen, or nothing after a usage error.
std::optional<int> ScreenOption(const ParsedArguments& arguments, const char* command,
                                std::ostream& err) {
    const std::optional<int> screen = ScreenNumber(arguments.Value("--screen"));
    if (!screen)
        UsageError(err, command,
                   "--screen " + QuotedValue(arguments.Value("--screen")) + " is not a screen 0 to 15");
    return screen;
}

int RunRescale(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    const auto resolution = [&](const char* option) {
        return ResolutionOption(arguments, option, "rescale", console.Err);
    };
    if (!arguments.Has("--to")) return UsageError(console.Err, "rescale", "needs --to WxH");
    const std::optional<Resolution> to = resolution("--to");
    if (!to) return ExitFailure;
    std::optional<Resolution> from;
    if (arguments.Has("--from") && !(from = resolution("--from"))) return ExitFailure;
    int screen = -1; // all screens
    if (arguments.Has("--screen")) {
        const std::optional<int> number = ScreenOption(arguments, "rescale", console.Err);
        if (!number) return ExitFailure;
        screen = *number;
    }
    std::string output = arguments.Value("-o");
    if (!arguments.Has("-o")) {
        if (!arguments.Has("--in-place"))
            return UsageError(console.Err, "rescale",
                              "needs -o OUT, or --in-place to replace LAYOUT");
        output = input;
    }
    if (!OutputAllowed(arguments, input, output, "rescale", console.Err)) return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(input));

    const DetectedResolution found = DetectResolution(layout.Records(), screen, from);
    // As the window does: the largest resolution is assumed, and the user is told.
    if (found.Outside)
        console.Dialogs.Note("Controls reach to X = " + std::to_string(found.ExtentX) +
                             " Y = " + std::to_string(found.ExtentY) +
                             " is outside available screen resolutions. Max available assumed!");
    const bool detected = !from;
    from = found.Size;

    const RescalePlan plan = PlanRescale(*from, *to);
    const bool centre = arguments.Has("--centre");
    const int32_t shift = centre && plan.FromHeights ? plan.CentringShift : 0;
    if (centre && !plan.FromHeights)
        console.Dialogs.Note("--centre moves nothing: the rescaled screen fills the new width");
    if (!layout.RescaleControls(screen, plan.Factor, shift) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot rescale the screen(s)");
    if (!layout.IsDirty())
        return NothingChanges(console, "rescaled by " + FactorText(plan.Factor) +
                                           ", every control keeps its place and size");
    if (!layout.SaveLayout(output) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotSave(output));

    console.Out << (screen < 0 ? std::string("All screens") : "Screen " + std::to_string(screen))
                << " rescaled by " << FactorText(plan.Factor) << " from "
                << ResolutionCaption(*from)
                << (detected ? " (detected " + ResolutionRuleText(found.From) + ")" : "") << " to "
                << ResolutionCaption(*to);
    if (shift != 0) console.Out << ", moved right by " << shift << " pixels to centre";
    console.Out << ".\n";
    return ExitSuccess;
}

// ---- options shared by check, render and the picture commands

} // namespace

// The path made absolute and normal, as the picture look-up makes the layout's folder, so the
// paths found under a folder start with the folder's own spelling.
std::filesystem::path FullPath(const std::string& utf8) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(PathOf(utf8), error);
    if (error) full = PathOf(utf8);
    return full.lexically_normal();
}

const OptionSpec CodePageOption{
    "--codepage", "N",
    "read and write the layout's texts in code page N: 1252 (Western), 1250, 1251, 1253, 1254, "
    "1255, 1256, 1257, 1258, 874, 932 (Shift-JIS), 936 (GBK), 949 (UHC) or 950 (Big5); by "
    "default it is found from the texts"};

std::optional<DetectedCodePage> UseCodePage(const ParsedArguments& arguments,
                                            std::span<const ControlRecord> records,
                                            const char* command, Console& console) {
    std::optional<int> chosen;
    if (arguments.Has("--codepage")) {
        const std::string text = arguments.Value("--codepage");
        int number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error != std::errc() || end != text.data() + text.size() ||
            !IsSupportedCodePage(number)) {
            UsageError(console.Err, command,
                       "--codepage " + QuotedValue(text) +
                           " is not a code page this program knows (1252, 1250, 1251, 1253, "
                           "1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950)");
            return std::nullopt;
        }
        chosen = number;
    }
    const DetectedCodePage detected = DetectCodePage(records, chosen);
    console.Dialogs.SetCodePage(detected.CodePage);
    return detected;
}

// -o OUT, or the input itself with --in-place.
std::string OutputOf(const ParsedArguments& arguments, const std::string& input,
                     const char* command, std::ostream& err) {
    std::string output = arguments.Value("-o");
    if (!arguments.Has("-o")) {
        if (!arguments.Has("--in-place")) {
            UsageError(err, command, "needs -o OUT, or --in-place to replace LAYOUT");
            return {};
        }
        output = input;
    }
    return OutputAllowed(arguments, input, output, command, err) ? output : std::string();
}

// The --pictures folder, made absolute; "" when the option is not given; nothing after a usage
// error (a folder that is not there would silently find nothing).
std::optional<std::string> PicturesOption(const ParsedArguments& arguments, const char* command,
                                          std::ostream& err) {
    if (!arguments.Has("--pictures")) return std::string();
    const std::string folder = arguments.Value("--pictures");
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(PathOf(folder), error)) {
        UsageError(err, command, "--pictures " + QuotedValue(folder) + " is not a folder");
        return std::nullopt;
    }
    return Utf8Of(FullPath(folder));
}

namespace {

// ---- the table

const OptionSpec InPlace{"--in-place", nullptr,
                         "allow the output to be the input file itself; it is replaced as Save "
                         "replaces a file, its old content kept as NAME.bak"};
// Older scripts may give it; an output of another format still never replaces the layout.
const OptionSpec NeverInPlace{"--in-place", nullptr,
                              "has no effect: the output is never LAYOUT itself"};

const std::vector<CommandSpec>& LayoutCommandTable() {
    static const std::vector<CommandSpec> table{
        {"info",
         "info LAYOUT [--json]",
         "show the screens, the resolution, the controls of each kind and the number of records",
         "Prints the screen list as the main window shows it (screen, controls, label, the\n"
         "captions of the first two buttons that show the screen), the resolution the layout is\n"
         "drawn for and how it was found (from the background pictures, from the controls\n"
         "centred on a wider screen, or from how far the controls reach), the code page its\n"
         "texts are read in and how it was found, then the number of controls of each kind, the records lying on screens outside 0..15, and the number of\n"
         "records.\n",
         {"LAYOUT"},
         {{"--json", nullptr,
           "print one JSON object instead: file, controls, resolution, resolutionFrom, codepage, "
           "codepageFrom (chosen, texts or default), screens, kinds, otherScreens"}},
         RunInfo},
        {"check",
         "check LAYOUT [--json] [--resolution WxH] [--pictures DIR]",
         "find what would go wrong when the host runs the layout",
         "Checks LAYOUT for what would go wrong when the host runs it, and prints one\n"
         "finding a line, sorted by screen and control:\n"
         "  SEVERITY screen S record K CODE: message\n"
         "SEVERITY is error, warning or note; S is the screen the finding concerns, or\n"
         "\"all\" for a finding about the whole layout; K is the 1-based position of the\n"
         "control concerned, 0 when no one control is; CODE names the rule and never\n"
         "changes meaning. Texts are printed as UTF-8, each finding on one line.\n"
         "\n"
         "Exit status 1 when a finding is an error or a warning, 0 when there are only\n"
         "notes or none, 2 when the layout cannot be read.\n",
         {"LAYOUT"},
         {{"--json", nullptr,
           "print one JSON object a line instead, with severity, code, screen (null for the "
           "whole layout), record and message"},
          {"--resolution", "WxH",
           "the resolution the controls must fit (default: the one the layout is drawn for, as "
           "info shows it)"},
          {"--pictures", "DIR",
           "look for the controls' pictures in DIR, then as the host does (Bitmaps beside the "
           "layout or above it, the layout's folder and its parent), and report those not found "
           "(default: pictures are not checked)"}},
         RunCheck},
        {"export-csv",
         "export-csv LAYOUT CSV",
         "write the layout's records as a CSV file, as CSV Export does",
         "Writes every record of LAYOUT to CSV, exactly as the main window's CSV Export: a\n"
         "heading line of the 20 field names, then one line per record. An existing CSV file is\n"
         "replaced only by a complete new one, and kept as CSV.bak first. CSV is never LAYOUT\n"
         "itself.\n",
         {"LAYOUT", "CSV"},
         {NeverInPlace},
         RunExportCsv},
        {"import-csv",
         "import-csv CSV LAYOUT",
         "write a new layout file from the records of a CSV file",
         "Reads CSV as the main window's CSV Import does, without its caution question, and\n"
         "writes its records to a new layout file LAYOUT with a trailer of zeros. The import's\n"
         "other messages go to standard error. An existing LAYOUT is replaced as Save replaces\n"
         "a file, its old content kept as LAYOUT.bak.\n",
         {"CSV", "LAYOUT"},
         {InPlace},
         RunImportCsv},
        {"rescale",
         "rescale LAYOUT --to WxH [--from WxH] [--screen N] [--centre] -o OUT",
         "rescale the controls to another monitor resolution",
         "Multiplies the rectangles of the controls by the factor from one resolution to\n"
         "another, as the Edit Controls window's Re-scale does, and writes the result to OUT.\n"
         "Between two of 640x480, 800x600, 1024x768, 1152x864 and 1280x1024 the factor is the\n"
         "ratio of the widths; otherwise the smaller of the width and height ratios, so the whole\n"
         "screen stays visible. Magnifying is done without asking. Fonts are not scaled. An\n"
         "existing OUT is replaced as Save replaces a file, its old content kept as OUT.bak.\n",
         {"LAYOUT"},
         {{"--to", "WxH", "the new resolution, e.g. 1920x1080"},
          {"--from", "WxH",
           "the resolution the layout was drawn for (default: the one detected, as info shows "
           "it, over the screens rescaled)"},
          {"--screen", "N", "rescale screen N (0 to 15) only (default: all screens)"},
          {"--centre", nullptr,
           "when the height ratio sets the factor, move the controls right to centre them"},
          {"-o", "OUT", "the layout file to write"},
          InPlace},
         RunRescale},
        {"render",
         "render LAYOUT --screen N -o OUT.svg [--pictures DIR] [--link-pictures] "
         "[--resolution WxH] [--no-persistent]",
         "draw one screen as an SVG picture, as the preview shows it",
         "Draws screen N of LAYOUT as the preview window shows it and writes it to\n"
         "OUT.svg as an SVG picture, one element per control (id \"record-K\"), pictures\n"
         "beneath the other controls and the controls of screen 0 over the other screens.\n"
         "Pictures are looked for in DIR, then as the host looks for them (in Bitmaps beside\n"
         "the layout or above it), then in the layout's folder and its parent, and\n"
         "embedded in the SVG, each file once, so it shows the same anywhere. A missing\n"
         "picture is drawn as a hatched box with its file name (a bitmap button's as its\n"
         "outline) and noted on standard error. An existing OUT.svg is replaced only by a\n"
         "complete new one, and kept as OUT.svg.bak first. OUT.svg is never LAYOUT itself.\n",
         {"LAYOUT"},
         {{"--screen", "N",
           "the screen to draw, 0 to 15 or a screen beyond them that the records lie on"},
          {"-o", "OUT.svg", "the SVG file to write"},
          {"--pictures", "DIR", "the folder to look for the controls' pictures in first"},
          {"--link-pictures", nullptr,
           "name the pictures by paths relative to OUT.svg instead of embedding them (a file "
           "URI where no relative path exists)"},
          {"--resolution", "WxH",
           "the size of the screen drawn (default: the one the screen is drawn for, detected "
           "from its controls)"},
          {"--no-persistent", nullptr, "leave out the controls of screen 0"},
          NeverInPlace},
         RunRender},
    };
    return table;
}

// The layout commands, those for single controls, those for finding and pictures, then those for
// version control.
const std::vector<CommandSpec>& CommandTable() {
    static const std::vector<CommandSpec> table = [] {
        std::vector<CommandSpec> commands = LayoutCommandTable();
        for (CommandSpec& command : ControlCommands())
            commands.push_back(std::move(command));
        for (CommandSpec& command : ScreenCommands())
            commands.push_back(std::move(command));
        for (CommandSpec& command : ScriptCommands())
            commands.push_back(std::move(command));
        for (CommandSpec& command : FindCommands())
            commands.push_back(std::move(command));
        for (CommandSpec& command : VersionCommands())
            commands.push_back(std::move(command));
        // Every command that reads or writes the layout's texts takes the code page.
        static std::vector<std::unique_ptr<std::string>> synopses;
        for (CommandSpec& command : commands) {
            const std::string name = command.Name;
            if (name == "export-csv" || name == "rescale") continue;
            command.Options.push_back(CodePageOption);
            synopses.push_back(
                std::make_unique<std::string>(std::string(command.Synopsis) + " [--codepage N]"));
            command.Synopsis = synopses.back()->c_str();
        }
        return commands;
    }();
    return table;
}

const CommandSpec* FindCommand(const std::string& name) {
    for (const CommandSpec& command : CommandTable())
        if (name == command.Name) return &command;
    return nullptr;
}

int UnknownCommand(std::ostream& err, const std::string& name) {
    err << "quill: unknown command \"" << name << "\"; \"quill help\" lists the commands\n";
    return ExitFailure;
}

int RunCommand(const CommandSpec& command, std::span<const std::string> arguments,
               std::ostream& out, std::ostream& err) {
    ParsedArguments parsed;
    std::string error;
    switch (ParseArguments(command, arguments, parsed, error)) {
    case ParseResult::Help:
        out << CommandHelp(command);
        return ExitSuccess;
    case ParseResult::UsageError:
        return UsageError(err, command.Name, error);
    case ParseResult::Run:
        break;
    }
    ConsoleDialogs dialogs(err);
    Console console{out, err, dialogs};
    int status = ExitFailure;
    try {
        status = command.Run(parsed, console);
    } catch (const std::exception& e) {
        // Nothing has been written: every output is replaced only once it is complete.
        status = dialogs.Fail(std::string("stopped: ") + e.what());
    }
    dialogs.Finish();
    return status;
}

} // namespace

int NothingChanges(Console& console, const std::string& what) {
    console.Out << "Nothing changes: " << what << "; nothing was written.\n";
    return ExitFindings;
}

bool HoldsAlready(const std::string& path, const std::string& bytes) {
    std::string held, reason;
    return ReadWholeFile(path, held, reason, bytes.size()) && held == bytes;
}

std::string QuotedValue(const std::string& utf8) {
    constexpr std::size_t Shown = 80;
    std::size_t characters = 0, at = 0;
    for (; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80) continue;
        if (characters == Shown) break;
        ++characters;
    }
    return "\"" + utf8.substr(0, at) + (at < utf8.size() ? "\"..." : "\"");
}

bool WriteOutput(const std::string& path, const std::string& bytes, std::string& failure) {
    return WriteWithBackup(path, bytes, failure);
}

std::span<const CommandSpec> QuillCommands() {
    return CommandTable();
}

int RunQuill(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << "quill: no command given; \"quill help\" lists the commands\n";
        return ExitFailure;
    }
    const std::string& first = arguments[0];
    if (first == "--version") {
        if (arguments.size() > 1) {
            err << "quill: --version takes no arguments\n";
            return ExitFailure;
        }
        out << "quill (KorvoScreenQuill) " << QUILL_VERSION << "\n";
        return ExitSuccess;
    }
    if (first == "help" || first == "--help" || first == "-h") {
        if (arguments.size() == 1) {
            out << ProgramHelp(QuillCommands());
            return ExitSuccess;
        }
        const CommandSpec* command = FindCommand(arguments[1]);
        if (command == nullptr) return UnknownCommand(err, arguments[1]);
        if (arguments.size() > 2) {
            err << "quill: help takes only one COMMAND\n";
            return ExitFailure;
        }
        out << CommandHelp(*command);
        return ExitSuccess;
    }
    const CommandSpec* command = FindCommand(first);
    if (command == nullptr) return UnknownCommand(err, first);
    return RunCommand(*command, std::span(arguments).subspan(1), out, err);
}
