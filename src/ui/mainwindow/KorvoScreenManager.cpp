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
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/widgets/ShareSplitter.h"
#include "ui/widgets/Twips.h"
#include "ui/panes/WhereUsedPane.h"
#include "ui/widgets/CaptionButton.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/EditControlsWindow.h"
#include "ui/mainwindow/MainWindowShared.h"

using namespace MainWindowShared;

KorvoScreenManager::KorvoScreenManager(UserDialogs& dialogs, FileDialogs& fileDialogs,
                                       QSettings* settings, QWidget* parent)
    : QMainWindow(parent), PrincipalLayout(dialogs), AdditionalLayout(dialogs), Dialogs(dialogs),
      Files(fileDialogs), Settings(settings), Recent(std::make_unique<RecentLayouts>(settings)),
      PrincSession(std::make_unique<LayoutSession>(PrincipalLayout, dialogs)),
      AddSession(std::make_unique<LayoutSession>(AdditionalLayout, dialogs)),
      Kept(std::make_unique<KeptResolutions>(settings)) {
    setObjectName(QStringLiteral("KorvoScreenManager"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));

    SetOpen = {"Open Layout file", OpenLayoutFilter, "c:\\korvo", "", "", 0};
    SetSave = {"Save Layout", LayoutFilter, "c:\\korvo", "*.set", "", 0};
    CSVSave = {"Save As CSV file", "Comma Separated Variable|*.csv", "c:\\", "*.csv", "junk", 0};
    CSVOpen = {"Import CSV file", "CSV files |*.csv", "C:\\", "", "", 0};

    BuildControls();
    BuildMenus();
    BuildStatusBar();
    FitCaptions(*this);
    // The panes lay their captions out themselves, once shown.
    BuildControlPanes();
    // The panes lay themselves out and keep their captions whole; they are not of the design.
    BuildPanes();
    Form_Load();
    ConnectSessions();
    RestoreWindowSettings();
    RefreshWindowState();
}

void KorvoScreenManager::ConnectSessions() {
    // The append's target follows the Principal layout's empty screens and the screen to append.
    connect(PrincSession.get(), &LayoutSession::Changed, this,
            [this] { RefreshAppendTargets(false); });
    connect(AddFrame, &LayoutFrame::SelectedScreenChanged, this, [this] {
        RefreshAppendTargets(true);
        RefreshWindowState();
    });
    connect(cboAppendTo, &QComboBox::activated, this, [this] {
        TargetChosen = true;
        RefreshWindowState();
    });
    RefreshAppendTargets(true);
    // A resolution chosen for the Principal layout is what its preview, the check and Edit
    // Controls take.
    connect(PrincSession.get(), &LayoutSession::ChosenResolutionChanged, this, [this] {
        PrincPreview->SetChosenResolution(PrincSession->ChosenResolution());
        RefreshWindowState();
    });
    connect(PrincFrame, &LayoutFrame::SelectedScreenChanged, this,
            &KorvoScreenManager::PrincipalScreenChanged);
    // Both previews read the same pictures once.
    AddPreview->SetPictureCache(PrincPreview->Pictures());
    // A pictures folder chosen in one is the other's too.
    connect(PrincPreview, &ScreenPreview::PicturesFolderChanged, AddPreview,
            &ScreenPreview::ReloadPictures);
    connect(AddPreview, &ScreenPreview::PicturesFolderChanged, PrincPreview,
            &ScreenPreview::ReloadPictures);
    // The Principal screen is edited in its pane where there is room, and in a window of its own.
    PrincPreview->SetEditSession(PrincSession.get());
    connect(PrincPreview, &ScreenPreview::DoubleClicked, this,
            [this] { OpenScreenEditor(PrincipalScreen()); });
    // Whatever window changed the Principal layout, the title, the status bar and the menus show
    // it.
    connect(PrincSession.get(), &LayoutSession::Changed, this, [this] {
        RefreshWindowState();
    });
    connect(PrincSession.get(), &LayoutSession::ModifiedChanged, this,
            [this] { RefreshWindowState(); });
    connect(PrincSession.get(), &LayoutSession::FileNameChanged, this,
            [this] { RefreshWindowState(); });
}

