#include "preview/WhereUsed.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "layout/HostCodes.h"
#include "preview/PictureFinder.h"
#include "platform/SystemPaths.h"

std::vector<ScreenLinkUse> LinksToScreen(std::span<const ControlRecord> records, int32_t screen) {
    std::vector<ScreenLinkUse> links;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (IsScreenLink(records[i]) && records[i].rOEMCode == screen)
            links.push_back({static_cast<int>(i + 1), records[i].rScreen});
    return links;
}

const char* SharedValueName(SharedValue value) {
    switch (value) {
    case SharedValue::OEMCode:
        return "OEM code";
    case SharedValue::HotKey:
        return "key";
    case SharedValue::Picture:
        break;
    }
    return "picture";
}

std::vector<AlikeControl> ControlsAlike(std::span<const ControlRecord> records, int position) {
    std::vector<AlikeControl> alike;
    if (position < 1 || position > static_cast<int>(records.size())) return alike;
    const ControlRecord& control = records[static_cast<std::size_t>(position - 1)];
    const std::string picture =
        NamesPicture(control.rBitMapPath) ? PicturePathKey(control.rBitMapPath) : std::string();
    const auto collect = [&](SharedValue value, auto&& same) {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (static_cast<int>(i + 1) != position && same(records[i]))
                alike.push_back({static_cast<int>(i + 1), records[i].rScreen, value});
    };
    if (control.rOEMCode != 0)
        collect(SharedValue::OEMCode,
                [&](const ControlRecord& r) { return r.rOEMCode == control.rOEMCode; });
    if (!IsNoKey(control.rHotKey))
        collect(SharedValue::HotKey,
                [&](const ControlRecord& r) { return r.rHotKey == control.rHotKey; });
    if (!picture.empty())
        collect(SharedValue::Picture, [&](const ControlRecord& r) {
            return NamesPicture(r.rBitMapPath) && PicturePathKey(r.rBitMapPath) == picture;
        });
    return alike;
}

std::vector<PictureUse> PictureUses(std::span<const ControlRecord> records,
                                    const PictureFinder* finder) {
    std::vector<PictureUse> uses;
    std::unordered_map<std::string, std::size_t> bySpelling;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string& path = records[i].rBitMapPath;
        if (!NamesPicture(path)) continue;
        const auto [at, added] = bySpelling.try_emplace(path, uses.size());
        if (added) uses.push_back({path, {}, {}, {}, {}});
        uses[at->second].Records.push_back(static_cast<int>(i + 1));
    }
    if (finder == nullptr) return uses;
    for (PictureUse& use : uses) {
        const PictureLookup lookup = finder->Find(use.Path);
        use.Found = lookup.FoundPath;
        use.FoundIn = lookup.FoundIn;
        if (use.Found.empty()) continue;
        std::error_code error;
        const auto size = std::filesystem::file_size(
            PathOf(use.Found), error);
        if (!error) use.Bytes = size;
    }
    return uses;
}

std::vector<int> ControlsShowingPicture(std::span<const ControlRecord> records,
                                        const std::string& path) {
    std::vector<int> showing;
    if (!NamesPicture(path)) return showing;
    const std::string key = PicturePathKey(path);
    for (std::size_t i = 0; i < records.size(); ++i)
        if (NamesPicture(records[i].rBitMapPath) && PicturePathKey(records[i].rBitMapPath) == key)
            showing.push_back(static_cast<int>(i + 1));
    return showing;
}
