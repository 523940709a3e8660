#include "layout/cLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "csv/CsvFields.h"
#include "csv/CsvReader.h"
#include "layout/LayoutFile.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"

namespace {

constexpr int HeadingFields = static_cast<int>(CsvFields.size());

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t NoOffset = std::string::npos;

std::string CannotImport(const std::string& path, const std::string& what) {
    return "Cannot import CSV file \"" + PathForMessage(path) + "\": " + what;
}

// Spreadsheets save CSV as UTF-8, often behind a byte-order mark. Without the mark, a file whose
// bytes above 127 all form UTF-8 sequences, and at least one, is taken as UTF-8: Windows-1252
// text rarely does so by chance, and any byte that breaks the rule keeps the file
// Windows-1252, as the export writes it.
bool ReadsAsUtf8(std::string_view bytes) {
    if (bytes.starts_with(Utf8Mark)) return true;
    bool any = false;
    for (std::size_t i = 0; i < bytes.size();) {
        // Eight ASCII bytes at a time: most of a file is ASCII.
        if (bytes.size() - i >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t length = Utf8SequenceAt(bytes, i, codePoint);
        if (length == 0) return false;
        any = true;
        i += length;
    }
    return any;
}

// What stops the UTF-8 text at `at` from becoming Windows-1252 bytes.
std::string Unconvertible(std::string_view utf8, std::size_t at, int codePage) {
    const std::string codePageName = CodePageName(codePage);
    char32_t codePoint = 0;
    if (at >= utf8.size() || Utf8SequenceAt(utf8, at, codePoint) == 0)
        return "bytes that are not UTF-8, though the file starts with the UTF-8 byte-order mark";
    // These characters all have their byte: the conversion itself failed.
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return "UTF-8 text that this system cannot convert to " + codePageName;
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return "the character " + std::string(name) +
           ", which has no " + codePageName + " byte and so cannot be stored in a layout";
}

// Where the reader has got to: the first byte it has not yet delivered.
std::size_t ReadUpTo(const CSVReaderState& reader) {
    return reader.Position - (reader.CSVPushedBack ? 1 : 0);
}

// The record, counted from 1 after the heading, whose fields take in the byte at `at`; 0 when a
// syntax error, already reported, comes first.
int RecordHolding(CSVReaderState& reader, std::size_t at) {
    std::string text;
    for (int record = 1; !reader.AtEnd; ++record) {
        for (int field = 0; field < HeadingFields; ++field) {
            CSVFieldEnd status = CSVEndComma;
            ReadCSVField(reader, text, status);
            if (status == CSVEndError) return 0;
            if (at < ReadUpTo(reader)) return record;
        }
    }
    return 0;
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
    // A UTF-8 file is read as the Windows-1252 bytes the records hold, converted before any
    // field is read, so that the label mark and everything else come out as from a file the
    // export wrote. When a character cannot be converted the file is read as it is, only to find
    // the record that holds it: the tokenizer looks at nothing but ASCII, so the records fall
    // exactly where they would in the converted text.
    std::size_t unconvertibleAt = NoOffset;
    std::string unconvertible;
    if (ReadsAsUtf8(bytes)) {
        if (bytes.starts_with(Utf8Mark)) bytes.erase(0, Utf8Mark.size());
        std::string windows1252;
        if (Utf8ToCodePage(bytes, windows1252, CodePage, &unconvertibleAt)) {
            bytes = std::move(windows1252);
            unconvertibleAt = NoOffset;
        } else {
            unconvertible = Unconvertible(bytes, unconvertibleAt, CodePage);
        }
    }
    const bool convertible = unconvertibleAt == NoOffset;

    CSVReaderState reader(Dialogs, std::move(bytes));
    ResetCSVReader(reader);

    // A heading that fails its check has been reported; the records are read on from where the
    // heading stopped, which is right when only a comma too many follows the last name.
    bool headingOk = true;
    ImportCSVHeading(reader, headingOk);
    if (!convertible) {
        // Fields only, no numbers: a number that holds the character must not be reported as a
        // number. A syntax error met first has been reported where it is.
        if (unconvertibleAt < ReadUpTo(reader))
            Warn(CannotImport(path, "its heading holds " + unconvertible));
        else if (const int record = RecordHolding(reader, unconvertibleAt); record > 0)
            Warn(
                CannotImport(path, "record " + std::to_string(record) + " holds " + unconvertible));
        return false;
    }

    // The records are gathered aside: a file that fails part way must not leave the layout a mix
    // of two files, since appending copies from it. Room is made for a record in every 40 bytes,
    // about the shortest a record can be written.
    std::vector<ControlRecord> records;
    records.reserve(std::min(reader.Input.size() / 40, static_cast<std::size_t>(MaxControls)));
    while (!reader.AtEnd) {
        if (records.size() == static_cast<std::size_t>(MaxControls)) {
            Warn(CannotImport(path, "it holds more than " + std::to_string(MaxControls) +
                                        " records; a layout can hold at most " +
                                        std::to_string(MaxControls) + " records"));
            return false;
        }
        ControlRecord record;
        // The export's own lines are read in one pass; anything else field by field.
        bool ok = ReadExportedRecord(reader, record);
        if (!ok) ImportControlCSV(reader, record, ok);
        if (!ok) return false;
        if (const std::string* text = TextTooLongToStore(record)) {
            Warn(CannotImport(path, "record " + std::to_string(records.size() + 1) +
                                        " holds a text of " + std::to_string(text->size()) +
                                        " characters, more than the " +
                                        std::to_string(MaxTextLength) + " a layout file can hold"));
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
    std::string scratch;
    // Records are counted in fields, not lines: a line break after a comma is white space.
    for (const CsvField& field : CsvFields) {
        CSVFieldEnd status = CSVEndComma;
        if (field.Text != nullptr) {
            ReadCSVField(reader, record.*field.Text, status);
            if (status == CSVEndError) return;
            continue;
        }
        ReadCSVField(reader, scratch, status);
        if (status == CSVEndError) return;
        bool failed = true;
        ParseCSVLong(Dialogs, scratch, record.*field.Number, failed);
        if (failed) return;
    }
    ok = true;
}
