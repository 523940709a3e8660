// The three-way merge: edits of both sides land, a screen moved or deleted on one side is followed
// by the other side's edits, and what cannot be merged is a conflict that keeps ours.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"
#include "versioning/LayoutDiff.h"
#include "versioning/LayoutMerge.h"

namespace {

using Records = std::vector<ControlRecord>;

MergeResult Merge(const Records& base, const Records& ours, const Records& theirs) {
    return MergeLayouts({base, {}}, {ours, {}}, {theirs, {}});
}

// The records after a command of the document, or after edits made by hand through it.
Records After(const Records& records, const std::function<void(cLayout&)>& edit) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records);
    edit(layout);
    return cLayoutProbe::Records(layout);
}

std::size_t IndexOf(const Records& records, const std::function<bool(const ControlRecord&)>& is) {
    const auto at = std::find_if(records.begin(), records.end(), is);
    EXPECT_NE(at, records.end());
    return static_cast<std::size_t>(at - records.begin());
}

int32_t ScreenNamed(const Records& records, const std::string& name) {
    return records[IndexOf(records,
                           [&](const ControlRecord& r) {
                               return r.IsScreenLabel() && r.rLabel == "\xA7" + name;
                           })]
        .rScreen;
}

// Edits that find their controls by what they are, never by screen number or position, so they
// can be made before or after a screen is moved or rescaled: a screen label renamed, a DRO given
// a key, a button added after a screen's label, a link's caption changed, a control carried to
// another screen and a link made to show another screen.
void EditControls(cLayout& layout) {
    Records& r = cLayoutProbe::MutableRecords(layout);
    r[IndexOf(r, [](const ControlRecord& c) { return c.rLabel == "\xA7Toolpath"; })].rLabel =
        "\xA7Tool path";
    const int32_t offsets = ScreenNamed(r, "Offsets");
    const int32_t settings = ScreenNamed(r, "Settings");
    r[IndexOf(r, [&](const ControlRecord& c) {
        return c.rType == ControlKind::DRO && c.rScreen == settings;
    })].rHotKey = 2097;
    ControlRecord added = MakeControl(ControlKind::Button, offsets, 400, 400, 500, 440);
    added.rText = "Zero all";
    const std::size_t label =
        IndexOf(r, [](const ControlRecord& c) { return c.rLabel == "\xA7Offsets"; });
    r.insert(r.begin() + static_cast<std::ptrdiff_t>(label) + 1, added);
    const int32_t diags = ScreenNamed(r, "Diags");
    r[IndexOf(r, [&](const ControlRecord& c) { return c.IsScreenLink() && c.rOEMCode == diags; })]
        .rText = "Diagnostics";
    // A control carried to another screen, and a link made to show another screen.
    r[IndexOf(r, [&](const ControlRecord& c) { return c.rFunction == 1000 && c.rScreen == diags; })]
        .rScreen = ScreenNamed(r, "Turn");
    r[IndexOf(r, [&](const ControlRecord& c) {
        return c.IsScreenChangeButton() && c.rOEMCode == offsets;
    })].rOEMCode = ScreenNamed(r, "Probing");
}

TEST(LayoutMerge, ScreensMovedOrDeletedOnOneSideFollowTheOtherSidesEdits) {
    const Records base = SkinnedLayout();
    const struct {
        const char* Name;
        std::function<void(cLayout&)> Command;
    } commands[] = {
        {"move screen 3 up", [](cLayout& l) { l.PromoteScreens(3); }},
        {"move screen 5 down", [](cLayout& l) { l.DemoteScreens(5); }},
        {"move screen 1 up over the Persistent screen", [](cLayout& l) { l.PromoteScreens(1); }},
        {"delete screen 2", [](cLayout& l) { l.DeleteScreens(2); }},
        {"delete screen 7", [](cLayout& l) { l.DeleteScreens(7); }},
        {"rescale", [](cLayout& l) { ASSERT_TRUE(l.RescaleControls(-1, 1.25f)); }},
    };
    const Records edited = After(base, EditControls);
    for (const auto& command : commands) {
        SCOPED_TRACE(command.Name);
        const Records moved = After(base, command.Command);
        // Both orders of the two changes make one layout, and merging gives it from either side.
        const Records expected = After(moved, EditControls);
        for (const bool oursMoved : {true, false}) {
            const MergeResult merge =
                oursMoved ? Merge(base, moved, edited) : Merge(base, edited, moved);
            EXPECT_TRUE(merge.Conflicts.empty()) << merge.Conflicts.size();
            EXPECT_TRUE(merge.Merged.Records == expected) << (oursMoved ? "ours" : "theirs");
        }
    }
}

