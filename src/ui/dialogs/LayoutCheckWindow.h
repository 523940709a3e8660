#pragma once
// The findings of the layout check in a table (severity, code, screen, record, message) under a
// count per severity, and the selected finding's sentence in full below. The window is not modal
// and may stay open while the user works: whoever changes the layout calls Refresh(). It only reads
// the layout; activating a finding (double-click or Enter) tells the owner which screen and control
// it concerns, and the owner goes there.
//
// Pictures are looked up only when the user has chosen a pictures folder for the previews;
// otherwise the check says in a note that they were not checked.
//
// A control found off the screen can be moved inside it: "Move Inside" asks the owner to do so
// (the window itself never changes the layout).

#include <QDialog>

#include <vector>

#include "check/LayoutCheck.h"

class QLabel;
class QPushButton;
class QTableWidget;
class cLayout;

class LayoutSession;

class LayoutCheckWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { ColSeverity, ColCode, ColScreen, ColRecord, ColMessage, ColumnCount };

    // The layout must outlive the window. The window checks it at once.
    explicit LayoutCheckWindow(const cLayout& layout, QWidget* parent = nullptr);

    // Checks the layout again and shows what is found now. The finding that was selected stays
    // selected when it is still found; otherwise the row in its place is. A check that fails is
    // told in the window; nothing is thrown.
    void Refresh();
    // The resolution the controls must fit: the one the user chose for the layout; none: the one
    // the layout is drawn for.
    void SetChosenResolution(const std::optional<Resolution>& resolution);
    // Follows the session of the layout checked: checks again after each change of its records or
    // screens, and takes the resolution chosen for it.
    void Follow(LayoutSession& session);

    // The findings the table shows, row for row.
    const std::vector<Finding>& Findings() const { return Shown; }
    // Row of the selected finding; -1 when none is selected.
    int SelectedRow() const;
    void SelectRow(int row);
    // "2 errors, 5 warnings, 3 notes", "No problems found", or why the check could not run.
    QString Summary() const;

    QSize sizeHint() const override;

signals:
    // A finding was double-clicked or Enter was pressed on it. screen: the finding's screen,
    // 0..15, a screen number outside 0..15 for off-layout-screen, or WholeLayout (-1) for a
    // finding about the whole layout. record: 1-based position in the layout, 0 when the finding
    // concerns no one record.
    void FindingActivated(int screen, int record);
    // "Move Inside" was pressed on an off-screen finding of this record (1-based).
    void MoveInsideRequested(int record);
    // Relink... was pressed on a missing picture's finding: the record that shows the picture.
    void RelinkRequested(int record);

private:
    void Fill();
    void ShowDetail();
    void Activate(int row);

    const cLayout& Layout;
    std::optional<Resolution> Chosen;
    std::vector<Finding> Shown;
    QLabel* labSummary = nullptr;
    QTableWidget* tblFindings = nullptr;
    QLabel* labDetail = nullptr;          // the selected finding's whole sentence
    QPushButton* butMoveInside = nullptr; // offered on an off-screen finding
    QPushButton* butRelink = nullptr;     // offered on a missing picture's finding
    QPushButton* butCheckAgain = nullptr;
    QPushButton* butClose = nullptr;
};
