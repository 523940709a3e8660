// Button scripts as code: line ends of every kind kept through splitting and through an edit
// made with plain line breaks, the colouring of the macro language and of G-code, #expand lines
// and the file they include, and the exchange with a folder that changes only what changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "LayoutBuilders.h"
#include "scripts/LayoutScripts.h"
#include "scripts/ScriptLines.h"
#include "scripts/ScriptSyntax.h"

namespace {

const char* const Scripts[] = {
    "If GetDRO(0) > 1 Then\r\n  Call SetDRO(0,0)\r\nEnd If\r\n",
    "REM lone CR\r' a comment\rQuestion (\"Tool?\")\r",
    "mixed\r\nlines\rand\nends",
    "G0 X0 Y0\nM3 S1000\n",
    "no end at all",
    "",
    "\r\n\r\r\n\n",
};

TEST(ScriptLinesTest, EveryLineEndIsKeptThroughSplitAndThroughAnEditWithPlainBreaks) {
    struct Case {
        const char* Text;
        LineEnds Ends;
    } cases[] = {{Scripts[0], LineEnds::CrLf},
                 {Scripts[1], LineEnds::Cr},
                 {Scripts[2], LineEnds::Mixed},
                 {Scripts[3], LineEnds::Lf},
                 {Scripts[4], LineEnds::None}};
    for (const Case& c : cases)
        EXPECT_EQ(LineEndsOf(c.Text), c.Ends) << c.Text;
    for (const char* text : Scripts) {
        std::string joined;
        for (const ScriptLine& line : SplitScriptLines(text))
            joined += std::string(line.Text) + std::string(line.End);
        EXPECT_EQ(joined, text);
        EXPECT_EQ(WithLineEndsOf(text, WithNewlines(text)), text);
    }

    // Edits: a line changed keeps its end, a line added takes the commonest end, lines around
    // keep theirs.
    EXPECT_EQ(WithLineEndsOf("a\r\nb\rc\r\nd", "a\nB\nc\nd"), "a\r\nB\rc\r\nd");
    EXPECT_EQ(WithLineEndsOf("a\r\nb\rc\r\nd", "a\nb\nnew\nc\nd"), "a\r\nb\rnew\r\nc\r\nd");
    EXPECT_EQ(WithLineEndsOf("one\rtwo\r", "one\rtwo\nthree\n"), "one\rtwo\rthree\r");
    EXPECT_EQ(WithLineEndsOf("x\ry\r", "y\n"), "y\r");

    // Model: random edits of random scripts keep every untouched line's end.
    std::mt19937 random(7);
    const char* ends[] = {"\r\n", "\r", "\n"};
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines, lineEnds;
        std::string text;
        const int count = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) {
            lines.push_back("line" + std::to_string(i));
            lineEnds.push_back(ends[random() % 3]);
            text += lines.back() + lineEnds.back();
        }
        const std::size_t changed = random() % lines.size();
        std::string edited;
        for (std::size_t i = 0; i < lines.size(); ++i)
            edited += (i == changed ? "edited" : lines[i]) + "\n";
        std::string expected;
        for (std::size_t i = 0; i < lines.size(); ++i)
            expected += (i == changed ? "edited" : lines[i]) + lineEnds[i];
        EXPECT_EQ(WithLineEndsOf(text, edited), expected) << round;
    }
}

