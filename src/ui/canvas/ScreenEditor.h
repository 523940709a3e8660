#pragma once
// Editing one screen of a layout where it is drawn: the screen with its pictures as the machine
// shows them, zoomed from 25 % to 800 % and scrolled, with a margin around it so controls lying
// partly off the screen stay in reach. The user selects controls (click, Alt+click for the one
// beneath, Ctrl+click, a rubber band), moves them (drag, arrow keys), resizes one by its eight
// handles, aligns, distributes and sizes them alike, and moves them inside the screen. Dragged
// rectangles snap to the grid and to other controls and the screen, with guide lines and a status
// line saying what snapped.
//
// The editor lives inside a ScreenPreview, whose scene, pictures and layout it shows; the
// selection is the session's, shared with every other view. Each drag, each arrange command and
// each run of arrow keys on one selection is one step of the document's history, made through
// cLayout::ApplyEdit from the plain functions of editing/Arrange.h and editing/Snapping.h; the
// editor only maps the mouse and the keys to them. A drag changes nothing until the mouse is
// released, so Esc during it leaves the layout as it was. Controls of the Persistent screen
// drawn over another screen are shown but not picked there: they are edited on screen 0.
//
// Painting: the scene is painted once into a layer the size of the view and kept until the view
// or the scene changes; while controls move, the layer without them is kept and they are painted
// over it, and only the area that changed is repainted.

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPixmap>
#include <QRegion>

#include <string>
#include <vector>

#include "editing/Arrange.h"
#include "editing/Snapping.h"
#include "preview/ScreenScene.h"

class LayoutSession;
class QAction;
class QMenu;
class ScreenPreview;
class UserDialogs;

class ScreenEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    ScreenEditor(ScreenPreview& preview, LayoutSession& session, UserDialogs& dialogs,
                 QWidget* parent = nullptr);
    ~ScreenEditor() override;

    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 8.0;
    // From this zoom on, every screen pixel is outlined.
    static constexpr double PixelGridZoom = 4.0;
    // The snapping grid is drawn while snapping to it is on and its lines lie at least this far
    // apart in the view.
    static constexpr double LeastGridSpacing = 8.0;
    static constexpr int HandleSize = 7; // view pixels

    // --- the view
    double Zoom() const { return ZoomFactor; }
    // The zoom follows the view's size to keep the whole screen in sight until the user zooms.
    bool Fitted() const { return FitsView; }
    // Zooms so that the screen point under `anchor` (a point of the view) stays under it.
    void SetZoom(double zoom, QPointF anchor);
    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();
    void ZoomToActualSize();
    // Scrolls the view to put a screen point in its middle, as far as the view scrolls.
    void CentreOn(QPointF screenPoint);
    // Scrolls the least way that brings a control of this screen into sight.
    void EnsureVisible(int position);
    QPointF ToScreen(QPointF viewPoint) const;
    QPointF FromScreen(QPointF screenPoint) const;
    QRectF ScreenRectInView() const;

    // --- selection: the session's, as far as it holds controls of this screen
    std::vector<int> SelectedHere() const;
    // The control the aligns and same sizes take as their measure: the one picked first.
    int ReferenceControl() const;
    // The controls of this screen under a point of the view that a click can pick, topmost first.
    std::vector<const SceneItem*> StackAt(QPointF viewPoint) const;
    // Picks the next control beneath the selected one at a point of the view (Alt+click).
    void SelectBeneath(QPointF viewPoint);
    void SelectAll();

    // --- edits, one step each
    void Nudge(int dx, int dy);
    void Arrange(ArrangeCommand command);
    void MoveSelectionInside();
    // Esc during a drag: everything goes back to where it was.
    void CancelGesture();
    bool Dragging() const { return Doing != Gesture::None && Doing != Gesture::Pressed; }

    // --- snapping, remembered between runs
    SnapSettings Snapping() const;
    void SetSnapping(const SnapSettings& settings);

    // What the status line says: the pointer's screen position, the selection, or what a drag
    // does and what it snapped to.
    QString StatusText() const { return Status; }

    // The commands, for the window's menus.
    QMenu* ArrangeMenu() const { return mnuArrange; }
    QMenu* SnapMenu() const { return mnuSnap; }
    QMenu* ZoomMenu() const { return mnuZoom; }
    QList<QAction*> SelectionActions() const;

    // The preview built a new scene, or shows something else of the same one (the highlight, the
    // pictures): the view is painted again.
    void SceneChanged();
    void ViewChanged();

