#include <QApplication>
#include <QMainWindow>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a long diagnostic; say what to do instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "KorvoScreenQuill needs a display: run it on a desktop, or under "
                             "a virtual one with xvfb-run, e.g. xvfb-run -a scripts/run.sh\n");
        return 1;
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("KorvoScreenQuill");
    window.show();
    return app.exec();
}
