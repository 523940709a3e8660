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
#include "platform/CodePages.h"
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

// The main window's widgets, menus and status bar, built once: the two layout frames from their
// shapes, the menus with their keys, and the status bar's texts.

using namespace MainWindowShared;

void KorvoScreenManager::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    QFont font = client->font();
    font.setPointSizeF(DesignPointSize);
    client->setFont(font);
    client->setMinimumSize(Px(ClientWidth), Px(ClientHeight));
    // On a screen smaller than the design size the frames scroll rather than overlap.
    ScrollableCentralWidget(*this, client);
    Client = client;

    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(Px(120), Px(240), Px(75), Px(240));
    FrameSplitter = new ShareSplitter(Qt::Vertical, Px(PrincFrameHeight), Px(AddFrameHeight),
                                      PrincipalHeightShare, client);
    FrameSplitter->setObjectName(QStringLiteral("FrameSplitter"));
    FrameSplitter->setHandleWidth(Px(105));
    clientLayout->addWidget(FrameSplitter);

    BuildFrames();
    FrameSplitter->setStretchFactor(0, 1);
    FrameSplitter->setStretchFactor(1, 1);

    // A double-click on the Additional list's rows appends, even while the button is disabled.
    AddLayList->viewport()->installEventFilter(this);
    // Files dropped on a frame open there.
    for (QGroupBox* frame : {fraOPrinc, fraOAdd}) {
        frame->setAcceptDrops(true);
        frame->installEventFilter(this);
    }

    connect(butOpen, &QPushButton::clicked, this, &KorvoScreenManager::openPrincipal);
    connect(butExport, &QPushButton::clicked, this, &KorvoScreenManager::exportCsv);
    connect(butSaveAs, &QPushButton::clicked, this, &KorvoScreenManager::saveLayoutAs);
    connect(butEditScreen, &QPushButton::clicked, this, &KorvoScreenManager::editScreen);
    connect(butCheck, &QPushButton::clicked, this, &KorvoScreenManager::checkLayout);
    connect(butEditSel, &QPushButton::clicked, this, &KorvoScreenManager::editSelected);
    connect(butPromote, &QPushButton::clicked, this, &KorvoScreenManager::promoteScreen);
    connect(butDemote, &QPushButton::clicked, this, &KorvoScreenManager::demoteScreen);
    connect(butUpdateCapts, &QPushButton::clicked, this, &KorvoScreenManager::updateCaptions);
    connect(butDelete, &QPushButton::clicked, this, &KorvoScreenManager::deleteScreens);
    connect(butAddOpen, &QPushButton::clicked, this, &KorvoScreenManager::openAdditional);
    connect(butImport, &QPushButton::clicked, this, &KorvoScreenManager::importCsv);
    connect(butAppendToPrinc, &QPushButton::clicked, this,
            &KorvoScreenManager::appendToPrincipal);
}

