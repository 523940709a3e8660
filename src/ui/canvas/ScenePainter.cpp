#include "ui/canvas/ScenePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "layout/ControlRecord.h"
#include "preview/ControlTexts.h"
#include "ui/widgets/CodePage.h"
#include "ui/canvas/PictureCache.h"

namespace {

// Longer texts cannot show in any control; laying them out would only cost time.
constexpr qsizetype LongestShownText = 300;
// Text smaller than this many device pixels is not drawn: no one could read it.
constexpr qreal SmallestText = 4.0;
// Pictures drawn larger than this a side are not kept scaled, only drawn.
constexpr qreal LargestScaledPicture = 8192.0;

class Painter {
public:
    Painter(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
            const QRectF& target, const QRectF& exposed = {}, bool clipToScreen = true,
            bool draft = false)
        : P(painter), Pictures(pictures), Target(target),
          ScaleX(target.width() / std::max(1, scene.Size.Width)),
          ScaleY(target.height() / std::max(1, scene.Size.Height)), Draft(draft),
          TextCodePage(scene.CodePage) {
        // Where painting shows: the screen, or around it too, and of that what is exposed.
        Shown = clipToScreen ? Target
                             : Target.adjusted(-2 * Target.width(), -2 * Target.height(),
                                               2 * Target.width(), 2 * Target.height());
        if (!exposed.isEmpty()) Shown = Shown.intersected(exposed);
    }

    QRectF DeviceRect(const SceneRect& r) const {
        return QRectF(Target.x() + static_cast<qreal>(r.Left()) * ScaleX,
                      Target.y() + static_cast<qreal>(r.Top()) * ScaleY,
                      static_cast<qreal>(r.Width()) * ScaleX,
                      static_cast<qreal>(r.Height()) * ScaleY);
    }

    void Item(const SceneItem& item) {
        const QRectF full = DeviceRect(item.Rect);
        if (!full.intersects(Shown) && !(full.isEmpty() && Shown.contains(full.topLeft()))) return;
        // Far-reaching rectangles are cut to a margin around the screen, so nothing a record
        // holds makes the painter work on coordinates of billions.
        const QRectF r = full.width() > 4 * Target.width() || full.height() > 4 * Target.height()
                             ? full.intersected(Target.adjusted(-Target.width(), -Target.height(),
                                                                Target.width(), Target.height()))
                             : full;
        const QColor fill = SceneQColor(item.Fill), ink = SceneQColor(item.Ink),
                     edge = SceneQColor(item.Edge);
        P.save();
        P.setClipRect(r.adjusted(-1, -1, 1, 1), Qt::IntersectClip);
        switch (item.Shape) {
        case ItemShape::RaisedBox:
            Bevel(r, fill, QColor(255, 255, 255), edge);
            Text(item, r.adjusted(2, 1, -2, -1), Qt::AlignCenter, ink);
            break;
        case ItemShape::SunkenBox:
            Bevel(r, fill, edge.darker(200), edge.lighter(150));
            Text(item, r.adjusted(3, 1, -3, -1), Qt::AlignRight | Qt::AlignVCenter, ink);
            break;
        case ItemShape::Text:
            Text(item, r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, ink);
            break;
        case ItemShape::Title:
            Text(item, r, Qt::AlignLeft | Qt::AlignVCenter, ink, true);
            break;
        case ItemShape::Lamp:
            Lamp(r, fill, edge);
            break;
        case ItemShape::Picture:
            Picture(item, r, full);
            break;
        case ItemShape::HotSpot:
            HotSpot(r, edge);
            break;
        case ItemShape::Panel:
            Panel(item, r, fill, ink, edge);
            break;
        case ItemShape::Unknown:
            P.setPen(QPen(edge, std::max(1.0, ScaleY), Qt::DotLine));
            P.setBrush(Qt::NoBrush);
            P.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
            Text(item, r, Qt::AlignCenter, ink);
            break;
        }
        if (item.LinkTarget) Badge(r, QString::fromUtf8(LinkBadgeText(*item.LinkTarget)));
        if (!item.KeyText.empty()) Key(r, QString::fromLatin1(item.KeyText));
        if (item.Persistent) PersistentMark(r);
        P.restore();
    }

    void Highlight(const SceneItem& item) {
        const QRectF r = DeviceRect(item.Rect).intersected(Target.adjusted(-4, -4, 4, 4));
        P.save();
        QColor wash = SceneQColor(SceneColour::Highlight);
        wash.setAlpha(60);
        P.fillRect(r, wash);
        P.setPen(QPen(SceneQColor(SceneColour::Highlight), 3));
        P.setBrush(Qt::NoBrush);
        P.drawRect(r.adjusted(-1.5, -1.5, 1.5, 1.5));
        P.restore();
    }

private:
    QFont FontOf(qreal pixels, bool bold) const {
        QFont font = P.font();
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
        font.setBold(bold);
        return font;
    }

    void Text(const SceneItem& item, const QRectF& r, int flags, const QColor& ink,
              bool bold = false) {
        DrawText(QString(), item, r, flags, ink, bold);
    }

