#include "cli/ScreenCommands.h"

#include <charconv>
#include <optional>

#include "cli/ConsoleDialogs.h"
#include "cli/QuillCommands.h"
#include "editing/FindReplace.h"
#include "editing/NewScreens.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

// --screen and the like: a whole number; nothing after a usage error.
bool NumberOption(const ParsedArguments& arguments, const char* option, const char* command,
                  std::optional<int32_t>& value, std::ostream& err) {
    if (!arguments.Has(option)) return true;
    value = WholeNumber(arguments.Value(option));
    if (value) return true;
    UsageError(err, command,
               std::string(option) + " " + QuotedValue(arguments.Value(option)) + " is not a screen number");
    return false;
}

// The label as the records' bytes in the layout's code page; nothing after a usage error.
std::optional<std::string> LabelOption(const ParsedArguments& arguments, const char* command,
                                       int codePage, std::ostream& err) {
    std::string bytes, refusal;
    if (!TextForRecords(arguments.Value("--label"), bytes, refusal, "--label", codePage)) {
        UsageError(err, command, refusal.substr(0, refusal.size() - 1));
        return std::nullopt;
    }
    return bytes;
}

int Refuse(Console& console, std::string utf8) {
    if (!utf8.empty() && utf8.back() == '.') utf8.pop_back();
    console.Err << "quill: " << utf8 << "; nothing was written\n";
    return ExitFailure;
}

// Applies the plan to the loaded layout and writes it.
int Write(cLayout& layout, const NewScreenPlan& plan, const std::string& input,
          const std::string& output, int codePage, Console& console) {
    if (plan.Refused())
        return Refuse(console,
                      "cannot change \"" + input + "\": " + ConsoleText(plan.Refusal, codePage));
    if (const std::string refusal = layout.ApplyEdit(plan.Edit, plan.Text); !refusal.empty())
        return Refuse(console,
                      "cannot change \"" + input + "\": " + ConsoleText(refusal, codePage));
    if (!layout.SaveLayout(output) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot save layout file \"" + PathForMessage(output) + "\"");
    return ExitSuccess;
}

int RunAddScreen(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    NewScreenRequest request;
    if (!arguments.Has("--label"))
        return UsageError(console.Err, "add-screen", "needs --label NAME");
    if (!NumberOption(arguments, "--screen", "add-screen", request.Screen, console.Err))
        return ExitFailure;
    if (arguments.Has("--tabs-on")) {
        std::vector<int32_t> screens;
        const std::string list = arguments.Value("--tabs-on");
        for (std::size_t start = 0; start <= list.size();) {
            std::size_t end = list.find(',', start);
            if (end == std::string::npos) end = list.size();
            const std::optional<int32_t> screen = WholeNumber(list.substr(start, end - start));
            if (!screen)
                return UsageError(console.Err, "add-screen",
                                  "--tabs-on " + QuotedValue(list) +
                                      " is not a list of screens such as 1,2,5");
            screens.push_back(*screen);
            start = end + 1;
        }
        request.LinksOn = std::move(screens);
    }
    if (arguments.Has("--key")) {
        request.Key = HotKeyCode(arguments.Value("--key"));
        if (!request.Key)
            return UsageError(console.Err, "add-screen",
                              "--key " + QuotedValue(arguments.Value("--key")) +
                                  " is not a key: give a name such as Alt+5 or F9, or none");
    }
    const std::string output = OutputOf(arguments, input, "add-screen", console.Err);
    if (output.empty()) return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot read layout file \"" + PathForMessage(input) + "\"");
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "add-screen", console);
    if (!codePage) return ExitFailure;
    const std::optional<std::string> label =
        LabelOption(arguments, "add-screen", codePage->CodePage, console.Err);
    if (!label) return ExitFailure;
    request.Label = *label;
    const NewScreenPlan plan = NewScreenEdit(layout.Records(), request);
    if (const int status = Write(layout, plan, input, output, codePage->CodePage, console);
        status != ExitSuccess)
        return status;
    console.Out << "Added screen " << plan.Screen << " \""
                << ConsoleText(request.Label, codePage->CodePage) << "\"";
    if (plan.Links.empty()) {
        console.Out << ".\n";
    } else {
        console.Out << " with " << plan.Links.size()
                    << (plan.Links.size() == 1 ? " link to it:\n" : " links to it:\n");
        for (const PlacedLink& link : plan.Links)
            console.Out << "  record " << link.Record << " on " << link.Where << "\n";
    }
    for (const std::string& note : plan.Notes)
        console.Out << "Note: " << ConsoleText(note, codePage->CodePage) << "\n";
    return ExitSuccess;
}

