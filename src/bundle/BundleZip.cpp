// .zip bundles through libzip, where the build has it, or else through the small zip reader and
// writer on zlib with libzip's interface (ZlibZip.h); without either bundles are folders only.

#include "bundle/LayoutBundle.h"

#include "bundle/BundlePaths.h"
#include "platform/FileAccess.h"

#if defined(QUILL_HAVE_LIBZIP) || defined(QUILL_HAVE_ZLIB_ZIP)

#ifdef QUILL_HAVE_LIBZIP
#include <zip.h>
#else
#include "bundle/ZlibZip.h"
#endif

#include <algorithm>
#include <memory>

#include "layout/FileBackup.h"

namespace fs = std::filesystem;

namespace {

// Sizes beyond any bundle of a layout and its pictures: refused before anything is read.
constexpr zip_int64_t MaxEntries = 100000;
constexpr zip_uint64_t MaxEntryBytes = 512ULL * 1024 * 1024;
constexpr zip_uint64_t MaxTotalBytes = 2ULL * 1024 * 1024 * 1024;
constexpr std::size_t MaxNameParts = 32;

struct ZipCloser {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string Quoted(const std::string& path) {
    return "\"" + PathForMessage(path) + "\"";
}

// The parts of an entry's name, or false for a name that would reach outside the folder it is
// unpacked into (rooted, a drive, "..") or that no file can have.
bool EntryParts(const std::string& name, std::vector<std::string>& parts, bool& folder) {
    parts.clear();
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    folder = name.back() == '/' || name.back() == '\\';
    std::string part;
    const auto take = [&parts, &part] {
        if (part.empty() || part == "." || part == "..") return false;
        parts.push_back(part);
        part.clear();
        return true;
    };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '/' || c == '\\') {
            if (!take()) return false;
            continue;
        }
        if (c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
        part += c;
    }
    if (!part.empty() && !take()) return false;
    return !parts.empty() && parts.size() <= MaxNameParts;
}

bool IsLayoutName(const std::string& name) {
    std::string extension = Utf8Of(PathOf(name).extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return extension == ".set" || extension == ".lset";
}

// The entry's content, exactly its stated size; false when it cannot be read or is damaged (its
// checksum is checked once the whole entry has been read).
bool ReadEntry(zip_t* zip, zip_uint64_t index, zip_uint64_t size, std::string& bytes,
               std::string& reason) {
    zip_file_t* file = zip_fopen_index(zip, index, 0);
    if (file == nullptr) {
        reason = zip_strerror(zip);
        return false;
    }
    // Read as it comes rather than made room for at once: a stated size may be a lie.
    bytes.clear();
    char chunk[64 * 1024];
    bool ok = true;
    while (ok && bytes.size() < size) {
        const zip_int64_t n =
            zip_fread(file, chunk, std::min<zip_uint64_t>(sizeof chunk, size - bytes.size()));
        if (n <= 0) {
            reason = n < 0 ? zip_file_strerror(file) : "it ends before its stated size";
            ok = false;
        } else {
            bytes.append(chunk, static_cast<std::size_t>(n));
        }
    }
    char more = 0;
    if (ok) {
        const zip_int64_t n = zip_fread(file, &more, 1);
        if (n != 0) {
            reason = n < 0 ? zip_file_strerror(file) : "it is longer than its stated size";
            ok = false;
        }
    }
    zip_fclose(file);
    return ok;
}

} // namespace

bool ZipBundles() {
    return true;
}

bool WriteBundleZip(const BundlePlan& plan, const std::string& path, std::string& failure) {
    const std::string cannot = "Cannot write the bundle " + Quoted(path) + ": ";
    // A link is followed: the file it names is replaced, the link stays.
    const fs::path target = PathOf(WriteTargetOf(path));
    std::error_code error;
    if (fs::is_directory(target, error)) {
        failure = cannot + "it is a folder. Nothing was written.";
        return false;
    }
    // Written beside the target, then put in place whole.
    const fs::path scratch = ScratchBeside(target);
    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        fs::remove(scratch, ignored);
        failure = cannot + reason + ". Nothing was written.";
        return false;
    };
    int code = 0;
    ZipHandle zip(zip_open(Utf8Of(scratch).c_str(), ZIP_CREATE | ZIP_EXCL, &code));
    if (!zip) return fail(OpenError(code));
    bool folderAdded = false;
    for (const BundleFile& file : plan.Files) {
        // The pictures' folder before its first picture, after the layout.
        if (!file.Source.empty() && !folderAdded) {
            if (zip_dir_add(zip.get(), plan.PicturesFolder.c_str(), ZIP_FL_ENC_UTF_8) < 0)
                return fail(zip_strerror(zip.get()));
            folderAdded = true;
        }
        zip_source_t* source =
            file.Source.empty()
                ? zip_source_buffer(zip.get(), file.Bytes.data(), file.Bytes.size(), 0)
                : zip_source_file(zip.get(), file.Source.c_str(), 0, 0);
        if (source == nullptr) return fail(zip_strerror(zip.get()));
        const zip_int64_t index =
            zip_file_add(zip.get(), file.Name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(zip_strerror(zip.get()));
        }
        // Pictures are compressed already (or, as bitmaps, read faster than deflated): they are
        // stored, so a bundle costs no more than copying them.
        // The layout and the list are deflated at the fastest level: a layout compresses well
        // at any level, and the best would cost more than all the pictures.
        zip_set_file_compression(zip.get(), static_cast<zip_uint64_t>(index),
                                 file.Source.empty() ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 file.Source.empty() ? 1 : 0);
    }
    if (zip_close(zip.get()) != 0) return fail(zip_strerror(zip.get()));
    zip.release(); // closed
    // The new file keeps the permission bits of the one it replaces.
    if (fs::is_regular_file(target, error))
        fs::permissions(scratch, fs::status(target, error).permissions(),
                        fs::perm_options::replace, error);

