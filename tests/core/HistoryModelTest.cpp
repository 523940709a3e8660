// The history against a model of it: random commands of every kind, edits of single controls, undo,
// redo and save on layouts built like the real ones. The model keeps every state the records went
// through, where the user stands among them, whether the newest step's run is open and where the
// layout was saved; after each action the document must give back exactly the model's records,
// say modified exactly when it does not stand where it was saved, and name the next undo and redo
// as the model does. Every notice the observers get must account for every record.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/StepTexts.h"
#include "layout/cLayout.h"

namespace {

using Records = std::vector<ControlRecord>;

// Answers questions as the test says; every other box with OK.
class ToldDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string& title) override {
        Prompts.push_back(prompt);
        EXPECT_NE(icon, MsgIcon::Critical) << prompt;
        if (title == "OK to Undo?") ++UndoQuestions;
        if (buttons == MsgButtons::YesNo) return Yes ? MsgAnswer::Yes : MsgAnswer::No;
        if (buttons == MsgButtons::OKCancel) return Yes ? MsgAnswer::OK : MsgAnswer::Cancel;
        return MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&,
                         const std::string& proposed) override {
        if (Inputs-- <= 0) return {};
        return Inputs % 2 == 0 ? proposed : "caption " + std::to_string(Inputs);
    }
    bool Yes = true;
    int Inputs = 0; // answers before the next cancel
    int UndoQuestions = 0;
    std::vector<std::string> Prompts;
};

// Checks every notice against the records it describes.
class NoticeChecker : public LayoutObserver {
public:
    void LayoutChanged(const cLayout& layout, const LayoutChange& change) override {
        ++Notices;
        if (!change.RecordsMoved) {
            if (change.RecordsChanged) {
                EXPECT_EQ(layout.ControlCount(), SizeBefore);
            }
        } else if (!change.Reloaded) {
            // Every record now is either one of before or one inserted, once.
            std::vector<int> seen(static_cast<std::size_t>(layout.ControlCount()) + 1, 0);
            EXPECT_EQ(change.PositionAfter.size(), static_cast<std::size_t>(SizeBefore));
            for (int after : change.PositionAfter)
                if (after > 0) ++seen.at(static_cast<std::size_t>(after));
            for (int inserted : change.Inserted)
                ++seen.at(static_cast<std::size_t>(inserted));
            for (std::size_t p = 1; p < seen.size(); ++p)
                EXPECT_EQ(seen[p], 1) << "position " << p;
        }
        SizeBefore = layout.ControlCount();
    }
    int SizeBefore = 0;
    int Notices = 0;
};

struct ModelState {
    Records records;
    std::string text; // the step that led here; empty for the start
    std::string runKey;
    bool asks = false;
    int repeat = 0;
};

class HistoryModel {
public:
    void Reset(const Records& records) {
        States = {{records, "", "", false, 0}};
        Current = 0;
        Saved = 0;
        RunOpen = false;
    }
    // A command left the records as they are now.
    // `times`: how many changes the command counts (an append counts its controls).
    void Changed(const Records& now, const std::string& text, const std::string& runKey, bool asks,
                 int times = 1) {
        if (now == States[Current].records) return;
        if (RunOpen && Current + 1 == States.size() && Current > 0 && !runKey.empty() &&
            States[Current].runKey == runKey) {
            States[Current].records = now;
            States[Current].repeat += times;
            return;
        }
        States.resize(Current + 1);
        if (Saved != Unreachable && Saved > Current) Saved = Unreachable;
        States.push_back({now, text, runKey, asks, times});
        ++Current;
        RunOpen = true;
    }
    void Undo(bool yes) {
        if (Current == 0) return;
        if (States[Current].asks && !yes) return;
        --Current;
        RunOpen = false;
    }
    void Redo() {
        if (Current + 1 >= States.size()) return;
        ++Current;
        RunOpen = false;
    }
    void Save() {
        Saved = Current;
        RunOpen = false;
    }

