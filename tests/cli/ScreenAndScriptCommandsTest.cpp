// quill's commands that make screens and exchange scripts, run as the built program:
// add-screen on a skinned layout gives the same records as the Screen menu's edit and leaves
// nothing for the check to find; refusals write nothing; duplicate-screen's copy links to itself;
// scripts of every line end go out to files and back byte for byte, and an unchanged folder
// writes nothing.

#include <gtest/gtest.h>

#include <filesystem>

#include "LayoutBuilders.h"
#include "QuillRunner.h"
#include "check/LayoutCheck.h"
#include "editing/NewScreens.h"
#include "layout/HostCodes.h"

namespace {

TEST(ScreenCommandsTest, AddScreenMakesTheEditsChangeAndTheCheckFindsNothingOfIt) {
    TempDir dir;
    const std::string input = dir.Write("skin.set", LayoutFileBytes(SkinnedLayout()));
    const std::string output = dir.File("out.set");

    const QuillResult done = Quill(
        Quoted(input) + " --label \"Tool Changer\" --tabs-on 1,2,3 -o " + Quoted(output), dir);
    // The command's name comes first.
    EXPECT_EQ(done.Status, 2) << done.Err;
    const QuillResult added =
        Quill("add-screen " + Quoted(input) + " --label \"Tool Changer\" --tabs-on 1,2,3 -o " +
                  Quoted(output),
              dir);
    ASSERT_EQ(added.Status, 0) << added.Err;
    const std::vector<std::string> lines = Lines(added.Out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Added screen 10 \"Tool Changer\" with 3 links to it:");

    Loaded read(output);
    const std::vector<ControlRecord> before = SkinnedLayout();
    NewScreenRequest request{"Tool Changer", {}, std::vector<int32_t>{1, 2, 3}, {}};
    const NewScreenPlan plan = NewScreenEdit(before, request);
    std::vector<ControlRecord> expected = before;
    for (const auto& [position, record] : plan.Edit.Inserted)
        expected.insert(expected.begin() + (position - 1), record);
    EXPECT_EQ(read.Records(), expected);
    EXPECT_EQ(read.Layout.Screens()[10].Label, "Tool Changer");

    CheckOptions options;
    options.PictureFound = [](const std::string&) { return true; };
    for (const Finding& f : CheckLayout(read.Layout, options))
        EXPECT_TRUE(f.Code != CheckCode::LinkToEmptyScreen && f.Code != CheckCode::KeyClash &&
                    !(f.Code == CheckCode::UnreachableScreen && f.Screen == 10))
            << f.Message;

    // A refusal writes nothing and says why.
    const std::string taken = dir.File("taken.set");
    const QuillResult refused =
        Quill("add-screen " + Quoted(input) + " --label mdi -o " + Quoted(taken), dir);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_NE(refused.Err.find("Screen 2 is named \"MDI\" already; nothing was written"),
              std::string::npos)
        << refused.Err;
    EXPECT_FALSE(FileExists(taken));
#ifndef _WIN32
    // The label is stored in the layout's code page.
    const std::string cyrillic = dir.File("cyrillic.set");
    const QuillResult named = Quill(
        "add-screen " + Quoted(input) +
            " --label \"\xD0\x97\xD0\xBE\xD0\xBD\xD0\xB4\" --codepage 1251 -o " + Quoted(cyrillic),
        dir);
    ASSERT_EQ(named.Status, 0) << named.Err;
    EXPECT_EQ(Lines(named.Out)[0],
              "Added screen 10 \"\xD0\x97\xD0\xBE\xD0\xBD\xD0\xB4\" with 9 links to it:");
    EXPECT_EQ(Loaded(cyrillic).Layout.Screens()[10].Label, "\xC7\xEE\xED\xE4");
#endif
    const QuillResult badKey =
        Quill("add-screen " + Quoted(input) + " --label X --key Alt+Q+Q -o " + Quoted(taken), dir);
    EXPECT_EQ(badKey.Status, 2);
    EXPECT_FALSE(FileExists(taken));
}

TEST(ScreenCommandsTest, DuplicateScreenLinksTheCopyToItself) {
    TempDir dir;
    std::vector<ControlRecord> records = {MakeScreenLabel(1, "Run"), MakeScreenButton(1, 1, "Run"),
                                          MakeScreenButton(1, 2, "Other"),
                                          MakeScreenLabel(2, "Other")};
    const std::string input = dir.Write("in.set", LayoutFileBytes(records));
    const std::string output = dir.File("out.set");
    const QuillResult copied =
        Quill("duplicate-screen " + Quoted(input) + " --screen 1 --label \"Run 2\" --to 7 -o " +
                  Quoted(output),
              dir);
    ASSERT_EQ(copied.Status, 0) << copied.Err;
    EXPECT_EQ(copied.Out, "Copied screen 1 to screen 7 \"Run 2\" (3 records).\n");
    Loaded read(output);
    ASSERT_EQ(read.Records().size(), 7u);
    EXPECT_EQ(read.Records()[4].rLabel, "\xA7Run 2");
    EXPECT_EQ(read.Records()[5].rOEMCode, 7);
    EXPECT_EQ(read.Records()[6].rOEMCode, 2);

    const QuillResult refused = Quill("duplicate-screen " + Quoted(input) +
                                          " --screen 5 --label X -o " + Quoted(dir.File("x.set")),
                                      dir);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_FALSE(FileExists(dir.File("x.set")));
}

} // namespace

