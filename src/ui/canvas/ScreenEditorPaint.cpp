#include "ui/canvas/ScreenEditor.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "layout/HostCodes.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/PictureCache.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenEditorShared.h"

// Painting the editing view: the scene's layer kept between paints, the selection with its
// handles, and what a gesture draws (guides, the band), repainting only what changed.

using namespace ScreenEditorShared;

void ScreenEditor::PaintLayer(QPainter& painter, const QRegion& region,
                              const std::vector<int>& hidden) {
    painter.save();
    painter.setClipRegion(region);
    const QRect bounds = region.boundingRect();
    painter.fillRect(bounds, MarginColour);
    if (Preview.Layout() == nullptr) {
        painter.restore();
        return;
    }
    const QRectF screen = ScreenRectInView();
    ScenePaintOptions options;
    options.Highlight = Preview.HighlightedRecord();
    options.Hidden = hidden;
    options.Exposed = bounds;
    options.ClipToScreen = false;
    PaintScene(painter, Scene(), *Preview.Pictures(), screen, options);

    // What the host shows as nothing is outlined, so it can be found and picked.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(SceneQColor(SceneColour::HotSpot), 0, Qt::DotLine));
    for (const SceneItem& item : Scene().Items) {
        if (!ShowsNothing(item) || Contains(hidden, item.Position)) continue;
        const QRectF r = Widened(ViewRect(item.Rect));
        if (r.intersects(bounds)) painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
    // The snapping grid, over the screen only, where its lines lie far enough apart to be read.
    const double gridSpacing = GridShown.GridStep * ZoomFactor;
    if (GridShown.ToGrid && GridShown.GridStep > 0 && gridSpacing >= LeastGridSpacing) {
        painter.save();
        painter.setClipRect(screen.intersected(QRectF(bounds)), Qt::IntersectClip);
        painter.setPen(QPen(GridColour, 0, Qt::DotLine));
        const QPointF from = ToScreen(bounds.topLeft()), to = ToScreen(bounds.bottomRight());
        const int64_t step = GridShown.GridStep;
        const auto first = [step](double v) {
            return static_cast<int64_t>(std::floor(std::max(v, 0.0) / static_cast<double>(step))) *
                   step;
        };
        for (int64_t x = first(from.x()); x <= static_cast<int64_t>(std::ceil(to.x())); x += step) {
            const qreal at = FromScreen(QPointF(static_cast<double>(x), 0)).x();
            painter.drawLine(QPointF(at, bounds.top()), QPointF(at, bounds.bottom() + 1));
        }
        for (int64_t y = first(from.y()); y <= static_cast<int64_t>(std::ceil(to.y())); y += step) {
            const qreal at = FromScreen(QPointF(0, static_cast<double>(y))).y();
            painter.drawLine(QPointF(bounds.left(), at), QPointF(bounds.right() + 1, at));
        }
        painter.restore();
    }
    if (ZoomFactor >= PixelGridZoom) {
        painter.setPen(QPen(PixelGridColour, 0));
        const QPointF from = ToScreen(bounds.topLeft()), to = ToScreen(bounds.bottomRight());
        for (int64_t x = static_cast<int64_t>(std::floor(from.x()));
             x <= static_cast<int64_t>(std::ceil(to.x())); ++x) {
            const qreal at = FromScreen(QPointF(static_cast<double>(x), 0)).x();
            painter.drawLine(QPointF(at, bounds.top()), QPointF(at, bounds.bottom() + 1));
        }
        for (int64_t y = static_cast<int64_t>(std::floor(from.y()));
             y <= static_cast<int64_t>(std::ceil(to.y())); ++y) {
            const qreal at = FromScreen(QPointF(0, static_cast<double>(y))).y();
            painter.drawLine(QPointF(bounds.left(), at), QPointF(bounds.right() + 1, at));
        }
    }
    painter.setPen(QPen(ScreenEdgeColour, 0));
    painter.drawRect(screen.adjusted(-1, -1, 0, 0));
    painter.restore();
}

void ScreenEditor::EnsureLayer() {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    std::vector<int> hidden;
    if (Doing == Gesture::Moving || Doing == Gesture::Resizing) hidden = Moving;
    if (LayerValid && Layer.size() == size && hidden == LayerHidden) return;

    if (LayerValid && Layer.size() == size) {
        // Only where controls leave the layer or come back to it is painted again.
        std::vector<int> changed;
        std::set_symmetric_difference(hidden.begin(), hidden.end(), LayerHidden.begin(),
                                      LayerHidden.end(), std::back_inserter(changed));
        QRegion region;
        for (int p : changed)
            if (const SceneItem* item = Scene().ItemOfRecord(p))
                region += ViewRect(item->Rect).toAlignedRect().adjusted(-2, -2, 2, 2);
        QPainter painter(&Layer);
        PaintLayer(painter, region.intersected(viewport()->rect()), hidden);
    } else {
        Layer = QPixmap(size.expandedTo(QSize(1, 1)));
        Layer.setDevicePixelRatio(ratio);
        QPainter painter(&Layer);
        PaintLayer(painter, QRegion(viewport()->rect()), hidden);
    }
    LayerHidden = std::move(hidden);
    LayerValid = true;
}

void ScreenEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    try {
        EnsureLayer();
        painter.setClipRegion(event->region());
        painter.drawPixmap(0, 0, Layer);
        PaintGestures(painter, event->rect());
        PaintSelection(painter, event->rect());
    } catch (...) {
        // Nothing a record holds may stop the program; the view shows what it could paint.
    }
}

