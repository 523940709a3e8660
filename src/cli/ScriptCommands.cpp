#include "cli/ScriptCommands.h"

#include <filesystem>
#include <system_error>

#include "cli/ConsoleDialogs.h"
#include "cli/QuillCommands.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "scripts/LayoutScripts.h"
#include "platform/SystemPaths.h"

namespace {

namespace fs = std::filesystem;

int Fail(Console& console, const std::string& utf8) {
    console.Err << "quill: " << utf8 << "; nothing was written\n";
    return ExitFailure;
}

// Makes the folder ready for an export: made when missing; an earlier export's files removed;
// any other folder with something in it is refused, so no file of the user's is replaced.
bool ReadyFolder(const std::string& dir, Console& console) {
    std::error_code error;
    const fs::path folder = PathOf(dir);
    if (!fs::exists(folder, error)) {
        if (fs::create_directories(folder, error)) return true;
        Fail(console, "cannot make the folder \"" + dir + "\": " + error.message());
        return false;
    }
    if (!fs::is_directory(folder, error)) {
        Fail(console, "\"" + dir + "\" is not a folder");
        return false;
    }
    if (fs::is_empty(folder, error)) return true;
    std::string list, reason;
    if (!ReadWholeFile(Utf8Of(folder / ScriptListName), list, reason)) {
        Fail(console, "the folder \"" + dir + "\" holds files but no " + ScriptListName +
                          " of an earlier export; give a new or empty folder");
        return false;
    }
    // The earlier export's files go, so scripts since removed leave no file behind.
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        const std::string line = list.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        const std::string name = line.substr(0, line.find('\t'));
        if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "." ||
            name == "..")
            continue;
        fs::remove(folder / PathOf(name), error);
    }
    return true;
}

int RunExport(const std::string& input, const std::string& dir, const ParsedArguments& arguments,
              Console& console) {
    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot read layout file \"" + PathForMessage(input) + "\"");
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "scripts", console);
    if (!codePage) return ExitFailure;
    const ScriptExport exported = ExportScripts(layout.Records(), codePage->CodePage);
    if (!ReadyFolder(dir, console)) return ExitFailure;
    std::string reason;
    for (const ScriptFile& file : exported.Files)
        if (!ReplaceFileContent(Utf8Of(PathOf(dir) / file.Name), file.Bytes, reason))
            return Fail(console,
                        "cannot write \"" + file.Name + "\" in \"" + dir + "\": " + reason);
    if (!ReplaceFileContent(Utf8Of(PathOf(dir) / ScriptListName), exported.List, reason))
        return Fail(console, "cannot write " + std::string(ScriptListName) + " in \"" + dir +
                                 "\": " + reason);
    const std::size_t count = exported.Files.size();
    console.Out << "Wrote " << count << (count == 1 ? " script" : " scripts") << " to \"" << dir
                << "\", listed in " << ScriptListName << ".\n";
    return ExitSuccess;
}

int RunImport(const std::string& input, const std::string& dir, const ParsedArguments& arguments,
              Console& console) {
    std::string output = arguments.Value("-o");
    if (!arguments.Has("-o")) {
        if (!arguments.Has("--in-place"))
            return UsageError(console.Err, "scripts",
                              "--import needs -o OUT, or --in-place to replace LAYOUT");
        output = input;
    }
    if (!OutputAllowed(arguments, input, output, "scripts", console.Err)) return ExitFailure;
    std::string list, reason;
    if (!ReadWholeFile(Utf8Of(PathOf(dir) / ScriptListName), list, reason))
        return Fail(console, "cannot read " + std::string(ScriptListName) + " in \"" + dir +
                                 "\": " + reason);
    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot read layout file \"" + PathForMessage(input) + "\"");
    const ScriptFileReader read = [&dir](const std::string& name, std::string& bytes,
                                         std::string& why) {
        return ReadWholeFile(Utf8Of(PathOf(dir) / PathOf(name)), bytes, why);
    };
    const ScriptImport imported = ImportScripts(layout.Records(), list, read);
    if (!imported.Refusal.empty())
        return Fail(console, "cannot import the scripts of \"" + dir + "\": " + imported.Refusal);
    if (imported.Edit.Empty()) {
        return NothingChanges(console, "the " + std::to_string(imported.Listed) +
                                           (imported.Listed == 1 ? " script listed holds"
                                                                 : " scripts listed hold") +
                                           " what the layout holds");
    }
    if (const std::string refusal = layout.ApplyEdit(imported.Edit, imported.Text);
        !refusal.empty())
        return Fail(console, "cannot import the scripts: " + ConsoleText(refusal));
    if (!layout.SaveLayout(output) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot save layout file \"" + PathForMessage(output) + "\"");
    const std::size_t changed = imported.Edit.Changed.size();
    console.Out << "Imported " << changed << (changed == 1 ? " changed script" : " changed scripts")
                << " of the " << imported.Listed << " listed.\n";
    return ExitSuccess;
}

int RunScripts(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    const bool exporting = arguments.Has("--export");
    if (exporting == arguments.Has("--import"))
        return UsageError(console.Err, "scripts", "needs either --export DIR or --import DIR");
    if (exporting) {
        if (arguments.Has("-o") || arguments.Has("--in-place"))
            return UsageError(console.Err, "scripts", "--export writes a folder, not -o OUT");
        return RunExport(input, arguments.Value("--export"), arguments, console);
    }
    return RunImport(input, arguments.Value("--import"), arguments, console);
}

} // namespace

std::vector<CommandSpec> ScriptCommands() {
    return {
        {"scripts",
         "scripts LAYOUT (--export DIR | --import DIR -o OUT)",
         "write the button scripts to a folder of files, or read them back",
         "--export writes every script of LAYOUT (a control's rGText that is not empty or\n"
         "\"None\") to DIR/screenNN-recordNNNN-<caption>.txt, byte for byte with its own line\n"
         "ends, and lists them in DIR/scripts.list (file, screen, record, length, first\n"
         "line). DIR is made when missing; a folder of an earlier export has its files\n"
         "replaced; any other folder that is not empty is refused.\n"
         "--import reads the files DIR/scripts.list names and writes LAYOUT to OUT with the\n"
         "scripts whose file differs, byte for byte as the file holds them. When none\n"
         "differs, nothing is written and the status is 1. A file missing, a record that is\n"
         "no longer a script on its screen, or a script longer than a layout holds refuses\n"
         "the import with nothing written.\n",
         {"LAYOUT"},
         {{"--export", "DIR", "the folder to write the scripts to"},
          {"--import", "DIR", "the folder to read the scripts from"},
          {"-o", "OUT", "the layout file to write (with --import)"},
          {"--in-place", nullptr,
           "allow the output to be the input file itself; it is replaced as Save replaces a "
           "file, its old content kept as NAME.bak"}},
         RunScripts},
    };
}
