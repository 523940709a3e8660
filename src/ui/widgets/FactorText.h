#pragma once
// A rescale factor as the user reads it: the single-precision value with at most seven significant
// digits, trailing zeros dropped, and the decimal separator of the given locale.

#include <QLocale>

#include <string>

// Windows-1252 bytes, ready for a message.
std::string FactorText(float factor, const QLocale& locale = QLocale());
