#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "ui/KorvoScreenManager.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtUserDialogs.h"

namespace {

// Whether a display is there to be had. A local X display (":N") is there only while its socket
// is; remote displays and Wayland are left for Qt to reach.
bool HasDisplay() {
    if (std::getenv("QT_QPA_PLATFORM") || std::getenv("WAYLAND_DISPLAY")) return true;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    const std::string name = display;
    if (name[0] != ':') return true;
    const std::string number = name.substr(1, name.find('.') - 1);
    struct stat info {};
    return ::stat(("/tmp/.X11-unix/X" + number).c_str(), &info) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a long diagnostic; say what to do instead.
    if (!HasDisplay()) {
        std::fprintf(stderr, "KorvoScreenQuill needs a display: run it on a desktop, or under "
                             "a virtual one with xvfb-run, e.g. xvfb-run -a scripts/run.sh\n");
        return 1;
    }
    QApplication app(argc, argv);
    QtUserDialogs dialogs;
    QtFileDialogs fileDialogs(dialogs);
    KorvoScreenManager window(dialogs, fileDialogs);
    window.show();
    return app.exec();
}
