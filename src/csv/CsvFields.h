#pragma once
// The twenty fields of a record in the CSV file's order, which is the file's own: the record field
// table itself, shared by the export and the import so the two can never disagree on it. A text
// says how the export protects it (RecordField::Csv).

#include "layout/RecordFields.h"

using CsvField = RecordField;
inline constexpr const std::array<RecordField, 20>& CsvFields = RecordFields;
