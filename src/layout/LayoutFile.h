#pragma once
// The byte format of a layout file: little-endian Longs, Strings with a 1- or 3-byte length prefix,
// records of 15 Longs and 5 Strings in field order. Reading takes the bytes in memory or from a
// file as they are needed, so a file is read only as far as its layout goes (its count, records
// and trailer) and whatever follows is never read; a short file is found before anything of the
// document changes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "layout/ControlRecord.h"

class FileSource;

// A cursor over the bytes of a layout file. Every read either completes or fails and says why;
// a failed read leaves its field untouched.
class LayoutReader {
public:
    enum class Fault { None, EndOfFile, TextTooLong, ReadError };

    explicit LayoutReader(const std::string& bytes) : Bytes(&bytes) {}
    // Reads from the file as far as the reads go; what has been read is let go as it is used.
    explicit LayoutReader(FileSource& source) : Bytes(&Buffer), Source(&source) {}

    std::size_t Offset() const { return Base + Pos; }
    // How many bytes there are, or have been read from the file: at the end of the file, its size.
    std::size_t BytesSeen() const { return Base + Bytes->size(); }
    // The system's reason after Fault::ReadError.
    const std::string& ReadErrorReason() const { return Reason; }
    Fault LastFault() const { return LastFaultSeen; }
    int32_t TooLongLength() const { return TooLong; }

    // Four bytes as they stand: the record count and the trailer are never mapped.
    bool GetRawLong(int32_t& field);
    // A record Long: the fill pattern 0xCDCDCDCD reads as -4096.
    bool GetLong(int32_t& field);
    bool GetString(std::string& field);
    // Lets go of the bytes read so far from a file (at a record's start), once they make up a
    // piece of reading, so the memory held is a piece or two and the record being read, and the
    // rest of the buffer moves once a piece rather than once a record.
    void LetGo();

private:
    bool Fail(Fault fault);
    // Whether `count` bytes are there from Pos, reading on from the source as needed.
    bool Have(std::size_t count);

    const std::string* Bytes;
    FileSource* Source = nullptr;
    std::string Buffer;   // the bytes read from the source and not yet let go
    std::size_t Base = 0; // the file offset of Buffer's first byte
    std::string Reason;
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
