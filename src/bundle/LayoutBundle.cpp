#include "bundle/LayoutBundle.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>
#include <unordered_set>
#include <random>
#include <system_error>
#include <unordered_map>

#include "bundle/BundlePaths.h"
#include "layout/HostCodes.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"
#include "preview/PictureFinder.h"
#include "versioning/LayoutFiles.h"

namespace fs = std::filesystem;

namespace {

// The layout's name without its extension, in characters the records can hold: the pictures
// folder is named by it in the file system and in every rewritten path alike.
std::string StemFor(const std::string& layoutName) {
    std::string stem = Utf8Of(PathOf(layoutName).stem());
    std::string kept;
    for (std::size_t at = 0; at < stem.size();) {
        char32_t codePoint = 0;
        std::size_t length = Utf8SequenceAt(stem, at, codePoint);
        std::string bytes;
        if (length == 0 || !Utf8ToWindows1252(stem.substr(at, length), bytes) ||
            static_cast<unsigned char>(bytes[0]) < 0x20)
            kept += '_';
        else
            kept += stem.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return kept.empty() ? std::string("layout") : kept;
}

std::string NumberedName(const std::string& name, int n) {
    const std::size_t dot = name.rfind('.');
    const std::string suffix = "-" + std::to_string(n);
    return dot == std::string::npos || dot == 0 ? name + suffix
                                                : name.substr(0, dot) + suffix + name.substr(dot);
}

std::string FoldedUtf8(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string MissingListText(const BundlePlan& plan, int codePage) {
    std::string text = "Pictures that " + plan.LayoutName +
                       " names but that were not found when this bundle was made:\r\n\r\n";
    for (const MissingPicture& missing : plan.Missing)
        text += CodePageToUtf8(missing.Path, codePage) + "  (" + std::to_string(missing.Uses) +
                (missing.Uses == 1 ? " control" : " controls") + ")\r\n";
    return text;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Whether the file, its links followed, lies inside one of the folders (theirs followed too): a
// picture that is a link leading anywhere else (to /etc/hostname, say) is not the layout's to
// give away.
bool LeadsInside(const std::string& file, const std::vector<std::string>& folders) {
    std::error_code error;
    const fs::path real = fs::canonical(PathOf(file), error);
    if (error) return false;
    for (const std::string& folder : folders) {
        const fs::path root = fs::canonical(PathOf(folder), error);
        if (error) continue;
        const auto [rootEnd, realAt] = std::mismatch(root.begin(), root.end(), real.begin(),
                                                     real.end());
        if (rootEnd == root.end() && realAt != real.end()) return true;
    }
    return false;
}

} // namespace

fs::path ScratchBeside(const fs::path& target) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0;; ++attempt) {
        fs::path scratch = target;
        scratch += ".partial-" + std::to_string(random() % 1000000);
        std::error_code error;
        if (!fs::exists(scratch, error) || attempt > 100) return scratch;
    }
}

std::string ErrorText(const std::error_code& error) {
    std::string text = error.message();
    // The system's words, as a sentence's part.
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

bool IsZipPath(const std::string& path) {
    return FoldedUtf8(Utf8Of(PathOf(path).extension())) == ".zip";
}

namespace {

// The parts of a relative path the host resolves inside its Bitmaps folder as they are; empty for
// a path it cannot (a drive letter, a rooted path, "..", a path ending in a separator).
std::vector<std::string> HostRelativeParts(const std::string& path) {
    std::vector<std::string> parts;
    if (path.empty() || path[0] == '\\' || path[0] == '/' ||
        (path.size() >= 2 && path[1] == ':'))
        return {};
    std::string part;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (part == "..") return {};
            if (part.empty() || part == ".") {
                if (i == path.size()) return {};
            } else {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += path[i];
        }
    }
    return parts;
}

} // namespace

BundlePlan PlanBundle(const LayoutContent& layout, const std::string& layoutName,
                      const PictureFinder& finder, int codePage) {
    BundlePlan plan;
    const std::string stem = StemFor(layoutName);
    std::string extension = Utf8Of(PathOf(layoutName).extension());
    if (FoldedUtf8(extension) != ".set" && FoldedUtf8(extension) != ".lset") extension = ".set";
    plan.LayoutName = stem + extension;
    plan.PicturesFolder = BundlePicturesFolder;
    std::string folderBytes;
    Utf8ToCodePage(stem, folderBytes, codePage);
    plan.Layout = layout;

    // found file and path -> the rewritten path, or "" where the path is kept
    std::unordered_map<std::string, std::string> bundledOfFile;
    std::map<std::string, std::string> fileOfName;  // folded name in the bundle -> found file
    std::map<std::string, std::string> folderSpelling; // folded folder -> its first spelling
    std::map<std::string, std::size_t> missingAt;   // path key -> index in Missing
    std::vector<BundleFile> pictures;
    std::unordered_set<std::string> bundledNames;
    const auto inBundle = [&](const std::string& foundPath, std::vector<std::string> parts) {
        // One spelling of each folder, as the first path naming it has it, so that a bundle
        // unpacked where letter case matters still has one folder where Windows has one.
        std::string folded, name = BundlePicturesFolder;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            folded += "/" + FoldedUtf8(parts[i]);
            if (i + 1 < parts.size())
                parts[i] = folderSpelling.try_emplace(folded, parts[i]).first->second;
            name += "/" + parts[i];
        }
        const auto [at, added] = fileOfName.try_emplace(folded, foundPath);
        return std::pair{name, added || at->second == foundPath};
    };
    for (ControlRecord& record : plan.Layout.Records) {
        if (!NamesPicture(record.rBitMapPath)) continue;
        PictureLookup lookup = finder.Find(record.rBitMapPath);
        if (lookup.Found() && !LeadsInside(lookup.FoundPath, finder.Folders()))
            lookup.FoundPath.clear();
        if (!lookup.Found()) {
            const auto [at, added] =
                missingAt.try_emplace(PicturePathKey(record.rBitMapPath), plan.Missing.size());
            if (added) plan.Missing.push_back({record.rBitMapPath, 0});
            ++plan.Missing[at->second].Uses;
            continue;
        }
        const std::string key = lookup.FoundPath + '\0' + PicturePathKey(record.rBitMapPath);
        auto known = bundledOfFile.find(key);
        if (known == bundledOfFile.end()) {
            // Where the host finds the path as the layout names it, the picture goes there and
            // the path stays; otherwise it goes to Bitmaps/<layout name>/<file name>.
            std::vector<std::string> parts = HostRelativeParts(record.rBitMapPath);
            for (std::string& part : parts)
                part = CodePageToUtf8(part, codePage);
            bool kept = !parts.empty();
            std::string name;
            if (kept) std::tie(name, kept) = inBundle(lookup.FoundPath, parts);
            std::string path = record.rBitMapPath;
            if (!kept) {
                std::string file = CodePageToUtf8(lookup.FileName, codePage);
                if (file.empty()) file = Utf8Of(PathOf(lookup.FoundPath).filename());
                std::string candidate = file;
                bool fits = false;
                for (int n = 2; !fits; ++n) {
                    std::tie(name, fits) = inBundle(lookup.FoundPath, {stem, candidate});
                    if (!fits) candidate = NumberedName(file, n);
                }
                std::string bytes;
                Utf8ToCodePage(candidate, bytes, codePage);
                path = folderBytes + "\\" + bytes;
                plan.Rewrites.push_back({record.rBitMapPath, path});
            }
            known = bundledOfFile.emplace(key, kept ? std::string() : path).first;
            if (bundledNames.insert(name).second) pictures.push_back({name, lookup.FoundPath, {}});
        }
        if (!known->second.empty()) record.rBitMapPath = known->second;
    }
    plan.Pictures = static_cast<int>(pictures.size());

