// The edits of single controls through the document: a value set on several controls as one
// step, add, duplicate and delete with their places and step names, the stacking moves against a
// model of the host's painting order, paste with its screen links, and the copied controls' text
// read back byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "editing/ControlEdits.h"
#include "layout/HostCodes.h"

namespace {

class ControlEditsTest : public ::testing::Test {
protected:
    void Adopt(std::vector<ControlRecord> records) {
        cLayoutProbe::Adopt(Layout, std::move(records));
    }
    const std::vector<ControlRecord>& Records() const { return cLayoutProbe::Records(Layout); }
    // Applies the plan as the windows do; the plan must not be refused.
    void Apply(const ControlsEditPlan& plan) {
        ASSERT_FALSE(plan.Refused()) << plan.Refusal;
        EXPECT_EQ(Layout.ApplyEdit(plan.Edit, plan.Text), "");
    }

    AgreeingDialogs Dialogs;
    cLayout Layout{Dialogs};
};

TEST_F(ControlEditsTest, AValueSetOnSeveralControlsIsOneStep) {
    Adopt({MakeControl(4, 1, 10, 10, 60, 30), MakeControl(6, 1, 5, 5, 25, 25),
           MakeControl(7, 2, 200, 10, 260, 30), MakeControl(3, 1, 0, 0, 800, 600)});
    const std::vector<ControlRecord> before = Records();
    const ControlField& x1 = *FindControlField("rX1");

    const ControlsEditPlan plan = SetFieldEdit(Records(), {3, 1, 2}, x1, {20, {}});
    EXPECT_EQ(plan.Text, "Change rX1 of 3 controls");
    Apply(plan);
    EXPECT_EQ(Records()[0].rX1, 20);
    EXPECT_EQ(Records()[1].rX1, 20);
    EXPECT_EQ(Records()[2].rX1, 20);
    EXPECT_EQ(Records()[3], before[3]);
    EXPECT_EQ(Layout.UndoText(), "Change rX1 of 3 controls");
    Layout.Undo();
    EXPECT_EQ(Records(), before);
    EXPECT_EQ(Dialogs.Boxes, 0);

    // One refusal stops the whole value, naming the control it concerns.
    const ControlsEditPlan refused = SetFieldEdit(Records(), {1, 2, 3}, x1, {61, {}});
    EXPECT_EQ(refused.Refusal,
              "control 1: the right edge (60) would lie left of the left edge (61)");
    EXPECT_TRUE(refused.Edit.Empty());
    EXPECT_EQ(SetFieldEdit(Records(), {2}, x1, {26, {}}).Refusal,
              "the right edge (25) would lie left of the left edge (26)");
    EXPECT_EQ(SetFieldEdit(Records(), {9}, x1, {1, {}}).Refusal, "There is no control 9.");
    // A value they already hold changes nothing and names no step.
    EXPECT_TRUE(SetFieldEdit(Records(), {1}, x1, {10, {}}).Edit.Empty());

    const std::pair<const ControlField*, FieldValue> two[] = {{&x1, {0, {}}},
                                                              {FindControlField("Width"), {5, {}}}};
    EXPECT_EQ(SetFieldsEdit(Records(), {1, 2}, two).Text, "Change rX1, Width of 2 controls");
}

TEST_F(ControlEditsTest, AddedDuplicatedAndPastedControlsGoOnTopOfTheirScreen) {
    Adopt({MakeControl(4, 1), MakeControl(4, 2), MakeControl(4, 1, 300, 300, 400, 400),
           MakeControl(4, 3)});
    struct Case {
        const char* Name;
        ControlsEditPlan Plan;
        const char* Step;
        std::vector<int> Inserted; // positions after the edit
    };
    const Case cases[] = {
        {"add on screen 1", AddControlEdit(Records(), ControlKind::Button, 1), "Add Button", {4}},
        {"add on an empty screen", AddControlEdit(Records(), ControlKind::LED, 9), "Add LED", {5}},
        {"duplicate on two screens",
         DuplicateEdit(Records(), {4, 1, 2}),
         "Duplicate 3 controls",
         {3, 5, 7}},
        {"delete", DeleteEdit(Records(), {2, 4}), "Delete 2 controls", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Plan.Text, c.Step);
        std::vector<int> inserted;
        for (const auto& [position, record] : c.Plan.Edit.Inserted)
            inserted.push_back(position);
        EXPECT_EQ(inserted, c.Inserted);
        Apply(c.Plan);
        Layout.Undo();
    }
    EXPECT_EQ(AddControlEdit(Records(), 12, 1).Refusal,
              "A control of kind 12 cannot be added: the kinds are 1 to 11.");

    // A duplicate lies 10 pixels off its original, on its screen.
    Apply(DuplicateEdit(Records(), {3}));
    EXPECT_EQ(Records()[3].rX1, 310);
    EXPECT_EQ(Records()[3].rY2, 410);
    EXPECT_EQ(Records()[3].rScreen, 1);
    ControlRecord far = MakeControl(4, 1, 2147483640, 0, 2147483647, 10);
    Adopt({far});
    EXPECT_NE(DuplicateEdit(Records(), {1}).Refusal.find("outside the 32-bit range"),
              std::string::npos);
}

TEST_F(ControlEditsTest, ANewControlLooksLikeTheRealOnesAndStepsAside) {
    Adopt({});
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind) {
        const ControlRecord r = NewControl(kind, 3);
        SCOPED_TRACE(KindName(kind));
        EXPECT_EQ(r.rType, kind);
        EXPECT_EQ(r.rScreen, 3);
        EXPECT_EQ(r.rGText, "None\r\n");
        EXPECT_EQ(r.rBitMapPath, "None");
        EXPECT_GE(r.rX2 - r.rX1, 20);
        EXPECT_GE(r.rY2 - r.rY1, 20);
    }
    Apply(AddControlEdit(Records(), ControlKind::Button, 3));
    Apply(AddControlEdit(Records(), ControlKind::Button, 3));
    Apply(AddControlEdit(Records(), ControlKind::DRO, 4));
    EXPECT_EQ(Records()[0].rX1, 20);
    EXPECT_EQ(Records()[1].rX1, 30);
    EXPECT_EQ(Records()[2].rX1, 20);
    EXPECT_EQ(Records()[0].rText, "Button");
}