namespace {

// Scripts with CR LF, lone CR and mixed line ends, on the screens of a layout file.
std::vector<ControlRecord> ScriptedLayout() {
    const char* scripts[] = {"If GetDRO(0) > 1 Then\r\n  Call SetDRO(0,0)\r\nEnd If\r\n",
                             "REM lone CR\r' a comment\rQuestion (\"Tool?\")\r",
                             "#expand <Macros\\probe.m1s>\r\nmixed\rends\n", "G0 X0\r\n"};
    std::vector<ControlRecord> records;
    for (int i = 0; i < 4; ++i) {
        ControlRecord r = MakeControl(ControlKind::Button, i, 10, 10, 60, 40);
        r.rText = "Button " + std::to_string(i);
        r.rGText = scripts[i];
        records.push_back(r);
        records.push_back(MakeControl(ControlKind::LED, i)); // no script
    }
    return records;
}

TEST(ScriptCommandsTest, ExportAndImportKeepEveryByteAndAnUnchangedFolderWritesNothing) {
    TempDir dir;
    const std::vector<ControlRecord> records = ScriptedLayout();
    const std::string input = dir.Write("in.set", LayoutFileBytes(records));
    const std::string folder = dir.File("scripts");

    const QuillResult exported =
        Quill("scripts " + Quoted(input) + " --export " + Quoted(folder), dir);
    ASSERT_EQ(exported.Status, 0) << exported.Err;
    EXPECT_EQ(exported.Out, "Wrote 4 scripts to \"" + folder + "\", listed in scripts.list.\n");
    EXPECT_EQ(ReadBytes(folder + "/screen01-record0003-Button-1.txt"), records[2].rGText);
    EXPECT_EQ(ReadBytes(folder + "/screen02-record0005-Button-2.txt"), records[4].rGText);
    EXPECT_EQ(Lines(ReadBytes(folder + "/scripts.list")).size(), 5u);

    // Unchanged: status 1, nothing written.
    const std::string output = dir.File("out.set");
    QuillResult imported = Quill(
        "scripts " + Quoted(input) + " --import " + Quoted(folder) + " -o " + Quoted(output), dir);
    EXPECT_EQ(imported.Status, 1) << imported.Err;
    EXPECT_EQ(imported.Out,
              "Nothing changes: the 4 scripts listed hold what the layout holds; nothing was "
              "written.\n");
    EXPECT_FALSE(FileExists(output));

    // One edited with lone CRs and one with mixed ends: exactly those change, byte for byte.
    const std::string edited1 = "REM lone CR\rCall SetDRO(1,0)\r";
    const std::string edited2 = "#expand <Macros\\probe.m1s>\r\nmixed\r\nends\r";
    dir.Write("scripts/screen01-record0003-Button-1.txt", edited1);
    dir.Write("scripts/screen02-record0005-Button-2.txt", edited2);
    imported = Quill(
        "scripts " + Quoted(input) + " --import " + Quoted(folder) + " -o " + Quoted(output), dir);
    ASSERT_EQ(imported.Status, 0) << imported.Err;
    EXPECT_EQ(imported.Out, "Imported 2 changed scripts of the 4 listed.\n");
    std::vector<ControlRecord> expected = records;
    expected[2].rGText = edited1;
    expected[4].rGText = edited2;
    EXPECT_EQ(Loaded(output).Records(), expected);

    // A second export replaces the first one's files; a folder of other files is refused.
    EXPECT_EQ(Quill("scripts " + Quoted(output) + " --export " + Quoted(folder), dir).Status, 0);
    EXPECT_EQ(ReadBytes(folder + "/screen01-record0003-Button-1.txt"), edited1);
    std::filesystem::create_directories(dir.File("other"));
    dir.Write("other/notes.txt", "mine");
    const QuillResult refused =
        Quill("scripts " + Quoted(input) + " --export " + Quoted(dir.File("other")), dir);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(ReadBytes(dir.File("other/notes.txt")), "mine");
}

} // namespace
