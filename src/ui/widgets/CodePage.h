#pragma once
// The one crossing between the records' Windows-1252 bytes and Qt's Unicode text. Every text the
// windows show from a record or a message, and every text the user types for a record, passes
// here; file paths do not (they are the system's UTF-8).

#include <QString>

#include <string>

// Every byte has a character: the five bytes the code page leaves unassigned come back as the
// control characters of the same value, so a text shown and accepted unchanged keeps its bytes.
QString FromCodePage(const std::string& bytes);

// False when the text holds a character with no Windows-1252 byte; `bytes` is then untouched and
// `offending`, when given, receives the first such character.
bool ToCodePage(const QString& text, std::string& bytes, QString* offending = nullptr);

// A system path (UTF-8) as Qt text, and back.
QString FromSystemPath(const std::string& path);
std::string ToSystemPath(const QString& path);
