// The tool under attack and in a user's hands: every command that writes a layout or another file
// follows one rule for links, permissions and read-only files; readers stop where the layout ends
// and refuse devices and endless text; nothing changed means nothing written; options that need a
// value refuse another option; messages quote at most 80 characters of a user's value; git's
// textconv and merge driver get what they need.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "FileSystemFaults.h"
#include "QuillRunner.h"

namespace {

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0u;
}

class FileRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.File("real"));
        std::filesystem::create_directories(dir.File("links"));
        json = dir.File("mill.json");
        ASSERT_EQ(Quill("to-text " + Quoted(Sample("mill.set")) + " -o " + Quoted(json), dir).Status,
                  0);
    }
    // The writing commands, each writing OUT (a fresh layout unlike `old`).
    std::vector<std::pair<std::string, std::string>> Writers() const {
        const std::string mill = Quoted(Sample("mill.set"));
        return {
            {"edit", "edit " + mill + " --record 1 --set rX1=77 -o OUT"},
            {"rescale", "rescale " + mill + " --from 1024x768 --to 2048x1536 -o OUT"},
            {"from-text", "from-text " + Quoted(json) + " -o OUT"},
            {"merge", "merge " + mill + " " + mill + " " + Quoted(Sample("lathe.lset")) + " -o OUT"},
            {"render", "render " + mill + " --screen 1 -o OUT"},
            {"bundle", "bundle " + mill + " -o OUT.zip"},
            {"to-text", "to-text " + mill + " -o OUT"},
        };
    }
    static std::string With(std::string command, const std::string& out) {
        const std::size_t at = command.find("OUT");
        const bool zip = command.compare(at, 7, "OUT.zip") == 0;
        return command.replace(at, zip ? 7 : 3, Quoted(out));
    }

    TempDir dir;
    std::string json;
    const std::string old = "old content";
};

TEST_F(FileRulesTest, EveryWriterFollowsALinkAndKeepsItsBackupBesideTheFile) {
    int n = 0;
    for (const auto& [name, command] : Writers()) {
        SCOPED_TRACE(name);
        const std::string target = dir.Write("real/t" + std::to_string(++n) + ".zip", old);
        const std::string link = dir.File("links/l" + std::to_string(n) + ".zip");
        ASSERT_TRUE(MakeSymbolicLink(target, link));
        const QuillResult run = Quill(With(command, link), dir);
        if (name == "bundle" && run.Err.find("folders only") != std::string::npos) continue;
        ASSERT_LE(run.Status, 1) << run.Err;
        EXPECT_TRUE(IsSymbolicLink(link));
        EXPECT_NE(ReadBytes(target), old);
        EXPECT_EQ(ReadBytes(target + ".bak"), old);
        EXPECT_FALSE(FileExists(link + ".bak"));

        // A dangling link: the file is made where it points, and no backup is kept.
        const std::string absent = dir.File("real/absent" + std::to_string(n) + ".zip");
        const std::string dangling = dir.File("links/d" + std::to_string(n) + ".zip");
        ASSERT_TRUE(MakeSymbolicLink(absent, dangling));
        const QuillResult made = Quill(With(command, dangling), dir);
        ASSERT_LE(made.Status, 1) << made.Err;
        EXPECT_TRUE(IsSymbolicLink(dangling));
        EXPECT_EQ(ReadBytes(absent), ReadBytes(target));
        EXPECT_FALSE(FileExists(absent + ".bak"));
    }
}

TEST_F(FileRulesTest, EveryWriterKeepsTheModeAndRefusesAReadOnlyFile) {
    int n = 0;
    for (const auto& [name, command] : Writers()) {
        SCOPED_TRACE(name);
        const std::string path = dir.Write("real/p" + std::to_string(++n) + ".zip", old);
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        const QuillResult run = Quill(With(command, path), dir);
        if (name == "bundle" && run.Err.find("folders only") != std::string::npos) continue;
        ASSERT_LE(run.Status, 1) << run.Err;
        EXPECT_EQ(ModeOf(path), 0600u);
        EXPECT_EQ(ModeOf(path + ".bak"), 0600u);

        const std::string locked = dir.Write("real/r" + std::to_string(n) + ".zip", old);
        ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
        const QuillResult refused = Quill(With(command, locked), dir);
        EXPECT_EQ(refused.Status, 2);
        std::vector<std::string> said = Lines(refused.Err);
        std::erase_if(said, [](const std::string& line) { return line.starts_with("quill: note:"); });
        EXPECT_EQ(said.size(), 1u) << refused.Err;
        EXPECT_NE(refused.Err.find("\"" + locked + "\""), std::string::npos) << refused.Err;
        EXPECT_NE(refused.Err.find("the file is read-only"), std::string::npos) << refused.Err;
        EXPECT_EQ(ReadBytes(locked), old);
        EXPECT_FALSE(FileExists(locked + ".bak"));
    }
}

