#include "ui/canvas/SelectionTool.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

#include "layout/cLayout.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenEditorShared.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/session/LayoutSession.h"

using namespace ScreenEditorShared;

void SelectionTool::Press(const QMouseEvent& event) {
    if (Doing != Gesture::None || View.Preview.Layout() == nullptr) return;
    PressAt = event.position();
    PressScreenAt = View.ToScreen(PressAt);
    View.Pointer = PressAt;
    const Qt::KeyboardModifiers mods = event.modifiers();
    AddToSelection = (mods & Qt::ControlModifier) != 0;
    ClickSelectsAlone = false;
    PressedItem = 0;
    Kind = PressKind::Nothing;
    Doing = Gesture::Pressed;

    if (mods == Qt::NoModifier) {
        if ((ResizeEdges = View.HandleAt(PressAt)) != 0) {
            Kind = PressKind::Resize;
            return;
        }
    }
    const std::vector<const SceneItem*> stack = View.StackAt(PressAt);
    const SceneItem* top = stack.empty() ? nullptr : stack.front();
    if ((mods & Qt::AltModifier) != 0) {
        View.SelectBeneath(PressAt);
        Kind = stack.empty() ? PressKind::Nothing : PressKind::Move;
        return;
    }
    if ((mods & Qt::ShiftModifier) != 0 || top == nullptr) {
        Kind = PressKind::Band;
        return;
    }
    PressedItem = top->Position;
    const bool selected = View.Session.IsSelected(PressedItem);
    if (top->Background && !selected) {
        // A background picture lies under everything: dragging over it draws a band, as over
        // empty space, and a click picks it.
        Kind = PressKind::BandOrSelect;
        return;
    }
    if (AddToSelection) {
        // Ctrl+click adds or removes the control at once; dragging from there does nothing.
        View.Toggle(PressedItem);
        return;
    }
    if (!selected) View.Select({PressedItem}, PressedItem);
    ClickSelectsAlone = selected;
    Kind = PressKind::Move;
}

void SelectionTool::Move(QPointF viewPoint) {
    if (Doing == Gesture::Pressed) {
        if ((viewPoint - PressAt).manhattanLength() < QApplication::startDragDistance()) return;
        Begin();
    }
    if (Dragging()) Drag(viewPoint);
}

void SelectionTool::Release(QPointF viewPoint) {
    if (Dragging()) Drag(viewPoint);
    Finish();
}

