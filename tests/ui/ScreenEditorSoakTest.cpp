// A few thousand random edits through the editing window of a skinned layout: clicks, Alt- and
// Ctrl+clicks, bands, drags (some ended by Esc), resizes, nudges, aligns, zooms, and the paste,
// delete and property changes the controls table makes through the same document, with random
// undo and redo. The test keeps a copy of the records after every step; after each undo and redo
// the records must equal the copy kept for that place in the history. An action that makes no
// step must leave the records alone, and only a run of nudges may grow a step.

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "editing/Arrange.h"
#include "layout/cLayout.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"

namespace {

using Records = std::vector<ControlRecord>;

constexpr int Actions = 3000;

Records SoakLayout(std::mt19937& random) {
    Records records = SkinnedLayout();
    // What a damaged file may hold: a picture reaching across the whole 32-bit range, beneath
    // everything, and a control at the filler value CD CD CD CD reads as.
    ControlRecord huge = MakeControl(ControlKind::Bitmap, 1, std::numeric_limits<int32_t>::min(),
                                     -4096, std::numeric_limits<int32_t>::max(), 40);
    huge.rBitMapPath = "None";
    records.insert(records.begin(), huge);
    records.push_back(MakeControl(ControlKind::Button, 1, -4096, -4096, -4096, -4096));
    std::uniform_int_distribution<int32_t> x(-40, 1000), y(-30, 740), size(4, 120);
    for (int i = 0; i < 30; ++i) {
        const int32_t left = x(random), top = y(random);
        records.push_back(
            MakeControl(1 + i % 11, 1, left, top, left + size(random), top + size(random) / 3 + 2));
    }
    return records;
}

enum class Did { Nothing, Nudge, Other };

class Soak {
public:
    explicit Soak(unsigned seed) : Random(seed) {
        cLayoutProbe::Adopt(Layout, SoakLayout(Random));
        Window = std::make_unique<ScreenPreviewWindow>(Session, 1, Files, Dialogs);
        Window->resize(1100, 850);
        Window->show();
        Editor = Window->Editor();
        SnapSettings snapping;
        snapping.ToGrid = Chance(50);
        snapping.ToControls = Chance(70);
        snapping.ToScreen = Chance(70);
        snapping.ToCentres = Chance(50);
        Editor->SetSnapping(snapping);
        States.push_back(Now());
    }

    void Run(int actions) {
        for (int n = 0; n < actions && !::testing::Test::HasFailure(); ++n) {
            SCOPED_TRACE("action " + std::to_string(n));
            const int roll = Pick(0, 99);
            if (roll < 20)
                Undo();
            else if (roll < 27)
                Redo();
            else
                Edit();
            if (n % 25 == 0) QApplication::processEvents(); // paint now and then
        }
    }

private:
    bool Chance(int percent) { return Pick(0, 99) < percent; }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    Records Now() const { return {Layout.Records().begin(), Layout.Records().end()}; }

