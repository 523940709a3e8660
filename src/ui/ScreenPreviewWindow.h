#pragma once
// The large preview of one screen, shown modally: the screen at the largest scale that fits the
// window (which the user may resize), whether the Persistent screen's controls are drawn over it,
// the pictures folder, and "Save picture...".

#include <QDialog>

#include <memory>

class FileDialogs;
class PictureCache;
class QCheckBox;
class QLabel;
class QPushButton;
class ScreenPreview;
class UserDialogs;
class cLayout;

class ScreenPreviewWindow : public QDialog {
    Q_OBJECT
public:
    ScreenPreviewWindow(const cLayout& layout, int screen, FileDialogs& files, UserDialogs& dialogs,
                        std::shared_ptr<PictureCache> pictures = {}, QWidget* parent = nullptr);

    ScreenPreview& Preview() { return *Screen; }

private:
    void ShowFolder();

    UserDialogs& Dialogs;
    ScreenPreview* Screen = nullptr;
    QCheckBox* chkPersistent = nullptr;
    QLabel* labPictures = nullptr;
    QPushButton* butPicturesFolder = nullptr;
    QPushButton* butSavePicture = nullptr;
    QPushButton* butClose = nullptr;
};
