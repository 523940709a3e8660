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

using namespace ScreenEditorShared;

ScreenEditor::ScreenEditor(ScreenPreview& preview, LayoutSession& session, UserDialogs& dialogs,
                           QWidget* parent)
    : QAbstractScrollArea(parent), Preview(preview), Session(session), Dialogs(dialogs) {
    setObjectName(QStringLiteral("ScreenEditor"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setFocusProxy(this);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    BuildActions();
    connect(&Session, &LayoutSession::SelectionChanged, this, [this] {
        // A new selection starts a new run of nudges.
        ++NudgeRun;
        if (Reference != 0 && !Session.IsSelected(Reference)) Reference = 0;
        UpdateActions();
        viewport()->update();
        ShowRestingStatus();
    });
    SceneChanged();
}

ScreenEditor::~ScreenEditor() = default;

// ---- actions

const ScreenScene& ScreenEditor::Scene() const {
    return Preview.Scene();
}

void ScreenEditor::SceneChanged() {
    if (Doing != Gesture::None) CancelGesture();
    // What the view shows stays where it is, however far the controls now reach.
    const QPointF corner = ToScreen(QPointF(0, 0));
    const ScreenScene& scene = Scene();
    OwnPositions.clear();
    for (const SceneItem& item : scene.Items)
        if (!item.Persistent) OwnPositions.push_back(item.Position);
    std::sort(OwnPositions.begin(), OwnPositions.end());

    // The screen and the controls about it, as far as two screens beyond it, with a margin.
    const int64_t w = std::max(1, scene.Size.Width), h = std::max(1, scene.Size.Height);
    Content = {0, 0, w, h};
    for (const SceneItem& item : scene.Items) {
        const PixelBox b = BoxOf(item.Rect);
        Content.Left = std::min(Content.Left, std::max(b.Left, -2 * w));
        Content.Top = std::min(Content.Top, std::max(b.Top, -2 * h));
        Content.Right = std::max(Content.Right, std::min(b.Right, 3 * w));
        Content.Bottom = std::max(Content.Bottom, std::min(b.Bottom, 3 * h));
    }
    const int64_t margin = std::max<int64_t>(32, std::max(w, h) / 16);
    Content = {Content.Left - margin, Content.Top - margin, Content.Right + margin,
               Content.Bottom + margin};
    if (FitsView) {
        ZoomToFit();
    } else {
        UpdateScrollBars();
        Place(corner, QPointF(0, 0));
    }
    ViewChanged();
    UpdateActions();
    ShowRestingStatus();
}

void ScreenEditor::Place(QPointF screenPoint, QPointF viewPoint) {
    const QPointF origin = screenPoint * ZoomFactor - viewPoint;
    horizontalScrollBar()->setValue(
        qRound(origin.x() - static_cast<double>(Content.Left) * ZoomFactor + PadX));
    verticalScrollBar()->setValue(
        qRound(origin.y() - static_cast<double>(Content.Top) * ZoomFactor + PadY));
}

void ScreenEditor::ViewChanged() {
    LayerValid = false;
    viewport()->update();
}

void ScreenEditor::UpdateScrollBars() {
    const int vw = viewport()->width(), vh = viewport()->height();
    const int cw = static_cast<int>(std::ceil(static_cast<double>(Content.Width()) * ZoomFactor));
    const int ch = static_cast<int>(std::ceil(static_cast<double>(Content.Height()) * ZoomFactor));
    horizontalScrollBar()->setRange(0, std::max(0, cw - vw));
    horizontalScrollBar()->setPageStep(std::max(1, vw));
    horizontalScrollBar()->setSingleStep(std::max(1, vw / 20));
    verticalScrollBar()->setRange(0, std::max(0, ch - vh));
    verticalScrollBar()->setPageStep(std::max(1, vh));
    verticalScrollBar()->setSingleStep(std::max(1, vh / 20));
    // Content smaller than the view stands in its middle.
    PadX = cw < vw ? (vw - cw) / 2 : 0;
    PadY = ch < vh ? (vh - ch) / 2 : 0;
}

QPointF ScreenEditor::Origin() const {
    return {static_cast<double>(Content.Left) * ZoomFactor + horizontalScrollBar()->value() - PadX,
            static_cast<double>(Content.Top) * ZoomFactor + verticalScrollBar()->value() - PadY};
}

QPointF ScreenEditor::ToScreen(QPointF p) const {
    return (p + Origin()) / ZoomFactor;
}

QPointF ScreenEditor::FromScreen(QPointF p) const {
    return p * ZoomFactor - Origin();
}

QRectF ScreenEditor::ViewRect(const PixelBox& b) const {
    return {FromScreen(QPointF(static_cast<double>(b.Left), static_cast<double>(b.Top))),
            QSizeF(static_cast<double>(b.Width()) * ZoomFactor,
                   static_cast<double>(b.Height()) * ZoomFactor)};
}

QRectF ScreenEditor::ViewRect(const SceneRect& r) const {
    return ViewRect(BoxOf(r));
}

QRectF ScreenEditor::ScreenRectInView() const {
    return ViewRect(
        PixelBox{0, 0, std::max(1, Scene().Size.Width), std::max(1, Scene().Size.Height)});
}

void ScreenEditor::SetZoom(double zoom, QPointF anchor) {
    const QPointF at = ToScreen(anchor);
    ZoomFactor = std::clamp(zoom, MinZoom, MaxZoom);
    FitsView = false;
    UpdateScrollBars();
    // The screen point that was under the anchor is under it again.
    Place(at, anchor);
    ViewChanged();
    emit ZoomChanged(ZoomFactor);
    ShowRestingStatus();
}

void ScreenEditor::ZoomToFit() {
    const int vw = viewport()->width(), vh = viewport()->height();
    const ScreenScene& scene = Scene();
    const double w = std::max(1, scene.Size.Width), h = std::max(1, scene.Size.Height);
    // The screen, and the controls of this screen lying partly or wholly off it (as far as two
    // screens beyond), so each stays in sight with its handles.
    QRectF fitted(0, 0, w, h);
    for (const SceneItem& item : scene.Items) {
        if (item.Persistent) continue;
        fitted = fitted.united(QRectF(item.Rect.Left(), item.Rect.Top(), item.Rect.Width(),
                                      item.Rect.Height())
                                   .intersected(QRectF(-2 * w, -2 * h, 5 * w, 5 * h)));
    }
    const double padding = FitPadding + (fitted == QRectF(0, 0, w, h) ? 0 : HandleSize);
    const double zoom = std::min((vw - 2.0 * padding) / fitted.width(),
                                 (vh - 2.0 * padding) / fitted.height());
    SetZoom(zoom > 0 ? std::max(zoom, MinZoom) : MinZoom, QPointF(vw / 2.0, vh / 2.0));
    // Centred on what is fitted, whatever lay in the middle of the view before.
    CentreOn(fitted.center());
    FitsView = true;
}

void ScreenEditor::CentreOn(QPointF screenPoint) {
    const QPointF shift = FromScreen(screenPoint) - QRectF(viewport()->rect()).center();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(shift.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(shift.y()));
    ViewChanged();
}

void ScreenEditor::EnsureVisible(int position) {
    const SceneItem* item = Scene().ItemOfRecord(position);
    if (item == nullptr) return;
    const QRectF r =
        ViewRect(item->Rect).adjusted(-HandleSize, -HandleSize, HandleSize, HandleSize);
    const QRectF view(viewport()->rect());
    if (view.contains(r)) return;
    const auto least = [](qreal low, qreal high, qreal from, qreal to) {
        if (high - low >= to - from || low < from) return low - from;
        return high > to ? high - to : 0.0;
    };
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                    qRound(least(r.left(), r.right(), view.left(), view.right())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() +
                                  qRound(least(r.top(), r.bottom(), view.top(), view.bottom())));
    ViewChanged();
}

void ScreenEditor::ZoomToActualSize() {
    const QPointF cursor = viewport()->mapFromGlobal(QCursor::pos());
    SetZoom(1.0, viewport()->rect().contains(cursor.toPoint())
                     ? cursor
                     : QPointF(viewport()->rect().center()));
}

void ScreenEditor::ZoomIn() {
    const QPointF cursor = viewport()->mapFromGlobal(QCursor::pos());
    const QPointF anchor = viewport()->rect().contains(cursor.toPoint())
                               ? cursor
                               : QPointF(viewport()->rect().center());
    for (double step : ZoomSteps)
        if (step > ZoomFactor * 1.001) return SetZoom(step, anchor);
}

void ScreenEditor::ZoomOut() {
    const QPointF cursor = viewport()->mapFromGlobal(QCursor::pos());
    const QPointF anchor = viewport()->rect().contains(cursor.toPoint())
                               ? cursor
                               : QPointF(viewport()->rect().center());
    for (auto step = std::rbegin(ZoomSteps); step != std::rend(ZoomSteps); ++step)
        if (*step < ZoomFactor / 1.001) return SetZoom(*step, anchor);
}

void ScreenEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (FitsView)
        ZoomToFit();
    else
        UpdateScrollBars();
    ViewChanged();
}

void ScreenEditor::scrollContentsBy(int, int) {
    ViewChanged();
}

// ---- selection

std::vector<int> ScreenEditor::SelectedHere() const {
    std::vector<int> here;
    const std::vector<int>& selected = Session.Selection();
    std::set_intersection(selected.begin(), selected.end(), OwnPositions.begin(),
                          OwnPositions.end(), std::back_inserter(here));
    return here;
}

int ScreenEditor::ReferenceControl() const {
    const std::vector<int> here = SelectedHere();
    if (Reference != 0 && Contains(here, Reference)) return Reference;
    return here.empty() ? 0 : here.front();
}

void ScreenEditor::Select(std::vector<int> positions, int reference) {
    Reference = reference;
    Session.SetSelection(std::move(positions));
    UpdateActions();
    viewport()->update();
}

std::vector<const SceneItem*> ScreenEditor::StackAt(QPointF viewPoint) const {
    std::vector<const SceneItem*> stack;
    const auto& items = Scene().Items;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->Persistent) continue;
        if (Widened(ViewRect(it->Rect)).contains(viewPoint)) stack.push_back(&*it);
    }
    return stack;
}

