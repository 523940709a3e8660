// Editing a screen in its window, driven by the mouse and the keys as a user drives it: a drag, a
// nudge, Alt+click through a stack, a rubber band, align and distribute, a resize, Esc during a
// drag, zoom; each checked in the records and undone. Then the main window: the window opens on
// the selected screen and once per screen, the pane edits where it is wide enough, and the
// check's "Move Inside" moves an off-screen control back as one step.

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSet>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "layout/cLayout.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"

namespace {

// Screen 1: a background (1), buttons A (2) and B (3), a DRO C (4), a stack of a hot spot (5), a
// label (6) and a button (7); a Persistent screen button (8) over the top left corner; a control
// of screen 2 (9); a jog button parked right of the screen (10).
std::vector<ControlRecord> EditedLayout() {
    ControlRecord background = MakeControl(ControlKind::Bitmap, 1, 0, 0, 1024, 768);
    background.rBitMapPath = "None";
    ControlRecord spot = MakeControl(ControlKind::BitmapButton, 1, 700, 400, 800, 450);
    spot.rText = "Text";
    ControlRecord label = MakeControl(ControlKind::Label, 1, 700, 400, 800, 450);
    label.rText = "Stack";
    return {background,
            MakeControl(ControlKind::Button, 1, 100, 100, 180, 130),
            MakeControl(ControlKind::Button, 1, 300, 200, 380, 230),
            MakeDRO(1, 1, 520, 150),
            spot,
            label,
            MakeControl(ControlKind::Button, 1, 720, 410, 780, 440),
            MakeControl(ControlKind::Button, 0, 10, 10, 60, 30),
            MakeControl(ControlKind::Button, 2, 100, 100, 180, 130),
            MakeControl(ControlKind::Button, 1, 1142, 300, 1200, 340)};
}

PixelBox Box(const cLayout& layout, int position) {
    const ControlRecord& r = layout.Records()[static_cast<std::size_t>(position - 1)];
    return {r.rX1, r.rY1, r.rX2, r.rY2};
}

class ScreenEditorTest : public ::testing::Test {
protected:
    ScreenEditorTest() {
        cLayoutProbe::Adopt(Layout, EditedLayout());
        Window = std::make_unique<ScreenPreviewWindow>(Session, 1, Files, Dialogs);
        Window->resize(1300, 1000);
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        Editor = Window->Editor();
        EXPECT_NE(Editor, nullptr);
        // At 100 %, the top left corner of the screen where the fitted view has it.
        Editor->SetZoom(1.0, Editor->FromScreen({0, 0}));
        SnapTo(false, false, false);
    }

    void SnapTo(bool grid, bool controls, bool screen) {
        SnapSettings s;
        s.ToGrid = grid;
        s.ToControls = controls;
        s.ToScreen = screen;
        Editor->SetSnapping(s);
    }

    // A point of the view over a point of the screen.
    QPoint At(double x, double y) const { return Editor->FromScreen({x, y}).toPoint(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = {}) {
        QWidget* view = Editor->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held, mods);
        QApplication::sendEvent(view, &event);
    }
    void Click(QPoint at, Qt::KeyboardModifiers mods = {}) {
        Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, mods);
    }
    // Presses, moves there in steps, and releases unless told not to.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}, bool release = true) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        for (int step = 1; step <= 4; ++step)
            Mouse(QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton, mods);
        if (release) Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(Editor, key, mods); }
    void Trigger(const char* name) {
        QAction* action = Window->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    void Undo() { Session.UndoAction()->trigger(); }
    std::vector<int> Selected() const { return Session.Selection(); }

    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    cLayout Layout{Dialogs};
    LayoutSession Session{Layout, Dialogs};
    std::unique_ptr<ScreenPreviewWindow> Window;
    ScreenEditor* Editor = nullptr;
};

