// Any bytes as a .zip bundle: unpacking either completes, leaving the layout and every other file
// inside the folder it was given, or is refused with nothing written.

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "bundle/LayoutBundle.h"

namespace fs = std::filesystem;

namespace {

// Whether every file under `root` lies inside it (no link or name led outside).
bool AllInside(const fs::path& root) {
    std::error_code error;
    const fs::path base = fs::weakly_canonical(root, error);
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path at = fs::weakly_canonical(it->path(), error);
        const auto [end, ignored] = std::mismatch(base.begin(), base.end(), at.begin(), at.end());
        if (end != base.end()) return false;
    }
    return !error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& input = ScratchPath("input.zip");
    const fs::path folder = fs::path(ScratchPath("unpacked"));
    const fs::path outside = folder.parent_path() / "evil";
    std::error_code error;
    fs::remove_all(folder, error);
    WriteScratch(input, data, size);
    UnpackedBundle unpacked;
    std::string failure;
    if (!UnpackBundle(input, folder.string(), unpacked, failure)) {
        FUZZ_CHECK(!failure.empty());
        FUZZ_CHECK(!fs::exists(folder, error) || fs::is_empty(folder, error));
    } else {
        FUZZ_CHECK(fs::is_regular_file(unpacked.LayoutPath, error));
        FUZZ_CHECK(fs::path(unpacked.LayoutPath).parent_path() == folder);
        FUZZ_CHECK(AllInside(folder));
    }
    FUZZ_CHECK(!fs::exists(outside, error));
    fs::remove_all(folder, error);
    return 0;
}
