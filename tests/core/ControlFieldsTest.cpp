// The fields as a user types them: one table per kind of field of what is read and what is
// refused (and the words of the refusal), values written back as text and read again, the
// rectangle's rule, and the spelling of a chosen picture.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "LayoutBuilders.h"
#include "editing/ControlFields.h"
#include "layout/HostCodes.h"

namespace {

struct ParseCase {
    const char* Field;
    const char* Typed;
    std::optional<int64_t> Number;    // for a number field: the value read
    std::optional<std::string> Bytes; // for a text field: the Windows-1252 bytes read
    std::string Refusal;              // a part of the refusal when neither is given
};

ParseCase Reads(const char* field, const char* typed, int64_t number) {
    return {field, typed, number, std::nullopt, {}};
}
ParseCase ReadsText(const char* field, const char* typed, std::string bytes) {
    return {field, typed, std::nullopt, std::move(bytes), {}};
}
ParseCase Refuses(const char* field, const char* typed, std::string refusal) {
    return {field, typed, std::nullopt, std::nullopt, std::move(refusal)};
}

void ExpectParses(const std::vector<ParseCase>& cases) {
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(std::string(c.Field) + " <- \"" + c.Typed + "\"");
        const ControlField* field = FindControlField(c.Field);
        ASSERT_NE(field, nullptr);
        const FieldParse parsed = ParseFieldValue(*field, c.Typed);
        if (c.Number || c.Bytes) {
            ASSERT_TRUE(parsed.Value.has_value()) << parsed.Refusal;
            EXPECT_TRUE(parsed.Refusal.empty());
            if (c.Number) {
                EXPECT_EQ(parsed.Value->Number, *c.Number);
            }
            if (c.Bytes) {
                EXPECT_EQ(parsed.Value->Text, *c.Bytes);
            }
        } else {
            EXPECT_FALSE(parsed.Value.has_value());
            EXPECT_NE(parsed.Refusal.find(c.Refusal), std::string::npos) << parsed.Refusal;
        }
    }
}

TEST(ControlFieldsTest, NumbersAreWholeAnd32Bit) {
    ExpectParses({
        Reads("rFunction", "32", 32),
        Reads("rOEMCode", " -7 ", -7),
        Reads("rX1", "+100", 100),
        Reads("rY2", "2147483647", 2147483647),
        Reads("rTabGroup", "-2147483648", -2147483648LL),
        Refuses("rFlash", "2147483648", "2147483648 lies outside the 32-bit range"),
        Refuses("rX2", "-99999999999999999999", "outside the 32-bit range"),
        Refuses("rHoriz", "1.5", "\"1.5\" is not a whole number"),
        Refuses("rVert", "", "is not a whole number"),
        Refuses("rRedGreen", "12abc", "is not a whole number"),
        Reads("Width", "-3", -3),
        Refuses("Height", "x", "not a whole number"),
        Reads("rScreen", "50", 50),
        Reads("rScreen", "15", 15),
    });
}

// A number typed into a field may have blanks around it and a plus sign, as users type them into
// the property sheet; a plain number (an option of the command line, a key code) may not, so a
// stray blank in a script is refused rather than guessed at.
TEST(ControlFieldsTest, TypedNumbersAllowWhatPlainNumbersDoNot) {
    const ControlField& field = *FindControlField("rOEMCode");
    const struct {
        const char* Text;
        std::optional<int32_t> Typed, Plain;
    } cases[] = {
        {"42", 42, 42},
        {"-7", -7, -7},
        {"+3", 3, std::nullopt},
        {" 5 ", 5, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"2147483648", std::nullopt, std::nullopt},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"0x10", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const FieldParse typed = ParseFieldValue(field, c.Text);
        EXPECT_EQ(typed.Value ? std::optional<int32_t>(static_cast<int32_t>(typed.Value->Number))
                              : std::nullopt,
                  c.Typed);
        EXPECT_EQ(WholeNumber(c.Text), c.Plain);
    }
}

TEST(ControlFieldsTest, KindsAreTheElevenByNumberOrName) {
    ExpectParses({
        Reads("rType", "4", 4),
        Reads("rType", "bitmap button", 8),
        Reads("rType", " Toolpath display ", 11),
        Refuses("rType", "0", "\"0\" is not a kind of control"),
        Refuses("rType", "12", "not a kind of control"),
        Refuses("rType", "Buttons", "not a kind of control"),
    });
}

