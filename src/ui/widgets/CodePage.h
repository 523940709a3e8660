#pragma once
// The one crossing between the records' bytes and Qt's Unicode text, through the core's converter
// in the layout's code page (Windows-1252, the program's own, unless the caller names another).
// Every text the windows show from a record or a message, and every text the user types for a
// record, passes here; file paths do not (they are the system's UTF-8).

#include <QString>

#include <string>

// Every byte has a character: the five bytes the code page leaves unassigned come back as the
// control characters of the same value, so a text shown and accepted unchanged keeps its bytes.
QString FromCodePage(const std::string& bytes, int codePage = 1252);

// False when the text holds a character with no byte in the code page; `bytes` is then untouched
// and `offending`, when given, receives the first such character.
bool ToCodePage(const QString& text, std::string& bytes, QString* offending = nullptr,
                int codePage = 1252);

// A system path (UTF-8) as Qt text, and back.
QString FromSystemPath(const std::string& path);
std::string ToSystemPath(const QString& path);
// A path the user chose in a file dialog or dropped, as the system spells paths: Qt gives '/'
// between folders everywhere, and a Windows user reads and types '\\'.
std::string ChosenPath(const QString& path);
