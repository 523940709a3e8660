#pragma once
// Builders of records, layouts and layout files shared by the tests, and a temporary folder that
// removes itself.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "layout/ControlRecord.h"

ControlRecord MakeControl(int32_t type, int32_t screen, int32_t x1 = 10, int32_t y1 = 10,
                          int32_t x2 = 50, int32_t y2 = 30);
ControlRecord MakeScreenButton(int32_t screen, int32_t target, const std::string& caption,
                               int32_t hotKey = 0);
// A label control naming its screen; name is given without the mark.
ControlRecord MakeScreenLabel(int32_t screen, const std::string& name);
ControlRecord MakeDRO(int32_t screen, int32_t group, int32_t x1, int32_t y1);
// A record whose every field differs from the defaults, with texts of the given fill.
ControlRecord MakeFullRecord(int32_t seed);
// Records of every kind on every screen, the same for the same count: every twentieth is a DRO of
// group 1 on screen 2 (at random places), and every twentieth, offset by ten, a button linking two
// screens.
std::vector<ControlRecord> MixedLayout(int records);

// A layout shaped like those the host's users make with skins: screen 0 "Persistent" and screens
// 1..9, each named by its label and starting with a full-screen background picture; screens 1..9
// carry a tab bar of eight invisible bitmap-button links (rType 8, rFunction 32, rText "None", no
// picture) showing screens 1, 2, 3, 5, 6, 7, 8 and 9; a few button links (rType 4), one of them
// the only way to screen 4; a bitmap button of another function on every screen; scripts that are
// "None" plus a line break; and a link lying on screen 50. Screens 10..15 are empty.
std::vector<ControlRecord> SkinnedLayout();
extern const char* const SkinnedScreenNames[10];

// The bytes of a layout file holding these records and trailer.
std::string LayoutFileBytes(const std::vector<ControlRecord>& records,
                            const std::array<int32_t, 10>& trailer = {});

// Bytes written as hex pairs, blanks and dots ignored: "20 00 00 00 · 04".
std::string HexBytes(const std::string& hex);

// Controls spread over screens: counts[s] records on screen s, each a plain button.
std::vector<ControlRecord> ControlsOnScreens(const std::vector<int>& counts);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return Dir; }
    std::string File(const std::string& name) const { return Dir + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string Dir;
};

std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
