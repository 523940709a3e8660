#include "versioning/LayoutMerge.h"

#include <list>
#include <optional>
#include <unordered_map>

#include "versioning/LayoutDiff.h"
#include "versioning/LayoutFiles.h"
#include "versioning/RecordMatching.h"

namespace {

struct Item {
    ControlRecord Record;
    int Base = -1, Ours = -1, Theirs = -1; // 0-based positions in each version; -1 where none
};
using Items = std::list<Item>;

// A conflict and the merged record it concerns, whose position is known only at the end.
struct Pending {
    MergeConflict Conflict;
    std::optional<Items::iterator> At;
};

// The three-way rule for one value: a side that left it alone takes the other's change.
template <typename T> std::optional<T> MergeValue(const T& base, const T& ours, const T& theirs) {
    if (ours == theirs || theirs == base) return ours;
    if (ours == base) return theirs;
    return std::nullopt;
}

// The three-way rule for a screen number (a record's screen or a link's target), reading each
// side's change through the other side's renumbering: the value a side changed is taken as the
// other side numbers that screen, and a side that only renumbered the screen takes the other
// side's value the same way.
std::optional<int32_t> MergeScreen(int32_t base, int32_t ours, int32_t theirs,
                                   const ScreenRenumbering& oursScreens,
                                   const ScreenRenumbering& theirsScreens) {
    if (ours == theirs) return ours;
    if (ours == base) return oursScreens.Map(theirs);
    if (theirs == base) return theirsScreens.Map(ours);
    if (ours == oursScreens.Map(base)) return oursScreens.Map(theirs);
    if (theirs == theirsScreens.Map(base)) return theirsScreens.Map(ours);
    return std::nullopt;
}

std::string Describe(const ControlRecord* ours, const ControlRecord* theirs,
                     const ControlRecord* base) {
    return ControlDescription(ours ? *ours : theirs ? *theirs : *base);
}

std::string ValueOf(const ControlRecord* record, int field) {
    return record ? FieldValueText(*record, {field, false}) : std::string();
}

class Merger {
public:
    Merger(const LayoutContent& base, const LayoutContent& ours, const LayoutContent& theirs)
        : Base(base.Records), Ours(ours.Records), Theirs(theirs.Records),
          WithOurs(MatchRecords(base.Records, ours.Records)),
          WithTheirs(MatchRecords(base.Records, theirs.Records)) {}

    MergeResult Run(const LayoutContent& base, const LayoutContent& ours,
                    const LayoutContent& theirs) {
        std::vector<Items::iterator> atOurs;
        for (std::size_t o = 0; o < Ours.size(); ++o) {
            const int b = WithOurs.OldOfNew[o];
            Output.push_back({Ours[o], b, static_cast<int>(o), -1});
            atOurs.push_back(std::prev(Output.end()));
        }
        MergeBaseRecords(atOurs);
        PlaceTheirs(atOurs);
        TakeOursAdditions();

        MergeResult result;
        int position = 0;
        for (Items::iterator it = Output.begin(); it != Output.end(); ++it) {
            result.Merged.Records.push_back(it->Record);
            Position[&*it] = ++position;
        }
        for (Pending& pending : Conflicts) {
            if (pending.At) {
                pending.Conflict.Record = Position[&**pending.At];
                pending.Conflict.Screen = (*pending.At)->Record.rScreen;
            }
            result.Conflicts.push_back(std::move(pending.Conflict));
        }
        for (std::size_t k = 0; k < base.Trailer.size(); ++k) {
            const std::optional<int32_t> value =
                MergeValue(base.Trailer[k], ours.Trailer[k], theirs.Trailer[k]);
            result.Merged.Trailer[k] = value.value_or(ours.Trailer[k]);
            if (!value) {
                MergeConflict c;
                c.Kind = ConflictKind::Trailer;
                c.Field = static_cast<int>(k);
                c.BaseValue = std::to_string(base.Trailer[k]);
                c.OursValue = std::to_string(ours.Trailer[k]);
                c.TheirsValue = std::to_string(theirs.Trailer[k]);
                result.Conflicts.push_back(std::move(c));
            }
        }
        result.ChangedByTheirs = ChangedByTheirs;
        result.AddedByTheirs = AddedByTheirs;
        result.RemovedByTheirs = RemovedByTheirs;
        if (const std::string fault = CheckLayoutContent(result.Merged); !fault.empty())
            result.Refusal = "the merged layout cannot be written: " + fault;
        return result;
    }

private:
    void Conflict(ConflictKind kind, std::optional<Items::iterator> at, int b, int o, int t,
                  int field = -1) {
        const ControlRecord* base = b >= 0 ? &Base[static_cast<std::size_t>(b)] : nullptr;
        const ControlRecord* ours = o >= 0 ? &Ours[static_cast<std::size_t>(o)] : nullptr;
        const ControlRecord* theirs = t >= 0 ? &Theirs[static_cast<std::size_t>(t)] : nullptr;
        MergeConflict c;
        c.Kind = kind;
        c.Screen = (ours ? ours : theirs ? theirs : base)->rScreen;
        c.Base = b + 1, c.Ours = o + 1, c.Theirs = t + 1;
        c.Field = field;
        c.Control = Describe(ours, theirs, base);
        if (field >= 0) {
            c.BaseValue = ValueOf(base, field);
            c.OursValue = ValueOf(ours, field);
            c.TheirsValue = ValueOf(theirs, field);
        }
        Conflicts.push_back({std::move(c), at});
    }

