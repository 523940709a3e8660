#include "ui/KorvoScreenManager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QTreeWidget>

#include "ui/CaptionFit.h"
#include "ui/CodePage.h"
#include "ui/CommonCode.h"
#include "ui/HandlerGuard.h"
#include "ui/QtScreenListView.h"
#include "ui/QtUserDialogs.h"
#include "ui/Twips.h"
#include "ui/cCaptionButton.h"
#include "ui/frmAboutQuill.h"
#include "ui/frmEditControls.h"

namespace {

// The window's client area, in twips.
constexpr int ClientWidth = 10530;
constexpr int ClientHeight = 8055;
// The size the window's captions are designed for.
constexpr qreal DesignPointSize = 8.0;

constexpr int OpenFlags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly;
constexpr int SaveFlags =
    FileDialogFlag::CreatePrompt | FileDialogFlag::OverwritePrompt | FileDialogFlag::HideReadOnly;

const char* const LayoutFilter = "Mill Layouts |*.set|Turning Layouts|*.lset|";

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry, const char* tag = "",
               const char* toolTip = "") {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    control->setProperty("Tag", QString::fromLatin1(tag));
    if (*toolTip != '\0') control->setToolTip(FromCodePage(toolTip));
    return control;
}

cCaptionButton* Button(QWidget* parent, const char* caption) {
    return new cCaptionButton(FromCodePage(caption), parent);
}

QGroupBox* Frame(QWidget* parent, const char* caption) {
    return new QGroupBox(FromCodePage(caption), parent);
}

QLineEdit* FileNameBox(QWidget* parent) {
    auto* box = new QLineEdit(FromCodePage("<none>"), parent);
    // Only the program writes the file names; the user reads them.
    box->setReadOnly(true);
    return box;
}

int SelectedScreen(const QtScreenListView& list) {
    return ScreenNoFromText(list.SelectedText());
}

} // namespace

