// Controls copied in one running program and pasted in another, through the system clipboard, as
// two copies of the program exchange them. Run on a real display (Qt's windows platform under Wine
// for the Windows build, see scripts/test-windows.sh):
//   quill_clipboard_check put MILLISECONDS   puts the controls on the clipboard, says so on its
//                                            output, and keeps running that long: the owner
//   quill_clipboard_check take               reads them back and compares them with what put
//                                            puts; exit status 0 when they are the same
// `take` is run while `put` still runs, and again once it has ended: the system keeps the data.

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <string>

#include "LayoutBuilders.h"
#include "ui/session/ControlClipboard.h"

namespace {

// Controls with every field set, texts beyond ASCII in the code page of the layout, a script with
// CR LF line ends and one with a lone CR.
CopiedControls Sample() {
    CopiedControls copied;
    copied.Layout = "clipboard-check";
    copied.Labels[1] = "Hauptbildschirm";
    copied.Labels[2] = "Z\xE4hler \xB0" "C";
    for (int i = 0; i < 5; ++i) {
        ControlRecord record = MakeFullRecord(100 + i);
        record.rScreen = 1 + i % 2;
        copied.Records.push_back(record);
        copied.Positions.push_back(10 + i);
    }
    copied.Records[0].rText = "Spindel \xB5m \xE4\xF6\xFC\xDF";
    copied.Records[1].rGText = "' Referenzfahrt\r\nDoOEMButton(1024)\r\nIf GetOEMLed(807) Then\r\n"
                              "  Message(\"Fertig\")\r\nEnd If\r\n";
    copied.Records[2].rGText = "G0 X0 Y0\rG1 Z-1 F100\rM30\r";
    return copied;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const CopiedControls sample = Sample();
    if (mode == "put" && argc > 2) {
        PutControlsOnClipboard(sample);
        std::printf("put %zu controls on the clipboard\n", sample.Records.size());
        std::fflush(stdout);
        QTimer::singleShot(std::stoi(argv[2]), &app, &QCoreApplication::quit);
        return app.exec();
    }
    if (mode == "take") {
        CopiedControls taken;
        std::string error;
        if (!ControlsFromClipboard(taken, error)) {
            std::printf("take: %s\n", error.c_str());
            return 1;
        }
        if (!(taken == sample)) {
            std::printf("take: %zu controls, not the ones put there\n", taken.Records.size());
            return 1;
        }
        std::printf("took the same %zu controls\n", taken.Records.size());
        return 0;
    }
    std::fprintf(stderr, "usage: quill_clipboard_check put MILLISECONDS | take\n");
    return 2;
}