    const ModelState& Now() const { return States[Current]; }
    bool Modified() const { return Saved != Current; }
    bool CanRedo() const { return Current + 1 < States.size(); }
    std::string RedoText() const { return CanRedo() ? States[Current + 1].text : std::string(); }
    bool UndoAsks() const { return Current > 0 && States[Current].asks; }

private:
    static constexpr std::size_t Unreachable = static_cast<std::size_t>(-1);
    std::vector<ModelState> States;
    std::size_t Current = 0;
    std::size_t Saved = 0;
    bool RunOpen = false;
};

class Random {
public:
    explicit Random(unsigned seed) : Rng(seed) {}
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Rng); }
    std::mt19937& Engine() { return Rng; }

private:
    std::mt19937 Rng;
};

// A layout shaped like a real one: the skinned screens with their tab bars and backgrounds, a
// group of DROs out of order and function-key buttons for Update Buttons.
Records RealShapedLayout(Random& random) {
    Records records = SkinnedLayout();
    for (int i = 0; i < 6; ++i)
        records.push_back(MakeDRO(2, 7, random.Pick(0, 900), random.Pick(0, 700)));
    for (int s = 1; s < 6; ++s)
        records.push_back(MakeScreenButton(0, s, "Screen " + std::to_string(s), 112 + s));
    return records;
}

// One random edit of single controls, as the editors make them.
void RandomEdit(cLayout& layout, Random& random, HistoryModel& model) {
    const int count = layout.ControlCount();
    ControlsEdit edit;
    std::string text, runKey;
    const int what = count == 0 ? 2 : random.Pick(0, 3);
    if (what == 0 || what == 3) {
        // A nudge of one control: a run of them on the same control is one step.
        const int position = random.Pick(1, count);
        ControlRecord r = layout.Records()[static_cast<std::size_t>(position - 1)];
        r.rX1 += 1;
        r.rX2 += 1;
        edit.Changed.push_back({position, r});
        text = "Move 1 control";
        runKey = what == 0 ? "nudge " + std::to_string(position) : "";
    } else if (what == 1) {
        std::vector<int> removed;
        for (int i = 0, n = random.Pick(1, 3); i < n; ++i)
            removed.push_back(random.Pick(1, count));
        std::sort(removed.begin(), removed.end());
        removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
        edit.Removed = removed;
        text = "Delete " + std::to_string(removed.size()) + " controls";
    } else {
        const int size = count + 1;
        ControlRecord r = MakeControl(random.Pick(1, 11), random.Pick(0, 15));
        r.rText = "added";
        edit.Inserted.push_back({random.Pick(1, size), r});
        text = "Add Button";
    }
    ASSERT_EQ(layout.ApplyEdit(edit, text, runKey), "");
    model.Changed(cLayoutProbe::Records(layout), text, runKey, false);
}

