#include "layout/cLayout.h"

#include "csv/CsvFields.h"
#include "csv/CsvReader.h"
#include "platform/FileAccess.h"
#include "layout/LayoutFile.h"

namespace {

constexpr int HeadingFields = static_cast<int>(CsvFields.size());

std::string CannotImport(const std::string& path, const std::string& what) {
    return "Cannot import CSV file \"" + PathForMessage(path) + "\": " + what;
}

} // namespace

bool cLayout::ImportCSV(const std::string& path) {
    if (Dialogs.MsgBox("Beware - this operation does not handle text with double-quotes in it "
                       "(for example most VBScript)",
                       MsgButtons::OKCancel, MsgIcon::None, "Caution!") != MsgAnswer::OK)
        return false;

    std::string bytes, reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        Warn(CannotImport(path, reason));
        return false;
    }
    CSVReaderState reader(Dialogs, std::move(bytes));
    ResetCSVReader(reader);

    // A heading that fails its check has been reported; the records are read on from where the
    // heading stopped, which is right when only a comma too many follows the last name.
    bool headingOk = true;
    ImportCSVHeading(reader, headingOk);

    // The records are gathered aside: a file that fails part way must not leave the layout a mix
    // of two files, since appending copies from it.
    std::vector<ControlRecord> records;
    while (!reader.AtEnd) {
        if (records.size() == static_cast<std::size_t>(MaxControls)) {
            Warn(CannotImport(path, "it holds more than 2000 records; a layout can hold at most "
                                    "2000 records"));
            return false;
        }
        ControlRecord record;
        bool ok = false;
        ImportControlCSV(reader, record, ok);
        if (!ok) return false;
        if (const std::string* text = TextTooLongToStore(record)) {
            Warn(CannotImport(path, "record " + std::to_string(records.size() + 1) +
                                        " holds a text of " + std::to_string(text->size()) +
                                        " characters, more than the 32767 a layout file can hold"));
            return false;
        }
        records.push_back(std::move(record));
    }
    AdoptRecords(std::move(records), path);
    return true;
}

void cLayout::ImportCSVHeading(CSVReaderState& reader, bool& ok) {
    ok = true;
    // The names are not compared with anything: any twenty fields make a heading.
    std::string text;
    CSVFieldEnd status = CSVEndLine;
    for (int i = 0; i < HeadingFields; ++i)
        ReadCSVField(reader, text, status);
    if (status != CSVEndLine) {
        Dialogs.MsgBox("End of line expected after <" + text + "> in CSV heading", MsgButtons::OK,
                       MsgIcon::None);
        ok = false;
    }
}

void cLayout::ImportControlCSV(CSVReaderState& reader, ControlRecord& record, bool& ok) {
    ok = false;
    // Records are counted in fields, not lines: a line break after a comma is white space.
    for (const CsvField& field : CsvFields) {
        CSVFieldEnd status = CSVEndComma;
        if (field.Text != nullptr) {
            ReadCSVField(reader, record.*field.Text, status);
            if (status == CSVEndError) return;
            continue;
        }
        std::string scratch;
        ReadCSVField(reader, scratch, status);
        if (status == CSVEndError) return;
        bool failed = true;
        ParseCSVLong(Dialogs, scratch, record.*field.Number, failed);
        if (failed) return;
    }
    ok = true;
}
