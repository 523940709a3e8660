#include "ui/session/RecentLayouts.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* const SettingsKey = "RecentLayouts";

// One spelling per file, so the same layout reached by two paths is listed once.
QString Normalised(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentLayouts::RecentLayouts(QSettings* settings) : Settings(settings) {
    if (Settings == nullptr) return;
    for (const QString& path : Settings->value(QString::fromLatin1(SettingsKey)).toStringList()) {
        const QString entry = Normalised(path);
        if (!path.isEmpty() && !List.contains(entry) && List.size() < MaxCount) List << entry;
    }
}

void RecentLayouts::Add(const QString& path) {
    const QString entry = Normalised(path);
    List.removeAll(entry);
    List.prepend(entry);
    while (List.size() > MaxCount)
        List.removeLast();
    Store();
}

void RecentLayouts::Remove(const QString& path) {
    List.removeAll(Normalised(path));
    Store();
}

void RecentLayouts::Clear() {
    List.clear();
    Store();
}

void RecentLayouts::Store() {
    if (Settings != nullptr) Settings->setValue(QString::fromLatin1(SettingsKey), List);
}
