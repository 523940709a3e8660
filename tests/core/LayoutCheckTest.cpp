// The layout check: one case of every finding, and the boundaries of each rule family.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "check/LayoutCheck.h"

namespace {

using Row = std::tuple<std::string, Severity, int32_t, int>; // code, severity, screen, record

std::vector<Row> Rows(const std::vector<Finding>& findings) {
    std::vector<Row> rows;
    for (const Finding& f : findings)
        rows.emplace_back(CodeName(f.Code), f.Level, f.Screen, f.Record);
    return rows;
}

// The findings of these codes only, as (code, screen, record).
std::set<std::tuple<CheckCode, int32_t, int>> Only(const std::vector<Finding>& findings,
                                                   std::set<CheckCode> codes) {
    std::set<std::tuple<CheckCode, int32_t, int>> picked;
    for (const Finding& f : findings)
        if (codes.count(f.Code)) picked.emplace(f.Code, f.Screen, f.Record);
    return picked;
}

class LayoutCheckTest : public ::testing::Test {
protected:
    std::vector<Finding> Check(std::vector<ControlRecord> records, CheckOptions options = {}) {
        cLayoutProbe::Adopt(Layout, std::move(records));
        return CheckLayout(Layout, options);
    }
    static ControlRecord WithKey(ControlRecord r, int32_t key) {
        r.rHotKey = key;
        return r;
    }
    static ControlRecord Picture(int32_t screen, const std::string& path) {
        ControlRecord r = MakeControl(ControlKind::Bitmap, screen);
        r.rText = "None";
        r.rBitMapPath = path;
        return r;
    }