namespace {

LayoutFrameShape PrincipalFrameShape() {
    LayoutFrameShape shape;
    shape.Name = "fraOPrinc";
    shape.Title = "Principal Layout";
    shape.FileButtons = {
        {"butOpen", "Open .SET", 0, 0, 1215, 375, "", "Opens a layout (.SET) file"},
        {"butExport", "CSV Export", 0, 0, 1215, 375, "A1",
         "Exports the selected screen(s) to a comma separated variable file"},
        {"butSaveAs", "Save As", 0, 0, 1215, 375, "A1", "Saves As the current Principal screen"}};
    shape.FileBoxName = "txtOpenedFile";
    shape.FileBoxTag = "A1";
    shape.FileBoxWidth = 3855;
    shape.ListName = "PrincLayList";
    shape.ListTag = "";
    shape.ListToolTip = "Screens in the Principal Layout";
    shape.ListWidth = ListWidth;
    shape.ListHeight = PrincListHeight;
    shape.SplitterName = "PrincListSplitter";
    shape.PreviewHostName = "PrincPreviewHost";
    shape.PreviewName = "PrincPreview";
    shape.LayoutGroup = {"Frame2",
                         "All Screens in Layout",
                         "A1",
                         4215,
                         855,
                         {{"butEditScreen", "Edit All Controls", 240, 360, 1335, 375, "A1"},
                          {"butCheck", "Check Layout", 1695, 360, 1335, 375, "A1",
                           "Lists broken screen links, key clashes, off-screen controls and "
                           "missing pictures of the Principal layout"}}};
    shape.ScreenGroup = {
        "Frame1",
        "Selected Screen",
        "A1",
        1455,
        3495 + 60,
        {{"butEditSel", "Control Edit", 120, 360, 1215, 375, "A1"},
         {"butPromote", "Move up list", 120, 960, 1215, 375, "A1", "Promotes the selected screen"},
         {"butDemote", "Move down list", 120, 1440, 1215, 375, "A1", "Demotes the selected screen"},
         {"butUpdateCapts", "Update Buttons", 120, 2040, 1215, 615, "A1",
          "Prompts for new captions for buttons with F-key shortcuts and resets F-key to position "
          "in the list"},
         {"butDelete", "Delete Screen", 120, 3000, 1215, 495, "A1",
          "Deletes chosen screen from this layout", true}}};
    shape.TopMargin = 360;
    shape.BottomMargin = 120;
    return shape;
}

LayoutFrameShape AdditionalFrameShape() {
    LayoutFrameShape shape;
    shape.Name = "fraOAdd";
    shape.Title = "Additional Layout";
    shape.FileButtons = {
        {"butAddOpen", "Open .SET", 0, 0, 1215, 375, "", "Opens a layout (.SET) file"},
        {"butImport", "CSV Import", 0, 0, 1215, 375}};
    shape.FileBoxName = "txtAddFile";
    shape.FileBoxTag = "A3";
    shape.FileBoxWidth = 3735;
    shape.ListName = "AddLayList";
    shape.ListTag = "A3";
    shape.ListToolTip = "";
    shape.ListWidth = ListWidth;
    shape.ListHeight = AddListHeight;
    shape.SplitterName = "AddListSplitter";
    shape.PreviewHostName = "AddPreviewHost";
    shape.PreviewName = "AddPreview";
    shape.ScreenGroup = {
        "Frame3",
        "Selected Screen",
        "A3",
        1455,
        1335 + 120,
        {{"butAppendToPrinc", "Append to Principal Layout", 120, 480, 1215, 855, "A3"}}};
    shape.TopMargin = 240;
    shape.BottomMargin = 240;
    shape.FileRowTop = 360;
    return shape;
}

} // namespace

void KorvoScreenManager::BuildFrames() {
    PrincFrame =
        new LayoutFrame(PrincipalFrameShape(), *PrincSession, Files, Dialogs, FrameSplitter);
    AddFrame = new LayoutFrame(AdditionalFrameShape(), *AddSession, Files, Dialogs, FrameSplitter);
    FrameSplitter->addWidget(PrincFrame);
    FrameSplitter->addWidget(AddFrame);
    fraOPrinc = PrincFrame;
    fraOAdd = AddFrame;
    butOpen = PrincFrame->Button("butOpen");
    butExport = PrincFrame->Button("butExport");
    butSaveAs = PrincFrame->Button("butSaveAs");
    txtOpenedFile = PrincFrame->FileBox();
    PrincLayList = PrincFrame->List();
    butEditScreen = PrincFrame->Button("butEditScreen");
    butCheck = PrincFrame->Button("butCheck");
    Frame1 = PrincFrame->ScreenGroup();
    butEditSel = PrincFrame->Button("butEditSel");
    butPromote = PrincFrame->Button("butPromote");
    butDemote = PrincFrame->Button("butDemote");
    butUpdateCapts = PrincFrame->Button("butUpdateCapts");
    butDelete = PrincFrame->Button("butDelete");
    butAddOpen = AddFrame->Button("butAddOpen");
    butImport = AddFrame->Button("butImport");
    txtAddFile = AddFrame->FileBox();
    AddLayList = AddFrame->List();
    Frame3 = AddFrame->ScreenGroup();
    butAppendToPrinc = AddFrame->Button("butAppendToPrinc");
    // The screen an append goes to: the Principal layout's empty screens, the Persistent screen
    // offered first only where it belongs.
    labAppendTo = new QLabel(FromCodePage("Append to:"), Frame3);
    labAppendTo->setObjectName(QStringLiteral("labAppendTo"));
    labAppendTo->setGeometry(TwipsRect(120, 1440, 1215, 255));
    cboAppendTo = new QComboBox(Frame3);
    cboAppendTo->setObjectName(QStringLiteral("cboAppendTo"));
    cboAppendTo->setProperty("Tag", QStringLiteral("A3"));
    cboAppendTo->setToolTip(
        FromCodePage("The empty screen of the Principal Layout the selected screen is copied to"));
    cboAppendTo->setGeometry(TwipsRect(120, 1695, 1215, 375));
    labAppendTo->setBuddy(cboAppendTo);
    Frame3->setMinimumHeight(Px(2190));
    // Appending needs an Additional layout; opening one enables the frame and its button.
    Frame3->setEnabled(false);
    butAppendToPrinc->setEnabled(false);
    PrincPreview = PrincFrame->Preview();
    AddPreview = AddFrame->Preview();
}

