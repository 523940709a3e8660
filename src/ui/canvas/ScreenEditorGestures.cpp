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

// The editing view's gestures: pressing, dragging and releasing the mouse to select, move and
// resize controls or draw a rubber band, with snapping and Esc; the wheel zooms and scrolls.

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
    RunGuarded(Dialogs, [&] { Press(event); });
}

void ScreenEditor::Press(QMouseEvent* event) {
    if (Doing != Gesture::None || Preview.Layout() == nullptr) return;
    PressAt = event->position();
    PressScreenAt = ToScreen(PressAt);
    Pointer = PressAt;
    const Qt::KeyboardModifiers mods = event->modifiers();
    AddToSelection = (mods & Qt::ControlModifier) != 0;
    ClickSelectsAlone = false;
    PressedItem = 0;
    Kind = PressKind::Nothing;
    Doing = Gesture::Pressed;

    if (mods == Qt::NoModifier) {
        if ((ResizeEdges = HandleAt(PressAt)) != 0) {
            Kind = PressKind::Resize;
            return;
        }
    }
    const std::vector<const SceneItem*> stack = StackAt(PressAt);
    const SceneItem* top = stack.empty() ? nullptr : stack.front();
    if ((mods & Qt::AltModifier) != 0) {
        SelectBeneath(PressAt);
        Kind = stack.empty() ? PressKind::Nothing : PressKind::Move;
        return;
    }
    if ((mods & Qt::ShiftModifier) != 0 || top == nullptr) {
        Kind = PressKind::Band;
        return;
    }
    PressedItem = top->Position;
    const bool selected = Session.IsSelected(PressedItem);
    if (top->Background && !selected) {
        // A background picture lies under everything: dragging over it draws a band, as over
        // empty space, and a click picks it.
        Kind = PressKind::BandOrSelect;
        return;
    }
    if (AddToSelection) {
        // Ctrl+click adds or removes the control at once; dragging from there does nothing.
        Toggle(PressedItem);
        return;
    }
    if (!selected) Select({PressedItem}, PressedItem);
    ClickSelectsAlone = selected;
    Kind = PressKind::Move;
}

void ScreenEditor::mouseMoveEvent(QMouseEvent* event) {
    RunGuarded(Dialogs, [&] {
        Pointer = event->position();
        if (Doing == Gesture::None) {
            UpdateCursor(Pointer);
            ShowRestingStatus();
            return;
        }
        if (Doing == Gesture::Pressed) {
            if ((Pointer - PressAt).manhattanLength() < QApplication::startDragDistance()) return;
            BeginGesture();
        }
        if (Dragging()) Drag(Pointer);
    });
}

void ScreenEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    RunGuarded(Dialogs, [&] {
        if (Dragging()) Drag(event->position());
        Release();
    });
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

void ScreenEditor::BeginGesture() {
    const QRegion before = GestureRegion();
    Snapped = {};
    MovedX = MovedY = 0;
    switch (Kind) {
    case PressKind::Move:
    case PressKind::Resize: {
        Moving = SelectedHere();
        if (Moving.empty() || (Kind == PressKind::Resize && Moving.size() != 1)) {
            Moving.clear();
            Kind = PressKind::Nothing;
            return;
        }
        const auto records = Session.Layout().Records();
        MovingBoxes.clear();
        MovingItems.clear();
        for (int p : Moving) {
            MovingBoxes.push_back(BoxOf(records[static_cast<std::size_t>(p - 1)]));
            MovingItems.push_back(*Scene().ItemOfRecord(p));
        }
        MovingBounds = BoundsOf(records, Moving);
        Targets = TargetsBeside(Moving);
        // Read once a drag, not at every move of the mouse.
        DragSnapping = SettingsAtThisZoom();
        Doing = Kind == PressKind::Move ? Gesture::Moving : Gesture::Resizing;
        break;
    }
    case PressKind::Band:
    case PressKind::BandOrSelect:
        Band = QRectF(PressScreenAt, PressScreenAt);
        Doing = Gesture::Banding;
        break;
    case PressKind::Nothing:
        return;
    }
    Repaint(before);
}