TEST_F(ScreenEditorTest, ADragMovesTheSelectionAsOneStepAndSnapsWhenAsked) {
    const std::vector<ControlRecord> before(Layout.Records().begin(), Layout.Records().end());
    Click(At(120, 110));
    Click(At(320, 210), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3}));
    Drag(At(120, 110), At(160, 135));
    EXPECT_EQ(Box(Layout, 2), (PixelBox{140, 125, 220, 155}));
    EXPECT_EQ(Box(Layout, 3), (PixelBox{340, 225, 420, 255}));
    EXPECT_EQ(Layout.UndoText(), "Move 2 controls");
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3})) << "the selection stays";

    // With the grid on, the left edge of the two lands on it, and the status line says so.
    SnapTo(true, false, false);
    QString status;
    Mouse(QEvent::MouseButtonPress, At(150, 130), Qt::LeftButton);
    Mouse(QEvent::MouseMove, At(158, 134), Qt::LeftButton);
    status = Editor->StatusText();
    Mouse(QEvent::MouseButtonRelease, At(158, 134), Qt::NoButton);
    EXPECT_EQ(Box(Layout, 2), (PixelBox{152, 128, 232, 158}));
    EXPECT_TRUE(status.contains("snapped: left edge to the grid")) << status.toStdString();

    // Dragged far out to the left, the controls widen the margin; the view does not jump.
    const QPointF corner = Editor->ToScreen({0, 0});
    Drag(At(160, 140), At(-200, 140));
    EXPECT_LT(Box(Layout, 2).Left, -150);
    EXPECT_NEAR(Editor->ToScreen({0, 0}).x(), corner.x(), 1.0);

    Undo();
    Undo();
    Undo();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Layout.Records().begin()));
    EXPECT_FALSE(Layout.CanUndo());
}

TEST_F(ScreenEditorTest, ARunOfNudgesIsOneStepAndShiftNudgesByTheGridStep) {
    Click(At(120, 110));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Box(Layout, 2), (PixelBox{94, 101, 174, 131}));
    EXPECT_EQ(Layout.UndoText(), "Move 1 control");
    // Another selection starts another run.
    Click(At(320, 210));
    Key(Qt::Key_Up);
    EXPECT_EQ(Box(Layout, 3), (PixelBox{300, 199, 380, 229}));
    Undo();
    EXPECT_EQ(Box(Layout, 3), (PixelBox{300, 200, 380, 230}));
    EXPECT_EQ(Box(Layout, 2), (PixelBox{94, 101, 174, 131}));
    Undo();
    EXPECT_EQ(Box(Layout, 2), (PixelBox{100, 100, 180, 130}));
    EXPECT_FALSE(Layout.CanUndo());
    // Alt+arrows are the main window's: they move screens, not controls.
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(Layout.CanUndo());

    // The grid step is the user's choice; what is not a step from 2 to 256 is refused.
    Dialogs.Type("3x").Answer(MsgAnswer::OK);
    Trigger("mnuGridStep");
    EXPECT_EQ(Dialogs.Last().prompt,
              "The grid step must be a whole number of pixels from 2 to 256.");
    Dialogs.Type(" 10 ");
    Trigger("mnuGridStep");
    EXPECT_EQ(Editor->Snapping().GridStep, 10);
    Click(At(120, 110));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Box(Layout, 2).Left, 110);
    // Ctrl+Z in this window undoes, as it does in the main window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Box(Layout, 2).Left, 100);
}

TEST_F(ScreenEditorTest, AltClickAndSelectBeneathWalkDownThroughAStack) {
    const QPoint stack = At(750, 425);
    Click(stack);
    EXPECT_EQ(Selected(), std::vector<int>{7});
    std::vector<int> walked;
    for (int i = 0; i < 4; ++i) {
        Click(stack, Qt::AltModifier);
        walked.push_back(Selected().at(0));
    }
    // Beneath the button the label, the hot spot, the background, and round to the top again.
    EXPECT_EQ(walked, (std::vector<int>{6, 5, 1, 7}));
    // The context menu's entry, for desktops that keep Alt+click to themselves.
    Mouse(QEvent::MouseMove, stack, Qt::NoButton);
    Trigger("mnuSelectBeneath");
    EXPECT_EQ(Selected(), std::vector<int>{6});
    // A control of the Persistent screen is seen but not picked here: the click finds what
    // lies beneath it on this screen.
    Click(At(30, 20));
    EXPECT_EQ(Selected(), std::vector<int>{1});
    EXPECT_FALSE(Layout.CanUndo());
}