KorvoScreenManager::~KorvoScreenManager() = default;

int KorvoScreenManager::PrincipalScreen() const {
    return PrincFrame->SelectedScreen();
}

void KorvoScreenManager::SelectPrincipalScreen(int screen) {
    // The 16 screens are rows 0..15; a screen beyond them is found among the rows that follow.
    QTreeWidgetItem* row = IsLayoutScreen(screen) ? PrincLayList->topLevelItem(screen) : nullptr;
    for (int k = ScreenCount; row == nullptr && k < PrincLayList->topLevelItemCount(); ++k)
        if (PrincLayList->topLevelItem(k)->text(0) == QString::number(screen))
            row = PrincLayList->topLevelItem(k);
    if (row == nullptr) return;
    PrincLayList->setCurrentItem(row);
    row->setSelected(true);
    PrincLayList->scrollToItem(row);
}

QWidget* KorvoScreenManager::PrincipalPreviewHost() const {
    return PrincFrame->PreviewHost();
}

QWidget* KorvoScreenManager::AdditionalPreviewHost() const {
    return AddFrame->PreviewHost();
}

AboutDialog* KorvoScreenManager::AboutWindow() const {
    return About.data();
}

void KorvoScreenManager::ChooseResolution(const std::optional<Resolution>& resolution) {
    PrincSession->SetChosenResolution(resolution);
    // Kept for the file as it is on disk; a later save keeps it again with the file's new size.
    Kept->Keep(FromSystemPath(PrincipalLayout.FileName()), resolution);
}

void KorvoScreenManager::ShowResolution() {
    const DetectedResolution drawn = PrincSession->DrawnFor();
    StatusResolution->setText(FromCodePage(DrawnForText(drawn)));
    StatusResolution->setMinimumWidth(StatusResolution->sizeHint().width());
    StatusResolution->setVisible(PrincSession->IsOpen());
    // The resolution chosen is checked; without a choice, the one detected is, and it is named
    // so in the menu.
    const std::optional<Resolution>& chosen = PrincSession->ChosenResolution();
    const DetectedResolution detected =
        DetectResolution(PrincipalLayout.Records(), -1, std::nullopt);
    const Resolution marked = chosen ? *chosen : detected.Size;
    for (QAction* item : StatusResolution->menu()->actions()) {
        if (!item->isCheckable()) continue;
        const Resolution r = Resolutions[static_cast<std::size_t>(item->objectName().mid(13).toInt())];
        QString text = FromCodePage(ResolutionCaption(r));
        if (PrincSession->IsOpen() && r == detected.Size) text += tr(" (detected)");
        item->setText(text);
        item->setChecked(PrincSession->IsOpen() && r == marked);
    }
}

void KorvoScreenManager::Form_Load() {
    SetByTag(*this, QStringLiteral("A1"), TagEnabled, false);
    EditAllScreens = true;
    PrincipalLayout.BindScreenList(PrincFrame->ListView());
    AdditionalLayout.BindScreenList(AddFrame->ListView());
}

void KorvoScreenManager::Command(const std::function<void()>& handler) {
    RunGuarded(Dialogs, handler);
    RefreshWindowState();
}

void KorvoScreenManager::RefreshWindowState() {
    const QString path = FromSystemPath(PrincipalLayout.FileName());
    const QString application = QString::fromLatin1(ApplicationTitle);
    setWindowFilePath(path);
    setWindowTitle(path.isEmpty()
                       ? application + QStringLiteral("[*]")
                       : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + application);
    setWindowModified(PrincipalLayout.IsDirty());

    StatusRecords->setText(
        QStringLiteral("Principal layout: %1 records").arg(PrincipalLayout.ControlCount()));
    StatusRecords->setToolTip(StatusRecords->text());
    // Where the next append goes: the Append to choice.
    const QVariant chosen = cboAppendTo->currentData();
    const int next = chosen.isValid() ? chosen.toInt() : -1;
    StatusNextScreen->setText(next < 0
                                  ? QStringLiteral("No empty screen for an append")
                                  : QStringLiteral("The next append fills screen %1").arg(next));
    StatusNextScreen->setToolTip(StatusNextScreen->text());
    ShowResolution();
    ShowCodePage();
    for (const auto& [item, button] : MirroredItems)
        item->setEnabled(button->isEnabled());
    RebuildRecentMenu();
    emit LayoutsRefreshed();
}

