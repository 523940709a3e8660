#pragma once
// A widget that shows one screen of a layout as the host would draw it, at the largest scale that
// fits, under a caption with the screen's number, label and resolution. Hovering a control shows
// what it is; one record can be highlighted; "Save picture..." writes the screen as PNG (at the
// screen's own resolution) or SVG; the pictures folder can be chosen and is remembered.
//
// The preview reads the layout it shows whenever it paints a new scene: the layout must outlive
// it, or be replaced by ShowScreen or Clear first. After the layout changed, call Refresh.
//
// Given the session of the layout it shows, the preview edits the screen where it is wide enough
// for it: a ScreenEditor takes the place of the picture, with a status line below it; narrower,
// it shows the picture as before.

#include <QWidget>

#include <memory>
#include <string>

#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"

class FileDialogs;
class LayoutSession;
class PictureCache;
class QLabel;
class QMenu;
class ScreenEditor;
struct LayoutChange;
class UserDialogs;
class cLayout;

// Answers a tooltip event over `widget` with `text` as plain text, whatever the record holds (no
// markup of a file is ever interpreted), or hides the tooltip when there is no text.
void ShowPlainToolTip(QEvent* event, const QString& text, QWidget* widget);

class ScreenPreview : public QWidget {
    Q_OBJECT
public:
    ScreenPreview(FileDialogs& files, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~ScreenPreview() override;

    void ShowScreen(const cLayout& layout, int screen);
    void Clear();
    // Builds the scene again from the layout; the pictures keep what was found.
    void Refresh();
    // Whether a change of the shown layout alters what is drawn here: a load, records added,
    // removed or reordered, the screens' index or the file, or a record changed on the screen
    // shown (or on the Persistent screen while its controls are drawn over it).
    bool Touches(const LayoutChange& change) const;
    // After a change of the shown layout: built and drawn again only when the change touches it.
    void LayoutChanged(const LayoutChange& change);
    // Looks every picture up and reads it again (after the pictures folder or its files changed).
    void ReloadPictures();

    void SetShowPersistent(bool show);
    // The resolution the user chose for the layout; none: the one its controls are drawn for.
    void SetChosenResolution(const std::optional<Resolution>& resolution);
    bool ShowsPersistent() const { return Options.ShowPersistent; }
    // Several previews may share the pictures they have read.
    void SetPictureCache(std::shared_ptr<PictureCache> cache);
    const std::shared_ptr<PictureCache>& Pictures() const { return Cache; }

    // 0 clears; false (and nothing highlighted) when the record is not drawn on this screen.
    bool HighlightRecord(int position);
    int HighlightedRecord() const { return Highlighted; }

    const cLayout* Layout() const { return Document; }
    int Screen() const { return ScreenNo; }
    const ScreenScene& Scene() const { return Current; }
    // "Screen 3: Tool Path" and the resolution, as the caption shows them.
    QString Caption() const;
    // Where the scene lies in the widget, and the mapping between the two.
    QRectF SceneArea() const;
    QPointF FromScene(QPointF scenePoint) const;
    QPointF ToScene(QPointF widgetPoint) const;
    // What hovering shows at a point of the widget; empty where no control lies.
    QString ToolTipAt(QPoint widgetPoint) const;
    // What hovering shows over one item of the scene.
    QString ToolTipFor(const SceneItem& item) const;
    // The screen at 1:1 of its resolution.
    QImage RenderImage() const;

    // Asks for a file and writes the picture; false when cancelled or failed (the user was told).
    bool SavePicture();
    // Asks for the pictures folder; remembers it and looks the pictures up again.
    bool ChoosePicturesFolder();

    // Editing: with the session of the layout shown, the screen is edited where the preview is at
    // least EditingWidth wide; none ends editing.
    static constexpr int EditingWidth = 400;
    void SetEditSession(LayoutSession* session);
    LayoutSession* EditSession() const { return Session; }
    // The editor of a preview given a session (shown or not); nullptr without a session.
    ScreenEditor* Editor() const { return Edit; }
    // The editor shows the screen now: the preview is wide enough and shows the session's layout.
    bool Editing() const;
    // The items of the preview's own menu (Save picture..., the Persistent screen, the pictures
    // folder), for the editor's menu.
    void AddViewItems(QMenu& menu);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void PicturesFolderChanged();
    void ShowPersistentChanged(bool show);
    // The user double-clicked the screen.
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RebuildFinder();
    int CaptionHeight() const;
    // Shows or hides the editor as the preview's width, the session and the screen allow.
    void UpdateEditing();

    FileDialogs& Files;
    UserDialogs& Dialogs;
    const cLayout* Document = nullptr;
    int ScreenNo = -1;
    SceneOptions Options;
    PictureFinder Finder;
    std::string FinderLayoutFile, FinderFolder; // what the finder was made for
    std::shared_ptr<PictureCache> Cache;
    ScreenScene Current;
    int Highlighted = 0;
    LayoutSession* Session = nullptr;
    ScreenEditor* Edit = nullptr; // made when a session is given
    QLabel* EditStatus = nullptr;
};
