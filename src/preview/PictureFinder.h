#pragma once
// Finds the picture file a control's rBitMapPath names. The paths are the host's: relative to the
// host's folder, with backslashes and any letter case ("MillBitmaps\grayZero4.jpg"), or a
// drive-letter path into the host's folder ("C:\Korvo\Bitmaps\x.bmp"). They are looked up under a
// list of folders (the user's pictures folder, the layout's folder and its parent), matching
// letter case loosely. A picture is found when a regular file with a picture extension (JPEG,
// PNG, BMP) is there; whether it decodes is for whoever draws it. Folder listings and answers are
// cached, so repeated look-ups touch the disk once; Forget() drops what was learnt.

#include <string>
#include <unordered_map>
#include <vector>

// The name of the host's own folder inside drive-letter paths.
inline constexpr const char* HostFolderName = "korvo";

struct PictureLookup {
    bool Named = false;    // the control names a picture (not empty, not "None")
    std::string FileName;  // the last part of the name, Windows-1252 as in the record
    std::string FoundPath; // the picture file, a system (UTF-8) path; empty when missing
    bool Found() const { return !FoundPath.empty(); }
};

class PictureFinder {
public:
    PictureFinder() = default;
    // Folders in search order (system UTF-8 paths); empty entries and repeats are left out.
    explicit PictureFinder(const std::vector<std::string>& folders);
    // The user's pictures folder (may be empty), then the layout file's folder and its parent.
    static PictureFinder ForLayout(const std::string& layoutFile,
                                   const std::string& picturesFolder);

    const std::vector<std::string>& Folders() const { return SearchFolders; }
    PictureLookup Find(const std::string& bitmapPath) const;
    // What Find says without looking anywhere: named or not, and the file name.
    static PictureLookup Unsearched(const std::string& bitmapPath);
    void Forget();

    // The parts of a host path to look up, in order, as UTF-8: every part of a relative path; of a
    // drive-letter or rooted path those after the host's folder name, else only the file name.
    // "." and ".." are dropped: a layout cannot reach outside the folders searched.
    static std::vector<std::string> LookupParts(const std::string& bitmapPath);
    static bool HasPictureExtension(const std::string& name);

private:
    struct Entry {
        std::string Name; // as the folder spells it
        bool Folder = false;
        bool File = false; // a regular file (or a link to one)
    };
    struct Listing {
        std::vector<Entry> Entries;
        std::unordered_map<std::string, std::vector<std::size_t>> ByFoldedName;
    };
    const Listing& ListFolder(const std::string& folder) const;
    // The entry of `folder` called `name` in any letter case, the exact spelling first.
    const Entry* Lookup(const std::string& folder, const std::string& name) const;
    std::string Resolve(const std::vector<std::string>& parts) const;

    std::vector<std::string> SearchFolders;
    mutable std::unordered_map<std::string, Listing> Listings;
    mutable std::unordered_map<std::string, PictureLookup> Answers;
};
