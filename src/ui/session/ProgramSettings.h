#pragma once
// Where the program keeps its settings. Normally the system's own place for a user's settings in
// the format QSettings::defaultFormat() names: the registry on Windows (main() leaves Qt's native
// format), an INI file under ~/.config elsewhere. A program run from a folder that holds a file
// portable.txt keeps them in KorvoScreenQuill.ini beside itself instead, so that the folder can be
// carried to another machine with its settings and leaves nothing behind on the one it ran on.

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QString>

// The INI file of a portable program, or empty when the program is not run as one.
inline QString PortableSettingsFile() {
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty() || !QFileInfo::exists(folder + QStringLiteral("/portable.txt"))) return {};
    return folder + QStringLiteral("/KorvoScreenQuill.ini");
}

inline QSettings ProgramSettings() {
    const QString portable = PortableSettingsFile();
    if (!portable.isEmpty()) return QSettings(portable, QSettings::IniFormat);
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                     QStringLiteral("KorvoScreenQuill"), QStringLiteral("KorvoScreenQuill"));
}
