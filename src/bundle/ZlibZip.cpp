#include "bundle/ZlibZip.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "platform/SystemPaths.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::size_t LocalHeaderSize = 30;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t EndSize = 22;
constexpr std::uint16_t Utf8NameFlag = 0x0800;
constexpr std::uint16_t EncryptedFlag = 0x0001;
constexpr std::uint64_t Largest32 = 0xFFFFFFFFu;

std::uint16_t Get16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool Ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::uint32_t Crc(const std::string& bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = static_cast<uInt>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + done), n);
        done += n;
    }
    return static_cast<std::uint32_t>(crc);
}

// Raw deflate, as zip entries hold it; false when zlib fails.
bool Deflate(const std::string& in, int level, std::string& out) {
    z_stream stream{};
    if (deflateInit2(&stream, level < 0 ? Z_DEFAULT_COMPRESSION : std::clamp(level, 1, 9),
                     Z_DEFLATED, -MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, static_cast<uLong>(in.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return status == Z_STREAM_END;
}

// The time of writing as the archive's DOS date and time.
void DosNow(std::uint16_t& time, std::uint16_t& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                      (local.tm_sec / 2));
    date = static_cast<std::uint16_t>((std::max(local.tm_year - 80, 0) << 9) |
                                      ((local.tm_mon + 1) << 5) | local.tm_mday);
}

} // namespace

struct ZlibZipSource {
    const char* Data = nullptr;
    std::uint64_t Size = 0;
    std::string File; // UTF-8; read at close when not empty
};

struct ZlibZipEntry {
    std::string Name;
    // Read: where its local header is, its sizes, method, flags and checksum.
    std::uint64_t LocalOffset = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t Size = 0;
    std::uint16_t Method = 0;
    std::uint16_t Flags = 0;
    std::uint32_t Crc = 0;
    // Written: what it holds and how.
    std::unique_ptr<ZlibZipSource> Source; // none: a folder
    int Level = 1;
};

struct ZlibZipArchive {
    bool Writing = false;
    fs::path Path;
    std::ifstream In;
    std::uint64_t FileSize = 0;
    std::vector<ZlibZipEntry> Entries;
    int Error = ZIP_ER_OK;
};

struct ZlibZipEntryReader {
    ZlibZipArchive* Archive = nullptr;
    const ZlibZipEntry* Entry = nullptr;
    std::uint64_t NextIn = 0;  // file offset of the next compressed byte
    std::uint64_t LeftIn = 0;  // compressed bytes not yet read
    std::uint64_t LeftOut = 0; // bytes the entry still owes
    z_stream Stream{};
    bool Inflating = false;
    bool Ended = false;
    uLong Crc = 0;
    std::vector<char> Chunk;
    int Error = ZIP_ER_OK;
};

void zip_error_init_with_code(zip_error_t* error, int code) {
    error->code = code;
}

const char* zip_error_strerror(zip_error_t* error) {
    switch (error->code) {
    case ZIP_ER_OK: return "No error";
    case ZIP_ER_SEEK: return "Seek error";
    case ZIP_ER_READ: return "Read error";
    case ZIP_ER_WRITE: return "Write error";
    case ZIP_ER_CRC: return "CRC error";
    case ZIP_ER_NOENT: return "No such file";
    case ZIP_ER_EXISTS: return "File already exists";
    case ZIP_ER_OPEN: return "Can't open file";
    case ZIP_ER_ZLIB: return "Zlib error";
    case ZIP_ER_MEMORY: return "Malloc failure";
    case ZIP_ER_COMPNOTSUPP: return "Compression method not supported";
    case ZIP_ER_INVAL: return "Invalid argument";
    case ZIP_ER_NOZIP: return "Not a zip archive";
    case ZIP_ER_INCONS: return "Zip archive inconsistent";
    case ZIP_ER_ENCRNOTSUPP: return "Encryption method not supported";
    default: return "Unknown error";
    }
}

void zip_error_fini(zip_error_t*) {}

namespace {

const char* ErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    return zip_error_strerror(&error);
}

bool ReadAt(ZlibZipArchive& zip, std::uint64_t offset, std::size_t size, std::string& bytes) {
    bytes.assign(size, '\0');
    zip.In.clear();
    zip.In.seekg(static_cast<std::streamoff>(offset));
    zip.In.read(bytes.data(), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(zip.In.gcount()) == size;
}

// Reads the central directory; the error code, or ZIP_ER_OK.
int ReadDirectory(ZlibZipArchive& zip) {
    if (zip.FileSize < EndSize) return ZIP_ER_NOZIP;
    // The end record lies within the last 22 + 65535 (its comment) bytes.
    const std::uint64_t tail = std::min<std::uint64_t>(zip.FileSize, EndSize + 0xFFFF);
    std::string bytes;
    if (!ReadAt(zip, zip.FileSize - tail, static_cast<std::size_t>(tail), bytes)) return ZIP_ER_READ;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t end = std::string::npos;
    for (std::size_t at = bytes.size() - EndSize + 1; at-- > 0;)
        if (Get32(data + at) == EndSignature && at + EndSize + Get16(data + at + 20) == bytes.size()) {
            end = at;
            break;
        }
    if (end == std::string::npos) return ZIP_ER_NOZIP;
    const unsigned char* record = data + end;
    const std::uint16_t count = Get16(record + 10);
    const std::uint32_t directorySize = Get32(record + 12);
    const std::uint32_t directoryOffset = Get32(record + 16);
    const std::uint64_t endOffset = zip.FileSize - tail + end;
    if (Get16(record + 4) != 0 || Get16(record + 6) != 0 || Get16(record + 8) != count ||
        static_cast<std::uint64_t>(directoryOffset) + directorySize > endOffset)
        return ZIP_ER_INCONS;

    std::string directory;
    if (!ReadAt(zip, directoryOffset, directorySize, directory)) return ZIP_ER_READ;
    const auto* p = reinterpret_cast<const unsigned char*>(directory.data());
    std::size_t at = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + CentralHeaderSize > directory.size() || Get32(p + at) != CentralHeaderSignature)
            return ZIP_ER_INCONS;
        ZlibZipEntry entry;
        entry.Flags = Get16(p + at + 8);
        entry.Method = Get16(p + at + 10);
        entry.Crc = Get32(p + at + 16);
        entry.CompressedSize = Get32(p + at + 20);
        entry.Size = Get32(p + at + 24);
        const std::size_t nameSize = Get16(p + at + 28);
        const std::size_t extraSize = Get16(p + at + 30);
        const std::size_t commentSize = Get16(p + at + 32);
        entry.LocalOffset = Get32(p + at + 42);
        const std::size_t next = at + CentralHeaderSize + nameSize + extraSize + commentSize;
        if (next > directory.size() || entry.LocalOffset >= directoryOffset) return ZIP_ER_INCONS;
        entry.Name.assign(directory, at + CentralHeaderSize, nameSize);
        // A name with a NUL would be cut short where it is used: the archive is damaged.
        if (entry.Name.find('\0') != std::string::npos) return ZIP_ER_INCONS;
        zip.Entries.push_back(std::move(entry));
        at = next;
    }
    return ZIP_ER_OK;
}

