// quill's commands that make screens, run as the built program: add-screen on a skinned layout
// gives the same records as the Screen menu's edit and leaves nothing for the check to find;
// refusals write nothing; duplicate-screen's copy links to itself.

#include <gtest/gtest.h>

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
