#include "ui/mainwindow/KorvoScreenManager.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "bundle/LayoutBundle.h"
#include "editing/AppendTarget.h"
#include "editing/Arrange.h"
#include "layout/HostCodes.h"
#include "platform/FileAccess.h"
#include "ui/dialogs/BundleExport.h"
#include "ui/widgets/CaptionFit.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/CommonCode.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/session/ControlActions.h"
#include "ui/panes/ControlsTable.h"
#include "ui/panes/FindPane.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/KeptResolutions.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/mainwindow/LayoutFrame.h"
#include "ui/session/LayoutSession.h"
#include "ui/panes/PicturesPane.h"
#include "ui/canvas/PreviewSelection.h"
#include "ui/panes/PropertySheet.h"
#include "ui/mainwindow/ScreenListTree.h"
#include "ui/widgets/QtUserDialogs.h"
#include "ui/session/RecentLayouts.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/widgets/ShareSplitter.h"
#include "ui/widgets/Twips.h"
#include "ui/panes/WhereUsedPane.h"
#include "ui/widgets/CaptionButton.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/EditControlsWindow.h"

#include "ui/mainwindow/MainWindowShared.h"

// The main window's editing windows and panes: the controls table, the property sheet, find,
// pictures and where used, and the editing window of each Principal screen.

using namespace MainWindowShared;

void KorvoScreenManager::AddPane(QDockWidget* pane, Qt::DockWidgetArea area,
                                 const QKeySequence& key) {
    pane->setParent(this);
    addDockWidget(area, pane);
    pane->hide();
    QAction* item = pane->toggleViewAction();
    item->setObjectName(QStringLiteral("mnu") + pane->objectName());
    if (!key.isEmpty()) item->setShortcut(key);
    mnuView->addAction(item);
}

void KorvoScreenManager::BuildControlPanes() {
    Controls = new ControlActions(*PrincSession, *AddSession, Dialogs, this);
    // Controls go to the screen of the view that has the focus: an editing window's screen, or
    // the one selected in the Principal list.
    Controls->ShownScreen = [this] {
        for (QWidget* up = QApplication::focusWidget(); up != nullptr; up = up->parentWidget())
            if (auto* preview = qobject_cast<ScreenPreview*>(up);
                preview != nullptr && preview->Layout() == &PrincipalLayout &&
                preview->Screen() >= 0)
                return preview->Screen();
        return PrincipalScreen();
    };
    // An added control goes in the middle of what that view shows of the screen.
    Controls->ViewCentre = [this]() -> std::optional<QPointF> {
        const int screen = Controls->ShownScreen();
        ScreenPreview* shown = nullptr;
        for (QWidget* up = QApplication::focusWidget(); up != nullptr && shown == nullptr;
             up = up->parentWidget())
            if (auto* preview = qobject_cast<ScreenPreview*>(up);
                preview != nullptr && preview->Layout() == &PrincipalLayout)
                shown = preview;
        if (shown == nullptr) shown = PrincPreview;
        ScreenEditor* editor = shown->Editor();
        if (editor == nullptr || !editor->isVisible() || shown->Screen() != screen)
            return std::nullopt;
        return editor->ToScreen(QRectF(editor->viewport()->rect()).center());
    };
    menuBar()->insertMenu(mnuView->menuAction(), Controls->Menu());
    connect(Controls, &ControlActions::Status, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });

    Table = new ControlsTable(*PrincSession, this);
    AddPane(Table, Qt::BottomDockWidgetArea, QKeySequence(Qt::CTRL | Qt::Key_T));
    Table->SetScreen(PrincipalScreen());
    connect(this, &KorvoScreenManager::PrincipalScreenChanged, Table, &ControlsTable::SetScreen);
    Sheet = new PropertySheet(*PrincSession, Files, Dialogs, this);
    AddPane(Sheet, Qt::RightDockWidgetArea, QKeySequence(Qt::ALT | Qt::Key_Return));
    connect(Table, &ControlsTable::ControlActivated, this, [this] {
        Sheet->show();
        Sheet->raise();
    });

    // Both previews select what is clicked in them and outline what is selected.
    new PreviewSelection(*PrincPreview, *PrincSession);
    new PreviewSelection(*AddPreview, *AddSession);
    Controls->AddView(Table->View(), *PrincSession);
    Controls->AddView(PrincPreview, *PrincSession);
    Controls->AddView(AddPreview, *AddSession);
    connect(PrincSession.get(), &LayoutSession::SelectionChanged, this,
            &KorvoScreenManager::FollowSelection);
    // A command that refilled the list (an undo, a new screen link) leaves no screen selected:
    // the one of the selected controls is shown again.
    connect(PrincSession.get(), &LayoutSession::Changed, this, [this] {
        if (PrincipalScreen() < 0) FollowSelection();
    });
}

void KorvoScreenManager::FollowSelection() {
    const std::vector<int>& selection = PrincSession->Selection();
    if (selection.empty()) return;
    const std::span<const ControlRecord> records = PrincipalLayout.Records();
    const int shown = PrincipalScreen();
    const auto onView = [&](int position) {
        const int32_t screen = records[static_cast<std::size_t>(position - 1)].rScreen;
        return screen == shown ||
               (shown >= 0 && screen == PersistentScreen && PrincPreview->ShowsPersistent());
    };
    if (std::any_of(selection.begin(), selection.end(), onView)) return;
    const int32_t screen = records[static_cast<std::size_t>(selection.front() - 1)].rScreen;
    if (screen >= 0) SelectPrincipalScreen(screen);
}

