#include "ui/session/ControlClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QUuid>

std::unique_ptr<QMimeData> ControlsMimeData(const CopiedControls& copied) {
    auto data = std::make_unique<QMimeData>();
    const std::string text = CopiedControlsText(copied);
    data->setData(QString::fromLatin1(ControlsMimeType),
                  QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    data->setText(QString::fromStdString(CopiedControlsPlainText(copied)));
    return data;
}

bool ControlsFromMimeData(const QMimeData* data, CopiedControls& copied, std::string& error,
                          int codePage) {
    const QString type = QString::fromLatin1(ControlsMimeType);
    if (data != nullptr && data->hasFormat(type)) {
        const QByteArray bytes = data->data(type);
        std::string why;
        if (ReadCopiedControls(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), copied,
                why, codePage))
            return true;
        error = "The controls on the clipboard cannot be read: " + why;
        return false;
    }
    if (data != nullptr && data->hasText()) {
        const std::string text = data->text().toStdString();
        std::string why;
        if (ReadControlsFromPlainText(text, copied, why, codePage)) return true;
        error =
            "The clipboard holds no controls: its text is not a list of controls (" + why + ").";
        return false;
    }
    error = "The clipboard holds no controls.";
    return false;
}

void PutControlsOnClipboard(const CopiedControls& copied) {
    QGuiApplication::clipboard()->setMimeData(ControlsMimeData(copied).release());
}

bool ControlsFromClipboard(CopiedControls& copied, std::string& error, int codePage) {
    return ControlsFromMimeData(QGuiApplication::clipboard()->mimeData(), copied, error, codePage);
}

const QString& ProgramIdentity() {
    static const QString identity = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return identity;
}