void ScreenEditor::SelectBeneath(QPointF viewPoint) {
    const std::vector<const SceneItem*> stack = StackAt(viewPoint);
    if (stack.empty()) return;
    std::size_t next = stack.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < stack.size(); ++i)
        if (Session.IsSelected(stack[i]->Position)) {
            next = (i + 1) % stack.size();
            break;
        }
    Select({stack[next]->Position}, stack[next]->Position);
}

void ScreenEditor::Toggle(int position) {
    std::vector<int> selection = Session.Selection();
    const auto at = std::find(selection.begin(), selection.end(), position);
    if (at != selection.end()) {
        selection.erase(at);
        Select(std::move(selection), Reference == position ? 0 : Reference);
    } else {
        const int reference = SelectedHere().empty() ? position : ReferenceControl();
        selection.push_back(position);
        Select(std::move(selection), reference);
    }
}

void ScreenEditor::SelectAll() {
    Select(OwnPositions, OwnPositions.empty() ? 0 : OwnPositions.front());
}

// ---- edits

void ScreenEditor::Apply(const ControlsEdit& edit, const std::string& step,
                         const std::string& runKey) {
    Session.Apply(edit, step, runKey);
}

void ScreenEditor::Nudge(int dx, int dy) {
    const std::vector<int> here = SelectedHere();
    if (here.empty()) return;
    if (!NudgeClock.isValid() || NudgeClock.elapsed() > NudgePause) ++NudgeRun;
    NudgeClock.restart();
    std::string key = "nudge " + std::to_string(NudgeRun) + ":";
    for (int p : here)
        key += " " + std::to_string(p);
    Apply(MoveControls(Session.Layout().Records(), here, dx, dy),
          ControlsStepText("Move", here.size()), key);
}

