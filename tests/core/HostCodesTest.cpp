// The host's codes read both ways: kind names, "None", key names and their codes (every named
// code comes back from its name), function keys, the screen range and what a record is to the
// host.

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "layout/HostCodes.h"

namespace {

TEST(HostCodesTest, KindNamesGoBothWays) {
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind) {
        const std::string name = KindName(kind);
        EXPECT_EQ(KindFromName(name), kind) << name;
        std::string shouted = name;
        for (char& c : shouted)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(KindFromName(" " + shouted + " "), kind) << shouted;
        EXPECT_EQ(KindFromName(std::to_string(kind)), kind);
        EXPECT_FALSE(std::string(KindStatisticsLabel(kind)).empty());
    }
    EXPECT_EQ(KindName(ControlKind::BitmapButton), "Bitmap button");
    EXPECT_EQ(KindName(42), "Kind 42");
    EXPECT_EQ(KindName(0), "Kind 0");
    EXPECT_EQ(std::string(KindStatisticsLabel(ControlKind::JogBall)), "  JogBalls");
    EXPECT_EQ(std::string(KindStatisticsLabel(12)), "");
    for (const char* refused :
         {"", "0", "12", "-1", "Kind 42", "Kind 4", "Buttons", "4x", "Bitmap  button"})
        EXPECT_FALSE(KindFromName(refused).has_value()) << refused;
}

TEST(HostCodesTest, NoneMeansNoTextOrPicture) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},          {"None", true},      {"NONE", true},
        {"none", true},      {" None\r\n", true}, {"   ", true},
        {"Nonel", false},    {"No ne", false},    {"x", false},
        {"None.jpg", false}, {"\tnOnE", true},    {"MillBitmaps\\None.png", false},
    };
    for (const auto& [text, none] : cases) {
        EXPECT_EQ(IsNoneText(text), none) << '"' << text << '"';
        EXPECT_EQ(NamesPicture(text), !none) << '"' << text << '"';
    }
}

TEST(HostCodesTest, KeyCodesOfRealLayoutsAndOurReadingOfTheOthers) {
    const std::pair<int32_t, const char*> cases[] = {
        {112, "F1"},
        {121, "F10"},
        {126, "F15"},
        {135, "F24"},
        {32, "Space"},
        {65, "A"},
        {13, "Enter"},
        {2097, "Alt+1"}, // 0x800 + '1', as real layouts hold it
        {2100, "Alt+4"},
        {34890, "Ctrl+Alt+J"}, // 0x8800 + 'J', as real layouts hold it
        {0x8000 + 'S', "Ctrl+S"},
        {0x400 + 'A', "Shift+A"},
        {0x8400 + 'O', "Ctrl+Shift+O"},
        {0x8C00 + 121, "Ctrl+Alt+Shift+F10"},
        {0x800 + 38, "Alt+Up"},
        {0x8000 + 107, "Ctrl+Num+"},
        {2048, "(2048)"}, // a modifier and no key
        {136, "(136)"},   // a key with no name
        {0x10000 + 65, "(65601)"},
        {0x8800 + 200, "(35016)"},
        {0, ""},
        {-1, ""},
        {-4096, ""},
        {65535, ""},
        {INT32_MIN, ""},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(HotKeyText(code), text) << code;
        EXPECT_EQ(IsNoKey(code), std::string(text).empty()) << code;
        if (*text) {
            EXPECT_EQ(HotKeyCode(text), code) << text;
        }
    }
}

TEST(HostCodesTest, EveryNamedKeyCodeComesBackFromItsName) {
    int named = 0;
    for (int32_t code = 1; code < 0x10400; ++code) {
        if (IsNoKey(code)) continue;
        const std::string text = HotKeyText(code);
        ASSERT_FALSE(text.empty()) << code;
        ASSERT_EQ(HotKeyCode(text), code) << text;
        named += text.front() != '(';
    }
    EXPECT_GE(named, 8 * (26 + 10 + LastFunctionKey))
        << "letters, digits and function keys under every modifier";
}

