#include "preview/PictureFinder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "layout/HostCodes.h"
#include "platform/CodePages.h"
#include "platform/SystemPaths.h"

namespace fs = std::filesystem;

namespace {

std::string Folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Deep paths name nothing real; only their last parts are looked at.
constexpr std::size_t MaxParts = 16;

} // namespace

std::string PicturePlaceText(const PictureFolder& folder) {
    switch (folder.Place) {
    case PicturePlace::Chosen:
        return "the pictures folder";
    case PicturePlace::Bitmaps:
        if (folder.Above == 0) return "Bitmaps beside the layout";
        return "Bitmaps " + std::to_string(folder.Above) +
               (folder.Above == 1 ? " folder" : " folders") + " above the layout";
    case PicturePlace::LayoutFolder:
        return "the layout's folder";
    case PicturePlace::LayoutParent:
        return "the folder above the layout";
    case PicturePlace::Given:
        break;
    }
    return "\"" + folder.Path + "\"";
}

void PictureFinder::Add(PictureFolder folder) {
    if (folder.Path.empty()) return;
    std::string normal = Utf8Of(PathOf(folder.Path).lexically_normal());
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    if (std::find(SearchFolders.begin(), SearchFolders.end(), normal) != SearchFolders.end())
        return;
    folder.Path = normal;
    SearchFolders.push_back(normal);
    SearchPlaces.push_back(std::move(folder));
}

PictureFinder::PictureFinder(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        Add({folder, PicturePlace::Given, 0});
}

PictureFinder PictureFinder::ForLayout(const std::string& layoutFile,
                                       const std::string& picturesFolder) {
    PictureFinder finder;
    finder.Add({picturesFolder, PicturePlace::Chosen, 0});
    if (layoutFile.empty()) return finder;
    std::error_code error;
    fs::path file = fs::absolute(PathOf(layoutFile), error);
    if (error) file = PathOf(layoutFile);
    const fs::path folder = file.lexically_normal().parent_path();
    // The host's Bitmaps folder lies beside its layouts; a layout kept a few folders below the
    // host's folder still has it above. Its name is matched in any letter case.
    fs::path at = folder;
    // Where names match in any letter case the one name is asked for, rather than every folder
    // up to the root listed.
    for (int above = 0; above <= BitmapsLevels; ++above) {
        const std::string here = Utf8Of(at);
        if constexpr (NamesIgnoreCase) {
            Entry bitmaps;
            if (FindInFolder(here, "Bitmaps", bitmaps) && bitmaps.Folder)
                finder.Add({Joined(here, bitmaps.Name), PicturePlace::Bitmaps, above});
        } else if (const Entry* bitmaps = finder.Lookup(here, "Bitmaps");
                   bitmaps != nullptr && bitmaps->Folder) {
            finder.Add({Joined(here, bitmaps->Name), PicturePlace::Bitmaps, above});
        }
        if (!at.has_relative_path()) break;
        at = at.parent_path();
    }
    finder.Add({Utf8Of(folder), PicturePlace::LayoutFolder, 0});
    if (folder.has_relative_path())
        finder.Add({Utf8Of(folder.parent_path()), PicturePlace::LayoutParent, 0});
    return finder;
}

std::vector<std::string> PictureFinder::BitmapsFolders() const {
    std::vector<std::string> folders;
    for (const PictureFolder& place : SearchPlaces)
        if (place.Place == PicturePlace::Bitmaps) folders.push_back(place.Path);
    return folders;
}

void PictureFinder::SetCodePage(int codePage) {
    if (codePage == PathCodePage) return;
    PathCodePage = codePage;
    Answers.clear();
}

void PictureFinder::Forget() {
    Listings.clear();
    Answers.clear();
}

bool PictureFinder::HasPictureExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string extension = Folded(name.substr(dot + 1));
    return extension == "jpg" || extension == "jpeg" || extension == "png" || extension == "bmp";
}

