#pragma once
// What the fuzz targets share: a snapshot of everything a refused call must leave alone, and a
// scratch file for the input bytes.

#include <array>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "AgreeingDialogs.h"
#include "LayoutProbe.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"

struct DocumentSnapshot {
    std::vector<ControlRecord> records;
    std::array<int32_t, 10> trailer{};
    std::string fileName;
    std::array<ScreenEntry, ScreenCount> index;
    int32_t undoKind = 0;
    bool dirty = false;
    bool operator==(const DocumentSnapshot&) const = default;

    static DocumentSnapshot Of(const cLayout& l) {
        return {cLayoutProbe::Records(l),     cLayoutProbe::Trailer(l),  l.FileName(),
                cLayoutProbe::ScreenTable(l), cLayoutProbe::UndoKind(l), l.IsDirty()};
    }
};

// A file in memory-backed storage, named once per process, holding the current input.
inline const std::string& ScratchPath(const char* name) {
    static const std::string path = [name] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir ? dir : "/tmp") + "/quill-fuzz-" + std::to_string(::getpid()) + "-" +
               name;
    }();
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
