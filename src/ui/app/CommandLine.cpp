#include "ui/app/CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "ui/widgets/ProgramVersion.h"

namespace {

// Qt's options, as QGuiApplication and QApplication take them from the command line.
constexpr std::array<std::string_view, 14> QtOptionsWithValue = {
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-style",  "-stylesheet",
    "-display",     "-geometry",           "-title",         "-visual"};
constexpr std::array<std::string_view, 6> QtFlags = {"-reverse", "-widgetcount", "-nograb",
                                                     "-dograb",  "-sync",        "-testability"};

template <std::size_t N>
bool Holds(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

CommandLineRequest Failure(const std::string& error) {
    CommandLineRequest request;
    request.What = CommandLineRequest::Action::Error;
    request.Error = error;
    return request;
}

} // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineRequest request;
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // An empty word (an unset variable in a script) names nothing.
        if (argument.empty()) continue;
        if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
            if (!optionsEnd && argument == "-") return Failure("unknown option '-'");
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "-h" || argument == "--help") {
            request.What = CommandLineRequest::Action::Help;
            return request;
        } else if (argument == "-v" || argument == "--version") {
            request.What = CommandLineRequest::Action::Version;
            return request;
        } else {
            // Qt reads "--style" as "-style", and "-style=fusion" as "-style fusion".
            std::string name = argument.rfind("--", 0) == 0 ? argument.substr(1) : argument;
            const std::size_t equals = name.find('=');
            const bool valueAttached = equals != std::string::npos;
            if (valueAttached) name.resize(equals);
            if (Holds(QtFlags, name) && !valueAttached) continue;
            // The QML debugger's option carries its value after "=" only.
            const bool attachedOnly = name == "-qmljsdebugger";
            if (!Holds(QtOptionsWithValue, name) && !(attachedOnly && valueAttached))
                return Failure("unknown option '" + argument + "'");
            if (valueAttached) continue;
            if (i + 1 >= arguments.size())
                return Failure("option '" + argument + "' needs a value");
            ++i;
        }
    }
    if (files.size() > 2)
        return Failure("too many files: give at most a Principal and an Additional layout");
    if (!files.empty()) request.Principal = files[0];
    if (files.size() > 1) request.Additional = files[1];
    return request;
}

std::string HelpText() {
    return "Usage: korvoscreenquill [OPTION]... [PRINCIPAL [ADDITIONAL]]\n"
           "Edits the operator screens of a CNC host's layout files (.set, .lset).\n"
           "\n"
           "  PRINCIPAL    a layout file to open as the Principal layout, the one edited\n"
           "  ADDITIONAL   a layout file to open as the Additional layout, the one screens are\n"
           "               taken from; a .csv file is imported as it\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "Qt's own options (-style, -platform, ...) are passed on to Qt.\n"
           "Exit status: 0 when the program ends normally, 2 for a command line it cannot read.\n";
}

std::string VersionLine() {
    return std::string("korvoscreenquill ") + ProgramVersion + " (" + VersionCaption + ")";
}
