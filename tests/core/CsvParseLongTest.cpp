// Field texts as 32-bit numbers: blanks, sign, decimal part and exponent, halves to even, and the
// three-line message of a text that is no number or lies out of range.

#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "csv/CsvReader.h"

namespace {

struct Parsed {
    bool failed;
    int32_t value;
    std::vector<ShownBox> boxes;
};

Parsed Parse(const std::string& text) {
    ScriptedDialogs dialogs;
    dialogs.Answer(MsgAnswer::OK); // one box at most; an unused answer is consumed below
    int32_t value = 12345;
    bool failed = false;
    ParseCSVLong(dialogs, text, value, failed);
    if (!failed) dialogs.MsgBox("consume", MsgButtons::OK, MsgIcon::None);
    std::vector<ShownBox> boxes = dialogs.Shown();
    if (!failed) boxes.pop_back();
    return {failed, value, boxes};
}

TEST(CsvParseLong, AcceptsDecimalNumbersAndRoundsHalvesToEven) {
    const std::vector<std::pair<std::string, int32_t>> cases{{"1 ", 1},
                                                             {" -4096 ", -4096},
                                                             {"2.5", 2},
                                                             {"3.5", 4},
                                                             {"-2.5", -2},
                                                             {"-3.5", -4},
                                                             {"0.5", 0},
                                                             {"1.5", 2},
                                                             {"+7", 7},
                                                             {"2147483647", 2147483647},
                                                             {"-2147483648", -2147483647 - 1},
                                                             {"1e3", 1000},
                                                             {"2.5E+1", 25},
                                                             {"5.", 5},
                                                             {".5", 0},
                                                             {"1e-400", 0},
                                                             {"2147483647.4", 2147483647},
                                                             {"  0  ", 0}};
    for (const auto& [text, expected] : cases) {
        const Parsed p = Parse(text);
        EXPECT_FALSE(p.failed) << text;
        EXPECT_EQ(p.value, expected) << text;
        EXPECT_TRUE(p.boxes.empty()) << text;
    }
}

TEST(CsvParseLong, RefusesWhatIsNoNumberAndWhatIsOutOfRange) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "Type mismatch"},        {"abc", "Type mismatch"},   {"1 2", "Type mismatch"},
        {"1,5", "Type mismatch"},     {"--1", "Type mismatch"},   {"1e", "Type mismatch"},
        {"0x10", "Type mismatch"},    {"inf", "Type mismatch"},   {"nan", "Type mismatch"},
        {"\t1", "Type mismatch"},     {"3000000000", "Overflow"}, {"-2147483649", "Overflow"},
        {"2147483647.5", "Overflow"}, {"1e400", "Overflow"}};
    for (const auto& [text, reason] : cases) {
        const Parsed p = Parse(text);
        EXPECT_TRUE(p.failed) << text;
        EXPECT_EQ(p.value, 12345) << "the value is left as it was: " << text;
        ASSERT_EQ(p.boxes.size(), 1u) << text;
        EXPECT_EQ(p.boxes[0].prompt, "Error in number:\n" + text + "\n" + reason);
        EXPECT_EQ(p.boxes[0].icon, MsgIcon::None);
        EXPECT_EQ(p.boxes[0].title, "");
    }
}

} // namespace
