// quill on layouts in other code pages and with screens beyond the host's 16, run as the built
// program: texts typed in UTF-8 are stored in the layout's code page byte for byte, find and
// replace work on its characters, the text form keeps every byte, info says which code page it
// read the texts in and why, and a screen beyond 15 is drawn.

#include <gtest/gtest.h>

#include "JsonReader.h"
#include "LayoutBuilders.h"
#include "QuillRunner.h"
#include "layout/HostCodes.h"

namespace {

// A generated layout whose labels are GBK bytes: "Z对刀" and "主轴速度".
std::vector<ControlRecord> GbkLayout() {
    std::vector<ControlRecord> records;
    for (const char* text : {"\x5A\xB6\xD4\xB5\xB6", "\xD6\xF7\xD6\xE1\xCB\xD9\xB6\xC8", "Start"}) {
        records.push_back(MakeControl(ControlKind::Button, 1));
        records.back().rText = text;
    }
    return records;
}

#ifndef _WIN32 // the test's command line there passes the system's code page, not UTF-8
TEST(CodePageCommandsTest, EditStoresTypedTextInTheChosenCodePage) {
    TempDir dir;
    const std::string in = dir.Write("in.set", LayoutFileBytes({MakeControl(ControlKind::Button, 1)}));
    const std::string out = dir.File("out.set");
    QuillResult run = Quill("edit " + Quoted(in) + " --codepage 936 --record 1 --set \"rText=Z对刀\" -o " +
                                Quoted(out),
                            dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Loaded written(out);
    EXPECT_EQ(written.Records()[0].rText, "\x5A\xB6\xD4\xB5\xB6");

    // Without the code page the layout reads as Windows-1252, which cannot hold the text.
    run = Quill("edit " + Quoted(in) + " --record 1 --set \"rText=Z对刀\" -o " + Quoted(out), dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("\"对\" (U+5BF9), which has no Windows-1252 byte"), std::string::npos)
        << run.Err;
    run = Quill("edit " + Quoted(in) + " --codepage 1251 --record 1 --set \"rText=对\" -o " +
                    Quoted(out),
                dir);
    EXPECT_NE(run.Err.find("which has no Windows-1251 byte"), std::string::npos) << run.Err;
    run = Quill("info " + Quoted(in) + " --codepage 65001", dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("--codepage \"65001\" is not a code page"), std::string::npos);
}

TEST(CodePageCommandsTest, FindAndReplaceWorkOnTheCharactersOfAGbkLayout) {
    TempDir dir;
    const std::string in = dir.Write("gbk.set", LayoutFileBytes(GbkLayout()));
    QuillResult run = Quill("find " + Quoted(in) + " 对刀 --json", dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"text\": \"Z对刀\""), std::string::npos) << run.Out;
    // "缘" is the bytes D4 B5, which lie across the two characters of "对刀": no match.
    run = Quill("find " + Quoted(in) + " " + Quoted("缘"), dir);
    EXPECT_EQ(run.Status, 1) << run.Out;

    const std::string out = dir.File("out.set");
    run = Quill("replace " + Quoted(in) + " 主轴 刀具 -o " + Quoted(out), dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Loaded written(out);
    EXPECT_EQ(written.Records()[1].rText, "\xB5\xB6\xBE\xDF\xCB\xD9\xB6\xC8"); // 刀具速度
    EXPECT_EQ(written.Records()[0].rText, "\x5A\xB6\xD4\xB5\xB6");
}

TEST(CodePageCommandsTest, TheTextFormKeepsTheBytesAndInfoSaysTheCodePage) {
    TempDir dir;
    std::vector<ControlRecord> records = GbkLayout();
    records[2].rText = "\xFF\x81"; // bytes GBK has no character for
    const std::string in = dir.Write("gbk.set", LayoutFileBytes(records));
    const std::string text = dir.File("gbk.json"), back = dir.File("back.set");
    QuillResult run = Quill("to-text " + Quoted(in) + " -o " + Quoted(text), dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string form = ReadBytes(text);
    EXPECT_NE(form.find("\"codepage\": 936"), std::string::npos);
    EXPECT_NE(form.find("Z对刀"), std::string::npos);
    run = Quill("from-text " + Quoted(text) + " -o " + Quoted(back), dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(back), ReadBytes(in));

    run = Quill("info " + Quoted(in) + " --json", dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"codepage\": 936, \"codepageFrom\": \"texts\""), std::string::npos)
        << run.Out;
    run = Quill("info " + Quoted(in) + " --json --codepage 950", dir);
    EXPECT_NE(run.Out.find("\"codepage\": 950, \"codepageFrom\": \"chosen\""), std::string::npos);
    run = Quill("info " + Quoted(in), dir);
    EXPECT_NE(run.Out.find("Texts in GBK (from the texts)"), std::string::npos) << run.Out;
}
#endif

TEST(CodePageCommandsTest, AScreenBeyondTheHostsSixteenIsRendered) {
    TempDir dir;
    std::vector<ControlRecord> records;
    records.push_back(MakeControl(ControlKind::Button, 0, 0, 0, 100, 30));
    records.push_back(MakeScreenLabel(21, "Far"));
    for (int k = 0; k < 3; ++k)
        records.push_back(MakeControl(ControlKind::Button, 21, 10 + 110 * k, 100, 100 + 110 * k, 140));
    const std::string in = dir.Write("far.set", LayoutFileBytes(records));
    const std::string svg = dir.File("far.svg");
    QuillResult run = Quill("render " + Quoted(in) + " --screen 21 -o " + Quoted(svg), dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Screen 21 \"Far\": 5 controls drawn.\n");
    const std::string drawn = ReadBytes(svg);
    for (int k = 2; k <= 5; ++k)
        EXPECT_NE(drawn.find("id=\"record-" + std::to_string(k) + "\""), std::string::npos) << k;
    run = Quill("render " + Quoted(in) + " --screen -1 -o " + Quoted(svg), dir);
    EXPECT_EQ(run.Status, 2);
}

} // namespace
