#pragma once
// The where-used pane: for a screen of the Principal layout, the screen links that show it and
// the screens they lie on; for a control, the other controls with the same OEM code, key or
// picture. Choosing a row goes to that control (ControlChosen). What is shown is worked out again
// after every change of the layout, the control followed to where it moved.

#include <QDockWidget>

#include <vector>

#include "preview/WhereUsed.h"

class LayoutSession;
class QLabel;
class QPushButton;
class QTreeWidget;
class UserDialogs;
struct LayoutChange;

class WhereUsedPane : public QDockWidget {
    Q_OBJECT
public:
    enum Column { ColScreen, ColRecord, ColControl, ColWhy, ColumnCount };

    WhereUsedPane(LayoutSession& session, UserDialogs& dialogs, QWidget* parent = nullptr);

    void ShowScreen(int screen);
    void ShowControl(int record);
    // The records listed, row for row.
    const std::vector<int>& Listed() const { return Rows; }
    QString Subject() const;

signals:
    void ControlChosen(int screen, int record);
    // The buttons ask the owner which screen, or which control, is selected.
    void ScreenWanted();
    void ControlWanted();

private:
    void Refill();
    void LayoutChanged(const LayoutChange& change);

    LayoutSession& Session;
    UserDialogs& Dialogs;
    enum class Subject { None, Screen, Control } Showing = Subject::None;
    int Which = -1; // the screen, or the control's record
    std::vector<int> Rows;

    QLabel* labWhereUsed = nullptr;
    QTreeWidget* lstWhereUsed = nullptr;
    QPushButton* butWhereScreen = nullptr;
    QPushButton* butWhereControl = nullptr;
};