bool SourceBytes(const ZlibZipSource& source, std::string& bytes) {
    if (source.File.empty()) {
        bytes.assign(source.Data, static_cast<std::size_t>(source.Size));
        return true;
    }
    std::ifstream in(PathOf(source.File.c_str()), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes the archive; the error code, or ZIP_ER_OK.
int WriteArchive(ZlibZipArchive& zip) {
    std::ofstream out(zip.Path, std::ios::binary | std::ios::trunc);
    if (!out) return ZIP_ER_OPEN;
    if (zip.Entries.size() > 0xFFFF) return ZIP_ER_INVAL;
    std::uint16_t time = 0, date = 0;
    DosNow(time, date);
    std::string directory;
    std::uint64_t offset = 0;
    for (const ZlibZipEntry& entry : zip.Entries) {
        std::string bytes, stored;
        std::uint16_t method = ZIP_CM_STORE;
        if (entry.Source) {
            if (!SourceBytes(*entry.Source, bytes)) return ZIP_ER_READ;
            if (entry.Method == ZIP_CM_DEFLATE) {
                if (!Deflate(bytes, entry.Level, stored)) return ZIP_ER_ZLIB;
                method = ZIP_CM_DEFLATE;
            }
        }
        const std::string& data = method == ZIP_CM_DEFLATE ? stored : bytes;
        if (bytes.size() > Largest32 || data.size() > Largest32 || offset > Largest32 ||
            entry.Name.size() > 0xFFFF)
            return ZIP_ER_INVAL;
        const std::uint32_t crc = Crc(bytes);
        const std::uint16_t flags = Ascii(entry.Name) ? 0 : Utf8NameFlag;
        const std::uint16_t needed = method == ZIP_CM_DEFLATE || !entry.Source ? 20 : 10;

        std::string header;
        Put32(header, LocalHeaderSignature);
        Put16(header, needed);
        Put16(header, flags);
        Put16(header, method);
        Put16(header, time);
        Put16(header, date);
        Put32(header, crc);
        Put32(header, static_cast<std::uint32_t>(data.size()));
        Put32(header, static_cast<std::uint32_t>(bytes.size()));
        Put16(header, static_cast<std::uint32_t>(entry.Name.size()));
        Put16(header, 0);
        header += entry.Name;
        out.write(header.data(), static_cast<std::streamsize>(header.size()));
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        if (!out) return ZIP_ER_WRITE;

        Put32(directory, CentralHeaderSignature);
        Put16(directory, 0x0300 | 20); // made on Unix-like terms, zip 2.0
        Put16(directory, needed);
        Put16(directory, flags);
        Put16(directory, method);
        Put16(directory, time);
        Put16(directory, date);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(data.size()));
        Put32(directory, static_cast<std::uint32_t>(bytes.size()));
        Put16(directory, static_cast<std::uint32_t>(entry.Name.size()));
        Put16(directory, 0); // extra
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        // rwxr-xr-x folders, rw-r--r-- files, with the DOS folder bit.
        Put32(directory, entry.Source ? 0100644u << 16 : (040755u << 16) | 0x10);
        Put32(directory, static_cast<std::uint32_t>(offset));
        directory += entry.Name;
        offset += header.size() + data.size();
    }
    if (offset > Largest32 || directory.size() > Largest32) return ZIP_ER_INVAL;
    std::string end;
    Put32(end, EndSignature);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<std::uint32_t>(zip.Entries.size()));
    Put16(end, static_cast<std::uint32_t>(zip.Entries.size()));
    Put32(end, static_cast<std::uint32_t>(directory.size()));
    Put32(end, static_cast<std::uint32_t>(offset));
    Put16(end, 0);
    out.write(directory.data(), static_cast<std::streamsize>(directory.size()));
    out.write(end.data(), static_cast<std::streamsize>(end.size()));
    out.flush();
    return out ? ZIP_ER_OK : ZIP_ER_WRITE;
}

} // namespace