TEST_F(ScreenEditorTest, ARubberBandSelectsWhatItEnclosesAndLeavesTheRecordsAlone) {
    // From over the background picture, which a drag does not move.
    Drag(At(50, 50), At(420, 260));
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3}));
    Drag(At(450, 120), At(620, 190), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4}));
    // Shift starts a band over a control rather than moving it.
    Drag(At(110, 105), At(800, 460), Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 5, 6, 7}));
    // A click on empty space clears it; so does Esc.
    Click(At(-20, 300));
    EXPECT_TRUE(Selected().empty());
    Click(At(120, 110));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(Layout.CanUndo());
}

TEST_F(ScreenEditorTest, AlignAndDistributeOfThreeControlsAreOneStepEach) {
    Click(At(120, 110));
    Click(At(320, 210), Qt::ControlModifier);
    Click(At(540, 160), Qt::ControlModifier);
    Trigger("mnuAlignTop");
    EXPECT_EQ(Box(Layout, 3).Top, 100);
    EXPECT_EQ(Box(Layout, 4).Top, 100);
    EXPECT_EQ(Layout.UndoText(), "Align top edges of 3 controls");
    Undo();
    EXPECT_EQ(Box(Layout, 3).Top, 200);
    EXPECT_EQ(Box(Layout, 4).Top, 150);

    Trigger("mnuDistributeAcross");
    // 260 pixels between A (100-180) and C (520-560) beside B's 80: gaps of 130.
    EXPECT_EQ(Box(Layout, 3), (PixelBox{310, 200, 390, 230}));
    EXPECT_EQ(Layout.UndoText(), "Distribute 3 controls across");
    Undo();
    EXPECT_EQ(Box(Layout, 3), (PixelBox{300, 200, 380, 230}));
    EXPECT_FALSE(Layout.CanUndo());

    // The same commands from their keys.
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Layout.UndoText(), "Align top edges of 3 controls");
    EXPECT_EQ(Box(Layout, 4).Top, 100);
    Undo();
    Key(Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(Box(Layout, 3), (PixelBox{310, 200, 390, 230}));
    // The status line says what a distribute did, and that a second one has nothing to do.
    EXPECT_EQ(Editor->StatusText(), "Distributed 3 controls: gaps of 130 pixels");
    Trigger("mnuDistributeAcross");
    EXPECT_EQ(Editor->StatusText(), "3 controls are evenly spaced already: gaps of 130 pixels");
    EXPECT_EQ(Layout.UndoText(), "Distribute 3 controls across");
    Undo();
    // Every arrange command has a key of its own.
    QSet<QKeySequence> keys;
    for (QAction* item : Editor->ArrangeMenu()->actions())
        if (!item->isSeparator() && item->objectName() != "mnuMoveInside") {
            EXPECT_FALSE(item->shortcut().isEmpty()) << item->objectName().toStdString();
            keys.insert(item->shortcut());
        }
    EXPECT_EQ(keys.size(), 10);
}