    plan.Files.push_back({plan.LayoutName, {}, LayoutFileBytesOf(plan.Layout)});
    for (BundleFile& picture : pictures)
        plan.Files.push_back(std::move(picture));
    if (!plan.Missing.empty()) {
        plan.MissingListName = stem + "-missing-pictures.txt";
        plan.Files.push_back({plan.MissingListName, {}, MissingListText(plan, codePage)});
    }
    return plan;
}

bool WriteBundleFolder(const BundlePlan& plan, const std::string& folder, std::string& failure) {
    const std::string cannot = "Cannot write the bundle " + Quoted(PathForMessage(folder)) + ": ";
    // A link to a folder leads to the folder, which is filled; the link stays.
    const fs::path target = PathOf(WriteTargetOf(folder));
    std::error_code error;
    const bool exists = fs::exists(target, error);
    if (exists && (!fs::is_directory(target, error) || !fs::is_empty(target, error))) {
        failure = cannot +
                  (fs::is_directory(target, error)
                       ? "the folder already holds files; choose a new or empty folder"
                       : "it is a file, not a folder") +
                  ". Nothing was written.";
        return false;
    }
    // Built beside the target and put in place whole, so a failure leaves nothing behind.
    const fs::path scratch = ScratchBeside(target);
    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
        failure = cannot + reason + ". Nothing was written.";
        return false;
    };
    if (!fs::create_directories(scratch, error))
        return fail("the folder " + Quoted(PathForMessage(Utf8Of(scratch))) +
                    " could not be made: " + ErrorText(error));
    fs::path made = scratch;
    for (const BundleFile& file : plan.Files) {
        const fs::path to = scratch / PathOf(file.Name);
        if (to.parent_path() != made) {
            made = to.parent_path();
            fs::create_directories(made, error);
            if (error) return fail(ErrorText(error));
        }
        if (!file.Source.empty()) {
            if (!fs::copy_file(PathOf(file.Source), to, fs::copy_options::overwrite_existing,
                               error))
                return fail("the picture " + Quoted(PathForMessage(file.Source)) +
                            " could not be copied: " + ErrorText(error));
            continue;
        }
        // A plain write: the folder appears only once it is whole, by its rename.
        std::ofstream out(to, std::ios::binary);
        out.write(file.Bytes.data(), static_cast<std::streamsize>(file.Bytes.size()));
        out.close();
        if (!out)
            return fail(Quoted(PathForMessage(file.Name)) + " could not be written: " +
                        ErrorText(std::make_error_code(std::errc::io_error)));
    }
    if (exists) fs::remove(target, error);
    fs::rename(scratch, target, error);
    if (error) return fail("the folder could not be put in place: " + ErrorText(error));
    return true;
}

bool WriteBundle(const BundlePlan& plan, const std::string& output, std::string& failure) {
    return IsZipPath(output) ? WriteBundleZip(plan, output, failure)
                             : WriteBundleFolder(plan, output, failure);
}

std::string BundleReport(const BundlePlan& plan, const std::string& output, int codePage) {
    const auto counted = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string report = "Bundled " + plan.LayoutName + " with " +
                         counted(static_cast<std::size_t>(plan.Pictures), "picture", "pictures") +
                         " into " + Quoted(output);
    if (!plan.Missing.empty())
        report += "; " + counted(plan.Missing.size(), "picture was", "pictures were") +
                  " not found, listed in " + plan.MissingListName;
    report += ".";
    // The layout's own bytes are kept except where the host could not find a picture in the
    // bundle's Bitmaps folder; each such path is named.
    if (!plan.Rewrites.empty())
        report += "\n" + counted(plan.Rewrites.size(), "picture path was", "picture paths were") +
                  " rewritten for the host's Bitmaps folder:";
    for (const PictureRewrite& rewrite : plan.Rewrites)
        report += "\n  " + CodePageToUtf8(rewrite.From, codePage) + " -> " +
                  CodePageToUtf8(rewrite.To, codePage);
    return report;
}