signals:
    void StatusChanged(const QString& text);
    void ZoomChanged(double zoom);
    void DoubleClicked();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Gesture { None, Pressed, Moving, Resizing, Banding };
    // What a press turns into once the mouse moves far enough.
    enum class PressKind { Nothing, Move, Resize, Band, BandOrSelect };

    void BuildActions();
    void UpdateActions();
    void UpdateScrollBars();
    void SetStatus(const QString& text);
    void ShowRestingStatus();
    QPointF Origin() const;
    // Scrolls so that a screen point lies under a point of the view, as far as the view scrolls.
    void Place(QPointF screenPoint, QPointF viewPoint);
    QRectF ViewRect(const SceneRect& r) const;
    QRectF ViewRect(const PixelBox& b) const;

    const ScreenScene& Scene() const;
    void Select(std::vector<int> positions, int reference);
    // Ctrl+click: in or out of the selection.
    void Toggle(int position);
    void Apply(const ControlsEdit& edit, const std::string& step, const std::string& runKey = {});

    // Handles of the one selected control: the edges each moves, and where it lies in the view.
    unsigned HandleAt(QPointF viewPoint) const;
    std::vector<std::pair<unsigned, QRectF>> Handles(const QRectF& control) const;
    void UpdateCursor(QPointF viewPoint);

    void Press(QMouseEvent* event);
    void BeginGesture();
    void Drag(QPointF viewPoint);
    void Release();
    std::vector<SnapTarget> TargetsBeside(const std::vector<int>& moving) const;
    // The controls of this screen lying wholly inside a band of the screen, ascending.
    std::vector<int> InBand(const QRectF& band) const;
    SnapSettings SettingsAtThisZoom() const;

    // Painting: the scene's layer (without the moving controls while they move), then what moves.
    void EnsureLayer();
    void PaintLayer(QPainter& painter, const QRegion& region, const std::vector<int>& hidden);
    void PaintSelection(QPainter& painter, const QRect& exposed);
    void PaintGestures(QPainter& painter, const QRect& exposed);
    QRegion GestureRegion() const;
    void Repaint(const QRegion& before);

    ScreenPreview& Preview;
    LayoutSession& Session;
    UserDialogs& Dialogs;

    double ZoomFactor = 1.0;
    bool FitsView = true;
    PixelBox Content; // the screen and the controls about it, with a margin, in screen pixels
    int PadX = 0, PadY = 0;
    std::vector<int> OwnPositions; // ascending: the controls of this screen a click can pick
    int Reference = 0;
    double WheelTurn = 0;
    QPointF Pointer{-1, -1}; // the last pointer position in the view
    QString Status;

    QPixmap Layer;
    bool LayerValid = false;
    SnapSettings GridShown; // the grid drawn: the snapping last set
    QPointF PlacedAt{-1, -1}; // where the next control added in this view goes (screen pixels)
    std::vector<int> LayerHidden; // what the layer leaves out

    Gesture Doing = Gesture::None;
    PressKind Kind = PressKind::Nothing;
    QPointF PressAt;       // in the view
    QPointF PressScreenAt; // in screen pixels
    bool AddToSelection = false;
    int PressedItem = 0;
    bool ClickSelectsAlone = false;
    unsigned ResizeEdges = 0;
    std::vector<int> Moving;           // records being moved or resized
    std::vector<PixelBox> MovingBoxes; // their boxes before the drag
    PixelBox MovingBounds;
    std::vector<SceneItem> MovingItems; // as they are drawn now
    std::vector<SnapTarget> Targets;
    SnapSettings DragSnapping;
    SnapResult Snapped;
    int64_t MovedX = 0, MovedY = 0;
    QRectF Band; // in screen pixels

    int NudgeRun = 0;
    QElapsedTimer NudgeClock;

    QMenu* mnuArrange = nullptr;
    QMenu* mnuSnap = nullptr;
    QMenu* mnuZoom = nullptr;
    QAction* actSelectAll = nullptr;
    QAction* actClearSelection = nullptr;
    QAction* actSelectBeneath = nullptr;
    std::vector<std::pair<QAction*, ArrangeCommand>> ArrangeActions;
    QAction* actMoveInside = nullptr;
    QAction* actSnapGrid = nullptr;
    QAction* actGridStep = nullptr;
    QAction* actSnapControls = nullptr;
    QAction* actSnapScreen = nullptr;
    QAction* actSnapCentres = nullptr;
};
