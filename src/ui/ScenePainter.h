#pragma once
// Paints a screen scene with QPainter, in the scene's painting order: every control in the shape
// and colours the scene gives it, pictures from the cache, link badges, keys and the mark of
// Persistent screen controls, and optionally one record highlighted. Used by the preview widget,
// the thumbnails and the saved PNG.

#include <QImage>
#include <QRectF>

#include "preview/ScreenScene.h"

class PictureCache;
class QPainter;

struct ScenePaintOptions {
    int Highlight = 0; // the record position to highlight; 0 for none
};

// Paints the scene stretched into `target` (device coordinates of the painter).
void PaintScene(QPainter& painter, const ScreenScene& scene, PictureCache& pictures,
                const QRectF& target, const ScenePaintOptions& options = {});

// The largest rectangle of the scene's proportions that fits in `area`, centred in it.
QRectF FitScene(const ScreenScene& scene, const QRectF& area);

// The scene painted into an image of `size` (the screen's own size when empty), its proportions
// kept and centred; what lies outside the scene is transparent.
QImage RenderScene(const ScreenScene& scene, PictureCache& pictures, QSize size = {},
                   const ScenePaintOptions& options = {});

// How a scene's colour (0xRRGGBB) is given to Qt.
QColor SceneQColor(uint32_t colour);
