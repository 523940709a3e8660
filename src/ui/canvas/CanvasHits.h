#pragma once
// What lies under a point of a drawn screen, and what a click there does to the selection: the
// one rule the preview and the editing view share.

#include <QPointF>

#include <vector>

#include "preview/ScreenScene.h"

struct HitRules {
    // The Persistent screen's controls drawn over another screen are shown but not picked:
    // they are edited on screen 0.
    bool SkipPersistent = false;
    // Controls thinner than this (in screen pixels) are widened about their middle so they can
    // still be picked; with 0, a control covers exactly the pixels it is drawn on.
    double LeastSize = 0;
};

// The controls under a point of the screen (in screen pixels), topmost first.
std::vector<const SceneItem*> ItemsUnder(const ScreenScene& scene, QPointF screenPoint,
                                         const HitRules& rules);
const SceneItem* ItemUnder(const ScreenScene& scene, QPointF screenPoint, const HitRules& rules);

// The selection after a click on a control (0: on none). A plain click selects that control
// alone, or nothing; Ctrl+click (toggle) adds it or takes it away and keeps the rest.
std::vector<int> SelectionAfterClick(std::vector<int> selection, int position, bool toggle);