// The order the host paints a screen's records in: its bitmaps, then its other controls.
std::vector<ControlRecord> PaintedOrder(const std::vector<ControlRecord>& records, int32_t screen) {
    std::vector<ControlRecord> order;
    for (bool bitmaps : {true, false})
        for (const ControlRecord& r : records)
            if (r.rScreen == screen && (r.rType == ControlKind::Bitmap) == bitmaps)
                order.push_back(r);
    return order;
}

TEST_F(ControlEditsTest, StackingMovesTheChosenOverOrUnderTheirLayerAndNothingElse) {
    std::mt19937 random(23);
    for (int round = 0; round < 300; ++round) {
        std::vector<ControlRecord> records;
        const int count = 1 + static_cast<int>(random() % 14);
        for (int i = 0; i < count; ++i) {
            ControlRecord r =
                MakeControl(random() % 3 == 0 ? ControlKind::Bitmap : ControlKind::Button,
                            static_cast<int32_t>(random() % 3));
            r.rText = "r" + std::to_string(i); // every record told apart
            records.push_back(r);
        }
        std::vector<int> chosen;
        for (int i = 1; i <= count; ++i)
            if (random() % 3 == 0) chosen.push_back(i);
        const bool front = random() % 2 == 0;
        Adopt(records);
        const ControlsEditPlan plan = StackingEdit(Records(), chosen, front);
        ASSERT_FALSE(plan.Refused());
        if (!plan.Edit.Empty()) Apply(plan);
        const std::vector<ControlRecord>& after = Records();
        ASSERT_EQ(after.size(), records.size());

        const auto isChosen = [&](const ControlRecord& r) {
            const int i = std::stoi(r.rText.substr(1));
            return std::find(chosen.begin(), chosen.end(), i + 1) != chosen.end();
        };
        // The others keep their order among all records; the chosen keep theirs in each layer.
        const auto sequence = [&](const std::vector<ControlRecord>& from, bool wanted,
                                  int32_t screen, int layer) {
            std::vector<ControlRecord> picked;
            for (const ControlRecord& r : from)
                if (isChosen(r) == wanted &&
                    (layer < 0 ||
                     (r.rScreen == screen && (r.rType == ControlKind::Bitmap) == (layer == 1))))
                    picked.push_back(r);
            return picked;
        };
        EXPECT_EQ(sequence(after, false, 0, -1), sequence(records, false, 0, -1));
        for (int32_t screen = 0; screen < 3; ++screen)
            for (int layer : {0, 1})
                EXPECT_EQ(sequence(after, true, screen, layer),
                          sequence(records, true, screen, layer));
        // On each screen and layer, the chosen lie over (or under) all the others.
        for (int32_t screen = 0; screen < 3; ++screen) {
            const std::vector<ControlRecord> painted = PaintedOrder(after, screen);
            for (bool bitmaps : {true, false}) {
                std::vector<bool> layer;
                for (const ControlRecord& r : painted)
                    if ((r.rType == ControlKind::Bitmap) == bitmaps) layer.push_back(isChosen(r));
                if (!front) std::reverse(layer.begin(), layer.end());
                // Read from the bottom (front) or the top (back): no other after a chosen one.
                const auto firstChosen = std::find(layer.begin(), layer.end(), true);
                EXPECT_TRUE(std::all_of(firstChosen, layer.end(), [](bool c) { return c; }))
                    << "round " << round << " screen " << screen;
            }
        }
        // What a second press would do is nothing.
        std::vector<int> chosenNow;
        for (std::size_t i = 0; i < after.size(); ++i)
            if (isChosen(after[i])) chosenNow.push_back(static_cast<int>(i) + 1);
        EXPECT_TRUE(StackingEdit(Records(), chosenNow, front).Edit.Empty()) << "round " << round;
    }
    Adopt({MakeControl(4, 1), MakeControl(4, 1)});
    EXPECT_EQ(StackingEdit(Records(), {1}, true).Text, "Bring 1 control to front");
    EXPECT_EQ(StackingEdit(Records(), {2}, false).Text, "Send 1 control to back");
}