    // Whether a side changed the record beyond renumbering its screens.
    static bool Changed(const ControlRecord& base, const ControlRecord& side,
                        const ScreenRenumbering& screens) {
        const std::optional<ControlRecord> renumbered = screens.Apply(base);
        return !renumbered || *renumbered != side;
    }

    void MergeBaseRecords(const std::vector<Items::iterator>& atOurs) {
        for (std::size_t b = 0; b < Base.size(); ++b) {
            const int o = WithOurs.NewOfOld[b];
            const int t = WithTheirs.NewOfOld[b];
            const ControlRecord& base = Base[b];
            const int bi = static_cast<int>(b);
            if (o >= 0 && t >= 0) {
                const Items::iterator at = atOurs[static_cast<std::size_t>(o)];
                at->Theirs = t;
                MergeFields(at, bi, o, t);
            } else if (o >= 0) {
                const Items::iterator at = atOurs[static_cast<std::size_t>(o)];
                if (Changed(base, at->Record, WithOurs.Screens)) {
                    Conflict(ConflictKind::ChangedButDeleted, at, bi, o, -1);
                } else {
                    Erased.push_back(at);
                    ++RemovedByTheirs;
                }
            } else if (t >= 0) {
                if (Changed(base, Theirs[static_cast<std::size_t>(t)], WithTheirs.Screens))
                    Conflict(ConflictKind::DeletedButChanged, std::nullopt, bi, -1, t);
            }
        }
    }

    void MergeFields(Items::iterator at, int b, int o, int t) {
        const ControlRecord& base = Base[static_cast<std::size_t>(b)];
        const ControlRecord& ours = Ours[static_cast<std::size_t>(o)];
        const ControlRecord& theirs = Theirs[static_cast<std::size_t>(t)];
        const bool links = base.LinksToLayoutScreen() && ours.LinksToLayoutScreen() &&
                           theirs.LinksToLayoutScreen();
        ControlRecord& merged = at->Record;
        bool tookTheirs = false;
        for (std::size_t k = 0; k < RecordFields.size(); ++k) {
            const RecordField& f = RecordFields[k];
            const int field = static_cast<int>(k);
            if (f.IsText()) {
                const auto value = MergeValue(base.*f.Text, ours.*f.Text, theirs.*f.Text);
                if (!value) Conflict(ConflictKind::Field, at, b, o, t, field);
                merged.*f.Text = value.value_or(ours.*f.Text);
            } else {
                const bool screen =
                    field == FieldNo::rScreen || (field == FieldNo::rOEMCode && links);
                const auto value =
                    screen ? MergeScreen(base.*f.Number, ours.*f.Number, theirs.*f.Number,
                                         WithOurs.Screens, WithTheirs.Screens)
                           : MergeValue(base.*f.Number, ours.*f.Number, theirs.*f.Number);
                if (!value) Conflict(ConflictKind::Field, at, b, o, t, field);
                merged.*f.Number = value.value_or(ours.*f.Number);
            }
            tookTheirs = tookTheirs || !f.Same(merged, ours);
        }
        if (tookTheirs) ++ChangedByTheirs;
    }

