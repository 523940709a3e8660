#pragma once
// Where a screen, a code, a key or a picture is used in a layout: the screen links that show a
// screen (and the screens they lie on), the other controls that share a control's OEM code, key
// or picture, and every picture path with the controls that name it and where it is found. Plain
// functions over the records, for the window's panes and for quill alike.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "layout/ControlRecord.h"

class PictureFinder;

struct ScreenLinkUse {
    int Record = 0;       // 1-based position of the link
    int32_t OnScreen = 0; // the screen the link lies on

    bool operator==(const ScreenLinkUse&) const = default;
};

// The screen links (buttons and bitmap buttons of function 32) that show `screen`, in record
// order, wherever they lie.
std::vector<ScreenLinkUse> LinksToScreen(std::span<const ControlRecord> records, int32_t screen);

enum class SharedValue { OEMCode, HotKey, Picture };

struct AlikeControl {
    int Record = 0;
    int32_t Screen = 0;
    SharedValue Shares = SharedValue::OEMCode;

    bool operator==(const AlikeControl&) const = default;
};

// The other controls with the same OEM code (when it is not 0), the same key (when it has one)
// or the same picture (matched as Windows matches paths), each once per value it shares, in
// record order for each value.
std::vector<AlikeControl> ControlsAlike(std::span<const ControlRecord> records, int position);
// "OEM code", "key", "picture"
const char* SharedValueName(SharedValue value);

struct PictureUse {
    std::string Path;         // as the layout spells it (Windows-1252)
    std::vector<int> Records; // the controls naming it with this spelling, in record order
    std::string Found;        // the picture file (UTF-8), empty when not found or not looked up
    std::string FoundIn;      // where it was found ("Bitmaps beside the layout"), as Found
    std::optional<uint64_t> Bytes; // the file's size when found
};

// Every picture path the layout names (not empty, not "None"), once per spelling, in the order
// of first use. With a finder, each is looked up and its size read.
std::vector<PictureUse> PictureUses(std::span<const ControlRecord> records,
                                    const PictureFinder* finder = nullptr);

// The controls whose picture is `path`, matched as Windows matches paths, in record order.
std::vector<int> ControlsShowingPicture(std::span<const ControlRecord> records,
                                        const std::string& path);
