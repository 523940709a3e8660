#pragma once
// The byte format of a layout file: little-endian Longs, Strings with a 1- or 3-byte length prefix,
// records of 15 Longs and 5 Strings in field order. Reading works on the file's bytes in memory,
// so a short file is found before anything of the document changes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "layout/ControlRecord.h"

// A cursor over the bytes of a layout file. Every read either completes or fails and says why;
// a failed read leaves its field untouched.
class LayoutReader {
public:
    enum class Fault { None, EndOfFile, TextTooLong };

    explicit LayoutReader(const std::string& bytes) : Bytes(bytes) {}

    std::size_t Offset() const { return Pos; }
    Fault LastFault() const { return LastFaultSeen; }
    int32_t TooLongLength() const { return TooLong; }

    // Four bytes as they stand: the record count and the trailer are never mapped.
    bool GetRawLong(int32_t& field);
    // A record Long: the fill pattern 0xCDCDCDCD reads as -4096.
    bool GetLong(int32_t& field);
    bool GetString(std::string& field);

private:
    bool Fail(Fault fault);

    const std::string& Bytes;
    std::size_t Pos = 0;
    Fault LastFaultSeen = Fault::None;
    int32_t TooLong = 0;
};

// Reads one record, field by field; false (record unchanged) when the bytes run out.
bool ReadControl(LayoutReader& in, ControlRecord& record);

void PutLong(std::string& out, int32_t value);
// The caller makes sure the text is at most 32767 characters long.
void PutString(std::string& out, const std::string& text);
void WriteControl(std::string& out, const ControlRecord& record);

// The first text of the record longer than a layout file can hold, or nullptr.
const std::string* TextTooLongToStore(const ControlRecord& record);
