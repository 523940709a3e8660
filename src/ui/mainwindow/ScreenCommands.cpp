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

// The main window's screen commands: append, delete, promote, demote, captions, Edit Controls, the
// check and compare.

using namespace MainWindowShared;

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
        CheckWindow->Follow(*PrincSession);
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
        PrincSession->Apply(edit, ControlsStepText("Move", 1) + " inside the screen");
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
            window->Follow(*PrincSession);
    });
}
