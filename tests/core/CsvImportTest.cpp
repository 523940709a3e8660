// The CSV import: records counted in fields, the heading check, what a completed import leaves in
// the document, and a failing file leaving the document exactly as it was.

#include <gtest/gtest.h>

#include "CsvExamples.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"
#include "platform/Windows1252.h"

using namespace std::string_literals;

namespace {

const std::string LineB = " 32 , 4 , 2 ,\"Go 3\",\"g\",\"b.bmp\", 1 , 2 ,\"lab\",-1 , 3 , 114 , 5 ,"
                          " 6 ,\"%f\", 7 , 8 , 9 , 10 , 11 \r\n";
const std::string Caution =
    "Beware - this operation does not handle text with double-quotes in it (for example most "
    "VBScript)";

ControlRecord RecordB() {
    ControlRecord r;
    r.rFunction = 32;
    r.rType = 4;
    r.rScreen = 2;
    r.rText = "Go 3";
    r.rGText = "g";
    r.rBitMapPath = "b.bmp";
    r.rHoriz = 1;
    r.rVert = 2;
    r.rLabel = "lab";
    r.rColor = -1;
    r.rOEMCode = 3;
    r.rHotKey = 114;
    r.rFlash = 5;
    r.rRedGreen = 6;
    r.rFormat = "%f";
    r.rTabGroup = 7;
    r.rX1 = 8;
    r.rY1 = 9;
    r.rX2 = 10;
    r.rY2 = 11;
    return r;
}

class CsvImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        layout.BindScreenList(list);
        cLayoutProbe::Adopt(layout, ControlsOnScreens({2, 0, 1}), "before.set");
        cLayoutProbe::SetTrailer(layout, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        layout.AppendControl(MakeControl(6, 5));
        layout.SetIsDirty(true);
    }

    // The document and what its list shows.
    std::pair<DocumentState, std::vector<std::vector<std::string>>> State() const {
        return {cLayoutProbe::State(layout), list.Rows};
    }

    // Imports the content after answering the caution box with OK; the extra answers are for
    // the messages the import is expected to show.
    bool Import(const std::string& content, int messages = 0) {
        path = dir.Write("in.csv", content);
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK, messages);
        return layout.ImportCSV(path);
    }

    void ExpectImported(const std::vector<ControlRecord>& records) {
        EXPECT_EQ(cLayoutProbe::Records(layout), records);
        EXPECT_EQ(layout.FileName(), path);
        EXPECT_FALSE(layout.IsDirty());
        EXPECT_EQ(layout.UndoText(), "");
        EXPECT_EQ(cLayoutProbe::Trailer(layout),
                  (std::array<int32_t, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))
            << "the layout keeps its own trailer";
        EXPECT_EQ(list.Rows.size(), 16u);
    }

    // Expects the import to fail after showing the given message, with nothing changed.
    void ExpectRefused(const std::string& content, const std::string& message) {
        const auto before = State();
        EXPECT_FALSE(Import(content, 1));
        ASSERT_EQ(dialogs.Shown().size(), 2u);
        EXPECT_EQ(dialogs.Shown()[1].prompt, message);
        EXPECT_TRUE(State() == before) << "a failed import changed the document";
    }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
    TempDir dir;
    std::string path;
};

TEST_F(CsvImportTest, CautionComesFirstAndCancelChangesNothing) {
    const auto before = State();
    path = dir.Write("in.csv", CsvHeadingLine + CycleStartLine);
    dialogs.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(layout.ImportCSV(path));
    EXPECT_EQ(dialogs.Last().prompt, Caution);
    EXPECT_EQ(dialogs.Last().title, "Caution!");
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OKCancel);
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
    EXPECT_TRUE(State() == before);
}

