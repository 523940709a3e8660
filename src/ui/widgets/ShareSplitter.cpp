#include "ui/widgets/ShareSplitter.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

ShareSplitter::ShareSplitter(Qt::Orientation orientation, int firstDesign, int secondDesign,
                             double firstShare, QWidget* parent)
    : QSplitter(orientation, parent), FirstDesign(firstDesign), SecondDesign(secondDesign),
      FirstShare(firstShare) {
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, &ShareSplitter::HandleMoved);
}

void ShareSplitter::SetUserShift(int shift) {
    Shift = shift;
    ApplyShare();
}

bool ShareSplitter::BothShown() const {
    return count() == 2 && !widget(0)->isHidden() && !widget(1)->isHidden();
}

int ShareSplitter::Room() const {
    const int along = orientation() == Qt::Horizontal ? width() : height();
    return along - (BothShown() ? handleWidth() : 0);
}

int ShareSplitter::RuleFirst(int room) const {
    const int beyond = room - FirstDesign - SecondDesign;
    return FirstDesign + static_cast<int>(std::lround(beyond * FirstShare));
}

int ShareSplitter::MinimumAlong(int index) const {
    const QWidget* pane = widget(index);
    const bool horizontal = orientation() == Qt::Horizontal;
    const QSizePolicy::Policy policy =
        horizontal ? pane->sizePolicy().horizontalPolicy() : pane->sizePolicy().verticalPolicy();
    const QSize hint = pane->minimumSizeHint();
    const QSize minimum = pane->minimumSize();
    int size = policy == QSizePolicy::Ignored ? 0 : (horizontal ? hint.width() : hint.height());
    size = std::max(size, horizontal ? minimum.width() : minimum.height());
    return std::max(size, 0);
}

void ShareSplitter::ApplyShare() {
    if (!BothShown()) return;
    const int room = Room();
    if (room <= 0) return;
    const int lowest = std::min(MinimumAlong(0), room);
    const int highest = std::max(lowest, room - MinimumAlong(1));
    const int first = std::clamp(RuleFirst(room) + Shift, lowest, highest);
    Applying = true;
    setSizes({first, room - first});
    Applying = false;
}

void ShareSplitter::HandleMoved() {
    if (Applying || !BothShown()) return;
    Shift = sizes().value(0) - RuleFirst(Room());
}

void ShareSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ApplyShare();
}

bool ShareSplitter::event(QEvent* event) {
    const bool handled = QSplitter::event(event);
    // A pane shown or hidden asks for a new layout; the rule then places the handle again.
    if (event->type() == QEvent::LayoutRequest) ApplyShare();
    return handled;
}
