// Diff: edits made through the document, on a layout shaped like real ones, and what the diff
// reports for each: exactly the records the edit touched, matched to themselves.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"
#include "versioning/LayoutDiff.h"

void PrintTo(const LayoutDifference& c, std::ostream* out) {
    *out << ChangeKindName(c.Kind) << " screen " << c.Screen << " " << c.Old << "->" << c.New;
    for (int f : c.Fields)
        *out << " " << RecordFields[static_cast<std::size_t>(f)].Name;
}

namespace {

constexpr int32_t DROGroup = 7;

// A skinned layout as users have them: the background picture of every screen identical but for
// its screen and late in record order, "None" texts and scripts, a jog button parked off the
// screen, a link lying on screen 50, and a group of DROs out of order on screen 1.
std::vector<ControlRecord> RealisticLayout() {
    std::vector<ControlRecord> records, backgrounds;
    for (const ControlRecord& r : SkinnedLayout())
        (r.rType == ControlKind::Bitmap ? backgrounds : records).push_back(r);
    ControlRecord jog = MakeControl(ControlKind::Button, 2, 1142, 400, 1200, 440);
    jog.rFunction = 1010;
    jog.rText = "X+";
    jog.rHotKey = 0x8800 + 'J';
    records.push_back(jog);
    for (int k = 0; k < 6; ++k)
        records.push_back(MakeDRO(1, DROGroup, 300 + 100 * ((k * 5) % 3), 200 + 40 * (k % 2)));
    records.insert(records.end(), backgrounds.begin(), backgrounds.end());
    return records;
}

std::tuple<int, int, int, std::vector<int>> Key(const LayoutDifference& c) {
    return {static_cast<int>(c.Kind), c.Old, c.New, c.Fields};
}

std::vector<LayoutDifference> Sorted(std::vector<LayoutDifference> changes) {
    std::sort(changes.begin(), changes.end(),
              [](const auto& a, const auto& b) { return Key(a) < Key(b); });
    return changes;
}

LayoutDifference Changed(const std::vector<ControlRecord>& before,
                     const std::vector<ControlRecord>& after, std::size_t i, std::size_t j) {
    LayoutDifference c{ChangeKind::Changed,
                   after[j].rScreen,
                   static_cast<int>(i) + 1,
                   static_cast<int>(j) + 1,
                   {}};
    for (std::size_t k = 0; k < RecordFields.size(); ++k)
        if (!RecordFields[k].Same(before[i], after[j])) c.Fields.push_back(static_cast<int>(k));
    return c;
}

// What an edit that only changes records where they stand must report: each changed record,
// matched to itself, with exactly its changed fields.
std::vector<LayoutDifference> InPlace(const std::vector<ControlRecord>& before,
                                  const std::vector<ControlRecord>& after) {
    std::vector<LayoutDifference> expected;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) expected.push_back(Changed(before, after, i, i));
    return expected;
}

// The same for an edit that removes the records `gone` and may change the others.
std::vector<LayoutDifference> Removing(const std::vector<ControlRecord>& before,
                                   const std::vector<ControlRecord>& after,
                                   const std::function<bool(const ControlRecord&)>& gone) {
    std::vector<LayoutDifference> expected;
    std::size_t j = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (gone(before[i])) {
            expected.push_back(
                {ChangeKind::Removed, before[i].rScreen, static_cast<int>(i) + 1, 0, {}});
            continue;
        }
        if (before[i] != after[j]) expected.push_back(Changed(before, after, i, j));
        ++j;
    }
    return expected;
}

