#pragma once
// The three-way merge of layouts: what "ours" and "theirs" each changed since their common "base",
// put together at the level of controls and fields. Controls are matched as the diff matches them
// (RecordMatching.h). Changes to different controls, or to different fields of one control, all
// land; the same change made on both sides lands once; different changes to the same field are
// conflicts, and the merged layout holds ours for each. Screens moved or deleted on one side are
// followed by the other side's edits: a control theirs changed on a screen ours moved is changed
// where ours put it, and a control added by theirs goes to that screen's new number.
//
// Guarantees: the merge only computes; the merged layout keeps ours' record order, with theirs'
// additions after the record that precedes them in theirs and theirs' re-orderings applied where
// ours kept the order; a merge that would not make a valid layout (more than MaxControls records)
// is refused, not cut short.

#include <string>
#include <vector>

#include "layout/RecordFields.h"

enum class ConflictKind {
    Field,             // both sides changed a field, differently
    ChangedButDeleted, // ours changed a control that theirs deleted (ours kept: changed)
    DeletedButChanged, // ours deleted a control that theirs changed (ours kept: deleted)
    ScreenGone,        // a control added on one side lies on, or shows, a screen the other deleted
    Trailer,           // both sides changed a trailer Long, differently
};

struct MergeConflict {
    ConflictKind Kind = ConflictKind::Field;
    int32_t Screen = 0; // the control's screen in the merged layout, else in the version holding it
    int Record = 0;     // 1-based position in the merged layout; 0 when it is not there
    int Base = 0, Ours = 0, Theirs = 0; // 1-based positions in each version; 0 where none
    // The field (position in RecordFields) for a field conflict, the trailer position (0..9) for
    // a trailer conflict; -1 otherwise.
    int Field = -1;
    std::string Control; // ControlDescription of the control; "" for the trailer
    // The three values as FieldValueText gives them (trailer: decimal); "" where a version has
    // no such control.
    std::string BaseValue, OursValue, TheirsValue;
};

struct MergeResult {
    LayoutContent Merged;
    std::vector<MergeConflict> Conflicts;
    // Why no layout could be made; when not empty, Merged is not to be written.
    std::string Refusal;
    // What theirs brought: controls changed, added and removed.
    int ChangedByTheirs = 0, AddedByTheirs = 0, RemovedByTheirs = 0;
};

MergeResult MergeLayouts(const LayoutContent& base, const LayoutContent& ours,
                         const LayoutContent& theirs);

// "field", "changed-deleted", "deleted-changed", "screen-gone", "trailer".
const char* ConflictKindName(ConflictKind kind);
