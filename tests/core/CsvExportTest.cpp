// The CSV export: the heading, the number and text formats byte for byte, and what it does when
// there is nothing to write or the file cannot be written.

#include <gtest/gtest.h>

#include <algorithm>

#include "CsvExamples.h"
#include "FileSizeLimit.h"
#include "FileSystemFaults.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "csv/CsvExportLosses.h"
#include "layout/StepTexts.h"
#include "layout/cLayout.h"

namespace {

class CsvExportTest : public ::testing::Test {
protected:
    // The file's content after exporting these records; `lossy` when the export is expected to
    // warn that it could not write everything as it is.
    std::string Export(const std::vector<ControlRecord>& records, bool lossy = false) {
        cLayoutProbe::Adopt(layout, records);
        const std::string path = dir.File("out.csv");
        dialogs.ClearShown();
        if (lossy) dialogs.Answer(MsgAnswer::OK);
        EXPECT_TRUE(layout.ExportCSV(path));
        EXPECT_EQ(dialogs.Shown().size(), lossy ? 1u : 0u);
        return ReadBytes(path);
    }
    // The line of one record, without its heading.
    std::string Line(const ControlRecord& record, bool lossy = false) {
        const std::string file = Export({record}, lossy);
        EXPECT_EQ(file.substr(0, CsvHeadingLine.size()), CsvHeadingLine);
        return file.substr(CsvHeadingLine.size());
    }

    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
    TempDir dir;
};

TEST_F(CsvExportTest, WorkedLinesByteForByte) {
    EXPECT_EQ(Line(CycleStartRecord()),
              " 1 , 4 , 0 ,\"Cycle Start\",\"\",\"\", 0 , 0 ,\"\", 0 , 0 , "
              "0 , 0 , 0 ,\"\", 0 , 10 , 20 , 110 , 60 \r\n");

    ControlRecord home = CycleStartRecord();
    home.rText = "Go \"Home\"";
    home.rGText = "line one\r\nline two";
    home.rColor = -1;
    EXPECT_EQ(Line(home, true),
              " 1 , 4 , 0 ,\"Go ~Home~\",\"<-complex code->\",\"\", 0 , 0 ,\"\",-1 , "
              "0 , 0 , 0 , 0 ,\"\", 0 , 10 , 20 , 110 , 60 \r\n");
}

TEST_F(CsvExportTest, EveryNumberFieldInOrderOverTheWholeRange) {
    ControlRecord r = MakeFullRecord(3); // Longs 301..315 in field order
    r.rFunction = -2147483647 - 1;
    r.rY2 = 2147483647;
    r.rText = r.rGText = r.rBitMapPath = r.rLabel = r.rFormat = "";
    EXPECT_EQ(Line(r), "-2147483648 , 302 , 303 ,\"\",\"\",\"\", 304 , 305 ,\"\", 306 , 307 , "
                       "308 , 309 , 310 ,\"\", 311 , 312 , 313 , 314 , 2147483647 \r\n");
}

TEST_F(CsvExportTest, TextRulesPerField) {
    ControlRecord r = CycleStartRecord();
    r.rText = "a\"b, c";
    r.rGText = "a\"b";
    r.rBitMapPath = "a\"b";
    r.rLabel = "\xA7x\"y";
    r.rFormat = "%d, \"";
    const std::string line = Line(r, true);
    EXPECT_NE(line.find(",\"a~b, c\",\"<-complex code->\",\"a\"b\","), std::string::npos) << line;
    EXPECT_NE(line.find(",\"\xA7x~y\","), std::string::npos) << line;
    EXPECT_NE(line.find(",\"%d, \"\","), std::string::npos) << line;

    r = CycleStartRecord();
    r.rGText = "only a CR\r";
    EXPECT_NE(Line(r, true).find("\"<-complex code->\""), std::string::npos);
    r.rGText = "LF\n";
    EXPECT_NE(Line(r, true).find("\"<-complex code->\""), std::string::npos);
    r.rGText = "plain, 'single' quotes";
    EXPECT_NE(Line(r).find("\"plain, 'single' quotes\""), std::string::npos);

    r = CycleStartRecord();
    r.rText = "two\r\nlines";
    EXPECT_NE(Line(r, true).find("\"two\r\nlines\""), std::string::npos)
        << "written across two lines";
}

TEST_F(CsvExportTest, WhatTheFileCannotCarryIsCountedInOneWarningAfterWriting) {
    // A skinned layout's scripts are "None" plus a line break; a few texts hold quotes and breaks.
    std::vector<ControlRecord> records = SkinnedLayout();
    const auto scripts = std::count_if(records.begin(), records.end(), [](const ControlRecord& r) {
        return r.rGText == "None\r\n";
    });
    ControlRecord r = CycleStartRecord();
    r.rGText = "If x = \"a\" Then";
    r.rText = "Go \"Home\"";
    r.rLabel = "two\nlines \"and\" quotes";
    r.rBitMapPath = "a\"b.bmp\r\n";
    r.rFormat = "%d \"";
    records.push_back(r);
    r = CycleStartRecord();
    r.rText = "caption\r";
    r.rBitMapPath = "c:\\\"pictures\"";
    records.push_back(r);
    cLayoutProbe::Adopt(layout, records);

    const std::string path = dir.File("lossy.csv");
    dialogs.Answer(MsgAnswer::OK);
    EXPECT_TRUE(layout.ExportCSV(path)) << "the export still succeeds";
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().prompt,
              std::to_string(scripts + 1) +
                  " scripts were written as <-complex code->, 2 texts had their double quotes "
                  "turned into ~, 3 texts hold line breaks this file cannot carry back, 2 picture "
                  "paths or formats hold double quotes this file cannot carry back; importing this "
                  "file will not restore them");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_NE(ReadBytes(path).find(" 1 , 4 , 0 ,\"caption\r\",\"\",\"c:\\\"pictures\"\", 0 ,"),
              std::string::npos)
        << "written as it is";
}