// How many records the fewest moves of a re-ordering move: those outside its longest run that
// keeps its order.
int FewestMoved(const std::vector<ControlRecord>& before, const std::vector<ControlRecord>& after) {
    const std::size_t n = after.size();
    std::vector<std::size_t> order(n), longest(n, 1);
    for (std::size_t j = 0; j < n; ++j)
        order[j] = static_cast<std::size_t>(std::find(before.begin(), before.end(), after[j]) -
                                            before.begin());
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (order[k] < order[i]) longest[i] = std::max(longest[i], longest[k] + 1);
    const std::size_t kept = n == 0 ? 0 : *std::max_element(longest.begin(), longest.end());
    return static_cast<int>(n - kept);
}

struct Edit {
    const char* Name;
    std::function<void(cLayout&)> Apply;
    // What the diff must report, from the records before and after.
    std::function<std::vector<LayoutDifference>(const std::vector<ControlRecord>&,
                                            const std::vector<ControlRecord>&)>
        Expected;
};

TEST(LayoutDiff, EditsThroughTheDocumentAreReportedAsMade) {
    const ControlRecord early = MakeControl(ControlKind::Button, 1, 600, 300, 680, 330);
    const auto insertAt2 = [](const ControlRecord& r) {
        return [r](cLayout& layout) {
            auto& records = cLayoutProbe::MutableRecords(layout);
            records.insert(records.begin() + 1, r);
        };
    };
    const auto oneAdded = [](const auto&, const auto& after) {
        return std::vector<LayoutDifference>{{ChangeKind::Added, after[1].rScreen, 0, 2, {}}};
    };
    const Edit edits[] = {
        {"nothing", [](cLayout&) {}, InPlace},
        {"insert one control early", insertAt2(early), oneAdded},
        {"insert early a copy of a background", insertAt2(RealisticLayout().back()), oneAdded},
        {"change one field", [](cLayout& l) { cLayoutProbe::MutableRecords(l)[5].rHotKey = 2097; },
         InPlace},
        {"change a link's caption",
         [](cLayout& l) { cLayoutProbe::MutableRecords(l)[3].rText = "Run"; }, InPlace},
        {"move and resize a control",
         [](cLayout& l) {
             ControlRecord& r = cLayoutProbe::MutableRecords(l)[8];
             r.rX1 += 5, r.rY1 -= 3, r.rX2 += 40, r.rY2 += 1;
         },
         InPlace},
        {"move screen 3 up", [](cLayout& l) { l.PromoteScreens(3); }, InPlace},
        {"move screen 0 down", [](cLayout& l) { l.DemoteScreens(0); }, InPlace},
        {"rescale every screen", [](cLayout& l) { ASSERT_TRUE(l.RescaleControls(-1, 1.875f)); },
         InPlace},
        {"delete screen 4", [](cLayout& l) { l.DeleteScreens(4); },
         [](const auto& before, const auto& after) {
             return Removing(before, after, [](const ControlRecord& r) {
                 return r.rScreen == 4 || (r.IsScreenLink() && r.rOEMCode == 4);
             });
         }},
        {"delete screen 1", [](cLayout& l) { l.DeleteScreens(1); },
         [](const auto& before, const auto& after) {
             return Removing(before, after, [](const ControlRecord& r) {
                 return r.rScreen == 1 || (r.IsScreenLink() && r.rOEMCode == 1);
             });
         }},
    };
    AgreeingDialogs dialogs;
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.Name);
        cLayout layout(dialogs);
        cLayoutProbe::Adopt(layout, RealisticLayout());
        const std::vector<ControlRecord> before = cLayoutProbe::Records(layout);
        edit.Apply(layout);
        const std::vector<ControlRecord> after = cLayoutProbe::Records(layout);
        const LayoutDiff diff = DiffLayouts({before, {}}, {after, {}});
        EXPECT_EQ(Sorted(diff.Changes), Sorted(edit.Expected(before, after)));
        EXPECT_EQ(diff.Same(), before == after);
    }
}

