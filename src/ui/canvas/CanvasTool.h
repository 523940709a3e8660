#pragma once
// A tool of the editing view: what the mouse and Esc do there. The view keeps the zoom, the
// scrolling, the painted layer and the selection; it hands each mouse event to its tool, asks it
// what to paint over the layer and which controls to leave out of the layer, and tells it when
// a gesture must stop (Esc, another button, a new scene). Tools other than selecting and
// moving controls (drawing a new control, measuring) plug in here.

#include <QPointF>
#include <QRect>
#include <QRegion>

#include <vector>

#include "preview/ScreenScene.h"

class QMouseEvent;
class QPainter;

class CanvasTool {
public:
    virtual ~CanvasTool() = default;

    // The left button went down at a point of the view.
    virtual void Press(const QMouseEvent& event) = 0;
    // The pointer moved to a point of the view, with the button down or not.
    virtual void Move(QPointF viewPoint) = 0;
    // The left button came up.
    virtual void Release(QPointF viewPoint) = 0;
    // Puts back whatever a gesture under way has changed on the screen; the layout was never
    // changed during it.
    virtual void Cancel() = 0;

    // Between a press and its release.
    virtual bool Busy() const = 0;
    // The mouse has moved far enough since the press for the gesture to show.
    virtual bool Dragging() const = 0;

    // The controls the view's layer leaves out because the tool paints them, ascending.
    virtual std::vector<int> Hidden() const = 0;
    // How a control is drawn now, if the tool moves it; nullptr where it is as the scene has it.
    virtual const SceneItem* Drawn(int position) const = 0;
    // Whether the handles of a single selected control show.
    virtual bool ShowsHandles() const = 0;
    // Paints over the layer what the gesture shows, and says where that is in the view.
    virtual void Paint(QPainter& painter, const QRect& exposed) const = 0;
    virtual QRegion Region() const = 0;
};
