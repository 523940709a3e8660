#include "ui/ScreenEditor.h"

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
#include "ui/HandlerGuard.h"
#include "ui/LayoutSession.h"
#include "ui/PictureCache.h"
#include "ui/ProgramSettings.h"
#include "ui/ScenePainter.h"
#include "ui/ScreenPreview.h"

namespace {

// The zooms Ctrl+plus and Ctrl+minus step through.
constexpr double ZoomSteps[] = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};
// Room left around the screen when it is fitted into the view, in view pixels.
constexpr int FitPadding = 8;
// Nudges further apart than this start a new step of the history.
constexpr qint64 NudgePause = 1500;

const QColor MarginColour(0x50, 0x55, 0x5C);
const QColor ScreenEdgeColour(0x9A, 0xA4, 0xB0);
const QColor SelectionColour(0x2F, 0x8C, 0xFF);
const QColor ReferenceColour(0xFF, 0x9F, 0x1C);
const QColor GuideColour(0xFF, 0x00, 0xC0);
const QColor PixelGridColour(128, 128, 128, 80);

// Where the user's snapping choices are kept between runs.
QSettings Settings() {
    return ProgramSettings();
}

SnapSettings StoredSnapSettings() {
    const QSettings settings = Settings();
    SnapSettings s;
    s.ToGrid = settings.value(QStringLiteral("Editing/SnapToGrid"), true).toBool();
    s.GridStep =
        std::clamp(settings.value(QStringLiteral("Editing/GridStep"), DefaultGridStep).toInt(), 2,
                   LargestGridStep);
    s.ToControls = settings.value(QStringLiteral("Editing/SnapToControls"), true).toBool();
    s.ToScreen = settings.value(QStringLiteral("Editing/SnapToScreen"), true).toBool();
    s.ToCentres = settings.value(QStringLiteral("Editing/SnapToCentres"), true).toBool();
    return s;
}

void StoreSnapSettings(const SnapSettings& s) {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("Editing/SnapToGrid"), s.ToGrid);
    settings.setValue(QStringLiteral("Editing/GridStep"), s.GridStep);
    settings.setValue(QStringLiteral("Editing/SnapToControls"), s.ToControls);
    settings.setValue(QStringLiteral("Editing/SnapToScreen"), s.ToScreen);
    settings.setValue(QStringLiteral("Editing/SnapToCentres"), s.ToCentres);
    settings.sync();
}

PixelBox BoxOf(const SceneRect& r) {
    return {r.Left(), r.Top(), r.Left() + r.Width(), r.Top() + r.Height()};
}

SceneRect RectOf(const PixelBox& b) {
    const auto cut = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    return {cut(b.Left), cut(b.Top), cut(b.Right), cut(b.Bottom)};
}

// A control the host draws as nothing at all: a label with no text. In editing it shows its
// outline.
bool ShowsNothing(const SceneItem& item) {
    return (item.Shape == ItemShape::Text || item.Shape == ItemShape::Title) && item.Text.empty();
}

// A control drawn thinner than a few pixels, widened about its middle so it can be seen and picked.
QRectF Widened(QRectF r) {
    constexpr qreal least = 4;
    if (r.width() < least) r.adjust(-(least - r.width()) / 2, 0, (least - r.width()) / 2, 0);
    if (r.height() < least) r.adjust(0, -(least - r.height()) / 2, 0, (least - r.height()) / 2);
    return r;
}

QString Percent(double zoom) {
    return QStringLiteral("%1 %").arg(qRound(zoom * 100));
}

QString Controls(std::size_t n) {
    return n == 1 ? QStringLiteral("1 control") : QStringLiteral("%1 controls").arg(n);
}

QString Pixels(int64_t v) {
    return QString::number(static_cast<qlonglong>(v));
}

QString BoxText(const PixelBox& b) {
    return QStringLiteral("%1,%2 to %3,%4 (%5 x %6)")
        .arg(Pixels(b.Left), Pixels(b.Top), Pixels(b.Right), Pixels(b.Bottom), Pixels(b.Width()),
             Pixels(b.Height()));
}

