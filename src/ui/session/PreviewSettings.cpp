#include "ui/session/PreviewSettings.h"

#include <QSettings>

#include "ui/widgets/CodePage.h"
#include "ui/session/ProgramSettings.h"

namespace {

QSettings Settings() {
    return ProgramSettings();
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
