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

namespace {

// The window's client area, in twips: its default and smallest size.
constexpr int ClientWidth = 10530;
constexpr int ClientHeight = 8055;
// The design sizes of the two frames and of the lists, in twips.
constexpr int PrincFrameHeight = 4095;
constexpr int AddFrameHeight = 3375;
constexpr int ListWidth = 8535;
constexpr int PrincListHeight = 2655;
constexpr int AddListHeight = 1815;
// The size the window's captions are designed for.
constexpr qreal DesignPointSize = 8.0;

// Of the height beyond the design size, the part the Principal frame gets. Its list needs less
// to show all 16 screens than the Additional one, so both get there at about the same height.
constexpr double PrincipalHeightShare = 0.42;
// Of the width beyond the design size, the part a list gets when its preview pane is shown: the
// list's columns fit at the design width, the picture of a screen uses what room there is.
constexpr double ListWidthShare = 1.0 / 3.0;

constexpr int OpenFlags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly;
constexpr int SaveFlags =
    FileDialogFlag::CreatePrompt | FileDialogFlag::OverwritePrompt | FileDialogFlag::HideReadOnly;

const char* const LayoutFilter = "Mill Layouts |*.set|Turning Layouts|*.lset|";
const char* const OpenLayoutFilter = "All layouts|*.set;*.lset;*.zip|Mill Layouts |*.set|Turning "
                                     "Layouts|*.lset|Layouts with pictures|*.zip|";
// Save As offers the mill filter first and the turning one second.
constexpr int TurningFilterIndex = 2;

// Where each dialog's last folder is kept, and the folder each starts in the first time.
const char* const OpenFolderKey = "Folders/OpenLayout";
const char* const SaveFolderKey = "Folders/SaveLayout";
const char* const ExportFolderKey = "Folders/CsvExport";
const char* const ImportFolderKey = "Folders/CsvImport";

const char* const SizeKey = "MainWindow/Size";
const char* const MaximizedKey = "MainWindow/Maximized";
const char* const FrameSplitKey = "MainWindow/FrameSplit";
const char* const PrincPreviewSplitKey = "MainWindow/PrincipalPreviewSplit";
const char* const AddPreviewSplitKey = "MainWindow/AdditionalPreviewSplit";
const char* const PrincColumnsKey = "MainWindow/PrincipalColumns";
const char* const AddColumnsKey = "MainWindow/AdditionalColumns";

QString Key(const char* key) {
    return QString::fromLatin1(key);
}

int Px(int twips) {
    return TwipsToPixels(twips);
}

bool HasSuffix(const QString& path, std::initializer_list<const char*> suffixes) {
    const QString suffix = QFileInfo(path).suffix();
    for (const char* s : suffixes)
        if (suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool IsLayoutPath(const QString& path) {
    return HasSuffix(path, {"set", "lset"});
}

bool IsCsvPath(const QString& path) {
    return HasSuffix(path, {"csv"});
}

std::string Quoted(const QString& path) {
    return "\"" + PathForMessage(ToSystemPath(QDir::toNativeSeparators(path))) + "\"";
}

// A path named on the command line, made absolute so the box, the title and Save name it whole.
std::string AbsolutePath(const std::string& path) {
    return ToSystemPath(QFileInfo(FromSystemPath(path)).absoluteFilePath());
}

// The platform's keys for a standard command, or the usual one where the platform has none.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, QKeyCombination usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) keys << QKeySequence(usual);
    return keys;
}

QList<int> ColumnWidths(const QTreeWidget& list) {
    QList<int> widths;
    for (int c = 0; c < list.columnCount(); ++c)
        widths << list.columnWidth(c);
    return widths;
}

QVariantList AsVariants(const QList<int>& values) {
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

void RestoreColumnWidths(QTreeWidget& list, const QVariant& stored) {
    const QVariantList widths = stored.toList();
    if (widths.size() != list.columnCount()) return;
    for (const QVariant& width : widths)
        if (width.toInt() <= 0 || width.toInt() > 4000) return;
    for (int c = 0; c < list.columnCount(); ++c)
        list.setColumnWidth(c, widths[c].toInt());
}

} // namespace

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
        if (CheckWindow != nullptr)
            CheckWindow->SetChosenResolution(PrincSession->ChosenResolution());
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
    // Whatever window changed the Principal layout, the title, the status bar, the menus and the
    // check window show it.
    connect(PrincSession.get(), &LayoutSession::Changed, this, [this] {
        if (CheckWindow != nullptr) CheckWindow->Refresh();
        RefreshWindowState();
    });
    connect(PrincSession.get(), &LayoutSession::ModifiedChanged, this,
            [this] { RefreshWindowState(); });
    connect(PrincSession.get(), &LayoutSession::FileNameChanged, this,
            [this] { RefreshWindowState(); });
}

KorvoScreenManager::~KorvoScreenManager() = default;

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

int KorvoScreenManager::PrincipalScreen() const {
    return PrincFrame->SelectedScreen();
}

void KorvoScreenManager::SelectPrincipalScreen(int screen) {
    QTreeWidgetItem* row = PrincLayList->topLevelItem(screen);
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
    statusBar()->addWidget(StatusRecords);
    statusBar()->addWidget(StatusNextScreen);

    // What the Principal layout is drawn for, and the choice of another.
    StatusResolution = new QToolButton(statusBar());
    StatusResolution->setObjectName(QStringLiteral("StatusResolution"));
    StatusResolution->setPopupMode(QToolButton::InstantPopup);
    StatusResolution->setAutoRaise(true);
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
}

void KorvoScreenManager::ChooseResolution(const std::optional<Resolution>& resolution) {
    PrincSession->SetChosenResolution(resolution);
    // Kept for the file as it is on disk; a later save keeps it again with the file's new size.
    Kept->Keep(FromSystemPath(PrincipalLayout.FileName()), resolution);
}

void KorvoScreenManager::ShowResolution() {
    const DetectedResolution drawn = PrincSession->DrawnFor();
    StatusResolution->setText(FromCodePage(DrawnForText(drawn)));
    StatusResolution->setVisible(PrincSession->IsOpen());
    const std::optional<Resolution>& chosen = PrincSession->ChosenResolution();
    for (QAction* item : StatusResolution->menu()->actions()) {
        if (!item->isCheckable()) continue;
        const int index = item->objectName().mid(13).toInt();
        item->setChecked(chosen && *chosen == Resolutions[static_cast<std::size_t>(index)]);
    }
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
    if (IsLayoutScreen(screen)) SelectPrincipalScreen(screen);
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
    // Where the next append goes: the Append to choice.
    const QVariant chosen = cboAppendTo->currentData();
    const int next = chosen.isValid() ? chosen.toInt() : -1;
    StatusNextScreen->setText(next < 0
                                  ? QStringLiteral("No empty screen for an append")
                                  : QStringLiteral("The next append fills screen %1").arg(next));
    ShowResolution();
    for (const auto& [item, button] : MirroredItems)
        item->setEnabled(button->isEnabled());
    RebuildRecentMenu();
    emit LayoutsRefreshed();
}

void KorvoScreenManager::RebuildRecentMenu() {
    mnuRecent->clear();
    const QStringList& paths = Recent->Paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QString shown = QDir::toNativeSeparators(paths[i]);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction* item = mnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        item->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        const QString path = paths[i];
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    if (!paths.isEmpty()) {
        mnuRecent->addSeparator();
        QAction* clear = mnuRecent->addAction(FromCodePage("&Clear the list"));
        clear->setObjectName(QStringLiteral("mnuRecentClear"));
        connect(clear, &QAction::triggered, this, [this] {
            Recent->Clear();
            RebuildRecentMenu();
        });
    }
    mnuRecent->menuAction()->setEnabled(!paths.isEmpty());
}

void KorvoScreenManager::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}

