#include "csv/CsvReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

constexpr unsigned char Blank = ' ';
constexpr unsigned char Quote = '"';
constexpr unsigned char Comma = ',';
constexpr unsigned char CR = 13;
constexpr unsigned char LF = 10;
constexpr int ContextLength = 10;

bool IsLineBreak(unsigned char c) {
    return c == CR || c == LF;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class NumberFault { None, TypeMismatch, Overflow };

// Checks the form strictly, so that nothing but a plain decimal number is taken, then converts it
// independently of the user's locale.
NumberFault ConvertNumber(const std::string& text, double& number) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;

    std::size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    while (i < end && IsDigit(text[i]))
        ++i, ++digits;
    const bool fraction = i < end && text[i] == '.';
    if (fraction) {
        ++i;
        while (i < end && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return NumberFault::TypeMismatch;
    bool tinyExponent = false;
    const bool exponent = i < end && (text[i] == 'e' || text[i] == 'E');
    if (exponent) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) tinyExponent = text[i++] == '-';
        std::size_t exponentDigits = 0;
        while (i < end && IsDigit(text[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return NumberFault::TypeMismatch;
    }
    if (i != end) return NumberFault::TypeMismatch;

    // Plain whole numbers, what the export writes, need no floating-point conversion.
    if (!fraction && !exponent && digits <= 18) {
        int64_t whole = 0;
        std::from_chars(text.data() + mantissa, text.data() + end, whole);
        number = static_cast<double>(negative ? -whole : whole);
        return NumberFault::None;
    }

    double magnitude = 0;
    const auto result = std::from_chars(text.data() + mantissa, text.data() + end, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        if (!tinyExponent) return NumberFault::Overflow;
        magnitude = 0; // too small to tell from zero
    } else if (result.ec != std::errc() || result.ptr != text.data() + end) {
        return NumberFault::TypeMismatch;
    }
    number = negative ? -magnitude : magnitude;
    return NumberFault::None;
}

} // namespace

void ResetCSVReader(CSVReaderState& reader) {
    reader.CSVPushedBack = false;
}

void ReadCSVField(CSVReaderState& reader, std::string& text, CSVFieldEnd& status) {
    std::string field;
    unsigned char c = SkipCSVBlanks(reader);
    // Blanks, CRs and LFs before a field are all passed over, empty lines included.
    while (IsLineBreak(c))
        c = SkipCSVBlanks(reader);

    const bool quoted = c == Quote;
    if (quoted) c = ReadCSVChar(reader);

    // The end test comes before the character is taken, so the 0 read past the end never
    // enters a field.
    if (!(reader.AtEnd || c == Quote || IsLineBreak(c) || (c == Comma && !quoted))) {
        field.push_back(static_cast<char>(c));
        // The rest of the field up to its stop character is taken in one piece; reading the stop
        // character then leaves the reader as reading the field character by character would.
        const std::string& input = reader.Input;
        std::size_t stop = reader.Position;
        while (stop < input.size()) {
            const char next = input[stop];
            if (next == '"' || next == '\r' || next == '\n' || (next == ',' && !quoted)) break;
            ++stop;
        }
        const std::size_t taken = field.size();
        field.append(input, reader.Position, stop - reader.Position);
        std::replace(field.begin() + static_cast<std::ptrdiff_t>(taken), field.end(), '\xBA',
                     '\xA7');
        reader.Position = stop;
        c = ReadCSVChar(reader);
    }

    if (quoted) {
        if (c != Quote) {
            ReportCSVError(reader, "A close tilde");
            status = CSVEndError;
            return;
        }
        c = ReadCSVChar(reader);
    }
    if (c == Blank) c = SkipCSVBlanks(reader);

    if (reader.AtEnd || IsLineBreak(c)) {
        do {
            c = ReadCSVChar(reader);
        } while (IsLineBreak(c) && !reader.AtEnd);
        // The first character of the next line is read again by the next field.
        if (!reader.AtEnd) UnreadCSVChar(reader);
        status = CSVEndLine;
    } else if (c == Comma) {
        status = CSVEndComma;
    } else {
        ReportCSVError(reader, "A comma");
        status = CSVEndError;
        return;
    }
    text = std::move(field);
}

void ReportCSVError(CSVReaderState& reader, const std::string& what) {
    std::string context;
    for (int i = 0; i < ContextLength; ++i)
        context.push_back(static_cast<char>(ReadCSVChar(reader)));
    reader.Dialogs.MsgBox(what + " was expected. context is:\n<" + context + ">", MsgButtons::OK,
                          MsgIcon::None);
}

void ParseCSVLong(UserDialogs& dialogs, const std::string& text, int32_t& value, bool& failed) {
    double number = 0;
    NumberFault fault = ConvertNumber(text, number);
    double rounded = 0;
    if (fault == NumberFault::None) {
        rounded = std::nearbyint(number); // the default rounding sends halves to the even side
        if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) fault = NumberFault::Overflow;
    }
    if (fault != NumberFault::None) {
        dialogs.MsgBox("Error in number:\n" + text + "\n" +
                           (fault == NumberFault::Overflow ? "Overflow" : "Type mismatch"),
                       MsgButtons::OK, MsgIcon::None);
        failed = true;
        return;
    }
    value = static_cast<int32_t>(rounded);
    failed = false;
}
