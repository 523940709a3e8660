#include "ui/canvas/PictureCache.h"

#include <QBuffer>
#include <QImageReader>

#include "platform/FileAccess.h"
#include "ui/widgets/CodePage.h"

namespace {

// No picture file of a layout comes near this; a larger one is not read.
constexpr std::uint64_t LargestPictureFile = 256ULL * 1024 * 1024;

// Scaled copies beyond this are dropped all at once; they are made again as they are drawn.
constexpr qint64 ScaledBudget = 192LL * 1024 * 1024;

// The file is read whole by the core's reader and decoded from memory: opening it through Qt would
// ask the system about its volume as well, which costs Wine a round trip to another process.
QImage Read(const std::string& path) {
    std::string bytes, reason;
    if (!ReadWholeFile(path, bytes, reason, LargestPictureFile)) return {};
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    // A header claiming a huge picture is read scaled down (JPEG decodes smaller at once), so a
    // background never costs more than a few screens of memory.
    if (declared.isValid() &&
        (declared.width() > PictureCache::MaxSide || declared.height() > PictureCache::MaxSide))
        reader.setScaledSize(
            declared.scaled(PictureCache::MaxSide, PictureCache::MaxSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull() || image.width() > 4 * PictureCache::MaxSide ||
        image.height() > 4 * PictureCache::MaxSide)
        return {};
    // An opaque picture (every JPEG) is drawn as fast as it comes, without a copy; others take the
    // form the painter blends fastest.
    if (image.format() == QImage::Format_RGB32) return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QImage PictureCache::Original(const std::string& path) {
    const QString key = FromSystemPath(path);
    const auto known = Originals.constFind(key);
    if (known != Originals.constEnd()) return *known;
    QImage image = Read(path);
    Originals.insert(key, image);
    return image;
}

QImage PictureCache::Scaled(const std::string& path, QSize size) {
    if (size.width() <= 0 || size.height() <= 0) return {};
    const QString key = FromSystemPath(path) + QLatin1Char('\n') + QString::number(size.width()) +
                        QLatin1Char('x') + QString::number(size.height());
    const auto known = ScaledImages.constFind(key);
    if (known != ScaledImages.constEnd()) return *known;
    const QImage original = Original(path);
    if (original.isNull()) return {};
    QImage scaled = original.size() == size
                        ? original
                        : original.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (ScaledBytes + scaled.sizeInBytes() > ScaledBudget) {
        ScaledImages.clear();
        ScaledBytes = 0;
    }
    ScaledBytes += scaled.sizeInBytes();
    ScaledImages.insert(key, scaled);
    return scaled;
}

void PictureCache::Clear() {
    Originals.clear();
    ScaledImages.clear();
    ScaledBytes = 0;
}