    FileBackup backup;
    std::string reason;
    if (!backup.Keep(path, reason)) return fail(reason);
    fs::rename(scratch, target, error);
    if (error) {
        backup.PutBack();
        return fail(ErrorText(error));
    }
    return true;
}

bool UnpackBundle(const std::string& zipPath, const std::string& folder, UnpackedBundle& unpacked,
                  std::string& failure) {
    const std::string cannot = "Cannot unpack the bundle " + Quoted(zipPath) + ": ";
    const auto fail = [&](const std::string& reason) {
        failure = cannot + reason + ". Nothing was unpacked.";
        return false;
    };
    int code = 0;
    ZipHandle zip(zip_open(zipPath.c_str(), ZIP_RDONLY, &code));
    if (!zip) return fail(OpenError(code));
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count < 0 || count > MaxEntries)
        return fail("it holds more files than a layout with its pictures has");

    struct Entry {
        zip_uint64_t Index;
        fs::path To;
        zip_uint64_t Size;
        bool Same = false; // the folder holds it already
    };
    std::vector<Entry> entries;
    std::vector<fs::path> folders;
    const fs::path root = PathOf(folder);
    zip_uint64_t total = 0;
    int layouts = 0;
    fs::path layout;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* raw = zip_get_name(zip.get(), index, 0);
        zip_stat_t stat;
        if (raw == nullptr || zip_stat_index(zip.get(), index, 0, &stat) != 0 ||
            (stat.valid & ZIP_STAT_SIZE) == 0)
            return fail(zip_strerror(zip.get()));
        const std::string name = raw;
        std::vector<std::string> parts;
        bool isFolder = false;
        if (!EntryParts(name, parts, isFolder))
            return fail("it holds the name \"" + name + "\", which would lie outside the folder");
        fs::path to = root;
        for (const std::string& part : parts)
            to /= PathOf(part);
        if (isFolder) {
            folders.push_back(to);
            continue;
        }
        if (stat.size > MaxEntryBytes || total + stat.size > MaxTotalBytes)
            return fail("it holds more than a layout with its pictures has (\"" + name + "\")");
        total += stat.size;
        if (parts.size() == 1 && IsLayoutName(name)) {
            ++layouts;
            layout = to;
        }
        entries.push_back({index, to, stat.size});
    }
    if (layouts != 1)
        return fail(layouts == 0 ? "it holds no layout file (.set or .lset) at its top"
                                 : "it holds " + std::to_string(layouts) +
                                       " layout files at its top, where a bundle holds one");

    // What the folder holds already must be what the bundle holds, or nothing is unpacked.
    std::error_code error;
    for (Entry& entry : entries) {
        for (fs::path up = entry.To.parent_path(); up != root && up.has_relative_path();
             up = up.parent_path())
            if (fs::exists(up, error) && !fs::is_directory(up, error))
                return fail(Quoted(Utf8Of(up)) + " is a file where the bundle has a folder");
        if (!fs::exists(entry.To, error)) continue;
        std::string mine, theirs, reason;
        if (!fs::is_regular_file(entry.To, error) ||
            !ReadWholeFile(Utf8Of(entry.To), theirs, reason))
            return fail(Quoted(Utf8Of(entry.To)) + " is already there and cannot be compared");
        if (!ReadEntry(zip.get(), entry.Index, entry.Size, mine, reason))
            return fail(Quoted(Utf8Of(entry.To)) + " is damaged in the bundle: " + reason);
        if (mine != theirs)
            return fail("the folder already holds " + Quoted(Utf8Of(entry.To)) +
                        ", which differs from the bundle's; unpack it into another folder");
        entry.Same = true;
    }

    // Files and folders made so far are taken away again when one cannot be written.
    std::vector<fs::path> made;
    const auto undo = [&made] {
        std::error_code ignored;
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            fs::remove(*it, ignored);
    };
    const auto makeFolder = [&made](const fs::path& dir) {
        std::vector<fs::path> missing;
        std::error_code ignored;
        for (fs::path up = dir; !up.empty() && !fs::exists(up, ignored); up = up.parent_path()) {
            missing.push_back(up);
            if (up == up.parent_path()) break;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            if (fs::create_directory(*it, ignored)) made.push_back(*it);
    };
    makeFolder(root);
    for (const fs::path& dir : folders)
        makeFolder(dir);
    for (const Entry& entry : entries) {
        if (entry.Same) continue;
        std::string bytes, reason;
        makeFolder(entry.To.parent_path());
        if (!ReadEntry(zip.get(), entry.Index, entry.Size, bytes, reason)) {
            undo();
            return fail(Quoted(Utf8Of(entry.To)) + " is damaged in the bundle: " + reason);
        }
        if (!ReplaceFileContent(Utf8Of(entry.To), bytes, reason)) {
            undo();
            return fail(Quoted(Utf8Of(entry.To)) + " could not be written: " + reason);
        }
        made.push_back(entry.To);
    }
    unpacked.LayoutPath = Utf8Of(layout);
    unpacked.Files = static_cast<int>(entries.size());
    return true;
}

#else // no zip library: bundles are folders

bool ZipBundles() {
    return false;
}

bool WriteBundleZip(const BundlePlan&, const std::string& path, std::string& failure) {
    failure = "Cannot write the bundle \"" + PathForMessage(path) +
              "\": this build writes bundles into folders only; name a folder instead. Nothing "
              "was written.";
    return false;
}

bool UnpackBundle(const std::string& zipPath, const std::string&, UnpackedBundle&,
                  std::string& failure) {
    failure = "Cannot unpack the bundle \"" + PathForMessage(zipPath) +
              "\": this build cannot read .zip files. Nothing was unpacked.";
    return false;
}

#endif
