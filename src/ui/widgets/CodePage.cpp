#include "ui/widgets/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* CodePageName = "windows-1252";
} // namespace

QString FromCodePage(const std::string& bytes) {
    QStringDecoder decoder(CodePageName);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool ToCodePage(const QString& text, std::string& bytes, QString* offending) {
    QStringEncoder encoder(CodePageName);
    const QByteArray encoded = encoder(text);
    if (encoder.isValid() && !encoder.hasError()) {
        bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
        return true;
    }
    if (offending != nullptr) {
        // Find the first character (a whole surrogate pair counts as one) the code page lacks.
        offending->clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QString one = text.mid(i, length);
            QStringEncoder single(CodePageName);
            const QByteArray encodedOne = single(one); // the encoding happens on conversion
            (void)encodedOne;
            if (single.hasError()) {
                *offending = one;
                break;
            }
            i += length;
        }
    }
    return false;
}

QString FromSystemPath(const std::string& path) {
    return QString::fromStdString(path);
}

std::string ToSystemPath(const QString& path) {
    return path.toStdString();
}