TEST(LayoutMerge, EditsOfDifferentControlsAndFieldsAllLandAndTheSameEditLandsOnce) {
    const Records base = SkinnedLayout();
    Records ours = base, theirs = base, expected = base;
    ours[4].rText = theirs[4].rText = expected[4].rText = "Both";
    ours[5].rHotKey = expected[5].rHotKey = 2097;
    theirs[5].rText = expected[5].rText = "Theirs";
    ours[6].rX1 = expected[6].rX1 = 7;
    theirs[6].rX2 = expected[6].rX2 = 1000;
    theirs.erase(theirs.begin() + 9);
    expected.erase(expected.begin() + 9);
    const ControlRecord added = MakeControl(ControlKind::LED, 2, 5, 5, 20, 20);
    ours.insert(ours.begin() + 12, added);
    theirs.insert(theirs.begin() + 11, added);
    expected.insert(expected.begin() + 11, added);
    ControlRecord theirsOnly = MakeControl(ControlKind::Label, 3);
    theirsOnly.rText = "Theirs only";
    theirs.push_back(theirsOnly);
    expected.push_back(theirsOnly);

    const MergeResult merge =
        MergeLayouts({base, {1, 2, 3}}, {ours, {1, 5, 3}}, {theirs, {9, 2, 3}});
    EXPECT_TRUE(merge.Conflicts.empty());
    EXPECT_TRUE(merge.Merged.Records == expected);
    EXPECT_EQ(merge.Merged.Trailer, (std::array<int32_t, 10>{9, 5, 3}));
    EXPECT_EQ(merge.ChangedByTheirs, 2);
    EXPECT_EQ(merge.AddedByTheirs, 1);
    EXPECT_EQ(merge.RemovedByTheirs, 1);
}

TEST(LayoutMerge, WhatCannotMergeIsAConflictThatKeepsOurs) {
    const Records base = SkinnedLayout();
    Records ours = base, theirs = base;
    ours[4].rText = "Ours";
    theirs[4].rText = "Theirs";
    ours[7].rY1 = 99;                 // changed by ours ...
    theirs.erase(theirs.begin() + 7); // ... deleted by theirs
    ours.erase(ours.begin() + 20);    // deleted by ours ...
    theirs[19].rHotKey = 2097;        // ... changed by theirs (one record earlier now)
    const MergeResult merge = MergeLayouts({base, {0}}, {ours, {1}}, {theirs, {2}});

    ASSERT_EQ(merge.Conflicts.size(), 4u);
    const MergeConflict& field = merge.Conflicts[0];
    EXPECT_EQ(field.Kind, ConflictKind::Field);
    EXPECT_EQ(field.Screen, base[4].rScreen);
    EXPECT_EQ(field.Record, 5);
    EXPECT_EQ(RecordFields[static_cast<std::size_t>(field.Field)].Name, std::string("rText"));
    EXPECT_EQ(field.Control, "Bitmap \"Ours\"");
    EXPECT_EQ(field.BaseValue, "\"None\"");
    EXPECT_EQ(field.OursValue, "\"Ours\"");
    EXPECT_EQ(field.TheirsValue, "\"Theirs\"");
    EXPECT_EQ(merge.Conflicts[1].Kind, ConflictKind::ChangedButDeleted);
    EXPECT_EQ(merge.Conflicts[1].Record, 8);
    EXPECT_EQ(merge.Conflicts[2].Kind, ConflictKind::DeletedButChanged);
    EXPECT_EQ(merge.Conflicts[2].Record, 0);
    EXPECT_EQ(merge.Conflicts[2].Theirs, 20);
    EXPECT_EQ(merge.Conflicts[3].Kind, ConflictKind::Trailer);
    EXPECT_EQ(merge.Conflicts[3].TheirsValue, "2");
    EXPECT_TRUE(merge.Merged.Records == ours);
    EXPECT_EQ(merge.Merged.Trailer[0], 1);

    // A control added on a screen the other side deleted has nowhere to go.
    const Records deleted = After(base, [](cLayout& l) { l.DeleteScreens(4); });
    Records added = base;
    added.push_back(MakeControl(ControlKind::LED, 4));
    const MergeResult gone = Merge(base, deleted, added);
    ASSERT_EQ(gone.Conflicts.size(), 1u);
    EXPECT_EQ(gone.Conflicts[0].Kind, ConflictKind::ScreenGone);
    EXPECT_TRUE(gone.Merged.Records == deleted);

    // A merge that would hold more records than a layout can is refused.
    const Records full(static_cast<std::size_t>(MaxControls), MakeControl(ControlKind::LED, 1));
    const MergeResult refused = Merge({}, full, {MakeControl(ControlKind::Label, 2)});
    EXPECT_NE(refused.Refusal.find("a layout holds at most " + std::to_string(MaxControls)),
              std::string::npos)
        << refused.Refusal;
}