TEST(ControlFieldsTest, KeysByNameOrCode) {
    ExpectParses({
        Reads("rHotKey", "Alt+1", 2097),
        Reads("rHotKey", "ctrl+alt+j", 34890),
        Reads("rHotKey", "F10", 121),
        Reads("rHotKey", "2097", 2097),
        Reads("rHotKey", "(2048)", 2048),
        Reads("rHotKey", "", 0),
        Reads("rHotKey", "None", 0),
        Reads("rHotKey", "-1", -1),
        Refuses("rHotKey", "Alt+Foo", "\"Alt+Foo\" is not a key"),
        Refuses("rHotKey", "99999999999", "outside the 32-bit range"),
    });
}

TEST(ControlFieldsTest, ColoursInDecimalOrHex) {
    ExpectParses({
        Reads("rColor", "255", 255),
        Reads("rColor", "0x0000FF", 255),
        Reads("rColor", "0X00ff8000", 0x00FF8000),
        Reads("rColor", "0xFFFFFFFF", -1),
        Reads("rColor", "-1", -1),
        Refuses("rColor", "0x100000000", "outside the 32 bits of a colour"),
        Refuses("rColor", "red", "\"red\" is not a colour"),
        Refuses("rColor", "0xGG", "is not a colour"),
    });
}

TEST(ControlFieldsTest, TextsAreWindows1252AndFitAFile) {
    const std::string longest(32767, 'x');
    const std::string tooLong(32768, 'x');
    ExpectParses({
        ReadsText("rText", "Cycle Start", std::string("Cycle Start")),
        ReadsText("rLabel", "\xC2\xA7Offsets", std::string("\xA7Offsets")),
        ReadsText("rText", "\xE2\x82\xAC 5", std::string("\x80 5")), // the euro sign is 0x80
        ReadsText("rGText", "None\r\n", std::string("None\r\n")),
        ReadsText("rFormat", "", std::string()),
        ReadsText("rBitMapPath", "NewPlasma\\Back.png", std::string("NewPlasma\\Back.png")),
        ReadsText("rText", longest.c_str(), longest),
        Refuses("rText", "OK \xE2\x9C\x93",
                "holds \"\xE2\x9C\x93\" (U+2713), which has no Windows-1252 byte"),
        Refuses("rLabel", "\xF0\x9F\x98\x80", "(U+1F600)"),
        Refuses("rFormat", "\xFF", "not well-formed UTF-8"),
        Refuses("rGText", tooLong.c_str(), "32768 characters, more than the 32767"),
    });
}

TEST(ControlFieldsTest, EveryValueReadsBackFromItsText) {
    ControlRecord record = MakeFullRecord(3);
    record.rType = ControlKind::BitmapButton;
    record.rHotKey = 34890;
    record.rColor = 0x00123456;
    record.rText = "Caf\xE9 \x81";
    record.rGText = "a\r\nb";
    for (const ControlField& field : ControlFields()) {
        SCOPED_TRACE(field.Name);
        const FieldValue value = FieldValueOf(field, record);
        const FieldParse again = ParseFieldValue(field, FieldText(field, record));
        ASSERT_TRUE(again.Value.has_value()) << again.Refusal;
        EXPECT_EQ(*again.Value, value);
    }
    const ControlField& key = *FindControlField("rHotKey");
    EXPECT_EQ(FieldValueText(key, {2097, {}}), "Alt+1");
    EXPECT_EQ(FieldValueText(key, {0, {}}), "");
    EXPECT_EQ(FieldValueText(key, {65535, {}}), "65535");
    EXPECT_EQ(FieldValueText(*FindControlField("rColor"), {255, {}}), "0x000000FF");
    EXPECT_EQ(FieldValueText(*FindControlField("rType"), {4, {}}), "Button");
    EXPECT_EQ(FieldValueText(*FindControlField("rType"), {42, {}}), "42");
}

TEST(ControlFieldsTest, NamesAreTheRecordsPlusTheSizes) {
    ASSERT_EQ(ControlFields().size(), 22u);
    EXPECT_EQ(FindControlField("rx1"), FindControlField("rX1"));
    EXPECT_EQ(FindControlField(" WIDTH "), &ControlFields()[20]);
    EXPECT_EQ(FindControlField("rFoo"), nullptr);
    EXPECT_EQ(FindControlField(""), nullptr);
    EXPECT_EQ(ControlFieldNames().substr(0, 16), "rFunction, rType");
    EXPECT_TRUE(ControlFieldNames().ends_with("rY2, Width, Height"));
}

