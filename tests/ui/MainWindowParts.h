#pragma once
// The main window's parts as the tests reach them: the one place that knows how each is found
// (its object name), so a widget renamed or rebuilt changes this file and not the tests. A part
// that is not there fails the running test where it is asked for.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "UiTestSupport.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/mainwindow/KorvoScreenManager.h"

class MainWindowParts {
public:
    explicit MainWindowParts(KorvoScreenManager& window) : Window(window) {}

    // One layout's frame: the Principal one (edited and saved) or the Additional one.
    struct Frame {
        QPushButton* Open;
        QLineEdit* FileName;
        QTreeWidget* Screens;
        ScreenPreview* Preview;
    };
    Frame Principal() const {
        return {Get<QPushButton>("butOpen"), Get<QLineEdit>("txtOpenedFile"),
                Get<QTreeWidget>("PrincLayList"), Get<ScreenPreview>("PrincPreview")};
    }
    Frame Additional() const {
        return {Get<QPushButton>("butAddOpen"), Get<QLineEdit>("txtAddFile"),
                Get<QTreeWidget>("AddLayList"), Get<ScreenPreview>("AddPreview")};
    }

    // The Principal layout's buttons.
    QPushButton* SaveAs() const { return Get<QPushButton>("butSaveAs"); }
    QPushButton* Export() const { return Get<QPushButton>("butExport"); }
    QPushButton* Import() const { return Get<QPushButton>("butImport"); }
    QPushButton* Check() const { return Get<QPushButton>("butCheck"); }
    QPushButton* EditControls() const { return Get<QPushButton>("butEditScreen"); }
    QPushButton* EditSelectedScreen() const { return Get<QPushButton>("butEditSel"); }
    QPushButton* DeleteScreen() const { return Get<QPushButton>("butDelete"); }
    QPushButton* PromoteScreen() const { return Get<QPushButton>("butPromote"); }
    QPushButton* DemoteScreen() const { return Get<QPushButton>("butDemote"); }
    QPushButton* UpdateCaptions() const { return Get<QPushButton>("butUpdateCapts"); }
    QPushButton* AppendToPrincipal() const { return Get<QPushButton>("butAppendToPrinc"); }

    // Menu commands.
    QAction* OpenPrincipalItem() const { return Get<QAction>("mnuPrincOpen"); }
    QAction* SaveItem() const { return Get<QAction>("mnuPrincSave"); }
    QAction* SaveAsItem() const { return Get<QAction>("mnuPrincSaveAs"); }
    QAction* UndoItem() const { return Get<QAction>("mnuUndo"); }
    QAction* RedoItem() const { return Get<QAction>("mnuRedo"); }
    QAction* EditOnScreenItem() const { return Get<QAction>("mnuEditOnScreen"); }
    QAction* WhereUsedItem() const { return Get<QAction>("mnuWhereUsed"); }
    QAction* ControlsTableItem() const { return Get<QAction>("mnuControlsTable"); }
    QAction* PropertySheetItem() const { return Get<QAction>("mnuPropertySheet"); }
    // Controls > Add, a control of this kind.
    QAction* AddControlItem(int kind) const {
        return Get<QAction>(QStringLiteral("mnuAdd%1").arg(kind).toLatin1().constData());
    }

private:
    template <typename Part> Part* Get(const char* name) const { return Find<Part>(Window, name); }

    KorvoScreenManager& Window;
};