TEST(LayoutDiff, ReorderingReportsTheFewestMovedAndNothingElse) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, RealisticLayout());
    const std::vector<ControlRecord> before = cLayoutProbe::Records(layout);
    layout.SortDROs(1, DROGroup, true);
    std::vector<ControlRecord> after = cLayoutProbe::Records(layout);
    // One more: the last record taken to the front is one move.
    std::rotate(after.begin(), after.end() - 1, after.end());
    const LayoutDiff diff = DiffLayouts({before, {}}, {after, {}});
    const int moved = FewestMoved(before, after);
    EXPECT_GE(moved, 2);
    EXPECT_EQ(static_cast<int>(diff.Changes.size()), moved);
    for (const LayoutDifference& c : diff.Changes) {
        EXPECT_EQ(c.Kind, ChangeKind::Reordered);
        EXPECT_EQ(before[static_cast<std::size_t>(c.Old - 1)],
                  after[static_cast<std::size_t>(c.New - 1)]);
    }
}

TEST(LayoutDiff, LongRunsOfIdenticalControlsKeepTheirOrderAtAnyCount) {
    for (const int count : {700, 2000, 6000}) {
        SCOPED_TRACE(count);
        const std::vector<ControlRecord> before(static_cast<std::size_t>(count),
                                                MakeControl(1, 1, 10, 10, 50, 30));
        std::vector<ControlRecord> after = before;
        int changed = 0;
        for (std::size_t k = 0; k < after.size(); k += 7, ++changed)
            after[k].rX1 = 11;
        const LayoutDiff diff = DiffLayouts({before, {}}, {after, {}});
        ASSERT_EQ(static_cast<int>(diff.Changes.size()), changed);
        for (const LayoutDifference& c : diff.Changes) {
            EXPECT_EQ(c.Kind, ChangeKind::Changed);
            EXPECT_EQ(c.Old, c.New) << "each control matched to its own place";
        }
    }
}

TEST(LayoutDiff, ChangesComeScreenByScreenWithTheTrailerLast) {
    const std::vector<ControlRecord> before = RealisticLayout();
    ASSERT_TRUE(before[0].IsScreenLabel() && before[0].rScreen == 0);
    ASSERT_EQ(before[4].rScreen, 1);
    std::vector<ControlRecord> after = before;
    after[4].rText = "Changed";                        // a link on screen 1
    after.erase(after.begin());                        // the screen label of screen 0
    after.push_back(MakeControl(ControlKind::LED, 0)); // added last, on screen 0
    const LayoutDiff diff = DiffLayouts({before, {1, 2}}, {after, {1, 5}});
    const std::vector<LayoutDifference> expected = {
        {ChangeKind::Removed, 0, 1, 0, {}},
        {ChangeKind::Added, 0, 0, static_cast<int>(after.size()), {}},
        {ChangeKind::Changed, 1, 5, 4, {FieldNo::rText}},
        {ChangeKind::Trailer, 0, 0, 0, {1}},
    };
    EXPECT_EQ(diff.Changes, expected);

    // How a change shows its fields: the rectangle as one, texts escaped.
    ControlRecord moved = before[4];
    moved.rX1 = 1, moved.rY2 = 2;
    moved.rGText = "None\r\n\x81";
    const LayoutDiff shown = DiffLayouts({{before[4]}, {}}, {{moved}, {}});
    ASSERT_EQ(shown.Changes.size(), 1u);
    const std::vector<ShownField> fields = ShownFields(shown.Changes[0]);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(FieldValueText(moved, fields[0]), "\"None\\r\\n\\u0081\"");
    EXPECT_TRUE(fields[1].Rectangle);
    EXPECT_EQ(FieldValueText(moved, fields[1]),
              "(1," + std::to_string(moved.rY1) + ")-(" + std::to_string(moved.rX2) + ",2)");
    EXPECT_EQ(ControlDescription(moved), "Bitmap button");
    ControlRecord label = MakeScreenLabel(0, "Main");
    label.rText = "None";
    EXPECT_EQ(ControlDescription(label), "Label \"\xA7Main\"");
}

} // namespace
