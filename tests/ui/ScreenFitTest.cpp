// Every window on a small monitor: run once for 1366 x 768 at 100 % and once for 1920 x 1080 at
// 200 % (the argument --screen WxH@SCALE; a taskbar of 48 pixels is taken off the height). Each
// window must open within the room the screen leaves it, title bar included, and every control
// must be reachable: shown inside the window once its scroll area has scrolled to it.

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "ui/panes/ControlsTable.h"
#include "ui/mainwindow/KorvoScreenManager.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/session/LayoutSession.h"
#include "ui/panes/PropertySheet.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/dialogs/ScreenThumbnailsWindow.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/EditControlsWindow.h"

namespace {

// The room a window may take: the screen less the taskbar, less a title bar and borders.
QSize Room() {
    return QGuiApplication::primaryScreen()->availableGeometry().size() - QSize(16, 40);
}

// Shown, within the room, and every named control of it reachable.
void ExpectFits(QWidget& window) {
    SCOPED_TRACE(window.objectName().toStdString());
    window.show();
    QApplication::processEvents();
    EXPECT_LE(window.width(), Room().width());
    EXPECT_LE(window.height(), Room().height());
    int checked = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || !control->isVisibleTo(&window) ||
            qobject_cast<QScrollArea*>(control) != nullptr || control->objectName() == "Content")
            continue;
        if (control->window() != &window) continue;
        // Scrolled to, where a scroll area holds it; what is larger than the area's view (the
        // frames around the controls) is reached through its controls.
        QScrollArea* area = nullptr;
        for (QWidget* up = control->parentWidget(); up != nullptr && area == nullptr;
             up = up->parentWidget())
            area = qobject_cast<QScrollArea*>(up);
        if (area != nullptr) {
            const QSize view = area->viewport()->size();
            if (control->width() > view.width() || control->height() > view.height()) continue;
            area->ensureWidgetVisible(control, 0, 0);
        }
        QApplication::processEvents();
        const QRect shown(control->mapTo(&window, QPoint(0, 0)),
                          control->size().boundedTo(window.size()));
        EXPECT_TRUE(window.rect().contains(shown.topLeft()) &&
                    window.rect().contains(shown.bottomRight()))
            << control->objectName().toStdString() << " at " << shown.x() << "," << shown.y()
            << " in " << window.width() << "x" << window.height();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

class ScreenFitTest : public ::testing::Test {
protected:
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
};

TEST_F(ScreenFitTest, TheMainWindowFitsAndReachesEveryControl) {
    KorvoScreenManager window(Dialogs, Files);
    ExpectFits(window);
}

TEST_F(ScreenFitTest, TheMainWindowWithTheControlsTableAndPropertySheetFits) {
    KorvoScreenManager window(Dialogs, Files);
    window.ControlsPane()->show();
    window.PropertiesPane()->show();
    ExpectFits(window);
}

TEST_F(ScreenFitTest, TheFindPicturesAndWhereUsedPanesFitBesideTheFrames) {
    KorvoScreenManager window(Dialogs, Files);
    for (const char* name : {"FindPane", "PicturesPane", "WhereUsedPane"}) {
        auto* pane = window.findChild<QDockWidget*>(QString::fromLatin1(name));
        ASSERT_NE(pane, nullptr) << name;
        pane->show();
        pane->raise();
        ExpectFits(window);
        pane->hide();
    }
}

TEST_F(ScreenFitTest, TheEditControlsWindowFitsAndReachesEveryControl) {
    cLayout layout(Dialogs);
    cLayoutProbe::Adopt(layout, ControlsOnScreens({3, 2}));
    FakeListView list;
    EditControlsWindow form(layout, Dialogs, true, list);
    ExpectFits(form);
}

TEST_F(ScreenFitTest, ThePreviewCheckThumbnailsAndAboutWindowsFit) {
    cLayout layout(Dialogs);
    std::vector<ControlRecord> records = SkinnedLayout();
    cLayoutProbe::Adopt(layout, records);
    LayoutCheckWindow check(layout);
    ExpectFits(check);
    ScreenPreviewWindow preview(layout, 1, Files, Dialogs);
    ExpectFits(preview);
    LayoutSession session(layout, Dialogs);
    ScreenPreviewWindow editing(session, 1, Files, Dialogs);
    ExpectFits(editing);
    ScreenThumbnailsWindow thumbnails(layout, Files, Dialogs);
    ExpectFits(thumbnails);
    AboutDialog about;
    ExpectFits(about);
}

} // namespace

int main(int argc, char** argv) {
    // --screen WxH@SCALE: the monitor the windows open on.
    int width = 1366, height = 768;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!arg.startsWith(QStringLiteral("--screen="))) continue;
        const QStringList parts = arg.mid(9).split(QRegularExpression(QStringLiteral("[x@]")));
        if (parts.size() == 3) {
            width = parts[0].toInt();
            height = parts[1].toInt();
            scale = parts[2].toDouble();
        }
    }
#ifdef Q_OS_WIN
    // Qt reads the platform's arguments up to the next colon, so the file is named without its
    // drive: relative to the current folder, where the scratch folder is made.
    QTemporaryDir scratch(QDir::current().filePath(QStringLiteral("fit-XXXXXX")));
    const QString config =
        QDir::current().relativeFilePath(scratch.filePath(QStringLiteral("screen.json")));
#else
    QTemporaryDir scratch;
    const QString config = scratch.filePath(QStringLiteral("screen.json"));
#endif
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) return 2;
        const int taskbar = 48;
        file.write(QStringLiteral("{\"screens\":[{\"name\":\"fit\",\"x\":0,\"y\":0,\"width\":%1,"
                                  "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96,"
                                  "\"dpr\":1}]}")
                       .arg(width)
                       .arg(height - taskbar)
                       .toUtf8());
    }
    // The scale a desktop sets for a high-resolution monitor.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("LC_ALL", "C.UTF-8");
    UseFontsOfTheSystem();
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