void ScreenEditor::Arrange(ArrangeCommand command) {
    const std::vector<int> here = SelectedHere();
    const bool distribute =
        command == ArrangeCommand::DistributeAcross || command == ArrangeCommand::DistributeDown;
    const bool across = command == ArrangeCommand::DistributeAcross;
    if (distribute && here.size() < 3) {
        SetStatus(tr("Select three controls or more to distribute"));
        return;
    }
    const ControlsEdit edit = ArrangeControls(Session.Layout().Records(), here, ReferenceControl(),
                                              command, Scene().Size);
    Apply(edit, ArrangeStepText(command, here.size()));
    if (!distribute) return;
    // A distribute that moves a control a few pixels is hard to see: the bar says what it did.
    const auto records = Session.Layout().Records();
    int64_t first = std::numeric_limits<int64_t>::max(), last = std::numeric_limits<int64_t>::min();
    int64_t sizes = 0;
    for (int position : here) {
        const ControlRecord& r = records[static_cast<std::size_t>(position - 1)];
        const int64_t from = across ? r.rX1 : r.rY1, to = across ? r.rX2 : r.rY2;
        first = std::min(first, from);
        last = std::max(last, to);
        sizes += to - from;
    }
    const int64_t gap = (last - first - sizes) / static_cast<int64_t>(here.size() - 1);
    SetStatus((edit.Empty() ? tr("%1 are evenly spaced already: gaps of %2 pixels")
                            : tr("Distributed %1: gaps of %2 pixels"))
                  .arg(Controls(here.size()), Pixels(gap)));
}