zip_t* zip_open(const char* path, int flags, int* errorp) {
    auto zip = std::make_unique<ZlibZipArchive>();
    zip->Path = PathOf(path);
    std::error_code error;
    const bool exists = fs::exists(zip->Path, error);
    if ((flags & ZIP_CREATE) != 0) {
        if (exists && (flags & ZIP_EXCL) != 0) {
            if (errorp != nullptr) *errorp = ZIP_ER_EXISTS;
            return nullptr;
        }
        zip->Writing = true;
        return zip.release();
    }
    if (!exists) {
        if (errorp != nullptr) *errorp = ZIP_ER_NOENT;
        return nullptr;
    }
    zip->In.open(zip->Path, std::ios::binary);
    const auto size = fs::file_size(zip->Path, error);
    if (!zip->In || error) {
        if (errorp != nullptr) *errorp = ZIP_ER_OPEN;
        return nullptr;
    }
    zip->FileSize = size;
    const int code = ReadDirectory(*zip);
    if (code != ZIP_ER_OK) {
        if (errorp != nullptr) *errorp = code;
        return nullptr;
    }
    return zip.release();
}

int zip_close(zip_t* zip) {
    if (zip->Writing) {
        zip->Error = WriteArchive(*zip);
        if (zip->Error != ZIP_ER_OK) {
            std::error_code ignored;
            fs::remove(zip->Path, ignored);
            return -1;
        }
    }
    delete zip;
    return 0;
}

