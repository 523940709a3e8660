// New Screen and Duplicate Screen through the document: on a layout with a tab row of buttons and
// on a skinned one with a row of invisible bitmap buttons, the label, one link per screen shaped
// like its row's last link, the free keys, one undo step, and the layout check finding nothing
// wrong afterwards; the refusals; the copy's links to itself; an empty layout filled by an append
// and saved.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "check/LayoutCheck.h"
#include "editing/NewScreens.h"
#include "layout/HostCodes.h"

namespace {

constexpr int32_t Alt(char digit) {
    return AltKeyBit + digit;
}

// Screens 0..3 named, each on a 1024 x 768 background; screens 1..3 carry a row of three
// buttons 100 wide, 10 apart, along the bottom, showing screens 1..3 under Alt+1..Alt+3.
std::vector<ControlRecord> ButtonRowLayout() {
    const char* names[] = {"Persistent", "Run", "MDI", "Offsets"};
    std::vector<ControlRecord> records;
    for (int32_t s = 0; s <= 3; ++s) {
        ControlRecord background = MakeControl(ControlKind::Bitmap, s, 0, 0, 1024, 768);
        background.rBitMapPath = "Bitmaps\\back.png";
        records.push_back(background);
        records.push_back(MakeScreenLabel(s, names[s]));
        if (s == 0) continue;
        for (int32_t t = 1; t <= 3; ++t) {
            ControlRecord link = MakeScreenButton(s, t, names[t], Alt(static_cast<char>('0' + t)));
            link.rX1 = (t - 1) * 110;
            link.rX2 = link.rX1 + 100;
            link.rY1 = 700;
            link.rY2 = 740;
            link.rColor = 0x00FF00;
            link.rGText = "None\r\n";
            records.push_back(link);
        }
        records.push_back(MakeDRO(s, 1, 300, 300));
    }
    return records;
}

// The findings a new screen must not leave behind.
std::vector<Finding> Faults(const cLayout& layout) {
    CheckOptions options;
    options.PictureFound = [](const std::string&) { return true; };
    std::vector<Finding> faults;
    for (Finding& f : CheckLayout(layout, options))
        if (f.Code == CheckCode::LinkToEmptyScreen || f.Code == CheckCode::KeyClash ||
            f.Code == CheckCode::UnreachableScreen || f.Code == CheckCode::DuplicateScreenLabel ||
            (f.Code == CheckCode::OffScreen && f.Screen != 50))
            faults.push_back(std::move(f));
    return faults;
}

class NewScreensTest : public ::testing::Test {
protected:
    void Adopt(std::vector<ControlRecord> records) {
        cLayoutProbe::Adopt(Layout, std::move(records));
    }
    const std::vector<ControlRecord>& Records() const { return cLayoutProbe::Records(Layout); }
    void Apply(const ControlsEditPlan& plan) {
        ASSERT_FALSE(plan.Refused()) << plan.Refusal;
        EXPECT_EQ(Layout.ApplyEdit(plan.Edit, plan.Text), "");
    }
    const ControlRecord& At(int position) const {
        return Records().at(static_cast<std::size_t>(position - 1));
    }

