#pragma once
// The controls table: a pane listing the Principal layout's controls, those of the screen shown
// or of all screens, with a filter box that matches any text field and a kind filter, sortable by
// every column. Its selection is the session's: selecting rows selects the controls everywhere
// (the previews outline them, the property sheet shows them), and a control selected elsewhere
// is selected here. The table follows every change of the layout.

#include <QDockWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class ControlsTableModel;
class LayoutSession;

class ControlsTable : public QDockWidget {
    Q_OBJECT
public:
    explicit ControlsTable(LayoutSession& session, QWidget* parent = nullptr);
    ~ControlsTable() override;

    QTableView* View() const { return tblControls; }
    ControlsTableModel& Model() const { return *Rows; }
    QLineEdit* FilterBox() const { return txtFilter; }

    // The screen the table shows when it does not show all screens (-1: none).
    void SetScreen(int screen);
    void SetAllScreens(bool all);
    bool ShowsAllScreens() const;

signals:
    // A row was double-clicked or Enter pressed on it.
    void ControlActivated(int position);

private:
    void ChooseRows();
    void SelectFromSession();
    void TakeSelection();
    void UpdateCount();

    LayoutSession& Session;
    ControlsTableModel* Rows = nullptr;
    QCheckBox* chkAllScreens = nullptr;
    QComboBox* cboKind = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* labCount = nullptr;
    QTableView* tblControls = nullptr;
    int ScreenShown = -1;
    bool Syncing = false; // the table's selection is being set from the session's
};