TEST(HostCodesTest, KeyNamesAsUsersTypeThem) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"alt+1", 2097},
        {" Alt + 1 ", 2097},
        {"shift+ctrl+o", 0x8400 + 'O'},
        {"Alt+Ctrl+j", 34890},
        {"f10", 121},
        {"(2048)", 2048},
        {"2097", 2097},
        {"1", '1'},
        {"(5)", 5},
        {"-1", -1},
        {"", 0},
        {"None", 0},
        {"num+", 107},
        {"Alt+", std::nullopt},
        {"Ctrl+Ctrl+A", std::nullopt},
        {"Hyper+A", std::nullopt},
        {"F0", std::nullopt},
        {"F25", std::nullopt},
        {"F01", std::nullopt},
        {"AB", std::nullopt},
        {"Alt+1+2", std::nullopt},
        {"()", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(HotKeyCode(text), code) << '"' << text << '"';
}

TEST(HostCodesTest, FunctionKeysAndScreens) {
    EXPECT_EQ(FunctionKeyCode(1), 112);
    EXPECT_EQ(FunctionKeyCode(15), 126);
    for (int32_t code : {111, 136, 0, -1, 0x800 + 112, INT32_MAX, INT32_MIN})
        EXPECT_EQ(FunctionKeyNumber(code), 0) << code;
    for (int n = 1; n <= LastFunctionKey; ++n)
        EXPECT_EQ(FunctionKeyNumber(FunctionKeyCode(n)), n);
    for (int64_t screen : {int64_t{-1}, int64_t{16}, int64_t{50}, int64_t{INT32_MIN}})
        EXPECT_FALSE(IsLayoutScreen(screen)) << screen;
    for (int64_t screen : {0, 1, 15})
        EXPECT_TRUE(IsLayoutScreen(screen)) << screen;
}

TEST(HostCodesTest, WhatARecordIsToTheHost) {
    const auto link = [](int32_t type, int32_t target, int32_t key = 0) {
        ControlRecord r = MakeControl(type, 1);
        r.rFunction = ScreenChangeFunction;
        r.rOEMCode = target;
        r.rHotKey = key;
        return r;
    };
    ControlRecord script = link(ControlKind::Button, 3);
    script.rFunction = 1000;
    struct Case {
        const char* what;
        ControlRecord record;
        bool link, toLayout, changeButton, functionKey;
    };
    const Case cases[] = {
        {"button link", link(ControlKind::Button, 3), true, true, true, false},
        {"bitmap button link", link(ControlKind::BitmapButton, 3), true, true, false, false},
        {"button to 15", link(ControlKind::Button, 15, 126), true, true, true, false},
        {"button to 216", link(ControlKind::Button, 216), true, false, true, false},
        {"button to -1", link(ControlKind::Button, -1, 112), true, false, true, false},
        {"F4 button to 3", link(ControlKind::Button, 3, 115), true, true, true, true},
        {"F16 button to 3", link(ControlKind::Button, 3, 127), true, true, true, false},
        {"Alt+F4 button to 3", link(ControlKind::Button, 3, 0x800 + 115), true, true, true, false},
        {"F4 bitmap button", link(ControlKind::BitmapButton, 3, 115), true, true, false, false},
        {"DRO of function 32", link(ControlKind::DRO, 3), false, false, false, false},
        {"script button", script, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsScreenLink(c.record), c.link);
        EXPECT_EQ(LinksToLayoutScreen(c.record), c.toLayout);
        EXPECT_EQ(LinkedScreen(c.record).has_value(), c.toLayout);
        EXPECT_EQ(IsScreenChangeButton(c.record), c.changeButton);
        EXPECT_EQ(IsFunctionKeyButton(c.record), c.functionKey);
        EXPECT_EQ(c.record.IsFunctionKeyButton(), c.functionKey);
    }

    ControlRecord label = MakeScreenLabel(2, "Offsets");
    EXPECT_TRUE(IsScreenLabel(label) && NamesScreen(label));
    EXPECT_EQ(ScreenLabelName(label), "Offsets");
    label.rLabel = std::string(1, ScreenLabelMark);
    EXPECT_TRUE(IsScreenLabel(label));
    EXPECT_FALSE(NamesScreen(label)) << "the mark alone names nothing";
    label.rType = ControlKind::Button;
    EXPECT_FALSE(IsScreenLabel(label));
    EXPECT_EQ(ScreenLabelName(label), "");
}

} // namespace