    // Theirs' additions after the record before them in theirs, and theirs' re-orderings where
    // ours kept the order; what theirs added that ours added too lands once.
    void PlaceTheirs(const std::vector<Items::iterator>& atOurs) {
        for (const Items::iterator& at : Erased)
            at->Base = -2; // marked: gone from the merge
        // What both sides added is matched as diff matches versions: the same control added on
        // both sides lands once, its fields merged, and fields the two set differently are
        // conflicts (ours kept), never two copies of one control.
        std::vector<Items::iterator> oursAdded;
        std::vector<ControlRecord> oursAddedRecords;
        for (Items::iterator it = Output.begin(); it != Output.end(); ++it)
            if (it->Base == -1) {
                oursAdded.push_back(it);
                oursAddedRecords.push_back(it->Record);
            }
        std::vector<int> theirsAdded(Theirs.size(), -1); // per theirs record: its place below
        std::vector<ControlRecord> theirsAddedRecords;
        std::vector<std::optional<ControlRecord>> renumbered(Theirs.size());
        for (std::size_t t = 0; t < Theirs.size(); ++t) {
            if (WithTheirs.OldOfNew[t] >= 0) continue;
            renumbered[t] = WithOurs.Screens.Apply(Theirs[t]);
            if (!renumbered[t]) continue;
            theirsAdded[t] = static_cast<int>(theirsAddedRecords.size());
            theirsAddedRecords.push_back(*renumbered[t]);
        }
        // Matched in an order set by the records, not by which side is ours, so the pairs (and
        // the conflicts) are the same either way round.
        RecordMatch bothAdded;
        if (!oursAdded.empty() && !theirsAddedRecords.empty()) {
            if (OrderedFirst(oursAddedRecords, theirsAddedRecords)) {
                bothAdded = MatchRecords(oursAddedRecords, theirsAddedRecords);
            } else {
                RecordMatch turned = MatchRecords(theirsAddedRecords, oursAddedRecords);
                bothAdded.OldOfNew = std::move(turned.NewOfOld);
                bothAdded.NewOfOld = std::move(turned.OldOfNew);
            }
        }

        std::optional<Items::iterator> last;
        const auto placeAfterLast = [&](Items::iterator it) {
            Output.splice(last ? std::next(*last) : Output.begin(), Output, it);
        };
        for (std::size_t t = 0; t < Theirs.size(); ++t) {
            const int b = WithTheirs.OldOfNew[t];
            if (b >= 0) {
                const int o = WithOurs.NewOfOld[static_cast<std::size_t>(b)];
                if (o < 0) continue;
                const Items::iterator at = atOurs[static_cast<std::size_t>(o)];
                if (at->Base == -2) continue;
                if (WithTheirs.Reordered[static_cast<std::size_t>(b)] &&
                    !WithOurs.Reordered[static_cast<std::size_t>(b)] && (!last || *last != at))
                    placeAfterLast(at);
                last = at;
                continue;
            }
            const std::optional<ControlRecord>& added = renumbered[t];
            if (!added) {
                Conflict(ConflictKind::ScreenGone, std::nullopt, -1, -1, static_cast<int>(t));
                continue;
            }
            if (const int k = theirsAdded[t]; k >= 0 && !bothAdded.OldOfNew.empty() &&
                                             bothAdded.OldOfNew[static_cast<std::size_t>(k)] >= 0) {
                const Items::iterator same = oursAdded[static_cast<std::size_t>(
                    bothAdded.OldOfNew[static_cast<std::size_t>(k)])];
                same->Theirs = static_cast<int>(t);
                MergeAddedTwice(same, *added);
                last = same;
                continue;
            }
            Output.insert(last ? std::next(*last) : Output.begin(),
                          {*added, -1, -1, static_cast<int>(t)});
            last = last ? std::next(*last) : Output.begin();
            ++AddedByTheirs;
        }
        for (const Items::iterator& at : Erased)
            Output.erase(at);
        Erased.clear();
    }

    // Ours' additions follow theirs' renumbering of the screens.
    void TakeOursAdditions() {
        for (Items::iterator it = Output.begin(); it != Output.end(); ++it) {
            if (it->Base != -1 || it->Ours < 0 || it->Theirs >= 0) continue;
            const std::optional<ControlRecord> renumbered = WithTheirs.Screens.Apply(it->Record);
            if (renumbered)
                it->Record = *renumbered;
            else
                Conflict(ConflictKind::ScreenGone, it, -1, it->Ours, -1);
        }
    }

    static bool OrderedFirst(const std::vector<ControlRecord>& a,
                             const std::vector<ControlRecord>& b) {
        if (a.size() != b.size()) return a.size() < b.size();
        return LayoutFileBytesOf({a, {}}) < LayoutFileBytesOf({b, {}});
    }

    // A control both sides added: without a base, a field the two set alike is taken, one they
    // set differently is a conflict and keeps ours.
    void MergeAddedTwice(Items::iterator at, const ControlRecord& theirs) {
        const ControlRecord& ours = at->Record;
        for (std::size_t k = 0; k < RecordFields.size(); ++k) {
            if (RecordFields[k].Same(ours, theirs)) continue;
            const int field = static_cast<int>(k);
            MergeConflict c;
            c.Kind = ConflictKind::Field;
            c.Screen = ours.rScreen;
            c.Ours = at->Ours + 1;
            c.Theirs = at->Theirs + 1;
            c.Field = field;
            c.Control = ControlDescription(ours);
            c.OursValue = ValueOf(&ours, field);
            c.TheirsValue = ValueOf(&theirs, field);
            Conflicts.push_back({std::move(c), at});
        }
    }

    const std::vector<ControlRecord>& Base;
    const std::vector<ControlRecord>& Ours;
    const std::vector<ControlRecord>& Theirs;
    const RecordMatch WithOurs, WithTheirs;
    Items Output;
    std::vector<Items::iterator> Erased;
    std::vector<Pending> Conflicts;
    std::unordered_map<const Item*, int> Position;
    int ChangedByTheirs = 0, AddedByTheirs = 0, RemovedByTheirs = 0;
};

} // namespace

const char* ConflictKindName(ConflictKind kind) {
    switch (kind) {
    case ConflictKind::Field:
        return "field";
    case ConflictKind::ChangedButDeleted:
        return "changed-deleted";
    case ConflictKind::DeletedButChanged:
        return "deleted-changed";
    case ConflictKind::ScreenGone:
        return "screen-gone";
    case ConflictKind::Trailer:
        break;
    }
    return "trailer";
}

MergeResult MergeLayouts(const LayoutContent& base, const LayoutContent& ours,
                         const LayoutContent& theirs) {
    Merger merger(base, ours, theirs);
    return merger.Run(base, ours, theirs);
}
