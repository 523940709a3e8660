// The main window's New Screen, Duplicate Screen, File > New, the Scripts pane and the manual:
// the menu items and the pane are made here, so the window's own file only calls this once.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "layout/cLayout.h"
#include "tools/ScreenResolution.h"
#include "ui/dialogs/ManualWindow.h"
#include "ui/mainwindow/KorvoScreenManager.h"
#include "ui/panes/FindPane.h"
#include "ui/panes/PicturesPane.h"
#include "ui/panes/PropertySheet.h"
#include "ui/panes/ScriptsPane.h"
#include "ui/panes/WhereUsedPane.h"
#include "ui/session/LayoutSession.h"
#include "ui/session/ScreenActions.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/CommonCode.h"

void KorvoScreenManager::BuildScreensScriptsAndManual() {
    setProperty("manualPage", QStringLiteral("windows.html#main-window"));
    Sheet->setProperty("manualPage", QStringLiteral("editing.html"));
    PaneFind->setProperty("manualPage", QStringLiteral("windows.html#find"));
    PanePictures->setProperty("manualPage", QStringLiteral("pictures.html#pictures-pane"));
    PaneWhereUsed->setProperty("manualPage", QStringLiteral("windows.html#main-window"));

    // File > New, first in the File menu: one item a listed resolution.
    auto* mnuFile = menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    auto* mnuNew = new QMenu(tr("&New"), mnuFile);
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    for (std::size_t i = 0; i < Resolutions.size(); ++i) {
        QAction* item = mnuNew->addAction(FromCodePage(ResolutionCaption(Resolutions[i])));
        item->setObjectName(QStringLiteral("mnuNew_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { newLayout(static_cast<int>(i)); });
    }
    mnuFile->insertMenu(mnuFile->actions().value(0), mnuNew);
    mnuFile->insertSeparator(mnuFile->actions().value(1));

    // The Screen menu, after Edit.
    ScreenCommands = new ScreenActions(
        *PrincSession, Dialogs, [this] { return PrincipalScreen(); }, this);
    auto* mnuScreen = new QMenu(tr("&Screen"), this);
    mnuScreen->setObjectName(QStringLiteral("mnuScreen"));
    ScreenCommands->AddTo(mnuScreen);
    auto* mnuView = menuBar()->findChild<QMenu*>(QStringLiteral("mnuView"));
    menuBar()->insertMenu(mnuView->menuAction(), mnuScreen);
    connect(ScreenCommands, &ScreenActions::ScreenMade, this, [this](int screen) {
        SelectPrincipalScreen(screen);
        statusBar()->showMessage(tr("Screen %1 is made").arg(screen), 5000);
    });

    // The Scripts pane: a double-click shows the control and its script in the property sheet.
    PaneScripts = new ScriptsPane(*PrincSession, this);
    AddPane(PaneScripts, Qt::RightDockWidgetArea, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    tabifyDockWidget(PaneFind, PaneScripts);
    connect(PaneScripts, &ScriptsPane::ScriptChosen, this, [this](int screen, int record) {
        ShowControl(screen, record);
        Sheet->EditScript();
    });

    // Help > Manual, F1 anywhere in the program.
    auto* mnuHelp = menuBar()->findChild<QMenu*>(QStringLiteral("mnuHelp"));
    auto* manual = new QAction(tr("&Manual"), this);
    manual->setObjectName(QStringLiteral("mnuManual"));
    manual->setShortcut(QKeySequence::HelpContents);
    manual->setShortcutContext(Qt::ApplicationShortcut);
    connect(manual, &QAction::triggered, this, &KorvoScreenManager::showManual);
    mnuHelp->insertAction(mnuHelp->actions().value(0), manual);
    mnuHelp->insertSeparator(mnuHelp->actions().value(1));
}

void KorvoScreenManager::newLayout(int index) {
    Command([this, index] {
        if (!MayReplacePrincipal()) return;
        PrincSession->StartEmpty(Resolutions.at(static_cast<std::size_t>(index)));
        SetByTag(*this, QStringLiteral("A1"), TagEnabled, true);
        statusBar()->showMessage(tr("A new layout drawn for %1: append screens to it, then save it")
                                     .arg(FromCodePage(ResolutionCaption(
                                         Resolutions.at(static_cast<std::size_t>(index))))),
                                 8000);
    });
}

void KorvoScreenManager::showManual() {
    QWidget* from = QApplication::focusWidget();
    if (from == nullptr) from = QApplication::activeWindow();
    const QString page = ManualWindow::ManualPageFor(from);
    if (Manual == nullptr) Manual = new ManualWindow(this);
    Manual->setWindowFlag(Qt::Window);
    Manual->OpenSection(page);
    Manual->show();
    Manual->raise();
    Manual->activateWindow();
}
