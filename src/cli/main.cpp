// quill: the layout tools of KorvoScreenQuill on the command line, for scripts and machines
// without a display.

#include <iostream>
#include <string>
#include <vector>

#include "cli/QuillCommands.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// The arguments as UTF-8, as the core takes paths. Windows hands a program its arguments in the
// ANSI code page, which cannot name every file, so they are taken from the wide command line.
std::vector<std::string> ProgramArguments(int argc, char* argv[]) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
        argument.resize(argument.size() - 1); // the terminating null
        arguments.push_back(std::move(argument));
    }
    LocalFree(wide);
    // The output is UTF-8 too.
    SetConsoleOutputCP(CP_UTF8);
#else
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
#endif
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    const int status = RunQuill(ProgramArguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    // Output that could not be written (a full disk behind a redirection) is a failure too.
    if (!std::cout) {
        std::cerr << "quill: cannot write the output\n";
        return 2;
    }
    return status;
}