void KorvoScreenManager::BuildMenus() {
    const auto addItem = [this](QMenu* menu, const char* name, const char* caption,
                                void (KorvoScreenManager::*handler)(),
                                const QList<QKeySequence>& keys = {}) {
        QAction* item = menu->addAction(FromCodePage(caption));
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcuts(keys);
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    // A key that works only while the list has the focus, shown on the menu item all the same.
    const auto onlyIn = [](QAction* item, QWidget* list) {
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        list->addAction(item);
    };

    QMenu* mnuFile = menuBar()->addMenu(FromCodePage("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    addItem(mnuFile, "mnuPrincOpen", "Principal Layout - &Open", &KorvoScreenManager::openPrincipal,
            StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    addItem(mnuFile, "mnuAddOpen", "A&dditional Layout - Open",
            &KorvoScreenManager::openAdditional,
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)});
    mnuRecent = mnuFile->addMenu(FromCodePage("&Recent Layouts"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    mnuFile->addSeparator();
    addItem(mnuFile, "mnuPrincSave", "Principal Layout - Sa&ve", &KorvoScreenManager::saveLayout,
            StandardKeys(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    addItem(mnuFile, "mnuPrincSaveAs", "Principal Layout - &Save As",
            &KorvoScreenManager::saveLayoutAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    mnuFile->addSeparator();
    MirroredItems.emplace_back(addItem(mnuFile, "mnuExport", "CSV &Export",
                                       &KorvoScreenManager::exportCsv,
                                       {QKeySequence(Qt::CTRL | Qt::Key_E)}),
                               butExport);
    addItem(mnuFile, "mnuImport", "CSV &Import", &KorvoScreenManager::importCsv,
            {QKeySequence(Qt::CTRL | Qt::Key_I)});
    addItem(mnuFile, "mnuCompare", "Co&mpare with...", &KorvoScreenManager::compareLayouts);
    addItem(mnuFile, "mnuExportBundle", "Export layout with &pictures...",
            &KorvoScreenManager::exportBundle);
    mnuFile->addSeparator();
    addItem(mnuFile, "mnuExit", "E&xit", &KorvoScreenManager::exitProgram,
            StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

    QMenu* mnuEdit = menuBar()->addMenu(FromCodePage("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    // Undo and Redo name their step and are enabled only when there is one.
    for (QAction* item : {PrincSession->UndoAction(), PrincSession->RedoAction()})
        item->setParent(this);
    PrincSession->UndoAction()->setObjectName(QStringLiteral("mnuUndo"));
    PrincSession->RedoAction()->setObjectName(QStringLiteral("mnuRedo"));
    mnuEdit->addAction(PrincSession->UndoAction());
    mnuEdit->addAction(PrincSession->RedoAction());
    mnuEdit->addSeparator();
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuPromote", "Move u&p list",
                                       &KorvoScreenManager::promoteScreen,
                                       {QKeySequence(Qt::ALT | Qt::Key_Up)}),
                               butPromote);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuDemote", "Move do&wn list",
                                       &KorvoScreenManager::demoteScreen,
                                       {QKeySequence(Qt::ALT | Qt::Key_Down)}),
                               butDemote);
    QAction* deleteItem =
        addItem(mnuEdit, "mnuDelete", "&Delete Screen", &KorvoScreenManager::deleteScreens,
                StandardKeys(QKeySequence::Delete, Qt::Key_Delete));
    onlyIn(deleteItem, PrincLayList);
    MirroredItems.emplace_back(deleteItem, butDelete);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuUpdateCapts", "Update &Buttons",
                                       &KorvoScreenManager::updateCaptions),
                               butUpdateCapts);
    mnuEdit->addSeparator();
    // Like a double-click in the Additional list, Enter there appends even before a layout is open,
    // to say what is missing.
    QAction* appendItem = addItem(mnuEdit, "mnuAppend", "&Append to Principal Layout",
                                  &KorvoScreenManager::appendToPrincipal,
                                  {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    onlyIn(appendItem, AddLayList);
    mnuEdit->addSeparator();
    // Enter on a Principal screen edits its controls, as Enter on an Additional one appends it.
    QAction* editItem =
        addItem(mnuEdit, "mnuEditSel", "C&ontrol Edit", &KorvoScreenManager::editSelected,
                {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    onlyIn(editItem, PrincLayList);
    MirroredItems.emplace_back(editItem, butEditSel);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuEditOnScreen", "Edit on the &Screen...",
                                       &KorvoScreenManager::editOnScreen,
                                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}),
                               butEditSel);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuEditScreen", "Edit All &Controls",
                                       &KorvoScreenManager::editScreen,
                                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}),
                               butEditScreen);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuCheck", "Chec&k Layout...",
                                       &KorvoScreenManager::checkLayout,
                                       {QKeySequence(Qt::CTRL | Qt::Key_L)}),
                               butCheck);

    // The panes beside the frames (the controls table, the property sheet, find) each add their
    // item here with AddPane.
    mnuView = menuBar()->addMenu(FromCodePage("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));

    QMenu* mnuHelp = menuBar()->addMenu(FromCodePage("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addItem(mnuHelp, "mnuAbout", "About KorvoScreenQuill...", &KorvoScreenManager::showAbout);
}

void KorvoScreenManager::BuildStatusBar() {
    StatusRecords = new QLabel(statusBar());
    StatusRecords->setObjectName(QStringLiteral("StatusRecords"));
    StatusNextScreen = new QLabel(statusBar());
    StatusNextScreen->setObjectName(QStringLiteral("StatusNextScreen"));
    // The two texts give way to the resolution when the bar is short of room: each is cut at
    // its end (and said whole in its tooltip) rather than drawn over the other.
    for (QLabel* text : {StatusRecords, StatusNextScreen}) {
        text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        text->setMinimumWidth(0);
    }
    statusBar()->addWidget(StatusRecords, 2);
    statusBar()->addWidget(StatusNextScreen, 3);

    // What the Principal layout is drawn for, and the choice of another.
    StatusResolution = new QToolButton(statusBar());
    StatusResolution->setObjectName(QStringLiteral("StatusResolution"));
    StatusResolution->setPopupMode(QToolButton::InstantPopup);
    StatusResolution->setAutoRaise(true);
    StatusResolution->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    StatusResolution->setToolTip(
        tr("The screen resolution the Principal layout is drawn for; choose another if the "
           "detection is wrong. The choice is kept for this file, not written into it."));
    auto* menu = new QMenu(StatusResolution);
    menu->setObjectName(QStringLiteral("mnuResolution"));
    auto* choices = new QActionGroup(menu);
    for (std::size_t i = 0; i < Resolutions.size(); ++i) {
        QAction* item = menu->addAction(FromCodePage(ResolutionCaption(Resolutions[i])));
        item->setObjectName(QStringLiteral("mnuResolution%1").arg(i));
        item->setCheckable(true);
        choices->addAction(item);
        const Resolution resolution = Resolutions[i];
        connect(item, &QAction::triggered, this,
                [this, resolution] { ChooseResolution(resolution); });
    }
    menu->addSeparator();
    QAction* other = menu->addAction(tr("&Other..."));
    other->setObjectName(QStringLiteral("mnuResolutionOther"));
    connect(other, &QAction::triggered, this, [this] {
        RunGuarded(Dialogs, [this] {
            const DetectedResolution now = PrincSession->DrawnFor();
            const std::string answer = Dialogs.InputBox(
                "The screen resolution the Principal layout is drawn for, as width x height "
                "(each a whole number from 320 to 16384):",
                "Drawn for",
                std::to_string(now.Size.Width) + "x" + std::to_string(now.Size.Height));
            if (answer.empty()) return;
            const std::optional<Resolution> chosen = ParseResolution(answer);
            if (!chosen)
                return Warn("\"" + answer +
                            "\" is not a resolution: give the width and height as whole numbers "
                            "from 320 to 16384, as 1600x1200.");
            ChooseResolution(chosen);
        });
    });
    QAction* detected = menu->addAction(tr("As &detected"));
    detected->setObjectName(QStringLiteral("mnuResolutionDetected"));
    connect(detected, &QAction::triggered, this, [this] { ChooseResolution(std::nullopt); });
    StatusResolution->setMenu(menu);
    statusBar()->addPermanentWidget(StatusResolution);
    BuildCodePageChoice();
}

void KorvoScreenManager::BuildCodePageChoice() {
    StatusCodePage = new QToolButton(statusBar());
    StatusCodePage->setObjectName(QStringLiteral("StatusCodePage"));
    StatusCodePage->setPopupMode(QToolButton::InstantPopup);
    StatusCodePage->setAutoRaise(true);
    StatusCodePage->setToolTip(
        tr("The code page the Principal layout's texts are read in, and the rule that found it; "
           "choose another if its texts read wrong. The choice changes no byte of the layout and "
           "is kept for this file, not written into it."));
    auto* menu = new QMenu(StatusCodePage);
    menu->setObjectName(QStringLiteral("mnuCodePage"));
    auto* choices = new QActionGroup(menu);
    for (const int codePage : SupportedCodePages()) {
        QAction* item = menu->addAction(QString::fromStdString(CodePageDescription(codePage)));
        item->setObjectName(QStringLiteral("mnuCodePage%1").arg(codePage));
        item->setData(codePage);
        item->setCheckable(true);
        choices->addAction(item);
        connect(item, &QAction::triggered, this, [this, codePage] { ChooseCodePage(codePage); });
    }
    menu->addSeparator();
    QAction* detected = menu->addAction(tr("As &detected"));
    detected->setObjectName(QStringLiteral("mnuCodePageDetected"));
    connect(detected, &QAction::triggered, this, [this] { ChooseCodePage(std::nullopt); });
    StatusCodePage->setMenu(menu);
    statusBar()->addPermanentWidget(StatusCodePage);
    connect(PrincSession.get(), &LayoutSession::CodePageChanged, this,
            &KorvoScreenManager::ShowCodePage);
}

void KorvoScreenManager::ChooseCodePage(const std::optional<int>& codePage) {
    PrincSession->SetChosenCodePage(codePage);
    Kept->KeepCodePage(FromSystemPath(PrincipalLayout.FileName()), codePage);
    ShowCodePage();
}

void KorvoScreenManager::ShowCodePage() {
    StatusCodePage->setText(QString::fromStdString(CodePageCaption(PrincSession->CodePage())));
    StatusCodePage->setVisible(PrincSession->IsOpen());
    const std::optional<int>& chosen = PrincSession->ChosenCodePage();
    for (QAction* item : StatusCodePage->menu()->actions())
        if (item->isCheckable()) item->setChecked(chosen && *chosen == item->data().toInt());
}
