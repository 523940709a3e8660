#include "ui/KorvoScreenManager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/FileAccess.h"
#include "ui/CaptionFit.h"
#include "ui/CodePage.h"
#include "ui/CommonCode.h"
#include "ui/HandlerGuard.h"
#include "ui/LayoutCheckWindow.h"
#include "ui/QtScreenListView.h"
#include "ui/QtUserDialogs.h"
#include "ui/RecentLayouts.h"
#include "ui/ScreenPreview.h"
#include "ui/ShareSplitter.h"
#include "ui/Twips.h"
#include "ui/cCaptionButton.h"
#include "ui/frmAboutQuill.h"
#include "ui/frmEditControls.h"

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
const char* const OpenLayoutFilter =
    "All layouts|*.set;*.lset|Mill Layouts |*.set|Turning Layouts|*.lset|";
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

// Names a control and gives it its Tag and tooltip.
template <typename Control>
Control* Name(Control* control, const char* name, const char* tag = "", const char* toolTip = "") {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty("Tag", QString::fromLatin1(tag));
    if (*toolTip != '\0') control->setToolTip(FromCodePage(toolTip));
    return control;
}

// A control at its design place inside one of the small frames, which keep their design layout.
template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry, const char* tag = "",
               const char* toolTip = "") {
    Name(control, name, tag, toolTip);
    control->setGeometry(geometry);
    return control;
}

// A button of its design size in one of the layouts.
cCaptionButton* Button(QWidget* parent, const char* name, const char* caption, int width,
                       int height, const char* tag = "", const char* toolTip = "") {
    auto* button = Name(new cCaptionButton(FromCodePage(caption), parent), name, tag, toolTip);
    button->setFixedSize(Px(width), Px(height));
    return button;
}

QGroupBox* Frame(QWidget* parent, const char* caption) {
    return new QGroupBox(FromCodePage(caption), parent);
}

