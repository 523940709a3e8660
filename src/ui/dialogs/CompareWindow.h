#pragma once
// The differences between the Principal layout and another version of it, a layout file (the
// file it was opened from: what changed since it was saved), listed by screen: each screen with
// its added, removed, changed and re-ordered controls, the changed fields old -> new, then the
// trailer. Below the list the two versions' previews stand side by side, the file on the left, the
// Principal layout on the right; choosing a difference shows its screen in both and marks the
// control in each version that has it.
//
// The window is not modal and only reads the Principal layout, which must outlive it: whoever
// changes that layout calls Refresh(), and the list follows. The file is read once, and again on
// Compare Again. Nothing it does throws into the event loop.

#include <QDialog>

#include <memory>
#include <string>

#include "versioning/LayoutDiff.h"

class FileDialogs;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class ScreenPreview;
class UserDialogs;
class QuietDialogs;
class cLayout;

class LayoutSession;

class CompareWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { ColChange, ColRecord, ColControl, ColDetails, ColumnCount };

    CompareWindow(const cLayout& principal, FileDialogs& files, UserDialogs& dialogs,
                  QWidget* parent = nullptr);
    ~CompareWindow() override;

    // Opens a window comparing the Principal layout with the layout file and shows it; when the
    // file cannot be read, says why through the dialogs and returns nullptr.
    static CompareWindow* Open(const cLayout& principal, const std::string& path,
                               FileDialogs& files, UserDialogs& dialogs, QWidget* parent);

    // Reads the layout file and compares; false, with Failure() saying why and the window as it
    // was, when it cannot be read.
    bool Compare(const std::string& path);
    const std::string& Failure() const { return FailureText; }
    // Compares again with the Principal layout as it is now. The selected difference stays
    // selected while it is still there.
    void Refresh();
    // Follows the session of the Principal layout: compares again after each change of its
    // records.
    void Follow(LayoutSession& session);
    // Reads the file again, then compares (a failure is told in the window's summary).
    void CompareAgain();

    const LayoutDiff& Differences() const { return Diff; }
    // "2 added, 1 removed, 3 changed, 1 re-ordered; the trailer differs", or "No differences".
    QString Summary() const;
    // The difference at this position of Differences().Changes is selected, its screen shown in
    // both previews and its control marked; -1 selects nothing.
    void SelectChange(int index);
    int SelectedChange() const;
    QTreeWidget* List() const { return tblChanges; }
    ScreenPreview* FilePreview() const { return OldPreview; }
    ScreenPreview* PrincipalPreview() const { return NewPreview; }

    QSize sizeHint() const override;

private:
    void Recompare();
    void Fill();
    void ShowSelected();
    QTreeWidgetItem* ItemOfChange(int index) const;

    const cLayout& Principal;
    UserDialogs& Dialogs;
    // The other document's: its notes unseen, its refusal kept to be told once; declared before it.
    std::unique_ptr<QuietDialogs> OtherDialogs;
    std::unique_ptr<cLayout> Other;
    std::string OtherPath;
    std::string FailureText;
    LayoutContent OtherContent, PrincipalContent;
    LayoutDiff Diff;

    QLabel* labSummary = nullptr;
    QTreeWidget* tblChanges = nullptr;
    QLabel* labFile = nullptr;
    QLabel* labPrincipal = nullptr;
    ScreenPreview* OldPreview = nullptr;
    ScreenPreview* NewPreview = nullptr;
    QPushButton* butCompareAgain = nullptr;
    QPushButton* butClose = nullptr;
};
