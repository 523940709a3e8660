// The text form: every layout comes back byte for byte as Save writes it, the same layout always
// gives the same text, and every text a layout cannot come from is refused with its line.

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/LayoutFile.h"
#include "layout/cLayout.h"
#include "versioning/LayoutFiles.h"
#include "versioning/LayoutText.h"

namespace {

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

// What Save writes for a document holding the content.
std::string SavedBytes(const LayoutContent& layout) {
    AgreeingDialogs dialogs;
    cLayout document(dialogs);
    cLayoutProbe::Adopt(document, layout.Records);
    cLayoutProbe::SetTrailer(document, layout.Trailer);
    TempDir dir;
    EXPECT_TRUE(document.SaveLayout(dir.File("saved.set")));
    return ReadBytes(dir.File("saved.set"));
}

struct TextCase {
    const char* Name;
    LayoutContent Layout;
};

std::vector<TextCase> TextCases() {
    std::vector<TextCase> cases;
    cases.push_back({"empty", {}});

    ControlRecord bytes = MakeFullRecord(1);
    bytes.rText = AllBytes();
    bytes.rGText.assign(bytes.rText.rbegin(), bytes.rText.rend());
    bytes.rLabel = "\xA7Offsets \x80 \x81\x8D\x8F\x90\x9D \xFF";
    bytes.rFormat = std::string("a\0b", 3);
    cases.push_back({"every byte", {{bytes}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}});

    std::vector<ControlRecord> scripts = SkinnedLayout();
    scripts[3].rGText = "None\r\n";
    scripts[4].rGText = "If x = \"a\" Then\r\n\tDoOEMButton(1000)\r\nEnd If\r\n";
    cases.push_back({"scripts and a skinned layout", {scripts, {}}});

    ControlRecord longest = MakeFullRecord(2);
    for (std::string* text : {&longest.rText, &longest.rGText, &longest.rBitMapPath,
                              &longest.rLabel, &longest.rFormat}) {
        text->assign(static_cast<std::size_t>(MaxTextLength), 'x');
        for (std::size_t i = 0; i < text->size(); i += 97)
            (*text)[i] = static_cast<char>(i % 256);
    }
    cases.push_back({"texts of 32767 characters", {{longest}, {}}});

    ControlRecord extremes;
    for (const RecordField& field : RecordFields)
        if (!field.IsText()) extremes.*field.Number = INT32_MIN;
    extremes.rX2 = INT32_MAX;
    extremes.rHotKey = -4096; // what CD CD CD CD in a record reads as
    cases.push_back({"extreme numbers", {{extremes}, {INT32_MIN, INT32_MAX, -842150451}}});

    std::vector<ControlRecord> full;
    for (int i = 0; i < MaxControls; ++i)
        full.push_back(MakeFullRecord(i));
    cases.push_back({"the most records a layout holds", {full, {}}});
    return cases;
}

TEST(LayoutText, EveryLayoutComesBackAsSaveWritesIt) {
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.Name);
        const std::string text = LayoutToText(c.Layout);
        LayoutContent back;
        std::string error;
        ASSERT_TRUE(LayoutFromText(text, back, error)) << error;
        EXPECT_TRUE(back == c.Layout);
        EXPECT_EQ(LayoutToText(back), text); // stable
        EXPECT_EQ(LayoutFileBytesOf(back), SavedBytes(c.Layout));
    }
}