QLineEdit* FileNameBox(QWidget* parent, int width, int height) {
    auto* box = new QLineEdit(FromCodePage("<none>"), parent);
    // Only the program writes the file names; the user reads them.
    box->setReadOnly(true);
    box->setMinimumWidth(Px(width));
    box->setFixedHeight(Px(height));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

// The margins of a big frame's layout that put its controls at their design distance from the
// frame's edges, whatever room the style gives the frame's title and border.
void SetFrameMargins(QGroupBox& frame, QLayout& layout, int top, int bottom) {
    frame.ensurePolished();
    const QMargins style = frame.contentsMargins();
    const auto less = [](int twips, int taken) { return std::max(0, Px(twips) - taken); };
    layout.setContentsMargins(less(120, style.left()), less(top, style.top()),
                              less(120, style.right()), less(bottom, style.bottom()));
}

int SelectedScreen(const QtScreenListView& list) {
    return ScreenNoFromText(list.SelectedText());
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
      Files(fileDialogs), Settings(settings), Recent(std::make_unique<RecentLayouts>(settings)) {
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
    Form_Load();
    BuildPreviews();
    RestoreWindowSettings();
    RefreshWindowState();
}

void KorvoScreenManager::BuildPreviews() {
    PrincPreview = new ScreenPreview(Files, Dialogs, PrincPreviewHost);
    PrincPreview->setObjectName(QStringLiteral("PrincPreview"));
    AddPreview = new ScreenPreview(Files, Dialogs, AddPreviewHost);
    AddPreview->setObjectName(QStringLiteral("AddPreview"));
    // Both previews read the same pictures once.
    AddPreview->SetPictureCache(PrincPreview->Pictures());
    PrincPreviewHost->layout()->addWidget(PrincPreview);
    AddPreviewHost->layout()->addWidget(AddPreview);
    // A pictures folder chosen in one is the other's too.
    connect(PrincPreview, &ScreenPreview::PicturesFolderChanged, AddPreview,
            &ScreenPreview::ReloadPictures);
    connect(AddPreview, &ScreenPreview::PicturesFolderChanged, PrincPreview,
            &ScreenPreview::ReloadPictures);
    connect(PrincLayList, &QTreeWidget::itemSelectionChanged, this,
            [this] { ShowSelectedScreen(*PrincPreview, PrincipalLayout, *PrincListView); });
    connect(AddLayList, &QTreeWidget::itemSelectionChanged, this,
            [this] { ShowSelectedScreen(*AddPreview, AdditionalLayout, *AddListView); });
    connect(this, &KorvoScreenManager::LayoutsRefreshed, this, [this] {
        if (CheckWindow != nullptr) CheckWindow->Refresh();
        ShowSelectedScreen(*PrincPreview, PrincipalLayout, *PrincListView);
        ShowSelectedScreen(*AddPreview, AdditionalLayout, *AddListView);
    });
}

void KorvoScreenManager::ShowSelectedScreen(ScreenPreview& preview, const cLayout& layout,
                                            const QtScreenListView& list) {
    const int screen = SelectedScreen(list);
    if (screen < 0)
        preview.Clear();
    else if (preview.Layout() == &layout && preview.Screen() == screen)
        preview.Refresh();
    else
        preview.ShowScreen(layout, screen);
}

KorvoScreenManager::~KorvoScreenManager() = default;

frmAboutQuill* KorvoScreenManager::AboutWindow() const {
    return About.data();
}

void KorvoScreenManager::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    QFont font = client->font();
    font.setPointSizeF(DesignPointSize);
    client->setFont(font);
    client->setMinimumSize(Px(ClientWidth), Px(ClientHeight));
    setCentralWidget(client);

    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(Px(120), Px(240), Px(75), Px(240));
    FrameSplitter = new ShareSplitter(Qt::Vertical, Px(PrincFrameHeight), Px(AddFrameHeight),
                                      PrincipalHeightShare, client);
    FrameSplitter->setObjectName(QStringLiteral("FrameSplitter"));
    FrameSplitter->setHandleWidth(Px(105));
    clientLayout->addWidget(FrameSplitter);

    BuildPrincipalFrame();
    BuildAdditionalFrame();
    FrameSplitter->setStretchFactor(0, 1);
    FrameSplitter->setStretchFactor(1, 1);

    PrincListView = std::make_unique<QtScreenListView>(*PrincLayList);
    AddListView = std::make_unique<QtScreenListView>(*AddLayList);
    // A double-click anywhere in the Additional list appends, even while the button is disabled.
    AddLayList->viewport()->installEventFilter(this);
    AddLayList->header()->viewport()->installEventFilter(this);
    // Files dropped on a frame open there.
    for (QGroupBox* frame : {fraOPrinc, fraOAdd}) {
        frame->setAcceptDrops(true);
        frame->installEventFilter(this);
    }

    connect(butOpen, &QPushButton::clicked, this, &KorvoScreenManager::butOpen_Click);
    connect(butExport, &QPushButton::clicked, this, &KorvoScreenManager::butExport_Click);
    connect(butSaveAs, &QPushButton::clicked, this, &KorvoScreenManager::butSaveAs_Click);
    connect(butEditScreen, &QPushButton::clicked, this, &KorvoScreenManager::butEditScreen_Click);
    connect(butCheck, &QPushButton::clicked, this, &KorvoScreenManager::butCheck_Click);
    connect(butEditSel, &QPushButton::clicked, this, &KorvoScreenManager::butEditSel_Click);
    connect(butPromote, &QPushButton::clicked, this, &KorvoScreenManager::butPromote_Click);
    connect(butDemote, &QPushButton::clicked, this, &KorvoScreenManager::butDemote_Click);
    connect(butUpdateCapts, &QPushButton::clicked, this, &KorvoScreenManager::butUpdateCapts_Click);
    connect(butDelete, &QPushButton::clicked, this, &KorvoScreenManager::butDelete_Click);
    connect(butAddOpen, &QPushButton::clicked, this, &KorvoScreenManager::butAddOpen_Click);
    connect(butImport, &QPushButton::clicked, this, &KorvoScreenManager::butImport_Click);
    connect(butAppendToPrinc, &QPushButton::clicked, this,
            &KorvoScreenManager::butAppendToPrinc_Click);
}

QWidget* KorvoScreenManager::PreviewHost(QWidget* parent, const char* name) {
    auto* host = new QWidget(parent);
    host->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    // What a pane asks for never pushes the window past its design size; the splitter gives the
    // host its room.
    host->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    host->installEventFilter(this);
    return host;
}

void KorvoScreenManager::BuildPrincipalFrame() {
    fraOPrinc = Name(Frame(FrameSplitter, "Principal Layout"), "fraOPrinc");
    FrameSplitter->addWidget(fraOPrinc);

    butOpen =
        Button(fraOPrinc, "butOpen", "Open .SET", 1215, 375, "", "Opens a layout (.SET) file");
    butExport = Button(fraOPrinc, "butExport", "CSV Export", 1215, 375, "A1",
                       "Exports the selected screen(s) to a comma separated variable file");
    butSaveAs = Button(fraOPrinc, "butSaveAs", "Save As", 1215, 375, "A1",
                       "Saves As the current Principal screen");
    txtOpenedFile = Name(FileNameBox(fraOPrinc, 3855, 375), "txtOpenedFile", "A1");

    PrincLayList =
        Name(new QTreeWidget(fraOPrinc), "PrincLayList", "", "Screens in the Principal Layout");
    // The columns are shared out of the list's design width when the document binds it.
    PrincLayList->resize(Px(ListWidth), Px(PrincListHeight));
    PrincListSplitter =
        new ShareSplitter(Qt::Horizontal, Px(ListWidth), 0, ListWidthShare, fraOPrinc);
    PrincListSplitter->setObjectName(QStringLiteral("PrincListSplitter"));
    PrincListSplitter->installEventFilter(this);
    PrincListSplitter->addWidget(PrincLayList);
    PrincPreviewHost = PreviewHost(PrincListSplitter, "PrincPreviewHost");
    PrincListSplitter->addWidget(PrincPreviewHost);
    PrincPreviewHost->hide();

    // The two small frames keep their controls at their design places.
    Frame2 = Name(Frame(fraOPrinc, "All Screens in Layout"), "Frame2", "A1");
    Frame2->setFixedSize(Px(4215), Px(855));
    butEditScreen = Place(new cCaptionButton(FromCodePage("Edit All Controls"), Frame2),
                          "butEditScreen", TwipsRect(240, 360, 1335, 375), "A1");
    butCheck = Place(new cCaptionButton(FromCodePage("Check Layout"), Frame2), "butCheck",
                     TwipsRect(1695, 360, 1335, 375), "A1",
                     "Lists broken screen links, key clashes, off-screen controls and missing "
                     "pictures of the Principal layout");

    Frame1 = Name(Frame(fraOPrinc, "Selected Screen"), "Frame1", "A1");
    // At least the height its buttons need; the frame grows with the list beside it.
    Frame1->setMinimumSize(Px(1455), Px(3495 + 60));
    Frame1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    Frame1->setFixedWidth(Px(1455));
    butEditSel = Place(new cCaptionButton(FromCodePage("Control Edit"), Frame1), "butEditSel",
                       TwipsRect(120, 360, 1215, 375), "A1");
    butPromote = Place(new cCaptionButton(FromCodePage("Move up list"), Frame1), "butPromote",
                       TwipsRect(120, 960, 1215, 375), "A1", "Promotes the selected screen");
    butDemote = Place(new cCaptionButton(FromCodePage("Move down list"), Frame1), "butDemote",
                      TwipsRect(120, 1440, 1215, 375), "A1", "Demotes the selected screen");
    butUpdateCapts = Place(new cCaptionButton(FromCodePage("Update Buttons"), Frame1),
                           "butUpdateCapts", TwipsRect(120, 2040, 1215, 615), "A1",
                           "Prompts for new captions for buttons with F-key shortcuts and resets "
                           "F-key to position in the list");
    butDelete =
        Place(new cCaptionButton(FromCodePage("Delete Screen"), Frame1), "butDelete",
              TwipsRect(120, 3000, 1215, 495), "A1", "Deletes chosen screen from this layout");
    QFont bold = butDelete->font();
    bold.setBold(true);
    butDelete->setFont(bold);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Px(105));
    buttons->addWidget(butOpen);
    buttons->addWidget(butExport);
    buttons->addWidget(butSaveAs);
    buttons->addStretch();
    auto* fileColumn = new QVBoxLayout;
    fileColumn->setSpacing(Px(105));
    fileColumn->addLayout(buttons);
    fileColumn->addWidget(txtOpenedFile);
    auto* top = new QHBoxLayout;
    top->setSpacing(Px(345));
    top->addLayout(fileColumn, 1);
    top->addWidget(Frame2, 0, Qt::AlignTop);

    auto* grid = new QGridLayout(fraOPrinc);
    SetFrameMargins(*fraOPrinc, *grid, 360, 120);
    grid->setHorizontalSpacing(Px(105));
    grid->setVerticalSpacing(Px(105));
    grid->addLayout(top, 0, 0);
    grid->addWidget(PrincListSplitter, 1, 0);
    grid->addWidget(Frame1, 0, 1, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
}

void KorvoScreenManager::BuildAdditionalFrame() {
    fraOAdd = Name(Frame(FrameSplitter, "Additional Layout"), "fraOAdd");
    FrameSplitter->addWidget(fraOAdd);

    butAddOpen =
        Button(fraOAdd, "butAddOpen", "Open .SET", 1215, 375, "", "Opens a layout (.SET) file");
    butImport = Button(fraOAdd, "butImport", "CSV Import", 1215, 375);
    txtAddFile = Name(FileNameBox(fraOAdd, 3735, 375), "txtAddFile", "A3");

    AddLayList = Name(new QTreeWidget(fraOAdd), "AddLayList", "A3");
    AddLayList->resize(Px(ListWidth), Px(AddListHeight));
    AddListSplitter = new ShareSplitter(Qt::Horizontal, Px(ListWidth), 0, ListWidthShare, fraOAdd);
    AddListSplitter->setObjectName(QStringLiteral("AddListSplitter"));
    AddListSplitter->installEventFilter(this);
    AddListSplitter->addWidget(AddLayList);
    AddPreviewHost = PreviewHost(AddListSplitter, "AddPreviewHost");
    AddListSplitter->addWidget(AddPreviewHost);
    AddPreviewHost->hide();

    Frame3 = Name(Frame(fraOAdd, "Selected Screen"), "Frame3", "A3");
    Frame3->setMinimumSize(Px(1455), Px(1335 + 120));
    Frame3->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    Frame3->setFixedWidth(Px(1455));
    butAppendToPrinc = Place(new cCaptionButton(FromCodePage("Append to Principal Layout"), Frame3),
                             "butAppendToPrinc", TwipsRect(120, 480, 1215, 855), "A3");
    // Appending needs an Additional layout; opening one enables the frame and its button.
    Frame3->setEnabled(false);
    butAppendToPrinc->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Px(105));
    buttons->addWidget(butAddOpen);
    buttons->addWidget(butImport);
    buttons->addStretch();
    auto* grid = new QGridLayout(fraOAdd);
    SetFrameMargins(*fraOAdd, *grid, 240, 240);

    auto* fileColumn = new QVBoxLayout;
    fileColumn->setSpacing(Px(105));
    // Frame3 starts higher than the buttons beside it; the buttons keep their design place
    // below the frame's title where the style's title leaves room for it.
    const int contentTop = std::max(Px(240), fraOAdd->contentsMargins().top());
    fileColumn->addSpacing(std::max(0, Px(360) - contentTop));
    fileColumn->addLayout(buttons);
    fileColumn->addWidget(txtAddFile);
    grid->setHorizontalSpacing(Px(105));
    grid->setVerticalSpacing(Px(105));
    grid->addLayout(fileColumn, 0, 0);
    grid->addWidget(AddListSplitter, 1, 0);
    grid->addWidget(Frame3, 0, 1, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
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
    addItem(mnuFile, "mnuPrincOpen", "Principal Layout - &Open", &KorvoScreenManager::butOpen_Click,
            StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    addItem(mnuFile, "mnuAddOpen", "A&dditional Layout - Open",
            &KorvoScreenManager::butAddOpen_Click,
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)});
    mnuRecent = mnuFile->addMenu(FromCodePage("&Recent Layouts"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    mnuFile->addSeparator();
    addItem(mnuFile, "mnuPrincSave", "Principal Layout - Sa&ve", &KorvoScreenManager::butSave_Click,
            StandardKeys(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    addItem(mnuFile, "mnuPrincSaveAs", "Principal Layout - &Save As",
            &KorvoScreenManager::butSaveAs_Click, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    mnuFile->addSeparator();
    MirroredItems.emplace_back(addItem(mnuFile, "mnuExport", "CSV &Export",
                                       &KorvoScreenManager::butExport_Click,
                                       {QKeySequence(Qt::CTRL | Qt::Key_E)}),
                               butExport);
    addItem(mnuFile, "mnuImport", "CSV &Import", &KorvoScreenManager::butImport_Click,
            {QKeySequence(Qt::CTRL | Qt::Key_I)});
    mnuFile->addSeparator();
    addItem(mnuFile, "mnuExit", "E&xit", &KorvoScreenManager::mnuExit_Click,
            StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

    QMenu* mnuEdit = menuBar()->addMenu(FromCodePage("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addItem(mnuEdit, "mnuUndo", "&Undo", &KorvoScreenManager::mnuUndo_Click,
            StandardKeys(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z));
    mnuEdit->addSeparator();
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuPromote", "Move u&p list",
                                       &KorvoScreenManager::butPromote_Click,
                                       {QKeySequence(Qt::ALT | Qt::Key_Up)}),
                               butPromote);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuDemote", "Move do&wn list",
                                       &KorvoScreenManager::butDemote_Click,
                                       {QKeySequence(Qt::ALT | Qt::Key_Down)}),
                               butDemote);
    QAction* deleteItem =
        addItem(mnuEdit, "mnuDelete", "&Delete Screen", &KorvoScreenManager::butDelete_Click,
                StandardKeys(QKeySequence::Delete, Qt::Key_Delete));
    onlyIn(deleteItem, PrincLayList);
    MirroredItems.emplace_back(deleteItem, butDelete);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuUpdateCapts", "Update &Buttons",
                                       &KorvoScreenManager::butUpdateCapts_Click),
                               butUpdateCapts);
    mnuEdit->addSeparator();
    // Like a double-click in the Additional list, Enter there appends even before a layout is open,
    // to say what is missing.
    QAction* appendItem = addItem(mnuEdit, "mnuAppend", "&Append to Principal Layout",
                                  &KorvoScreenManager::butAppendToPrinc_Click,
                                  {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    onlyIn(appendItem, AddLayList);
    mnuEdit->addSeparator();
    // Enter on a Principal screen edits its controls, as Enter on an Additional one appends it.
    QAction* editItem =
        addItem(mnuEdit, "mnuEditSel", "C&ontrol Edit", &KorvoScreenManager::butEditSel_Click,
                {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    onlyIn(editItem, PrincLayList);
    MirroredItems.emplace_back(editItem, butEditSel);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuEditScreen", "Edit All &Controls",
                                       &KorvoScreenManager::butEditScreen_Click,
                                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}),
                               butEditScreen);
    MirroredItems.emplace_back(addItem(mnuEdit, "mnuCheck", "Chec&k Layout...",
                                       &KorvoScreenManager::butCheck_Click,
                                       {QKeySequence(Qt::CTRL | Qt::Key_L)}),
                               butCheck);

    QMenu* mnuHelp = menuBar()->addMenu(FromCodePage("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addItem(mnuHelp, "mnuAbout", "About KorvoScreenQuill...", &KorvoScreenManager::mnuAbout_Click);
}

void KorvoScreenManager::BuildStatusBar() {
    StatusRecords = new QLabel(statusBar());
    StatusRecords->setObjectName(QStringLiteral("StatusRecords"));
    StatusNextScreen = new QLabel(statusBar());
    StatusNextScreen->setObjectName(QStringLiteral("StatusNextScreen"));
    statusBar()->addWidget(StatusRecords);
    statusBar()->addWidget(StatusNextScreen);
}

void KorvoScreenManager::Form_Load() {
    SetByTag(*this, QStringLiteral("A1"), TagEnabled, false);
    EditAllScreens = true;
    PrincipalLayout.BindScreenList(*PrincListView);
    AdditionalLayout.BindScreenList(*AddListView);
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
    const int next = PrincipalLayout.EmptyScreenNr();
    StatusNextScreen->setText(next < 0
                                  ? QStringLiteral("No empty screen for an append")
                                  : QStringLiteral("The next append fills screen %1").arg(next));
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

bool KorvoScreenManager::OpenPrincipalFile(const std::string& path) {
    if (!PrincipalLayout.LoadLayout(path)) return false;
    txtOpenedFile->setText(FromSystemPath(PrincipalLayout.FileName()));
    SetByTag(*this, QStringLiteral("A1"), TagEnabled, true);
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::OpenAdditionalFile(const std::string& path) {
    if (!AdditionalLayout.LoadLayout(path)) return false;
    SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
    txtAddFile->setText(FromSystemPath(AdditionalLayout.FileName()));
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::ImportAdditionalFile(const std::string& path) {
    if (!AdditionalLayout.ImportCSV(path)) return false;
    SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
    txtAddFile->setText(FromSystemPath(AdditionalLayout.FileName()));
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

void KorvoScreenManager::butOpen_Click() {
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

void KorvoScreenManager::butAddOpen_Click() {
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
    txtOpenedFile->setText(FromSystemPath(path));
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::Save() {
    const std::string path = PrincipalLayout.FileName();
    if (path.empty()) return SaveAs();
    if (!PrincipalLayout.SaveLayout(path)) return false;
    Recent->Add(FromSystemPath(path));
    return true;
}

void KorvoScreenManager::butSave_Click() {
    Command([this] { Save(); });
}

void KorvoScreenManager::butSaveAs_Click() {
    Command([this] { SaveAs(); });
}

void KorvoScreenManager::butExport_Click() {
    Command([this] {
        CSVSave.Flags = SaveFlags;
        PrepareDialog(CSVSave, ExportFolderKey, "c:\\");
        std::string path;
        if (Files.ShowSave(CSVSave, path) != 0) return;
        RememberFolder(ExportFolderKey, path);
        PrincipalLayout.ExportCSV(path);
    });
}

void KorvoScreenManager::butImport_Click() {
    Command([this] {
        CSVOpen.Flags = OpenFlags;
        PrepareDialog(CSVOpen, ImportFolderKey, "C:\\");
        std::string path;
        if (Files.ShowOpen(CSVOpen, path) != 0) return;
        RememberFolder(ImportFolderKey, path);
        ImportAdditionalFile(path);
    });
}

void KorvoScreenManager::butAppendToPrinc_Click() {
    Command([this] {
        if (!txtOpenedFile->isEnabled()) {
            Warn("You cannot Append without opening a Principal Layout first");
            return;
        }
        PrincipalLayout.AppendScreenFrom(AdditionalLayout, SelectedScreen(*AddListView));
    });
}

void KorvoScreenManager::butDelete_Click() {
    Command([this] { PrincipalLayout.DeleteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butPromote_Click() {
    Command([this] { PrincipalLayout.PromoteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butDemote_Click() {
    Command([this] { PrincipalLayout.DemoteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butUpdateCapts_Click() {
    Command([this] { PrincipalLayout.UpdateButtonCaptions(); });
}

void KorvoScreenManager::ShowEditControls() {
    frmEditControls form(PrincipalLayout, Dialogs, EditAllScreens, *PrincListView, this);
    form.exec();
}

void KorvoScreenManager::butEditScreen_Click() {
    Command([this] {
        EditAllScreens = true;
        ShowEditControls();
    });
}

void KorvoScreenManager::butCheck_Click() {
    if (CheckWindow == nullptr) {
        CheckWindow = new LayoutCheckWindow(PrincipalLayout, this);
        CheckWindow->setObjectName(QStringLiteral("frmCheck"));
        CheckWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(CheckWindow, &LayoutCheckWindow::FindingActivated, this,
                &KorvoScreenManager::GoToFinding);
    } else {
        CheckWindow->Refresh();
    }
    CheckWindow->show();
    CheckWindow->raise();
    CheckWindow->activateWindow();
}

void KorvoScreenManager::GoToFinding(int screen, int record) {
    if (screen < 0 || screen >= PrincLayList->topLevelItemCount()) {
        statusBar()->showMessage(
            screen < 0 ? QStringLiteral("The finding concerns the whole layout")
                       : QStringLiteral("Screen %1 is not one of the 16 screens").arg(screen),
            5000);
        return;
    }
    QTreeWidgetItem* row = PrincLayList->topLevelItem(screen);
    PrincLayList->setCurrentItem(row);
    row->setSelected(true);
    PrincLayList->scrollToItem(row);
    // The pane has followed the selection; the finding's control is marked in it.
    const bool marked = record > 0 && PrincPreview->HighlightRecord(record);
    if (record > 0 && (!marked || PrincPreviewHost->isHidden()))
        statusBar()->showMessage(
            QStringLiteral("Record %1 is on screen %2").arg(record).arg(screen), 5000);
}

void KorvoScreenManager::butEditSel_Click() {
    Command([this] {
        EditAllScreens = false;
        if (SelectedScreen(*PrincListView) < 0) {
            Warn("No item is selected");
            return;
        }
        ShowEditControls();
    });
}

void KorvoScreenManager::mnuUndo_Click() {
    Command([this] { PrincipalLayout.Undo(); });
}

void KorvoScreenManager::mnuAbout_Click() {
    RunGuarded(Dialogs, [this] {
        // Loading a window that is already loaded does nothing.
        if (About) return;
        About = new frmAboutQuill(this);
    });
}

void KorvoScreenManager::mnuExit_Click() {
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

void KorvoScreenManager::UpdatePreviewHost(QWidget* host) {
    const QList<QWidget*> panes = host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // A pane shows once the list beside it has its design width and the pane room to be read.
    const auto* splitter = qobject_cast<QSplitter*>(host->parentWidget());
    int wanted = 0;
    for (const QWidget* pane : panes)
        wanted = std::max(wanted, pane->minimumSizeHint().width());
    const int beyond =
        splitter != nullptr ? splitter->width() - splitter->handleWidth() - Px(ListWidth) : 0;
    const bool room = beyond * (1.0 - ListWidthShare) >= wanted;
    const bool shown = !panes.isEmpty() && room;
    if (host->isHidden() == shown) host->setVisible(shown);
}

bool KorvoScreenManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fraOPrinc || watched == fraOAdd) {
        if (AcceptsDrop(watched, event)) return true;
    } else if (watched == PrincListSplitter || watched == AddListSplitter) {
        if (event->type() == QEvent::Resize)
            UpdatePreviewHost(watched == PrincListSplitter ? PrincPreviewHost : AddPreviewHost);
    } else if (watched == PrincPreviewHost || watched == AddPreviewHost) {
        if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved) {
            auto* host = static_cast<QWidget*>(watched);
            // The child may be half built or half gone: look once the event is over.
            QMetaObject::invokeMethod(
                this, [this, host] { UpdatePreviewHost(host); }, Qt::QueuedConnection);
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        butAppendToPrinc_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void KorvoScreenManager::RestoreWindowSettings() {
    // The design size is the smallest the layouts allow.
    resize(minimumSizeHint());
    if (Settings == nullptr) return;

    FrameSplitter->SetUserShift(Settings->value(Key(FrameSplitKey), 0).toInt());
    PrincListSplitter->SetUserShift(Settings->value(Key(PrincPreviewSplitKey), 0).toInt());
    AddListSplitter->SetUserShift(Settings->value(Key(AddPreviewSplitKey), 0).toInt());
    RestoreColumnWidths(*PrincLayList, Settings->value(Key(PrincColumnsKey)));
    RestoreColumnWidths(*AddLayList, Settings->value(Key(AddColumnsKey)));

    // A size kept on a larger screen than this one is not used.
    const QSize size = Settings->value(Key(SizeKey)).toSize();
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen != nullptr ? screen->availableGeometry().size() : QSize();
    if (size.isValid() && room.isValid() && size.width() <= room.width() &&
        size.height() <= room.height())
        resize(size.expandedTo(minimumSizeHint()));
    if (Settings->value(Key(MaximizedKey), false).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void KorvoScreenManager::SaveWindowSettings() {
    if (Settings == nullptr) return;
    const bool maximized = isMaximized();
    Settings->setValue(Key(SizeKey), maximized ? normalGeometry().size() : size());
    Settings->setValue(Key(MaximizedKey), maximized);
    Settings->setValue(Key(FrameSplitKey), FrameSplitter->UserShift());
    Settings->setValue(Key(PrincPreviewSplitKey), PrincListSplitter->UserShift());
    Settings->setValue(Key(AddPreviewSplitKey), AddListSplitter->UserShift());
    Settings->setValue(Key(PrincColumnsKey), AsVariants(ColumnWidths(*PrincLayList)));
    Settings->setValue(Key(AddColumnsKey), AsVariants(ColumnWidths(*AddLayList)));
    Settings->sync();
}