TEST_F(ScreenEditorTest, AtFitZoomControlsOffTheScreenStayInSightWithTheirHandles) {
    // Button A dragged to x = -34, beside the jog button parked right of the screen.
    ControlRecord moved = Layout.Records()[1];
    moved.rX1 = -34;
    moved.rX2 = 46;
    ControlsEdit edit;
    edit.Changed.push_back({2, moved});
    ASSERT_EQ(Layout.ApplyEdit(edit, "Move 1 control"), "");
    Editor->ZoomToFit();
    QApplication::processEvents();
    const QRectF view(Editor->viewport()->rect());
    for (int position : {2, 10}) {
        const QRectF shown(Editor->FromScreen(QPointF(Box(Layout, position).Left, Box(Layout, position).Top)),
                           Editor->FromScreen(QPointF(Box(Layout, position).Right, Box(Layout, position).Bottom)));
        const double handle = ScreenEditor::HandleSize;
        EXPECT_TRUE(view.contains(shown.adjusted(-handle, -handle, handle, handle)))
            << position;
    }
    // The screen itself is still whole in the view.
    EXPECT_TRUE(view.contains(Editor->ScreenRectInView()));
}

TEST_F(ScreenEditorTest, TheSnappingGridIsDrawnWhereItsLinesCanBeTold) {
    QWidget* view = Editor->viewport();
    const auto shown = [&] {
        QApplication::processEvents();
        return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    SnapSettings grid;
    grid.ToGrid = true;
    grid.GridStep = 20;
    grid.ToControls = grid.ToScreen = false;
    Editor->SetSnapping(grid);
    const QImage withGrid = shown();
    SnapTo(false, false, false);
    const QImage without = shown();
    EXPECT_NE(withGrid, without) << "20 pixels apart at 100 %";
    // At 25 % the lines would lie 5 pixels apart: not drawn.
    Editor->SetZoom(0.25, QPointF(0, 0));
    const QImage small = shown();
    Editor->SetSnapping(grid);
    EXPECT_EQ(shown(), small);
}

TEST_F(ScreenEditorTest, AHandleResizesOneControlAndEscDuringADragPutsItBack) {
    Click(At(120, 110));
    Drag(At(180, 130), At(200, 140));
    EXPECT_EQ(Box(Layout, 2), (PixelBox{100, 100, 200, 140}));
    EXPECT_EQ(Layout.UndoText(), "Resize 1 control");
    Undo();

    // Dragged, then Esc: the control is drawn where the mouse took it, and goes back.
    const QColor face(0xD4, 0xD0, 0xC8);
    Drag(At(120, 110), At(480, 560), {}, false);
    EXPECT_TRUE(Editor->Dragging());
    EXPECT_TRUE(Editor->StatusText().startsWith("Moving 1 control by 360, 450"))
        << Editor->StatusText().toStdString();
    QImage shown = Editor->viewport()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(At(466, 556))), face) << "drawn at its new place";
    Key(Qt::Key_Escape);
    Mouse(QEvent::MouseButtonRelease, At(480, 560), Qt::NoButton);
    EXPECT_FALSE(Editor->Dragging());
    EXPECT_EQ(Box(Layout, 2), (PixelBox{100, 100, 180, 130}));
    EXPECT_FALSE(Layout.CanUndo());
    shown = Editor->viewport()->grab().toImage();
    EXPECT_NE(QColor(shown.pixel(At(466, 556))), face);
    EXPECT_EQ(QColor(shown.pixel(At(106, 115))), face) << "back where it was";
}

// Only what changes is painted again while controls move; what the window shows must still be
// what painting everything would give.
TEST_F(ScreenEditorTest, RepaintingWhatChangedShowsWhatRepaintingAllWould) {
    SnapTo(true, true, true);
    Click(At(120, 110));
    Click(At(320, 210), Qt::ControlModifier);
    QWidget* view = Editor->viewport();
    const auto shownNow = [&] {
        QApplication::processEvents();
        const QImage all = Window->screen()->grabWindow(Window->winId()).toImage();
        return all.copy(QRect(view->mapTo(Window.get(), QPoint(0, 0)), view->size()));
    };
    const auto repainted = [&] {
        return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    Mouse(QEvent::MouseButtonPress, At(120, 110), Qt::LeftButton);
    for (const QPoint to : {At(160, 150), At(497, 199), At(130, 300), At(121, 111)}) {
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        const QImage shown = shownNow().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, repainted()) << Editor->StatusText().toStdString();
    }
    Mouse(QEvent::MouseButtonRelease, At(121, 111), Qt::NoButton);
    EXPECT_EQ(shownNow().convertToFormat(QImage::Format_RGB32), repainted());
}

