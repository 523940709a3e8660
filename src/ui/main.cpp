#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "ui/KorvoScreenManager.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtUserDialogs.h"

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a long diagnostic; say what to do instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
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