TEST(ControlFieldsTest, ARectangleIsNeverTurnedInsideOut) {
    const auto field = [](const char* name) { return FindControlField(name); };
    struct Case {
        std::vector<std::pair<const char*, int64_t>> Set;
        const char* Refusal; // "" when applied
        std::array<int32_t, 4> Rect{};
    };
    // The control starts at 10,20 to 110,60.
    const Case cases[] = {
        {{{"rX1", 50}}, "", {50, 20, 110, 60}},
        {{{"rX1", 110}}, "", {110, 20, 110, 60}}, // no width is allowed
        {{{"rX1", 111}}, "the right edge (110) would lie left of the left edge (111)", {}},
        {{{"rY2", 19}}, "the bottom edge (19) would lie above the top edge (20)", {}},
        {{{"Width", 30}, {"Height", 5}}, "", {10, 20, 40, 25}},
        {{{"Width", -1}}, "the right edge (9) would lie left of the left edge (10)", {}},
        {{{"rX1", 200}, {"rX2", 300}}, "", {200, 20, 300, 60}}, // judged once both are in
        {{{"rX1", 2147483000}, {"Width", 1000}},
         "the right edge would lie at 2147484000, outside",
         {}},
        {{{"rFunction", 5}}, "", {10, 20, 110, 60}},
    };
    for (const Case& c : cases) {
        ControlRecord record = MakeControl(4, 1, 10, 20, 110, 60);
        const ControlRecord before = record;
        std::vector<std::pair<const ControlField*, FieldValue>> values;
        for (const auto& [name, number] : c.Set)
            values.push_back({field(name), FieldValue{number, {}}});
        const std::string refusal = ApplyFieldValues(record, values);
        SCOPED_TRACE(c.Set.front().first);
        if (*c.Refusal != '\0') {
            EXPECT_NE(refusal.find(c.Refusal), std::string::npos) << refusal;
            EXPECT_EQ(record, before);
        } else {
            EXPECT_EQ(refusal, "");
            EXPECT_EQ((std::array<int32_t, 4>{record.rX1, record.rY1, record.rX2, record.rY2}),
                      c.Rect);
        }
    }
    // An inverted rectangle the edit does not touch is left to the user.
    ControlRecord inverted = MakeControl(4, 1, 100, 20, 10, 60);
    EXPECT_EQ(ApplyFieldValue(inverted, *field("rText"), {0, "Go"}), "");
    EXPECT_EQ(ApplyFieldValue(inverted, *field("rY1"), {30, {}}), "");
    EXPECT_EQ(inverted.rText, "Go");
}

TEST(ControlFieldsTest, AChosenPictureIsSpeltAsTheLayoutSpellsItsPictures) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.File("korvo/NewPlasma"));
    fs::create_directories(dir.File("korvo/Other"));
    fs::create_directories(dir.File("elsewhere"));
    for (const char* file :
         {"korvo/NewPlasma/Back.png", "korvo/NewPlasma/Jog.png", "korvo/Other/Tab.bmp",
          "elsewhere/x.png", "korvo/NewPlasma/Caf\xC3\xA9.png"})
        std::ofstream(dir.File(file)) << "picture";
    const std::vector<std::string> folders{dir.File("korvo")};
    const std::vector<std::string> layout{"None", "Newplasma\\Back.png", "MillBitmaps\\gone.jpg"};

    const auto chosen = [&](const char* file) {
        return ChosenPicturePath(dir.File(file), folders, layout);
    };
    // Beside a picture the layout names: its folder as the layout spells it.
    EXPECT_EQ(chosen("korvo/NewPlasma/Jog.png").Value->Text, "Newplasma\\Jog.png");
    EXPECT_EQ(chosen("korvo/NewPlasma/Back.png").Value->Text, "Newplasma\\Back.png");
    EXPECT_EQ(chosen("korvo/NewPlasma/Caf\xC3\xA9.png").Value->Text, "Newplasma\\Caf\xE9.png");
    // Elsewhere in the folders: the path below the folder, with backslashes.
    EXPECT_EQ(chosen("korvo/Other/Tab.bmp").Value->Text, "Other\\Tab.bmp");
    const FieldParse outside = chosen("elsewhere/x.png");
    EXPECT_FALSE(outside.Value.has_value());
    EXPECT_NE(outside.Refusal.find("the host would not find it"), std::string::npos);
}

} // namespace
