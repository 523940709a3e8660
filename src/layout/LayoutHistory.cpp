#include "layout/LayoutHistory.h"

#include <limits>

namespace {

std::size_t ChangeBytes(const RecordChanges& changes) {
    std::size_t bytes = 0;
    for (const RecordChange& change : changes)
        bytes += change.Bytes();
    return bytes;
}

constexpr int MaxRepeat = std::numeric_limits<int16_t>::max();

} // namespace

void LayoutHistory::Record(const std::string& text, const std::string& runKey, bool asks,
                           RecordChanges changes) {
    if (changes.empty()) return;
    const bool joins = RunOpen && Current == Steps.size() && Current > 0 && !runKey.empty() &&
                       Steps.back().RunKey == runKey;
    if (joins) {
        HistoryStep& step = Steps.back();
        TotalBytes -= step.Bytes;
        std::size_t first = 0;
        if (!step.Changes.empty() && step.Changes.back().Absorb(changes.front())) first = 1;
        for (std::size_t i = first; i < changes.size(); ++i)
            step.Changes.push_back(std::move(changes[i]));
        // The count is what the undo question shows.
        if (step.Repeat < MaxRepeat) ++step.Repeat;
        step.Text = text;
        step.Bytes = ChangeBytes(step.Changes);
        step.State = NextState++;
        TotalBytes += step.Bytes;
        Trim();
        return;
    }

    // A new change after an undo: what could be redone is gone.
    while (Steps.size() > Current) {
        TotalBytes -= Steps.back().Bytes;
        Steps.pop_back();
    }
    HistoryStep step;
    step.Text = text;
    step.RunKey = runKey;
    step.Asks = asks;
    step.Changes = std::move(changes);
    step.Bytes = ChangeBytes(step.Changes);
    step.State = NextState++;
    TotalBytes += step.Bytes;
    Steps.push_back(std::move(step));
    Current = Steps.size();
    RunOpen = true;
    Trim();
}

void LayoutHistory::Trim() {
    // The oldest steps go first; the current one always stays.
    std::size_t drop = 0;
    std::size_t bytes = TotalBytes;
    while (drop + 1 < Current && (Steps.size() - drop > MaximumSteps ||
                                  (Steps.size() - drop > MinimumSteps && bytes > Budget))) {
        bytes -= Steps[drop].Bytes;
        ++drop;
    }
    if (drop == 0) return;
    BaseState = Steps[drop - 1].State;
    Steps.erase(Steps.begin(), Steps.begin() + static_cast<std::ptrdiff_t>(drop));
    Current -= drop;
    TotalBytes = bytes;
}

const HistoryStep* LayoutHistory::Undo(std::vector<ControlRecord>& records) {
    if (!CanUndo()) return nullptr;
    RunOpen = false;
    HistoryStep& step = Steps[--Current];
    for (auto change = step.Changes.rbegin(); change != step.Changes.rend(); ++change)
        change->Revert(records);
    return &step;
}

const HistoryStep* LayoutHistory::Redo(std::vector<ControlRecord>& records) {
    if (!CanRedo()) return nullptr;
    RunOpen = false;
    HistoryStep& step = Steps[Current++];
    for (RecordChange& change : step.Changes)
        change.Apply(records);
    return &step;
}

void LayoutHistory::Clear() {
    Steps.clear();
    Current = 0;
    TotalBytes = 0;
    RunOpen = false;
    BaseState = NextState++;
    SavedState = BaseState;
}

void LayoutHistory::MarkSaved() {
    RunOpen = false;
    SavedState = StateNow();
}

void LayoutHistory::ForgetSaved() {
    // No state ever has this number.
    SavedState = std::numeric_limits<uint64_t>::max();
}
