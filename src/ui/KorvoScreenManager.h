#pragma once
// The main window: the Principal layout (edited and saved) and the Additional layout (a source of
// screens), each with its screen list, and the buttons and menus that turn into one call on one of
// them. The window owns both documents for the whole run. Message boxes and file dialogs come in
// through their seams, so the window can be driven by scripted ones.

#include <QMainWindow>
#include <QPointer>

#include <memory>

#include "layout/cLayout.h"
#include "ui/FileDialogs.h"

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QtScreenListView;
class frmAboutQuill;

class KorvoScreenManager : public QMainWindow {
    Q_OBJECT
public:
    KorvoScreenManager(UserDialogs& dialogs, FileDialogs& fileDialogs, QWidget* parent = nullptr);
    ~KorvoScreenManager() override;

    cLayout PrincipalLayout;
    cLayout AdditionalLayout;
    // Tells the Edit Controls window, when it loads, whether it works on all screens.
    bool EditAllScreens = true;
    // The outcome of the last Save As dialog: FileDialogCancel, or 0 when a file was chosen.
    int SaveDialogErr = 0;

    // The four file dialogs; the handlers set their flags before showing them.
    FileDialogSetup SetOpen;
    FileDialogSetup SetSave;
    FileDialogSetup CSVSave;
    FileDialogSetup CSVOpen;

    // The About window while it is open.
    frmAboutQuill* AboutWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void butOpen_Click();
    void butAddOpen_Click();
    void butSaveAs_Click();
    void butExport_Click();
    void butImport_Click();
    void butAppendToPrinc_Click();
    void butDelete_Click();
    void butPromote_Click();
    void butDemote_Click();
    void butUpdateCapts_Click();
    void butEditScreen_Click();
    void butEditSel_Click();
    void mnuUndo_Click();
    void mnuAbout_Click();
    void mnuExit_Click();

private:
    void BuildControls();
    void BuildMenus();
    void Form_Load();
    // Shows the save dialog and saves; true only when the layout was written.
    bool SaveAs();
    void ShowEditControls();
    void Warn(const std::string& prompt);

    UserDialogs& Dialogs;
    FileDialogs& Files;

    QGroupBox* fraOPrinc = nullptr;
    QPushButton* butOpen = nullptr;
    QPushButton* butExport = nullptr;
    QPushButton* butSaveAs = nullptr;
    QLineEdit* txtOpenedFile = nullptr;
    QTreeWidget* PrincLayList = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* butEditScreen = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* butEditSel = nullptr;
    QPushButton* butPromote = nullptr;
    QPushButton* butDemote = nullptr;
    QPushButton* butUpdateCapts = nullptr;
    QPushButton* butDelete = nullptr;
    QGroupBox* fraOAdd = nullptr;
    QPushButton* butAddOpen = nullptr;
    QPushButton* butImport = nullptr;
    QLineEdit* txtAddFile = nullptr;
    QTreeWidget* AddLayList = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* butAppendToPrinc = nullptr;

    std::unique_ptr<QtScreenListView> PrincListView;
    std::unique_ptr<QtScreenListView> AddListView;
    QPointer<frmAboutQuill> About;
};