    void DrawText(const QString& given, const SceneItem& item, const QRectF& r, int flags,
                  const QColor& ink, bool bold) {
        const std::string& bytes = item.Text;
        if (given.isEmpty() && bytes.empty()) return;
        const qreal pixels = item.TextPixels * ScaleY;
        if (pixels < SmallestText) return;
        QString text = given.isEmpty()
                           ? FromCodePage(bytes.size() > static_cast<std::size_t>(LongestShownText)
                                              ? bytes.substr(0, LongestShownText)
                                              : bytes,
                                          TextCodePage)
                           : given;
        const QFont font = FontOf(pixels, bold);
        P.setFont(font);
        P.setPen(ink);
        if ((flags & Qt::TextWordWrap) == 0) {
            text.replace(QLatin1Char('\r'), QLatin1Char(' '))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            text = QFontMetricsF(font).elidedText(text, Qt::ElideRight, std::max(0.0, r.width()));
        }
        P.drawText(r, flags, text);
    }

    void Bevel(const QRectF& r, const QColor& fill, const QColor& light, const QColor& dark) {
        P.fillRect(r, fill);
        const qreal w = std::max(1.0, std::min(2.0, 2.0 * ScaleY));
        P.fillRect(QRectF(r.left(), r.top(), r.width(), w), light);
        P.fillRect(QRectF(r.left(), r.top(), w, r.height()), light);
        P.fillRect(QRectF(r.left(), r.bottom() - w, r.width(), w), dark);
        P.fillRect(QRectF(r.right() - w, r.top(), w, r.height()), dark);
    }

    void Lamp(const QRectF& r, const QColor& fill, const QColor& edge) {
        P.setRenderHint(QPainter::Antialiasing);
        QRadialGradient glow(r.center() - QPointF(r.width() / 6, r.height() / 6),
                             std::max(r.width(), r.height()) / 2);
        glow.setColorAt(0, fill.lighter(160));
        glow.setColorAt(1, fill);
        P.setBrush(glow);
        P.setPen(QPen(edge, 1));
        P.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    void Picture(const SceneItem& item, const QRectF& r, const QRectF& full) {
        if (!item.PicturePath.empty() && Draft) {
            if (const QImage original = Pictures.Original(item.PicturePath); !original.isNull()) {
                P.drawImage(r, original);
                return;
            }
        } else if (!item.PicturePath.empty()) {
            if (full.width() <= LargestScaledPicture && full.height() <= LargestScaledPicture &&
                Target
                    .adjusted(-LargestScaledPicture, -LargestScaledPicture, LargestScaledPicture,
                              LargestScaledPicture)
                    .contains(full)) {
                // Rounded rather than widened to whole pixels: a control moved by a fraction of a
                // pixel keeps the size of picture it had, which the cache holds already.
                const QRect device(
                    QPoint(qRound(full.left()), qRound(full.top())),
                    QSize(std::max(1, qRound(full.width())), std::max(1, qRound(full.height()))));
                const QImage image = Pictures.Scaled(item.PicturePath, device.size());
                if (!image.isNull()) {
                    P.drawImage(device.topLeft(), image);
                    Text(item, r, Qt::AlignCenter, SceneQColor(item.Ink));
                    return;
                }
            } else if (const QImage original = Pictures.Original(item.PicturePath);
                       !original.isNull()) {
                // Only the part that shows is drawn, from the matching part of the picture.
                const QRectF shown = full.intersected(Shown);
                if (shown.isEmpty()) return;
                const QRectF source((shown.left() - full.left()) / full.width() * original.width(),
                                    (shown.top() - full.top()) / full.height() * original.height(),
                                    shown.width() / full.width() * original.width(),
                                    shown.height() / full.height() * original.height());
                P.setRenderHint(QPainter::SmoothPixmapTransform);
                P.drawImage(shown, original, source);
                return;
            }
        }
        if (item.MissingAsHotSpot) return HotSpot(r, SceneQColor(item.Edge));
        // Missing: a hatched box with the picture's file name.
        P.fillRect(r, SceneQColor(SceneColour::Missing));
        P.fillRect(r, QBrush(QColor(0, 0, 0, 70), Qt::BDiagPattern));
        P.setPen(QPen(SceneQColor(item.Edge), 1));
        P.setBrush(Qt::NoBrush);
        P.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        const QString name = FromCodePage(item.PictureFileName, TextCodePage);
        const int flags = item.Background ? Qt::AlignLeft | Qt::AlignBottom : Qt::AlignCenter;
        DrawText(name, item, r.adjusted(3, 2, -3, -2), flags | Qt::TextWrapAnywhere,
                 SceneQColor(SceneColour::MissingText), false);
    }

    // What the host shows of a bitmap button without a picture: nothing, so only an outline.
    void HotSpot(const QRectF& r, const QColor& edge) {
        P.setPen(QPen(edge, std::max(1.0, 2.0 * ScaleY), Qt::DashLine));
        P.setBrush(Qt::NoBrush);
        P.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    void Panel(const SceneItem& item, const QRectF& r, const QColor& fill, const QColor& ink,
               const QColor& edge) {
        P.fillRect(r, fill);
        P.setPen(QPen(edge, 1));
        P.setBrush(Qt::NoBrush);
        P.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        if (item.Kind == ControlKind::JogBall) {
            P.setRenderHint(QPainter::Antialiasing);
            const qreal side = std::min(r.width(), r.height()) * 0.8;
            P.setPen(QPen(edge, std::max(1.0, 2 * ScaleY)));
            P.drawEllipse(QRectF(r.center() - QPointF(side / 2, side / 2), QSizeF(side, side)));
        } else if (item.Kind == ControlKind::ToolpathDisplay) {
            P.setPen(QPen(edge, 1, Qt::DashLine));
            P.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
            P.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
        } else if (item.Kind == ControlKind::ScrollBar) {
            const bool across = r.width() >= r.height();
            const QRectF thumb = across ? QRectF(r.left() + r.width() * 0.4, r.top() + 2,
                                                 r.width() * 0.2, r.height() - 4)
                                        : QRectF(r.left() + 2, r.top() + r.height() * 0.4,
                                                 r.width() - 4, r.height() * 0.2);
            Bevel(thumb, fill.lighter(115), QColor(255, 255, 255), edge);
        }
        Text(item, r.adjusted(2, 1, -2, -1), Qt::AlignCenter, ink);
    }

    void Badge(const QRectF& r, const QString& text) {
        const qreal pixels = 8 * ScaleY;
        if (pixels < SmallestText) return;
        const QFont font = FontOf(pixels, true);
        const QFontMetricsF metrics(font);
        const QSizeF size(metrics.horizontalAdvance(text) + pixels * 0.6, metrics.height());
        const QRectF badge(QPointF(r.right() - size.width(), r.top()), size);
        P.setRenderHint(QPainter::Antialiasing);
        P.setPen(Qt::NoPen);
        P.setBrush(SceneQColor(SceneColour::Badge));
        P.drawRoundedRect(badge, size.height() / 3, size.height() / 3);
        P.setFont(font);
        P.setPen(Qt::white);
        P.drawText(badge, Qt::AlignCenter, text);
    }

    void Key(const QRectF& r, const QString& text) {
        const qreal pixels = 8 * ScaleY;
        if (pixels < SmallestText) return;
        const QFont font = FontOf(pixels, true);
        const QFontMetricsF metrics(font);
        const QRectF box(QPointF(r.left(), r.bottom() - metrics.height()),
                         QSizeF(metrics.horizontalAdvance(text) + pixels * 0.5, metrics.height()));
        P.fillRect(box, QColor(0, 0, 0, 150));
        P.setFont(font);
        P.setPen(QColor(255, 255, 128));
        P.drawText(box, Qt::AlignCenter, text);
    }

    void PersistentMark(const QRectF& r) {
        const qreal side = std::max(3.0, 7 * ScaleY);
        QPainterPath corner;
        corner.moveTo(r.topLeft());
        corner.lineTo(r.left() + side, r.top());
        corner.lineTo(r.left(), r.top() + side);
        corner.closeSubpath();
        P.fillPath(corner, SceneQColor(SceneColour::Persistent));
    }

    QPainter& P;
    PictureCache& Pictures;
    QRectF Target, Shown;
    qreal ScaleX, ScaleY;
    bool Draft;
    int TextCodePage;
};

} // namespace

QColor SceneQColor(uint32_t colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour & 0xFFFFFF));
}

