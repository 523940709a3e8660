#include "platform/FileAccess.h"
#include "platform/Windows1252.h"

std::string PathForMessage(const std::string& path) {
    std::string out;
    std::size_t from = 0;
    while (from < path.size()) {
        const std::string rest = path.substr(from);
        std::string converted;
        std::size_t failedAt = 0;
        if (Utf8ToWindows1252(rest, converted, &failedAt)) return out + converted;
        // The part before the character the code page lacks, then '?' for that one sequence.
        if (failedAt > 0) {
            Utf8ToWindows1252(rest.substr(0, failedAt), converted);
            out += converted;
        }
        out.push_back('?');
        std::size_t skip = failedAt + 1;
        while (skip < rest.size() && (static_cast<unsigned char>(rest[skip]) & 0xC0) == 0x80)
            ++skip;
        from += skip;
    }
    return out;
}
