#pragma once
// The main window: the Principal layout (edited and saved) and the Additional layout (a source of
// screens), each with its screen list, and the buttons and menus that turn into one call on one of
// them. The window owns both documents for the whole run. Message boxes and file dialogs come in
// through their seams, so the window can be driven by scripted ones.
//
// The window resizes: its design size is its default size where the screen has room, and the room
// beyond goes to the two lists and to the preview hosts beside them; on a smaller screen the
// frames keep their design size and scroll. Its size, the splitter positions, the
// list columns, the recent layouts and the folder each file dialog last used are kept in the
// settings it is given (none: nothing is read or kept beyond the run).
//
// The two frames are one LayoutFrame each, with a preview pane of the screen selected in its list
// (PrincPreview, AddPreview) shown where there is room. Each document has its LayoutSession, which
// tells every view of a change, whichever window made it. After every command the window emits
// LayoutsRefreshed().

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "layout/cLayout.h"
#include "tools/ScreenResolution.h"
#include "ui/widgets/FileDialogs.h"

class QAction;
class QComboBox;
class QToolButton;
class KeptResolutions;
class QDockWidget;
class QKeySequence;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QSettings;
class QTreeWidget;
class ControlActions;
class ControlsTable;
class FindPane;
class LayoutCheckWindow;
class LayoutFrame;
class PicturesPane;
class PropertySheet;
class WhereUsedPane;
class ManualWindow;
class ScreenActions;
class ScriptsPane;
class LayoutSession;
class ScreenListTree;
class RecentLayouts;
class ScreenPreview;
class ScreenPreviewWindow;
class ShareSplitter;
class AboutDialog;

class KorvoScreenManager : public QMainWindow {
    Q_OBJECT
public:
    KorvoScreenManager(UserDialogs& dialogs, FileDialogs& fileDialogs,
                       QSettings* settings = nullptr, QWidget* parent = nullptr);
    ~KorvoScreenManager() override;

    cLayout PrincipalLayout;
    cLayout AdditionalLayout;
    // Tells the Edit Controls window, when it loads, whether it works on all screens.
    bool EditAllScreens = true;
    // The outcome of the last Save As dialog: FileDialogCancel, or 0 when a file was chosen.
    int SaveDialogErr = 0;

    // The four file dialogs; the handlers set their flags and folder before showing them.
    FileDialogSetup SetOpen;
    FileDialogSetup SetSave;
    FileDialogSetup CSVSave;
    FileDialogSetup CSVOpen;

    // The About window while it is open.
    AboutDialog* AboutWindow() const;

    // Where a preview pane of each list goes.
    QWidget* PrincipalPreviewHost() const;
    QWidget* AdditionalPreviewHost() const;
    // The Qt side of each document: its change signals, Undo and Redo, the selected controls.
    LayoutSession& PrincipalSession() const { return *PrincSession; }
    LayoutSession& AdditionalSession() const { return *AddSession; }

    // Opens the files named on the command line, as the buttons would: the first as the Principal
    // layout, the second as the Additional layout (a CSV file is imported as it). "" names none.
    void OpenFromCommandLine(const std::string& principal, const std::string& additional);

    // Keeps the size, splitter positions and list columns in the settings (done on closing too).
    void SaveWindowSettings();

    // Puts a pane beside the frames, hidden until its item in the View menu (named "mnu" and the
    // pane's object name, with the key given) shows it. The window owns the pane.
    void AddPane(QDockWidget* pane, Qt::DockWidgetArea area, const QKeySequence& key = {});
    // The screen selected in the Principal list, -1 for none; selecting one there.
    int PrincipalScreen() const;
    void SelectPrincipalScreen(int screen);

    // The controls table and the property sheet of the Principal layout, and the Controls menu's
    // commands.
    ControlsTable* ControlsPane() const { return Table; }
    PropertySheet* PropertiesPane() const { return Sheet; }
    ControlActions& ControlCommands() const { return *Controls; }

signals:
    // Emitted after every command, once the title, status bar and menus show its outcome.
    void LayoutsRefreshed();
    // The Principal list's selected screen changed (-1: none).
    void PrincipalScreenChanged(int screen);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void openPrincipal();
    void openAdditional();
    void saveLayout();
    void saveLayoutAs();
    void exportCsv();
    void importCsv();
    void appendToPrincipal();
    void deleteScreens();
    void promoteScreen();
    void demoteScreen();
    void updateCaptions();
    void editScreen();
    void checkLayout();
    void GoToFinding(int screen, int record);
    void editSelected();
    void undoChange();
    void redoChange();
    void showAbout();
    void exitProgram();
    void compareLayouts();
    void editOnScreen();
    void MoveInsideFinding(int record);
    void exportBundle();
    void showWhereUsed();
    // File > New: an empty Principal layout drawn for Resolutions[index].
    void newLayout(int index);
    // Help > Manual, at the section of the window or pane with the focus (F1).
    void showManual();
    // A pane chose a control: it becomes the selection, and its screen is shown with it marked.
    void ShowControl(int screen, int record);

private:
    // The editing window of a Principal screen: brought up when it is open, opened otherwise.
    void OpenScreenEditor(int screen);