TEST_F(CsvImportTest, EmptyAndHeadingOnlyFilesGiveNoRecords) {
    EXPECT_TRUE(Import(""));
    ExpectImported({});
    EXPECT_EQ(dialogs.Shown().size(), 1u) << "only the caution box";
    EXPECT_TRUE(Import(CsvHeadingLine));
    ExpectImported({});
}

TEST_F(CsvImportTest, RecordsCountedInFieldsNotLines) {
    EXPECT_TRUE(Import(CsvHeadingLine + CycleStartLine + LineB));
    ExpectImported({CycleStartRecord(), RecordB()});

    // No final line break; blank lines and runs of CR and LF; a record split after a comma.
    std::string split = LineB;
    split.insert(split.find("\"lab\",") + 6, "\r\n\n\r");
    EXPECT_TRUE(Import(CsvHeadingLine + "\r\n\r\n" + CycleStartLine + "\n\n\r\r\n" + split +
                       CycleStartLine.substr(0, CycleStartLine.size() - 2)));
    ExpectImported({CycleStartRecord(), RecordB(), CycleStartRecord()});
}

TEST_F(CsvImportTest, SpreadsheetStyleCsvWithoutBlanksOrQuotes) {
    EXPECT_TRUE(Import("a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,s,t\n"
                       "32,4,2,Go 3,g,b.bmp,1,2,lab,-1,3,114,5,6,%f,7,8,9,10,11\n"
                       "1,4,0,Cycle Start,,,0,0,,0,0,0,0,0,,0,10,20,110,60"));
    ExpectImported({RecordB(), CycleStartRecord()});
}

TEST_F(CsvImportTest, TwentyFirstFieldStartsTheNextRecord) {
    std::string joined = CycleStartLine.substr(0, CycleStartLine.size() - 2) + ",";
    joined += " 32 , 4 , 2 ,\"Go 3\",\"g\",\"b.bmp\", 1 , 2 ,\"lab\",-1 , 3 , 114 , 5 , 6 ,\"%f\","
              " 7 , 8 , 9 , 10 \r\n 11 \r\n";
    EXPECT_TRUE(Import(CsvHeadingLine + joined));
    ExpectImported({CycleStartRecord(), RecordB()});
}

TEST_F(CsvImportTest, HeadingWithACommaTooManyIsReportedAndTheRecordsStillRead) {
    EXPECT_TRUE(
        Import(CsvHeadingLine.substr(0, CsvHeadingLine.size() - 2) + ",\r\n" + CycleStartLine, 1));
    EXPECT_EQ(dialogs.Shown()[1].prompt, "End of line expected after <rY2> in CSV heading");
    EXPECT_EQ(dialogs.Shown()[1].icon, MsgIcon::None);
    ExpectImported({CycleStartRecord()});
}

TEST_F(CsvImportTest, DuplicateLabelsAreReportedAfterAnImport) {
    EXPECT_TRUE(Import(CsvHeadingLine +
                           " 0 , 7 , 3 ,\"\",\"\",\"\", 0 , 0 ,\"\xA7Tools\", 0 , 0 , 0 , 0 , 0 ,"
                           "\"\", 0 , 0 , 0 , 0 , 0 \r\n"
                           " 0 , 7 , 3 ,\"\",\"\",\"\", 0 , 0 ,\"\xBATools2\", 0 , 0 , 0 , 0 , 0 ,"
                           "\"\", 0 , 0 , 0 , 0 , 0 \r\n",
                       1));
    EXPECT_EQ(dialogs.Shown()[1].prompt, "Screen #3 (Tools) has duplicate label: \xA7Tools2");
    EXPECT_EQ(cLayoutProbe::Screen(layout, 3).Label, "Tools");
}