void KorvoScreenManager::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}

void KorvoScreenManager::undoChange() {
    PrincSession->UndoAction()->trigger();
}

void KorvoScreenManager::redoChange() {
    PrincSession->RedoAction()->trigger();
}

void KorvoScreenManager::showAbout() {
    RunGuarded(Dialogs, [this] {
        // Loading a window that is already loaded does nothing.
        if (About) return;
        About = new AboutDialog(this);
    });
}

void KorvoScreenManager::exitProgram() {
    // Exit asks what closing the window asks; the program ends only when the window may close.
    if (close()) QCoreApplication::exit(0);
}

void KorvoScreenManager::closeEvent(QCloseEvent* event) {
    // Anything short of a clean layout, a No or a completed save keeps the window open.
    bool closes = false;
    Command([this, &closes] {
        if (!PrincipalLayout.IsDirty()) {
            closes = true;
            return;
        }
        switch (Dialogs.MsgBox("Do you want to Save As the current Principal layout?",
                               MsgButtons::YesNoCancel, MsgIcon::Question,
                               "Exiting KorvoScreenQuill")) {
        case MsgAnswer::No:
            closes = true;
            break;
        case MsgAnswer::Yes:
            // A save that was cancelled or failed keeps the window, and the changes, open.
            closes = SaveAs();
            break;
        default:
            break;
        }
    });
    if (!closes) {
        event->ignore();
        return;
    }
    SaveWindowSettings();
    if (About) About->close();
    event->accept();
}

QSize KorvoScreenManager::DesignSize() const {
    return {Client->minimumWidth(), Client->minimumHeight() + menuBar()->sizeHint().height() +
                                        statusBar()->sizeHint().height()};
}

void KorvoScreenManager::RestoreWindowSettings() {
    // The first time: about four fifths of the screen, so the previews beside the lists show,
    // and never less than the design size where the screen has room for it (otherwise the
    // frames scroll).
    const QSize room = RoomOnScreen(*this);
    const QSize generous = room.isValid() ? room * FirstSizeShare : QSize();
    ResizeWithinScreen(*this, DesignSize().expandedTo(generous));
    if (Settings == nullptr) return;

    FrameSplitter->SetUserShift(Settings->value(Key(FrameSplitKey), 0).toInt());
    PrincFrame->Splitter()->SetUserShift(Settings->value(Key(PrincPreviewSplitKey), 0).toInt());
    AddFrame->Splitter()->SetUserShift(Settings->value(Key(AddPreviewSplitKey), 0).toInt());
    RestoreColumnWidths(*PrincLayList, Settings->value(Key(PrincColumnsKey)));
    RestoreColumnWidths(*AddLayList, Settings->value(Key(AddColumnsKey)));

    // A size kept on a larger screen than this one is not used.
    const QSize size = Settings->value(Key(SizeKey)).toSize();
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QSize free = screen != nullptr ? screen->availableGeometry().size() : QSize();
    if (size.isValid() && free.isValid() && size.width() <= free.width() &&
        size.height() <= free.height())
        ResizeWithinScreen(*this, size.expandedTo(DesignSize()));
    if (Settings->value(Key(MaximizedKey), false).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void KorvoScreenManager::SaveWindowSettings() {
    if (Settings == nullptr) return;
    const bool maximized = isMaximized();
    Settings->setValue(Key(SizeKey), maximized ? normalGeometry().size() : size());
    Settings->setValue(Key(MaximizedKey), maximized);
    Settings->setValue(Key(FrameSplitKey), FrameSplitter->UserShift());
    Settings->setValue(Key(PrincPreviewSplitKey), PrincFrame->Splitter()->UserShift());
    Settings->setValue(Key(AddPreviewSplitKey), AddFrame->Splitter()->UserShift());
    Settings->setValue(Key(PrincColumnsKey), AsVariants(ColumnWidths(*PrincLayList)));
    Settings->setValue(Key(AddColumnsKey), AsVariants(ColumnWidths(*AddLayList)));
    Settings->sync();
}