    AgreeingDialogs Dialogs;
    cLayout Layout{Dialogs};
};

TEST_F(LayoutCheckTest, FindsOneOfEachCodeSortedByScreenAndRecord) {
    std::vector<ControlRecord> records = {
        MakeScreenLabel(0, "Persistent"),                         // 1
        MakeScreenButton(0, 2, "Tools", 113),                     // 2: F2 shows screen 2
        WithKey(MakeControl(ControlKind::Button, 0), 2097),       // 3: Alt+1 on every screen
        MakeScreenLabel(1, "Main"),                               // 4
        MakeScreenLabel(1, "Other"),                              // 5: duplicate-screen-label
        MakeScreenButton(1, 12, "Nowhere"),                       // 6: link-to-empty-screen
        MakeScreenButton(1, 3, "Offsets", 116),                   // 7: F5 for screen 3
        WithKey(MakeDRO(1, 1, 100, 100), 2097),                   // 8: key-clash with 3
        MakeControl(ControlKind::Label, 2, 1000, 700, 1100, 740), // 9: off-screen
        MakeControl(ControlKind::Label, 2, 50, 30, 10, 10),       // 10: inverted-rectangle
        Picture(2, "Pics\\Missing.jpg"),                          // 11: missing-picture
        Picture(2, "Pics\\Here.jpg"),                             // 12
        MakeControl(14, 2),                                       // 13: unknown-kind
        MakeControl(ControlKind::Label, 3),                       // 14
        MakeControl(ControlKind::Label, 5),                       // 15: unreachable-screen
        MakeControl(ControlKind::Label, 50),                      // 16: off-layout-screen
        MakeControl(ControlKind::Label, 50),                      // 17
    };
    records.push_back(MakeControl(ControlKind::Button, 2)); // 18: lost-script
    records.back().rGText = "<-complex code->";
    while (records.size() < MaxControls)
        records.push_back(MakeControl(ControlKind::Label, 3));

    const std::vector<Row> expected = {
        {"layout-full", Severity::Warning, WholeLayout, 0},
        {"duplicate-screen-label", Severity::Warning, 1, 5},
        {"link-to-empty-screen", Severity::Error, 1, 6},
        {"function-key-mismatch", Severity::Warning, 1, 7},
        {"key-clash", Severity::Warning, 1, 8},
        {"off-screen", Severity::Warning, 2, 9},
        {"inverted-rectangle", Severity::Warning, 2, 10},
        {"missing-picture", Severity::Warning, 2, 11},
        {"unknown-kind", Severity::Note, 2, 13},
        {"lost-script", Severity::Warning, 2, 18},
        {"unreachable-screen", Severity::Note, 5, 0},
        {"off-layout-screen", Severity::Note, 50, 0},
    };
    CheckOptions options;
    options.ScreenResolution = Resolution{1024, 768};
    options.PictureFound = [](const std::string& path) { return path == "Pics\\Here.jpg"; };
    const std::vector<Finding> findings = Check(records, options);
    EXPECT_EQ(Rows(findings), expected);
    EXPECT_EQ(CountBySeverity(findings), (SeverityCounts{1, 8, 3}));

    // The messages name the control, the screens and the other record of a pair.
    EXPECT_EQ(FindingLine(findings[2]),
              "error screen 1 record 6 link-to-empty-screen: Button \"Nowhere\" shows screen 12, "
              "which holds no control");
    EXPECT_EQ(findings[4].Related, 3);
    EXPECT_NE(findings[4].Message.find("Alt+1 with Button \"ctl\" (record 3 on screen 0"),
              std::string::npos);
    EXPECT_NE(
        findings[1].Message.find(
            "\"Other\" a second time; the screen list uses the first name, \"Main\" (record 4)"),
        std::string::npos);
    EXPECT_EQ(findings[1].Related, 4);
    EXPECT_NE(findings[10].Message.find("1 control,"), std::string::npos);
    EXPECT_NE(findings[11].Message.find("2 records lie on screen 50"), std::string::npos);

    // Without a look-up the pictures are left alone, and one note says so.
    std::vector<Row> unchecked = expected;
    unchecked.erase(unchecked.begin() + 7);
    unchecked.insert(unchecked.begin(), {"pictures-not-checked", Severity::Note, WholeLayout, 0});
    options.PictureFound = nullptr;
    EXPECT_EQ(Rows(Check(records, options)), unchecked);
}

// Findings name a control and its keys as the preview shows them.
TEST_F(LayoutCheckTest, ControlsAndKeysAreNamedAsThePreviewShowsThem) {
    const auto control = [](int32_t type, const std::string& text, const std::string& label = "") {
        ControlRecord r = MakeControl(type, 1, 1700, 40, 1820, 70);
        r.rText = text;
        r.rLabel = label;
        r.rGText = "<-complex code->";
        return r;
    };
    const std::pair<ControlRecord, std::string> names[] = {
        {control(ControlKind::Button, "Cycle Start"), "Button \"Cycle Start\""},
        {control(ControlKind::Button, " None "), "Button at 1700,40 to 1820,70"},
        {control(ControlKind::DRO, ""), "DRO at 1700,40 to 1820,70"},
        {control(ControlKind::BitmapButton, "Text"), "Bitmap button at 1700,40 to 1820,70"},
        {control(ControlKind::Label, "none", "Spindle"), "Label \"Spindle\""},
        {control(ControlKind::Label, "None", "\xA7Offsets"), "Label \"Offsets\""},
        {control(ControlKind::Label, "Two\r\nlines"), "Label \"Two lines\""},
        {control(14, "x"), "Kind 14 \"x\""},
    };
    for (const auto& [record, name] : names) {
        const std::vector<Finding> findings = Check({record});
        ASSERT_FALSE(findings.empty()) << name;
        EXPECT_EQ(findings.back().Message.substr(0, name.size() + 1), name + " ") << name;
    }

    const std::pair<int32_t, std::string> keys[] = {
        {2100, "Alt+4"}, {121, "F10"}, {0x8400 + 'O', "Ctrl+Shift+O"}, {2048, "(2048)"}};
    for (const auto& [key, text] : keys) {
        const std::vector<Finding> findings =
            Check({WithKey(MakeControl(ControlKind::Button, 1), key),
                   WithKey(MakeControl(ControlKind::Button, 1), key)});
        ASSERT_EQ(findings.size(), 1u) << text;
        EXPECT_NE(findings[0].Message.find(" shortcut " + text + " with "), std::string::npos)
            << findings[0].Message;
    }
    // A function-key button shows its keys by name too.
    EXPECT_EQ(Check({MakeScreenButton(1, 1, "Main", 116)})[0].Message,
              "Button \"Main\" shows screen 1 with the key F5; Update Buttons would give it F1");
}

TEST_F(LayoutCheckTest, FindsNothingInASoundLayout) {
    const std::vector<ControlRecord> records = {
        MakeScreenLabel(0, "Persistent"),
        MakeScreenButton(0, 2, "Tools", 113),
        MakeScreenLabel(1, "Main"),
        MakeScreenButton(2, 1, "Main", 112),
        // A label that is the mark alone names nothing, so the next one is no duplicate.
        MakeScreenLabel(2, ""),
        MakeScreenLabel(2, "Tools"),
        MakeDRO(2, 1, 100, 100),
        Picture(2, "Pics\\Here.jpg"),
    };
    CheckOptions options;
    options.PictureFound = [](const std::string&) { return true; };
    const std::vector<Finding> findings = Check(records, options);
    EXPECT_TRUE(findings.empty()) << (findings.empty() ? "" : FindingLine(findings[0]));
    EXPECT_FALSE(CountBySeverity(findings).AnyProblem());
}

TEST_F(LayoutCheckTest, KeyClashesNeedOneRealKeyOnViewTogether) {
    const ControlRecord button = MakeControl(ControlKind::Button, 1);
    const auto on = [](ControlRecord r, int32_t screen, int32_t key) {
        r.rScreen = screen;
        r.rHotKey = key;
        return r;
    };
    ControlRecord tab = MakeScreenButton(1, 2, "None");
    tab.rType = ControlKind::BitmapButton;
    struct Case {
        const char* what;
        std::vector<ControlRecord> records;
        std::set<std::tuple<CheckCode, int32_t, int>> clashes;
    };
    const auto clash = [](int32_t screen, int record) {
        return std::make_tuple(CheckCode::KeyClash, screen, record);
    };
    const std::vector<Case> cases = {
        {"no key 0", {on(button, 1, 0), on(button, 1, 0)}, {}},
        {"no key -1", {on(button, 1, -1), on(button, 1, -1)}, {}},
        {"no key 65535", {on(button, 1, 65535), on(button, 1, 65535)}, {}},
        {"no key -4096", {on(button, 1, -4096), on(button, 1, -4096)}, {}},
        {"no key -2", {on(button, 1, -2), on(button, 1, -2)}, {}},
        {"same screen", {on(button, 1, 2097), on(button, 1, 2097)}, {clash(1, 2)}},
        {"different keys", {on(button, 1, 2097), on(button, 1, 2098)}, {}},
        {"screen 0 and another", {on(button, 4, 2097), on(button, 0, 2097)}, {clash(4, 1)}},
        {"two other screens", {on(button, 3, 2097), on(button, 4, 2097)}, {}},
        {"off-layout screen", {on(button, 50, 2097), on(button, 0, 2097)}, {}},
        {"three on one screen",
         {on(button, 1, 32), on(button, 1, 32), on(button, 1, 32)},
         {clash(1, 2), clash(1, 3)}},
        {"screen 0 pairs with each",
         {on(button, 0, 32), on(button, 5, 32), on(button, 5, 32), on(button, 6, 32)},
         {clash(5, 2), clash(5, 3), clash(6, 4)}},
        {"F10 of bitmap buttons", {on(tab, 1, 121), on(tab, 1, 121)}, {}},
        {"F10 of buttons", {on(button, 1, 121), on(button, 1, 121)}, {clash(1, 2)}},
        {"links to one screen",
         {MakeScreenButton(0, 4, "Offsets", 115), MakeScreenButton(1, 4, "Offsets", 115)},
         {}},
        {"links to two screens",
         {MakeScreenButton(0, 4, "Offsets", 115), MakeScreenButton(1, 5, "Tools", 115)},
         {clash(1, 2)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Only(Check(c.records), {CheckCode::KeyClash}), c.clashes) << c.what;
}

TEST_F(LayoutCheckTest, LinksShowScreensThatHoldControls) {
    ControlRecord tab = MakeScreenButton(1, 3, "None");
    tab.rType = ControlKind::BitmapButton;
    ControlRecord bitmapKey = tab;
    bitmapKey.rHotKey = 116;
    const ControlRecord onThree = MakeControl(ControlKind::Label, 3);
    struct Case {
        const char* what;
        std::vector<ControlRecord> records;
        std::set<std::tuple<CheckCode, int32_t, int>> found;
    };
    const std::vector<Case> cases = {
        {"empty target", {MakeScreenButton(1, 12, "x")}, {{CheckCode::LinkToEmptyScreen, 1, 1}}},
        {"target above 15", {MakeScreenButton(1, 16, "x")}, {}},
        {"negative target", {MakeScreenButton(1, -1, "x")}, {}},
        {"from an off-layout screen", {MakeScreenButton(50, 12, "x")}, {}},
        {"shown by a bitmap button", {tab, onThree}, {}},
        {"shown only from itself",
         {MakeScreenButton(3, 3, "x"), onThree},
         {{CheckCode::UnreachableScreen, 3, 0}}},
        {"shown only from screen 50",
         {MakeScreenButton(50, 3, "x"), onThree},
         {{CheckCode::UnreachableScreen, 3, 0}}},
        {"shown from the Persistent screen", {MakeScreenButton(0, 3, "x"), onThree}, {}},
        {"screen 1 needs no link", {MakeControl(ControlKind::Label, 1)}, {}},
        {"right function key", {MakeScreenButton(1, 3, "x", 114), onThree}, {}},
        {"wrong function key",
         {MakeScreenButton(1, 3, "x", 116), onThree},
         {{CheckCode::FunctionKeyMismatch, 1, 1}}},
        {"screen 15 has no function key",
         {MakeScreenButton(1, 15, "x", 113)},
         {{CheckCode::LinkToEmptyScreen, 1, 1}}},
        {"bitmap buttons get no function key", {bitmapKey, onThree}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            Only(Check(c.records), {CheckCode::LinkToEmptyScreen, CheckCode::UnreachableScreen,
                                    CheckCode::FunctionKeyMismatch}),
            c.found)
            << c.what;
}

TEST_F(LayoutCheckTest, ControlsFitTheResolutionWithinOnePercent) {
    struct Case {
        int32_t x1, y1, x2, y2;
        std::optional<Resolution> resolution;
        bool off;
    };
    const std::vector<Case> cases = {
        {0, 0, 1034, 775, Resolution{1024, 768}, false},
        {0, 0, 1035, 100, Resolution{1024, 768}, true},
        {0, 0, 100, 776, Resolution{1024, 768}, true},
        {-1, 0, 100, 100, Resolution{1024, 768}, true},
        {0, -1, 100, 100, Resolution{1024, 768}, true},
        {0, 0, 1027, 729, std::nullopt, false}, // the usual background
        {0, 0, 1920, 1080, std::nullopt, false},
        {0, 0, 1920, 1080, Resolution{1280, 1024}, true},
    };
    for (const Case& c : cases) {
        CheckOptions options;
        options.ScreenResolution = c.resolution;
        const bool off =
            !Only(Check({MakeControl(ControlKind::Bitmap, 1, c.x1, c.y1, c.x2, c.y2)}, options),
                  {CheckCode::OffScreen})
                 .empty();
        EXPECT_EQ(off, c.off) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
}

TEST_F(LayoutCheckTest, ASkinnedLayoutHasOnlyItsNotes) {
    int lookUps = 0;
    CheckOptions options;
    EXPECT_EQ(Rows(Check(SkinnedLayout(), options)),
              (std::vector<Row>{{"pictures-not-checked", Severity::Note, WholeLayout, 0},
                                {"off-layout-screen", Severity::Note, 50, 0}}));
    options.PictureFound = [&lookUps](const std::string&) {
        ++lookUps;
        return true;
    };
    EXPECT_EQ(Rows(Check(SkinnedLayout(), options)),
              (std::vector<Row>{{"off-layout-screen", Severity::Note, 50, 0}}));
    EXPECT_EQ(lookUps, 1); // ten backgrounds of one picture, looked up once

    // A missing picture is reported once, on the first control that shows it.
    options.PictureFound = [](const std::string&) { return false; };
    const std::vector<Finding> missing = Check(SkinnedLayout(), options);
    EXPECT_EQ(Rows(missing), (std::vector<Row>{{"missing-picture", Severity::Warning, 0, 1},
                                               {"off-layout-screen", Severity::Note, 50, 0}}));
    EXPECT_NE(missing[0].Message.find("9 other controls show it too"), std::string::npos);
}

} // namespace
