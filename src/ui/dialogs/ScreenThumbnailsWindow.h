#pragma once
// The 16 screens of a layout as thumbnails in a grid, each under its number and label, shown
// modally; clicking one (or Enter on it) opens its large preview.

#include <QAbstractButton>
#include <QDialog>
#include <QImage>

#include <array>
#include <memory>

#include "layout/ControlRecord.h"
#include "preview/ScreenScene.h"

class FileDialogs;
class PictureCache;
class QCheckBox;
class QPushButton;
class UserDialogs;
class cLayout;

// One screen's thumbnail: the picture of the screen and its caption.
class ScreenThumbnail : public QAbstractButton {
    Q_OBJECT
public:
    ScreenThumbnail(int screen, QWidget* parent = nullptr);
    void SetPicture(const QImage& picture, const QString& caption);
    int Screen() const { return ScreenNo; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int PictureWidth = 224;
    static constexpr int PictureHeight = 168;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int ScreenNo;
    QImage Picture;
};

// The 16 scenes painted as thumbnails of the given size.
std::array<QImage, ScreenCount> RenderThumbnails(const cLayout& layout, PictureCache& pictures,
                                                 const SceneOptions& options, QSize size);

class ScreenThumbnailsWindow : public QDialog {
    Q_OBJECT
public:
    ScreenThumbnailsWindow(const cLayout& layout, FileDialogs& files, UserDialogs& dialogs,
                           QWidget* parent = nullptr);

    ScreenThumbnail* Thumbnail(int screen) { return Thumbnails[static_cast<std::size_t>(screen)]; }
    // Paints the thumbnails again, for the pictures folder or the Persistent option changed.
    void Refresh();
    // The resolution the user chose for the layout; none: the one each screen is drawn for.
    void SetChosenResolution(const std::optional<Resolution>& resolution);

private:
    void OpenScreen(int screen);

    const cLayout& Layout;
    std::optional<Resolution> Chosen;
    FileDialogs& Files;
    UserDialogs& Dialogs;
    std::shared_ptr<PictureCache> Pictures;
    std::array<ScreenThumbnail*, ScreenCount> Thumbnails{};
    QCheckBox* chkPersistent = nullptr;
    QPushButton* butPicturesFolder = nullptr;
    QPushButton* butClose = nullptr;
};
