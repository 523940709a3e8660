#include "ui/session/ControlActions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <algorithm>
#include <cmath>
#include <span>

#include "editing/ControlEdits.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/Windows1252.h"
#include "tools/ScreenResolution.h"
#include "ui/widgets/CodePage.h"
#include "ui/session/ControlClipboard.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"

namespace {

bool Overlaps(const ControlRecord& a, const ControlRecord& b) {
    return a.rX1 < b.rX2 && b.rX1 < a.rX2 && a.rY1 < b.rY2 && b.rY1 < a.rY2;
}

// Where an added control goes: centred on `centre`, or else the nearest place about it, ring by
// ring in steps of the copy offset, where it lies over no other control of its screen (the
// pictures as large as a quarter of the screen and more, behind the others, do not count),
// inside the screen. The centre itself when no place is free.
ControlRecord PlacedNear(ControlRecord added, std::span<const ControlRecord> records,
                         QPointF centre, Resolution screenSize) {
    const int32_t w = added.rX2 - added.rX1, h = added.rY2 - added.rY1;
    const int64_t screenArea = int64_t{screenSize.Width} * screenSize.Height;
    std::vector<const ControlRecord*> others;
    for (const ControlRecord& r : records) {
        if (r.rScreen != added.rScreen) continue;
        const int64_t area = int64_t{r.rX2 - r.rX1} * (r.rY2 - r.rY1);
        if (screenArea > 0 && area * 4 >= screenArea) continue;
        others.push_back(&r);
    }
    const auto at = [&](int64_t x, int64_t y) {
        ControlRecord placed = added;
        if (screenSize.Width > w) x = std::clamp<int64_t>(x, 0, screenSize.Width - w);
        if (screenSize.Height > h) y = std::clamp<int64_t>(y, 0, screenSize.Height - h);
        placed.rX1 = static_cast<int32_t>(x);
        placed.rY1 = static_cast<int32_t>(y);
        placed.rX2 = placed.rX1 + w;
        placed.rY2 = placed.rY1 + h;
        return placed;
    };
    const auto free = [&](const ControlRecord& placed) {
        return std::none_of(others.begin(), others.end(),
                            [&](const ControlRecord* r) { return Overlaps(placed, *r); });
    };
    const int64_t x0 = std::llround(centre.x()) - w / 2, y0 = std::llround(centre.y()) - h / 2;
    constexpr int Rings = 40;
    for (int ring = 0; ring <= Rings; ++ring) {
        for (int dy = -ring; dy <= ring; ++dy)
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
                const ControlRecord placed =
                    at(x0 + int64_t{dx} * CopyOffset, y0 + int64_t{dy} * CopyOffset);
                if (free(placed)) return placed;
            }
    }
    return at(x0, y0);
}

} // namespace

