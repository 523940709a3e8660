#include "ui/canvas/PreviewSelection.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

#include "layout/cLayout.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

bool EditorShown(const ScreenPreview& preview) {
    return preview.Editor() != nullptr && preview.Editor()->isVisible();
}

} // namespace

// The outlines, in a transparent widget over the preview that lets every mouse event through.
class SelectionOutline : public QWidget {
public:
    SelectionOutline(ScreenPreview& preview, LayoutSession& session)
        : QWidget(&preview), Preview(preview), Session(session) {
        setObjectName(QStringLiteral("SelectionOutline"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(preview.size());
        raise();
    }

    // The selected items of the preview's scene, in painting order.
    std::vector<const SceneItem*> Items() const {
        std::vector<const SceneItem*> items;
        if (Preview.Layout() != &Session.Layout() || Session.Selection().empty()) return items;
        // Where the preview edits the screen, its editor shows the selection itself.
        if (EditorShown(Preview)) return items;
        for (const SceneItem& item : Preview.Scene().Items)
            if (Session.IsSelected(item.Position)) items.push_back(&item);
        return items;
    }

    // Repaints where outlines were and where they are now; the rest of the screen stays.
    void Follow() {
        const QRegion now = Region();
        update(Drawn.united(now));
        Drawn = now;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const std::vector<const SceneItem*> items = Items();
        Drawn = QRegion();
        if (items.empty()) return;
        QPainter painter(this);
        const QColor mark = palette().color(QPalette::Highlight);
        for (const SceneItem* item : items) {
            const QRectF box = Box(*item);
            painter.setPen(QPen(Qt::white, 1));
            painter.drawRect(box.adjusted(1, 1, -1, -1));
            painter.setPen(QPen(mark, 2));
            painter.drawRect(box);
            Drawn += box.toAlignedRect().adjusted(-2, -2, 2, 2);
        }
    }

private:
    // Where an item's outline is drawn: round its rectangle, so a control of no size still shows.
    QRectF Box(const SceneItem& item) const {
        const SceneRect& r = item.Rect;
        const QPointF topLeft =
            Preview.FromScene(QPointF(static_cast<double>(r.Left()), static_cast<double>(r.Top())));
        const QPointF bottomRight = Preview.FromScene(QPointF(
            static_cast<double>(r.Left() + r.Width()), static_cast<double>(r.Top() + r.Height())));
        return QRectF(topLeft, bottomRight).normalized().adjusted(-2, -2, 2, 2);
    }

    QRegion Region() const {
        QRegion region;
        for (const SceneItem* item : Items())
            region += Box(*item).toAlignedRect().adjusted(-2, -2, 2, 2);
        return region;
    }

    ScreenPreview& Preview;
    LayoutSession& Session;
    QRegion Drawn; // where the outlines were last painted
};

PreviewSelection::PreviewSelection(ScreenPreview& preview, LayoutSession& session)
    : QObject(&preview), Preview(preview), Session(session) {
    Outline = new SelectionOutline(preview, session);
    // The preview takes the focus when clicked, so the Controls keys reach its layout.
    if (preview.focusPolicy() == Qt::NoFocus) preview.setFocusPolicy(Qt::ClickFocus);
    preview.installEventFilter(this);
    connect(&session, &LayoutSession::SelectionChanged, Outline, [this] { Outline->Follow(); });
    connect(&session, &LayoutSession::Changed, Outline, [this](const LayoutChange& change) {
        if (Preview.Touches(change)) Outline->update();
    });
}

std::vector<int> PreviewSelection::Outlined() const {
    std::vector<int> positions;
    for (const SceneItem* item : Outline->Items())
        positions.push_back(item->Position);
    return positions;
}

bool PreviewSelection::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &Preview) return false;
    switch (event->type()) {
    case QEvent::Resize:
        Outline->resize(Preview.size());
        break;
    case QEvent::MouseButtonPress: {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton || Preview.Layout() != &Session.Layout() ||
            EditorShown(Preview))
            break;
        const QPointF at = Preview.ToScene(press->position());
        const SceneItem* item = Preview.SceneArea().contains(press->position())
                                    ? Preview.Scene().ItemAt(at.x(), at.y())
                                    : nullptr;
        std::vector<int> selection;
        if (press->modifiers() & Qt::ControlModifier) {
            selection = Session.Selection();
            if (item != nullptr) {
                const auto found = std::find(selection.begin(), selection.end(), item->Position);
                if (found != selection.end())
                    selection.erase(found);
                else
                    selection.push_back(item->Position);
            }
        } else if (item != nullptr) {
            selection = {item->Position};
        }
        Session.SetSelection(std::move(selection));
        break;
    }
    default:
        break;
    }
    return false;
}