// Random edits on both sides that never touch the same control: the merge is both sets of edits
// made, each side's additions after the control they follow, theirs before ours.
TEST(LayoutMerge, DisjointRandomEditsMergeToBothSetsMade) {
    std::mt19937 random(26);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        Records base;
        for (int i = 0; i < 60; ++i) {
            ControlRecord r = MakeFullRecord(i);
            r.rScreen = i % ScreenCount;
            base.push_back(r);
        }
        enum Owner { Nobody, Ours, Theirs };
        std::vector<Owner> owner(base.size());
        std::vector<bool> deleted(base.size(), false);
        Records oursEdited = base, theirsEdited = base, expected = base;
        std::map<std::size_t, Records> oursAdded, theirsAdded; // after base record k
        int serial = 1000;
        for (std::size_t k = 0; k < base.size(); ++k) {
            owner[k] = static_cast<Owner>(random() % 3);
            if (owner[k] == Nobody) continue;
            Records& side = owner[k] == Ours ? oursEdited : theirsEdited;
            if (random() % 4 == 0) {
                deleted[k] = true;
                continue;
            }
            const std::size_t f = random() % RecordFields.size();
            if (static_cast<int>(f) == FieldNo::rScreen) continue;
            const RecordField& field = RecordFields[f];
            if (field.IsText())
                side[k].*field.Text = expected[k].*field.Text = "edit " + std::to_string(++serial);
            else
                side[k].*field.Number = expected[k].*field.Number = ++serial;
        }
        for (std::size_t k = 0; k < base.size(); ++k) {
            if (deleted[k] || random() % 5 != 0) continue;
            auto& added = random() % 2 ? oursAdded[k] : theirsAdded[k];
            ControlRecord r = MakeFullRecord(++serial);
            r.rScreen = static_cast<int32_t>(random() % ScreenCount);
            added.push_back(r);
        }
        const auto side = [&](const Records& edited, Owner who, auto& additions) {
            Records records;
            for (std::size_t k = 0; k < base.size(); ++k) {
                if (!(deleted[k] && owner[k] == who)) records.push_back(edited[k]);
                for (const ControlRecord& r : additions[k])
                    records.push_back(r);
            }
            return records;
        };
        Records merged;
        for (std::size_t k = 0; k < base.size(); ++k) {
            if (!deleted[k]) merged.push_back(expected[k]);
            for (const ControlRecord& r : theirsAdded[k])
                merged.push_back(r);
            for (const ControlRecord& r : oursAdded[k])
                merged.push_back(r);
        }
        const MergeResult merge =
            Merge(base, side(oursEdited, Ours, oursAdded), side(theirsEdited, Theirs, theirsAdded));
        EXPECT_TRUE(merge.Conflicts.empty());
        EXPECT_TRUE(merge.Merged.Records == merged);
    }
}

} // namespace