KorvoScreenManager::KorvoScreenManager(UserDialogs& dialogs, FileDialogs& fileDialogs,
                                       QWidget* parent)
    : QMainWindow(parent), PrincipalLayout(dialogs), AdditionalLayout(dialogs), Dialogs(dialogs),
      Files(fileDialogs) {
    setObjectName(QStringLiteral("KorvoScreenManager"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));

    SetOpen = {"Open Layout file", LayoutFilter, "c:\\korvo", "", "", 0};
    SetSave = {"Save Layout", LayoutFilter, "c:\\korvo", "*.set", "", 0};
    CSVSave = {"Save As CSV file", "Comma Separated Variable|*.csv", "c:\\", "*.csv", "junk", 0};
    CSVOpen = {"Import CSV file", "CSV files |*.csv", "C:\\", "", "", 0};

    BuildControls();
    BuildMenus();
    FitCaptions(*this);
    Form_Load();
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
    client->setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(ClientHeight));
    setCentralWidget(client);

    fraOPrinc =
        Place(Frame(client, "Principal Layout"), "fraOPrinc", TwipsRect(120, 240, 10335, 4095));
    butOpen = Place(Button(fraOPrinc, "Open .SET"), "butOpen", TwipsRect(120, 360, 1215, 375), "",
                    "Opens a layout (.SET) file");
    butExport = Place(Button(fraOPrinc, "CSV Export"), "butExport", TwipsRect(1440, 360, 1215, 375),
                      "A1", "Exports the selected screen(s) to a comma separated variable file");
    butSaveAs = Place(Button(fraOPrinc, "Save As"), "butSaveAs", TwipsRect(2760, 360, 1215, 375),
                      "A1", "Saves As the current Principal screen");
    txtOpenedFile =
        Place(FileNameBox(fraOPrinc), "txtOpenedFile", TwipsRect(120, 840, 3855, 375), "A1");
    PrincLayList = Place(new QTreeWidget(fraOPrinc), "PrincLayList",
                         TwipsRect(120, 1320, 8535, 2655), "", "Screens in the Principal Layout");
    Frame2 = Place(Frame(fraOPrinc, "All Screens in Layout"), "Frame2",
                   TwipsRect(4320, 360, 4215, 855), "A1");
    butEditScreen = Place(Button(Frame2, "Edit All Controls"), "butEditScreen",
                          TwipsRect(240, 360, 1335, 375), "A1");
    Frame1 = Place(Frame(fraOPrinc, "Selected Screen"), "Frame1", TwipsRect(8760, 360, 1455, 3615),
                   "A1");
    butEditSel =
        Place(Button(Frame1, "Control Edit"), "butEditSel", TwipsRect(120, 360, 1215, 375), "A1");
    butPromote = Place(Button(Frame1, "Move up list"), "butPromote", TwipsRect(120, 960, 1215, 375),
                       "A1", "Promotes the selected screen");
    butDemote = Place(Button(Frame1, "Move down list"), "butDemote",
                      TwipsRect(120, 1440, 1215, 375), "A1", "Demotes the selected screen");
    butUpdateCapts = Place(Button(Frame1, "Update Buttons"), "butUpdateCapts",
                           TwipsRect(120, 2040, 1215, 615), "A1",
                           "Prompts for new captions for buttons with F-key shortcuts and resets "
                           "F-key to position in the list");
    butDelete = Place(Button(Frame1, "Delete Screen"), "butDelete", TwipsRect(120, 3000, 1215, 495),
                      "A1", "Deletes chosen screen from this layout");
    QFont bold = butDelete->font();
    bold.setBold(true);
    butDelete->setFont(bold);

    fraOAdd =
        Place(Frame(client, "Additional Layout"), "fraOAdd", TwipsRect(120, 4440, 10335, 3375));
    butAddOpen = Place(Button(fraOAdd, "Open .SET"), "butAddOpen", TwipsRect(120, 360, 1215, 375),
                       "", "Opens a layout (.SET) file");
    butImport = Place(Button(fraOAdd, "CSV Import"), "butImport", TwipsRect(1440, 360, 1215, 375));
    txtAddFile = Place(FileNameBox(fraOAdd), "txtAddFile", TwipsRect(120, 840, 3735, 375), "A3");
    AddLayList =
        Place(new QTreeWidget(fraOAdd), "AddLayList", TwipsRect(120, 1320, 8535, 1815), "A3");
    Frame3 =
        Place(Frame(fraOAdd, "Selected Screen"), "Frame3", TwipsRect(8760, 240, 1455, 2895), "A3");
    butAppendToPrinc = Place(Button(Frame3, "Append to Principal Layout"), "butAppendToPrinc",
                             TwipsRect(120, 480, 1215, 855), "A3");
    // Appending needs an Additional layout; opening one enables the frame and its button.
    Frame3->setEnabled(false);
    butAppendToPrinc->setEnabled(false);

    PrincListView = std::make_unique<QtScreenListView>(*PrincLayList);
    AddListView = std::make_unique<QtScreenListView>(*AddLayList);
    // A double-click anywhere in the Additional list appends, even while the button is disabled.
    AddLayList->viewport()->installEventFilter(this);
    AddLayList->header()->viewport()->installEventFilter(this);

    connect(butOpen, &QPushButton::clicked, this, &KorvoScreenManager::butOpen_Click);
    connect(butExport, &QPushButton::clicked, this, &KorvoScreenManager::butExport_Click);
    connect(butSaveAs, &QPushButton::clicked, this, &KorvoScreenManager::butSaveAs_Click);
    connect(butEditScreen, &QPushButton::clicked, this, &KorvoScreenManager::butEditScreen_Click);
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

