// The merge's promises for any BASE, X and Y, tried on generated layouts (with runs of identical
// controls, as real layouts have them) and on the samples: merging a side with itself gives it;
// a side merged with an unchanged one gives that side; no control appears twice unless a side
// has it twice; the conflicts do not depend on which side is ours. And the case that broke it:
// both branches adding the same layout, each its own version of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "LayoutBuilders.h"
#include "versioning/LayoutDiff.h"
#include "versioning/LayoutFiles.h"
#include "versioning/LayoutMerge.h"

namespace {

using Records = std::vector<ControlRecord>;

LayoutContent Layout(Records records) {
    return {std::move(records), {}};
}

Records Generated(std::mt19937& random, int count) {
    Records records;
    for (int i = 0; i < count; ++i) {
        // A third are copies of a few controls: identical background pictures and labels.
        ControlRecord r = MakeFullRecord(random() % 3 == 0 ? static_cast<int32_t>(random() % 4)
                                                           : static_cast<int32_t>(random() % 1000000));
        r.rScreen = static_cast<int32_t>(random() % 6);
        records.push_back(r);
    }
    return records;
}

// A version made from another by random edits: fields changed, controls deleted, added and copied.
Records Edited(const Records& from, std::mt19937& random, int edits) {
    Records records = from;
    for (int e = 0; e < edits && !records.empty(); ++e) {
        const std::size_t at = random() % records.size();
        switch (random() % 5) {
        case 0:
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 1: {
            ControlRecord r = MakeFullRecord(static_cast<int32_t>(random() % 1000000));
            r.rScreen = records[at].rScreen;
            records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), r);
            break;
        }
        case 2:
            records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), records[at]);
            break;
        default: {
            const RecordField& f = RecordFields[2 + random() % (RecordFields.size() - 2)];
            if (f.IsText())
                records[at].*f.Text = "edit " + std::to_string(random() % 1000);
            else
                records[at].*f.Number = static_cast<int32_t>(random() % 2000);
        }
        }
    }
    return records;
}

// How often each control appears, on whichever screen: a control carried to another screen is
// the same control (as the matching takes it), so a copy on screen 0 moved to screen 2 beside
// its twins is not a new one.
std::map<std::string, int> Counts(const Records& records) {
    std::map<std::string, int> counts;
    for (ControlRecord r : records) {
        r.rScreen = 0;
        ++counts[LayoutFileBytesOf(Layout({r}))];
    }
    return counts;
}

// A conflict as either side sees it: ours and theirs values unordered.
using ConflictKey = std::tuple<ConflictKind, int, std::string, std::string, std::string>;
std::multiset<ConflictKey> Keys(const MergeResult& merge) {
    std::multiset<ConflictKey> keys;
    for (const MergeConflict& c : merge.Conflicts)
        // Changed by one side and deleted by the other, whichever is ours.
        keys.insert({c.Kind == ConflictKind::DeletedButChanged ? ConflictKind::ChangedButDeleted
                                                               : c.Kind,
                     c.Field, c.BaseValue, std::min(c.OursValue, c.TheirsValue),
                     std::max(c.OursValue, c.TheirsValue)});
    return keys;
}

void ExpectProperties(const Records& b, const Records& x, const Records& y) {
    const MergeResult same = MergeLayouts(Layout(b), Layout(x), Layout(x));
    EXPECT_EQ(same.Merged.Records, x) << "merge(B, X, X) = X";
    EXPECT_TRUE(same.Conflicts.empty());
    EXPECT_EQ(MergeLayouts(Layout(b), Layout(b), Layout(x)).Merged.Records, x)
        << "merge(B, B, X) = X";
    EXPECT_EQ(MergeLayouts(Layout(b), Layout(x), Layout(b)).Merged.Records, x)
        << "merge(B, X, B) = X";

    const MergeResult xy = MergeLayouts(Layout(b), Layout(x), Layout(y));
    const MergeResult yx = MergeLayouts(Layout(b), Layout(y), Layout(x));
    const auto inX = Counts(x), inY = Counts(y);
    for (const auto& [record, n] : Counts(xy.Merged.Records)) {
        if (n < 2) continue;
        const auto count = [&record](const std::map<std::string, int>& in) {
            const auto found = in.find(record);
            return found == in.end() ? 0 : found->second;
        };
        EXPECT_LE(n, std::max(count(inX), count(inY)))
            << "a control appears " << n << " times, more than in either side";
    }
    EXPECT_EQ(Keys(xy), Keys(yx)) << "the conflicts do not depend on which side is ours";
}

TEST(MergeProperties, HoldForGeneratedLayouts) {
    std::mt19937 random(30);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        const Records base = Generated(random, 10 + static_cast<int>(random() % 50));
        const Records x = Edited(base, random, static_cast<int>(random() % 8));
        const Records y = Edited(base, random, static_cast<int>(random() % 8));
        ExpectProperties(base, x, y);
        ExpectProperties({}, x, y); // both added the layout
    }
}

TEST(MergeProperties, HoldForTheSamples) {
    std::mt19937 random(31);
    for (const char* name : {"mill.set", "lathe.lset"}) {
        SCOPED_TRACE(name);
        LayoutContent sample;
        std::string failure;
        ASSERT_TRUE(ReadLayoutContent(std::string(QUILL_SAMPLES_DIR) + "/" + name, sample, failure))
            << failure;
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(round);
            const Records x = Edited(sample.Records, random, 12);
            const Records y = Edited(sample.Records, random, 12);
            ExpectProperties(sample.Records, x, y);
            ExpectProperties({}, x, y);
        }
    }
}

TEST(MergeProperties, TwoVersionsAddedOnBothBranchesMergeWithoutCopies) {
    LayoutContent sample;
    std::string failure;
    ASSERT_TRUE(
        ReadLayoutContent(std::string(QUILL_SAMPLES_DIR) + "/mill.set", sample, failure));
    std::mt19937 random(32);
    // Version 2: a few controls changed, one added, one removed.
    Records second = sample.Records;
    for (int k = 0; k < 7; ++k) second[random() % second.size()].rX1 += 5;
    second.erase(second.begin() + 3);
    ControlRecord added = MakeFullRecord(77);
    added.rScreen = 1;
    second.push_back(added);

    const MergeResult merge = MergeLayouts({}, sample, Layout(second));
    EXPECT_LE(merge.Merged.Records.size(), std::max(sample.Records.size(), second.size()) + 1)
        << "no control of version 1 is kept beside its version 2";
    EXPECT_FALSE(merge.Conflicts.empty()) << "controls the versions set differently conflict";
    for (const MergeConflict& c : merge.Conflicts) {
        EXPECT_EQ(c.Kind, ConflictKind::Field);
        EXPECT_EQ(c.Field, FieldNo::rX1);
    }
}

} // namespace
