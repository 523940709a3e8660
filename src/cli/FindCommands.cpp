#include "cli/FindCommands.h"

#include <iostream>

#include "bundle/LayoutBundle.h"
#include "cli/ConsoleDialogs.h"
#include "cli/Json.h"
#include "cli/QuillCommands.h"
#include "editing/FindReplace.h"
#include "editing/Relink.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "preview/PictureFinder.h"
#include "preview/WhereUsed.h"
#include "versioning/LayoutFiles.h"

namespace {

// A text given on the command line (UTF-8) as the records' bytes; nothing after a usage error.
std::optional<std::string> RecordText(const std::string& utf8, const char* command,
                                      const std::string& what, std::ostream& err,
                                      int codePage) {
    std::string bytes, refusal;
    if (!TextForRecords(utf8, bytes, refusal, what, codePage)) {
        UsageError(err, command, refusal.substr(0, refusal.size() - 1));
        return std::nullopt;
    }
    return bytes;
}

// The search the options describe; nothing after a usage error.
std::optional<FindOptions> SearchOptions(const ParsedArguments& arguments, const std::string& text,
                                         const char* command, std::ostream& err, int codePage) {
    FindOptions options;
    options.CodePage = codePage;
    const std::optional<std::string> bytes = RecordText(text, command, "TEXT", err, codePage);
    if (!bytes) return std::nullopt;
    if (bytes->empty()) {
        UsageError(err, command, "the text to find is empty");
        return std::nullopt;
    }
    options.Text = *bytes;
    options.WholeField = arguments.Has("--whole");
    options.MatchCase = arguments.Has("--case");
    for (const std::string& name : arguments.Values("--field")) {
        const std::optional<FindField> field = FindFieldFromName(name);
        if (!field) {
            std::string names;
            for (const FindFieldInfo& info : FindFields())
                names += std::string(names.empty() ? "" : ", ") + info.Name;
            UsageError(err, command, "--field " + QuotedValue(name) + " is not one of " + names);
            return std::nullopt;
        }
        options.Fields.push_back(*field);
    }
    return options;
}

bool ReadLayout(const std::string& path, LayoutContent& layout, Console& console) {
    std::string failure;
    if (ReadLayoutContent(path, layout, failure)) return true;
    console.Dialogs.Fail(failure);
    return false;
}

int WriteChanged(LayoutContent& layout, const ControlsEdit& edit, const std::string& output,
                 Console& console) {
    for (const auto& [position, record] : edit.Changed)
        layout.Records[static_cast<std::size_t>(position - 1)] = record;
    std::string failure;
    if (!WriteLayoutContent(output, layout, failure)) return console.Dialogs.Fail(failure);
    return ExitSuccess;
}

// ---- find

int RunFind(const ParsedArguments& arguments, Console& console) {
    const std::string& path = arguments.Operands[0];
    LayoutContent layout;
    if (!ReadLayout(path, layout, console)) return ExitFailure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "find", console);
    if (!codePage) return ExitFailure;
    const int cp = codePage->CodePage;
    const std::optional<FindOptions> options =
        SearchOptions(arguments, arguments.Operands[1], "find", console.Err, cp);
    if (!options) return ExitFailure;
    const std::vector<FindResult> results = FindInRecords(layout.Records, *options);
    const bool json = arguments.Has("--json");
    for (const FindResult& result : results) {
        const char* field = FieldInfo(result.Field).Name;
        if (json) {
            JsonWriter line;
            line.BeginObject()
                .Key("screen")
                .Number(result.Screen)
                .Key("record")
                .Number(result.Record)
                .Key("field")
                .String(field)
                .Key("text")
                .String(CodePageToUtf8(result.Line, cp))
                .EndObject();
            console.Out << line.Text() << '\n';
        } else {
            console.Out << "screen " << result.Screen << " record " << result.Record << ' ' << field
                        << ": " << ConsoleText(result.Line, cp) << '\n';
        }
    }
    return results.empty() ? ExitFindings : ExitSuccess;
}

// ---- replace

int RunReplace(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    ReplaceRequest request;
    const std::string output = OutputOf(arguments, input, "replace", console.Err);
    if (output.empty()) return ExitFailure;
    LayoutContent layout;
    if (!ReadLayout(input, layout, console)) return ExitFailure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "replace", console);
    if (!codePage) return ExitFailure;
    const std::optional<FindOptions> options = SearchOptions(
        arguments, arguments.Operands[1], "replace", console.Err, codePage->CodePage);
    if (!options) return ExitFailure;
    request.Find = *options;
    const std::optional<std::string> replacement =
        RecordText(arguments.Operands[2], "replace", "NEW", console.Err, codePage->CodePage);
    if (!replacement) return ExitFailure;
    request.Replacement = *replacement;

    const ReplacePlan plan = PlanReplace(layout.Records, request);
    if (!plan.Refusal.empty()) return console.Dialogs.Fail(plan.Refusal);
    if (plan.Fields == 0)
        return NothingChanges(console, FindInRecords(layout.Records, request.Find).empty()
                                           ? "no field matches " + QuotedValue(arguments.Operands[1])
                                           : std::string("the replacement leaves every field as "
                                                         "it is"));
    const int status = WriteChanged(layout, plan.Edit, output, console);
    if (status != ExitSuccess) return status;
    console.Out << "Replaced: " << plan.Fields << (plan.Fields == 1 ? " field" : " fields")
                << " of " << plan.Controls << (plan.Controls == 1 ? " control" : " controls")
                << " changed.\n";
    return ExitSuccess;
}

