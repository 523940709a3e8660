#pragma once
// The Scripts pane: every script of the Principal layout, one row each with its screen, its
// control, its first line and its length, kept to those holding the filter's text. A double-click
// (or Enter) on a row chooses the control to edit its script (ScriptChosen). The rows are worked
// out again after every change of the layout.

#include <QDockWidget>

#include <vector>

class LayoutSession;
class QLabel;
class QLineEdit;
class QTreeWidget;
struct LayoutChange;

class ScriptsPane : public QDockWidget {
    Q_OBJECT
public:
    enum Column { ColScreen, ColRecord, ColControl, ColFirstLine, ColLength, ColumnCount };

    explicit ScriptsPane(LayoutSession& session, QWidget* parent = nullptr);

    // The records listed, row for row.
    const std::vector<int>& Listed() const { return Rows; }
    QLineEdit* Filter() const { return txtFilter; }
    QTreeWidget* List() const { return lstScripts; }

signals:
    void ScriptChosen(int screen, int record);

private:
    void Refill();

    LayoutSession& Session;
    std::vector<int> Rows;
    QLineEdit* txtFilter = nullptr;
    QLabel* labCount = nullptr;
    QTreeWidget* lstScripts = nullptr;
};