TEST(HistoryModel, RandomCommandsUndoRedoAndSaveFollowTheModel) {
    Random random(20261208);
    ToldDialogs dialogs;
    FakeListView list;
    cLayout layout(dialogs), additional(dialogs);
    layout.BindScreenList(list);
    NoticeChecker notices;
    layout.AddObserver(notices);
    TempDir dir;
    HistoryModel model;
    int undone = 0, redone = 0, joined = 0;

    for (int action = 0; action < 2500; ++action) {
        SCOPED_TRACE("action " + std::to_string(action));
        if (action % 500 == 0) {
            Records start = RealShapedLayout(random);
            ASSERT_TRUE(dir.Write("start.set", LayoutFileBytes(start)).size());
            ASSERT_TRUE(layout.LoadLayout(dir.File("start.set")));
            cLayoutProbe::Adopt(additional, RealShapedLayout(random));
            model.Reset(start);
        }
        const Records before = cLayoutProbe::Records(layout);
        const int undoQuestions = dialogs.UndoQuestions;
        const int g = random.Pick(-1, 15);
        const int kind = random.Pick(0, 13);
        dialogs.Yes = random.Pick(0, 3) != 0;
        switch (kind) {
        case 0:
            layout.DeleteScreens(g);
            model.Changed(cLayoutProbe::Records(layout), StepText::Delete, StepText::Delete, true);
            break;
        case 1:
            layout.PromoteScreens(g);
            model.Changed(cLayoutProbe::Records(layout), StepText::Promote, StepText::Promote,
                          true);
            break;
        case 2:
            layout.DemoteScreens(g);
            model.Changed(cLayoutProbe::Records(layout), StepText::Demote, StepText::Demote, true);
            break;
        case 3:
            layout.AppendScreenFrom(additional, g);
            model.Changed(cLayoutProbe::Records(layout), StepText::Append, StepText::Append, true,
                          layout.ControlCount() - static_cast<int>(before.size()));
            break;
        case 4:
            layout.RescaleControls(g, random.Pick(0, 1) ? 1.25f : 0.8f);
            model.Changed(cLayoutProbe::Records(layout), StepText::Rescale, StepText::Rescale,
                          true);
            break;
        case 5:
            layout.SortDROs(2, 7, random.Pick(0, 1) == 1);
            model.Changed(cLayoutProbe::Records(layout), StepText::SortDROs, StepText::SortDROs,
                          true);
            break;
        case 6:
            dialogs.Inputs = random.Pick(0, 6);
            layout.UpdateButtonCaptions();
            model.Changed(cLayoutProbe::Records(layout), StepText::Captions, StepText::Captions,
                          true);
            break;
        case 7:
        case 8:
            RandomEdit(layout, random, model);
            break;
        case 9:
        case 10: {
            const bool asks = model.UndoAsks();
            layout.Undo();
            model.Undo(dialogs.Yes);
            EXPECT_EQ(dialogs.UndoQuestions - undoQuestions, asks ? 1 : 0);
            ++undone;
            break;
        }
        case 11:
        case 12:
            layout.Redo();
            model.Redo();
            EXPECT_EQ(dialogs.UndoQuestions, undoQuestions) << "redo never asks";
            ++redone;
            break;
        default:
            ASSERT_TRUE(layout.SaveLayout(dir.File("saved.set")));
            model.Save();
            ASSERT_EQ(ReadBytes(dir.File("saved.set")),
                      LayoutFileBytes(cLayoutProbe::Records(layout)));
            break;
        }
        if (model.Now().repeat > 1) ++joined;

        ASSERT_TRUE(cLayoutProbe::Records(layout) == model.Now().records)
            << "action kind " << kind << " screen " << g;
        ASSERT_EQ(layout.IsDirty(), model.Modified()) << "action kind " << kind;
        ASSERT_EQ(layout.UndoText(), model.Now().text);
        ASSERT_EQ(cLayoutProbe::UndoRepeat(layout), model.Now().repeat);
        ASSERT_EQ(layout.CanRedo(), model.CanRedo());
        ASSERT_EQ(layout.RedoText(), model.RedoText());
        if (cLayoutProbe::Records(layout) == before && kind <= 8) {
            EXPECT_EQ(layout.UndoText(), model.Now().text) << "nothing changed, nothing recorded";
        }
    }
    EXPECT_GT(undone, 200);
    EXPECT_GT(redone, 200);
    EXPECT_GT(joined, 20);
    EXPECT_GT(notices.Notices, 1000);
    layout.RemoveObserver(notices);
}

// 100 one-control edits of a layout of MaxControls records keep about one record each.
TEST(HistoryModel, StepsKeepOnlyWhatTheyChanged) {
    ToldDialogs dialogs;
    cLayout layout(dialogs);
    Records records;
    for (int i = 0; i < MaxControls; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % 16;
        records.push_back(r);
    }
    cLayoutProbe::Adopt(layout, records);
    for (int i = 0; i < 100; ++i) {
        ControlRecord r = records[static_cast<std::size_t>(i * 7)];
        r.rText = "edited " + std::to_string(i);
        ControlsEdit edit;
        edit.Changed.push_back({i * 7 + 1, r});
        ASSERT_EQ(layout.ApplyEdit(edit, "Change rText of 1 control"), "");
    }
    EXPECT_LT(cLayoutProbe::HistoryBytes(layout), 100u * 2048u);
    for (int i = 0; i < 100; ++i)
        layout.Undo();
    EXPECT_TRUE(cLayoutProbe::Records(layout) == records);
    EXPECT_FALSE(layout.IsDirty());
}

} // namespace
