#pragma once
// The find pane: a text or a number across the Principal layout's controls, in the fields chosen,
// whole field or part, with or without letter case, listed by screen, record, field and the line
// that holds it; choosing a result goes to its control (ControlChosen). Find Next and Find
// Previous (F3, Shift+F3) step through the results. Replace, in the same pane, replaces in all
// results or the selected ones after saying how many fields of how many controls will change, as
// one undo step; what a layout cannot hold is refused with nothing changed.
//
// The pane computes nothing itself: editing/FindReplace.h does, for quill as well. The results
// are found again after every change of the layout, wherever it was made.

#include <QDockWidget>

#include <vector>

#include "editing/FindReplace.h"

class LayoutSession;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class UserDialogs;
struct LayoutChange;

class FindPane : public QDockWidget {
    Q_OBJECT
public:
    enum Column { ColScreen, ColRecord, ColField, ColLine, ColumnCount };

    FindPane(LayoutSession& session, UserDialogs& dialogs, QWidget* parent = nullptr);

    // Edit > Find... (Ctrl+F) shows the pane with the text to find selected; Find Next (F3) and
    // Find Previous (Shift+F3) choose the next or previous result, finding first when needed.
    QAction* FindAction() const { return ActFind; }
    QAction* FindNextAction() const { return ActNext; }
    QAction* FindPreviousAction() const { return ActPrevious; }

    void ShowAndFocus();
    // Finds the text in the box; says in the pane what was found.
    void FindAll();
    void FindNext();
    void FindPrevious();
    // Asks, then replaces; false when refused, cancelled or nothing changed.
    bool Replace();

    const std::vector<FindResult>& Results() const { return Found; }
    // The row of the chosen result; -1 for none.
    int CurrentRow() const;
    QString Status() const;

signals:
    // A result was chosen: its control's screen and 1-based record position.
    void ControlChosen(int screen, int record);

private:
    // The search the boxes describe; false (and a word in the pane) when there is none.
    bool Options(FindOptions& options, bool tell);
    void Search(bool keepRow);
    void Fill();
    void Choose(int row);
    void Step(int by);
    void LayoutChanged(const LayoutChange& change);
    void Warn(const std::string& prompt);

    LayoutSession& Session;
    UserDialogs& Dialogs;
    std::vector<FindResult> Found;
    FindOptions Searched; // what the results were found for
    bool HasSearch = false;

    QLineEdit* txtFind = nullptr;
    QPushButton* butFind = nullptr;
    QCheckBox* chkWhole = nullptr;
    QCheckBox* chkCase = nullptr;
    std::vector<QCheckBox*> FieldBoxes; // one per field of FindFields()
    QTreeWidget* lstResults = nullptr;
    QLabel* labFindStatus = nullptr;
    QLineEdit* txtReplace = nullptr;
    QRadioButton* optReplaceAll = nullptr;
    QRadioButton* optReplaceSelected = nullptr;
    QPushButton* butReplace = nullptr;
    QAction* ActFind = nullptr;
    QAction* ActNext = nullptr;
    QAction* ActPrevious = nullptr;
};