ControlActions::ControlActions(LayoutSession& principal, LayoutSession& additional,
                               UserDialogs& dialogs, QWidget* window)
    : QObject(window), Principal(principal), Additional(additional), Active(&principal),
      Dialogs(dialogs) {
    mnuControls = new QMenu(tr("&Controls"), window);
    mnuControls->setObjectName(QStringLiteral("mnuControls"));

    QMenu* mnuAdd = mnuControls->addMenu(tr("&Add"));
    mnuAdd->setObjectName(QStringLiteral("mnuAddControl"));
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind) {
        QAction* item = mnuAdd->addAction(QString::fromStdString(KindName(kind)));
        item->setObjectName(QStringLiteral("mnuAdd%1").arg(kind));
        connect(item, &QAction::triggered, this, [this, kind] { Add(kind); });
        Actions.push_back(item);
    }
    mnuControls->addAction(MakeAction("mnuDuplicateControls", tr("D&uplicate"),
                                      QKeySequence(Qt::CTRL | Qt::Key_D),
                                      &ControlActions::Duplicate));
    mnuControls->addAction(MakeAction("mnuDeleteControls", tr("&Delete"),
                                      QKeySequence(Qt::Key_Delete), &ControlActions::Delete));
    mnuControls->addSeparator();
    mnuControls->addAction(
        MakeAction("mnuCutControls", tr("Cu&t"), QKeySequence::Cut, &ControlActions::Cut));
    mnuControls->addAction(
        MakeAction("mnuCopyControls", tr("&Copy"), QKeySequence::Copy, &ControlActions::Copy));
    mnuControls->addAction(
        MakeAction("mnuPasteControls", tr("&Paste"), QKeySequence::Paste, &ControlActions::Paste));
    mnuControls->addSeparator();
    mnuControls->addAction(MakeAction("mnuBringToFront", tr("Bring to &Front"),
                                      QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
                                      &ControlActions::BringToFront));
    mnuControls->addAction(MakeAction("mnuSendToBack", tr("Send to &Back"),
                                      QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                                      &ControlActions::SendToBack));

    for (LayoutSession* session : {&Principal, &Additional}) {
        connect(session, &LayoutSession::SelectionChanged, this, [this] { UpdateActions(); });
        connect(session, &LayoutSession::Changed, this,
                [this, session](const LayoutChange& change) {
                    if (change.Reloaded)
                        ++(session == &Principal ? PrincipalLoads : AdditionalLoads);
                    UpdateActions();
                });
    }
    // The commands act on the layout of the view that has, or last had, the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* up = now; up != nullptr; up = up->parentWidget())
            for (const auto& [view, session] : Views)
                if (view != nullptr && view == up) return SetActiveSession(*session);
    });
    UpdateActions();
}

ControlActions::~ControlActions() = default;

QAction* ControlActions::MakeAction(const char* name, const QString& caption,
                                    const QKeySequence& key, void (ControlActions::*handler)()) {
    auto* item = new QAction(caption, this);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(key);
    // The key belongs to the views; elsewhere it keeps its own meaning.
    item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(item, &QAction::triggered, this, handler);
    Actions.push_back(item);
    return item;
}

QAction* ControlActions::Action(const char* name) const {
    for (QAction* item : Actions)
        if (item->objectName() == QLatin1String(name)) return item;
    return nullptr;
}

void ControlActions::AddView(QWidget* view, LayoutSession& session) {
    Views.emplace_back(view, &session);
    for (QAction* item : Actions)
        if (!item->shortcut().isEmpty()) view->addAction(item);
}

void ControlActions::SetActiveSession(LayoutSession& session) {
    if (Active == &session) return;
    Active = &session;
    UpdateActions();
}

std::string ControlActions::Identity(const LayoutSession& session) const {
    const bool principal = &session == &Principal;
    return ProgramIdentity().toStdString() + (principal ? ":principal:" : ":additional:") +
           std::to_string(principal ? PrincipalLoads : AdditionalLoads);
}

void ControlActions::UpdateActions() {
    const bool open = Principal.IsOpen();
    const bool selected = !Active->Selection().empty();
    const bool edits = open && selected && Active == &Principal;
    for (QAction* item : Actions) {
        const QString name = item->objectName();
        if (name == QLatin1String("mnuCopyControls"))
            item->setEnabled(selected);
        else if (name == QLatin1String("mnuPasteControls") || name.startsWith("mnuAdd"))
            item->setEnabled(open);
        else
            item->setEnabled(edits);
    }
}

void ControlActions::Warn(const std::string& utf8) {
    Principal.Refuse(utf8);
}

bool ControlActions::Apply(const ControlsEditPlan& plan) {
    if (plan.Refused()) {
        Warn(plan.Refusal);
        return false;
    }
    return Principal.Apply(plan.Edit, plan.Text);
}

bool ControlActions::HasSelection(const LayoutSession& session, const char* verb) {
    if (!session.Selection().empty()) return true;
    emit Status(tr("Select the controls to %1 first").arg(QLatin1String(verb)));
    return false;
}