QString SnapNote(const SnapResult& result) {
    const std::string text = SnapText(result);
    return text.empty() ? QString() : QStringLiteral("; snapped: ") + QString::fromLatin1(text);
}

// The keys the editor takes for itself while it has the focus, before any shortcut of the window.
bool IsEditorKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Escape:
        return mods == Qt::NoModifier;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return mods == Qt::NoModifier || mods == Qt::ShiftModifier;
    case Qt::Key_A:
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_Minus:
        return mods == Qt::ControlModifier;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return (mods & ~Qt::ShiftModifier) == Qt::ControlModifier;
    default:
        return false;
    }
}

bool Contains(const std::vector<int>& sorted, int position) {
    return std::binary_search(sorted.begin(), sorted.end(), position);
}

} // namespace

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

void ScreenEditor::BuildActions() {
    const auto action = [this](const char* name, const QString& caption, QKeySequence key = {}) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            // Shown on the menus; the editor takes these keys itself while it has the focus.
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetShortcut);
        }
        addAction(a);
        return a;
    };
    const auto guarded = [this](QAction* a, auto handler) {
        connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(Dialogs, handler); });
    };

    actSelectAll = action("mnuSelectAllOnScreen", tr("Select &All on the Screen"),
                          QKeySequence(Qt::CTRL | Qt::Key_A));
    guarded(actSelectAll, [this] { SelectAll(); });
    actClearSelection =
        action("mnuClearSelection", tr("C&lear the Selection"), QKeySequence(Qt::Key_Escape));
    guarded(actClearSelection, [this] { Select({}, 0); });
    actSelectBeneath = action("mnuSelectBeneath", tr("Select &Beneath"));
    guarded(actSelectBeneath, [this] { SelectBeneath(Pointer); });

    mnuArrange = new QMenu(tr("&Arrange"), this);
    mnuArrange->setObjectName(QStringLiteral("mnuArrange"));
    const struct {
        const char* Name;
        const char* Caption;
        const char* Tip;
        ArrangeCommand Command;
    } arranges[] = {
        {"mnuAlignLeft", "Align &Left Edges", "", ArrangeCommand::AlignLeft},
        {"mnuAlignRight", "Align &Right Edges", "", ArrangeCommand::AlignRight},
        {"mnuAlignTop", "Align &Top Edges", "", ArrangeCommand::AlignTop},
        {"mnuAlignBottom", "Align &Bottom Edges", "", ArrangeCommand::AlignBottom},
        {"mnuAlignCentres", "Align &Centres", "Puts the centres on one vertical line",
         ArrangeCommand::AlignCentres},
        {"mnuAlignMiddles", "Align &Middles", "Puts the centres on one horizontal line",
         ArrangeCommand::AlignMiddles},
        {"mnuDistributeAcross", "Distribute &Across", "Equal gaps from left to right",
         ArrangeCommand::DistributeAcross},
        {"mnuDistributeDown", "Distribute &Down", "Equal gaps from top to bottom",
         ArrangeCommand::DistributeDown},
        {"mnuSameWidth", "Same &Width", "", ArrangeCommand::SameWidth},
        {"mnuSameHeight", "Same &Height", "", ArrangeCommand::SameHeight},
    };
    for (const auto& a : arranges) {
        QAction* item = action(a.Name, tr(a.Caption));
        if (*a.Tip != '\0') item->setStatusTip(tr(a.Tip));
        const ArrangeCommand command = a.Command;
        guarded(item, [this, command] { Arrange(command); });
        ArrangeActions.emplace_back(item, command);
        mnuArrange->addAction(item);
        if (command == ArrangeCommand::AlignMiddles || command == ArrangeCommand::DistributeDown)
            mnuArrange->addSeparator();
    }
    mnuArrange->addSeparator();
    actMoveInside = action("mnuMoveInside", tr("Move &Inside the Screen"));
    guarded(actMoveInside, [this] { MoveSelectionInside(); });
    mnuArrange->addAction(actMoveInside);

    mnuSnap = new QMenu(tr("&Snap"), this);
    mnuSnap->setObjectName(QStringLiteral("mnuSnap"));
    const auto toggle = [&](const char* name, const QString& caption, bool SnapSettings::*field) {
        QAction* a = action(name, caption);
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this, field](bool on) {
            SnapSettings s = Snapping();
            if (s.*field == on) return;
            s.*field = on;
            SetSnapping(s);
        });
        mnuSnap->addAction(a);
        return a;
    };
    actSnapGrid = toggle("mnuSnapGrid", tr("To the &Grid"), &SnapSettings::ToGrid);
    actGridStep = action("mnuGridStep", tr("Grid &Step..."));
    guarded(actGridStep, [this] {
        SnapSettings s = Snapping();
        const std::string answer = Dialogs.InputBox("Snap to a grid of how many pixels? (2 to " +
                                                        std::to_string(LargestGridStep) + ")",
                                                    "Grid Step", std::to_string(s.GridStep));
        const auto first = answer.find_first_not_of(' ');
        if (first == std::string::npos) return; // cancelled
        const auto last = answer.find_last_not_of(' ');
        int step = 0;
        const auto [end, error] =
            std::from_chars(answer.data() + first, answer.data() + last + 1, step);
        if (error != std::errc() || end != answer.data() + last + 1 || step < 2 ||
            step > LargestGridStep) {
            Dialogs.MsgBox("The grid step must be a whole number of pixels from 2 to " +
                               std::to_string(LargestGridStep) + ".",
                           MsgButtons::OK, MsgIcon::Exclamation);
            return;
        }
        s.GridStep = step;
        s.ToGrid = true;
        SetSnapping(s);
    });
    mnuSnap->addAction(actGridStep);
    mnuSnap->addSeparator();
    actSnapControls =
        toggle("mnuSnapControls", tr("To Other &Controls"), &SnapSettings::ToControls);
    actSnapScreen = toggle("mnuSnapScreen", tr("To the Sc&reen's Edges"), &SnapSettings::ToScreen);
    actSnapCentres =
        toggle("mnuSnapCentres", tr("To C&entres as well as Edges"), &SnapSettings::ToCentres);
    connect(mnuSnap, &QMenu::aboutToShow, this, [this] { SetSnapping(Snapping()); });

    mnuZoom = new QMenu(tr("&Zoom"), this);
    mnuZoom->setObjectName(QStringLiteral("mnuZoom"));
    QAction* in = action("mnuZoomIn", tr("Zoom &In"), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    guarded(in, [this] { ZoomIn(); });
    QAction* out = action("mnuZoomOut", tr("Zoom &Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    guarded(out, [this] { ZoomOut(); });
    QAction* fit = action("mnuZoomFit", tr("&Fit the Screen"), QKeySequence(Qt::CTRL | Qt::Key_0));
    guarded(fit, [this] { ZoomToFit(); });
    QAction* actual =
        action("mnuZoomActual", tr("&Actual Size (100 %)"), QKeySequence(Qt::CTRL | Qt::Key_1));
    guarded(actual, [this] { ZoomToActualSize(); });
    mnuZoom->addActions({in, out, fit, actual});

    SetSnapping(Snapping());
    UpdateActions();
}

QList<QAction*> ScreenEditor::SelectionActions() const {
    return {actSelectAll, actClearSelection, actSelectBeneath};
}

void ScreenEditor::UpdateActions() {
    const std::size_t selected = SelectedHere().size();
    for (const auto& [action, command] : ArrangeActions)
        action->setEnabled(selected >= FewestControls(command));
    actMoveInside->setEnabled(selected > 0);
    actSelectAll->setEnabled(!OwnPositions.empty());
    actClearSelection->setEnabled(!Session.Selection().empty());
}

SnapSettings ScreenEditor::Snapping() const {
    return StoredSnapSettings();
}

void ScreenEditor::SetSnapping(const SnapSettings& settings) {
    if (settings != StoredSnapSettings()) StoreSnapSettings(settings);
    const QSignalBlocker a(actSnapGrid), b(actSnapControls), c(actSnapScreen), d(actSnapCentres);
    actSnapGrid->setChecked(settings.ToGrid);
    actSnapGrid->setText(tr("To the &Grid (%1 pixels)").arg(settings.GridStep));
    actSnapControls->setChecked(settings.ToControls);
    actSnapScreen->setChecked(settings.ToScreen);
    actSnapCentres->setChecked(settings.ToCentres);
}

SnapSettings ScreenEditor::SettingsAtThisZoom() const {
    SnapSettings s = Snapping();
    s.Tolerance = SnapTolerance(ZoomFactor);
    return s;
}

// ---- the scene and the view

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
    const double w = std::max(1, Scene().Size.Width), h = std::max(1, Scene().Size.Height);
    const double zoom = std::min((vw - 2.0 * FitPadding) / w, (vh - 2.0 * FitPadding) / h);
    SetZoom(zoom > 0 ? zoom : MinZoom, QPointF(vw / 2.0, vh / 2.0));
    // Centred on the screen, whatever lay in the middle of the view before.
    CentreOn(QPointF(w / 2, h / 2));
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
    if (edit.Empty()) return;
    const std::string refused = Session.Layout().ApplyEdit(edit, step, runKey);
    if (!refused.empty()) Dialogs.MsgBox(refused, MsgButtons::OK, MsgIcon::Exclamation);
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
    Apply(ArrangeControls(Session.Layout().Records(), here, ReferenceControl(), command,
                          Scene().Size),
          ArrangeStepText(command, here.size()));
}

void ScreenEditor::MoveSelectionInside() {
    const std::vector<int> here = SelectedHere();
    Apply(MoveInside(Session.Layout().Records(), here, Scene().Size),
          ControlsStepText("Move", here.size()) + " inside the screen");
}

// ---- the mouse

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

bool ScreenEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsEditorKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void ScreenEditor::keyPressEvent(QKeyEvent* event) {
    if (!IsEditorKey(*event)) return QAbstractScrollArea::keyPressEvent(event);
    RunGuarded(Dialogs, [&] {
        const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
        const int step = shift ? Snapping().GridStep : 1;
        switch (event->key()) {
        case Qt::Key_Escape:
            if (Doing != Gesture::None)
                CancelGesture();
            else
                Select({}, 0);
            break;
        case Qt::Key_Left:
            if (!Dragging()) Nudge(-step, 0);
            break;
        case Qt::Key_Right:
            if (!Dragging()) Nudge(step, 0);
            break;
        case Qt::Key_Up:
            if (!Dragging()) Nudge(0, -step);
            break;
        case Qt::Key_Down:
            if (!Dragging()) Nudge(0, step);
            break;
        case Qt::Key_A:
            SelectAll();
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomIn();
            break;
        case Qt::Key_Minus:
            ZoomOut();
            break;
        case Qt::Key_0:
            ZoomToFit();
            break;
        case Qt::Key_1:
            ZoomToActualSize();
            break;
        default:
            break;
        }
    });
    event->accept();
}

void ScreenEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (Dragging()) CancelGesture();
    Pointer = event->pos();
    QMenu menu(this);
    actSelectBeneath->setEnabled(StackAt(Pointer).size() > 1);
    menu.addAction(actSelectBeneath);
    menu.addActions(QList<QAction*>{actSelectAll, actClearSelection});
    menu.addSeparator();
    menu.addMenu(mnuArrange);
    menu.addMenu(mnuSnap);
    menu.addMenu(mnuZoom);
    menu.addSeparator();
    Preview.AddViewItems(menu);
    menu.exec(event->globalPos());
}

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
