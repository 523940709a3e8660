#include "csv/CsvReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

#include "csv/CsvFields.h"

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

// The form the export writes, a whole number of at most ten digits between blanks (" 123 ",
// "-45 "), read straight away: every number of a file passes here. Anything else is left to
// ConvertNumber, which reads it to the same value or says what is wrong with it.
bool ReadPlainWhole(const std::string& text, int32_t& value) {
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end && *at == ' ')
        ++at;
    bool negative = false;
    if (at < end && (*at == '-' || *at == '+')) negative = *at++ == '-';
    const char* const digits = at;
    int64_t whole = 0;
    while (at < end && IsDigit(*at) && at - digits < 10)
        whole = whole * 10 + (*at++ - '0');
    if (at == digits) return false;
    while (at < end && *at == ' ')
        ++at;
    if (at != end) return false;
    if (negative) whole = -whole;
    if (whole < INT32_MIN || whole > INT32_MAX) return false;
    value = static_cast<int32_t>(whole);
    return true;
}

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

namespace {

// What a character is to the run of a field: the characters that end a quoted field, those that
// end a plain one, and the label mark as older exports wrote it.
constexpr unsigned char StopsQuoted = 1;
constexpr unsigned char StopsPlain = 2;
constexpr unsigned char OldLabelMark = 4;
// A byte as ReadCSVChar delivers it.
unsigned char CharRead(char byte) {
    const auto c = static_cast<unsigned char>(byte);
    return c == 186 ? 167 : c;
}

constexpr std::array<unsigned char, 256> CharKinds = [] {
    std::array<unsigned char, 256> kinds{};
    for (const unsigned char stop : {Quote, CR, LF})
        kinds[stop] = StopsQuoted | StopsPlain;
    kinds[Comma] = StopsPlain;
    kinds[186] = OldLabelMark;
    return kinds;
}();

} // namespace

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
        const unsigned char stops = quoted ? StopsQuoted : StopsPlain;
        unsigned char seen = 0;
        std::size_t stop = reader.Position;
        for (; stop < input.size(); ++stop) {
            const unsigned char kind = CharKinds[static_cast<unsigned char>(input[stop])];
            if (kind & stops) break;
            seen |= kind;
        }
        const std::size_t taken = field.size();
        field.append(input, reader.Position, stop - reader.Position);
        if (seen & OldLabelMark)
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

bool ReadExportedRecord(CSVReaderState& reader, ControlRecord& record) {
    const std::string& input = reader.Input;
    const std::size_t size = input.size();
    if (reader.AtEnd) return false;
    std::size_t at = reader.Position;
    if (reader.CSVPushedBack) {
        // The character pushed back is the one before the position, as the end of a line
        // leaves it.
        if (at == 0 || CharRead(input[at - 1]) != reader.CSVLastChar) return false;
        --at;
    }
    for (std::size_t i = 0; i < CsvFields.size(); ++i) {
        if (i > 0) {
            if (at >= size || input[at] != ',') return false;
            ++at;
        }
        const CsvField& field = CsvFields[i];
        if (field.Number != nullptr) {
            if (at >= size || (input[at] != ' ' && input[at] != '-')) return false;
            const bool negative = input[at++] == '-';
            const std::size_t digits = at;
            int64_t whole = 0;
            while (at < size && IsDigit(input[at]) && at - digits < 10)
                whole = whole * 10 + (input[at++] - '0');
            if (at == digits || at >= size || input[at] != ' ') return false;
            ++at;
            if (negative) whole = -whole;
            if (whole < INT32_MIN || whole > INT32_MAX) return false;
            record.*field.Number = static_cast<int32_t>(whole);
            continue;
        }
        if (at >= size || input[at] != '"') return false;
        const std::size_t first = ++at;
        unsigned char seen = 0;
        for (; at < size; ++at) {
            const unsigned char kind = CharKinds[static_cast<unsigned char>(input[at])];
            if (kind & StopsQuoted) break;
            seen |= kind;
        }
        if (at >= size || input[at] != '"') return false;
        std::string& text = record.*field.Text;
        text.assign(input, first, at - first);
        if (seen & OldLabelMark) std::replace(text.begin(), text.end(), '\xBA', '\xA7');
        ++at;
    }
    if (at >= size || !IsLineBreak(static_cast<unsigned char>(input[at]))) return false;
    while (at < size && IsLineBreak(static_cast<unsigned char>(input[at])))
        ++at;
    // As the end of the last field leaves it: the next line's first character read and pushed
    // back, or the end of the input met.
    if (at < size) {
        reader.Position = at + 1;
        reader.CSVPushedBack = true;
        reader.CSVLastChar = CharRead(input[at]);
    } else {
        reader.Position = size;
        reader.AtEnd = true;
        reader.CSVPushedBack = false;
        reader.CSVLastChar = 0;
    }
    return true;
}

void ReportCSVError(CSVReaderState& reader, const std::string& what) {
    std::string context;
    for (int i = 0; i < ContextLength; ++i)
        context.push_back(static_cast<char>(ReadCSVChar(reader)));
    reader.Dialogs.MsgBox(what + " was expected. context is:\n<" + context + ">", MsgButtons::OK,
                          MsgIcon::None);
}

void ParseCSVLong(UserDialogs& dialogs, const std::string& text, int32_t& value, bool& failed) {
    if (ReadPlainWhole(text, value)) {
        failed = false;
        return;
    }
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