TEST_F(FileRulesTest, ABundleLeavesOutAPictureLinkedFromOutsideItsFolders) {
    // A layout whose picture, in the layout's folder, is a link to a file elsewhere.
    const std::string folder = dir.File("skin");
    std::filesystem::create_directories(folder + "/pics");
    TempDir elsewhere;
    const std::string secret = elsewhere.Write("secret.png", "not a picture of the layout");
    const std::string inside = dir.Write("skin/pics/own.png", "own picture");
    ASSERT_TRUE(MakeSymbolicLink(secret, folder + "/pics/stolen.png"));
    ASSERT_TRUE(MakeSymbolicLink(inside, folder + "/pics/alias.png"));
    const std::string layout = folder + "/skin.set";
    std::vector<ControlRecord> records = ControlsOnScreens({0, 3});
    records[0].rBitMapPath = "pics\\stolen.png";
    records[1].rBitMapPath = "pics\\alias.png";
    records[2].rBitMapPath = "pics\\own.png";
    dir.Write("skin/skin.set", LayoutFileBytes(records));

    const QuillResult run = Quill("bundle " + Quoted(layout) + " -o " + Quoted(dir.File("out")), dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("\"pics\\stolen.png\" is not found"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("alias"), std::string::npos) << "a link within the folders is kept";
    std::vector<std::string> bundled;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.File("out")))
        if (entry.is_regular_file()) bundled.push_back(entry.path().filename().string());
    EXPECT_EQ(std::count(bundled.begin(), bundled.end(), "stolen.png"), 0);
    EXPECT_EQ(std::count(bundled.begin(), bundled.end(), "own.png"), 1);
    EXPECT_EQ(std::count(bundled.begin(), bundled.end(), "alias.png"), 1);
}

TEST_F(FileRulesTest, ReadersStopAtTheLayoutAndRefuseDevicesAndEndlessText) {
    const QuillResult device = Quill("info /dev/zero", dir);
    EXPECT_EQ(device.Status, 2);
    EXPECT_EQ(device.Err, "quill: Cannot read layout file \"/dev/zero\": it is a device, not a file\n");
    EXPECT_EQ(Quill("to-text /dev/urandom", dir).Status, 2);
    EXPECT_EQ(Quill("from-text /dev/zero -o " + Quoted(dir.File("z.set")), dir).Status, 2);

    // A valid layout with 400 MB after its trailer: read as the layout alone, at once.
    const std::string padded = dir.Write("padded.set", ReadBytes(Sample("mill.set")));
    ASSERT_EQ(::truncate(padded.c_str(), static_cast<off_t>(ReadBytes(padded).size() + (400 << 20))),
              0);
    const auto start = std::chrono::steady_clock::now();
    const QuillResult info = Quill("info " + Quoted(padded), dir);
    const QuillResult diff = Quill("diff " + Quoted(padded) + " " + Quoted(padded), dir);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(info.Status, 0) << info.Err;
    EXPECT_EQ(diff.Status, 0) << diff.Err;
#if !defined(__SANITIZE_ADDRESS__)
    // With the address space capped below the tail, a reader that read the file whole would fail.
    const std::string capped = "ulimit -v 250000; " + Quoted(QUILL_PROGRAM) + " diff " +
                               Quoted(padded) + " " + Quoted(padded) + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(capped.c_str()), 0);
