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

// The main window's files: opening, saving, CSV, bundles, dropped files, the recent layouts and the
// folders the file dialogs start in.

using namespace MainWindowShared;

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
    if (!PrincipalLayout.IsDirty()) return true;
    // Yes saves first and opens only once the layout is written; No opens without saving;
    // Cancel opens nothing.
    switch (Dialogs.MsgBox("Layout has been changed. "
                           "Do you want chance to Save As before Opening a new one?",
                           MsgButtons::YesNoCancel, MsgIcon::Question, "OK to Open another?")) {
    case MsgAnswer::No:
        return true;
    case MsgAnswer::Yes:
        return SaveAs();
    default:
        return false;
    }
}

std::string KorvoScreenManager::LayoutToOpen(const std::string& path) {
    return IsZipPath(path) ? UnpackBundleToOpen(path, Files, Dialogs) : path;
}

bool KorvoScreenManager::OpenPrincipalFile(const std::string& chosen) {
    const std::string path = LayoutToOpen(chosen);
    if (path.empty() || !PrincipalLayout.LoadLayout(path)) return false;
    PrincSession->SetChosenResolution(Kept->Find(FromSystemPath(path)));
    PrincSession->SetChosenCodePage(Kept->FindCodePage(FromSystemPath(path)));
    EnablePrincipalCommands(true);
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::OpenAdditionalFile(const std::string& chosen) {
    const std::string path = LayoutToOpen(chosen);
    if (path.empty() || !AdditionalLayout.LoadLayout(path)) return false;
    EnableAdditionalCommands(true);
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::ImportAdditionalFile(const std::string& path) {
    if (!AdditionalLayout.ImportCSV(path)) return false;
    EnableAdditionalCommands(true);
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
    // A layout with a file starts on that file: its folder, its name and its kind's filter (a
    // lathe layout is offered to be saved as one).
    const QString current = FromSystemPath(PrincipalLayout.FileName());
    const bool lathe = HasSuffix(current, {"lset"});
    SetSave.FilterIndex = lathe ? TurningFilterIndex : 1;
    SetSave.DefaultExt = lathe ? "*.lset" : "*.set";
    SetSave.FileName.clear();
    if (!current.isEmpty()) {
        const QFileInfo file(current);
        SetSave.InitDir = ToSystemPath(file.absolutePath());
        SetSave.FileName = ToSystemPath(file.fileName());
    }
    std::string path;
    SaveDialogErr = Files.ShowSave(SetSave, path) == FileDialogCancel ? FileDialogCancel : 0;
    if (SaveDialogErr == FileDialogCancel) return false;
    RememberFolder(SaveFolderKey, path);
    if (!PrincipalLayout.SaveLayout(path)) return false;
    // From now on the box, the title and Save name the file just written.
    PrincipalLayout.SetFileName(path);
    Kept->Keep(FromSystemPath(path), PrincSession->ChosenResolution());
    Kept->KeepCodePage(FromSystemPath(path), PrincSession->ChosenCodePage());
    Recent->Add(FromSystemPath(path));
    return true;
}

bool KorvoScreenManager::Save() {
    const std::string path = PrincipalLayout.FileName();
    if (path.empty()) return SaveAs();
    if (!PrincipalLayout.SaveLayout(path)) return false;
    Kept->Keep(FromSystemPath(path), PrincSession->ChosenResolution());
    Kept->KeepCodePage(FromSystemPath(path), PrincSession->ChosenCodePage());
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
            if (MayReplacePrincipal()) OpenPrincipalFile(ChosenPath(path));
        } else if (!principal && IsLayoutPath(path)) {
            OpenAdditionalFile(ChosenPath(path));
        } else if (!principal && IsCsvPath(path)) {
            ImportAdditionalFile(ChosenPath(path));
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