void KorvoScreenManager::PrepareDialog(FileDialogSetup& setup, const char* key,
                                       const char* firstFolder) {
    QString folder = Folders.value(Key(key));
    if (folder.isEmpty() && Settings != nullptr) folder = Settings->value(Key(key)).toString();
    if (folder.isEmpty() && QDir(QString::fromLatin1(firstFolder)).exists())
        folder = QString::fromLatin1(firstFolder);
    // Without a folder of its own yet, a dialog starts beside the Principal layout's file.
    if (folder.isEmpty() && !PrincipalLayout.FileName().empty())
        folder = QFileInfo(FromSystemPath(PrincipalLayout.FileName())).absolutePath();
    setup.InitDir = ToSystemPath(folder);
}

void KorvoScreenManager::RememberFolder(const char* key, const std::string& chosenPath) {
    const QString folder = QFileInfo(FromSystemPath(chosenPath)).absolutePath();
    // Kept for the run even without settings.
    Folders.insert(Key(key), folder);
    if (Settings != nullptr) Settings->setValue(Key(key), folder);
}

bool KorvoScreenManager::MayReplacePrincipal() {
    return !PrincipalLayout.IsDirty() ||
           Dialogs.MsgBox("Layout has been changed. "
                          "Do you want chance to Save As before Opening a new one?",
                          MsgButtons::YesNo, MsgIcon::Question,
                          "OK to Open another?") != MsgAnswer::Yes;
}

