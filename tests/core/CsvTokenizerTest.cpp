// The CSV tokenizer: what each field delivers, how it ends, what is read next, and the messages of
// its two syntax errors with their context.

#include <gtest/gtest.h>

#include <random>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "csv/CsvFields.h"
#include "csv/CsvReader.h"

namespace {

const std::string Nul(1, '\0');

struct FieldCase {
    const char* name;
    std::string input;
    std::string text; // delivered text; "unchanged" cases expect the previous content
    CSVFieldEnd status;
    int next;            // the character the following read delivers; -1 for none checked
    bool nextAtEnd;      // the following read finds the end of the input
    std::string message; // "" when no message is expected
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

class CsvFieldTable : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFieldTable, DeliversTextStatusAndNextCharacter) {
    const FieldCase& c = GetParam();
    ScriptedDialogs dialogs;
    if (!c.message.empty()) dialogs.Answer(MsgAnswer::OK);
    CSVReaderState reader(dialogs, c.input);
    ResetCSVReader(reader);

    std::string text = "previous";
    CSVFieldEnd status = CSVEndComma;
    ReadCSVField(reader, text, status);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(text, c.status == CSVEndError ? "previous" : c.text);
    if (c.message.empty()) {
        EXPECT_TRUE(dialogs.Shown().empty());
    } else {
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Last().prompt, c.message);
        EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
        EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
        EXPECT_EQ(dialogs.Last().title, "");
    }
    if (c.next >= 0) {
        const unsigned char next = ReadCSVChar(reader);
        EXPECT_EQ(next, c.next);
        EXPECT_EQ(reader.AtEnd, c.nextAtEnd);
    }
}

const std::string CloseTilde = "A close tilde was expected. context is:\n<";
const std::string Comma = "A comma was expected. context is:\n<";

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, CsvFieldTable,
    ::testing::Values(
        FieldCase{"BlanksAroundANumber", " 12 , 7", "12 ", CSVEndComma, ' ', false, ""},
        FieldCase{"QuotedCommaAndBlank", "\"a, b\" ,7", "a, b", CSVEndComma, '7', false, ""},
        FieldCase{"QuotedThenEmptyQuoted", "\"Cycle Start\",\"\",", "Cycle Start", CSVEndComma, '"',
                  false, ""},
        FieldCase{"EmptyQuoted", "\"\",x", "", CSVEndComma, 'x', false, ""},
        FieldCase{"LoneComma", ",x", "", CSVEndComma, 'x', false, ""},
        FieldCase{"LineBreaksPushBack", "abc\r\n\r\nd", "abc", CSVEndLine, 'd', false, ""},
        FieldCase{"LastFieldWithBlank", "-4096 \r\n", "-4096 ", CSVEndLine, 0, true, ""},
        FieldCase{"LastFieldAtEnd", "7", "7", CSVEndLine, 0, true, ""},
        FieldCase{"EmptyInput", "", "", CSVEndLine, 0, true, ""},
        FieldCase{"LeadingEmptyLines", "\r\n \n\r  q,", "q", CSVEndComma, -1, false, ""},
        FieldCase{"TabIsOrdinary", "\ta\t,", "\ta\t", CSVEndComma, -1, false, ""},
        FieldCase{"QuoteNotClosedAtLineEnd", "\"abc\r\nxyz", "", CSVEndError, 0, true,
                  CloseTilde + "\nxyz" + Nul + Nul + Nul + Nul + Nul + Nul + ">"},
        FieldCase{"QuoteNotClosedAtEnd", "\"abc", "", CSVEndError, 0, true,
                  CloseTilde + std::string(10, '\0') + ">"},
        FieldCase{"TextAfterClosingQuote", "\"abc\"x, 5 , 6, 8, 9", "", CSVEndError, ',', false,
                  Comma + ", 5 , 6, 8" + ">"},
        FieldCase{"QuoteInsideUnquoted", "ab\"c\", 1", "", CSVEndError, 0, true,
                  Comma + "c\", 1" + Nul + Nul + Nul + Nul + Nul + ">"},
        FieldCase{"OldLabelMark",
                  "\xBA"
                  "Main,",
                  "\xA7"
                  "Main",
                  CSVEndComma, -1, false, ""}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return info.param.name; });

TEST(CsvTokenizer, TwoFieldsAcrossALineBreakAfterAComma) {
    ScriptedDialogs dialogs;
    CSVReaderState reader(dialogs, "1,\r\n2,");
    std::string text;
    CSVFieldEnd status = CSVEndLine;
    ReadCSVField(reader, text, status);
    EXPECT_EQ(text, "1");
    EXPECT_EQ(status, CSVEndComma);
    ReadCSVField(reader, text, status);
    EXPECT_EQ(text, "2");
    EXPECT_EQ(status, CSVEndComma) << "a comma at a line end gives no empty last field";
}