void zip_discard(zip_t* zip) {
    delete zip;
}

const char* zip_strerror(zip_t* zip) {
    return ErrorText(zip->Error);
}

zip_int64_t zip_get_num_entries(zip_t* zip, int) {
    return static_cast<zip_int64_t>(zip->Entries.size());
}

const char* zip_get_name(zip_t* zip, zip_uint64_t index, int) {
    if (index >= zip->Entries.size()) {
        zip->Error = ZIP_ER_INVAL;
        return nullptr;
    }
    return zip->Entries[index].Name.c_str();
}

int zip_stat_index(zip_t* zip, zip_uint64_t index, int, zip_stat_t* stat) {
    if (index >= zip->Entries.size()) {
        zip->Error = ZIP_ER_INVAL;
        return -1;
    }
    stat->valid = ZIP_STAT_SIZE;
    stat->size = zip->Entries[index].Size;
    return 0;
}

zip_file_t* zip_fopen_index(zip_t* zip, zip_uint64_t index, int) {
    if (zip->Writing || index >= zip->Entries.size()) {
        zip->Error = ZIP_ER_INVAL;
        return nullptr;
    }
    const ZlibZipEntry& entry = zip->Entries[index];
    if ((entry.Flags & EncryptedFlag) != 0) {
        zip->Error = ZIP_ER_ENCRNOTSUPP;
        return nullptr;
    }
    if (entry.Method != ZIP_CM_STORE && entry.Method != ZIP_CM_DEFLATE) {
        zip->Error = ZIP_ER_COMPNOTSUPP;
        return nullptr;
    }
    std::string header;
    if (!ReadAt(*zip, entry.LocalOffset, LocalHeaderSize, header)) {
        zip->Error = ZIP_ER_INCONS;
        return nullptr;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(header.data());
    const std::uint64_t start =
        entry.LocalOffset + LocalHeaderSize + Get16(p + 26) + Get16(p + 28);
    if (Get32(p) != LocalHeaderSignature || start + entry.CompressedSize > zip->FileSize) {
        zip->Error = ZIP_ER_INCONS;
        return nullptr;
    }
    auto file = std::make_unique<ZlibZipEntryReader>();
    file->Archive = zip;
    file->Entry = &entry;
    file->NextIn = start;
    file->LeftIn = entry.CompressedSize;
    file->LeftOut = entry.Size;
    file->Crc = crc32(0L, Z_NULL, 0);
    if (entry.Method == ZIP_CM_DEFLATE) {
        if (inflateInit2(&file->Stream, -MAX_WBITS) != Z_OK) {
            zip->Error = ZIP_ER_ZLIB;
            return nullptr;
        }
        file->Inflating = true;
    } else if (entry.CompressedSize != entry.Size) {
        zip->Error = ZIP_ER_INCONS;
        return nullptr;
    }
    return file.release();
}

zip_int64_t zip_fread(zip_file_t* file, void* buffer, zip_uint64_t size) {
    if (file->Error != ZIP_ER_OK) return -1;
    ZlibZipArchive& zip = *file->Archive;
    auto* out = static_cast<char*>(buffer);
    const std::uint64_t wanted = std::min<std::uint64_t>(size, file->LeftOut);
    std::uint64_t given = 0;
    if (!file->Inflating) {
        std::string bytes;
        if (wanted > 0 && !ReadAt(zip, file->NextIn, static_cast<std::size_t>(wanted), bytes)) {
            file->Error = ZIP_ER_READ;
            return -1;
        }
        std::memcpy(out, bytes.data(), bytes.size());
        file->NextIn += wanted;
        given = wanted;
    } else {
        while (given < wanted && !file->Ended) {
            if (file->Stream.avail_in == 0 && file->LeftIn > 0) {
                const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(file->LeftIn, 64 * 1024));
                std::string bytes;
                if (!ReadAt(zip, file->NextIn, n, bytes)) {
                    file->Error = ZIP_ER_READ;
                    return -1;
                }
                file->Chunk.assign(bytes.begin(), bytes.end());
                file->NextIn += n;
                file->LeftIn -= n;
                file->Stream.next_in = reinterpret_cast<Bytef*>(file->Chunk.data());
                file->Stream.avail_in = static_cast<uInt>(n);
            }
            file->Stream.next_out = reinterpret_cast<Bytef*>(out + given);
            file->Stream.avail_out = static_cast<uInt>(std::min<std::uint64_t>(wanted - given, 1u << 30));
            const uInt before = file->Stream.avail_out;
            const int status = inflate(&file->Stream, Z_NO_FLUSH);
            given += before - file->Stream.avail_out;
            if (status == Z_STREAM_END) {
                file->Ended = true;
            } else if (status != Z_OK && !(status == Z_BUF_ERROR && before != file->Stream.avail_out)) {
                file->Error = ZIP_ER_ZLIB;
                return -1;
            } else if (before == file->Stream.avail_out && file->Stream.avail_in == 0 &&
                       file->LeftIn == 0) {
                file->Error = ZIP_ER_INCONS; // the compressed data ends too soon
                return -1;
            }
        }
    }
    file->Crc = crc32(file->Crc, reinterpret_cast<const Bytef*>(out), static_cast<uInt>(given));
    file->LeftOut -= given;
    if (given == 0 && (file->LeftOut == 0 || file->Ended) &&
        static_cast<std::uint32_t>(file->Crc) != file->Entry->Crc) {
        file->Error = ZIP_ER_CRC;
        return -1;
    }
    return static_cast<zip_int64_t>(given);
}

