#include "layout/cLayout.h"

#include <charconv>

#include "csv/CsvExportLosses.h"
#include "csv/CsvFields.h"
#include "platform/FileAccess.h"

namespace {

constexpr const char* Heading =
    "\"rFunction\",\"rType\",\"rScreen\",\"rText\",\"rGText\",\"rBitMapPath\",\"rHoriz\","
    "\"rVert\",\"rLabel\",\"rColor\",\"rOEMCode\",\"rHotKey\",\"rFlash\",\"rRedGreen\","
    "\"rFormat\",\"rTabGroup\",\"rX1\",\"rY1\",\"rX2\",\"rY2\"";
constexpr const char* LineEnd = "\r\n";

// A blank where a minus sign would stand, the digits, and a blank after them.
void PutNumber(std::string& out, int32_t value) {
    if (value >= 0) out.push_back(' ');
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
    out.push_back(' ');
}

void PutQuoted(std::string& out, const std::string& text) {
    out.push_back('"');
    out += text;
    out.push_back('"');
}

// A double quote would end the field early, so captions and labels carry a tilde instead.
void PutQuotedWithTildes(std::string& out, const std::string& text) {
    out.push_back('"');
    for (char c : text)
        out.push_back(c == '"' ? '~' : c);
    out.push_back('"');
}

bool Holds(const std::string& text, const char* characters) {
    return text.find_first_of(characters) != std::string::npos;
}

// Script text with quotes or line breaks cannot be read back, so it is written as a marker.
bool IsComplexCode(const std::string& text) {
    return Holds(text, "\"\r\n");
}

void AddPart(std::string& sentence, int count, const char* what) {
    if (count == 0) return;
    if (!sentence.empty()) sentence += ", ";
    sentence += std::to_string(count) + what;
}

} // namespace

CsvExportLosses CountCsvExportLosses(std::span<const ControlRecord> records) {
    CsvExportLosses losses;
    for (const ControlRecord& r : records) {
        for (const CsvField& field : CsvFields) {
            if (field.Text == nullptr) continue;
            const std::string& text = r.*field.Text;
            switch (field.Rule) {
            case CsvText::ComplexCode:
                losses.Scripts += IsComplexCode(text);
                break;
            case CsvText::Tildes:
                losses.Tildes += Holds(text, "\"");
                losses.LineBreaks += Holds(text, "\r\n");
                break;
            case CsvText::Plain:
                if (Holds(text, "\r\n"))
                    ++losses.LineBreaks;
                else
                    losses.Quotes += Holds(text, "\"");
                break;
            }
        }
    }
    return losses;
}

std::string CsvExportLossWarning(const CsvExportLosses& losses) {
    std::string sentence;
    AddPart(sentence, losses.Scripts, " scripts were written as <-complex code->");
    AddPart(sentence, losses.Tildes, " texts had their double quotes turned into ~");
    AddPart(sentence, losses.LineBreaks, " texts hold line breaks this file cannot carry back");
    AddPart(sentence, losses.Quotes,
            " picture paths or formats hold double quotes this file cannot carry back");
    if (!sentence.empty()) sentence += "; importing this file will not restore them";
    return sentence;
}

bool cLayout::ExportCSV(const std::string& path) {
    if (ControlCount() == 0) {
        Dialogs.MsgBox("No Layout is loaded. Export abandoned", MsgButtons::OK,
                       MsgIcon::Exclamation, "Export fails");
        return false;
    }
    // A line is at most 15 numbers of 13 characters, 10 quotes, 19 commas, CR LF and the texts.
    std::size_t size = 256;
    for (const ControlRecord& r : Controls)
        size += 15 * 13 + 31 + r.rText.size() + r.rGText.size() + r.rBitMapPath.size() +
                r.rLabel.size() + r.rFormat.size();
    std::string out;
    out.reserve(size);
    ExportCSVHeading(out);
    for (const ControlRecord& record : Controls)
        ExportControlCSV(out, record);

    std::string reason;
    if (!ReplaceFileContent(path, out, reason)) {
        Warn("Cannot write CSV file \"" + PathForMessage(path) + "\": " + reason);
        return false;
    }
    // The file is what the format allows; the user learns now, not at the import, what it
    // could not carry.
    const std::string losses = CsvExportLossWarning(CountCsvExportLosses(Controls));
    if (!losses.empty()) Warn(losses);
    return true;
}

void cLayout::ExportCSVHeading(std::string& out) const {
    out += Heading;
    out += LineEnd;
}

void cLayout::ExportControlCSV(std::string& out, const ControlRecord& r) const {
    for (std::size_t i = 0; i < CsvFields.size(); ++i) {
        if (i > 0) out += ',';
        const CsvField& field = CsvFields[i];
        if (field.Number != nullptr) {
            PutNumber(out, r.*field.Number);
            continue;
        }
        const std::string& text = r.*field.Text;
        switch (field.Rule) {
        case CsvText::Tildes:
            PutQuotedWithTildes(out, text);
            break;
        case CsvText::ComplexCode:
            PutQuoted(out, IsComplexCode(text) ? ComplexCodeText : text);
            break;
        case CsvText::Plain:
            PutQuoted(out, text);
            break;
        }
    }
    out += LineEnd;
}
