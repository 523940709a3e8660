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
#include "ui/canvas/SelectionTool.h"

// The editing view's mouse: presses, moves and releases go to its tool; the handles of a single
// selected control, the cursor over them, and the wheel, which zooms and scrolls.

using namespace ScreenEditorShared;

std::vector<std::pair<unsigned, QRectF>> ScreenEditor::Handles(const QRectF& c) const {
    using namespace SnapEdges;
    const QSizeF size(HandleSize, HandleSize);
    const auto at = [&](qreal x, qreal y) {
        return QRectF(QPointF(x, y) - QPointF(3.5, 3.5), size);
    };
    const qreal cx = c.center().x(), cy = c.center().y();
    // Corners first, and the bottom right first of all, so a tiny control can still be enlarged.
    return {{Right | Bottom, at(c.right(), c.bottom())},
            {Right | Top, at(c.right(), c.top())},
            {Left | Bottom, at(c.left(), c.bottom())},
            {Left | Top, at(c.left(), c.top())},
            {Right, at(c.right(), cy)},
            {Bottom, at(cx, c.bottom())},
            {Left, at(c.left(), cy)},
            {Top, at(cx, c.top())}};
}

unsigned ScreenEditor::HandleAt(QPointF viewPoint) const {
    const std::vector<int> here = SelectedHere();
    if (here.size() != 1) return 0;
    const SceneItem* item = Scene().ItemOfRecord(here.front());
    if (item == nullptr) return 0;
    for (const auto& [edges, rect] : Handles(ViewRect(item->Rect)))
        if (rect.adjusted(-1, -1, 1, 1).contains(viewPoint)) return edges;
    return 0;
}

void ScreenEditor::UpdateCursor(QPointF viewPoint) {
    using namespace SnapEdges;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (HandleAt(viewPoint)) {
    case Left | Top:
    case Right | Bottom:
        shape = Qt::SizeFDiagCursor;
        break;
    case Right | Top:
    case Left | Bottom:
        shape = Qt::SizeBDiagCursor;
        break;
    case Left:
    case Right:
        shape = Qt::SizeHorCursor;
        break;
    case Top:
    case Bottom:
        shape = Qt::SizeVerCursor;
        break;
    default: {
        const std::vector<const SceneItem*> stack = StackAt(viewPoint);
        if (!stack.empty() && Session.IsSelected(stack.front()->Position))
            shape = Qt::SizeAllCursor;
        break;
    }
    }
    viewport()->setCursor(shape);
}

void ScreenEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // Another button during a drag puts everything back, as Esc does.
        if (Dragging()) CancelGesture();
        return QAbstractScrollArea::mousePressEvent(event);
    }
    setFocus(Qt::MouseFocusReason);
    RunGuarded(Dialogs, [&] { Tool->Press(*event); });
}

void ScreenEditor::mouseMoveEvent(QMouseEvent* event) {
    RunGuarded(Dialogs, [&] {
        Pointer = event->position();
        if (!Tool->Busy()) {
            UpdateCursor(Pointer);
            ShowRestingStatus();
            return;
        }
        Tool->Move(Pointer);
    });
}

void ScreenEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    RunGuarded(Dialogs, [&] { Tool->Release(event->position()); });
}

void ScreenEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

std::vector<SnapTarget> ScreenEditor::TargetsBeside(const std::vector<int>& moving) const {
    std::vector<SnapTarget> targets;
    for (const SceneItem& item : Scene().Items)
        if (!Contains(moving, item.Position)) targets.push_back({BoxOf(item.Rect), item.Position});
    return targets;
}

std::vector<int> ScreenEditor::InBand(const QRectF& band) const {
    std::vector<int> inside;
    for (const SceneItem& item : Scene().Items) {
        if (item.Persistent) continue;
        const PixelBox b = BoxOf(item.Rect);
        if (static_cast<double>(b.Left) >= band.left() &&
            static_cast<double>(b.Right) <= band.right() &&
            static_cast<double>(b.Top) >= band.top() &&
            static_cast<double>(b.Bottom) <= band.bottom())
            inside.push_back(item.Position);
    }
    std::sort(inside.begin(), inside.end());
    return inside;
}

bool ScreenEditor::Dragging() const {
    return Tool->Dragging();
}

void ScreenEditor::CancelGesture() {
    Tool->Cancel();
    viewport()->update();
    ShowRestingStatus();
}

void ScreenEditor::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0)
        return QAbstractScrollArea::wheelEvent(event);
    RunGuarded(Dialogs, [&] {
        WheelTurn += event->angleDelta().y();
        const QPointF anchor = event->position();
        while (std::abs(WheelTurn) >= 120) {
            const bool in = WheelTurn > 0;
            WheelTurn += in ? -120 : 120;
            if (in) {
                for (double step : ZoomSteps)
                    if (step > ZoomFactor * 1.001) {
                        SetZoom(step, anchor);
                        break;
                    }
            } else {
                for (auto step = std::rbegin(ZoomSteps); step != std::rend(ZoomSteps); ++step)
                    if (*step < ZoomFactor / 1.001) {
                        SetZoom(*step, anchor);
                        break;
                    }
            }
        }
    });
    event->accept();
}

// ---- the keys