std::string KorvoScreenManager::LayoutToOpen(const std::string& path) {
    return IsZipPath(path) ? UnpackBundleToOpen(path, Files, Dialogs) : path;
}

bool KorvoScreenManager::OpenPrincipalFile(const std::string& chosen) {
    const std::string path = LayoutToOpen(chosen);
    if (path.empty() || !PrincipalLayout.LoadLayout(path)) return false;
    PrincSession->SetChosenResolution(Kept->Find(FromSystemPath(path)));
    SetByTag(*this, QStringLiteral("A1"), TagEnabled, true);
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::OpenAdditionalFile(const std::string& chosen) {
    const std::string path = LayoutToOpen(chosen);
    if (path.empty() || !AdditionalLayout.LoadLayout(path)) return false;
    SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::ImportAdditionalFile(const std::string& path) {
    if (!AdditionalLayout.ImportCSV(path)) return false;
    SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
    return true;
}

void KorvoScreenManager::OpenFromCommandLine(const std::string& principal,
                                             const std::string& additional) {
    Command([&] {
        if (!principal.empty()) {
            if (IsCsvPath(FromSystemPath(principal)))
                Warn(Quoted(FromSystemPath(principal)) +
                     " is a CSV file: a CSV file is imported as the Additional layout, the second "
                     "file named after the Principal layout.");
            else
                OpenPrincipalFile(AbsolutePath(principal));
        }
        if (!additional.empty()) {
            const std::string path = AbsolutePath(additional);
            if (IsCsvPath(FromSystemPath(path)))
                ImportAdditionalFile(path);
            else
                OpenAdditionalFile(path);
        }
    });
}

void KorvoScreenManager::openPrincipal() {
    Command([this] {
        if (!MayReplacePrincipal()) return;
        SetOpen.Flags = OpenFlags;
        PrepareDialog(SetOpen, OpenFolderKey, "c:\\korvo");
        std::string path;
        if (Files.ShowOpen(SetOpen, path) != 0) return;
        RememberFolder(OpenFolderKey, path);
        OpenPrincipalFile(path);
    });
}

void KorvoScreenManager::openAdditional() {
    Command([this] {
        // The Additional layout is never saved, so there is nothing to ask first.
        SetOpen.Flags = OpenFlags;
        PrepareDialog(SetOpen, OpenFolderKey, "c:\\korvo");
        std::string path;
        if (Files.ShowOpen(SetOpen, path) != 0) return;
        RememberFolder(OpenFolderKey, path);
        OpenAdditionalFile(path);
    });
}

void KorvoScreenManager::OpenRecent(const QString& path) {
    Command([this, &path] {
        if (!QFileInfo(path).isFile()) {
            Warn("The layout file " + Quoted(path) +
                 " is no longer there; it has been taken off the recent layouts.");
            Recent->Remove(path);
            return;
        }
        if (!MayReplacePrincipal()) return;
        OpenPrincipalFile(ToSystemPath(path));
    });
}

bool KorvoScreenManager::SaveAs() {
    SetSave.Flags = SaveFlags;
    PrepareDialog(SetSave, SaveFolderKey, "c:\\korvo");
    // A lathe layout is offered to be saved as one.
    SetSave.FilterIndex =
        HasSuffix(FromSystemPath(PrincipalLayout.FileName()), {"lset"}) ? TurningFilterIndex : 1;
    std::string path;
    SaveDialogErr = Files.ShowSave(SetSave, path) == FileDialogCancel ? FileDialogCancel : 0;
    if (SaveDialogErr == FileDialogCancel) return false;
    RememberFolder(SaveFolderKey, path);
    if (!PrincipalLayout.SaveLayout(path)) return false;
    // From now on the box, the title and Save name the file just written.
    PrincipalLayout.SetFileName(path);
    Kept->Keep(FromSystemPath(path), PrincSession->ChosenResolution());
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::Save() {
    const std::string path = PrincipalLayout.FileName();
    if (path.empty()) return SaveAs();
    if (!PrincipalLayout.SaveLayout(path)) return false;
    Kept->Keep(FromSystemPath(path), PrincSession->ChosenResolution());
    Recent->Add(FromSystemPath(path));
    return true;
}

void KorvoScreenManager::saveLayout() {
    Command([this] { Save(); });
}

void KorvoScreenManager::saveLayoutAs() {
    Command([this] { SaveAs(); });
}

void KorvoScreenManager::exportCsv() {
    Command([this] {
        CSVSave.Flags = SaveFlags;
        PrepareDialog(CSVSave, ExportFolderKey, "c:\\");
        std::string path;
        if (Files.ShowSave(CSVSave, path) != 0) return;
        RememberFolder(ExportFolderKey, path);
        PrincipalLayout.ExportCSV(path);
    });
}

void KorvoScreenManager::importCsv() {
    Command([this] {
        CSVOpen.Flags = OpenFlags;
        PrepareDialog(CSVOpen, ImportFolderKey, "C:\\");
        std::string path;
        if (Files.ShowOpen(CSVOpen, path) != 0) return;
        RememberFolder(ImportFolderKey, path);
        ImportAdditionalFile(path);
    });
}

void KorvoScreenManager::RefreshAppendTargets(bool sourceChanged) {
    const int kept = cboAppendTo->currentData().isValid() ? cboAppendTo->currentData().toInt() : -1;
    const QSignalBlocker quiet(cboAppendTo);
    cboAppendTo->clear();
    for (int s = 0; s < ScreenCount; ++s) {
        if (PrincipalLayout.Screens()[static_cast<std::size_t>(s)].CtrlCount > 0) continue;
        cboAppendTo->addItem(s == 0 ? FromCodePage("0 (Persistent)") : QString::number(s), s);
    }
    if (cboAppendTo->count() == 0) {
        cboAppendTo->addItem(FromCodePage("none empty"));
        return;
    }
    // The user's own choice stays while it is still empty, until another screen is to be
    // appended; otherwise the default follows what is empty now.
    if (sourceChanged) TargetChosen = false;
    int target = TargetChosen ? kept : -1;
    if (cboAppendTo->findData(target) < 0)
        target = DefaultAppendTarget(PrincipalLayout, AddFrame->SelectedScreen());
    cboAppendTo->setCurrentIndex(std::max(0, cboAppendTo->findData(target)));
}

void KorvoScreenManager::appendToPrincipal() {
    Command([this] {
        if (!PrincSession->IsOpen()) {
            Warn("You cannot Append without opening a Principal Layout first");
            return;
        }
        const int source = AddFrame->SelectedScreen();
        const QVariant chosen = cboAppendTo->currentData();
        // No empty screen: the append says so.
        if (!chosen.isValid()) return PrincipalLayout.AppendScreenFrom(AdditionalLayout, source);
        const int target = chosen.toInt();
        if (AppendTargetAsks(source, target)) {
            const std::string label =
                IsLayoutScreen(source)
                    ? AdditionalLayout.Screens()[static_cast<std::size_t>(source)].Label
                    : std::string();
            if (Dialogs.MsgBox(AppendToPersistentQuestion(source, label), MsgButtons::YesNo,
                               MsgIcon::Question) != MsgAnswer::Yes)
                return;
        }
        PrincipalLayout.AppendScreenFrom(AdditionalLayout, source, target);
    });
}

void KorvoScreenManager::deleteScreens() {
    Command([this] { PrincipalLayout.DeleteScreens(PrincFrame->SelectedScreen()); });
}

void KorvoScreenManager::promoteScreen() {
    Command([this] { PrincipalLayout.PromoteScreens(PrincFrame->SelectedScreen()); });
}

void KorvoScreenManager::demoteScreen() {
    Command([this] { PrincipalLayout.DemoteScreens(PrincFrame->SelectedScreen()); });
}

void KorvoScreenManager::updateCaptions() {
    Command([this] { PrincipalLayout.UpdateButtonCaptions(); });
}

void KorvoScreenManager::ShowEditControls() {
    EditControlsWindow form(PrincipalLayout, Dialogs, EditAllScreens, PrincFrame->ListView(), this);
    form.SetChosenResolution(PrincSession->ChosenResolution());
    form.exec();
    // A rescale leaves the layout drawn for its target; the file keeps that at its next save.
    if (form.RescaledTo()) PrincSession->SetChosenResolution(form.RescaledTo());
}

void KorvoScreenManager::editScreen() {
    Command([this] {
        EditAllScreens = true;
        ShowEditControls();
    });
}

void KorvoScreenManager::checkLayout() {
    if (CheckWindow == nullptr) {
        CheckWindow = new LayoutCheckWindow(PrincipalLayout, this);
        CheckWindow->setObjectName(QStringLiteral("frmCheck"));
        CheckWindow->SetChosenResolution(PrincSession->ChosenResolution());
        CheckWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(CheckWindow, &LayoutCheckWindow::FindingActivated, this,
                &KorvoScreenManager::GoToFinding);
        connect(CheckWindow, &LayoutCheckWindow::MoveInsideRequested, this,
                &KorvoScreenManager::MoveInsideFinding);
        connect(CheckWindow, &LayoutCheckWindow::RelinkRequested, this, [this](int record) {
            if (record >= 1 && record <= PrincipalLayout.ControlCount())
                PanePictures->RelinkPath(
                    PrincipalLayout.Records()[static_cast<std::size_t>(record - 1)].rBitMapPath);
        });
    } else {
        CheckWindow->Refresh();
    }
    CheckWindow->show();
    CheckWindow->raise();
    CheckWindow->activateWindow();
}

void KorvoScreenManager::GoToFinding(int screen, int record) {
    // The finding's control is selected in every view, the table and the property sheet too.
    if (record > 0) PrincSession->SetSelection({record});
    if (screen < 0 || screen >= PrincLayList->topLevelItemCount()) {
        statusBar()->showMessage(
            screen < 0 ? QStringLiteral("The finding concerns the whole layout")
                       : QStringLiteral("Screen %1 is not one of the 16 screens").arg(screen),
            5000);
        return;
    }
    SelectPrincipalScreen(screen);
    // The pane has followed the selection; the finding's control is marked in it.
    const bool marked = record > 0 && PrincPreview->HighlightRecord(record);
    if (record > 0 && (!marked || PrincFrame->PreviewHost()->isHidden()))
        statusBar()->showMessage(
            QStringLiteral("Record %1 is on screen %2").arg(record).arg(screen), 5000);
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
        ScreenEditors.removeAll(nullptr);
        ScreenEditors.push_back(window);
        window->show();
    });
}

// The check's "Move Inside": the control is moved inside the resolution the check measured it
// against, the one the whole layout is drawn for.
void KorvoScreenManager::MoveInsideFinding(int record) {
    Command([this, record] {
        const auto records = PrincipalLayout.Records();
        const ControlsEdit edit = MoveInside(records, {record}, PrincSession->DrawnFor().Size);
        if (edit.Empty()) {
            statusBar()->showMessage(
                QStringLiteral("Record %1 lies inside the screen already").arg(record), 5000);
            return;
        }
        const std::string refused =
            PrincipalLayout.ApplyEdit(edit, ControlsStepText("Move", 1) + " inside the screen");
        if (!refused.empty()) Warn(refused);
    });
}

// Compares the Principal layout with a layout file; the dialog proposes the file it was opened
// from, to show what changed since it was saved.
void KorvoScreenManager::compareLayouts() {
    Command([this] {
        FileDialogSetup setup = SetOpen;
        setup.Flags = OpenFlags;
        PrepareDialog(setup, OpenFolderKey, "c:\\korvo");
        setup.DialogTitle = "Compare the Principal layout with";
        setup.FileName = PrincipalLayout.FileName();
        std::string path;
        if (Files.ShowOpen(setup, path) != 0) return;
        if (CompareWindow* window =
                CompareWindow::Open(PrincipalLayout, path, Files, Dialogs, this))
            connect(this, &KorvoScreenManager::LayoutsRefreshed, window, &CompareWindow::Refresh);
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

void KorvoScreenManager::exportBundle() {
    Command([this] {
        if (!PrincSession->IsOpen()) {
            Warn("Open a Principal layout first: its pictures are exported with it.");
            return;
        }
        const std::string folder =
            PrincipalLayout.FileName().empty()
                ? std::string()
                : ToSystemPath(
                      QFileInfo(FromSystemPath(PrincipalLayout.FileName())).absolutePath());
        ExportBundle(PrincipalLayout, Files, Dialogs, folder);
    });
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

bool KorvoScreenManager::AcceptsDrop(QObject* frame, QEvent* event) {
    const bool principal = frame == fraOPrinc;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        // Every drop is taken, so that what a frame cannot open is refused with a word.
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        // The drag's source waits for the drop to end: the boxes come after it.
        auto data = std::make_shared<QMimeData>();
        if (drop->mimeData()->hasUrls()) data->setUrls(drop->mimeData()->urls());
        QMetaObject::invokeMethod(
            this, [this, principal, data] { TakeDrop(principal, *data); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void KorvoScreenManager::TakeDrop(bool principal, const QMimeData& data) {
    Command([this, principal, &data] {
        const std::string takes =
            principal ? "the Principal Layout frame takes a layout file (.set or .lset)."
                      : "the Additional Layout frame takes a layout file (.set or .lset) or a CSV "
                        "file (.csv).";
        QStringList paths;
        for (const QUrl& url : data.urls())
            if (url.isLocalFile()) paths << url.toLocalFile();
        if (paths.isEmpty() || paths.size() != data.urls().size())
            return Warn("Only files on this computer can be dropped here: " + takes);
        if (paths.size() > 1) return Warn("Drop one file at a time: " + takes);
        const QString& path = paths.first();
        if (principal && IsLayoutPath(path)) {
            if (MayReplacePrincipal()) OpenPrincipalFile(ToSystemPath(path));
        } else if (!principal && IsLayoutPath(path)) {
            OpenAdditionalFile(ToSystemPath(path));
        } else if (!principal && IsCsvPath(path)) {
            ImportAdditionalFile(ToSystemPath(path));
        } else if (IsCsvPath(path)) {
            Warn(Quoted(path) + " is a CSV file: a CSV file is imported as the Additional layout, "
                                "so drop it on the Additional Layout frame.");
        } else {
            Warn(Quoted(path) + " cannot be opened here: " + takes);
        }
    });
}

bool KorvoScreenManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fraOPrinc || watched == fraOAdd) {
        if (AcceptsDrop(watched, event)) return true;
    } else if (watched == AddLayList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        appendToPrincipal();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QSize KorvoScreenManager::DesignSize() const {
    return {Client->minimumWidth(), Client->minimumHeight() + menuBar()->sizeHint().height() +
                                        statusBar()->sizeHint().height()};
}

void KorvoScreenManager::RestoreWindowSettings() {
    // The design size where the screen has room for it; otherwise the frames scroll.
    ResizeWithinScreen(*this, DesignSize());
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
    const QSize room = screen != nullptr ? screen->availableGeometry().size() : QSize();
    if (size.isValid() && room.isValid() && size.width() <= room.width() &&
        size.height() <= room.height())
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