int RunDuplicateScreen(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    std::optional<int32_t> source, target;
    if (!NumberOption(arguments, "--screen", "duplicate-screen", source, console.Err) ||
        !NumberOption(arguments, "--to", "duplicate-screen", target, console.Err))
        return ExitFailure;
    if (!source) return UsageError(console.Err, "duplicate-screen", "needs --screen N");
    if (!arguments.Has("--label"))
        return UsageError(console.Err, "duplicate-screen", "needs --label NAME");
    const std::string output = OutputOf(arguments, input, "duplicate-screen", console.Err);
    if (output.empty()) return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail("Cannot read layout file \"" + PathForMessage(input) + "\"");
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "duplicate-screen", console);
    if (!codePage) return ExitFailure;
    const std::optional<std::string> label =
        LabelOption(arguments, "duplicate-screen", codePage->CodePage, console.Err);
    if (!label) return ExitFailure;
    const NewScreenPlan plan = DuplicateScreenEdit(layout.Records(), *source, *label, target);
    if (const int status = Write(layout, plan, input, output, codePage->CodePage, console);
        status != ExitSuccess)
        return status;
    console.Out << "Copied screen " << *source << " to screen " << plan.Screen << " \""
                << ConsoleText(*label, codePage->CodePage) << "\" (" << plan.Edit.Inserted.size()
                << " records).\n";
    return ExitSuccess;
}

} // namespace

std::vector<CommandSpec> ScreenCommands() {
    const OptionSpec output{"-o", "OUT", "the layout file to write"};
    const OptionSpec inPlace{"--in-place", nullptr,
                             "allow the output to be the input file itself; it is replaced as "
                             "Save replaces a file, its old content kept as NAME.bak"};
    return {
        {"add-screen",
         "add-screen LAYOUT --label NAME [--screen N] [--tabs-on S,...] [--key KEY] -o OUT",
         "add a named screen with a link to it in every row of tabs",
         "Takes an empty screen (the lowest from 1 up, or N), gives it a label control\n"
         "naming it NAME, and on each screen that has a row of screen links (or on the\n"
         "screens S listed) adds a link to it shaped like that row's last link: the same\n"
         "kind, size, picture and style, captioned NAME, after the last link where there is\n"
         "room, else on a line below the row (which is told). Each link gets the next Alt\n"
         "and digit key free on its screen (and on screen 0, which is on view with it), or\n"
         "KEY for every link (none for no key). Refused, with nothing written, when NAME\n"
         "names a screen already, N is not empty, no screen is empty, a screen listed has\n"
         "no link to copy, or KEY is taken. Prints where each link went.\n",
         {"LAYOUT"},
         {{"--label", "NAME", "the new screen's name (UTF-8)"},
          {"--screen", "N", "the empty screen to take (1 to 15)"},
          {"--tabs-on", "S,...",
           "the screens to get a link (default: every screen with a row "
           "of screen links)"},
          {"--key", "KEY", "the key of every link, such as Alt+7 or none"},
          output,
          inPlace},
         RunAddScreen},
        {"duplicate-screen",
         "duplicate-screen LAYOUT --screen S --label NAME [--to N] -o OUT",
         "copy a screen onto an empty one under a new name",
         "Copies every control of screen S onto an empty screen (the lowest from 1 up, or\n"
         "N), in their order. The copy's screen label names it NAME (a label control is\n"
         "added when S has none), and its links that showed S show the copy. Refused, with\n"
         "nothing written, when S holds no control, NAME names a screen already, or N is\n"
         "not empty.\n",
         {"LAYOUT"},
         {{"--screen", "S", "the screen to copy"},
          {"--label", "NAME", "the copy's name (UTF-8)"},
          {"--to", "N", "the empty screen to copy to (1 to 15)"},
          output,
          inPlace},
         RunDuplicateScreen},
    };
}
