#include "cli/ControlCommands.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "cli/ConsoleDialogs.h"
#include "cli/QuillCommands.h"
#include "editing/ControlEdits.h"
#include "editing/ControlFields.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "versioning/LayoutText.h"

namespace {

std::string CannotRead(const std::string& path) {
    return "Cannot read layout file \"" + PathForMessage(path) + "\"";
}

// What --screen and --kind choose; nothing after a usage error.
struct Choice {
    std::optional<int32_t> Screen;
    std::optional<int32_t> Kind;

    bool Takes(const ControlRecord& r) const {
        return (!Screen || r.rScreen == *Screen) && (!Kind || r.rType == *Kind);
    }
};

std::optional<Choice> ChoiceOptions(const ParsedArguments& arguments, const char* command,
                                    std::ostream& err) {
    Choice choice;
    if (arguments.Has("--screen")) {
        choice.Screen = WholeNumber(arguments.Value("--screen"));
        if (!choice.Screen) {
            UsageError(err, command,
                       "--screen " + QuotedValue(arguments.Value("--screen")) + " is not a screen number");
            return std::nullopt;
        }
    }
    if (arguments.Has("--kind")) {
        choice.Kind = KindFromName(arguments.Value("--kind"));
        if (!choice.Kind) {
            UsageError(err, command,
                       "--kind " + QuotedValue(arguments.Value("--kind")) +
                           " is not a kind: give 1 to 11 or a kind's name, such as Button");
            return std::nullopt;
        }
    }
    return choice;
}

// ---- controls

std::size_t DisplayLength(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// A table whose first `numbers` columns are right-aligned; text columns are padded to at most
// 32 characters, a longer cell pushing its row on.
std::string Table(const std::vector<std::vector<std::string>>& rows, std::size_t numbers) {
    constexpr std::size_t Widest = 32;
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t k = 0; k < row.size(); ++k)
            widths[k] = std::max(widths[k], DisplayLength(row[k]));
    for (std::size_t k = numbers; k < widths.size(); ++k)
        widths[k] = std::max(std::min(widths[k], Widest), DisplayLength(rows.front()[k]));
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0) line += "  ";
            const std::size_t length = DisplayLength(row[k]);
            const std::string blanks(widths[k] > length ? widths[k] - length : 0, ' ');
            line += k < numbers ? blanks + row[k] : row[k] + blanks;
        }
        table += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
    }
    return table;
}

int RunControls(const ParsedArguments& arguments, Console& console) {
    const std::string& path = arguments.Operands[0];
    const std::optional<Choice> choice = ChoiceOptions(arguments, "controls", console.Err);
    if (!choice) return ExitFailure;
    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(path) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(path));

    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "controls", console);
    if (!codePage) return ExitFailure;
    const int cp = codePage->CodePage;
    const std::span<const ControlRecord> records = layout.Records();
    const bool json = arguments.Has("--json");
    std::vector<std::vector<std::string>> rows{{"Record", "Screen", "X1", "Y1", "X2", "Y2",
                                                "Function", "OEM", "Group", "Kind", "Key", "Text",
                                                "Label", "Picture"}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        if (!choice->Takes(r)) continue;
        const int position = static_cast<int>(i) + 1;
        if (json) {
            console.Out << RecordJsonLine(r, position, cp) << '\n';
            continue;
        }
        const std::string key = HotKeyText(r.rHotKey);
        rows.push_back({std::to_string(position), std::to_string(r.rScreen), std::to_string(r.rX1),
                        std::to_string(r.rY1), std::to_string(r.rX2), std::to_string(r.rY2),
                        std::to_string(r.rFunction), std::to_string(r.rOEMCode),
                        std::to_string(r.rTabGroup), KindName(r.rType), key.empty() ? "-" : key,
                        ConsoleText(r.rText, cp), ConsoleText(r.rLabel, cp),
                        ConsoleText(r.rBitMapPath, cp)});
    }
    if (!json) console.Out << Table(rows, 9);
    return ExitSuccess;
}

// ---- edit

// The 1-based positions of a list "3,5,7"; nothing after a usage error.
std::optional<std::vector<int>> RecordList(const std::string& list, std::ostream& err) {
    std::vector<int> positions;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        const std::optional<int32_t> position = WholeNumber(list.substr(start, end - start));
        if (!position) {
            UsageError(err, "edit",
                       "--record " + QuotedValue(list) + " is not a list of record numbers such as 3,5,7");
            return std::nullopt;
        }
        positions.push_back(*position);
        start = end + 1;
    }
    return positions;
}

int Refuse(Console& console, const std::string& utf8) {
    console.Err << "quill: " << utf8 << "; nothing was written\n";
    return ExitFailure;
}

