#pragma once
// The pictures pane: every picture path of the Principal layout, as it spells it, with the number
// of controls that use it, where it is found (looked up as the preview looks: the pictures folder,
// then the layout's folder and its parent) and its size. Choosing a path lists the controls whose
// picture it is (matched as Windows matches paths), and choosing one of those goes to it
// (ControlChosen). Relink gives the path, or every path under its folder, a new path as one undo
// step; the check window's missing-picture finding comes here through RelinkPath.
//
// Paths are looked up again after every change of the layout (while the pane is shown; a hidden
// pane looks when it is shown again), and from the disk afresh with Look Again (after pictures
// were added to a folder).

#include <QDockWidget>
#include <QHash>
#include <QSize>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "preview/WhereUsed.h"

class FileDialogs;
class LayoutSession;
class PictureFinder;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class UserDialogs;

class PicturesPane : public QDockWidget {
    Q_OBJECT
public:
    enum Column { ColPath, ColUses, ColFound, ColSize, ColumnCount };
    enum UseColumn { UseScreen, UseRecord, UseControl, UsePath, UseColumnCount };

    PicturesPane(LayoutSession& session, FileDialogs& files, UserDialogs& dialogs,
                 QWidget* parent = nullptr);
    ~PicturesPane() override;

    // Looks every path up again, from the disk.
    void LookAgain();
    // Chooses the row of this path (as the layout spells it) and makes it the path to relink,
    // ready for the new path to be typed.
    void RelinkPath(const std::string& path);
    // Relinks the path (or folder) in the first box to the second; false when refused.
    bool Relink();

    const std::vector<PictureUse>& Pictures() const { return Uses; }
    // The controls listed for the chosen path.
    const std::vector<int>& ChosenUses() const { return Showing; }
    void SelectPath(int row);

signals:
    void ControlChosen(int screen, int record);

private:
    void Refill();
    void ShowUses();
    void FillRelinkFrom();
    void BrowseNewPath();
    void Warn(const std::string& prompt);

    LayoutSession& Session;
    FileDialogs& Files;
    UserDialogs& Dialogs;
    std::unique_ptr<PictureFinder> Finder;
    std::string FinderLayout, FinderFolder; // what the finder was made for
    std::vector<PictureUse> Uses;
    std::vector<int> Showing;
    std::string ChosenPath;           // the path whose uses are listed
    bool Stale = false;               // the layout changed while the pane was hidden
    QHash<QString, QSize> PixelSizes; // of the picture files read, until Look Again

    QTreeWidget* tblPictures = nullptr;
    QLabel* labPictures = nullptr;
    QTreeWidget* lstPictureUses = nullptr;
    QLineEdit* txtRelinkFrom = nullptr;
    QCheckBox* chkRelinkFolder = nullptr;
    QLineEdit* txtRelinkTo = nullptr;
    QPushButton* butRelinkBrowse = nullptr;
    QPushButton* butRelink = nullptr;
    QPushButton* butLookAgain = nullptr;
};