TEST(LayoutText, SamplesAndTheFillPatternComeBackAsSaveWritesThem) {
    TempDir dir;
    // A record Long holding the fill pattern reads as -4096; in the trailer it stays as it is.
    // The record's screen, its third Long, and the last trailer Long hold the pattern.
    std::string filled = LayoutFileBytes({MakeFullRecord(3)}, {0, 0, 0, 800, 600});
    filled.replace(4 + 8, 4, HexBytes("CD CD CD CD"));
    filled.replace(filled.size() - 4, 4, HexBytes("CD CD CD CD"));
    const std::vector<std::string> paths = {std::string(QUILL_SAMPLES_DIR) + "/mill.set",
                                            std::string(QUILL_SAMPLES_DIR) + "/lathe.lset",
                                            dir.Write("filled.set", filled)};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        LayoutContent layout;
        std::string failure;
        ASSERT_TRUE(ReadLayoutContent(path, layout, failure)) << failure;
        LayoutContent back;
        ASSERT_TRUE(LayoutFromText(LayoutToText(layout), back, failure)) << failure;
        AgreeingDialogs dialogs;
        cLayout document(dialogs);
        ASSERT_TRUE(document.LoadLayout(path));
        ASSERT_TRUE(document.SaveLayout(dir.File("saved.set")));
        EXPECT_EQ(LayoutFileBytesOf(back), ReadBytes(dir.File("saved.set")));
    }
}

TEST(LayoutText, RecordsAreWrittenOneWayOnly) {
    ControlRecord r = MakeScreenButton(0, 2, "Offsets", 113);
    r.rGText = "None\r\n";
    r.rLabel = "\xA7\x80\x81\"\\";
    EXPECT_EQ(RecordJsonLine(r, 7),
              "{\"record\": 7, \"rFunction\": 32, \"rType\": 4, \"rScreen\": 0, \"rText\": "
              "\"Offsets\", \"rGText\": \"None\\r\\n\", \"rBitMapPath\": \"\", \"rHoriz\": 0, "
              "\"rVert\": 0, \"rLabel\": \"\xC2\xA7\xE2\x82\xAC\\u0081\\\"\\\\\", \"rColor\": 0, "
              "\"rOEMCode\": 2, \"rHotKey\": 113, \"rFlash\": 0, \"rRedGreen\": 0, \"rFormat\": "
              "\"\", \"rTabGroup\": 0, \"rX1\": 10, \"rY1\": 10, \"rX2\": 50, \"rY2\": 30}");

    // Both forms read back, and a controls list is not a layout nor the other way round.
    ControlRecord back;
    int position = 0;
    std::string error;
    ASSERT_TRUE(RecordFromJson(RecordJsonLine(r, 7), back, position, error)) << error;
    EXPECT_EQ(back, r);
    EXPECT_EQ(position, 7);
    std::string block;
    AppendRecordJsonBlock(block, r, 9, "  ");
    ASSERT_TRUE(RecordFromJson(block, back, position, error)) << error;
    EXPECT_EQ(back, r);
    EXPECT_EQ(position, 9);

    const std::vector<ControlRecord> list = {r, MakeDRO(1, 2, 3, 4)};
    std::vector<ControlRecord> read;
    ASSERT_TRUE(ControlsFromText(ControlsToText(list), read, error)) << error;
    EXPECT_EQ(read, list);
    LayoutContent layout;
    EXPECT_FALSE(LayoutFromText(ControlsToText(list), layout, error));
    EXPECT_EQ(error, "line 2: this is not the text form of a layout: its first member is not "
                     "\"format\": \"KorvoScreenQuill layout\"");
    EXPECT_FALSE(ControlsFromText(LayoutToText({list, {}}), read, error));
    EXPECT_EQ(read, list);
}

std::string WithLine(const std::string& text, int line, const std::string& replacement) {
    std::istringstream in(text);
    std::string out;
    int n = 0;
    for (std::string l; std::getline(in, l);)
        out += (++n == line ? replacement : l) + "\n";
    return out;
}

