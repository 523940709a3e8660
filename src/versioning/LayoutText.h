#pragma once
// The text form of records and layouts: UTF-8 JSON, lossless and stable, for people, for git and
// for the clipboard. A record is a JSON object with "record" (its 1-based position) and the 20
// fields by name in file order; numbers are numbers, texts are the bytes read as Unicode in the
// layout's code page (bytes it has no character for as the control character of the same value,
// see CodePages.h), so every byte comes back. A layout's text names its format and version first,
// and the code page when it is not Windows-1252 ("codepage": 936), then holds its records one
// field a line, then the trailer:
//
//   {
//     "format": "KorvoScreenQuill layout",
//     "version": 1,
//     "records": [
//       {
//         "record": 1,
//         "rFunction": 32,
//         ...
//       }
//     ],
//     "trailer": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0]
//   }
//
// Guarantees: the same records always give the same text, byte for byte; reading a text written
// here gives back exactly the records and trailer written. A reader refuses, naming the line, any
// text that is not such a form or holds what a layout cannot: a number outside 32 bits, a
// character without a Windows-1252 byte, a text longer than 32767 characters, more records than a
// layout holds (MaxControls). Members of a record may come in any order when read.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layout/ControlRecord.h"
#include "layout/RecordFields.h"

class JsonCursor;

inline constexpr const char* LayoutTextFormat = "KorvoScreenQuill layout";
inline constexpr const char* ControlsTextFormat = "KorvoScreenQuill controls";
inline constexpr int LayoutTextVersion = 1;
// The longest text form read, so an endless or runaway input is refused instead of filling the
// memory: the text to-text writes for MaxControls records with every number at its widest and
// every text 254 characters long (the longest a 1-byte length prefix holds) of the characters
// written widest (\u0001), with the widest trailer. About 290 MB.
std::size_t MaxLayoutTextBytes();

// One record as one line of JSON, without a line end: {"record": 3, "rFunction": 0, ...}.
std::string RecordJsonLine(const ControlRecord& record, int position, int codePage = 1252);
// One record one member a line: the braces indented by `indent`, the members by two more. The
// closing brace ends without a line end, so the caller can put a comma after it.
void AppendRecordJsonBlock(std::string& out, const ControlRecord& record, int position,
                           std::string_view indent, int codePage = 1252);

// Reads one record object at the cursor, written either way. False, with the cursor's error
// naming the line, on anything else.
bool ReadRecordJson(JsonCursor& in, ControlRecord& record, int& position);
// A text holding one record object and nothing else (a line of `quill controls --json`); `line`
// is the number of its first line, for the message.
bool RecordFromJson(std::string_view text, ControlRecord& record, int& position, std::string& error,
                    int line = 1, int codePage = 1252);

// A list of records without a trailer, for the clipboard: the layout's form under the format
// name ControlsTextFormat and without "trailer", records numbered from 1.
// The texts are written in `codePage`, which the heading names when it is not Windows-1252; a
// reader reads them in the code page the heading names, else in *codePage (1252 when not given),
// and says which it read them in (`codePage`, when given).
std::string ControlsToText(std::span<const ControlRecord> records, int codePage = 1252);
bool ControlsFromText(std::string_view text, std::vector<ControlRecord>& records,
                      std::string& error, int* codePage = nullptr);

std::string LayoutToText(const LayoutContent& layout, int codePage = 1252);
// `layout` is replaced only when the whole text is read.
bool LayoutFromText(std::string_view text, LayoutContent& layout, std::string& error,
                    int* codePage = nullptr);
