#pragma once
// The history of a layout's records: a list of steps, each one user action, that undo walks back
// and redo forward. A step keeps only what it changed (RecordChanges), so a one-control edit costs
// about one record whatever the layout's size.
//
// Runs: a change with the same run key as the newest step joins it while that step is still open;
// an undo, a redo, a save (MarkSaved) or a cleared history closes it, so the saved step never
// changes under the user's feet. Modified: the history knows the state at which the layout was
// loaded or last saved; the layout is modified exactly when the current state is another one.
// Depth: at least MinimumSteps steps are kept; beyond that, and beyond the memory budget, the
// oldest go. The newest step is always kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layout/RecordChanges.h"

struct HistoryStep {
    std::string Text;   // "Delete screen(s)", "Change rX1 of 3 controls"
    std::string RunKey; // changes with the same non-empty key join into one step
    int Repeat = 1;     // how many changes the step holds
    bool Asks = false;  // undo asks the user first
    RecordChanges Changes;
    std::size_t Bytes = 0;
    uint64_t State = 0; // the state of the records after the step
};

class LayoutHistory {
public:
    static constexpr std::size_t MinimumSteps = 100;
    static constexpr std::size_t MaximumSteps = 1000;
    static constexpr std::size_t DefaultBudget = 256u << 20;

    explicit LayoutHistory(std::size_t budgetBytes = DefaultBudget) : Budget(budgetBytes) {}

    // A change already applied to the records: joins the open run of the same key or becomes a
    // new step, discarding the steps that could be redone. Empty changes are not recorded.
    void Record(const std::string& text, const std::string& runKey, bool asks,
                RecordChanges changes);

    bool CanUndo() const { return Current > 0; }
    bool CanRedo() const { return Current < Steps.size(); }
    // The step the next undo or redo takes; nullptr when there is none.
    const HistoryStep* NextUndo() const { return CanUndo() ? &Steps[Current - 1] : nullptr; }
    const HistoryStep* NextRedo() const { return CanRedo() ? &Steps[Current] : nullptr; }
    // Take the step back or apply it again; return the step, or nullptr when there is none.
    const HistoryStep* Undo(std::vector<ControlRecord>& records);
    const HistoryStep* Redo(std::vector<ControlRecord>& records);

    // Forgets every step; the records as they are now are the saved state.
    void Clear();
    void MarkSaved();
    // The saved state can no longer be reached (the layout counts as modified until saved).
    void ForgetSaved();
    bool AtSaved() const { return StateNow() == SavedState; }
    // Closes the open run: the next change starts a new step.
    void EndRun() { RunOpen = false; }

    std::size_t StepCount() const { return Steps.size(); }
    // A number for the records' state now: every step taken, undone or redone gives another.
    uint64_t StateNow() const { return Current > 0 ? Steps[Current - 1].State : BaseState; }
    std::size_t Bytes() const { return TotalBytes; }

private:
    void Trim();

    std::vector<HistoryStep> Steps;
    std::size_t Current = 0; // steps applied; Steps[Current..] can be redone
    uint64_t BaseState = 0;  // the state before the oldest kept step
    uint64_t SavedState = 0;
    uint64_t NextState = 1;
    bool RunOpen = false;
    std::size_t TotalBytes = 0;
    std::size_t Budget;
};