void ControlActions::Add(int32_t kind) {
    RunGuarded(Dialogs, [&] {
        const int screen = ShownScreen ? ShownScreen() : -1;
        if (screen < 0) {
            emit Status(tr("Choose the screen to add the control on in the Principal list"));
            return;
        }
        ControlsEditPlan plan = AddControlEdit(Principal.Layout().Records(), kind, screen);
        // In the middle of what is in view, beside the controls there rather than over them.
        if (!plan.Refused() && plan.Edit.Inserted.size() == 1) {
            const Resolution size = Principal.DrawnFor().Size;
            std::optional<QPointF> centre = ViewCentre ? ViewCentre() : std::nullopt;
            if (!centre) centre = QPointF(size.Width / 2.0, size.Height / 2.0);
            ControlRecord& added = plan.Edit.Inserted.front().second;
            added = PlacedNear(added, Principal.Layout().Records(), *centre, size);
        }
        if (Apply(plan))
            emit Status(tr("Added a %1 on screen %2")
                            .arg(QString::fromStdString(KindName(kind)))
                            .arg(screen));
    });
}

void ControlActions::Duplicate() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(Principal, "duplicate")) return;
        const ControlsEditPlan plan =
            DuplicateEdit(Principal.Layout().Records(), Principal.Selection());
        if (Apply(plan)) emit Status(QString::fromStdString(plan.Text));
    });
}

void ControlActions::Delete() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(Principal, "delete")) return;
        const ControlsEditPlan plan =
            DeleteEdit(Principal.Layout().Records(), Principal.Selection());
        if (Apply(plan)) emit Status(QString::fromStdString(plan.Text));
    });
}

void ControlActions::Copy() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(*Active, "copy")) return;
        const CopiedControls copied =
            CopyControls(Active->Layout(), Active->Selection(), Identity(*Active));
        PutControlsOnClipboard(copied);
        emit Status(
            tr("Copied %1").arg(QString::fromStdString(ControlsCount(copied.Records.size()))));
    });
}

void ControlActions::Cut() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(Principal, "cut")) return;
        const CopiedControls copied =
            CopyControls(Principal.Layout(), Principal.Selection(), Identity(Principal));
        ControlsEditPlan plan = DeleteEdit(Principal.Layout().Records(), Principal.Selection());
        plan.Text = "Cut " + ControlsCount(copied.Records.size());
        PutControlsOnClipboard(copied);
        if (Apply(plan)) emit Status(QString::fromStdString(plan.Text));
    });
}

void ControlActions::Paste() {
    RunGuarded(Dialogs, [&] {
        const int screen = ShownScreen ? ShownScreen() : -1;
        if (screen < 0) {
            emit Status(tr("Choose the screen to paste onto in the Principal list"));
            return;
        }
        CopiedControls copied;
        std::string error;
        cLayout& layout = Principal.Layout();
        if (!ControlsFromClipboard(copied, error, layout.TextCodePage())) return Warn(error);
        const PastePlan plan =
            PasteEdit(layout.Records(), ScreenLabels(layout), Identity(Principal), copied, screen);
        if (Apply(plan)) emit Status(QString::fromStdString(PasteSummary(plan, screen)));
    });
}

void ControlActions::BringToFront() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(Principal, "bring to front")) return;
        const ControlsEditPlan plan =
            StackingEdit(Principal.Layout().Records(), Principal.Selection(), true);
        if (!Apply(plan)) return;
        emit Status(plan.Edit.Empty() ? tr("The controls are in front of their layer already")
                                      : QString::fromStdString(plan.Text));
    });
}

void ControlActions::SendToBack() {
    RunGuarded(Dialogs, [&] {
        if (!HasSelection(Principal, "send to back")) return;
        const ControlsEditPlan plan =
            StackingEdit(Principal.Layout().Records(), Principal.Selection(), false);
        if (!Apply(plan)) return;
        emit Status(plan.Edit.Empty() ? tr("The controls are at the back of their layer already")
                                      : QString::fromStdString(plan.Text));
    });
}
