#include "layout/cLayout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "csv/CsvExportLosses.h"
#include "csv/CsvFields.h"
#include "platform/FileAccess.h"

namespace {

constexpr const char* Heading =
    "\"rFunction\",\"rType\",\"rScreen\",\"rText\",\"rGText\",\"rBitMapPath\",\"rHoriz\","
    "\"rVert\",\"rLabel\",\"rColor\",\"rOEMCode\",\"rHotKey\",\"rFlash\",\"rRedGreen\","
    "\"rFormat\",\"rTabGroup\",\"rX1\",\"rY1\",\"rX2\",\"rY2\"";
constexpr const char* LineEnd = "\r\n";

// The most characters a number takes: a sign or blank, ten digits, a blank.
constexpr std::size_t NumberWidth = 12;
constexpr const char* ComplexCode = ComplexCodeText;
constexpr std::size_t ComplexCodeLength = std::char_traits<char>::length(ComplexCodeText);

// What a text holds that the CSV file cannot carry as it is. One pass over the text, as every
// text of a layout passes here on each export.
struct TextTraits {
    bool Quote = false;
    bool LineBreak = false;
};

constexpr unsigned char HoldsQuote = 1;
constexpr unsigned char HoldsLineBreak = 2;
constexpr std::array<unsigned char, 256> TextCharKinds = [] {
    std::array<unsigned char, 256> kinds{};
    kinds['"'] = HoldsQuote;
    kinds['\r'] = kinds['\n'] = HoldsLineBreak;
    return kinds;
}();

TextTraits TraitsOf(const std::string& text) {
    unsigned char seen = 0;
    for (const char c : text)
        seen |= TextCharKinds[static_cast<unsigned char>(c)];
    return {(seen & HoldsQuote) != 0, (seen & HoldsLineBreak) != 0};
}

// Script text with quotes or line breaks cannot be read back, so it is written as a marker.
bool IsComplexCode(const std::string& text) {
    const TextTraits traits = TraitsOf(text);
    return traits.Quote || traits.LineBreak;
}

// A line is written through a pointer into room made beforehand, since the export passes here
// twenty times for each record.

// A blank where a minus sign would stand, the digits, and a blank after them.
char* PutNumber(char* out, int32_t value) {
    if (value >= 0) *out++ = ' ';
    out = std::to_chars(out, out + NumberWidth, value).ptr;
    *out++ = ' ';
    return out;
}

char* PutQuoted(char* out, const char* text, std::size_t length) {
    *out++ = '"';
    out = std::copy_n(text, length, out);
    *out++ = '"';
    return out;
}

// A double quote would end the field early, so captions and labels carry a tilde instead.
char* PutQuotedWithTildes(char* out, const std::string& text) {
    *out++ = '"';
    out = std::replace_copy(text.begin(), text.end(), out, '"', '~');
    *out++ = '"';
    return out;
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
            const TextTraits traits = TraitsOf(r.*field.Text);
            switch (field.Csv) {
            case CsvText::ComplexCode:
                losses.Scripts += traits.Quote || traits.LineBreak;
                break;
            case CsvText::Tildes:
                losses.Tildes += traits.Quote;
                losses.LineBreaks += traits.LineBreak;
                break;
            case CsvText::Plain:
                if (traits.LineBreak)
                    ++losses.LineBreaks;
                else
                    losses.Quotes += traits.Quote;
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
    // A line is at most 15 numbers, 10 quotes, 19 commas, CR LF and the texts.
    std::size_t size = 256;
    for (const ControlRecord& r : Controls)
        size += 15 * NumberWidth + 31 + ComplexCodeLength + r.rText.size() + r.rGText.size() +
                r.rBitMapPath.size() + r.rLabel.size() + r.rFormat.size();
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
    // Room for the longest line the record can make: every number at its widest, the script
    // whole or as its marker, the separators and the line end.
    std::size_t room = CsvFields.size() * (NumberWidth + 3) + ComplexCodeLength + 2;
    for (const CsvField& field : CsvFields)
        if (field.Text != nullptr) room += (r.*field.Text).size();
    // Most lines are short: they are made on the stack and copied once.
    constexpr std::size_t ShortLine = 2048;
    char line[ShortLine];
    const std::size_t start = out.size();
    if (room > ShortLine) out.resize(start + room);
    char* const first = room > ShortLine ? out.data() + start : line;
    char* at = first;
    for (std::size_t i = 0; i < CsvFields.size(); ++i) {
        if (i > 0) *at++ = ',';
        const CsvField& field = CsvFields[i];
        if (field.Number != nullptr) {
            at = PutNumber(at, r.*field.Number);
            continue;
        }
        const std::string& text = r.*field.Text;
        switch (field.Csv) {
        case CsvText::Tildes:
            at = PutQuotedWithTildes(at, text);
            break;
        case CsvText::ComplexCode:
            at = IsComplexCode(text) ? PutQuoted(at, ComplexCode, ComplexCodeLength)
                                     : PutQuoted(at, text.data(), text.size());
            break;
        case CsvText::Plain:
            at = PutQuoted(at, text.data(), text.size());
            break;
        }
    }
    *at++ = '\r';
    *at++ = '\n';
    const auto length = static_cast<std::size_t>(at - first);
    if (first == line)
        out.append(line, length);
    else
        out.resize(start + length);
}
