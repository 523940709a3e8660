#pragma once
// What the program is asked to do by its command line:
//   korvoscreenquill [OPTION]... [PRINCIPAL [ADDITIONAL]]
// Read before Qt starts, so that --help, --version and a wrong option need no display. Qt's own
// options (-style, -platform, ...) are let through, with their values, for Qt to take.

#include <string>
#include <vector>

struct CommandLineRequest {
    enum class Action { Run, Help, Version, Error };
    Action What = Action::Run;
    std::string Principal;  // a layout file to open as the Principal layout, or ""
    std::string Additional; // a layout or CSV file for the Additional layout, or ""
    std::string Error;      // for Action::Error: what is wrong, for a line on stderr
};

// The arguments without the program's own name.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText();
// "korvoscreenquill 4.0 (KorvoScreenQuill A4.0)"
std::string VersionLine();

// The exit status of a command line that could not be understood.
constexpr int CommandLineErrorStatus = 2;
