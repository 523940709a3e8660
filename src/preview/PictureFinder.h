#pragma once
// Finds the picture file a control's rBitMapPath names, by the host's rule. The host looks a
// relative path up in its `Bitmaps` folder, which lies beside its layouts; so a relative path is
// looked up, in order, in the pictures folder the user chose, `Bitmaps/` beside the layout,
// `Bitmaps/` in each folder above the layout (up to the root or 8 levels), then in the layout's
// folder and its parent. A drive-letter path ("C:\Host\Bitmaps\x.bmp") is looked up by its part
// after `Bitmaps` (or after the host's folder name), else by its file name. Letter case and `\`
// or `/` match as Windows matches them. A picture is found when a regular file with a picture extension (JPEG,
// PNG, BMP) is there; whether it decodes is for whoever draws it. Folder listings and answers are
// cached, so repeated look-ups touch the disk once; Forget() drops what was learnt.

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileAccess.h"

// The name of the host's own folder inside drive-letter paths.
inline constexpr const char* HostFolderName = "korvo";

// The kind of folder a picture was found in.
enum class PicturePlace { Chosen, Bitmaps, LayoutFolder, LayoutParent, Given };

struct PictureFolder {
    std::string Path;                           // a system (UTF-8) path
    PicturePlace Place = PicturePlace::Given;
    int Above = 0;                              // Bitmaps: how many folders above the layout's
};

// Where a picture was found, for people: "Bitmaps beside the layout", "Bitmaps 2 folders above
// the layout", "the pictures folder", "the layout's folder", "the folder above the layout".
std::string PicturePlaceText(const PictureFolder& folder);

struct PictureLookup {
    bool Named = false;    // the control names a picture (not empty, not "None")
    std::string FileName;  // the last part of the name, Windows-1252 as in the record
    std::string FoundPath; // the picture file, a system (UTF-8) path; empty when missing
    std::string FoundIn;   // where it was found, as PicturePlaceText says it; empty when missing
    bool Found() const { return !FoundPath.empty(); }
};

class PictureFinder {
public:
    PictureFinder() = default;
    // Folders in search order (system UTF-8 paths); empty entries and repeats are left out.
    explicit PictureFinder(const std::vector<std::string>& folders);
    // By the host's rule: the user's pictures folder (may be empty), the `Bitmaps` folders beside
    // the layout and above it, then the layout file's folder and its parent.
    static PictureFinder ForLayout(const std::string& layoutFile,
                                   const std::string& picturesFolder);
    // How many folders above the layout's a `Bitmaps` folder is looked for.
    static constexpr int BitmapsLevels = 8;

    const std::vector<std::string>& Folders() const { return SearchFolders; }
    const std::vector<PictureFolder>& Places() const { return SearchPlaces; }
    // The `Bitmaps` folders found for the layout, nearest first.
    std::vector<std::string> BitmapsFolders() const;
    // The code page the layout's paths are written in (1252 unless set); set it before Find.
    void SetCodePage(int codePage);
    int CodePage() const { return PathCodePage; }
    PictureLookup Find(const std::string& bitmapPath) const;
    // What Find says without looking anywhere: named or not, and the file name.
    static PictureLookup Unsearched(const std::string& bitmapPath);
    void Forget();

    // The parts of a host path to look up, in order, as UTF-8: every part of a relative path; of a
    // drive-letter or rooted path those after the host's folder name, else only the file name.
    // "." and ".." are dropped: a layout cannot reach outside the folders searched.
    static std::vector<std::string> LookupParts(const std::string& bitmapPath, int codePage = 1252);
    static bool HasPictureExtension(const std::string& name);

private:
    using Entry = FolderEntry; // the name as the folder spells it, and its kind
    struct Listing {
        std::vector<Entry> Entries;
        std::unordered_map<std::string, std::vector<std::size_t>> ByFoldedName;
    };
    const Listing& ListFolder(const std::string& folder) const;
    // The entry of `folder` called `name` in any letter case, the exact spelling first.
    const Entry* Lookup(const std::string& folder, const std::string& name) const;
    // The found file and the index of the folder it was found under; -1 when not found.
    std::pair<std::string, int> Resolve(const std::vector<std::string>& parts) const;
    void Add(PictureFolder folder);

    std::vector<std::string> SearchFolders;
    std::vector<PictureFolder> SearchPlaces;
    int PathCodePage = 1252;
    mutable std::unordered_map<std::string, Listing> Listings;
    mutable std::unordered_map<std::string, PictureLookup> Answers;
};