void ScreenEditor::PaintGestures(QPainter& painter, const QRect& exposed) {
    if (Doing == Gesture::Moving || Doing == Gesture::Resizing) {
        PaintSceneItems(painter, Scene(), *Preview.Pictures(), ScreenRectInView(), MovingItems,
                        exposed, Doing == Gesture::Resizing);
        painter.save();
        painter.setPen(QPen(GuideColour, 0));
        for (const SnapGuide& g : Snapped.Guides) {
            if (g.Vertical) {
                const qreal x = FromScreen(QPointF(static_cast<double>(g.At), 0)).x();
                painter.drawLine(
                    QPointF(x, FromScreen(QPointF(0, static_cast<double>(g.From))).y() - 8),
                    QPointF(x, FromScreen(QPointF(0, static_cast<double>(g.To))).y() + 8));
            } else {
                const qreal y = FromScreen(QPointF(0, static_cast<double>(g.At))).y();
                painter.drawLine(
                    QPointF(FromScreen(QPointF(static_cast<double>(g.From), 0)).x() - 8, y),
                    QPointF(FromScreen(QPointF(static_cast<double>(g.To), 0)).x() + 8, y));
            }
        }
        painter.restore();
    } else if (Doing == Gesture::Banding) {
        const QRectF r = ViewRect(PixelBox{static_cast<int64_t>(std::floor(Band.left())),
                                           static_cast<int64_t>(std::floor(Band.top())),
                                           static_cast<int64_t>(std::ceil(Band.right())),
                                           static_cast<int64_t>(std::ceil(Band.bottom()))});
        QColor fill = SelectionColour;
        fill.setAlpha(40);
        painter.fillRect(r, fill);
        painter.setPen(QPen(SelectionColour, 0));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void ScreenEditor::PaintSelection(QPainter& painter, const QRect& exposed) {
    const std::vector<int> here = SelectedHere();
    if (here.empty()) return;
    const int reference = here.size() > 1 ? ReferenceControl() : 0;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QRectF single;
    for (int p : here) {
        const auto moving = std::lower_bound(Moving.begin(), Moving.end(), p);
        const SceneItem* item =
            moving != Moving.end() && *moving == p && !MovingItems.empty()
                ? &MovingItems[static_cast<std::size_t>(moving - Moving.begin())]
                : Scene().ItemOfRecord(p);
        if (item == nullptr) continue;
        const QRectF r = ViewRect(item->Rect);
        single = r;
        if (!r.adjusted(-4, -4, 4, 4).intersects(exposed)) continue;
        painter.setPen(QPen(QColor(0, 0, 0, 150), 3));
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
        painter.setPen(
            QPen(p == reference ? ReferenceColour : SelectionColour, p == reference ? 2 : 1));
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
    }
    if (here.size() == 1 && Doing != Gesture::Moving && !single.isNull()) {
        painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 0));
        painter.setBrush(Qt::white);
        for (const auto& handle : Handles(single))
            painter.drawRect(handle.second.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

QRegion ScreenEditor::GestureRegion() const {
    QRegion region;
    const int pad = HandleSize / 2 + 4;
    std::vector<QRect> rects;
    for (int p : SelectedHere()) {
        const auto moving = std::lower_bound(Moving.begin(), Moving.end(), p);
        const SceneItem* item =
            moving != Moving.end() && *moving == p && !MovingItems.empty()
                ? &MovingItems[static_cast<std::size_t>(moving - Moving.begin())]
                : Scene().ItemOfRecord(p);
        if (item != nullptr)
            rects.push_back(ViewRect(item->Rect).toAlignedRect().adjusted(-pad, -pad, pad, pad));
    }
    for (const SnapGuide& g : Snapped.Guides) {
        const QPointF a = FromScreen(QPointF(static_cast<double>(g.Vertical ? g.At : g.From),
                                             static_cast<double>(g.Vertical ? g.From : g.At)));
        const QPointF b = FromScreen(QPointF(static_cast<double>(g.Vertical ? g.At : g.To),
                                             static_cast<double>(g.Vertical ? g.To : g.At)));
        rects.push_back(QRectF(a, b).normalized().toAlignedRect().adjusted(-10, -10, 10, 10));
    }
    if (Doing == Gesture::Banding)
        rects.push_back(QRectF(FromScreen(Band.topLeft()), FromScreen(Band.bottomRight()))
                            .toAlignedRect()
                            .adjusted(-2, -2, 2, 2));
    const QRect view = viewport()->rect();
    for (const QRect& r : rects)
        region += r.intersected(view);
    return region;
}

void ScreenEditor::Repaint(const QRegion& before) {
    viewport()->update(before.united(GestureRegion()));
}