void SelectionTool::Begin() {
    const QRegion before = View.GestureRegion();
    Snapped = {};
    MovedX = MovedY = 0;
    switch (Kind) {
    case PressKind::Move:
    case PressKind::Resize: {
        Moving = View.SelectedHere();
        if (Moving.empty() || (Kind == PressKind::Resize && Moving.size() != 1)) {
            Moving.clear();
            Kind = PressKind::Nothing;
            return;
        }
        const auto records = View.Session.Layout().Records();
        MovingBoxes.clear();
        MovingItems.clear();
        for (int p : Moving) {
            MovingBoxes.push_back(BoxOf(records[static_cast<std::size_t>(p - 1)]));
            MovingItems.push_back(*View.Scene().ItemOfRecord(p));
        }
        MovingBounds = BoundsOf(records, Moving);
        Targets = View.TargetsBeside(Moving);
        // Read once a drag, not at every move of the mouse.
        DragSnapping = View.SettingsAtThisZoom();
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
    View.Repaint(before);
}

void SelectionTool::Drag(QPointF viewPoint) {
    const QRegion before = View.GestureRegion();
    const QPointF at = View.ToScreen(viewPoint);
    const int64_t dx = std::llround(at.x() - PressScreenAt.x());
    const int64_t dy = std::llround(at.y() - PressScreenAt.y());
    const ScreenScene& scene = View.Scene();
    const PixelBox screen{0, 0, scene.Size.Width, scene.Size.Height};
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
        View.SetStatus(QStringLiteral("Moving %1 by %2, %3")
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
        View.SetStatus(
            QStringLiteral("Resizing record %1 to %2").arg(Moving.front()).arg(BoxText(b)) +
            SnapNote(Snapped));
    } else if (Doing == Gesture::Banding) {
        Band = QRectF(PressScreenAt, at).normalized();
        View.SetStatus(QStringLiteral("Selecting ") + Controls(View.InBand(Band).size()));
    }
    View.Repaint(before);
}

void SelectionTool::Finish() {
    const Gesture done = Doing;
    Doing = Gesture::None;
    const std::vector<int> moved = std::move(Moving);
    Moving.clear();
    MovingItems.clear();
    const QRectF band = Band;
    Band = {};
    Snapped.Guides.clear();
    LayoutSession& session = View.Session;
    switch (done) {
    case Gesture::None:
        return;
    case Gesture::Pressed:
        if (Kind == PressKind::BandOrSelect && AddToSelection)
            View.Toggle(PressedItem);
        else if (Kind == PressKind::BandOrSelect || (Kind == PressKind::Move && ClickSelectsAlone))
            View.Select({PressedItem}, PressedItem);
        else if (Kind == PressKind::Band && !AddToSelection)
            View.Select({}, 0);
        break;
    case Gesture::Moving:
        View.Apply(MoveControls(session.Layout().Records(), moved, MovedX, MovedY),
                   ControlsStepText("Move", moved.size()));
        break;
    case Gesture::Resizing:
        View.Apply(SetControlBox(session.Layout().Records(), moved.front(), Snapped.Box),
                   ControlsStepText("Resize", 1));
        break;
    case Gesture::Banding: {
        const std::vector<int> inside = View.InBand(band);
        std::vector<int> chosen = AddToSelection ? session.Selection() : std::vector<int>();
        chosen.insert(chosen.end(), inside.begin(), inside.end());
        const int reference = AddToSelection && View.ReferenceControl() != 0
                                  ? View.ReferenceControl()
                              : inside.empty() ? 0
                                               : inside.front();
        View.Select(std::move(chosen), reference);
        break;
    }
    }
    // The layer takes back the controls it left out while they moved.
    View.viewport()->update();
    View.ShowRestingStatus();
}

void SelectionTool::Cancel() {
    Doing = Gesture::None;
    Kind = PressKind::Nothing;
    Moving.clear();
    MovingItems.clear();
    Snapped = {};
    Band = {};
}

std::vector<int> SelectionTool::Hidden() const {
    if (Doing == Gesture::Moving || Doing == Gesture::Resizing) return Moving;
    return {};
}

const SceneItem* SelectionTool::Drawn(int position) const {
    const auto moving = std::lower_bound(Moving.begin(), Moving.end(), position);
    if (moving == Moving.end() || *moving != position || MovingItems.empty()) return nullptr;
    return &MovingItems[static_cast<std::size_t>(moving - Moving.begin())];
}

void SelectionTool::Paint(QPainter& painter, const QRect& exposed) const {
    if (Doing == Gesture::Moving || Doing == Gesture::Resizing) {
        PaintSceneItems(painter, View.Scene(), *View.Preview.Pictures(), View.ScreenRectInView(),
                        MovingItems, exposed, Doing == Gesture::Resizing);
        painter.save();
        painter.setPen(QPen(GuideColour, 0));
        for (const SnapGuide& g : Snapped.Guides) {
            if (g.Vertical) {
                const qreal x = View.FromScreen(QPointF(static_cast<double>(g.At), 0)).x();
                painter.drawLine(
                    QPointF(x, View.FromScreen(QPointF(0, static_cast<double>(g.From))).y() - 8),
                    QPointF(x, View.FromScreen(QPointF(0, static_cast<double>(g.To))).y() + 8));
            } else {
                const qreal y = View.FromScreen(QPointF(0, static_cast<double>(g.At))).y();
                painter.drawLine(
                    QPointF(View.FromScreen(QPointF(static_cast<double>(g.From), 0)).x() - 8, y),
                    QPointF(View.FromScreen(QPointF(static_cast<double>(g.To), 0)).x() + 8, y));
            }
        }
        painter.restore();
    } else if (Doing == Gesture::Banding) {
        const QRectF r = View.ViewRect(PixelBox{static_cast<int64_t>(std::floor(Band.left())),
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

QRegion SelectionTool::Region() const {
    QRegion region;
    for (const SnapGuide& g : Snapped.Guides) {
        const QPointF a =
            View.FromScreen(QPointF(static_cast<double>(g.Vertical ? g.At : g.From),
                                    static_cast<double>(g.Vertical ? g.From : g.At)));
        const QPointF b = View.FromScreen(QPointF(static_cast<double>(g.Vertical ? g.At : g.To),
                                                  static_cast<double>(g.Vertical ? g.To : g.At)));
        region += QRectF(a, b).normalized().toAlignedRect().adjusted(-10, -10, 10, 10);
    }
    if (Doing == Gesture::Banding)
        region += QRectF(View.FromScreen(Band.topLeft()), View.FromScreen(Band.bottomRight()))
                      .toAlignedRect()
                      .adjusted(-2, -2, 2, 2);
    return region;
}
