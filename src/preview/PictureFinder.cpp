#include "preview/PictureFinder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "layout/HostCodes.h"
#include "platform/Windows1252.h"

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 in this program; std::filesystem is told so, also where the system's narrow
// encoding is another (Windows).
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

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

PictureFinder::PictureFinder(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::string normal = Utf8Of(PathOf(folder).lexically_normal());
        while (normal.size() > 1 && normal.back() == '/')
            normal.pop_back();
        if (std::find(SearchFolders.begin(), SearchFolders.end(), normal) == SearchFolders.end())
            SearchFolders.push_back(normal);
    }
}

PictureFinder PictureFinder::ForLayout(const std::string& layoutFile,
                                       const std::string& picturesFolder) {
    std::vector<std::string> folders{picturesFolder};
    if (!layoutFile.empty()) {
        std::error_code error;
        fs::path file = fs::absolute(PathOf(layoutFile), error);
        if (error) file = PathOf(layoutFile);
        const fs::path folder = file.lexically_normal().parent_path();
        folders.push_back(Utf8Of(folder));
        if (folder.has_relative_path()) folders.push_back(Utf8Of(folder.parent_path()));
    }
    return PictureFinder(folders);
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

std::vector<std::string> PictureFinder::LookupParts(const std::string& bitmapPath) {
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
        std::size_t host = parts.size();
        for (std::size_t i = 0; i + 1 < parts.size() && host == parts.size(); ++i)
            if (Folded(parts[i]) == HostFolderName) host = i;
        if (host < parts.size())
            parts.erase(parts.begin(), parts.begin() + host + 1);
        else if (!parts.empty())
            parts.erase(parts.begin(), parts.end() - 1);
    }
    if (parts.size() > MaxParts) parts.erase(parts.begin(), parts.end() - MaxParts);
    for (std::string& p : parts)
        p = Windows1252ToUtf8(p);
    return parts;
}

const PictureFinder::Listing& PictureFinder::ListFolder(const std::string& folder) const {
    const auto known = Listings.find(folder);
    if (known != Listings.end()) return known->second;
    Listing listing;
    std::error_code error;
    fs::directory_iterator it(PathOf(folder), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        Entry entry;
        const std::u8string name = it->path().filename().u8string();
        entry.Name.assign(name.begin(), name.end());
        std::error_code typeError;
        entry.Folder = it->is_directory(typeError);
        entry.File = !entry.Folder && it->is_regular_file(typeError);
        listing.ByFoldedName[Folded(entry.Name)].push_back(listing.Entries.size());
        listing.Entries.push_back(std::move(entry));
    }
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

std::string PictureFinder::Resolve(const std::vector<std::string>& parts) const {
    // The whole path under each folder first; then shorter and shorter tails of it, for a
    // pictures folder that is itself one of the host's picture folders.
    for (std::size_t start = 0; start < parts.size(); ++start) {
        for (const std::string& root : SearchFolders) {
            std::string at = root;
            bool found = true;
            for (std::size_t i = start; i < parts.size() && found; ++i) {
                const Entry* entry = Lookup(at, parts[i]);
                const bool last = i + 1 == parts.size();
                found = entry != nullptr && (last ? entry->File : entry->Folder);
                if (found) at = Joined(at, entry->Name);
            }
            if (found) return at;
        }
    }
    return {};
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
        const std::vector<std::string> parts = LookupParts(bitmapPath);
        if (!parts.empty() && HasPictureExtension(parts.back())) lookup.FoundPath = Resolve(parts);
    }
    return Answers.emplace(bitmapPath, lookup).first->second;
}
