// A change redraws the views that show what it touched, and no others: paint events are counted
// on every preview of the main window and of its editing windows while a field of one control
// changes.

#include <QApplication>
#include <QEvent>
#include <QTest>

#include <map>

#include "LayoutBuilders.h"
#include "MainWindowFixture.h"
#include "layout/cLayout.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/session/LayoutSession.h"

namespace {

// Counts the paint events of each watched widget and of everything inside it.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(std::vector<QWidget*> watched) : Watched(std::move(watched)) {
        qApp->installEventFilter(this);
    }
    ~PaintCounter() override { qApp->removeEventFilter(this); }

    int Of(QWidget* view) const {
        const auto found = Counts.find(view);
        return found == Counts.end() ? 0 : found->second;
    }
    void Reset() { Counts.clear(); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint || !object->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(object);
        for (QWidget* view : Watched)
            if (widget == view || view->isAncestorOf(widget)) ++Counts[view];
        return false;
    }

private:
    std::vector<QWidget*> Watched;
    std::map<QWidget*, int> Counts;
};

class RepaintScopeTest : public MainWindowTest {
protected:
    // Moves the label of a control one pixel to the right, as one step.
    void Nudge(int position) {
        cLayout& layout = Window->PrincipalLayout;
        ControlRecord record = layout.Records()[static_cast<std::size_t>(position - 1)];
        record.rX1 += 1;
        record.rX2 += 1;
        ControlsEdit edit;
        edit.Changed.push_back({position, record});
        EXPECT_EQ(layout.ApplyEdit(edit, "Move 1 control"), "");
    }
    ScreenPreviewWindow* EditScreen(int screen) {
        SelectRow("PrincLayList", screen);
        Parts().EditOnScreenItem()->trigger();
        for (auto* w : Window->findChildren<ScreenPreviewWindow*>())
            if (w->isVisible() && w->Preview().Screen() == screen) return w;
        return nullptr;
    }
};

TEST_F(RepaintScopeTest, AFieldChangeRedrawsTheViewsOfItsScreenOnly) {
    // Controls on screens 1, 2 and 3, and one on the Persistent screen.
    std::vector<ControlRecord> records = {MakeControl(ControlKind::Button, 1, 10, 10, 90, 40),
                                          MakeControl(ControlKind::Button, 2, 10, 10, 90, 40),
                                          MakeControl(ControlKind::Button, 3, 10, 10, 90, 40),
                                          MakeControl(ControlKind::Button, 0, 500, 500, 590, 540)};
    OpenPrincipal(LayoutFile("scope.set", records));
    Window->resize(1800, 1000);
    ScreenPreviewWindow* one = EditScreen(1);
    ScreenPreviewWindow* three = EditScreen(3);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(three, nullptr);
    SelectRow("PrincLayList", 2);
    ScreenPreview* pane = Parts().Principal().Preview;
    ASSERT_TRUE(pane->isVisible());
    ASSERT_EQ(pane->Screen(), 2);
    QApplication::processEvents();

    PaintCounter paints({pane, &one->Preview(), &three->Preview()});
    // Whatever was still to be painted is painted before counting starts.
    const auto settle = [&] {
        QApplication::processEvents();
        paints.Reset();
    };
    settle();

    Nudge(1); // screen 1
    QApplication::processEvents();
    EXPECT_GT(paints.Of(&one->Preview()), 0) << "the editor of screen 1 shows the change";
    EXPECT_EQ(paints.Of(&three->Preview()), 0);
    EXPECT_EQ(paints.Of(pane), 0) << "the main window shows screen 2";

    settle();
    Nudge(2); // screen 2
    QApplication::processEvents();
    EXPECT_GT(paints.Of(pane), 0);
    EXPECT_EQ(paints.Of(&one->Preview()), 0);
    EXPECT_EQ(paints.Of(&three->Preview()), 0);

    // A control of the Persistent screen is drawn wherever its controls are shown.
    settle();
    Nudge(4);
    QApplication::processEvents();
    for (ScreenPreview* view : {pane, &one->Preview(), &three->Preview()})
        EXPECT_EQ(paints.Of(view) > 0, view->ShowsPersistent()) << view->Screen();

    // Undo is a change like any other: undoing the move on screen 2 redraws screen 2 only.
    Parts().UndoItem()->trigger();
    SelectRow("PrincLayList", 2); // an undo fills the list again
    settle();
    Parts().UndoItem()->trigger();
    QApplication::processEvents();
    EXPECT_GT(paints.Of(pane), 0);
    EXPECT_EQ(paints.Of(&one->Preview()), 0);
    EXPECT_EQ(paints.Of(&three->Preview()), 0);
}

} // namespace
