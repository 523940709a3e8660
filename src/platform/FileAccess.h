#pragma once
// Reading and writing files for the documents, the one place where the core calls the operating
// system for files. Paths are UTF-8. Failures come back as the system's reason, ready for a
// message.
//
// Reading: only files are read, never a folder or a device (a device may never end); a file is
// read whole up to a limit the caller names, or piece by piece through FileSource, so a reader
// stops where its format ends rather than where the file does.
//
// Writing, one rule for every file the program writes:
// - a file is replaced only by renaming a complete, flushed copy written beside it, so a failed
//   write leaves the old file as it was;
// - a symbolic link is followed to the file it names (WriteTargetOf), which is replaced; the link
//   stays as it is. A link whose file does not exist yet is followed too: the file is made where
//   the link points, and the link then leads to it;
// - the new content keeps the permission bits of the file it replaces, and a new file gets the
//   system's default for new files;
// - a read-only file is not replaced unless the caller says the user has agreed
//   (FileWrite::ReplaceReadOnly); the refusal's reason is ReadOnlyReason.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the file into `bytes`. A file of more than `limit` bytes is refused with the reason
// "it is larger than LIMIT bytes" (the limit as a number), without reading past the limit.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason,
                   std::uint64_t limit = UINT64_MAX);

// A file read piece by piece, from its start. Folders and devices are refused at Open.
class FileSource {
public:
    FileSource() = default;
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool Open(const std::string& path, std::string& reason);
    // Appends up to `count` bytes to `out`; fewer only at the end of the file. False, with the
    // reason, on a read error.
    bool Read(std::string& out, std::size_t count, std::string& reason);

private:
    std::intptr_t Handle = -1;
};

// The reason a read-only file is not replaced.
inline constexpr const char* ReadOnlyReason = "the file is read-only";

struct FileWrite {
    // The user has agreed to replace a read-only file; the new content stays read-only.
    bool ReplaceReadOnly = false;
    // The permission bits to give the file, taken from this other file (a backup takes its
    // original's); empty: the bits of the file replaced, or the default for a new file.
    std::string ModeLike;
};

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason,
                        const FileWrite& how = {});

// The file a write to `path` replaces: `path` itself, or the file a symbolic link names,
// followed through further links; it need not exist.
std::string WriteTargetOf(const std::string& path);

// Whether the file at `path` (through links) exists and may not be written: no one may write it.
bool IsReadOnlyFile(const std::string& path);

// A path as a message shows it: the system's UTF-8 turned into Windows-1252 bytes, with '?' for
// characters the code page lacks.
std::string PathForMessage(const std::string& path);

// One entry of a folder: its name (UTF-8), and whether it is a folder or a file, through a link to
// what the link names; anything else is neither.
struct FolderEntry {
    std::string Name;
    bool Folder = false;
    bool File = false;
};

// The entries of a folder without "." and "..", in the system's order; none when it cannot be
// read. The system says each entry's kind with its name, so an entry costs no look of its own
// except a link's.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Whether the system's file names match in any letter case (Windows), so that one name is looked up
// without listing its folder.
#ifdef _WIN32
inline constexpr bool NamesIgnoreCase = true;
#else
inline constexpr bool NamesIgnoreCase = false;
#endif

// The entry of a folder that the name names, as the folder spells it, where the system matches
// names in any letter case; false when there is none or the system cannot tell.
bool FindInFolder(const std::string& folder, const std::string& name, FolderEntry& found);
