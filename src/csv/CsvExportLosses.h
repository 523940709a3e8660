#pragma once
// What a CSV export cannot write as it is, counted over a layout's records, and the warning that
// tells the user. The counts are of texts: one text field of one record each.

#include <span>
#include <string>

#include "layout/ControlRecord.h"

// What the export writes in place of a script it cannot carry. Read back, the host would run this
// text, so the layout check looks for it.
inline constexpr const char* ComplexCodeText = "<-complex code->";

struct CsvExportLosses {
    // rGText holding a double quote, a CR or an LF: written as <-complex code->.
    int Scripts = 0;
    // rText or rLabel holding a double quote: every double quote written as a tilde.
    int Tildes = 0;
    // rText, rLabel, rBitMapPath or rFormat holding a CR or an LF: written as they are, but the
    // import stops at their record.
    int LineBreaks = 0;
    // rBitMapPath or rFormat holding a double quote and no line break (one that holds both is
    // counted under LineBreaks): written as they are, but the import stops at their record.
    int Quotes = 0;

    bool Any() const { return Scripts + Tildes + LineBreaks + Quotes > 0; }
    bool operator==(const CsvExportLosses&) const = default;
};

CsvExportLosses CountCsvExportLosses(std::span<const ControlRecord> records);

// One sentence naming the counts that are not 0; the empty text when nothing is lost.
std::string CsvExportLossWarning(const CsvExportLosses& losses);
