#include "ui/widgets/CodePage.h"

#include <QDir>

#include "platform/CodePages.h"

QString FromCodePage(const std::string& bytes, int codePage) {
    return QString::fromStdString(CodePageToUtf8(bytes, codePage));
}

bool ToCodePage(const QString& text, std::string& bytes, QString* offending, int codePage) {
    // Qt's UTF-16 may hold a lone surrogate; it becomes no character of any code page.
    const std::string utf8 = text.toStdString();
    std::size_t failedAt = 0;
    if (Utf8ToCodePage(utf8, bytes, codePage, &failedAt)) return true;
    if (offending != nullptr) *offending = QString::fromStdString(Utf8CharacterAt(utf8, failedAt));
    return false;
}

QString FromSystemPath(const std::string& path) {
    return QString::fromStdString(path);
}

std::string ToSystemPath(const QString& path) {
    return path.toStdString();
}

std::string ChosenPath(const QString& path) {
    return ToSystemPath(QDir::toNativeSeparators(path));
}
