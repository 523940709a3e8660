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

// The editing view's commands: its actions and menus (arrange, snap, zoom, selection), the keys
// it takes for itself, and the snapping choices kept between runs.

using namespace ScreenEditorShared;

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
    // Ctrl+Shift and an arrow aligns to that edge; Alt+Shift spreads (arrows) or sizes alike.
    const struct {
        const char* Name;
        const char* Caption;
        const char* Tip;
        ArrangeCommand Command;
        QKeyCombination Key;
    } arranges[] = {
        {"mnuAlignLeft", "Align &Left Edges", "", ArrangeCommand::AlignLeft,
         Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
        {"mnuAlignRight", "Align &Right Edges", "", ArrangeCommand::AlignRight,
         Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
        {"mnuAlignTop", "Align &Top Edges", "", ArrangeCommand::AlignTop,
         Qt::CTRL | Qt::SHIFT | Qt::Key_Up},
        {"mnuAlignBottom", "Align &Bottom Edges", "", ArrangeCommand::AlignBottom,
         Qt::CTRL | Qt::SHIFT | Qt::Key_Down},
        {"mnuAlignCentres", "Align &Centres", "Puts the centres on one vertical line",
         ArrangeCommand::AlignCentres, Qt::CTRL | Qt::SHIFT | Qt::Key_V},
        {"mnuAlignMiddles", "Align &Middles", "Puts the centres on one horizontal line",
         ArrangeCommand::AlignMiddles, Qt::CTRL | Qt::SHIFT | Qt::Key_H},
        {"mnuDistributeAcross", "Distribute &Across", "Equal gaps from left to right",
         ArrangeCommand::DistributeAcross, Qt::ALT | Qt::SHIFT | Qt::Key_Right},
        {"mnuDistributeDown", "Distribute &Down", "Equal gaps from top to bottom",
         ArrangeCommand::DistributeDown, Qt::ALT | Qt::SHIFT | Qt::Key_Down},
        {"mnuSameWidth", "Same &Width", "", ArrangeCommand::SameWidth,
         Qt::ALT | Qt::SHIFT | Qt::Key_W},
        {"mnuSameHeight", "Same &Height", "", ArrangeCommand::SameHeight,
         Qt::ALT | Qt::SHIFT | Qt::Key_H},
    };
    for (const auto& a : arranges) {
        QAction* item = action(a.Name, tr(a.Caption), QKeySequence(a.Key));
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
    if (settings.ToGrid != GridShown.ToGrid || settings.GridStep != GridShown.GridStep) {
        GridShown = settings;
        LayerValid = false;
        viewport()->update();
    }
}

SnapSettings ScreenEditor::SettingsAtThisZoom() const {
    SnapSettings s = Snapping();
    s.Tolerance = SnapTolerance(ZoomFactor);
    return s;
}

// ---- the scene and the view

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
