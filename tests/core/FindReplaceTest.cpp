// Finding and replacing across the fields a user searches: which fields match (texts, numbers, the
// key by name), whole field or part, letter case as Windows-1252 folds it, the line shown, and the
// refusals of a replace that would leave a number, a key or a text a layout cannot hold.

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "editing/FindReplace.h"
#include "layout/HostCodes.h"

namespace {

std::vector<ControlRecord> Records() {
    ControlRecord start = MakeControl(ControlKind::Button, 0);
    start.rText = "Cycle Start";
    start.rLabel = "None";
    start.rGText = "None\r\n";
    start.rHotKey = 2097; // Alt+1
    start.rOEMCode = 216;
    start.rFunction = 32;
    ControlRecord label = MakeControl(ControlKind::Label, 1);
    label.rText = "jog";
    label.rLabel = "\xA7Jog";
    ControlRecord dro = MakeDRO(2, 3, 10, 10);
    dro.rFormat = "%+.4f";
    dro.rOEMCode = 800;
    ControlRecord bitmap = MakeControl(ControlKind::Bitmap, 3);
    bitmap.rBitMapPath = "NewPlasma\\Cycle.png";
    ControlRecord script = MakeControl(ControlKind::Button, 50);
    script.rText = "Caf\xE9";
    script.rGText = "line one\r\nCALL cycle start\r\nend";
    script.rHotKey = 34890; // Ctrl+Alt+J
    return {start, label, dro, bitmap, script};
}

struct Hit {
    int record;
    FindField field;
    std::string line;
};

TEST(FindReplaceTest, FindsInTheChosenFieldsWholeOrPartWithOrWithoutCase) {
    using F = FindField;
    struct Case {
        const char* text;
        std::vector<FindField> fields;
        bool whole, matchCase;
        std::vector<Hit> hits;
    } cases[] = {
        {"cycle",
         {},
         false,
         false,
         {{1, F::Text, "Cycle Start"},
          {4, F::Picture, "NewPlasma\\Cycle.png"},
          {5, F::Script, "CALL cycle start"}}},
        {"cycle", {}, false, true, {{5, F::Script, "CALL cycle start"}}},
        {"cycle start", {}, true, false, {{1, F::Text, "Cycle Start"}}},
        {"CYCLE", {F::Text}, false, false, {{1, F::Text, "Cycle Start"}}},
        {"jog", {}, false, false, {{2, F::Text, "jog"}, {2, F::Label, "\xA7Jog"}}},
        {"jog", {}, true, true, {{2, F::Text, "jog"}}},
        // Letters beyond ASCII fold as Windows folds them: É is é.
        {"CAF\xC9", {}, true, false, {{5, F::Text, "Caf\xE9"}}},
        {"CAF\xC9", {}, true, true, {}},
        // Numbers as written; a whole number field only equals the number.
        {"216", {}, false, false, {{1, F::OEMCode, "216"}}},
        {"21", {}, false, false, {{1, F::OEMCode, "216"}}},
        {"21", {}, true, false, {}},
        {"+216", {F::OEMCode}, true, false, {{1, F::OEMCode, "216"}}},
        {"3", {F::DROGroup}, true, false, {{3, F::DROGroup, "3"}}},
        {"32", {F::Function}, false, false, {{1, F::Function, "32"}}},
        // The key by its name; as a whole field by any spelling of it.
        {"Alt+1", {}, false, false, {{1, F::HotKey, "Alt+1"}}},
        {"alt+1", {F::HotKey}, true, false, {{1, F::HotKey, "Alt+1"}}},
        {"2097", {F::HotKey}, true, true, {{1, F::HotKey, "Alt+1"}}},
        {"Ctrl", {F::HotKey}, false, false, {{5, F::HotKey, "Ctrl+Alt+J"}}},
        {"Alt", {F::HotKey}, false, true, {{1, F::HotKey, "Alt+1"}, {5, F::HotKey, "Ctrl+Alt+J"}}},
        {"%+.4f", {}, true, false, {{3, F::Format, "%+.4f"}}},
        {"none", {}, true, false, {{1, F::Label, "None"}}},
        {"None", {F::Script}, false, true, {{1, F::Script, "None"}}},
        {"", {}, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.whole ? " whole" : "") +
                     (c.matchCase ? " case" : ""));
        const std::vector<FindResult> found =
            FindInRecords(Records(), {c.text, c.fields, c.whole, c.matchCase});
        ASSERT_EQ(found.size(), c.hits.size());
        for (std::size_t k = 0; k < found.size(); ++k) {
            EXPECT_EQ(found[k].Record, c.hits[k].record);
            EXPECT_EQ(found[k].Field, c.hits[k].field);
            EXPECT_EQ(found[k].Line, c.hits[k].line);
            EXPECT_EQ(found[k].Screen,
                      Records()[static_cast<std::size_t>(c.hits[k].record - 1)].rScreen);
        }
    }
}

