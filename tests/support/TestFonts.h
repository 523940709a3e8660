#pragma once
// Gives Qt's offscreen platform fonts where it has none of its own: on Windows it reads font files
// from one folder only, the system's Fonts folder here, or QUILL_TEST_FONTDIR where that is set
// (the cross build's tests and timings under Wine set it to this machine's fonts, so that both
// builds draw the same letters). Called before the application object is made.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

inline void UseFontsOfTheSystem() {
#ifdef Q_OS_WIN
    if (!qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) return;
    QString folder = qEnvironmentVariable("QUILL_TEST_FONTDIR");
    if (folder.isEmpty()) folder = qEnvironmentVariable("WINDIR") + QStringLiteral("/Fonts");
    qputenv("QT_QPA_FONTDIR", folder.toLocal8Bit());
#endif
}
