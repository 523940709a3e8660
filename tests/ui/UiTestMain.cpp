// The UI tests run the real windows without a display, in a fixed locale.

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "UiTestSupport.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    UseFontsOfTheSystem();
    QLocale::setDefault(QLocale::c());
    // Settings go to a scratch folder of the run, never to the user's. It goes after the
    // application, which writes what settings it still holds as it goes.
    QTemporaryDir settings(QDir::tempPath() + QStringLiteral("/quill_ui_tests-XXXXXX"));
    QApplication app(argc, argv);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
