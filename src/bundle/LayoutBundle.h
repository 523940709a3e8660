#pragma once
// A layout with its pictures, in the host's own arrangement, so that unpacking it into the host's
// folder installs it: the layout file at the top, every picture it names that is found at
// Bitmaps/<the path the layout names> (the host looks relative paths up in its Bitmaps folder),
// and, when some pictures were not found, a short text file naming them. The layout's bytes are
// kept; only paths the host could not resolve inside Bitmaps (drive letters, rooted paths, "..")
// are rewritten, to <layout name>\<file name> (Bitmaps/<layout name>/<file name> in the bundle),
// and listed. The layout the bundle is made from is not changed.
//
// A bundle is written into a new (or empty) folder, or into a .zip file where the build has the
// zip library (ZipBundles()). Nothing half-written is ever left: a folder appears whole, a .zip
// replaces an existing file only when complete, keeping the old one as NAME.bak. Unpacking reads
// a .zip bundle into a folder, refusing names that would reach outside it, files that differ from
// what the folder already holds, and sizes no layout bundle has.

#include <cstdint>
#include <string>
#include <vector>

#include "layout/RecordFields.h"

class PictureFinder;

struct BundleFile {
    std::string Name;   // inside the bundle, parts separated by '/', UTF-8: "Skin/x.png"
    std::string Source; // the file copied in (a system path), or empty for Bytes
    std::string Bytes;
};

struct MissingPicture {
    std::string Path; // as the layout spells it (Windows-1252)
    int Uses = 0;
};

// The folder of the host's pictures, beside its layouts.
inline constexpr const char* BundlePicturesFolder = "Bitmaps";

struct PictureRewrite {
    std::string From, To; // picture paths as the layout spells them (its code page)
};

struct BundlePlan {
    std::string LayoutName;      // "Skin.set"
    std::string PicturesFolder;  // "Bitmaps"
    std::string MissingListName; // "Skin-missing-pictures.txt"; empty when every picture is found
    LayoutContent Layout;        // with its picture paths rewritten
    // The layout first, then the pictures, then the list of missing pictures when there is one.
    std::vector<BundleFile> Files;
    int Pictures = 0; // picture files in the bundle
    std::vector<MissingPicture> Missing;
    std::vector<PictureRewrite> Rewrites; // in the order of first use
};

// What a bundle of the layout holds. `layoutName` is the layout's file name (UTF-8, "Skin.set");
// the pictures are looked up with `finder`, as the preview and the check look them up; paths are
// read in `codePage`. Spellings of one path that Windows matches (letter case, slashes) are
// bundled once; a rewritten file whose name is taken is told apart by a number ("x-2.png").
BundlePlan PlanBundle(const LayoutContent& layout, const std::string& layoutName,
                      const PictureFinder& finder, int codePage = 1252);

// Whether .zip bundles can be written and read by this build.
bool ZipBundles();
// Whether a path names a .zip file (by its extension, in any letter case).
bool IsZipPath(const std::string& path);

// Writes the bundle into `folder`, which must not exist or be empty. False, with the reason
// ("Cannot write the bundle ...: ..."), when it cannot; nothing is then left behind.
bool WriteBundleFolder(const BundlePlan& plan, const std::string& folder, std::string& failure);
// Writes the bundle as the .zip file `path`, keeping a file it replaces as NAME.bak first.
bool WriteBundleZip(const BundlePlan& plan, const std::string& path, std::string& failure);
// Either, by the output's name.
bool WriteBundle(const BundlePlan& plan, const std::string& output, std::string& failure);

// The line a user reads after a bundle was written: "Bundled Skin.set with 12 pictures into
// "x.zip"; 2 pictures were not found, listed in Skin-missing-pictures.txt." (UTF-8), followed by
// a line for each rewritten picture path ("  C:\Host\x.png -> Skin\x.png").
std::string BundleReport(const BundlePlan& plan, const std::string& output, int codePage = 1252);

struct UnpackedBundle {
    std::string LayoutPath; // the layout file in the folder (a system path)
    int Files = 0;          // files written or already there with the same content
};

// Unpacks the .zip bundle `zipPath` into `folder` (made when missing). The bundle must hold one
// layout file (.set or .lset) at its top. False, with the reason, when it cannot be read, holds
// something a bundle does not, or would replace a file of the folder with other content; nothing
// is then written.
bool UnpackBundle(const std::string& zipPath, const std::string& folder, UnpackedBundle& unpacked,
                  std::string& failure);