    QPoint At(double x, double y) const { return Editor->FromScreen({x, y}).toPoint(); }
    QPoint AnyPoint() { return At(Pick(-30, 1060), Pick(-30, 790)); }
    // The middle of a control of the screen, or anywhere when there is none.
    QPoint AnyControl() {
        std::vector<const SceneItem*> own;
        for (const SceneItem& item : Window->Preview().Scene().Items)
            if (!item.Persistent) own.push_back(&item);
        if (own.empty()) return AnyPoint();
        const SceneRect& r =
            own[static_cast<std::size_t>(Pick(0, static_cast<int>(own.size()) - 1))]->Rect;
        return At(static_cast<double>(r.Left() + r.Width() / 2),
                  static_cast<double>(r.Top() + r.Height() / 2));
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = {}) {
        QWidget* view = Editor->viewport();
        QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, mods);
        QApplication::sendEvent(view, &event);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods, bool escape) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        Mouse(QEvent::MouseMove, from + (to - from) / 2, Qt::LeftButton, mods);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton, mods);
        if (escape) QTest::keyClick(Editor, Qt::Key_Escape);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }

    // Paste, delete and property changes as the controls table makes them: edits of the
    // document acting on the shared selection.
    void TableEdit() {
        const std::vector<int> selected = Editor->SelectedHere();
        if (selected.empty()) return;
        const auto records = Layout.Records();
        ControlsEdit edit;
        std::string step;
        switch (Pick(0, 2)) {
        case 0: {
            int at = Layout.ControlCount();
            for (int p : selected) {
                if (edit.Inserted.size() == 4) break;
                const ControlRecord& copied = records[static_cast<std::size_t>(p - 1)];
                const PixelBox b = BoxOf(copied);
                edit.Inserted.emplace_back(
                    ++at, WithBox(copied, {b.Left + 10, b.Top, b.Right + 10, b.Bottom}));
            }
            step = "Paste controls";
            break;
        }
        case 1:
            if (Editor->SelectedHere().size() + 12 > Window->Preview().Scene().Items.size()) return;
            edit.Removed = selected;
            step = "Delete controls";
            break;
        default:
            for (int p : selected) {
                ControlRecord changed = records[static_cast<std::size_t>(p - 1)];
                changed.rText = "soak " + std::to_string(Pick(0, 9));
                edit.Changed.emplace_back(p, changed);
            }
            step = "Change rText";
            break;
        }
        EXPECT_EQ(Layout.ApplyEdit(edit, step), "");
    }

    Did Act() {
        const int roll = Pick(0, 99);
        if (roll < 12) {
            Mouse(QEvent::MouseButtonPress, AnyControl(), Qt::LeftButton);
            Mouse(QEvent::MouseButtonRelease, AnyControl(), Qt::NoButton);
        } else if (roll < 16) {
            const QPoint at = AnyControl();
            const Qt::KeyboardModifiers mods = Chance(50) ? Qt::ControlModifier : Qt::AltModifier;
            Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, mods);
            Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, mods);
        } else if (roll < 21) {
            Drag(AnyPoint(), AnyPoint(), Chance(50) ? Qt::ShiftModifier : Qt::NoModifier, false);
        } else if (roll < 23) {
            QTest::keyClick(Editor, Qt::Key_A, Qt::ControlModifier);
        } else if (roll < 38) {
            const QPoint from = AnyControl();
            Drag(from, from + QPoint(Pick(-80, 80), Pick(-60, 60)), {}, Chance(15));
        } else if (roll < 43) {
            const std::vector<int> one = Editor->SelectedHere();
            if (one.size() == 1)
                if (const SceneItem* item = Window->Preview().Scene().ItemOfRecord(one.front())) {
                    const QPoint corner =
                        At(static_cast<double>(item->Rect.Left() + item->Rect.Width()),
                           static_cast<double>(item->Rect.Top() + item->Rect.Height()));
                    Drag(corner, corner + QPoint(Pick(-40, 40), Pick(-30, 30)), {}, Chance(10));
                }
        } else if (roll < 58) {
            const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            QTest::keyClick(Editor, keys[Pick(0, 3)],
                            Chance(25) ? Qt::ShiftModifier : Qt::NoModifier);
            return Did::Nudge;
        } else if (roll < 70) {
            const char* const names[] = {
                "mnuAlignLeft",    "mnuAlignRight",   "mnuAlignTop",         "mnuAlignBottom",
                "mnuAlignCentres", "mnuAlignMiddles", "mnuDistributeAcross", "mnuDistributeDown",
                "mnuSameWidth",    "mnuSameHeight",   "mnuMoveInside"};
            QAction* action = Window->findChild<QAction*>(names[Pick(0, 10)]);
            if (action->isEnabled()) action->trigger();
        } else if (roll < 88) {
            TableEdit();
        } else if (roll < 94) {
            const QPoint at = AnyPoint();
            QWheelEvent wheel(QPointF(at), Editor->viewport()->mapToGlobal(QPointF(at)), {},
                              {0, Chance(50) ? 120 : -120}, Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(Editor->viewport(), &wheel);
        } else {
            QTest::keyClick(Editor, Qt::Key_0, Qt::ControlModifier);
        }
        return Did::Other;
    }

    void Edit() {
        const uint64_t before = cLayoutProbe::HistoryState(Layout);
        const int repeat = cLayoutProbe::UndoRepeat(Layout);
        const bool couldRedo = Layout.CanRedo();
        const Did did = Act();
        ASSERT_FALSE(Editor->Dragging());
        const Records now = Now();
        if (cLayoutProbe::HistoryState(Layout) == before) {
            EXPECT_EQ(now, States[Place]) << "no step, no change";
            return;
        }
        if (repeat >= 1 && !couldRedo && cLayoutProbe::UndoRepeat(Layout) == repeat + 1) {
            EXPECT_EQ(did, Did::Nudge) << "only nudges run into one step: " << Layout.UndoText();
            States[Place] = now;
            return;
        }
        States.resize(Place + 1);
        States.push_back(now);
        ++Place;
    }

    void Undo() {
        EXPECT_EQ(Layout.CanUndo(), Place > 0);
        if (Place == 0) return;
        Session.UndoAction()->trigger();
        --Place;
        EXPECT_EQ(Now(), States[Place]) << "after an undo";
    }

    void Redo() {
        EXPECT_EQ(Layout.CanRedo(), Place + 1 < States.size());
        if (Place + 1 >= States.size()) return;
        Session.RedoAction()->trigger();
        ++Place;
        EXPECT_EQ(Now(), States[Place]) << "after a redo";
    }

    std::mt19937 Random;
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    cLayout Layout{Dialogs};
    LayoutSession Session{Layout, Dialogs};
    std::unique_ptr<ScreenPreviewWindow> Window;
    ScreenEditor* Editor = nullptr;
    std::vector<Records> States; // the records at each place of the history
    std::size_t Place = 0;       // where the user stands in it
};

TEST(ScreenEditorSoak, RandomEditsUndoAndRedoAlwaysGiveBackTheRecordsKept) {
    Soak soak(2024);
    soak.Run(Actions);
}

} // namespace
