#pragma once
// The large preview of one screen: the screen at the largest scale that fits the window (which
// the user may resize), whether the Persistent screen's controls are drawn over it, the pictures
// folder, and "Save picture...". Opened on a layout alone it only shows the screen, modally; opened
// on a layout's session it edits the screen (ScreenEditor) and stays open beside the main window,
// with the Edit, Arrange, Snap and Zoom menus, and follows every change of the layout wherever it
// was made.

#include <QDialog>

#include <memory>

class FileDialogs;
class LayoutSession;
class PictureCache;
class QCheckBox;
class QLabel;
class QPushButton;
class ScreenEditor;
class QMenu;
class ScreenPreview;
class UserDialogs;
class cLayout;

class ScreenPreviewWindow : public QDialog {
    Q_OBJECT
public:
    ScreenPreviewWindow(const cLayout& layout, int screen, FileDialogs& files, UserDialogs& dialogs,
                        std::shared_ptr<PictureCache> pictures = {}, QWidget* parent = nullptr);
    // Editing: the session must outlive the window.
    ScreenPreviewWindow(LayoutSession& session, int screen, FileDialogs& files,
                        UserDialogs& dialogs, std::shared_ptr<PictureCache> pictures = {},
                        QWidget* parent = nullptr);

    ScreenPreview& Preview() { return *Screen; }
    // The editor, when the window edits; nullptr otherwise.
    ScreenEditor* Editor() const;
    // The editing window's File menu (Close; the main window adds its Save commands); nullptr
    // in a preview.
    QMenu* FileMenu() const { return mnuFile; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build(const cLayout& layout, int screen, FileDialogs& files,
               std::shared_ptr<PictureCache> pictures);
    void BuildMenus(LayoutSession& session);
    void ShowTitle();
    void ShowFolder();

    UserDialogs& Dialogs;
    bool Editing = false;
    ScreenPreview* Screen = nullptr;
    QCheckBox* chkPersistent = nullptr;
    QLabel* labPictures = nullptr;
    QPushButton* butPicturesFolder = nullptr;
    QPushButton* butSavePicture = nullptr;
    QPushButton* butClose = nullptr;
    QMenu* mnuFile = nullptr;
    QString LayoutName; // the layout file's name, in the title of an editing window
};
