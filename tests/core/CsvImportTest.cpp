// The CSV import: records counted in fields, the heading check, what a completed import leaves in
// the document, and a failing file leaving the document exactly as it was.

#include <gtest/gtest.h>

#include "CsvExamples.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

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
        EXPECT_EQ(cLayoutProbe::UndoKind(layout), UndoNone);
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
    for (int i = 0; i < 2000; ++i)
        content += CycleStartLine;
    EXPECT_TRUE(Import(content));
    EXPECT_EQ(layout.ControlCount(), 2000);

    cLayoutProbe::Adopt(layout, ControlsOnScreens({1}), "before.set");
    ExpectRefused(content + LineB, "Cannot import CSV file \"" + dir.File("in.csv") +
                                       "\": it holds more than 2000 records; a layout can hold "
                                       "at most 2000 records");
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
