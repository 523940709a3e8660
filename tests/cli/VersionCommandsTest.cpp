// quill's version-control commands run as the built program: the text form both ways gives the
// bytes Save writes, refusals name the line and write nothing, diff and merge exit as diff does
// and say what they found, and outputs are replaced as Save replaces a file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "AgreeingDialogs.h"
#include "JsonReader.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "QuillRunner.h"
#include "layout/cLayout.h"

namespace {

using Outcome = QuillResult;

// The bytes Save writes for a layout file read by the document.
std::string SavedBytes(const std::string& path, const TempDir& dir) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    EXPECT_TRUE(layout.LoadLayout(path));
    EXPECT_TRUE(layout.SaveLayout(dir.File("saved.set")));
    return ReadBytes(dir.File("saved.set"));
}

class TextForm : public ::testing::TestWithParam<const char*> {
protected:
    TempDir Dir;
};

TEST_P(TextForm, ToTextAndBackGivesTheBytesSaveWrites) {
    const std::string layout = Sample(GetParam());
    const Outcome printed = Quill("to-text " + Quoted(layout), Dir);
    ASSERT_EQ(printed.Status, 0) << printed.Err;
    const std::string text = Dir.File("layout.json");
    ASSERT_EQ(Quill("to-text " + Quoted(layout) + " -o " + Quoted(text), Dir).Status, 0);
    EXPECT_EQ(ReadBytes(text), printed.Out);
    ASSERT_TRUE(JsonReader::Parse(printed.Out));

    const std::string out = Dir.File("out.set");
    const Outcome first = Quill("from-text " + Quoted(text) + " -o " + Quoted(out), Dir);
    ASSERT_EQ(first.Status, 0) << first.Err;
    EXPECT_EQ(ReadBytes(out), SavedBytes(layout, Dir));
    EXPECT_FALSE(FileExists(out + ".bak"));
    // Replacing a layout keeps the old one as NAME.bak.
    Dir.Write("out.set", "old");
    ASSERT_EQ(Quill("from-text " + Quoted(text) + " -o " + Quoted(out), Dir).Status, 0);
    EXPECT_EQ(ReadBytes(out + ".bak"), "old");
    EXPECT_EQ(ReadBytes(out), SavedBytes(layout, Dir));
}

INSTANTIATE_TEST_SUITE_P(Samples, TextForm, ::testing::Values("mill.set", "lathe.lset"));

TEST(VersionCommands, RefusalsSayWhyAndWriteNothing) {
    TempDir dir;
    const std::string out = dir.Write("out.set", "kept");
    const std::string bad = dir.Write("bad.json", "{\"format\": \"KorvoScreenQuill layout\",\n"
                                                  "\"version\": 1, \"records\": [\n{\"x\": 1}]}");
    const Outcome refused = Quill("from-text " + Quoted(bad) + " -o " + Quoted(out), dir);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_EQ(refused.Err, "quill: Cannot read layout text \"" + bad +
                               "\": line 3: \"x\" is not a field of a record; the fields are "
                               "rFunction to rY2; nothing was written\n");
    EXPECT_EQ(ReadBytes(out), "kept");
    EXPECT_FALSE(FileExists(out + ".bak"));

    const std::string damaged = dir.Write("damaged.set", "\x01\x00");
    const Outcome unreadable =
        Quill("diff " + Quoted(damaged) + " " + Quoted(Sample("mill.set")), dir);
    EXPECT_EQ(unreadable.Status, 2);
    EXPECT_EQ(unreadable.Err.rfind("quill: Cannot read layout file \"" + damaged +
                                       "\": it ends "
                                       "inside the record count",
                                   0),
              0u)
        << unreadable.Err;
    EXPECT_EQ(Quill("to-text " + Quoted(damaged), dir).Status, 2);

    const Outcome usage = Quill("from-text " + Quoted(bad), dir);
    EXPECT_EQ(usage.Status, 2);
    EXPECT_NE(usage.Err.find("needs -o LAYOUT"), std::string::npos);
}