// ---- pictures

int RunPictures(const ParsedArguments& arguments, Console& console) {
    const std::string& path = arguments.Operands[0];
    const std::optional<std::string> pictures = PicturesOption(arguments, "pictures", console.Err);
    if (!pictures) return ExitFailure;
    LayoutContent layout;
    if (!ReadLayout(path, layout, console)) return ExitFailure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "pictures", console);
    if (!codePage) return ExitFailure;
    const int cp = codePage->CodePage;
    PictureFinder finder = PictureFinder::ForLayout(path, *pictures);
    finder.SetCodePage(cp);
    const bool json = arguments.Has("--json");
    for (const PictureUse& use : PictureUses(layout.Records, &finder)) {
        const int uses = static_cast<int>(use.Records.size());
        if (json) {
            JsonWriter line;
            line.BeginObject()
                .Key("path")
                .String(CodePageToUtf8(use.Path, cp))
                .Key("uses")
                .Number(uses)
                .Key("found");
            if (use.Found.empty())
                line.Null();
            else
                line.String(use.Found);
            line.Key("foundIn");
            if (use.Found.empty())
                line.Null();
            else
                line.String(use.FoundIn);
            line.Key("bytes");
            if (use.Bytes)
                line.Number(static_cast<int64_t>(*use.Bytes));
            else
                line.Null();
            console.Out << line.EndObject().Text() << '\n';
            continue;
        }
        console.Out << '"' << ConsoleText(use.Path, cp) << "\" used by " << uses
                    << (uses == 1 ? " control: " : " controls: ");
        if (use.Found.empty())
            console.Out << "not found\n";
        else
            console.Out << "found in " << use.FoundIn << " at " << use.Found
                        << (use.Bytes ? ", " + std::to_string(*use.Bytes) + " bytes" : "") << '\n';
    }
    return ExitSuccess;
}

// ---- relink

int RunRelink(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    const std::string output = OutputOf(arguments, input, "relink", console.Err);
    if (output.empty()) return ExitFailure;
    LayoutContent layout;
    if (!ReadLayout(input, layout, console)) return ExitFailure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "relink", console);
    if (!codePage) return ExitFailure;
    const std::optional<std::string> from =
        RecordText(arguments.Operands[1], "relink", "OLD", console.Err, codePage->CodePage);
    const std::optional<std::string> to =
        from ? RecordText(arguments.Operands[2], "relink", "NEW", console.Err, codePage->CodePage)
             : std::nullopt;
    if (!from || !to) return ExitFailure;
    const RelinkPlan plan = PlanRelink(layout.Records, *from, *to);
    if (plan.NoMatch)
        return NothingChanges(console, "no control shows the picture " +
                                           QuotedValue(arguments.Operands[1]));
    if (!plan.Refusal.empty()) return console.Dialogs.Fail(plan.Refusal);
    if (plan.Controls == 0)
        return NothingChanges(console, "the pictures are linked so already");
    const int status = WriteChanged(layout, plan.Edit, output, console);
    if (status != ExitSuccess) return status;
    console.Out << "Relinked the picture of " << plan.Controls
                << (plan.Controls == 1 ? " control.\n" : " controls.\n");
    return ExitSuccess;
}

// ---- bundle

int RunBundle(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    if (!arguments.Has("-o"))
        return UsageError(console.Err, "bundle", "needs -o OUT.zip or OUTDIR");
    const std::string output = arguments.Value("-o");
    if (!OutputIsNotTheLayout(input, output, "bundle", "a bundle", console.Err)) return ExitFailure;
    const std::optional<std::string> pictures = PicturesOption(arguments, "bundle", console.Err);
    if (!pictures) return ExitFailure;
    LayoutContent layout;
    if (!ReadLayout(input, layout, console)) return ExitFailure;
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records, "bundle", console);
    if (!codePage) return ExitFailure;
    const int cp = codePage->CodePage;

    PictureFinder finder = PictureFinder::ForLayout(input, *pictures);
    finder.SetCodePage(cp);
    const std::string name = [&input] {
        const std::size_t cut = input.find_last_of("/\\");
        return cut == std::string::npos ? input : input.substr(cut + 1);
    }();
    const BundlePlan plan = PlanBundle(layout, name, finder, cp);
    std::string failure;
    if (!WriteBundle(plan, output, failure)) return console.Dialogs.Fail(failure);
    for (const MissingPicture& missing : plan.Missing)
        console.Dialogs.Note("the picture \"" + missing.Path + "\" is not found; it is left out");
    console.Out << BundleReport(plan, output, cp) << '\n';
    return ExitSuccess;
}

// ---- the table