TEST(FindReplaceTest, FieldNamesAreReadBothWays) {
    for (const FindFieldInfo& field : FindFields()) {
        EXPECT_EQ(FindFieldFromName(field.Name), field.Field);
        EXPECT_EQ(FindFieldFromName(std::string(" ") + field.Caption + " "), field.Field);
    }
    EXPECT_EQ(FindFieldFromName("RTEXT"), FindField::Text);
    EXPECT_EQ(FindFieldFromName("key"), FindField::HotKey);
    EXPECT_EQ(FindFieldFromName("group"), FindField::DROGroup);
    EXPECT_FALSE(FindFieldFromName("rX1"));
    EXPECT_FALSE(FindFieldFromName(""));
}

TEST(FindReplaceTest, ReplacesEveryMatchOrTheWholeFieldAndRefusesWhatALayoutCannotHold) {
    using F = FindField;
    struct Changed {
        int record;
        FindField field;
        std::string value;
    };
    struct Case {
        const char* find;
        std::string replacement;
        std::vector<FindField> fields;
        bool whole, matchCase;
        std::optional<std::vector<std::pair<int, FindField>>> only;
        std::vector<Changed> changed; // every field that changes
        const char* refusal;          // part of the refusal; nullptr: none
    } cases[] = {
        {"cycle",
         "Auto",
         {},
         false,
         false,
         std::nullopt,
         {{1, F::Text, "Auto Start"},
          {4, F::Picture, "NewPlasma\\Auto.png"},
          {5, F::Script, "line one\r\nCALL Auto start\r\nend"}},
         nullptr},
        {"cycle",
         "Auto",
         {F::Script},
         false,
         true,
         std::nullopt,
         {{5, F::Script, "line one\r\nCALL Auto start\r\nend"}},
         nullptr},
        // Every match of a field, left to right, none found in what was put in.
        {"o",
         "oo",
         {F::Script},
         false,
         false,
         std::nullopt,
         {{1, F::Script, "Noone\r\n"}, {5, F::Script, "line oone\r\nCALL cycle start\r\nend"}},
         nullptr},
        {"jog", "Jog+", {}, true, false, std::nullopt, {{2, F::Text, "Jog+"}}, nullptr},
        // Only the chosen results.
        {"cycle",
         "Auto",
         {},
         false,
         false,
         std::vector<std::pair<int, FindField>>{{4, F::Picture}},
         {{4, F::Picture, "NewPlasma\\Auto.png"}},
         nullptr},
        {"216", "217", {}, true, false, std::nullopt, {{1, F::OEMCode, "217"}}, nullptr},
        {"21", "-", {F::OEMCode}, false, false, std::nullopt, {{1, F::OEMCode, "-6"}}, nullptr},
        {"Alt+1", "F5", {F::HotKey}, true, false, std::nullopt, {{1, F::HotKey, "F5"}}, nullptr},
        {"Alt",
         "Ctrl",
         {F::HotKey},
         false,
         false,
         std::nullopt,
         {{1, F::HotKey, "Ctrl+1"}, {5, F::HotKey, "Ctrl+Ctrl+J"}},
         "is not a key"},
        {"alt+1", "None", {F::HotKey}, true, false, std::nullopt, {{1, F::HotKey, ""}}, nullptr},
        {"216", "x", {}, true, false, std::nullopt, {}, "is not a whole number"},
        {"216",
         "99999999999",
         {F::OEMCode},
         true,
         false,
         std::nullopt,
         {},
         "outside the 32-bit range"},
        {"cycle", std::string(32767, 'x'), {F::Text}, true, false, std::nullopt, {}, nullptr},
        {"cycle start",
         std::string(32767, 'x'),
         {F::Text},
         true,
         false,
         std::nullopt,
         {{1, F::Text, std::string(32767, 'x')}},
         nullptr},
        {"Start",
         std::string(32767 - 5, 'x'),
         {F::Text},
         false,
         false,
         std::nullopt,
         {},
         "32768 characters long, more than the 32767"},
        {"jog", "jog", {F::Text}, false, true, std::nullopt, {}, nullptr},
        {"", "x", {}, false, false, std::nullopt, {}, "Type the text to find"},
    };
    const std::vector<ControlRecord> records = Records();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.find) + " -> " + c.replacement.substr(0, 20));
        const ReplacePlan plan =
            PlanReplace(records, {{c.find, c.fields, c.whole, c.matchCase}, c.replacement, c.only});
        if (c.refusal != nullptr) {
            EXPECT_NE(plan.Refusal.find(c.refusal), std::string::npos) << plan.Refusal;
            EXPECT_TRUE(plan.Edit.Empty());
            continue;
        }
        EXPECT_EQ(plan.Refusal, "");
        EXPECT_EQ(plan.Fields, static_cast<int>(c.changed.size()));
        std::vector<ControlRecord> after = records;
        for (const auto& [position, record] : plan.Edit.Changed)
            after[static_cast<std::size_t>(position - 1)] = record;
        std::vector<ControlRecord> expected = records;
        for (const Changed& change : c.changed) {
            ControlRecord& r = expected[static_cast<std::size_t>(change.record - 1)];
            const FindFieldInfo& field = FieldInfo(change.field);
            if (field.Text != nullptr)
                r.*field.Text = change.value;
            else if (change.field == F::HotKey)
                r.rHotKey = change.value.empty() ? 0 : *HotKeyCode(change.value);
            else
                r.*field.Number = std::stoi(change.value);
        }
        EXPECT_EQ(after, expected);
    }
}

