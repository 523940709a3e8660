// The layout's code page: each supported code page converts its own characters both ways, every
// byte and every pair of bytes survives the crossing, characters without bytes are refused where
// they stand, and the code page of generated layouts in each language is found from their texts.

#include <gtest/gtest.h>

#include <random>

#include "LayoutBuilders.h"
#include "platform/CodePages.h"
#include "tools/CodePageDetection.h"
#include "versioning/LayoutFiles.h"

namespace {

std::string Encoded(const std::string& utf8, int codePage) {
    std::string bytes;
    EXPECT_TRUE(Utf8ToCodePage(utf8, bytes, codePage)) << utf8 << " in " << codePage;
    return bytes;
}

TEST(CodePages, EachCodePageConvertsItsOwnCharactersBothWays) {
    struct Case {
        int codePage;
        std::string bytes, utf8;
    };
    const Case cases[] = {
        {1252, "\x80\xE9", "€é"},
        {1252, "\x81", "\xC2\x81"}, // unassigned: the C1 control of the same value
        {1250, "\xB9\x9C\xB3", "ąśł"},
        {1251, "\xC0\xFF", "Ая"},
        {1253, "\xC1\xF9", "Αω"},
        {1253, "\xAA", "\xC2\xAA"}, // unassigned above 0x9F: still its own value
        {1254, "\xF0\xFD", "ğı"},
        {1255, "\xE0\xFA", "את"},
        {1256, "\xC7\xE1", "ال"},
        {1257, "\xE0\xD0", "ąŠ"},
        {1258, "\xD0\xEC", "Đ\xCC\x81"},
        {874, "\xA1\xD2", "กา"},
        {932, "\x82\xA0\xB1", "あｱ"},
        {936, "\x5A\xB6\xD4\xB5\xB6", "Z对刀"},
        {936, "\x80", "€"},
        {936, "\xFF", "\xC3\xBF"},                 // no character: kept as U+00FF
        {936, "\xB7", "\xF4\x8F\xBE\xB7"},         // a lead byte alone; U+00B7 is GBK's "·"
        {949, "\xBF\xF8\xC1\xA1", "원점"},
        {950, "\xA5\x44\xB6\x62", "主軸"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.utf8);
        EXPECT_EQ(CodePageToUtf8(c.bytes, c.codePage), c.utf8);
        std::string bytes = "untouched";
        EXPECT_TRUE(Utf8ToCodePage(c.utf8, bytes, c.codePage));
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(CodePages, EveryByteAndEveryPairSurvivesTheCrossingInEveryCodePage) {
    std::string singles, pairs;
    for (int b = 1; b < 256; ++b)
        singles.push_back(static_cast<char>(b));
    for (int lead = 0x80; lead < 256; ++lead)
        for (int trail = 1; trail < 256; ++trail) {
            pairs.push_back(static_cast<char>(lead));
            pairs.push_back(static_cast<char>(trail));
        }
    std::mt19937 random(31);
    std::uniform_int_distribution<int> byte(1, 255);
    for (const int codePage : SupportedCodePages()) {
        SCOPED_TRACE(codePage);
        std::vector<std::string> texts{singles, pairs, "\xB6", "a\xFF", "\x81\x20"};
        for (int n = 0; n < 200; ++n) {
            std::string text(static_cast<std::size_t>(1 + n % 12), ' ');
            for (char& c : text)
                c = static_cast<char>(byte(random));
            texts.push_back(text);
        }
        for (const std::string& text : texts) {
            std::string back;
            ASSERT_TRUE(Utf8ToCodePage(CodePageToUtf8(text, codePage), back, codePage));
            ASSERT_EQ(back, text);
        }
    }
}

TEST(CodePages, RefusesWhatTheCodePageCannotHoldAndSaysWhere) {
    struct Case {
        int codePage;
        std::string utf8;
        std::size_t failedAt;
    };
    const Case cases[] = {
        {1252, "Z对刀", 1},   {1251, "abΩ", 2}, {936, "x원", 1},
        {949, "ok\xC3(", 2}, {932, "\xFFx", 0}, {950, "원x", 0},
    };
    for (const Case& c : cases) {
        std::string bytes = "untouched";
        std::size_t at = 99;
        EXPECT_FALSE(Utf8ToCodePage(c.utf8, bytes, c.codePage, &at)) << c.utf8;
        EXPECT_EQ(at, c.failedAt) << c.utf8;
        EXPECT_EQ(bytes, "untouched");
    }
    EXPECT_EQ(Utf8CharacterAt("x对", 1), "对");
}

TEST(CodePageDetection, FindsTheCodePageOfGeneratedLayoutsInEachLanguage) {
    struct Case {
        int codePage;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {1252, {"Vitesse réglée", "Größe", "Drehzahl für Spindel", "Zéro pièce"}},
        {1250, {"Prędkość wrzeciona", "Posuw", "Zatrzymać", "Włącz chłodzenie"}},
        {1251, {"Скорость шпинделя", "Подача", "Сброс", "Охлаждение"}},
        {1253, {"Ταχύτητα άξονα", "Πρόωση", "Επαναφορά", "Ψύξη"}},
        {1254, {"Mil hızı", "Soğutma", "Başlat", "Sıfırla"}},
        {1255, {"מהירות ציר", "הזנה", "איפוס"}},
        {1256, {"سرعة المغزل", "تغذية", "إعادة ضبط"}},
        {1257, {"Ašies greitis", "Pastūma", "Aušinimas"}},
        // Tone marks as the code page writes them, after their letter (U+0301, U+0323, U+0300).
        {1258,
         {"T\u00F4\u0301c \u0111\u00F4\u0323 tru\u0323c chi\u0301nh", "La\u0300m ma\u0301t",
          "D\u01B0\u0300ng"}},
        {874, {"ความเร็วแกน", "ป้อน", "หยุด"}},
        {932, {"原点復帰", "主軸速度", "リセット"}},
        {936, {"Z对刀", "主轴速度", "冷却"}},
        {949, {"원점 복귀", "주축 속도", "냉각"}},
        {950, {"主軸速度", "原點", "冷卻"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        std::vector<ControlRecord> records;
        for (const std::string& text : c.texts) {
            ControlRecord record = MakeControl(2, 0);
            record.rText = Encoded(text, c.codePage);
            records.push_back(record);
        }
        const DetectedCodePage found = DetectCodePage(records);
        EXPECT_EQ(found.CodePage, c.codePage);
        EXPECT_EQ(found.From, CodePageRule::Texts);
    }

    // The samples, Western layouts with screen labels, section marks and degree signs.
    for (const char* sample : {"mill.set", "lathe.lset"}) {
        LayoutContent layout;
        std::string failure;
        ASSERT_TRUE(ReadLayoutContent(std::string(QUILL_SAMPLES_DIR) + "/" + sample, layout,
                                      failure))
            << failure;
        EXPECT_EQ(DetectCodePage(layout.Records).CodePage, 1252) << sample;
    }

    std::vector<ControlRecord> plain{MakeControl(2, 0)};
    plain[0].rText = "Cycle Start";
    EXPECT_EQ(DetectCodePage(plain), (DetectedCodePage{1252, CodePageRule::Default}));
    EXPECT_EQ(CodePageCaption(DetectCodePage(plain)), "Windows-1252 (no text needs another)");
    plain[0].rText = "\x5A\xB6\xD4\xB5\xB6";
    EXPECT_EQ(CodePageCaption(DetectCodePage(plain)), "GBK (from the texts)");
    EXPECT_EQ(DetectCodePage(plain, 1251), (DetectedCodePage{1251, CodePageRule::Chosen}));
    EXPECT_EQ(DetectCodePage(plain, 1234).From, CodePageRule::Texts); // not a code page we know
}

} // namespace