TEST(LayoutText, RefusalsNameTheLine) {
    // Lines 5 to 27 hold the first record: "record" on 6, rText on 10, rVert on 14, rLabel on
    // 15, rX1 on 23; the trailer is on line 52.
    const LayoutContent layout{{MakeControl(4, 1), MakeControl(7, 2)}, {}};
    const std::string text = LayoutToText(layout);
    ASSERT_EQ(WithLine(text, 6, "      \"record\": 1,"), text);
    const std::string tooLong = "      \"rText\": \"" + std::string(32768, 'a') + "\",";
    const std::string deep(100000, '[');
    struct Refusal {
        std::string Text;
        std::string Error;
    } refusals[] = {
        {"\x01\x00\x00\x00", "line 1: this is not the text form of a layout: it does not start "
                             "with {\"format\": \"KorvoScreenQuill layout\""},
        {WithLine(text, 10, "      \"rText\": " + deep),
         "line 10: a text in double quotes should stand here"},
        {WithLine(text, 2, "  \"format\": \"other\","), "line 2: this is not the text form"},
        {WithLine(text, 3, "  \"version\": 2,"),
         "line 3: this text is of version 2 of the form; this program reads version 1"},
        {WithLine(text, 6, "      \"record\": 3,"),
         "line 5: the record numbered 3 stands at position 1"},
        {WithLine(text, 23, "      \"rX1\": 2147483648,"),
         "line 23: the value of \"rX1\", 2147483648, lies outside the 32-bit range"},
        {WithLine(text, 23, "      \"rX1\": -2147483649,"), "line 23: the value of \"rX1\", -2"},
        {WithLine(text, 23, "      \"rX1\": 123456789012345678901234,"),
         "line 23: the value of \"rX1\" lies outside the 32-bit range"},
        {WithLine(text, 23, "      \"rX1\": 1.5,"), "line 23: the value of \"rX1\" is not a whole"},
        {WithLine(text, 23, "      \"rX1\": 01,"), "line 23: a number does not start with 0"},
        {WithLine(text, 10, "      \"rText\": \"\\u2713\","),
         "line 10: \"rText\" holds the character U+2713, which has no Windows-1252 byte"},
        {WithLine(text, 10, "      \"rText\": \"ok \xE2\x9C\x93\","), "line 10: \"rText\" holds "
                                                                      "the character U+2713"},
        {WithLine(text, 10, "      \"rText\": \"\\u0080\","),
         "line 10: \"rText\" holds the character U+0080"},
        {WithLine(text, 10, "      \"rText\": \"\\ud83d\","), "line 10: a text holds half"},
        {WithLine(text, 10, "      \"rText\": \"\xFF\","), "line 10: a text holds bytes that are "
                                                           "not UTF-8"},
        {WithLine(text, 10, "      \"rText\": \"a\tb\","), "line 10: a text holds a control "
                                                           "character; write it as \\u0009"},
        {WithLine(text, 10, "      \"rText\": \"a"), "line 10: a text runs past the end of its "
                                                     "line"},
        {WithLine(text, 10, tooLong), "line 10: \"rText\" holds 32768 characters, more than the "
                                      "32767 a layout file can hold"},
        {WithLine(text, 10, "      \"rTxt\": \"a\","), "line 10: \"rTxt\" is not a field"},
        {WithLine(text, 10, "      \"rLabel\": \"a\","), "line 15: \"rLabel\" stands twice"},
        {WithLine(text, 14, ""), "line 27: record 1 has no \"rVert\""},
        {WithLine(text, 52, "  \"trailer\": [0, 0, 0, 0, 0, 0, 0, 0, 0]"),
         "line 52: the trailer should be 10 numbers; it has 9"},
        {text + "x", "line 54: something follows the end of the text"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.Error);
        LayoutContent read = layout;
        read.Trailer[0] = 99;
        const LayoutContent before = read;
        std::string error;
        EXPECT_FALSE(LayoutFromText(r.Text, read, error));
        EXPECT_EQ(error.substr(0, r.Error.size()), r.Error) << error;
        EXPECT_TRUE(read == before);
    }

    std::vector<ControlRecord> tooMany(static_cast<std::size_t>(MaxControls) + 1);
    LayoutContent read;
    std::string error;
    EXPECT_FALSE(LayoutFromText(LayoutToText({tooMany, {}}), read, error));
    EXPECT_EQ(error, "line " + std::to_string(5 + 23 * MaxControls) + ": there are more than " +
                         std::to_string(MaxControls) + " records; a layout holds at most " +
                         std::to_string(MaxControls));
}

} // namespace
