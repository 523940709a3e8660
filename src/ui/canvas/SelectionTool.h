#pragma once
// The editing view's first tool: a click selects (Ctrl+click adds or takes away, Alt+click picks
// the control beneath, Shift or empty space draws a rubber band), a drag moves the selection or
// resizes one control by a handle, snapping as the view's settings say. Nothing changes in the
// layout until the button comes up; then the move or resize is one step of the history.

#include <QPointF>
#include <QRectF>

#include <vector>

#include "editing/Snapping.h"
#include "ui/canvas/CanvasTool.h"

class ScreenEditor;

class SelectionTool : public CanvasTool {
public:
    explicit SelectionTool(ScreenEditor& view) : View(view) {}

    void Press(const QMouseEvent& event) override;
    void Move(QPointF viewPoint) override;
    void Release(QPointF viewPoint) override;
    void Cancel() override;
    bool Busy() const override { return Doing != Gesture::None; }
    bool Dragging() const override { return Doing != Gesture::None && Doing != Gesture::Pressed; }
    std::vector<int> Hidden() const override;
    const SceneItem* Drawn(int position) const override;
    bool ShowsHandles() const override { return Doing != Gesture::Moving; }
    void Paint(QPainter& painter, const QRect& exposed) const override;
    QRegion Region() const override;

private:
    enum class Gesture { None, Pressed, Moving, Resizing, Banding };
    // What a press turns into once the mouse moves far enough.
    enum class PressKind { Nothing, Move, Resize, Band, BandOrSelect };

    void Begin();
    void Drag(QPointF viewPoint);
    void Finish();

    ScreenEditor& View;
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
};