void KorvoScreenManager::editSelected() {
    Command([this] {
        EditAllScreens = false;
        if (PrincFrame->SelectedScreen() < 0) {
            Warn("No item is selected");
            return;
        }
        ShowEditControls();
    });
}

void KorvoScreenManager::editOnScreen() {
    OpenScreenEditor(PrincipalScreen());
}

void KorvoScreenManager::OpenScreenEditor(int screen) {
    Command([this, screen] {
        if (screen < 0) {
            Warn("No item is selected");
            return;
        }
        for (const QPointer<ScreenPreviewWindow>& open : ScreenEditors)
            if (open != nullptr && open->Preview().Screen() == screen) {
                open->show();
                open->raise();
                open->activateWindow();
                return;
            }
        auto* window = new ScreenPreviewWindow(*PrincSession, screen, Files, Dialogs,
                                               PrincPreview->Pictures(), this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // One pictures folder for every preview.
        for (ScreenPreview* pane : {PrincPreview, AddPreview}) {
            connect(&window->Preview(), &ScreenPreview::PicturesFolderChanged, pane,
                    &ScreenPreview::ReloadPictures);
            connect(pane, &ScreenPreview::PicturesFolderChanged, &window->Preview(),
                    &ScreenPreview::ReloadPictures);
        }
        // The Controls menu and its keys work in the editing window too.
        Controls->AddView(&window->Preview(), *PrincSession);
        if (auto* bar = window->findChild<QMenuBar*>(QStringLiteral("EditorMenuBar")))
            bar->addAction(Controls->Menu()->menuAction());
        // Saving the layout from the editing window, with the main window's keys.
        if (QMenu* file = window->FileMenu()) {
            QAction* first = file->actions().value(0);
            for (const char* name : {"mnuPrincSave", "mnuPrincSaveAs"})
                if (auto* item = findChild<QAction*>(QLatin1String(name)))
                    file->insertAction(first, item);
        }
        ScreenEditors.removeAll(nullptr);
        ScreenEditors.push_back(window);
        window->show();
    });
}

void KorvoScreenManager::BuildPanes() {
    PaneFind = new FindPane(*PrincSession, Dialogs, this);
    PanePictures = new PicturesPane(*PrincSession, Files, Dialogs, this);
    PaneWhereUsed = new WhereUsedPane(*PrincSession, Dialogs, this);
    AddPane(PaneFind, Qt::RightDockWidgetArea);
    AddPane(PanePictures, Qt::RightDockWidgetArea);
    AddPane(PaneWhereUsed, Qt::RightDockWidgetArea);
    for (auto* pane :
         {static_cast<QDockWidget*>(PanePictures), static_cast<QDockWidget*>(PaneWhereUsed)})
        tabifyDockWidget(PaneFind, pane);
    connect(PaneFind, &FindPane::ControlChosen, this, &KorvoScreenManager::ShowControl);
    connect(PanePictures, &PicturesPane::ControlChosen, this, &KorvoScreenManager::ShowControl);
    connect(PaneWhereUsed, &WhereUsedPane::ControlChosen, this, &KorvoScreenManager::ShowControl);
    connect(PaneWhereUsed, &WhereUsedPane::ScreenWanted, this, [this] {
        if (PrincipalScreen() >= 0)
            PaneWhereUsed->ShowScreen(PrincipalScreen());
        else
            statusBar()->showMessage(tr("Select a screen in the Principal list first"), 5000);
    });
    connect(PaneWhereUsed, &WhereUsedPane::ControlWanted, this, [this] {
        if (!PrincSession->Selection().empty())
            PaneWhereUsed->ShowControl(PrincSession->Selection().front());
        else
            statusBar()->showMessage(tr("Select a control first"), 5000);
    });
    BuildScreensScriptsAndManual();

    // Find, Find Next and Find Previous, then Where Used, at the end of the Edit menu.
    auto* mnuEdit = menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit"));
    mnuEdit->addSeparator();
    mnuEdit->addAction(PaneFind->FindAction());
    mnuEdit->addAction(PaneFind->FindNextAction());
    mnuEdit->addAction(PaneFind->FindPreviousAction());
    QAction* whereUsed = mnuEdit->addAction(FromCodePage("W&here Used"));
    whereUsed->setObjectName(QStringLiteral("mnuWhereUsed"));
    whereUsed->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    connect(whereUsed, &QAction::triggered, this, &KorvoScreenManager::showWhereUsed);

    // The Principal list's own menu: where its screen is shown from.
    PrincLayList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PrincLayList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* row = PrincLayList->itemAt(at);
        if (row == nullptr) return;
        const int screen = PrincLayList->indexOfTopLevelItem(row);
        QMenu menu(this);
        QAction* item = menu.addAction(tr("Where is screen %1 shown?").arg(screen));
        item->setObjectName(QStringLiteral("mnuScreenWhereUsed"));
        if (menu.exec(PrincLayList->viewport()->mapToGlobal(at)) == item)
            PaneWhereUsed->ShowScreen(screen);
    });
}

void KorvoScreenManager::ShowControl(int screen, int record) {
    PrincSession->SetSelection({record});
    GoToFinding(screen, record);
}

void KorvoScreenManager::showWhereUsed() {
    if (!PrincSession->Selection().empty())
        PaneWhereUsed->ShowControl(PrincSession->Selection().front());
    else if (PrincipalScreen() >= 0)
        PaneWhereUsed->ShowScreen(PrincipalScreen());
    else
        statusBar()->showMessage(tr("Select a screen or a control first"), 5000);
}