TEST_F(CsvImportTest, FailingRecordsLeaveTheDocumentAsItWas) {
    ExpectRefused(CsvHeadingLine + CycleStartLine + " \r\n", "Error in number:\n\nType mismatch");
    ExpectRefused(CsvHeadingLine + CycleStartLine + " 1 , 4 , 0 ,\"Say \"\"hi\"\"\",",
                  "A comma was expected. "
                  "context is:\n<hi\"\"\","
                  "\0\0\0\0>"s);
    ExpectRefused(CsvHeadingLine + CycleStartLine + " 1 , 4 , 0 ,\"two\r\nlines\"",
                  "A close tilde was expected. context is:\n<\nlines\"\0\0\0>"s);
    ExpectRefused(CsvHeadingLine + CycleStartLine + " 1 , 4 , x",
                  "Error in number:\nx\nType mismatch");
    ExpectRefused(CsvHeadingLine + " 1 , 4 , 3000000000 ,",
                  "Error in number:\n3000000000 \nOverflow");
}

TEST_F(CsvImportTest, MoreRecordsThanALayoutHoldsAreRefused) {
    std::string content = CsvHeadingLine;
    for (int i = 0; i < MaxControls; ++i)
        content += CycleStartLine;
    EXPECT_TRUE(Import(content));
    EXPECT_EQ(layout.ControlCount(), MaxControls);

    cLayoutProbe::Adopt(layout, ControlsOnScreens({1}), "before.set");
    ExpectRefused(content + LineB, "Cannot import CSV file \"" + dir.File("in.csv") +
                                       "\": it holds more than 32767 records; a layout can hold "
                                       "at most 32767 records");
}

TEST_F(CsvImportTest, TextTooLongForALayoutFileIsRefused) {
    const std::string line =
        " 1 , 4 , 0 ,\"a\",\"" + std::string(32768, 'g') +
        "\",\"\", 0 , 0 ,\"\", 0 , 0 , 0 , 0 , 0 ,\"\", 0 , 1 , 2 , 3 , 4 \r\n";
    ExpectRefused(CsvHeadingLine + CycleStartLine + line,
                  "Cannot import CSV file \"" + dir.File("in.csv") +
                      "\": record 2 holds a text of 32768 characters, more than the 32767 a "
                      "layout file can hold");
}

// A spreadsheet saves the file again as UTF-8, with or without a byte-order mark. The texts hold
// the label mark, letters and signs above 127, the old mark byte 186, and a u with acute accent,
// whose UTF-8 form holds byte 186 too.
TEST_F(CsvImportTest, AFileSavedAgainAsUtf8ImportsAsTheExportedFileDoes) {
    std::vector<ControlRecord> records = SkinnedLayout();
    records.push_back(MakeScreenLabel(12, "R\xE9glages \x80"));
    records.push_back(MakeScreenButton(0, 12, "Men\xFA \xBA \xA9 \xFF", 113));
    records.back().rGText = "caf\xE9";
    records.back().rBitMapPath = "Bitmaps\\\xC4rger.bmp";
    records.back().rFormat = "%.3f \xB0";
    ControlRecord oldMark = MakeScreenLabel(13, "Sonde");
    oldMark.rLabel[0] = '\xBA';
    records.push_back(oldMark);
    records.push_back(MakeControl(1, 12));
    cLayout principal(dialogs);
    cLayoutProbe::Adopt(principal, records);
    const std::string exported = dir.File("exported.csv");
    dialogs.Answer(MsgAnswer::OK); // the scripts the file cannot carry
    ASSERT_TRUE(principal.ExportCSV(exported));
    const std::string windows1252 = ReadBytes(exported);

    ASSERT_TRUE(Import(windows1252));
    const auto expected = State();
    EXPECT_EQ(list.Rows[12][2], "R\xE9glages \x80");
    EXPECT_EQ(list.Rows[13][2], "Sonde");
    const std::string utf8 = Windows1252ToUtf8(windows1252);
    ASSERT_NE(utf8, windows1252);
    for (const std::string& saved : {utf8, "\xEF\xBB\xBF" + utf8}) {
        EXPECT_TRUE(Import(saved));
        EXPECT_EQ(dialogs.Shown().size(), 1u) << "only the caution box";
        EXPECT_TRUE(State() == expected) << saved.substr(0, 3);
    }
}