QRectF FitScene(const ScreenScene& scene, const QRectF& area) {
    const qreal w = std::max(1, scene.Size.Width), h = std::max(1, scene.Size.Height);
    const qreal scale = std::min(area.width() / w, area.height() / h);
    const QSizeF size(w * scale, h * scale);
    return QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void PaintScene(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
                const QRectF& target, const ScenePaintOptions& options) {
    painter.save();
    painter.fillRect(options.Exposed.isEmpty() ? target : target.intersected(options.Exposed),
                     SceneQColor(SceneColour::Screen));
    if (options.ClipToScreen) painter.setClipRect(target, Qt::IntersectClip);
    Painter paint(painter, scene, pictures, target, options.Exposed, options.ClipToScreen);
    for (const SceneItem& item : scene.Items)
        if (!std::binary_search(options.Hidden.begin(), options.Hidden.end(), item.Position))
            paint.Item(item);
    if (options.Highlight > 0)
        if (const SceneItem* item = scene.ItemOfRecord(options.Highlight)) paint.Highlight(*item);
    painter.restore();
}

void PaintSceneItems(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
                     const QRectF& target, std::span<const SceneItem> items, const QRectF& exposed,
                     bool draftPictures) {
    painter.save();
    Painter paint(painter, scene, pictures, target, exposed, false, draftPictures);
    for (const SceneItem& item : items)
        paint.Item(item);
    painter.restore();
}

QImage RenderScene(const ScreenScene& scene, PictureCache& pictures, QSize size,
                   const ScenePaintOptions& options) {
    if (size.isEmpty()) size = QSize(scene.Size.Width, scene.Size.Height);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintScene(painter, scene, pictures, FitScene(scene, QRectF(QPointF(0, 0), QSizeF(size))),
               options);
    return image;
}