    void BuildControls();
    void BuildFrames();
    void BuildMenus();
    void BuildStatusBar();
    void Form_Load();

    // Runs one command so that nothing it throws escapes, then shows its outcome.
    void Command(const std::function<void()>& handler);
    void RefreshWindowState();
    void RebuildRecentMenu();

    // Asks before the Principal layout is replaced; false when the user keeps it to save it.
    bool MayReplacePrincipal();
    bool OpenPrincipalFile(const std::string& path);
    bool OpenAdditionalFile(const std::string& path);
    bool ImportAdditionalFile(const std::string& path);
    void OpenRecent(const QString& path);
    // Shows the save dialog and saves; true only when the layout was written.
    bool SaveAs();
    bool Save();
    void ShowEditControls();
    void Warn(const std::string& prompt);

    // The file dialogs start in the folder last used for each.
    void PrepareDialog(FileDialogSetup& setup, const char* key, const char* firstFolder);
    void RememberFolder(const char* key, const std::string& chosenPath);

    // Dropped files: what a frame takes, and the message for what it does not.
    bool AcceptsDrop(QObject* frame, QEvent* event);
    void TakeDrop(bool principal, const QMimeData& data);

    void ConnectSessions();
    // The controls table, the property sheet and the Controls menu.
    void BuildControlPanes();
    // Shows the screen of the selected controls when none of them is on the one shown.
    void FollowSelection();
    // The find, pictures and where-used panes with their menu items.
    void BuildPanes();
    // The layout file a chosen path opens: the path itself, or the layout unpacked from a .zip
    // bundle into a folder the user chooses ("" when that was cancelled or refused).
    std::string LayoutToOpen(const std::string& path);

    void RestoreWindowSettings();
    // The Principal layout's resolution in the status bar, and a choice of another.
    void ChooseResolution(const std::optional<Resolution>& resolution);
    void ShowResolution();
    // The Principal layout's code page in the status bar ("GBK (from the texts)"), and a choice
    // of another, kept per file as the resolution is.
    void BuildCodePageChoice();
    void ChooseCodePage(const std::optional<int>& codePage);
    void ShowCodePage();
    // Fills the Append to choice with the Principal layout's empty screens; the default is chosen
    // again when another Additional screen is selected.
    void RefreshAppendTargets(bool sourceChanged);
    // The window at its design size: the frames' area, the menu bar and the status bar.
    QSize DesignSize() const;

    UserDialogs& Dialogs;
    FileDialogs& Files;
    QSettings* Settings;
    std::unique_ptr<RecentLayouts> Recent;
    QHash<QString, QString> Folders; // the folder each file dialog last used

    std::unique_ptr<LayoutSession> PrincSession;
    std::unique_ptr<LayoutSession> AddSession;
    QWidget* Client = nullptr; // the frames' area, of the design size at least
    ShareSplitter* FrameSplitter = nullptr;
    LayoutFrame* PrincFrame = nullptr;
    LayoutFrame* AddFrame = nullptr;
    ScreenPreview* PrincPreview = nullptr;
    ScreenPreview* AddPreview = nullptr;

    QGroupBox* fraOPrinc = nullptr;
    QPushButton* butOpen = nullptr;
    QPushButton* butExport = nullptr;
    QPushButton* butSaveAs = nullptr;
    QLineEdit* txtOpenedFile = nullptr;
    QTreeWidget* PrincLayList = nullptr;
    QPushButton* butEditScreen = nullptr;
    QPushButton* butCheck = nullptr;
    QPointer<LayoutCheckWindow> CheckWindow;            // open while the user keeps it open
    QList<QPointer<ScreenPreviewWindow>> ScreenEditors; // the editing windows still open
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
    QLabel* labAppendTo = nullptr;
    QComboBox* cboAppendTo = nullptr;
    bool TargetChosen = false; // the Append to screen is the user's own choice

    QMenu* mnuRecent = nullptr;
    QMenu* mnuView = nullptr;
    // Menu items that are available exactly when their button is.
    std::vector<std::pair<QAction*, QPushButton*>> MirroredItems;
    QLabel* StatusRecords = nullptr;
    QLabel* StatusNextScreen = nullptr;
    QToolButton* StatusResolution = nullptr;
    QToolButton* StatusCodePage = nullptr;
    std::unique_ptr<KeptResolutions> Kept;

    QPointer<AboutDialog> About;

    ControlsTable* Table = nullptr;
    PropertySheet* Sheet = nullptr;
    ControlActions* Controls = nullptr;
    FindPane* PaneFind = nullptr;
    PicturesPane* PanePictures = nullptr;
    WhereUsedPane* PaneWhereUsed = nullptr;
    // New screens, the Scripts pane and the manual (ScreensScriptsAndManual.cpp).
    void BuildScreensScriptsAndManual();
    ScreenActions* ScreenCommands = nullptr;
    ScriptsPane* PaneScripts = nullptr;
    ManualWindow* Manual = nullptr;
};