TEST_F(CsvImportTest, Utf8CharacterWithoutAWindows1252ByteIsRefusedNamingItsRecord) {
    const auto cannot = [this](const std::string& what) {
        return "Cannot import CSV file \"" + dir.File("in.csv") + "\": " + what;
    };
    const std::string noByte =
        ", which has no Windows-1252 byte and so cannot be stored in a layout";
    const std::string check =
        " 1 , 4 , 0 ,\"\xE2\x9C\x93 Done\",\"\",\"\", 0 , 0 ,\"\", 0 , 0 , 0 ,"
        " 0 , 0 ,\"\", 0 , 10 , 20 , 110 , 60 \r\n";
    const std::string minusInLastNumber =
        " 1 , 4 , 0 ,\"\xC3\xA9\",\"\",\"\", 0 , 0 ,\"\", 0 , 0 , 0 , 0 , 0 ,\"\", 0 , 10 , 20 , "
        "110 ,\xE2\x88\x92"
        "60 \r\n";
    const std::vector<std::pair<std::string, std::string>> cases{
        {CsvHeadingLine + CycleStartLine + check + LineB,
         cannot("record 2 holds the character U+2713" + noByte)},
        {"\xEF\xBB\xBF" + CsvHeadingLine + LineB + LineB + CycleStartLine + check,
         cannot("record 4 holds the character U+2713" + noByte)},
        {CsvHeadingLine + minusInLastNumber + LineB,
         cannot("record 1 holds the character U+2212" + noByte)},
        {CsvHeadingLine + " 1 , 4 , 0 ,\"\xF0\x9F\x98\x80\",\"\xC2\x80\"," + CycleStartLine,
         cannot("record 1 holds the character U+1F600" + noByte)},
        {CsvHeadingLine + LineB + " 1 , 4 , 0 ,\"\xC2\x80\"," + CycleStartLine,
         cannot("record 2 holds the character U+0080" + noByte)},
        {"\"rFunction \xE2\x9C\x93\"" + CsvHeadingLine.substr(11) + CycleStartLine,
         cannot("its heading holds the character U+2713" + noByte)},
        {"\xEF\xBB\xBF" + CsvHeadingLine + CycleStartLine + " 1 , 4 , 0 ,\"caf\xE9\",",
         cannot("record 2 holds bytes that are not UTF-8, though the file starts with the UTF-8 "
                "byte-order mark")},
    };
    for (const auto& [content, message] : cases)
        ExpectRefused(content, message);
}

TEST_F(CsvImportTest, AnyByteThatIsNotUtf8KeepsTheFileWindows1252) {
    const std::string line = " 1 , 4 , 0 ,\"Caf\xC3\xA9 \xE9\",\"\",\"\", 0 , 0 ,\"\xBA"
                             "a\", 0 ,"
                             " 0 , 0 , 0 , 0 ,\"\", 0 , 10 , 20 , 110 , 60 \r\n";
    EXPECT_TRUE(Import(CsvHeadingLine + line));
    ControlRecord expected = CycleStartRecord();
    expected.rText = "Caf\xC3\xA9 \xE9";
    expected.rLabel = "\xA7"
                      "a";
    ExpectImported({expected});
}

TEST_F(CsvImportTest, FileThatCannotBeReadIsRefused) {
    const auto before = State();
    for (const std::string& target :
         {dir.File("missing.csv"), dir.File("no/such/folder.csv"), dir.Path()}) {
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK, 2);
        EXPECT_FALSE(layout.ImportCSV(target));
        ASSERT_EQ(dialogs.Shown().size(), 2u);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(dialogs.Last().prompt.rfind("Cannot import CSV file \"" + target + "\": ", 0), 0u)
            << dialogs.Last().prompt;
        EXPECT_TRUE(State() == before);
    }
}

} // namespace
