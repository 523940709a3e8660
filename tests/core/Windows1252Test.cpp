// Conversion between Windows-1252 bytes and UTF-8: every byte survives the round trip, characters
// without a byte are refused where they stand, and paths in messages show '?' for them.

#include <gtest/gtest.h>

#include "platform/FileAccess.h"
#include "platform/Windows1252.h"

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    std::string back;
    ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Windows1252, ConvertsTheBytesOfTheCodePage) {
    struct Case {
        std::string bytes, utf8;
    };
    const Case cases[] = {
        {"\xA7MDI", "\xC2\xA7MDI"},         // the screen-label mark
        {"\x80", "\xE2\x82\xAC"},           // the euro sign
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"}, // letters of Western languages
        {"\x81", "\xC2\x81"},               // an unassigned byte stands for its C1 control
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Windows1252ToUtf8(c.bytes), c.utf8);
        std::string bytes = "untouched";
        EXPECT_TRUE(Utf8ToWindows1252(c.utf8, bytes));
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(Windows1252, RefusesWhatTheCodePageCannotHoldAndSaysWhere) {
    struct Case {
        std::string utf8;
        std::size_t failedAt;
    };
    const Case cases[] = {
        {"ab\xCE\xA9", 2}, // a Greek capital omega has no byte
        {"x\xE2\x82", 1},  // a sequence cut short
        {"\xFFx", 0},      // a byte that starts no sequence
        {"ok\xC3(", 2},    // a lead byte without its continuation
    };
    for (const Case& c : cases) {
        std::string bytes = "untouched";
        std::size_t at = 99;
        EXPECT_FALSE(Utf8ToWindows1252(c.utf8, bytes, &at)) << c.utf8;
        EXPECT_EQ(at, c.failedAt) << c.utf8;
        EXPECT_EQ(bytes, "untouched");
    }
}

TEST(Windows1252, PathsInMessagesShowAQuestionMarkForCharactersWithoutAByte) {
    EXPECT_EQ(PathForMessage("/home/j\xC3\xBCrgen/mill.set"), "/home/j\xFCrgen/mill.set");
    EXPECT_EQ(PathForMessage("/tmp/\xCE\xA9\xCE\xA9/a\xE2\x82\xAC.set"), "/tmp/?"
                                                                         "?/a\x80.set");
    EXPECT_EQ(PathForMessage("/tmp/\xFF.set"), "/tmp/?.set");
}
