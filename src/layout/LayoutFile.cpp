#include "layout/LayoutFile.h"

#include <algorithm>

#include "layout/RecordFields.h"
#include "platform/FileAccess.h"

namespace {
constexpr std::size_t ReadPiece = 64 * 1024;
constexpr int32_t FillPattern = static_cast<int32_t>(0xCDCDCDCDu);
constexpr int32_t FillReplacement = -4096;
constexpr unsigned char LongPrefix = 255;
} // namespace

bool LayoutReader::Fail(Fault fault) {
    if (LastFaultSeen != Fault::ReadError) LastFaultSeen = fault;
    return false;
}

bool LayoutReader::Have(std::size_t count) {
    if (Bytes->size() - Pos >= count) return true;
    if (Source == nullptr) return false;
    const std::size_t wanted = std::max(count - (Buffer.size() - Pos), ReadPiece);
    if (!Source->Read(Buffer, wanted, Reason)) {
        LastFaultSeen = Fault::ReadError;
        Source = nullptr;
        return false;
    }
    return Buffer.size() - Pos >= count;
}

void LayoutReader::LetGo() {
    if (Source == nullptr || Pos < ReadPiece) return;
    Buffer.erase(0, Pos);
    Base += Pos;
    Pos = 0;
}

bool LayoutReader::GetRawLong(int32_t& field) {
    if (!Have(4)) return Fail(Fault::EndOfFile);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>((*Bytes)[Pos + i]);
    Pos += 4;
    field = static_cast<int32_t>(value);
    return true;
}

bool LayoutReader::GetLong(int32_t& field) {
    int32_t value = 0;
    if (!GetRawLong(value)) return false;
    field = value == FillPattern ? FillReplacement : value;
    return true;
}

bool LayoutReader::GetString(std::string& field) {
    const std::size_t start = Pos;
    if (!Have(1)) return Fail(Fault::EndOfFile);
    std::size_t length = static_cast<unsigned char>((*Bytes)[Pos]);
    if (length == LongPrefix) {
        if (!Have(3)) return Fail(Fault::EndOfFile);
        // The host stores the length as a signed 16-bit number; above 32767 it is no text.
        length = static_cast<unsigned char>((*Bytes)[Pos + 1]) |
                 (static_cast<std::size_t>(static_cast<unsigned char>((*Bytes)[Pos + 2])) << 8);
        Pos += 3;
        if (length > static_cast<std::size_t>(MaxTextLength)) {
            TooLong = static_cast<int32_t>(length);
            Pos = start;
            return Fail(Fault::TextTooLong);
        }
    } else {
        ++Pos;
    }
    if (!Have(length)) {
        Pos = start;
        return Fail(Fault::EndOfFile);
    }
    field.assign(*Bytes, Pos, length);
    Pos += length;
    return true;
}

bool ReadControl(LayoutReader& in, ControlRecord& record) {
    in.LetGo();
    ControlRecord r;
    for (const RecordField& field : RecordFields)
        if (!(field.IsText() ? in.GetString(r.*field.Text) : in.GetLong(r.*field.Number)))
            return false;
    record = std::move(r);
    return true;
}

void PutLong(std::string& out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

void PutString(std::string& out, const std::string& text) {
    const std::size_t length = text.size();
    if (length <= 254) {
        out.push_back(static_cast<char>(length));
    } else {
        out.push_back(static_cast<char>(LongPrefix));
        out.push_back(static_cast<char>(length & 0xFF));
        out.push_back(static_cast<char>((length >> 8) & 0xFF));
    }
    out += text;
}

void WriteControl(std::string& out, const ControlRecord& r) {
    for (const RecordField& field : RecordFields)
        if (field.IsText())
            PutString(out, r.*field.Text);
        else
            PutLong(out, r.*field.Number);
}

const std::string* TextTooLongToStore(const ControlRecord& r) {
    for (const RecordField& field : RecordFields)
        if (field.IsText() && (r.*field.Text).size() > static_cast<std::size_t>(MaxTextLength))
            return &(r.*field.Text);
    return nullptr;
}