void ScreenEditor::MoveSelectionInside() {
    const std::vector<int> here = SelectedHere();
    Apply(MoveInside(Session.Layout().Records(), here, Scene().Size),
          ControlsStepText("Move", here.size()) + " inside the screen");
}

// ---- the mouse

bool ScreenEditor::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The topmost control painted under the cursor, as the preview's own tooltip finds it.
        const QPointF at = ToScreen(static_cast<QHelpEvent*>(event)->pos());
        const SceneItem* item = Scene().ItemAt(at.x(), at.y());
        ShowPlainToolTip(event, item != nullptr ? Preview.ToolTipFor(*item) : QString(),
                         viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// ---- the status line

void ScreenEditor::SetStatus(const QString& text) {
    if (text == Status) return;
    Status = text;
    emit StatusChanged(Status);
}

void ScreenEditor::ShowRestingStatus() {
    if (Dragging()) return;
    QStringList parts;
    if (Preview.Layout() != nullptr && viewport()->rect().contains(Pointer.toPoint())) {
        const QPointF at = ToScreen(Pointer);
        parts << QStringLiteral("%1, %2").arg(Pixels(static_cast<int64_t>(std::floor(at.x()))),
                                              Pixels(static_cast<int64_t>(std::floor(at.y()))));
    }
    const std::vector<int> here = SelectedHere();
    if (here.size() == 1) {
        if (const SceneItem* item = Scene().ItemOfRecord(here.front()))
            parts << QStringLiteral("%1, record %2: %3")
                         .arg(QString::fromLatin1(KindName(item->Kind)))
                         .arg(item->Position)
                         .arg(BoxText(BoxOf(item->Rect)));
    } else if (here.size() > 1) {
        parts << QStringLiteral("%1 controls selected, %2")
                     .arg(here.size())
                     .arg(BoxText(BoundsOf(Session.Layout().Records(), here)));
    }
    parts << QStringLiteral("Zoom ") + Percent(ZoomFactor);
    SetStatus(parts.join(QStringLiteral("   ")));
}

// ---- painting
