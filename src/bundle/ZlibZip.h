#pragma once
// A zip archive reader and writer on zlib alone, with the part of libzip's interface that the
// bundles use (BundleZip.cpp), for builds that have zlib but not libzip: the Windows cross build,
// for which Debian packages zlib but not libzip. What it does not need it does not have: entries
// are stored or deflated, names are UTF-8, an archive stays below 4 GiB and 65535 entries (no
// ZIP64), nothing is encrypted, and an archive is either read or written whole, never changed.
// File names are UTF-8 on every system.

#include <cstdint>

using zip_int64_t = std::int64_t;
using zip_uint64_t = std::uint64_t;

struct ZlibZipArchive;
struct ZlibZipEntryReader;
struct ZlibZipSource;
using zip_t = ZlibZipArchive;
using zip_file_t = ZlibZipEntryReader;
using zip_source_t = ZlibZipSource;

struct zip_error_t {
    int code = 0;
};

struct zip_stat_t {
    zip_uint64_t valid = 0;
    zip_uint64_t size = 0;
};

inline constexpr zip_uint64_t ZIP_STAT_SIZE = 0x0004u;

inline constexpr int ZIP_CREATE = 1;
inline constexpr int ZIP_EXCL = 2;
inline constexpr int ZIP_RDONLY = 16;

inline constexpr int ZIP_FL_OVERWRITE = 8192;
inline constexpr int ZIP_FL_ENC_UTF_8 = 2048;

inline constexpr int ZIP_CM_STORE = 0;
inline constexpr int ZIP_CM_DEFLATE = 8;

// libzip's error codes, for the same texts.
inline constexpr int ZIP_ER_OK = 0;
inline constexpr int ZIP_ER_SEEK = 4;
inline constexpr int ZIP_ER_READ = 5;
inline constexpr int ZIP_ER_WRITE = 6;
inline constexpr int ZIP_ER_CRC = 7;
inline constexpr int ZIP_ER_NOENT = 9;
inline constexpr int ZIP_ER_EXISTS = 10;
inline constexpr int ZIP_ER_OPEN = 11;
inline constexpr int ZIP_ER_ZLIB = 13;
inline constexpr int ZIP_ER_MEMORY = 14;
inline constexpr int ZIP_ER_COMPNOTSUPP = 16;
inline constexpr int ZIP_ER_INVAL = 18;
inline constexpr int ZIP_ER_NOZIP = 19;
inline constexpr int ZIP_ER_INCONS = 21;
inline constexpr int ZIP_ER_ENCRNOTSUPP = 24;

void zip_error_init_with_code(zip_error_t* error, int code);
const char* zip_error_strerror(zip_error_t* error);
void zip_error_fini(zip_error_t* error);

// ZIP_RDONLY reads an archive; ZIP_CREATE | ZIP_EXCL makes a new one, written by zip_close.
zip_t* zip_open(const char* path, int flags, int* errorp);
int zip_close(zip_t* zip); // 0: written and freed; -1: not written, zip stays to be discarded
void zip_discard(zip_t* zip);
const char* zip_strerror(zip_t* zip);

zip_int64_t zip_get_num_entries(zip_t* zip, int flags);
const char* zip_get_name(zip_t* zip, zip_uint64_t index, int flags);
int zip_stat_index(zip_t* zip, zip_uint64_t index, int flags, zip_stat_t* stat);
zip_file_t* zip_fopen_index(zip_t* zip, zip_uint64_t index, int flags);
// The entry's bytes in order; 0 at its end, where its checksum has been checked; -1 on failure.
zip_int64_t zip_fread(zip_file_t* file, void* buffer, zip_uint64_t size);
int zip_fclose(zip_file_t* file);
const char* zip_file_strerror(zip_file_t* file);

zip_int64_t zip_dir_add(zip_t* zip, const char* name, int flags);
// The bytes stay the caller's and must live until zip_close.
zip_source_t* zip_source_buffer(zip_t* zip, const void* data, zip_uint64_t size, int freep);
// The file is read at zip_close (start and len must be 0: the whole file).
zip_source_t* zip_source_file(zip_t* zip, const char* path, zip_uint64_t start, zip_int64_t len);
void zip_source_free(zip_source_t* source);
zip_int64_t zip_file_add(zip_t* zip, const char* name, zip_source_t* source, int flags);
int zip_set_file_compression(zip_t* zip, zip_uint64_t index, int method, int level);