TEST_F(ScreenEditorTest, ZoomKeepsThePointUnderTheCursorAndShowsThePixelsFrom400Percent) {
    const QPoint cursor = At(300, 200);
    const QPointF under = Editor->ToScreen(cursor);
    QWheelEvent wheel(QPointF(cursor), Editor->viewport()->mapToGlobal(QPointF(cursor)), {},
                      {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Editor->viewport(), &wheel);
    EXPECT_DOUBLE_EQ(Editor->Zoom(), 1.5);
    EXPECT_NEAR(Editor->ToScreen(cursor).x(), under.x(), 1.0);
    EXPECT_NEAR(Editor->ToScreen(cursor).y(), under.y(), 1.0);
    for (int i = 0; i < 10; ++i)
        Key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Editor->Zoom(), ScreenEditor::MaxZoom);
    EXPECT_GT(Editor->horizontalScrollBar()->maximum(), 0) << "the view scrolls";

    // From 400 % the edges of the screen's pixels are drawn, here over button A's face.
    for (const double zoom : {2.0, 8.0}) {
        Editor->SetZoom(zoom, QPointF(Editor->viewport()->rect().center()));
        Editor->CentreOn({120, 105});
        const QImage shown = Editor->viewport()->grab().toImage();
        const bool differ = shown.pixel(At(120, 105)) != shown.pixel(At(120.5, 105.5));
        EXPECT_EQ(differ, zoom >= ScreenEditor::PixelGridZoom) << zoom;
    }
    Key(Qt::Key_1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Editor->Zoom(), 1.0);
    Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(Editor->Fitted());
    for (int i = 0; i < 10; ++i)
        Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Editor->Zoom(), ScreenEditor::MinZoom);
    // The margin keeps a jog button parked right of the screen within reach.
    EXPECT_TRUE(Editor->viewport()->rect().contains(At(1200, 340)));
    Click(At(1170, 320));
    EXPECT_EQ(Selected(), std::vector<int>{10});
}

// ---- through the main window

class EditingMainWindowTest : public MainWindowTest {
protected:
    std::vector<ScreenPreviewWindow*> EditorWindows() {
        std::vector<ScreenPreviewWindow*> open;
        for (auto* w : Window->findChildren<ScreenPreviewWindow*>())
            if (w->isVisible()) open.push_back(w);
        return open;
    }
};

TEST_F(EditingMainWindowTest, TheSelectedScreenIsEditedInItsWindowAndInAWidePane) {
    OpenPrincipal(LayoutFile("edit.set", EditedLayout()));
    Dialogs.Answer(MsgAnswer::OK);
    Window->findChild<QAction*>("mnuEditOnScreen")->trigger();
    EXPECT_EQ(Dialogs.Last().prompt, "No item is selected");
    SelectRow("PrincLayList", 1);
    Window->findChild<QAction*>("mnuEditOnScreen")->trigger();
    ASSERT_EQ(EditorWindows().size(), 1u);
    ScreenPreviewWindow* editing = EditorWindows().front();
    EXPECT_FALSE(editing->isModal());
    EXPECT_EQ(editing->Preview().Screen(), 1);
    EXPECT_EQ(editing->windowTitle(), "Editing screen 1 - edit.set[*]");
    EXPECT_FALSE(editing->isWindowModified());
    // Its File menu saves the layout with the main window's commands.
    ASSERT_NE(editing->FileMenu(), nullptr);
    EXPECT_TRUE(editing->FileMenu()->actions().contains(Menu("mnuPrincSave")));
    EXPECT_TRUE(editing->FileMenu()->actions().contains(Menu("mnuPrincSaveAs")));
    // Asked again, the same window comes up.
    Window->findChild<QAction*>("mnuEditOnScreen")->trigger();
    EXPECT_EQ(EditorWindows().size(), 1u);

    // An edit made there shows in the main window; its undo is the main window's.
    editing->Editor()->SelectAll();
    editing->findChild<QAction*>("mnuAlignLeft")->trigger();
    EXPECT_TRUE(Window->isWindowModified());
    EXPECT_TRUE(editing->isWindowModified());
    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo Align left edges of 8 controls");

    // The pane edits once the window gives it room; a double-click there opens the window.
    auto* pane = Get<ScreenPreview>("PrincPreview");
    EXPECT_FALSE(pane->Editing());
    Window->resize(1800, 1000);
    QApplication::processEvents();
    ASSERT_TRUE(pane->Editing());
    EXPECT_EQ(pane->Editor()->SelectedHere().size(), 8u) << "one selection for every view";
    editing->close();
    QApplication::processEvents();
    QTest::mouseDClick(pane->Editor()->viewport(), Qt::LeftButton);
    EXPECT_EQ(EditorWindows().size(), 1u);
}

