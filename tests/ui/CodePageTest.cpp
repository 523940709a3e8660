// The crossing between the records' Windows-1252 bytes and Qt's text.

#include <gtest/gtest.h>

#include "ui/widgets/CodePage.h"

namespace {

TEST(CodePage, ShowsTheCodePagesOwnCharacters) {
    EXPECT_EQ(FromCodePage("\xA7"
                           "Diagnostics"),
              QString::fromUtf8("\u00A7Diagnostics"));
    EXPECT_EQ(FromCodePage("\x80\x85\x8A\x99\x9F\xFC"),
              QString::fromUtf8("\u20AC\u2026\u0160\u2122\u0178\u00FC"));
    EXPECT_EQ(FromCodePage(std::string("a\0b", 3)).size(), 3);
}

TEST(CodePage, EveryByteComesBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString shown = FromCodePage(all);
    EXPECT_EQ(shown.size(), 256);
    std::string back;
    ASSERT_TRUE(ToCodePage(shown, back));
    EXPECT_EQ(back, all);
}

TEST(CodePage, RefusesCharactersWithoutAByteAndNamesTheFirst) {
    std::string bytes = "kept";
    QString offending;
    EXPECT_FALSE(
        ToCodePage(QString::fromUtf8("Stra\u00DFe \u0142\u00F3d\u017A"), bytes, &offending));
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(offending, QString::fromUtf8("\u0142"));

    EXPECT_FALSE(ToCodePage(QString::fromUtf8("ok \U0001F600"), bytes, &offending));
    EXPECT_EQ(offending, QString::fromUtf8("\U0001F600")) << "a surrogate pair is one character";

    ASSERT_TRUE(ToCodePage(QString::fromUtf8("\u20AC 5 \u00A7"), bytes));
    EXPECT_EQ(bytes, "\x80 5 \xA7");
}

TEST(CodePage, TheLayoutsOwnCodePageIsReadAndWritten) {
    EXPECT_EQ(FromCodePage("\x5A\xB6\xD4\xB5\xB6", 936), QString::fromUtf8("Z对刀"));
    std::string bytes;
    ASSERT_TRUE(ToCodePage(QString::fromUtf8("Z对刀"), bytes, nullptr, 936));
    EXPECT_EQ(bytes, "\x5A\xB6\xD4\xB5\xB6");
    QString offending;
    EXPECT_FALSE(ToCodePage(QString::fromUtf8("Z对刀"), bytes, &offending, 1251));
    EXPECT_EQ(offending, QString::fromUtf8("对"));
}

TEST(CodePage, PathsStayTheSystemsUtf8) {
    const std::string path = "/home/\xC5\x82ukasz/\xE2\x82\xAC.set"; // "łukasz", "€" in UTF-8
    EXPECT_EQ(FromSystemPath(path), QString::fromUtf8("/home/\u0142ukasz/\u20AC.set"));
    EXPECT_EQ(ToSystemPath(FromSystemPath(path)), path);
}

} // namespace
