#include "ui/session/PreviewSettings.h"

#include <QSettings>

#include "ui/widgets/CodePage.h"

namespace {

QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KorvoScreenQuill"),
                     QStringLiteral("KorvoScreenQuill"));
}

const QString PicturesFolderKey = QStringLiteral("Preview/PicturesFolder");

} // namespace

std::string PicturesFolderSetting() {
    return ToSystemPath(Settings().value(PicturesFolderKey).toString());
}

void SetPicturesFolderSetting(const std::string& folder) {
    QSettings settings = Settings();
    settings.setValue(PicturesFolderKey, FromSystemPath(folder));
    settings.sync();
}
