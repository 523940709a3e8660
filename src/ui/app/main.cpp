#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/widgets/CodePage.h"
#include "ui/app/CommandLine.h"
#include "ui/mainwindow/KorvoScreenManager.h"
#include "ui/widgets/ProgramVersion.h"
#include "ui/widgets/QtFileDialogs.h"
#include "ui/widgets/QtUserDialogs.h"
#include "ui/session/ProgramSettings.h"

// Last, so that its macros reach none of the program's headers.
#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#endif

namespace {

// Whether a display is there to be had. Only X11 systems can lack one at start-up in a way Qt
// reports badly; there a local X display (":N") is there only while its socket is, and remote
// displays and Wayland are left for Qt to reach.
bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) return false;
    if (!display.startsWith(u':')) return true;
    const QString number = display.mid(1).section(u'.', 0, 0);
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + number);
#else
    return true;
#endif
}

// A Windows program with windows has no console of its own: what it prints for --help, --version
// or a command line it cannot read goes to the console it was started from, when there is one and
// its output is not redirected already.
void UseStartingConsole() {
#ifdef Q_OS_WIN
    if (_fileno(stdout) >= 0 && _get_osfhandle(_fileno(stdout)) >= 0) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
#endif
}

std::vector<std::string> Arguments(int argc, char* argv[]) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help, the version and a command line that cannot be read are answered before Qt starts, so
    // they need no display.
    const CommandLineRequest early = ParseCommandLine(Arguments(argc, argv));
    if (early.What != CommandLineRequest::Action::Run) UseStartingConsole();
    switch (early.What) {
    case CommandLineRequest::Action::Help:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CommandLineRequest::Action::Version:
        std::printf("%s\n", VersionLine().c_str());
        return 0;
    case CommandLineRequest::Action::Error:
        std::fprintf(stderr,
                     "korvoscreenquill: %s\nTry 'korvoscreenquill --help' for more information.\n",
                     early.Error.c_str());
        return CommandLineErrorStatus;
    case CommandLineRequest::Action::Run:
        break;
    }
    // Without a display Qt would abort with a long diagnostic; say what to do instead.
    if (!HasDisplay()) {
        std::fprintf(stderr, "KorvoScreenQuill needs a display: run it on a desktop, or under "
                             "a virtual one with xvfb-run, e.g. xvfb-run -a scripts/run.sh\n");
        return 1;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(ApplicationTitle));
    QCoreApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));

    // The file names again as Qt has them, which on every system are the names as typed.
    std::vector<std::string> arguments;
    const QStringList qtArguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < qtArguments.size(); ++i)
        arguments.push_back(ToSystemPath(qtArguments[i]));
    const CommandLineRequest request = ParseCommandLine(arguments);

    // The program's settings, which the previews and the editing view use too: the registry on
    // Windows, an INI file elsewhere, beside the program when it is run as a portable one.
#ifndef Q_OS_WIN
    QSettings::setDefaultFormat(QSettings::IniFormat);
#endif
    QSettings settings = ProgramSettings();
#ifdef Q_OS_WIN
    // Builds before the setup program kept the settings in an INI file under %APPDATA%: taken
    // over once, into an empty registry key.
    if (settings.format() == QSettings::NativeFormat && settings.allKeys().isEmpty()) {
        const QSettings earlier(QSettings::IniFormat, QSettings::UserScope,
                                QString::fromLatin1(ApplicationTitle),
                                QString::fromLatin1(ApplicationTitle));
        for (const QString& key : earlier.allKeys())
            settings.setValue(key, earlier.value(key));
    }
#endif
    QtUserDialogs dialogs;
    QtFileDialogs fileDialogs(dialogs);
    KorvoScreenManager window(dialogs, fileDialogs, &settings);
    window.show();
    // The files are opened once the window shows its content, so a message about one (a
    // duplicate screen label, a file that cannot be read) is not asked over an empty window.
    QTimer::singleShot(0, &window, [&window, &request] {
        QElapsedTimer waited;
        waited.start();
        while (window.windowHandle() != nullptr && !window.windowHandle()->isExposed() &&
               waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window.repaint();
        window.OpenFromCommandLine(request.Principal, request.Additional);
    });
    return app.exec();
}
