#pragma once
// What the fuzz targets share: a scratch file for the input bytes and a check that aborts.

#include <array>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "AgreeingDialogs.h"
#include "LayoutProbe.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"

// A file in memory-backed storage of the process, one for each name (the input, an output).
inline const std::string& ScratchPath(const char* name) {
    static std::map<std::string, std::string> paths;
    std::string& path = paths[name];
    if (path.empty()) {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir ? dir : "/tmp") + "/quill-fuzz-" + std::to_string(::getpid()) + "-" +
               name;
    }
    return path;
}

inline void WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
