#pragma once
// The pictures a preview draws, read once with QImageReader and kept scaled to the sizes they are
// drawn at. A file that does not decode (not a picture, damaged, or of an absurd size) gives a
// null image, and is drawn as a missing picture; nothing a file holds can crash or stall reading.

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <string>

class PictureCache {
public:
    // The picture at `path` scaled to exactly `size` pixels; null when it does not decode.
    QImage Scaled(const std::string& path, QSize size);
    // The picture as read (at most MaxSide pixels a side); null when it does not decode.
    QImage Original(const std::string& path);
    void Clear();

    static constexpr int MaxSide = 4096;

private:
    QHash<QString, QImage> Originals;
    QHash<QString, QImage> ScaledImages;
    qint64 ScaledBytes = 0;
};