void KorvoScreenManager::BuildMenus() {
    const auto addItem = [this](QMenu* menu, const char* name, const char* caption,
                                void (KorvoScreenManager::*handler)()) {
        QAction* item = menu->addAction(FromCodePage(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
    };
    QMenu* mnuFile = menuBar()->addMenu(FromCodePage("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    addItem(mnuFile, "mnuPrincOpen", "Principal Layout - &Open",
            &KorvoScreenManager::butOpen_Click);
    addItem(mnuFile, "mnuPrincSaveAs", "Principal Layout - &Save As",
            &KorvoScreenManager::butSaveAs_Click);
    addItem(mnuFile, "mnuExit", "E&xit", &KorvoScreenManager::mnuExit_Click);
    QMenu* mnuEdit = menuBar()->addMenu(FromCodePage("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addItem(mnuEdit, "mnuUndo", "&Undo", &KorvoScreenManager::mnuUndo_Click);
    QMenu* mnuHelp = menuBar()->addMenu(FromCodePage("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addItem(mnuHelp, "mnuAbout", "About KorvoScreenQuill...", &KorvoScreenManager::mnuAbout_Click);
}

void KorvoScreenManager::Form_Load() {
    SetByTag(*this, QStringLiteral("A1"), TagEnabled, false);
    EditAllScreens = true;
    PrincipalLayout.BindScreenList(*PrincListView);
    AdditionalLayout.BindScreenList(*AddListView);
}

void KorvoScreenManager::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}

void KorvoScreenManager::butOpen_Click() {
    RunGuarded(Dialogs, [this] {
        if (PrincipalLayout.IsDirty() &&
            Dialogs.MsgBox("Layout has been changed. "
                           "Do you want chance to Save As before Opening a new one?",
                           MsgButtons::YesNo, MsgIcon::Question,
                           "OK to Open another?") == MsgAnswer::Yes)
            return;
        SetOpen.Flags = OpenFlags;
        std::string path;
        if (Files.ShowOpen(SetOpen, path) != 0) return;
        if (!PrincipalLayout.LoadLayout(path)) return;
        txtOpenedFile->setText(FromSystemPath(PrincipalLayout.FileName()));
        SetByTag(*this, QStringLiteral("A1"), TagEnabled, true);
    });
}

void KorvoScreenManager::butAddOpen_Click() {
    RunGuarded(Dialogs, [this] {
        // The Additional layout is never saved, so there is nothing to ask first.
        SetOpen.Flags = OpenFlags;
        std::string path;
        if (Files.ShowOpen(SetOpen, path) != 0) return;
        if (!AdditionalLayout.LoadLayout(path)) return;
        SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
        txtAddFile->setText(FromSystemPath(AdditionalLayout.FileName()));
    });
}

bool KorvoScreenManager::SaveAs() {
    SetSave.Flags = SaveFlags;
    std::string path;
    SaveDialogErr = Files.ShowSave(SetSave, path) == FileDialogCancel ? FileDialogCancel : 0;
    if (SaveDialogErr == FileDialogCancel) return false;
    // txtOpenedFile goes on naming the file the layout was opened from.
    return PrincipalLayout.SaveLayout(path);
}

void KorvoScreenManager::butSaveAs_Click() {
    RunGuarded(Dialogs, [this] { SaveAs(); });
}

void KorvoScreenManager::butExport_Click() {
    RunGuarded(Dialogs, [this] {
        CSVSave.Flags = SaveFlags;
        std::string path;
        if (Files.ShowSave(CSVSave, path) != 0) return;
        PrincipalLayout.ExportCSV(path);
    });
}

void KorvoScreenManager::butImport_Click() {
    RunGuarded(Dialogs, [this] {
        CSVOpen.Flags = OpenFlags;
        std::string path;
        if (Files.ShowOpen(CSVOpen, path) != 0) return;
        if (!AdditionalLayout.ImportCSV(path)) return;
        SetByTag(*this, QStringLiteral("A3"), TagEnabled, true);
        txtAddFile->setText(FromSystemPath(AdditionalLayout.FileName()));
    });
}

void KorvoScreenManager::butAppendToPrinc_Click() {
    RunGuarded(Dialogs, [this] {
        if (!txtOpenedFile->isEnabled()) {
            Warn("You cannot Append without opening a Principal Layout first");
            return;
        }
        PrincipalLayout.AppendScreenFrom(AdditionalLayout, SelectedScreen(*AddListView));
    });
}

void KorvoScreenManager::butDelete_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.DeleteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butPromote_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.PromoteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butDemote_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.DemoteScreens(SelectedScreen(*PrincListView)); });
}

void KorvoScreenManager::butUpdateCapts_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.UpdateButtonCaptions(); });
}

void KorvoScreenManager::ShowEditControls() {
    frmEditControls form(PrincipalLayout, Dialogs, EditAllScreens, *PrincListView, this);
    form.exec();
}

void KorvoScreenManager::butEditScreen_Click() {
    RunGuarded(Dialogs, [this] {
        EditAllScreens = true;
        ShowEditControls();
    });
}

void KorvoScreenManager::butEditSel_Click() {
    RunGuarded(Dialogs, [this] {
        EditAllScreens = false;
        if (SelectedScreen(*PrincListView) < 0) {
            Warn("No item is selected");
            return;
        }
        ShowEditControls();
    });
}

void KorvoScreenManager::mnuUndo_Click() {
    RunGuarded(Dialogs, [this] { PrincipalLayout.Undo(); });
}

void KorvoScreenManager::mnuAbout_Click() {
    RunGuarded(Dialogs, [this] {
        // Loading a window that is already loaded does nothing.
        if (About) return;
        About = new frmAboutQuill(this);
    });
}

void KorvoScreenManager::mnuExit_Click() {
    // Ends the program at once: no question, not even about unsaved changes.
    QCoreApplication::exit(0);
}

void KorvoScreenManager::closeEvent(QCloseEvent* event) {
    // Anything short of a clean layout, a No or a completed save keeps the window open.
    bool closes = false;
    RunGuarded(Dialogs, [this, &closes] {
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
    if (About) About->close();
    event->accept();
}

bool KorvoScreenManager::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        butAppendToPrinc_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