const OptionSpec FieldOption{"--field", "F",
                             "search only field F (rText, rLabel, rGText, rFormat, rBitMapPath, "
                             "rFunction, rOEMCode, rHotKey, rTabGroup, or Text, Label, Script, "
                             "Format, Picture, Function, OEM code, Key, DRO group); may be "
                             "given more than once (default: all of them)",
                             true};
const OptionSpec WholeOption{"--whole", nullptr, "match the whole field only"};
const OptionSpec CaseOption{"--case", nullptr, "match letter case (default: ignore it)"};
const OptionSpec OutOption{"-o", "OUT", "the layout file to write"};
const OptionSpec InPlaceOption{"--in-place", nullptr,
                               "allow the output to be LAYOUT itself; it is replaced as Save "
                               "replaces a file, its old content kept as NAME.bak"};

} // namespace

std::vector<CommandSpec> FindCommands() {
    return {
        {"find",
         "find LAYOUT TEXT [--field F]... [--whole] [--case] [--json]",
         "find a text or a number in the controls' fields",
         "Finds TEXT in the texts (rText, rLabel, the script rGText, rFormat), the picture\n"
         "path, the function, the OEM code, the key (by its name, such as Alt+1) and the DRO\n"
         "group of every control, and prints one line per field that holds it:\n"
         "  screen S record K FIELD: the line of the field that holds the text\n"
         "Letter case is ignored unless --case is given. A number field matches the number\n"
         "as written (216); with --whole the key matches any spelling of its name (alt+1).\n"
         "\n"
         "Exit status 0 when something is found, 1 when nothing is, 2 on an error.\n",
         {"LAYOUT", "TEXT"},
         {FieldOption,
          WholeOption,
          CaseOption,
          {"--json", nullptr,
           "print one JSON object a line instead, with screen, record, field (the field's "
           "name, rText) and text"}},
         RunFind},
        {"replace",
         "replace LAYOUT OLD NEW [--field F]... [--whole] [--case] -o OUT",
         "replace a text or a number in the controls' fields",
         "Replaces OLD by NEW wherever find finds OLD (every match within a field, or the\n"
         "whole field with --whole) and writes the layout to OUT. A number field must stay a\n"
         "whole number and the key a key; a text may not grow beyond 32767 characters, and\n"
         "NEW may hold only characters of the Windows-1252 code page: otherwise nothing is\n"
         "written and the exit status is 2. When nothing changes, nothing is written and the\n"
         "exit status is 1. An existing OUT is replaced as Save replaces a file, its old\n"
         "content kept as OUT.bak.\n",
         {"LAYOUT", "OLD", "NEW"},
         {FieldOption, WholeOption, CaseOption, OutOption, InPlaceOption},
         RunReplace},
        {"pictures",
         "pictures LAYOUT [--pictures DIR] [--json]",
         "list the picture paths with the controls using each and where each is found",
         "Prints one line per picture path, as the layout spells it, with the number of\n"
         "controls that use it and the file it is found at (looked for in DIR, then in the\n"
         "layout's folder and its parent, as the preview looks) with its size, or \"not\n"
         "found\".\n",
         {"LAYOUT"},
         {{"--pictures", "DIR", "the folder to look for the pictures in first"},
          {"--json", nullptr,
           "print one JSON object a line instead, with path, uses, found (the file's path, or "
           "null) and bytes"}},
         RunPictures},
        {"relink",
         "relink LAYOUT OLD NEW -o OUT",
         "give a picture path, or every path under a folder, a new path",
         "Gives every control whose picture path is OLD the path NEW, and writes the layout\n"
         "to OUT. When OLD ends in \\ or / it is a folder: every path under it gets NEW in\n"
         "its place and keeps the rest as the layout spells it (NewPlasma\\ to Skin\\ makes\n"
         "Newplasma/Jog.png Skin\\Jog.png). Paths are matched as Windows matches them, letter\n"
         "case ignored and \\ and / alike. When no path matches, nothing is written and the\n"
         "exit status is 1. An existing OUT is replaced as Save replaces a file, its old\n"
         "content kept as OUT.bak.\n",
         {"LAYOUT", "OLD", "NEW"},
         {OutOption, InPlaceOption},
         RunRelink},
        {"bundle",
         "bundle LAYOUT [--pictures DIR] -o OUT.zip|OUTDIR",
         "write the layout with every picture it uses into a folder or a .zip file",
         "Writes LAYOUT and every picture it names that is found (in DIR, then in the\n"
         "layout's folder and its parent) into the new or empty folder OUTDIR, or into\n"
         "OUT.zip when the name ends so: the layout at the top, its pictures in a folder\n"
         "beside it named after it (Skin.set: Skin), the bundled layout's picture paths\n"
         "rewritten to that folder (Skin\\x.png), and, when pictures were not found,\n"
         "NAME-missing-pictures.txt listing them. LAYOUT itself is not changed. An existing\n"
         "OUT.zip is kept as OUT.zip.bak first.\n",
         {"LAYOUT"},
         {{"--pictures", "DIR", "the folder to look for the pictures in first"},
          {"-o", "OUT.zip|OUTDIR", "the .zip file or the folder to write"}},
         RunBundle},
    };
}