#endif

    // Endless text through a pipe: refused at the limit, which the message names.
    const std::string fifo = dir.File("endless.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string err = dir.File("endless.txt");
    const std::string endless = "(cat /dev/zero > " + Quoted(fifo) + " 2>/dev/null &) ; " +
                                Quoted(QUILL_PROGRAM) + " from-text " + Quoted(fifo) + " -o " +
                                Quoted(dir.File("e.set")) + " 2>" + Quoted(err);
    const int status = std::system(endless.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
    EXPECT_NE(ReadBytes(err).find("it is larger than"), std::string::npos) << ReadBytes(err);
    EXPECT_NE(ReadBytes(err).find("32767 records"), std::string::npos) << ReadBytes(err);
    EXPECT_FALSE(FileExists(dir.File("e.set")));
}

TEST_F(FileRulesTest, NothingChangedMeansNothingWrittenExitOneAndOneLine) {
    const std::string mill = Quoted(Sample("mill.set"));
    const std::string copy = dir.Write("copy.set", ReadBytes(Sample("mill.set")));
    const std::string csv = dir.File("mill.csv");
    ASSERT_EQ(Quill("export-csv " + Quoted(copy) + " " + Quoted(csv), dir).Status, 0);
    const std::string x1 = [&] {
        const std::string line = Lines(Quill("controls " + mill + " --json", dir).Out)[0];
        const std::size_t at = line.find("\"rX1\": ") + 7;
        return line.substr(at, line.find(',', at) - at);
    }();
    const std::string out = dir.File("out.set");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"edit", "edit " + mill + " --record 1 --set rX1=" + x1 + " -o " + Quoted(out)},
        {"rescale", "rescale " + mill + " --from 1024x768 --to 1024x768 -o " + Quoted(out)},
        {"from-text", "from-text " + Quoted(json) + " -o " + Quoted(copy)},
        {"import-csv", "import-csv " + Quoted(csv) + " " + Quoted(dir.File("fromcsv.set"))},
        {"replace", "replace " + mill + " zzzqqq yyy -o " + Quoted(out)},
        {"relink", "relink " + mill + " zzzqqq yyy -o " + Quoted(out)},
    };
    // The CSV's own layout first, so that importing it again changes nothing.
    ASSERT_EQ(Quill(cases[3].second, dir).Status, 0);
    const std::string fromCsv = ReadBytes(dir.File("fromcsv.set"));
    std::filesystem::remove(dir.File("fromcsv.set.bak"));
    const std::string copyBytes = ReadBytes(copy);
    for (const auto& [name, command] : cases) {
        SCOPED_TRACE(name);
        const QuillResult run = Quill(command, dir);
        EXPECT_EQ(run.Status, 1) << run.Err;
        ASSERT_EQ(Lines(run.Out).size(), 1u) << run.Out;
        EXPECT_TRUE(run.Out.starts_with("Nothing changes: ")) << run.Out;
        EXPECT_NE(run.Out.find("nothing was written"), std::string::npos) << run.Out;
        EXPECT_FALSE(FileExists(out));
    }
    EXPECT_EQ(ReadBytes(copy), copyBytes);
    EXPECT_FALSE(FileExists(copy + ".bak"));
    EXPECT_EQ(ReadBytes(dir.File("fromcsv.set")), fromCsv);
    EXPECT_FALSE(FileExists(dir.File("fromcsv.set.bak")));
}

TEST_F(FileRulesTest, AnOptionIsNoValueAndLongValuesAreCut) {
    const std::string mill = Quoted(Sample("mill.set"));
    const struct {
        std::string Arguments, Message;
    } cases[] = {
        {"edit " + mill + " --record --set rX1=1 -o x.set",
         "quill: edit: option --record needs a value N[,M...], not the option \"--set\""},
        {"rescale " + mill + " --to -o x.set",
         "quill: rescale: option --to needs a value WxH, not the option \"-o\""},
        {"edit " + mill + " --record 1 --set rX1=1 -o --in-place",
         "option -o needs a value OUT, not the option \"--in-place\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const QuillResult run = Quill(c.Arguments, dir);
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_FALSE(FileExists("x.set"));
    }
    // A value of 32768 characters is quoted by its first 80.
    const std::string text(32768, 'W');
    const QuillResult run =
        Quill("edit " + mill + " --record 1 --set rText=" + text + " -o " + Quoted(dir.File("x.set")),
              dir);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("\"rText=" + std::string(74, 'W') + "\"..."), std::string::npos)
        << run.Err.substr(0, 200);
    EXPECT_LT(run.Err.size(), 400u);
    const QuillResult screen = Quill("render " + mill + " --screen " + text + " -o x.svg", dir);
    EXPECT_EQ(screen.Status, 2);
    EXPECT_LT(screen.Err.size(), 300u) << screen.Err.substr(0, 300);
}

TEST_F(FileRulesTest, GitSeesADamagedLayoutAsOneLineAndTheMergeDriverNamesTheLayout) {
    const std::string damaged = dir.Write("damaged.set", ReadBytes(Sample("mill.set")).substr(0, 500));
    const QuillResult plain = Quill("to-text " + Quoted(damaged), dir);
    EXPECT_EQ(plain.Status, 2);
    const QuillResult textconv = Quill("to-text --textconv " + Quoted(damaged), dir);
    EXPECT_EQ(textconv.Status, 0);
    EXPECT_EQ(Lines(textconv.Out).size(), 1u);
    EXPECT_TRUE(textconv.Out.starts_with("damaged layout: Cannot read layout file \"" + damaged +
                                         "\": it ends inside record"))
        << textconv.Out;

    const std::string ours = dir.Write(".merge_file_a1", ReadBytes(Sample("mill.set")));
    const QuillResult merge = Quill("merge " + Quoted(Sample("mill.set")) + " " + Quoted(ours) +
                                        " " + Quoted(damaged) + " -o " + Quoted(ours) +
                                        " --name screens/mill.set",
                                    dir);
    EXPECT_EQ(merge.Status, 2);
    EXPECT_NE(merge.Err.find("\"screens/mill.set\" (theirs)"), std::string::npos) << merge.Err;
    EXPECT_EQ(merge.Err.find(damaged), std::string::npos) << merge.Err;
}

} // namespace

#endif
