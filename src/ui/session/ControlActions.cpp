#include "ui/session/ControlActions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "editing/ControlEdits.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "platform/Windows1252.h"
#include "ui/widgets/CodePage.h"
#include "ui/session/ControlClipboard.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"

namespace {

// A message of the core (UTF-8) for the message box, whose texts are Windows-1252: a character
// the code page lacks (one the user typed) shows as a question mark.
std::string BoxText(const std::string& utf8) {
    std::string bytes;
    if (Utf8ToWindows1252(utf8, bytes)) return bytes;
    bytes.clear();
    for (char c : utf8)
        if (static_cast<unsigned char>(c) < 0x80)
            bytes.push_back(c);
        else if ((static_cast<unsigned char>(c) & 0xC0) == 0xC0)
            bytes.push_back('?');
    return bytes;
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
    Dialogs.MsgBox(BoxText(utf8), MsgButtons::OK, MsgIcon::Exclamation);
}

bool ControlActions::Apply(const ControlsEditPlan& plan) {
    if (plan.Refused()) {
        Warn(plan.Refusal);
        return false;
    }
    if (plan.Edit.Empty()) return true;
    const std::string refusal = Principal.Layout().ApplyEdit(plan.Edit, plan.Text);
    if (!refusal.empty()) {
        Warn(refusal);
        return false;
    }
    return true;
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
        const ControlsEditPlan plan = AddControlEdit(Principal.Layout().Records(), kind, screen);
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