TEST(FindReplaceTest, AReplaceIsOneStepThatUndoTakesBack) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, Records());
    const ReplacePlan plan = PlanReplace(layout.Records(), {{"cycle", {}, false, false}, "Auto"});
    EXPECT_EQ(plan.Summary(), "3 fields of 3 controls will change");
    EXPECT_EQ(layout.ApplyEdit(plan.Edit, plan.StepText()), "");
    EXPECT_EQ(layout.UndoText(), "Replace in 3 controls");
    EXPECT_TRUE(FindInRecords(layout.Records(), {"cycle", {}, false, false}).empty());
    layout.Undo();
    EXPECT_EQ(std::vector<ControlRecord>(layout.Records().begin(), layout.Records().end()),
              Records());
    EXPECT_FALSE(layout.IsDirty());
}

TEST(FindReplaceTest, TypedTextBecomesWindows1252OrIsRefusedNamingTheCharacter) {
    std::string bytes, refusal;
    EXPECT_TRUE(TextForRecords("Caf\xC3\xA9 \xE2\x82\xAC", bytes, refusal, "NEW"));
    EXPECT_EQ(bytes, "Caf\xE9 \x80");
    EXPECT_FALSE(TextForRecords("ok \xE2\x9C\x93", bytes, refusal, "The replacement"));
    EXPECT_EQ(refusal, "The replacement holds the character U+2713, which has no Windows-1252 "
                       "byte.");
    EXPECT_FALSE(TextForRecords("\xFF", bytes, refusal, "TEXT"));
    EXPECT_EQ(refusal, "TEXT is not UTF-8 text.");
}

} // namespace