int zip_fclose(zip_file_t* file) {
    if (file->Inflating) inflateEnd(&file->Stream);
    delete file;
    return 0;
}

const char* zip_file_strerror(zip_file_t* file) {
    return ErrorText(file->Error);
}

namespace {

// Takes the source (none for a folder) only when the entry is added.
zip_int64_t AddEntry(zip_t* zip, std::string name, ZlibZipSource* source, bool overwrite) {
    if (!zip->Writing || name.empty()) {
        zip->Error = ZIP_ER_INVAL;
        return -1;
    }
    for (std::size_t i = 0; i < zip->Entries.size(); ++i)
        if (zip->Entries[i].Name == name) {
            if (!overwrite) {
                zip->Error = ZIP_ER_EXISTS;
                return -1;
            }
            zip->Entries[i].Source.reset(source);
            return static_cast<zip_int64_t>(i);
        }
    ZlibZipEntry entry;
    entry.Name = std::move(name);
    entry.Source.reset(source);
    entry.Method = ZIP_CM_DEFLATE;
    zip->Entries.push_back(std::move(entry));
    return static_cast<zip_int64_t>(zip->Entries.size() - 1);
}

} // namespace

zip_int64_t zip_dir_add(zip_t* zip, const char* name, int) {
    std::string folder = name;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return AddEntry(zip, folder, nullptr, false);
}

zip_source_t* zip_source_buffer(zip_t*, const void* data, zip_uint64_t size, int) {
    auto* source = new ZlibZipSource;
    source->Data = static_cast<const char*>(data);
    source->Size = size;
    return source;
}

zip_source_t* zip_source_file(zip_t* zip, const char* path, zip_uint64_t start, zip_int64_t len) {
    if (start != 0 || len != 0 || path == nullptr || *path == '\0') {
        zip->Error = ZIP_ER_INVAL;
        return nullptr;
    }
    auto* source = new ZlibZipSource;
    source->File = path;
    return source;
}

void zip_source_free(zip_source_t* source) {
    delete source;
}

zip_int64_t zip_file_add(zip_t* zip, const char* name, zip_source_t* source, int flags) {
    if (source == nullptr) {
        zip->Error = ZIP_ER_INVAL;
        return -1;
    }
    // Owned from here on success only, as libzip has it: on failure the caller frees it.
    return AddEntry(zip, name, source, (flags & ZIP_FL_OVERWRITE) != 0);
}

int zip_set_file_compression(zip_t* zip, zip_uint64_t index, int method, int level) {
    if (index >= zip->Entries.size() || (method != ZIP_CM_STORE && method != ZIP_CM_DEFLATE)) {
        zip->Error = ZIP_ER_INVAL;
        return -1;
    }
    zip->Entries[index].Method = static_cast<std::uint16_t>(method);
    zip->Entries[index].Level = level == 0 ? Z_DEFAULT_COMPRESSION : level;
    return 0;
}