void ScreenEditor::Drag(QPointF viewPoint) {
    const QRegion before = GestureRegion();
    const QPointF at = ToScreen(viewPoint);
    const int64_t dx = std::llround(at.x() - PressScreenAt.x());
    const int64_t dy = std::llround(at.y() - PressScreenAt.y());
    const PixelBox screen{0, 0, Scene().Size.Width, Scene().Size.Height};
    if (Doing == Gesture::Moving) {
        const PixelBox wanted{MovingBounds.Left + dx, MovingBounds.Top + dy,
                              MovingBounds.Right + dx, MovingBounds.Bottom + dy};
        Snapped = Snap(wanted, SnapEdges::Move, Targets, screen, DragSnapping);
        constexpr int64_t low = std::numeric_limits<int32_t>::min();
        constexpr int64_t high = std::numeric_limits<int32_t>::max();
        MovedX = std::clamp(Snapped.Box.Left - MovingBounds.Left, low - MovingBounds.Left,
                            high - MovingBounds.Right);
        MovedY = std::clamp(Snapped.Box.Top - MovingBounds.Top, low - MovingBounds.Top,
                            high - MovingBounds.Bottom);
        for (std::size_t i = 0; i < MovingItems.size(); ++i) {
            const PixelBox& b = MovingBoxes[i];
            MovingItems[i].Rect =
                RectOf({b.Left + MovedX, b.Top + MovedY, b.Right + MovedX, b.Bottom + MovedY});
        }
        SetStatus(QStringLiteral("Moving %1 by %2, %3")
                      .arg(Controls(Moving.size()), Pixels(MovedX), Pixels(MovedY)) +
                  SnapNote(Snapped));
    } else if (Doing == Gesture::Resizing) {
        using namespace SnapEdges;
        PixelBox b = MovingBoxes.front();
        // Every edge that moves keeps at least a pixel from the one across from it.
        const auto keepApart = [this](PixelBox& box) {
            if ((ResizeEdges & Left) != 0) box.Left = std::min(box.Left, box.Right - 1);
            if ((ResizeEdges & Right) != 0) box.Right = std::max(box.Right, box.Left + 1);
            if ((ResizeEdges & Top) != 0) box.Top = std::min(box.Top, box.Bottom - 1);
            if ((ResizeEdges & Bottom) != 0) box.Bottom = std::max(box.Bottom, box.Top + 1);
        };
        if ((ResizeEdges & Left) != 0) b.Left += dx;
        if ((ResizeEdges & Right) != 0) b.Right += dx;
        if ((ResizeEdges & Top) != 0) b.Top += dy;
        if ((ResizeEdges & Bottom) != 0) b.Bottom += dy;
        keepApart(b);
        Snapped = Snap(b, ResizeEdges, Targets, screen, DragSnapping);
        b = Snapped.Box;
        keepApart(b);
        Snapped.Box = b;
        MovingItems.front().Rect = RectOf(b);
        SetStatus(QStringLiteral("Resizing record %1 to %2").arg(Moving.front()).arg(BoxText(b)) +
                  SnapNote(Snapped));
    } else if (Doing == Gesture::Banding) {
        Band = QRectF(PressScreenAt, at).normalized();
        SetStatus(QStringLiteral("Selecting ") + Controls(InBand(Band).size()));
    }
    Repaint(before);
}

void ScreenEditor::Release() {
    const Gesture done = Doing;
    Doing = Gesture::None;
    const std::vector<int> moved = std::move(Moving);
    Moving.clear();
    MovingItems.clear();
    const QRectF band = Band;
    Band = {};
    Snapped.Guides.clear();
    switch (done) {
    case Gesture::None:
        return;
    case Gesture::Pressed:
        if (Kind == PressKind::BandOrSelect && AddToSelection)
            Toggle(PressedItem);
        else if (Kind == PressKind::BandOrSelect || (Kind == PressKind::Move && ClickSelectsAlone))
            Select({PressedItem}, PressedItem);
        else if (Kind == PressKind::Band && !AddToSelection)
            Select({}, 0);
        break;
    case Gesture::Moving:
        Apply(MoveControls(Session.Layout().Records(), moved, MovedX, MovedY),
              ControlsStepText("Move", moved.size()));
        break;
    case Gesture::Resizing:
        Apply(SetControlBox(Session.Layout().Records(), moved.front(), Snapped.Box),
              ControlsStepText("Resize", 1));
        break;
    case Gesture::Banding: {
        const std::vector<int> inside = InBand(band);
        std::vector<int> chosen = AddToSelection ? Session.Selection() : std::vector<int>();
        chosen.insert(chosen.end(), inside.begin(), inside.end());
        const int reference = AddToSelection && ReferenceControl() != 0 ? ReferenceControl()
                              : inside.empty()                          ? 0
                                                                        : inside.front();
        Select(std::move(chosen), reference);
        break;
    }
    }
    // The layer takes back the controls it left out while they moved.
    viewport()->update();
    ShowRestingStatus();
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

void ScreenEditor::CancelGesture() {
    Doing = Gesture::None;
    Kind = PressKind::Nothing;
    Moving.clear();
    MovingItems.clear();
    Snapped = {};
    Band = {};
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
