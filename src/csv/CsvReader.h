#pragma once
// Reads CSV text one character at a time and hands it out field by field, in the dialect the
// export writes: commas between fields, optional double quotes that cannot be escaped, any run of
// CR and LF ending a line, blanks skipped before a field and after a closing quote. Syntax errors
// are told to the user where they are found; the caller learns only that the field failed.

#include <cstddef>
#include <cstdint>
#include <string>

#include "layout/ControlRecord.h"
#include "layout/UserDialogs.h"

// How a field ended.
enum CSVFieldEnd : int32_t {
    CSVEndComma = 0, // more fields follow on this line
    CSVEndLine = 1,  // the field ended its line, or the input ended
    CSVEndError = 3, // syntax error, already reported; the caller's text is unchanged
};

// One CSV input being read. Only one is read at a time.
struct CSVReaderState {
    CSVReaderState(UserDialogs& dialogs, std::string input)
        : Dialogs(dialogs), Input(std::move(input)) {}

    UserDialogs& Dialogs;
    std::string Input;
    std::size_t Position = 0;
    bool AtEnd = false; // true once a read has found no more data
    bool CSVPushedBack = false;
    unsigned char CSVLastChar = 0;
};

void ResetCSVReader(CSVReaderState& reader);

// The next character; 0 once the input is exhausted. Byte 186, the screen-label mark as older
// exports wrote it, is delivered as the mark 167. Inline, as every character of a file passes here.
inline unsigned char ReadCSVChar(CSVReaderState& reader) {
    if (reader.CSVPushedBack) {
        reader.CSVPushedBack = false;
        return reader.CSVLastChar;
    }
    unsigned char c = 0;
    if (reader.Position < reader.Input.size())
        c = static_cast<unsigned char>(reader.Input[reader.Position++]);
    else
        reader.AtEnd = true;
    if (c == 186) c = 167;
    reader.CSVLastChar = c;
    return c;
}

inline void UnreadCSVChar(CSVReaderState& reader) {
    reader.CSVPushedBack = true;
}

inline unsigned char SkipCSVBlanks(CSVReaderState& reader) {
    unsigned char c = ReadCSVChar(reader);
    while (c == ' ')
        c = ReadCSVChar(reader);
    return c;
}
// Replaces text only when the status is CSVEndComma or CSVEndLine.
void ReadCSVField(CSVReaderState& reader, std::string& text, CSVFieldEnd& status);
void ReportCSVError(CSVReaderState& reader, const std::string& what);

// One record written exactly as the export writes it, on one line: the numbers between a blank
// (or their minus sign) and a blank, the texts in double quotes. It is read in one pass, to the
// same record and the same reader state as reading it field by field; anything else (and a
// number too large) is left to be read field by field: false, with the reader untouched and the
// record's fields partly overwritten.
bool ReadExportedRecord(CSVReaderState& reader, ControlRecord& record);

// A field's text as a 32-bit number: blanks around, an optional sign, digits, a decimal part after
// ".", an exponent; rounded half to even. On failure tells the user and leaves value alone.
void ParseCSVLong(UserDialogs& dialogs, const std::string& text, int32_t& value, bool& failed);