TEST(ScriptSyntaxTest, MacroAndGCodeLinesAreColouredByTheirParts) {
    using K = ScriptTokenKind;
    struct Case {
        const char* Line;
        ScriptLanguage Language;
        std::vector<ScriptToken> Tokens;
    } cases[] = {
        {"If x = 1.5 Then Call SetDRO(0,0) ' zero",
         ScriptLanguage::Macro,
         {{0, 2, K::Keyword},
          {7, 3, K::Number},
          {11, 4, K::Keyword},
          {16, 4, K::Keyword},
          {21, 6, K::HostFunction},
          {28, 1, K::Number},
          {30, 1, K::Number},
          {33, 6, K::Comment}}},
        {"Question (\"Say \"\"yes\"\"\") rem tail",
         ScriptLanguage::Macro,
         {{0, 8, K::HostFunction}, {10, 13, K::String}, {25, 8, K::Comment}}},
        {"REM whole line \"not a string\"", ScriptLanguage::Macro, {{0, 29, K::Comment}}},
        {"x = &HFF + remote", ScriptLanguage::Macro, {{4, 4, K::Number}}},
        {"\"open string", ScriptLanguage::Macro, {{0, 12, K::String}}},
        {"  #Expand <Macros\\probe.m1s>", ScriptLanguage::Macro, {{0, 28, K::Expand}}},
        {"N10 G01 X-1.5 (cut) M3 ; end",
         ScriptLanguage::GCode,
         {{0, 1, K::HostFunction},
          {1, 2, K::Number},
          {4, 3, K::Keyword},
          {8, 1, K::HostFunction},
          {9, 4, K::Number},
          {14, 5, K::Comment},
          {20, 2, K::Keyword},
          {23, 5, K::Comment}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScriptLineTokens(c.Line, c.Language), c.Tokens) << c.Line;

    EXPECT_EQ(ScriptLanguageOf("' comment\r\nG0 X0\r\n"), ScriptLanguage::GCode);
    EXPECT_EQ(ScriptLanguageOf("(start)\n%\n"), ScriptLanguage::GCode);
    EXPECT_EQ(ScriptLanguageOf("REM G0 X0\rCode \"G0 X0\"\r"), ScriptLanguage::Macro);
    EXPECT_EQ(ScriptLanguageOf("Go = 1"), ScriptLanguage::Macro);
    EXPECT_EQ(ScriptLanguageOf(""), ScriptLanguage::Macro);

    EXPECT_EQ(ExpandedPath("#expand <Macros\\a.m1s>"), "Macros\\a.m1s");
    EXPECT_EQ(ExpandedPath("#expand <>"), "");
    EXPECT_EQ(ExpandedPath("' #expand <a>"), "");
    EXPECT_TRUE(IsHostFunction("setdro"));
    EXPECT_TRUE(IsMacroKeyword("ELSEIF"));
}

TEST(ScriptFilesTest, ExportThenImportChangesOnlyWhatChangedByteForByte) {
    std::vector<ControlRecord> records;
    for (std::size_t i = 0; i < std::size(Scripts); ++i) {
        ControlRecord r = MakeControl(ControlKind::Button, static_cast<int32_t>(i % 3));
        r.rText = i == 1 ? "Zero X / Y" : "None";
        r.rGText = Scripts[i];
        records.push_back(r);
    }
    records.push_back(MakeControl(ControlKind::Button, 1)); // no script: "" is none
    records.back().rGText = "None\r\n";

    const ScriptExport exported = ExportScripts(records);
    ASSERT_EQ(exported.Files.size(), std::size(Scripts) - 2); // line breaks alone are no script
    EXPECT_EQ(exported.Files[1].Name, "screen01-record0002-Zero-X-Y.txt");
    EXPECT_EQ(exported.Files[0].Name, "screen00-record0001-Button.txt");
    std::map<std::string, std::string> folder;
    for (const ScriptFile& file : exported.Files) {
        EXPECT_EQ(file.Bytes,
                  records[static_cast<std::size_t>(std::stoi(file.Name.substr(15, 4)) - 1)].rGText);
        folder[file.Name] = file.Bytes;
    }
    const ScriptFileReader reader = [&folder](const std::string& name, std::string& bytes,
                                              std::string& reason) {
        const auto found = folder.find(name);
        if (found == folder.end()) {
            reason = "No such file or directory";
            return false;
        }
        bytes = found->second;
        return true;
    };

    // Unchanged: nothing to apply.
    ScriptImport imported = ImportScripts(records, exported.List, reader);
    EXPECT_EQ(imported.Refusal, "");
    EXPECT_TRUE(imported.Edit.Empty());
    EXPECT_EQ(imported.Listed, 5);

    // One file edited elsewhere with its lone CRs: exactly that record changes.
    folder["screen01-record0002-Zero-X-Y.txt"] = "REM lone CR\rCall SetDRO(1,0)\r";
    imported = ImportScripts(records, exported.List, reader);
    ASSERT_EQ(imported.Edit.Changed.size(), 1u);
    EXPECT_EQ(imported.Edit.Changed[0].first, 2);
    EXPECT_EQ(imported.Edit.Changed[0].second.rGText, "REM lone CR\rCall SetDRO(1,0)\r");
    EXPECT_EQ(imported.Text, "Import 1 script");

    // Refusals name the list's line.
    const std::string heading = "# heading\n";
    struct Case {
        std::string List;
        const char* Refusal;
    } cases[] = {
        {heading + "x.txt\t0\n",
         "scripts.list line 2: it is not a file name, a screen and a record separated by tabs"},
        {heading + "../x.txt\t0\t1\n",
         "scripts.list line 2: \"../x.txt\" is not a file of the folder"},
        {heading + "x.txt\t0\t99\n", "scripts.list line 2: the layout has no record 99"},
        {heading + "x.txt\t2\t1\n", "scripts.list line 2: record 1 is no script on screen 2: the "
                                    "layout has changed since the export"},
        {heading + "gone.txt\t0\t1\n",
         "scripts.list line 2: cannot read \"gone.txt\": No such file or directory"},
    };
    for (const Case& c : cases) {
        const ScriptImport refused = ImportScripts(records, c.List, reader);
        EXPECT_EQ(refused.Refusal, c.Refusal);
        EXPECT_TRUE(refused.Edit.Empty());
    }
}

TEST(ScriptFilesTest, AnExpandedFileIsFoundUnderTheFoldersInAnyLetterCase) {
    TempDir dir;
    TempDir other;
    std::filesystem::create_directories(dir.Path() + "/Macros/Probe");
    dir.Write("Macros/Probe/Edge.m1s", "Code \"G0\"\r\n");
    // Where letter case does not matter to the file system the path may come back as asked.
    const auto isEdge = [&](const std::string& found) {
        std::error_code error;
        return !found.empty() &&
               std::filesystem::equivalent(found, dir.Path() + "/Macros/Probe/Edge.m1s", error);
    };
    EXPECT_TRUE(isEdge(FindExpandedFile({other.Path(), dir.Path()}, "macros\\PROBE\\edge.M1S")));
    EXPECT_TRUE(isEdge(FindExpandedFile({dir.Path()}, "C:\\korvo\\Macros\\Probe\\Edge.m1s")));
    EXPECT_EQ(FindExpandedFile({dir.Path()}, "Macros\\missing.m1s"), "");
    EXPECT_EQ(FindExpandedFile({dir.Path()}, "Macros\\Probe"), ""); // a folder is no file
}

} // namespace