TEST_F(EditingMainWindowTest, TheControlsCommandsWorkInTheEditingWindowOnItsScreen) {
    OpenPrincipal(LayoutFile("commands.set", EditedLayout()));
    SelectRow("PrincLayList", 1);
    Window->findChild<QAction*>("mnuEditOnScreen")->trigger();
    ASSERT_EQ(EditorWindows().size(), 1u);
    ScreenPreviewWindow* editing = EditorWindows().front();
    // The list moves on to another screen; the window still edits screen 1.
    SelectRow("PrincLayList", 0);
    editing->activateWindow();
    QApplication::setActiveWindow(editing);
    editing->Editor()->setFocus();
    editing->Editor()->SelectAll();
    const int count = Window->PrincipalLayout.ControlCount();
    const int selected = static_cast<int>(Window->PrincipalSession().Selection().size());
    ASSERT_GT(selected, 0);

    // Copy and paste there land on the window's screen, then Del takes them away again.
    QTest::keyClick(editing->Editor(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(editing->Editor(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Window->PrincipalLayout.ControlCount(), count + selected);
    for (int position : Window->PrincipalSession().Selection())
        EXPECT_EQ(Window->PrincipalLayout.Records()[static_cast<std::size_t>(position - 1)].rScreen,
                  1);
    QTest::keyClick(editing->Editor(), Qt::Key_Delete);
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), count);
    EXPECT_NE(editing->findChild<QMenuBar*>("EditorMenuBar"), nullptr);
}

TEST_F(EditingMainWindowTest, TheChecksMoveInsideBringsAParkedControlBackAsOneStep) {
    OpenPrincipal(LayoutFile("parked.set", EditedLayout()));
    Click("butCheck");
    auto* check = Window->findChild<LayoutCheckWindow*>("frmCheck");
    ASSERT_NE(check, nullptr);
    auto* move = Find<QPushButton>(*check, "butMoveInside");
    int row = -1;
    for (std::size_t i = 0; i < check->Findings().size(); ++i)
        if (check->Findings()[i].Code == CheckCode::OffScreen) row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    EXPECT_EQ(check->Findings()[static_cast<std::size_t>(row)].Record, 10);
    check->SelectRow(0 == row ? 1 : 0);
    EXPECT_FALSE(move->isEnabled()) << "only for a control off the screen";
    check->SelectRow(row);
    ASSERT_TRUE(move->isEnabled());
    QTest::mouseClick(move, Qt::LeftButton);
    EXPECT_EQ(Box(Window->PrincipalLayout, 10), (PixelBox{966, 300, 1024, 340}));
    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo Move 1 control inside the screen");
    for (const Finding& f : check->Findings())
        EXPECT_NE(f.Code, CheckCode::OffScreen);
    Menu("mnuUndo")->trigger();
    EXPECT_EQ(Box(Window->PrincipalLayout, 10), (PixelBox{1142, 300, 1200, 340}));
}

} // namespace
