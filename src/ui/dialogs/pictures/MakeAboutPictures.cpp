// Paints the two pictures of the About window: a 133 x 98 logo and a 545 x 681 picture in portrait
// format, both JPEG. Run it with the folder to write into:
//     build/src/ui/dialogs/make_about_pictures src/ui/dialogs/pictures

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

// A quill from its nib to the end of its shaft, the vane widest a third of the way up.
void PaintQuill(QPainter& p, QPointF nib, QPointF end, qreal width, const QColor& vane) {
    const QPointF along = end - nib;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF unit = along / length;
    const QPointF across(-unit.y(), unit.x());
    const auto at = [&](qreal t, qreal side) { return nib + along * t + across * (side * width); };

    QPainterPath feather;
    feather.moveTo(at(0.18, 0));
    feather.cubicTo(at(0.35, 0.9), at(0.75, 0.75), at(1.0, 0.05));
    feather.cubicTo(at(0.8, -0.35), at(0.45, -0.6), at(0.18, 0));
    QLinearGradient shade(at(0.5, 1), at(0.5, -1));
    shade.setColorAt(0, vane.lighter(125));
    shade.setColorAt(1, vane.darker(130));
    p.setPen(QPen(vane.darker(160), std::max(1.0, width / 14)));
    p.setBrush(shade);
    p.drawPath(feather);

    // Barbs: fine strokes from the shaft towards the edge of the vane.
    p.setPen(QPen(vane.darker(140), std::max(0.6, width / 30)));
    for (qreal t = 0.25; t < 0.95; t += 0.06) {
        p.drawLine(at(t, 0), at(t + 0.07, 0.55 * std::sin(3.1 * (t - 0.1))));
        p.drawLine(at(t, 0), at(t + 0.05, -0.35 * std::sin(3.1 * (t - 0.1))));
    }

    // The shaft and the nib.
    p.setPen(QPen(QColor(250, 245, 230), std::max(1.0, width / 9), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(0.06, 0), end);
    QPainterPath point;
    point.moveTo(nib);
    point.lineTo(at(0.09, 0.12));
    point.lineTo(at(0.09, -0.12));
    point.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 50));
    p.drawPath(point);
}

// A screen of read-outs, as the host shows them.
void PaintReadouts(QPainter& p, const QRectF& area, int rows, qreal fontPixels) {
    p.setPen(QPen(QColor(120, 140, 160), std::max(1.0, fontPixels / 10)));
    p.setBrush(QColor(10, 22, 30));
    p.drawRoundedRect(area, fontPixels / 2, fontPixels / 2);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(static_cast<int>(fontPixels));
    font.setBold(true);
    p.setFont(font);
    const char* const axes[] = {"X", "Y", "Z", "A"};
    const char* const values[] = {"+125.400", "-032.075", "+010.000", "+090.000"};
    const qreal rowHeight = area.height() / rows;
    for (int i = 0; i < rows; ++i) {
        const QRectF row(area.left() + fontPixels / 2, area.top() + i * rowHeight,
                         area.width() - fontPixels, rowHeight);
        p.setPen(QColor(250, 200, 60));
        p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(axes[i % 4]));
        p.setPen(QColor(90, 240, 120));
        p.drawText(row, Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(values[i % 4]));
    }
}

QImage Logo() {
    QImage image(133, 98, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 98);
    sky.setColorAt(0, QColor(28, 58, 110));
    sky.setColorAt(1, QColor(8, 18, 40));
    p.fillRect(image.rect(), sky);
    PaintReadouts(p, QRectF(8, 10, 78, 50), 3, 10);
    PaintQuill(p, QPointF(70, 74), QPointF(128, 6), 14, QColor(235, 235, 245));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 210, 80));
    p.drawText(QRectF(6, 68, 70, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KSQ"));
    return image;
}

QImage Portrait() {
    QImage image(545, 681, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, 681);
    back.setColorAt(0, QColor(36, 70, 128));
    back.setColorAt(0.6, QColor(16, 32, 64));
    back.setColorAt(1, QColor(6, 10, 22));
    p.fillRect(image.rect(), back);
    QRadialGradient glow(272, 250, 260);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), glow);

    // A machine: base, column, head and spindle over a table with a part on it.
    p.setPen(QPen(QColor(20, 24, 30), 3));
    p.setBrush(QColor(150, 160, 172));
    p.drawRect(QRectF(70, 520, 405, 60));  // base
    p.drawRect(QRectF(330, 140, 90, 380)); // column
    p.setBrush(QColor(175, 185, 196));
    p.drawRect(QRectF(170, 150, 200, 110)); // head
    p.setBrush(QColor(110, 118, 128));
    p.drawRect(QRectF(240, 260, 44, 90)); // spindle
    p.setBrush(QColor(220, 200, 90));
    p.drawPolygon(QPolygonF({QPointF(252, 350), QPointF(272, 350), QPointF(262, 392)}));
    p.setBrush(QColor(125, 134, 146));
    p.drawRect(QRectF(110, 470, 300, 50)); // table
    p.setBrush(QColor(200, 120, 60));
    p.drawRect(QRectF(200, 420, 120, 50)); // part

    // The operator screen in front, with its read-outs, and the quill that edits it.
    PaintReadouts(p, QRectF(40, 40, 230, 150), 4, 26);
    PaintQuill(p, QPointF(250, 600), QPointF(520, 250), 52, QColor(240, 240, 248));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 210, 80));
    p.drawText(QRectF(0, 600, 545, 70), Qt::AlignCenter, QStringLiteral("KorvoScreenQuill"));
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_about_pictures FOLDER\n");
        return 2;
    }
    // Painting needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written = Logo().save(folder + "/QuillLogo.jpg", "JPG", 92) &&
                         Portrait().save(folder + "/QuillPortrait.jpg", "JPG", 90);
    if (!written) {
        std::fprintf(stderr, "make_about_pictures: cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