std::vector<std::string> PictureFinder::LookupParts(const std::string& bitmapPath, int codePage) {
    const std::string& path = bitmapPath;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const bool rooted = drive || (!path.empty() && IsSeparator(path[0]));
    std::vector<std::string> parts;
    std::string part;
    const auto take = [&parts, &part] {
        if (!part.empty() && part != "." && part != "..") parts.push_back(part);
        part.clear();
    };
    for (std::size_t i = drive ? 2 : 0; i < path.size(); ++i) {
        if (IsSeparator(path[i]))
            take();
        else
            part += path[i];
    }
    take();
    if (rooted) {
        // After the host's Bitmaps folder (the last of that name), else after the host's folder.
        std::size_t host = parts.size();
        for (std::size_t i = parts.size() - std::min<std::size_t>(parts.size(), 1); i-- > 0;)
            if (Folded(parts[i]) == "bitmaps") {
                host = i;
                break;
            }
        for (std::size_t i = 0; i + 1 < parts.size() && host == parts.size(); ++i)
            if (Folded(parts[i]) == HostFolderName) host = i;
        if (host < parts.size())
            parts.erase(parts.begin(), parts.begin() + host + 1);
        else if (!parts.empty())
            parts.erase(parts.begin(), parts.end() - 1);
    }
    if (parts.size() > MaxParts) parts.erase(parts.begin(), parts.end() - MaxParts);
    for (std::string& p : parts)
        p = CodePageToUtf8(p, codePage);
    return parts;
}

const PictureFinder::Listing& PictureFinder::ListFolder(const std::string& folder) const {
    const auto known = Listings.find(folder);
    if (known != Listings.end()) return known->second;
    Listing listing;
    listing.Entries = ::ListFolder(folder);
    for (std::size_t i = 0; i < listing.Entries.size(); ++i)
        listing.ByFoldedName[Folded(listing.Entries[i].Name)].push_back(i);
    return Listings.emplace(folder, std::move(listing)).first->second;
}

const PictureFinder::Entry* PictureFinder::Lookup(const std::string& folder,
                                                  const std::string& name) const {
    const Listing& listing = ListFolder(folder);
    const auto same = listing.ByFoldedName.find(Folded(name));
    if (same == listing.ByFoldedName.end()) return nullptr;
    const Entry* first = &listing.Entries[same->second.front()];
    for (std::size_t index : same->second)
        if (listing.Entries[index].Name == name) return &listing.Entries[index];
    return first;
}

std::pair<std::string, int> PictureFinder::Resolve(const std::vector<std::string>& parts) const {
    // The whole path under each folder first; then shorter and shorter tails of it, for a
    // pictures folder that is itself one of the host's picture folders.
    for (std::size_t start = 0; start < parts.size(); ++start) {
        for (std::size_t k = 0; k < SearchFolders.size(); ++k) {
            std::string at = SearchFolders[k];
            bool found = true;
            for (std::size_t i = start; i < parts.size() && found; ++i) {
                const Entry* entry = Lookup(at, parts[i]);
                const bool last = i + 1 == parts.size();
                found = entry != nullptr && (last ? entry->File : entry->Folder);
                if (found) at = Joined(at, entry->Name);
            }
            if (found) return {at, static_cast<int>(k)};
        }
    }
    return {{}, -1};
}

PictureLookup PictureFinder::Unsearched(const std::string& bitmapPath) {
    PictureLookup lookup;
    if (!NamesPicture(bitmapPath)) return lookup;
    lookup.Named = true;
    std::size_t cut = bitmapPath.size();
    while (cut > 0 && !IsSeparator(bitmapPath[cut - 1]) && !(cut == 2 && bitmapPath[1] == ':'))
        --cut;
    lookup.FileName = bitmapPath.substr(cut);
    return lookup;
}

PictureLookup PictureFinder::Find(const std::string& bitmapPath) const {
    const auto known = Answers.find(bitmapPath);
    if (known != Answers.end()) return known->second;
    PictureLookup lookup = Unsearched(bitmapPath);
    if (lookup.Named) {
        const std::vector<std::string> parts = LookupParts(bitmapPath, PathCodePage);
        if (!parts.empty() && HasPictureExtension(parts.back())) {
            const auto [found, folder] = Resolve(parts);
            lookup.FoundPath = found;
            if (folder >= 0) lookup.FoundIn = PicturePlaceText(SearchPlaces[folder]);
        }
    }
    return Answers.emplace(bitmapPath, lookup).first->second;
}