TEST(VersionCommands, DiffSaysWhatChangedScreenByScreen) {
    TempDir dir;
    const ControlRecord label = MakeScreenLabel(0, "Main");
    ControlRecord jog = MakeControl(ControlKind::Button, 0);
    jog.rText = "Jog";
    ControlRecord start = MakeControl(ControlKind::Button, 0, 100, 10, 180, 30);
    start.rText = "Cycle Start";
    const ControlRecord dro = MakeDRO(1, 1, 10, 10);
    ControlRecord jogged = jog;
    jogged.rText = "Jog+";
    jogged.rX1 += 10, jogged.rX2 += 10;
    const std::string older =
        dir.Write("old.set", LayoutFileBytes({label, jog, dro}, {0, 0, 0, 1024}));
    const std::string newer =
        dir.Write("new.set", LayoutFileBytes({label, start, jogged}, {0, 0, 0, 1280}));

    const Outcome same = Quill("diff " + Quoted(older) + " " + Quoted(older), dir);
    EXPECT_EQ(same.Status, 0);
    EXPECT_EQ(same.Out, "");

    const Outcome lines = Quill("diff " + Quoted(older) + " " + Quoted(newer), dir);
    EXPECT_EQ(lines.Status, 1) << lines.Err;
    EXPECT_EQ(lines.Out, "screen 0 \"Main\":\n"
                         "  added record 2: Button \"Cycle Start\"\n"
                         "  changed record 2 -> 3: Button \"Jog+\": rText \"Jog\" -> \"Jog+\"; "
                         "rectangle (10,10)-(50,30) -> (20,10)-(60,30)\n"
                         "screen 1:\n"
                         "  removed record 3: DRO \"ctl\"\n"
                         "trailer: Trailer(4) 1024 -> 1280\n");

    const Outcome json = Quill("diff " + Quoted(older) + " " + Quoted(newer) + " --json", dir);
    EXPECT_EQ(json.Status, 1);
    std::vector<JsonValue> changes;
    std::istringstream in(json.Out);
    for (std::string line; std::getline(in, line);) {
        const std::optional<JsonValue> change = JsonReader::Parse(line);
        ASSERT_TRUE(change) << line;
        changes.push_back(*change);
    }
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0]["change"].Text, "added");
    EXPECT_EQ(changes[0]["old"].Type, JsonValue::Kind::Null);
    EXPECT_EQ(changes[0]["new"].Int(), 2);
    EXPECT_EQ(changes[1]["change"].Text, "changed");
    EXPECT_EQ(changes[1]["fields"]["rText"][0].Text, "Jog");
    EXPECT_EQ(changes[1]["fields"]["rText"][1].Text, "Jog+");
    EXPECT_EQ(changes[1]["fields"]["rX2"][1].Int(), 60);
    EXPECT_EQ(changes[2]["screen"].Int(), 1);
    EXPECT_EQ(changes[3]["change"].Text, "trailer");
    EXPECT_EQ(changes[3]["screen"].Type, JsonValue::Kind::Null);
    EXPECT_EQ(changes[3]["fields"]["Trailer(4)"][1].Int(), 1280);

    // git gives an empty file for a version that is not there.
    const std::string none = dir.Write("none.set", "");
    const Outcome added = Quill("diff " + Quoted(none) + " " + Quoted(older) + " --json", dir);
    EXPECT_EQ(added.Status, 1);
    EXPECT_EQ(std::count(added.Out.begin(), added.Out.end(), '\n'), 4);
}

TEST(VersionCommands, MergeWritesTheMergeAndListsConflicts) {
    TempDir dir;
    const std::vector<ControlRecord> base = SkinnedLayout();
    std::vector<ControlRecord> ours = base, theirs = base;
    ours[5].rHotKey = 2097;
    theirs[6].rText = "Theirs";
    const std::string basePath = dir.Write("base.set", LayoutFileBytes(base));
    const std::string oursPath = dir.Write("ours.set", LayoutFileBytes(ours));
    const std::string theirsPath = dir.Write("theirs.set", LayoutFileBytes(theirs));
    const std::string out = dir.Write("out.set", "old");
    const auto merge = [&](const std::string& output, const std::string& more = "") {
        return Quill("merge " + Quoted(basePath) + " " + Quoted(oursPath) + " " +
                         Quoted(theirsPath) + " -o " + Quoted(output) + more,
                     dir);
    };

    const Outcome clean = merge(out);
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(clean.Out, "Merged: theirs changed 1 control, added 0 and removed 0; no "
                         "conflicts.\n");
    std::vector<ControlRecord> both = ours;
    both[6].rText = "Theirs";
    EXPECT_EQ(ReadBytes(out), LayoutFileBytes(both));
    EXPECT_EQ(ReadBytes(out + ".bak"), "old");

    // An output that is BASE or THEIRS needs --in-place; OURS, as git's driver asks, does not,
    // and keeps no backup of it.
    EXPECT_EQ(merge(basePath).Status, 2);
    EXPECT_EQ(ReadBytes(basePath), LayoutFileBytes(base));
    theirs[5].rHotKey = 2098;
    dir.Write("theirs.set", LayoutFileBytes(theirs));
    const Outcome conflict = merge(oursPath);
    EXPECT_EQ(conflict.Status, 1) << conflict.Err;
    EXPECT_EQ(conflict.Out,
              "conflict screen 1 record 6: Label \"ctl\": rHotKey: base 0, ours 2097, theirs "
              "2098; ours kept\n"
              "Merged: theirs changed 1 control, added 0 and removed 0; 1 conflict, ours kept "
              "for each.\n");
    EXPECT_EQ(ReadBytes(oursPath), LayoutFileBytes(both));
    EXPECT_FALSE(FileExists(oursPath + ".bak"));
}

TEST(VersionCommands, HelpListsThem) {
    TempDir dir;
    const Outcome help = Quill("help", dir);
    for (const char* command : {"to-text", "from-text", "diff", "merge"})
        EXPECT_NE(help.Out.find(std::string("  ") + command + " "), std::string::npos) << command;
}

} // namespace
