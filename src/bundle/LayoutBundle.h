#pragma once
// A layout with its pictures, to take anywhere: the layout file at the top, every picture it
// names that is found in a folder beside it named after the layout (Skin.set: Skin\), the bundled
// layout's picture paths rewritten to that folder (Skin\x.png), and, when some pictures were not
// found, a short text file naming them. That is the form a shared layout takes when it is put into
// the host's folder with its pictures folder beside it. The layout the bundle is made from is not
// changed.
//
// A bundle is written into a new (or empty) folder, or into a .zip file where the build has the
// zip library (ZipBundles()). Nothing half-written is ever left: a folder appears whole, a .zip
// replaces an existing file only when complete, keeping the old one as NAME.bak. Unpacking reads
// a .zip bundle into a folder, refusing names that would reach outside it, files that differ from
// what the folder already holds, and sizes no layout bundle has.

#include <cstdint>
#include <string>
#include <vector>

#include "versioning/RecordFields.h"

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

struct BundlePlan {
    std::string LayoutName;      // "Skin.set"
    std::string PicturesFolder;  // "Skin"
    std::string MissingListName; // "Skin-missing-pictures.txt"; empty when every picture is found
    LayoutContent Layout;        // with its picture paths rewritten
    // The layout first, then the pictures, then the list of missing pictures when there is one.
    std::vector<BundleFile> Files;
    int Pictures = 0; // picture files in the bundle
    std::vector<MissingPicture> Missing;
};

// What a bundle of the layout holds. `layoutName` is the layout's file name (UTF-8, "Skin.set");
// the pictures are looked up with `finder`, as the preview and the check look them up. Pictures
// found at one file under different spellings are bundled once; different files of the same
// name are told apart by a number ("x-2.png").
BundlePlan PlanBundle(const LayoutContent& layout, const std::string& layoutName,
                      const PictureFinder& finder);

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
// "x.zip"; 2 pictures were not found, listed in Skin-missing-pictures.txt." (UTF-8)
std::string BundleReport(const BundlePlan& plan, const std::string& output);

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