CopiedControls CopiedFrom(const std::vector<ControlRecord>& records, const char* layout,
                          std::array<std::string, ScreenCount> labels) {
    CopiedControls copied;
    copied.Records = records;
    copied.Layout = layout;
    copied.Labels = std::move(labels);
    return copied;
}

TEST_F(ControlEditsTest, PastedScreenLinksKeepTheirScreenByItsLabel) {
    // Here: screen 1 "Main", screen 4 "Offsets", screen 6 "TOOLS ".
    Adopt({MakeScreenLabel(1, "Main"), MakeScreenLabel(4, "Offsets"), MakeScreenLabel(6, "TOOLS "),
           MakeControl(4, 3)});
    const std::array<std::string, ScreenCount> labels = ScreenLabels(Layout);
    // There: screen 2 "Offsets", screen 3 "tools", screen 5 without a label, screen 1 "Main".
    std::array<std::string, ScreenCount> source;
    source[1] = "Main";
    source[2] = "Offsets";
    source[3] = "tools";
    ControlRecord tab = MakeScreenButton(7, 2, "Offsets");
    tab.rType = ControlKind::BitmapButton;
    const std::vector<ControlRecord> copied{MakeScreenButton(7, 2, "Offsets"),
                                            tab,
                                            MakeScreenButton(7, 3, "Tools"),
                                            MakeScreenButton(7, 5, "Five"),
                                            MakeScreenButton(7, 1, "Main"),
                                            MakeScreenButton(7, 216, "Coolant"),
                                            MakeControl(6, 7)};

    struct Case {
        const char* Name;
        const char* From;
        int32_t Screen;
        std::vector<int32_t> Targets; // of the pasted records, in order
        int Kept, Renumbered, Dropped;
        bool Offset;
    };
    const Case cases[] = {
        {"another layout", "there", 3, {4, 4, 6, 1, 216, 0}, 4, 3, 1, false},
        {"the same layout, another screen", "here", 3, {2, 2, 3, 5, 1, 216, 0}, 0, 0, 0, false},
        {"the same layout and screen", "here", 7, {2, 2, 3, 5, 1, 216, 0}, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const PastePlan plan =
            PasteEdit(Records(), labels, "here", CopiedFrom(copied, c.From, source), c.Screen);
        ASSERT_FALSE(plan.Refused()) << plan.Refusal;
        EXPECT_EQ(plan.Text, "Paste " + ControlsCount(c.Targets.size()));
        std::vector<int32_t> targets;
        for (const auto& [position, r] : plan.Edit.Inserted) {
            targets.push_back(r.rOEMCode);
            EXPECT_EQ(r.rScreen, c.Screen);
            EXPECT_EQ(r.rX1, c.Offset ? 20 : 10);
        }
        EXPECT_EQ(targets, c.Targets);
        EXPECT_EQ(plan.LinksKept, c.Kept);
        EXPECT_EQ(plan.LinksRenumbered, c.Renumbered);
        EXPECT_EQ(plan.LinksDropped, c.Dropped);
        EXPECT_EQ(plan.Offset, c.Offset);
    }
    // Onto screen 3, after its one record.
    const PastePlan there =
        PasteEdit(Records(), labels, "here", CopiedFrom(copied, "there", source), 3);
    EXPECT_EQ(there.Edit.Inserted.front().first, 5);
    EXPECT_EQ(PasteSummary(there, 3),
              "Pasted 6 controls on screen 3; screen links: 4 kept by their screen's label (3 "
              "renumbered), 1 dropped (no screen of their label here)");
    Apply(there);
    EXPECT_EQ(Records().size(), 10u);

    // Links alone, with no screen of their labels here: nothing is pasted, and that is said.
    const PastePlan none = PasteEdit(Records(), labels, "here",
                                     CopiedFrom({MakeScreenButton(2, 5, "Five")}, "", {}), 3);
    EXPECT_EQ(none.Refusal, "Nothing was pasted: 1 control was a screen link to screens no screen "
                            "here has the label of.");
}

TEST(CopiedControlsTest, TheTextsGiveBackEveryByte) {
    ControlRecord odd = MakeFullRecord(4);
    odd.rText = std::string("\x81\x8D\x8F\x90\x9D \xA7\x80\"\\", 11);
    odd.rGText = "None\r\nline \"two\"\r\n";
    odd.rLabel = std::string("\0x", 2);
    CopiedControls copied;
    copied.Records = {odd, MakeScreenButton(3, 2, "Go", 2097)};
    copied.Positions = {7, 12};
    copied.Layout = "process:principal:3";
    copied.Labels[2] = "Off\xA7sets";
    copied.Labels[15] = "Last";

    CopiedControls read;
    std::string error;
    ASSERT_TRUE(ReadCopiedControls(CopiedControlsText(copied), read, error)) << error;
    EXPECT_EQ(read, copied);
    ASSERT_TRUE(ReadControlsFromPlainText(CopiedControlsText(copied), read, error)) << error;
    EXPECT_EQ(read, copied);

    // The plain text is the records alone: no layout, no labels.
    CopiedControls plain;
    ASSERT_TRUE(
        ReadControlsFromPlainText("\n" + CopiedControlsPlainText(copied) + "\r\n", plain, error))
        << error;
    EXPECT_EQ(plain.Records, copied.Records);
    EXPECT_EQ(plain.Positions, copied.Positions);
    EXPECT_TRUE(plain.Layout.empty());
}

TEST(CopiedControlsTest, AnythingElseIsRefusedNamingTheLine) {
    CopiedControls copied;
    copied.Records = {MakeControl(4, 1)};
    const std::string good = CopiedControlsText(copied);
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<std::string, const char*> cases[] = {
        {"", "line 1: this is not a list of copied controls"},
        {"Hello", "line 1: this is not a list of copied controls"},
        {replaced("\"version\": 1", "\"version\": 2"), "line 3: this text is of version 2"},
        {replaced("\"\", \"\"]", "\"\"]"), "line 5: there should be 16 labels; there are 15"},
        {replaced("\"labels\": [\"\"", "\"labels\": [\"\xE2\x9C\x93\""),
         "line 5: a screen label holds a character without a Windows-1252 byte"},
        {replaced("\"rX1\": 10", "\"rX1\": 1e3"), "\"rX1\" is not a whole number"},
        {good + "x", "something follows the end of the text"},
    };
    for (const auto& [text, message] : cases) {
        CopiedControls read = copied;
        std::string error;
        EXPECT_FALSE(ReadCopiedControls(text, read, error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_EQ(read, copied);
    }
    CopiedControls read;
    std::string error;
    EXPECT_FALSE(ReadControlsFromPlainText("some words\n", read, error));
    EXPECT_EQ(error.rfind("line 1: ", 0), 0u) << error;
    EXPECT_FALSE(ReadControlsFromPlainText(" \r\n\n", read, error));
    EXPECT_EQ(error, "line 1: the text holds no controls");
}

} // namespace