TEST(CsvTokenizer, PushBackCarriesToTheNextFieldAndResetClearsIt) {
    ScriptedDialogs dialogs;
    CSVReaderState reader(dialogs, "a\nb\n");
    std::string text;
    CSVFieldEnd status = CSVEndComma;
    ReadCSVField(reader, text, status);
    EXPECT_TRUE(reader.CSVPushedBack);
    ReadCSVField(reader, text, status);
    EXPECT_EQ(text, "b");
    EXPECT_EQ(status, CSVEndLine);
    EXPECT_TRUE(reader.AtEnd);

    CSVReaderState other(dialogs, "xy");
    EXPECT_EQ(ReadCSVChar(other), 'x');
    UnreadCSVChar(other);
    EXPECT_EQ(ReadCSVChar(other), 'x');
    UnreadCSVChar(other);
    ResetCSVReader(other);
    EXPECT_EQ(ReadCSVChar(other), 'y');
}

TEST(CsvTokenizer, ReadingOnAfterAnErrorStartsBehindTheContext) {
    ScriptedDialogs dialogs;
    dialogs.Answer(MsgAnswer::OK);
    CSVReaderState reader(dialogs, "\"a\"b0123456789,next,");
    std::string text = "kept";
    CSVFieldEnd status = CSVEndLine;
    ReadCSVField(reader, text, status);
    EXPECT_EQ(status, CSVEndError);
    EXPECT_EQ(dialogs.Last().prompt, Comma + "0123456789>");
    ReadCSVField(reader, text, status);
    EXPECT_EQ(text, "");
    EXPECT_EQ(status, CSVEndComma);
    ReadCSVField(reader, text, status);
    EXPECT_EQ(text, "next");
}

// The record as the import reads it field by field; false where it would fail.
bool ReadFieldByField(CSVReaderState& reader, ControlRecord& record) {
    for (const CsvField& field : CsvFields) {
        CSVFieldEnd status = CSVEndComma;
        std::string text;
        ReadCSVField(reader, text, status);
        if (status == CSVEndError) return false;
        if (field.Text != nullptr) {
            record.*field.Text = text;
            continue;
        }
        bool failed = true;
        ParseCSVLong(reader.Dialogs, text, record.*field.Number, failed);
        if (failed) return false;
    }
    return true;
}

// Lines the export writes, some of them spoilt, read record by record: where the one-pass reading
// takes a record, it gives the record and leaves the reader exactly as the field-by-field reading.
TEST(CsvTokenizer, TheExportsOwnLinesReadInOnePassAsFieldByField) {
    std::mt19937 rng(21);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<ControlRecord> records;
    for (int i = 0; i < 30; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rText = i % 3 ? "None" : "a,b\xBA ~";
        r.rGText = i % 4 ? "" : "x\ty";
        r.rX1 = i % 5 ? -i : INT32_MIN;
        r.rY2 = i % 6 ? i * 100 : INT32_MAX;
        records.push_back(r);
    }
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records);
    TempDir dir;
    ASSERT_TRUE(layout.ExportCSV(dir.File("all.csv")));
    const std::string exported = ReadBytes(dir.File("all.csv"));
    const std::string spoilers = " ,\"\r\n\xBA"
                                 "0-+.x";

    int oneLine = 0;
    for (int round = 0; round < 300; ++round) {
        std::string input = exported;
        for (int k = pick(3); k > 0; --k) {
            const auto at = static_cast<std::size_t>(pick(static_cast<int>(input.size())));
            input[at] = spoilers[static_cast<std::size_t>(pick(static_cast<int>(spoilers.size())))];
        }
        if (round % 4 == 0)
            input.resize(static_cast<std::size_t>(pick(static_cast<int>(input.size()))));
        CSVReaderState oneReader(dialogs, input), fieldReader(dialogs, input);
        std::string heading;
        CSVFieldEnd status = CSVEndComma;
        for (int i = 0; i < 20; ++i)
            ReadCSVField(oneReader, heading, status);
        fieldReader.Position = oneReader.Position;
        fieldReader.AtEnd = oneReader.AtEnd;
        fieldReader.CSVPushedBack = oneReader.CSVPushedBack;
        fieldReader.CSVLastChar = oneReader.CSVLastChar;
        while (!oneReader.AtEnd) {
            ControlRecord one, byField;
            const bool fast = ReadExportedRecord(oneReader, one);
            if (!fast) break;
            ++oneLine;
            ASSERT_TRUE(ReadFieldByField(fieldReader, byField)) << input;
            ASSERT_EQ(one, byField);
            ASSERT_EQ(oneReader.Position, fieldReader.Position);
            ASSERT_EQ(oneReader.AtEnd, fieldReader.AtEnd);
            ASSERT_EQ(oneReader.CSVPushedBack, fieldReader.CSVPushedBack);
            ASSERT_EQ(oneReader.CSVLastChar, fieldReader.CSVLastChar);
        }
    }
    EXPECT_GT(oneLine, 5000);
}

} // namespace
