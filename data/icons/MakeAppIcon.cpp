// Draws the application icon: an operator screen of read-outs and function keys with a quill
// across it. One list of shapes is both written as the SVG and painted into the PNGs, so every
// size shows the same picture. Run it with the folder to write into:
//     build/data/make_app_icon data/icons

#include <QColor>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

const char* const kAppId = "io.github.korvoscreenquill.korvoscreenquill";
constexpr qreal kDesign = 256; // the icon is designed on a 256 x 256 grid

struct Gradient {
    QPointF from, to;
    QColor first, last;
};

struct Shape {
    QPainterPath path;
    std::optional<QColor> fill;
    std::optional<Gradient> gradient; // fills instead of `fill` when set
    std::optional<QColor> stroke;
    qreal strokeWidth = 0;
};

QPainterPath RoundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

Shape Filled(QPainterPath path, QColor fill) {
    Shape s;
    s.path = std::move(path);
    s.fill = fill;
    return s;
}

// A quill from its nib to the end of its shaft, the vane widest a third of the way up.
void AddQuill(std::vector<Shape>& shapes, QPointF nib, QPointF end, qreal width) {
    const QPointF along = end - nib;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF across(-along.y() / length, along.x() / length);
    const auto at = [&](qreal t, qreal side) { return nib + along * t + across * (side * width); };

    Shape vane;
    vane.path.moveTo(at(0.2, 0));
    vane.path.cubicTo(at(0.35, 0.95), at(0.75, 0.8), at(1.0, 0.04));
    vane.path.cubicTo(at(0.8, -0.4), at(0.45, -0.65), at(0.2, 0));
    vane.path.closeSubpath();
    vane.gradient =
        Gradient{at(0.5, 1), at(0.5, -1), QColor(0xFF, 0xF7, 0xE2), QColor(0xD8, 0xB4, 0x72)};
    vane.stroke = QColor(0x6E, 0x4F, 0x22);
    vane.strokeWidth = 4;
    shapes.push_back(vane);

    // A notch in the vane, the way a used feather splits.
    Shape notch;
    notch.path.moveTo(at(0.62, 0.5));
    notch.path.lineTo(at(0.66, 0.12));
    notch.stroke = QColor(0x6E, 0x4F, 0x22);
    notch.strokeWidth = 3;
    shapes.push_back(notch);

    Shape shaft;
    shaft.path.moveTo(at(0.08, 0));
    shaft.path.lineTo(end);
    shaft.stroke = QColor(0xFF, 0xFB, 0xF0);
    shaft.strokeWidth = 5;
    shapes.push_back(shaft);

    QPainterPath point;
    point.moveTo(nib);
    point.lineTo(at(0.11, 0.16));
    point.lineTo(at(0.11, -0.16));
    point.closeSubpath();
    shapes.push_back(Filled(point, QColor(0x26, 0x26, 0x30)));
}

std::vector<Shape> IconShapes() {
    std::vector<Shape> shapes;

    Shape body;
    body.path = RoundedRect(16, 16, 224, 224, 40);
    body.gradient = Gradient{{0, 16}, {0, 240}, QColor(0x34, 0x52, 0x6C), QColor(0x14, 0x22, 0x2E)};
    body.stroke = QColor(0x0B, 0x14, 0x1B);
    body.strokeWidth = 4;
    shapes.push_back(body);

    Shape screen = Filled(RoundedRect(38, 42, 180, 132, 10), QColor(0x08, 0x14, 0x1C));
    screen.stroke = QColor(0x78, 0x98, 0xB0);
    screen.strokeWidth = 4;
    shapes.push_back(screen);

    // Three axis read-outs: a name and a value.
    for (int row = 0; row < 3; ++row) {
        const qreal y = 60 + 36 * row;
        shapes.push_back(Filled(RoundedRect(54, y, 30, 20, 4), QColor(0x56, 0x78, 0x92)));
        shapes.push_back(Filled(RoundedRect(94, y, 106, 20, 4), QColor(0x5F, 0xD6, 0x8E)));
    }

    // The row of function keys under the screen.
    for (int key = 0; key < 4; ++key)
        shapes.push_back(
            Filled(RoundedRect(38 + 47 * key, 190, 39, 28, 6), QColor(0x9A, 0xB2, 0xC4)));

    AddQuill(shapes, {66, 230}, {232, 26}, 30);
    return shapes;
}

QString Number(qreal v) {
    return QString::number(std::round(v * 100) / 100, 'g', 8);
}

QString PathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString point = Number(e.x) + " " + Number(e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += (d.isEmpty() ? "M" : " M") + point;
            break;
        case QPainterPath::LineToElement:
            d += " L" + point;
            break;
        case QPainterPath::CurveToElement:
            d += " C" + point;
            break;
        case QPainterPath::CurveToDataElement:
            d += " " + point;
            break;
        }
    }
    return d;
}

bool WriteSvg(const std::vector<Shape>& shapes, const QString& file) {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        << "viewBox=\"0 0 256 256\">\n";
    QString defs;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!shapes[i].gradient) continue;
        const Gradient& g = *shapes[i].gradient;
        defs += QString("    <linearGradient id=\"g%1\" gradientUnits=\"userSpaceOnUse\" "
                        "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n"
                        "      <stop offset=\"0\" stop-color=\"%6\"/>\n"
                        "      <stop offset=\"1\" stop-color=\"%7\"/>\n"
                        "    </linearGradient>\n")
                    .arg(i)
                    .arg(Number(g.from.x()), Number(g.from.y()), Number(g.to.x()), Number(g.to.y()),
                         g.first.name(), g.last.name());
    }
    if (!defs.isEmpty()) out << "  <defs>\n" << defs << "  </defs>\n";
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Shape& s = shapes[i];
        const QString fill = s.gradient ? QString("url(#g%1)").arg(i)
                             : s.fill   ? s.fill->name()
                                        : QString("none");
        out << "  <path d=\"" << PathData(s.path) << "\" fill=\"" << fill << "\"";
        if (s.stroke)
            out << " stroke=\"" << s.stroke->name() << "\" stroke-width=\"" << Number(s.strokeWidth)
                << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        out << "/>\n";
    }
    out << "</svg>\n";
    out.flush();
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(svg.toUtf8()) == svg.toUtf8().size();
}

QImage Paint(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesign, size / kDesign);
    for (const Shape& s : shapes) {
        if (s.gradient) {
            QLinearGradient g(s.gradient->from, s.gradient->to);
            g.setColorAt(0, s.gradient->first);
            g.setColorAt(1, s.gradient->last);
            p.setBrush(g);
        } else if (s.fill) {
            p.setBrush(*s.fill);
        } else {
            p.setBrush(Qt::NoBrush);
        }
        if (s.stroke)
            p.setPen(QPen(*s.stroke, s.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            p.setPen(Qt::NoPen);
        p.drawPath(s.path);
    }
    p.end();
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icon FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const std::vector<Shape> shapes = IconShapes();
    bool written = WriteSvg(shapes, folder + "/" + kAppId + ".svg");
    for (const int size : {48, 128, 256})
        written = written &&
                  Paint(shapes, size).save(QString("%1/%2-%3.png").arg(folder, kAppId).arg(size));
    if (!written) {
        std::fprintf(stderr, "make_app_icon: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
