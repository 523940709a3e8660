#pragma once
// The twenty fields of a record in the CSV file's order, shared by the export and the import so
// the two can never disagree on it. A field is a number or a text; a text says how the export
// protects it.

#include <array>
#include <string>

#include "layout/ControlRecord.h"

enum class CsvText {
    Plain,      // written as it is
    Tildes,     // double quotes written as tildes
    ComplexCode // written as a marker when it holds a double quote or a line break
};

struct CsvField {
    int32_t ControlRecord::*Number;
    std::string ControlRecord::*Text;
    CsvText Rule;
};

inline constexpr std::array<CsvField, 20> CsvFields{{
    {&ControlRecord::rFunction, nullptr, CsvText::Plain},
    {&ControlRecord::rType, nullptr, CsvText::Plain},
    {&ControlRecord::rScreen, nullptr, CsvText::Plain},
    {nullptr, &ControlRecord::rText, CsvText::Tildes},
    {nullptr, &ControlRecord::rGText, CsvText::ComplexCode},
    {nullptr, &ControlRecord::rBitMapPath, CsvText::Plain},
    {&ControlRecord::rHoriz, nullptr, CsvText::Plain},
    {&ControlRecord::rVert, nullptr, CsvText::Plain},
    {nullptr, &ControlRecord::rLabel, CsvText::Tildes},
    {&ControlRecord::rColor, nullptr, CsvText::Plain},
    {&ControlRecord::rOEMCode, nullptr, CsvText::Plain},
    {&ControlRecord::rHotKey, nullptr, CsvText::Plain},
    {&ControlRecord::rFlash, nullptr, CsvText::Plain},
    {&ControlRecord::rRedGreen, nullptr, CsvText::Plain},
    {nullptr, &ControlRecord::rFormat, CsvText::Plain},
    {&ControlRecord::rTabGroup, nullptr, CsvText::Plain},
    {&ControlRecord::rX1, nullptr, CsvText::Plain},
    {&ControlRecord::rY1, nullptr, CsvText::Plain},
    {&ControlRecord::rX2, nullptr, CsvText::Plain},
    {&ControlRecord::rY2, nullptr, CsvText::Plain},
}};
