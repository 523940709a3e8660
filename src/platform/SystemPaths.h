#pragma once
// Paths are UTF-8 in this program; std::filesystem is told so both ways, also where the system's
// narrow encoding is another (Windows), and paths made from a std::filesystem::path use '/'.

#include <filesystem>
#include <string>

inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}