    AgreeingDialogs Dialogs;
    cLayout Layout{Dialogs};
};

TEST_F(NewScreensTest, ARowOfButtonsGetsALinkAfterItsLastWithTheNextAltKey) {
    Adopt(ButtonRowLayout());
    const std::vector<ControlRecord> before = Records();
    ASSERT_EQ(ScreensWithLinkRows(before), (std::vector<int32_t>{1, 2, 3}));

    const NewScreenPlan plan = NewScreenEdit(Records(), {"Probing", {}, {}, {}});
    ASSERT_FALSE(plan.Refused()) << plan.Refusal;
    EXPECT_EQ(plan.Screen, 4);
    EXPECT_EQ(plan.Text, "New screen 4 \"Probing\"");
    EXPECT_TRUE(plan.Notes.empty());
    Apply(plan);

    EXPECT_EQ(Layout.Screens()[4].Label, "Probing");
    EXPECT_EQ(Layout.Screens()[4].CtrlCount, 1);
    ASSERT_EQ(plan.Links.size(), 3u);
    for (const PlacedLink& placed : plan.Links) {
        const ControlRecord& link = At(placed.Record);
        SCOPED_TRACE(placed.Where);
        // Shaped like the row's last link, after it, showing the new screen under its name.
        ControlRecord expected =
            before[static_cast<std::size_t>(ScreenLinkRow(before, placed.Screen).back() - 1)];
        expected.rOEMCode = 4;
        expected.rText = "Probing";
        expected.rX1 = 330;
        expected.rX2 = 430;
        expected.rHotKey = Alt('4');
        EXPECT_EQ(link, expected);
        EXPECT_TRUE(placed.AfterRow);
        // After the last record of its screen.
        EXPECT_TRUE(placed.Record == static_cast<int>(Records().size()) ||
                    At(placed.Record + 1).rScreen != placed.Screen);
    }
    EXPECT_EQ(Layout.Screens()[4].ShownByCount, 2);
    EXPECT_EQ(Faults(Layout), std::vector<Finding>{});

    // One step, undone as one and redone as one.
    EXPECT_EQ(Layout.UndoText(), "New screen 4 \"Probing\"");
    const std::vector<ControlRecord> after = Records();
    Layout.Undo();
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(Layout.CanUndo());
    Layout.Redo();
    EXPECT_EQ(Records(), after);
}

TEST_F(NewScreensTest, KeysTakenOnViewAreSkippedAndAChosenScreenAndKeyAreKept) {
    std::vector<ControlRecord> records = ButtonRowLayout();
    // Alt+4 is the persistent screen's, Alt+5 screen 2's own.
    records.push_back(MakeControl(ControlKind::Button, 0, 900, 10, 990, 40));
    records.back().rHotKey = Alt('4');
    records.push_back(MakeControl(ControlKind::Button, 2, 900, 100, 990, 140));
    records.back().rHotKey = Alt('5');
    Adopt(records);

    NewScreenPlan plan = NewScreenEdit(Records(), {"Probing", 9, std::vector<int32_t>{2, 3}, {}});
    ASSERT_FALSE(plan.Refused()) << plan.Refusal;
    EXPECT_EQ(plan.Screen, 9);
    ASSERT_EQ(plan.Links.size(), 2u);
    EXPECT_EQ(plan.Links[0].Key, Alt('6'));
    EXPECT_EQ(plan.Links[1].Key, Alt('5'));
    Apply(plan);
    EXPECT_EQ(Faults(Layout), std::vector<Finding>{});
    Layout.Undo();

    // A key given is used everywhere, or refused where it is taken; "none" gives no key.
    plan = NewScreenEdit(Records(), {"Probing", {}, std::vector<int32_t>{1, 3}, Alt('7')});
    ASSERT_FALSE(plan.Refused());
    EXPECT_EQ(plan.Links[0].Key, Alt('7'));
    EXPECT_EQ(
        NewScreenEdit(Records(), {"Probing", {}, std::vector<int32_t>{1, 2}, Alt('5')}).Refusal,
        "The key Alt+5 is taken on screen 2.");
    plan = NewScreenEdit(Records(), {"Probing", {}, {}, 0});
    ASSERT_FALSE(plan.Refused());
    for (const PlacedLink& placed : plan.Links)
        EXPECT_EQ(placed.Key, 0) << placed.Where;
}

TEST_F(NewScreensTest, ASkinnedRowWithNoRoomAfterItGoesBelowAndSaysSo) {
    Adopt(SkinnedLayout());
    const std::vector<ControlRecord> before = Records();
    EXPECT_EQ(Faults(Layout).size(), 0u);

    const NewScreenPlan plan = NewScreenEdit(Records(), {"Tool Changer", {}, {}, {}});
    ASSERT_FALSE(plan.Refused()) << plan.Refusal;
    EXPECT_EQ(plan.Screen, 10);
    ASSERT_EQ(plan.Links.size(), 9u);
    Apply(plan);
    for (const PlacedLink& placed : plan.Links) {
        SCOPED_TRACE(placed.Where);
        const ControlRecord& link = At(placed.Record);
        EXPECT_EQ(link.rType, ControlKind::BitmapButton);
        EXPECT_EQ(link.rFunction, ScreenChangeFunction);
        EXPECT_EQ(link.rOEMCode, 10);
        EXPECT_EQ(link.rText, "Tool Changer");
        EXPECT_EQ(link.rX2 - link.rX1, 120);
        EXPECT_EQ(link.rY2 - link.rY1, 30);
        // The row ends at the screen's right edge: the link starts a line below it.
        EXPECT_FALSE(placed.AfterRow);
        EXPECT_EQ(link.rX1, 110);
        EXPECT_EQ(link.rY1, 30);
        EXPECT_EQ(link.rHotKey, Alt('1'));
    }
    ASSERT_EQ(plan.Notes.size(), 9u);
    EXPECT_EQ(plan.Notes[0],
              "Screen 1: no room after its last link; placed below its row, at 110,30, key Alt+1.");
    EXPECT_EQ(Faults(Layout), std::vector<Finding>{});
    Layout.Undo();
    EXPECT_EQ(Records(), before);
}

TEST_F(NewScreensTest, AColumnOfLinksGrowsDownwardsAndALoneLinkStandsInForARow) {
    std::vector<ControlRecord> records;
    records.push_back(MakeControl(ControlKind::Bitmap, 1, 0, 0, 1024, 768));
    records.push_back(MakeScreenLabel(1, "Run"));
    for (int32_t k = 0; k < 3; ++k) {
        ControlRecord link = MakeScreenButton(1, 1, "Run", Alt(static_cast<char>('1' + k)));
        link.rX1 = 900, link.rX2 = 1000, link.rY1 = 100 + 50 * k, link.rY2 = 140 + 50 * k;
        records.push_back(link);
    }
    records.push_back(MakeScreenLabel(2, "MDI"));
    records.push_back(MakeScreenButton(2, 1, "Run")); // one link: no row
    Adopt(records);
    EXPECT_EQ(ScreensWithLinkRows(Records()), (std::vector<int32_t>{1}));

    const NewScreenPlan plan =
        NewScreenEdit(Records(), {"Probe", {}, std::vector<int32_t>{1, 2}, {}});
    ASSERT_FALSE(plan.Refused()) << plan.Refusal;
    ASSERT_EQ(plan.Links.size(), 2u);
    Apply(plan);
    const ControlRecord& below = At(plan.Links[0].Record);
    EXPECT_EQ((std::array<int32_t, 4>{below.rX1, below.rY1, below.rX2, below.rY2}),
              (std::array<int32_t, 4>{900, 250, 1000, 290}));
    EXPECT_EQ(below.rHotKey, Alt('4'));
    EXPECT_EQ(At(plan.Links[1].Record).rScreen, 2);
    EXPECT_EQ(At(plan.Links[1].Record).rOEMCode, 3);
}

TEST_F(NewScreensTest, WhatCannotBeDoneIsRefusedWithNothingChanged) {
    Adopt(ButtonRowLayout());
    struct Case {
        NewScreenRequest Request;
        const char* Refusal;
    } cases[] = {
        {{"", {}, {}, {}}, "A new screen needs a label to name it."},
        {{"  ", {}, {}, {}}, "A new screen needs a label to name it."},
        {{" mdi ", {}, {}, {}}, "Screen 2 is named \"MDI\" already."},
        {{"New", 0, {}, {}}, "Screen 0 is not one of the screens 1 to 15."},
        {{"New", 16, {}, {}}, "Screen 16 is not one of the screens 1 to 15."},
        {{"New", 3, {}, {}}, "Screen 3 holds controls: a new screen goes to an empty one."},
        {{"New", 5, std::vector<int32_t>{5}, {}},
         "Screen 5 cannot take a link to the new screen 5: it is the new screen itself."},
        {{"New", 5, std::vector<int32_t>{0}, {}},
         "Screen 0 has no screen link to shape a link to the new screen on."},
        {{"New", 5, std::vector<int32_t>{17}, {}},
         "Screen 17 cannot take a link to the new screen 5: the screens are 0 to 15."},
        {{"New", {}, {}, Alt('2')}, "The key Alt+2 is taken on screen 1."},
    };
    for (const Case& c : cases) {
        const NewScreenPlan plan = NewScreenEdit(Records(), c.Request);
        EXPECT_EQ(plan.Refusal, c.Refusal) << c.Request.Label;
        EXPECT_TRUE(plan.Edit.Empty());
    }
    std::vector<ControlRecord> full;
    for (int32_t s = 0; s < ScreenCount; ++s)
        full.push_back(MakeScreenLabel(s, "S" + std::to_string(s)));
    EXPECT_EQ(NewScreenEdit(full, {"New", {}, {}, {}}).Refusal,
              "The layout has no empty screen among screens 1 to 15.");
    EXPECT_EQ(DuplicateScreenEdit(full, 3, "New").Refusal,
              "The layout has no empty screen among screens 1 to 15.");
    EXPECT_EQ(DuplicateScreenEdit(Records(), 7, "New").Refusal,
              "Screen 7 holds no control to duplicate.");
}

TEST_F(NewScreensTest, ADuplicatedScreenLinksToItselfWhereTheOriginalDid) {
    std::vector<ControlRecord> records = ButtonRowLayout();
    Adopt(records);
    const std::vector<ControlRecord> before = Records();

    const NewScreenPlan plan = DuplicateScreenEdit(Records(), 2, "MDI 2");
    ASSERT_FALSE(plan.Refused()) << plan.Refusal;
    EXPECT_EQ(plan.Text, "Duplicate screen 2 as 4 \"MDI 2\"");
    Apply(plan);
    std::vector<ControlRecord> original, copy;
    for (const ControlRecord& r : Records()) {
        if (r.rScreen == 2) original.push_back(r);
        if (r.rScreen == 4) copy.push_back(r);
    }
    ASSERT_EQ(copy.size(), original.size());
    for (std::size_t k = 0; k < copy.size(); ++k) {
        ControlRecord expected = original[k];
        expected.rScreen = 4;
        if (expected.IsScreenLink() && expected.rOEMCode == 2) expected.rOEMCode = 4;
        if (expected.IsScreenLabel()) expected.rLabel = "\xA7MDI 2";
        EXPECT_EQ(copy[k], expected) << k;
    }
    EXPECT_EQ(Layout.Screens()[4].Label, "MDI 2");
    EXPECT_EQ(Layout.Screens()[2].Label, "MDI");
    EXPECT_EQ(Layout.UndoText(), plan.Text);
    Layout.Undo();
    EXPECT_EQ(Records(), before);

    // A screen without a label gets one.
    Adopt({MakeControl(ControlKind::Button, 1), MakeScreenButton(1, 1, "Self")});
    const NewScreenPlan unlabelled = DuplicateScreenEdit(Records(), 1, "Copy", 6);
    Apply(unlabelled);
    EXPECT_EQ(Layout.Screens()[6].Label, "Copy");
    EXPECT_EQ(Records()[3].rOEMCode, 6);
}

TEST_F(NewScreensTest, AnEmptyLayoutFilledByAnAppendSavesAndReadsBack) {
    Adopt(ButtonRowLayout());
    Layout.StartEmpty();
    EXPECT_EQ(Layout.ControlCount(), 0);
    EXPECT_EQ(Layout.FileName(), "");
    EXPECT_FALSE(Layout.IsDirty());
    EXPECT_FALSE(Layout.CanUndo());

    AgreeingDialogs sourceDialogs;
    cLayout source{sourceDialogs};
    cLayoutProbe::Adopt(source, ButtonRowLayout());
    Layout.AppendScreenFrom(source, 2, 1);
    EXPECT_TRUE(Layout.IsDirty());
    EXPECT_EQ(Layout.Screens()[1].Label, "MDI");

    TempDir dir;
    ASSERT_TRUE(Layout.SaveLayout(dir.File("new.set")));
    AgreeingDialogs readDialogs;
    cLayout read{readDialogs};
    ASSERT_TRUE(read.LoadLayout(dir.File("new.set")));
    EXPECT_EQ(std::vector<ControlRecord>(read.Records().begin(), read.Records().end()), Records());
}

} // namespace
