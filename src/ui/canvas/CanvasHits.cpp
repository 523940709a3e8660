#include "ui/canvas/CanvasHits.h"

#include <algorithm>

std::vector<const SceneItem*> ItemsUnder(const ScreenScene& scene, QPointF at,
                                         const HitRules& rules) {
    std::vector<const SceneItem*> stack;
    for (auto it = scene.Items.rbegin(); it != scene.Items.rend(); ++it) {
        if (rules.SkipPersistent && it->Persistent) continue;
        if (rules.LeastSize <= 0) {
            if (it->Rect.Contains(at.x(), at.y())) stack.push_back(&*it);
            continue;
        }
        double left = static_cast<double>(it->Rect.Left());
        double top = static_cast<double>(it->Rect.Top());
        double right = left + static_cast<double>(it->Rect.Width());
        double bottom = top + static_cast<double>(it->Rect.Height());
        const auto widen = [&](double& low, double& high) {
            if (high - low < rules.LeastSize) {
                const double more = (rules.LeastSize - (high - low)) / 2;
                low -= more;
                high += more;
            }
        };
        widen(left, right);
        widen(top, bottom);
        if (at.x() >= left && at.x() <= right && at.y() >= top && at.y() <= bottom)
            stack.push_back(&*it);
    }
    return stack;
}

const SceneItem* ItemUnder(const ScreenScene& scene, QPointF at, const HitRules& rules) {
    const std::vector<const SceneItem*> stack = ItemsUnder(scene, at, rules);
    return stack.empty() ? nullptr : stack.front();
}

std::vector<int> SelectionAfterClick(std::vector<int> selection, int position, bool toggle) {
    if (!toggle) return position != 0 ? std::vector<int>{position} : std::vector<int>{};
    if (position == 0) return selection;
    const auto found = std::find(selection.begin(), selection.end(), position);
    if (found != selection.end())
        selection.erase(found);
    else
        selection.push_back(position);
    return selection;
}
