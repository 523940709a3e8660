#pragma once
// Paints a screen scene with QPainter, in the scene's painting order: every control in the shape
// and colours the scene gives it, pictures from the cache, link badges, keys and the mark of
// Persistent screen controls, and optionally one record highlighted. Used by the preview widget,
// the thumbnails, the saved PNG and the screen editor, which paints only what it must: the part of
// the view that changed, without the controls it is moving, which it paints on their own.

#include <QImage>
#include <QRectF>

#include <span>
#include <vector>

#include "preview/ScreenScene.h"

class PictureCache;
class QPainter;

struct ScenePaintOptions {
    int Highlight = 0; // the record position to highlight; 0 for none
    // Records not painted (ascending positions): the ones an editor paints where they are moving.
    std::vector<int> Hidden;
    // The part of the device that needs painting; empty for all of it. Items beyond it are skipped.
    QRectF Exposed;
    // Controls reaching beyond the screen are cut at its edge; an editor shows them in the margin
    // around it instead.
    bool ClipToScreen = true;
};

// Paints the scene stretched into `target` (device coordinates of the painter).
void PaintScene(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
                const QRectF& target, const ScenePaintOptions& options = {});

// Paints these items (of the scene, or copies of them moved or resized) over what is painted
// already, within `exposed` (device coordinates; empty for everywhere). Draft pictures are drawn
// straight from the picture as read, without keeping a copy of the size drawn: for a control
// whose size changes with every move of the mouse.
void PaintSceneItems(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
                     const QRectF& target, std::span<const SceneItem> items, const QRectF& exposed,
                     bool draftPictures = false);

// The largest rectangle of the scene's proportions that fits in `area`, centred in it.
QRectF FitScene(const ScreenScene& scene, const QRectF& area);

// The scene painted into an image of `size` (the screen's own size when empty), its proportions
// kept and centred; what lies outside the scene is transparent.
QImage RenderScene(const ScreenScene& scene, PictureCache& pictures, QSize size = {},
                   const ScenePaintOptions& options = {});

// How a scene's colour (0xRRGGBB) is given to Qt.
QColor SceneQColor(uint32_t colour);
