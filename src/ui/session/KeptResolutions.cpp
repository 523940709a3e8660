#include "ui/session/KeptResolutions.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QSettings>

#include "platform/CodePages.h"

namespace {

// One entry per file; the key is a digest of the absolute path, which may hold any character.
QString EntryKey(const QString& absolutePath,
                 const QString& group = QStringLiteral("LayoutResolutions/")) {
    const QByteArray digest =
        QCryptographicHash::hash(absolutePath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return group + QString::fromLatin1(digest);
}

const QString CodePageGroup = QStringLiteral("LayoutCodePages/");

// What identifies the file as it is on disk: its path, size and modification time.
QString Identity(const QFileInfo& file) {
    return file.absoluteFilePath() + QLatin1Char('|') + QString::number(file.size()) +
           QLatin1Char('|') + QString::number(file.lastModified().toMSecsSinceEpoch());
}

} // namespace

std::optional<Resolution> KeptResolutions::Find(const QString& path) const {
    if (Settings == nullptr || path.isEmpty()) return std::nullopt;
    const QFileInfo file(path);
    if (!file.isFile()) return std::nullopt;
    const QStringList entry = Settings->value(EntryKey(file.absoluteFilePath())).toStringList();
    if (entry.size() != 2 || entry[0] != Identity(file)) return std::nullopt;
    return ParseResolution(entry[1].toStdString());
}

void KeptResolutions::Keep(const QString& path, const std::optional<Resolution>& resolution) {
    if (Settings == nullptr || path.isEmpty()) return;
    const QFileInfo file(path);
    const QString key = EntryKey(file.absoluteFilePath());
    if (!resolution || !file.isFile()) {
        Settings->remove(key);
        return;
    }
    Settings->setValue(
        key, QStringList{Identity(file),
                         QStringLiteral("%1x%2").arg(resolution->Width).arg(resolution->Height)});
}

std::optional<int> KeptResolutions::FindCodePage(const QString& path) const {
    if (Settings == nullptr || path.isEmpty()) return std::nullopt;
    const QFileInfo file(path);
    if (!file.isFile()) return std::nullopt;
    const QStringList entry =
        Settings->value(EntryKey(file.absoluteFilePath(), CodePageGroup)).toStringList();
    if (entry.size() != 2 || entry[0] != Identity(file)) return std::nullopt;
    bool ok = false;
    const int codePage = entry[1].toInt(&ok);
    if (!ok || !IsSupportedCodePage(codePage)) return std::nullopt;
    return codePage;
}

void KeptResolutions::KeepCodePage(const QString& path, const std::optional<int>& codePage) {
    if (Settings == nullptr || path.isEmpty()) return;
    const QFileInfo file(path);
    const QString key = EntryKey(file.absoluteFilePath(), CodePageGroup);
    if (!codePage || !file.isFile()) {
        Settings->remove(key);
        return;
    }
    Settings->setValue(key, QStringList{Identity(file), QString::number(*codePage)});
}