TEST(CsvExportLossWarning, NamesOnlyTheCountsThatAreNotZero) {
    const std::string end = "; importing this file will not restore them";
    const std::vector<std::pair<CsvExportLosses, std::string>> cases{
        {{}, ""},
        {{978, 0, 0, 0}, "978 scripts were written as <-complex code->" + end},
        {{0, 1, 0, 0}, "1 texts had their double quotes turned into ~" + end},
        {{0, 0, 4, 0}, "4 texts hold line breaks this file cannot carry back" + end},
        {{0, 0, 0, 2},
         "2 picture paths or formats hold double quotes this file cannot carry back" + end},
        {{5, 0, 7, 0},
         "5 scripts were written as <-complex code->, 7 texts hold line breaks this file cannot "
         "carry back" +
             end},
    };
    for (const auto& [losses, warning] : cases) {
        EXPECT_EQ(CsvExportLossWarning(losses), warning);
        EXPECT_EQ(losses.Any(), !warning.empty());
    }
}

TEST_F(CsvExportTest, OneLinePerRecordAfterTheHeading) {
    const std::string one = Export({CycleStartRecord()});
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 2);
    EXPECT_EQ(one.substr(one.size() - 2), "\r\n");

    std::vector<ControlRecord> records;
    for (int i = 0; i < 50; ++i)
        records.push_back(MakeFullRecord(i));
    const std::string many = Export(records);
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 51);
}

TEST_F(CsvExportTest, ExportChangesNothingInTheLayout) {
    cLayoutProbe::Adopt(layout, {CycleStartRecord(), MakeScreenLabel(0, "Main")});
    layout.AppendControl(MakeControl(1, 2));
    layout.SetIsDirty(true);
    const auto records = cLayoutProbe::Records(layout);
    ASSERT_TRUE(layout.ExportCSV(dir.File("x.csv")));
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
    EXPECT_TRUE(layout.IsDirty());
    EXPECT_EQ(layout.UndoText(), StepText::Append);
    EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), 1);
}

TEST_F(CsvExportTest, EmptyLayoutIsRefusedAndNoFileWritten) {
    dialogs.Answer(MsgAnswer::OK);
    const std::string path = dir.File("none.csv");
    EXPECT_FALSE(layout.ExportCSV(path));
    EXPECT_EQ(dialogs.Last().prompt, "No Layout is loaded. Export abandoned");
    EXPECT_EQ(dialogs.Last().title, "Export fails");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_FALSE(FileExists(path));
}

TEST_F(CsvExportTest, ReplacesAnExistingFileWhole) {
    const std::string path = dir.Write("old.csv", std::string(10000, 'x'));
    cLayoutProbe::Adopt(layout, {CycleStartRecord()});
    ASSERT_TRUE(layout.ExportCSV(path));
    EXPECT_EQ(ReadBytes(path).substr(0, CsvHeadingLine.size()), CsvHeadingLine);
    EXPECT_LT(ReadBytes(path).size(), 1000u);
}

TEST_F(CsvExportTest, WriteThatFailsLeavesTheOldFile) {
    std::vector<ControlRecord> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(MakeFullRecord(i));
    cLayoutProbe::Adopt(layout, records);
    const std::string path = dir.Write("keep.csv", "previous export\r\n");
    const auto expectFailure = [&](const std::string& target, const std::string& reason) {
        dialogs.ClearShown();
        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.ExportCSV(target));
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(dialogs.Last().prompt, "Cannot write CSV file \"" + target + "\": " + reason);
    };
    if (FileSizeLimit::Supported) {
        FileSizeLimit limit(2048);
        expectFailure(path, "File too large");
    }
    expectFailure(dir.Path(), FolderReason());
    expectFailure(dir.File("missing/out.csv"), MissingFolderReason());
    EXPECT_EQ(ReadBytes(path), "previous export\r\n");
}

} // namespace
