// quill's commands for single controls, run as the built program: `edit` changes exactly the
// fields it sets, byte for byte, and refuses with one line and nothing written; `controls` lists
// what the document holds, as a table and as JSON lines that read back to the records.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "QuillRunner.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "versioning/LayoutText.h"

namespace {

using Outcome = QuillResult;

TEST(ControlCommandsTest, EditChangesOnlyTheFieldsSetByteForByte) {
    TempDir dir;
    const std::string sample = Sample("mill.set");
    const std::string original = ReadBytes(sample);
    Loaded layout(sample);

    // By record: 16 and 20, three fields.
    std::vector<ControlRecord> expected = layout.Records();
#ifdef _WIN32
    // The test's command line passes the system's code page there, not UTF-8.
    const std::string typed = "Cycle Start", stored = typed;
#else
    const std::string typed = "Cycle Start \xC2\xA7", stored = "Cycle Start \xA7";
#endif
    for (int position : {16, 20}) {
        ControlRecord& r = expected[static_cast<std::size_t>(position - 1)];
        r.rText = stored;
        r.rX1 = 100;
        r.rHotKey = 2097;
    }
    const std::string out = dir.File("out.set");
    Outcome run = Quill("edit " + Quoted(sample) + " --record 16,20 --set \"rText=" + typed +
                            "\" --set rX1=100 --set rhotkey=Alt+1 -o " + Quoted(out),
                        dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Set rText, rX1, rHotKey on 2 controls.\n");
    // The trailer and every other byte as they were.
    const std::string written = ReadBytes(out);
    EXPECT_EQ(written, LayoutFileBytes(expected, layout.Layout.FileTrailer()));
    EXPECT_EQ(written.substr(written.size() - 40), original.substr(original.size() - 40));

    // By screen and kind, through the sizes.
    expected = layout.Records();
    int chosen = 0;
    for (ControlRecord& r : expected) {
        if (r.rScreen != 0 || r.rType != ControlKind::Button) continue;
        r.rX2 = r.rX1 + 70;
        ++chosen;
    }
    ASSERT_GT(chosen, 1);
    run = Quill("edit " + Quoted(sample) + " --screen 0 --kind button --set Width=70 -o " +
                    Quoted(out),
                dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(out), LayoutFileBytes(expected, layout.Layout.FileTrailer()));
    EXPECT_TRUE(FileExists(out + ".bak")); // the first output, kept
    EXPECT_EQ(ReadBytes(sample), original);
}

TEST(ControlCommandsTest, EditRefusesWithOneLineAndWritesNothing) {
    TempDir dir;
    const std::string sample = Quoted(Sample("mill.set"));
    const std::string out = dir.File("out.set");
    struct Case {
        std::string Arguments;
        const char* Message;
    };
    const Case cases[] = {
        {"--record 16 --set rX1=abc", "quill: --set \"rX1=abc\": \"abc\" is not a whole number; "
                                      "nothing was written"},
        {"--record 16 --set rFlash=4294967296", "lies outside the 32-bit range"},
        {"--record 16 --set rFoo=1", "quill: --set \"rFoo=1\": \"rFoo\" is not a field of a control; "
                                     "the fields are rFunction, rType"},
#ifndef _WIN32
        {"--record 16 --set \"rText=OK \xE2\x9C\x93\"", "(U+2713), which has no Windows-1252 byte"},
#endif
        {"--record 16 --set rType=12", "\"12\" is not a kind of control"},
        {"--record 16 --set rHotKey=Alt+Foo", "\"Alt+Foo\" is not a key"},
        {"--record 16 --set rX2=0", "the right edge (0) would lie left of the left edge (598)"},
        {"--screen 0 --kind Button --set Height=-1", "control 10: the bottom edge (559) would lie "
                                                     "above the top edge (560)"},
        {"--record 97 --set rX1=1", "there is no record 97"},
        {"--screen 14 --set rX1=1", "no control lies on screen 14"},
        {"--record 16", "needs --set FIELD=VALUE"},
        {"--set rX1=1", "needs either --record N[,M...] or --screen N"},
        {"--record 1,x --set rX1=1", "is not a list of record numbers"},
        {"--record 16 --kind 4 --set rX1=1", "--kind chooses among the controls of --screen"},
        {"--screen 0 --kind Buttons --set rX1=1", "--kind \"Buttons\" is not a kind"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const Outcome run = Quill("edit " + sample + " " + c.Arguments + " -o " + Quoted(out), dir);
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        // The refusal is the one line of the tool's own; a note of the layout's may stand by it.
        int own = 0;
        for (const std::string& line : Lines(run.Err))
            own += line.rfind("quill: note: ", 0) != 0;
        EXPECT_EQ(own, 1) << run.Err;
        EXPECT_FALSE(FileExists(out));
    }
    // The input is replaced only when asked.
    const Outcome same = Quill("edit " + sample + " --record 1 --set rX1=1 -o " + sample, dir);
    EXPECT_EQ(same.Status, 2);
    EXPECT_NE(same.Err.find("add --in-place"), std::string::npos) << same.Err;
}

TEST(ControlCommandsTest, ControlsListsWhatTheDocumentHolds) {
    TempDir dir;
    for (const char* name : {"mill.set", "lathe.lset"}) {
        SCOPED_TRACE(name);
        const std::string sample = Sample(name);
        Loaded layout(sample);
        const std::vector<ControlRecord> records = layout.Records();

        Outcome run = Quill("controls " + Quoted(sample) + " --json", dir);
        ASSERT_EQ(run.Status, 0) << run.Err;
        const std::vector<std::string> lines = Lines(run.Out);
        ASSERT_EQ(lines.size(), records.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ControlRecord read;
            int position = 0;
            std::string error;
            ASSERT_TRUE(RecordFromJson(lines[i], read, position, error)) << error;
            EXPECT_EQ(position, static_cast<int>(i) + 1);
            EXPECT_EQ(read, records[i]);
        }

        // The table: a heading, then the buttons of screen 1 in record order.
        run = Quill("controls " + Quoted(sample) + " --screen 1 --kind 4", dir);
        ASSERT_EQ(run.Status, 0) << run.Err;
        const std::vector<std::string> rows = Lines(run.Out);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0].rfind("Record  Screen", 0), 0u) << rows[0];
        std::vector<int> listed, wanted;
        for (std::size_t k = 1; k < rows.size(); ++k)
            listed.push_back(std::stoi(rows[k]));
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].rScreen == 1 && records[i].rType == ControlKind::Button)
                wanted.push_back(static_cast<int>(i) + 1);
        EXPECT_EQ(listed, wanted);
        for (std::size_t k = 1; k < rows.size(); ++k)
            EXPECT_NE(rows[k].find("Button"), std::string::npos) << rows[k];
    }
}

} // namespace
