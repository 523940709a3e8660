#include "ui/session/ScreenActions.h"

#include <QAction>
#include <QMenu>

#include "editing/NewScreens.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"
#include "ui/session/LayoutSession.h"
#include "ui/widgets/HandlerGuard.h"

ScreenActions::ScreenActions(LayoutSession& principal, UserDialogs& dialogs,
                             std::function<int()> selectedScreen, QObject* parent)
    : QObject(parent), Principal(principal), Dialogs(dialogs),
      SelectedScreen(std::move(selectedScreen)) {}

void ScreenActions::AddTo(QMenu* menu) {
    QAction* add = menu->addAction(tr("&New Screen..."), this, &ScreenActions::NewScreen);
    add->setObjectName(QStringLiteral("mnuNewScreen"));
    QAction* copy =
        menu->addAction(tr("&Duplicate Screen..."), this, &ScreenActions::DuplicateScreen);
    copy->setObjectName(QStringLiteral("mnuDuplicateScreen"));
}

void ScreenActions::NewScreen() {
    RunGuarded(Dialogs, [&] {
        cLayout& layout = Principal.Layout();
        // The selected screen when it is an empty one to take, else the lowest empty one.
        const int selected = SelectedScreen ? SelectedScreen() : -1;
        NewScreenRequest request;
        if (selected >= 1 && selected < ScreenCount &&
            layout.Screens()[static_cast<std::size_t>(selected)].CtrlCount == 0)
            request.Screen = selected;
        const int32_t screen =
            request.Screen ? *request.Screen : LowestEmptyScreen(layout.Records());
        if (screen < 0) {
            Dialogs.MsgBox("The layout has no empty screen among screens 1 to 15.", MsgButtons::OK,
                           MsgIcon::Exclamation);
            return;
        }
        request.Label = Dialogs.InputBox("Name of the new screen " + std::to_string(screen) +
                                             " (a link to it goes in every row of screen links):",
                                         "New Screen", "");
        if (request.Label.empty()) return;
        const NewScreenPlan plan = NewScreenEdit(layout.Records(), request);
        if (plan.Refused()) return Principal.Refuse(plan.Refusal);
        if (!Principal.Apply(plan.Edit, plan.Text)) return;
        emit ScreenMade(plan.Screen);
        if (plan.Notes.empty()) return;
        std::string told = "Screen " + std::to_string(plan.Screen) + " \"" + request.Label +
                           "\" is made, with " + std::to_string(plan.Links.size()) +
                           (plan.Links.size() == 1 ? " link" : " links") + " to it.";
        for (const std::string& note : plan.Notes)
            told += "\n" + note;
        Dialogs.MsgBox(told, MsgButtons::OK, MsgIcon::None, "New Screen");
    });
}

void ScreenActions::DuplicateScreen() {
    RunGuarded(Dialogs, [&] {
        cLayout& layout = Principal.Layout();
        const int source = SelectedScreen ? SelectedScreen() : -1;
        if (source < 0 || source >= ScreenCount ||
            layout.Screens()[static_cast<std::size_t>(source)].CtrlCount == 0) {
            Dialogs.MsgBox("Select a screen that holds controls to duplicate.", MsgButtons::OK,
                           MsgIcon::Exclamation);
            return;
        }
        const int32_t target = LowestEmptyScreen(layout.Records());
        if (target < 0) {
            Dialogs.MsgBox("The layout has no empty screen among screens 1 to 15.", MsgButtons::OK,
                           MsgIcon::Exclamation);
            return;
        }
        const std::string& label = layout.Screens()[static_cast<std::size_t>(source)].Label;
        const std::string name =
            Dialogs.InputBox("Name of the copy of screen " + std::to_string(source) +
                                 ", on screen " + std::to_string(target) + ":",
                             "Duplicate Screen", label.empty() ? std::string() : label + " 2");
        if (name.empty()) return;
        const NewScreenPlan plan = DuplicateScreenEdit(layout.Records(), source, name, target);
        if (plan.Refused()) return Principal.Refuse(plan.Refusal);
        if (!Principal.Apply(plan.Edit, plan.Text)) return;
        emit ScreenMade(plan.Screen);
    });
}