int RunEdit(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    const bool byRecord = arguments.Has("--record");
    if (byRecord == arguments.Has("--screen"))
        return UsageError(console.Err, "edit", "needs either --record N[,M...] or --screen N");
    if (byRecord && arguments.Has("--kind"))
        return UsageError(console.Err, "edit", "--kind chooses among the controls of --screen");
    const std::optional<Choice> choice = ChoiceOptions(arguments, "edit", console.Err);
    if (!choice) return ExitFailure;
    std::optional<std::vector<int>> listed;
    if (byRecord && !(listed = RecordList(arguments.Value("--record"), console.Err)))
        return ExitFailure;
    const auto sets = arguments.Repeated.find("--set");
    if (sets == arguments.Repeated.end())
        return UsageError(console.Err, "edit", "needs --set FIELD=VALUE");
    std::string output = arguments.Value("-o");
    if (!arguments.Has("-o")) {
        if (!arguments.Has("--in-place"))
            return UsageError(console.Err, "edit", "needs -o OUT, or --in-place to replace LAYOUT");
        output = input;
    }
    if (!OutputAllowed(arguments, input, output, "edit", console.Err)) return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(input));
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "edit", console);
    if (!codePage) return ExitFailure;
    // The values are read once the layout is, in its code page.
    std::vector<std::pair<const ControlField*, FieldValue>> values;
    for (const std::string& set : sets->second) {
        const std::size_t equals = set.find('=');
        if (equals == std::string::npos)
            return UsageError(console.Err, "edit", "--set " + QuotedValue(set) + " is not FIELD=VALUE");
        const std::string name = set.substr(0, equals);
        const ControlField* field = FindControlField(name);
        if (field == nullptr)
            return Refuse(console, "--set " + QuotedValue(set) + ": " + QuotedValue(name) +
                                       " is not a field of a control; the fields are " +
                                       ControlFieldNames());
        const FieldParse parsed = ParseFieldValue(*field, std::string_view(set).substr(equals + 1),
                                                  codePage->CodePage);
        if (!parsed.Value) return Refuse(console, "--set " + QuotedValue(set) + ": " + parsed.Refusal);
        values.emplace_back(field, *parsed.Value);
    }

    const std::span<const ControlRecord> records = layout.Records();
    std::vector<int> positions;
    if (listed) {
        for (int position : *listed)
            if (position < 1 || position > layout.ControlCount())
                return Refuse(console, "there is no record " + std::to_string(position) + " in \"" +
                                           input + "\", which holds " +
                                           std::to_string(layout.ControlCount()) + " records");
        positions = *listed;
    } else {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (choice->Takes(records[i])) positions.push_back(static_cast<int>(i) + 1);
        if (positions.empty())
            return Refuse(
                console,
                "no control " +
                    (choice->Kind ? "of kind " + KindName(*choice->Kind) + " " : std::string()) +
                    "lies on screen " + std::to_string(*choice->Screen) + " of \"" + input + "\"");
    }

    const ControlsEditPlan plan = SetFieldsEdit(records, positions, values);
    if (plan.Refused()) return Refuse(console, "cannot edit \"" + input + "\": " + plan.Refusal);
    const std::size_t changed = plan.Edit.Changed.size();
    if (const std::string refusal = layout.ApplyEdit(plan.Edit, plan.Text); !refusal.empty())
        return Refuse(console, "cannot edit \"" + input + "\": " + refusal);
    std::vector<int> distinct = positions;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (changed == 0)
        return NothingChanges(console, "the " + ControlsCount(distinct.size()) + " chosen " +
                                           (distinct.size() == 1 ? "holds" : "hold") +
                                           " these values already");
    if (!layout.SaveLayout(output) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot save layout file \"" + PathForMessage(output) + "\"");

    // The step's name is "Change FIELDS of N controls".
    const std::string fields = plan.Text.substr(7, plan.Text.rfind(" of ") - 7);
    if (changed == distinct.size())
        console.Out << "Set " << fields << " on " << ControlsCount(changed) << ".\n";
    else
        console.Out << "Set " << fields << " on " << changed << " of the "
                    << ControlsCount(distinct.size())
                    << " chosen; the others hold these values already.\n";
    return ExitSuccess;
}

} // namespace

std::vector<CommandSpec> ControlCommands() {
    const OptionSpec screen{"--screen", "N", "the controls on screen N (any screen number)"};
    const OptionSpec kind{"--kind", "K",
                          "the controls of kind K, its number 1 to 11 or its name (Button, "
                          "\"Bitmap button\", DRO, ...)"};
    return {
        {"controls",
         "controls LAYOUT [--screen N] [--kind K] [--json]",
         "list the controls, one a line",
         "Prints the controls of LAYOUT in record order, one a line under a heading: the\n"
         "record's position (from 1), its screen, its rectangle, function, OEM code, DRO\n"
         "group, kind, key (by name, \"-\" for none), text, label and picture. Texts are\n"
         "printed as UTF-8 on one line each.\n",
         {"LAYOUT"},
         {screen,
          kind,
          {"--json", nullptr,
           "print one JSON object a line instead: \"record\" and the 20 fields by their names, "
           "numbers as numbers and texts as the Windows-1252 bytes read as Unicode"}},
         RunControls},
        {"edit",
         "edit LAYOUT (--record N[,M...] | --screen N [--kind K]) --set FIELD=VALUE [--set ...] "
         "-o OUT",
         "set fields of chosen controls",
         "Sets fields of the controls chosen, by record position or by screen (and kind),\n"
         "and writes the layout to OUT with nothing else changed. FIELD is a field's name\n"
         "(rFunction ... rY2, in any letter case) or Width or Height (which move rX2 or\n"
         "rY2); VALUE is read as the property sheet reads it: whole numbers, a kind by its\n"
         "number or name, a key by its name (Alt+1, F5, Ctrl+Alt+J) or its code, a colour as\n"
         "a number or 0x00BBGGRR, texts as UTF-8. A value is refused, with nothing written,\n"
         "when it is not a number, lies outside the 32-bit range, holds a character without\n"
         "a Windows-1252 byte or is longer than a layout can hold, or leaves a control's\n"
         "right edge left of its left edge or its bottom above its top. An existing OUT is\n"
         "replaced as Save replaces a file, its old content kept as OUT.bak.\n",
         {"LAYOUT"},
         {{"--record", "N[,M...]", "the controls at these record positions (from 1)"},
          screen,
          kind,
          {"--set", "FIELD=VALUE", "the value to set; may be given several times", true},
          {"-o", "OUT", "the layout file to write"},
          {"--in-place", nullptr,
           "allow the output to be the input file itself; it is replaced as Save replaces a "
           "file, its old content kept as NAME.bak"}},
         RunEdit},
    };
}
