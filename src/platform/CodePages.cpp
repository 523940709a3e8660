#include "platform/CodePages.h"

#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/SystemCodePage.h"
#include "platform/Windows1252.h"

namespace {

struct CodePageInfo {
    int Number;
    const char* Name;
    const char* Script;
    bool DoubleByte;
};

constexpr std::array<CodePageInfo, 14> Infos{{
    {1252, "Windows-1252", "Western", false},
    {1250, "Windows-1250", "Central European", false},
    {1251, "Windows-1251", "Cyrillic", false},
    {1253, "Windows-1253", "Greek", false},
    {1254, "Windows-1254", "Turkish", false},
    {1255, "Windows-1255", "Hebrew", false},
    {1256, "Windows-1256", "Arabic", false},
    {1257, "Windows-1257", "Baltic", false},
    {1258, "Windows-1258", "Vietnamese", false},
    {874, "Windows-874", "Thai", false},
    {932, "Shift-JIS", "Japanese", true},
    {936, "GBK", "Simplified Chinese", true},
    {949, "UHC", "Korean", true},
    {950, "Big5", "Traditional Chinese", true},
}};

constexpr std::array<int, Infos.size()> Numbers = [] {
    std::array<int, Infos.size()> numbers{};
    for (std::size_t i = 0; i < Infos.size(); ++i)
        numbers[i] = Infos[i].Number;
    return numbers;
}();

int IndexOf(int codePage) {
    for (std::size_t i = 0; i < Infos.size(); ++i)
        if (Infos[i].Number == codePage) return static_cast<int>(i);
    return -1;
}

constexpr char32_t None = 0xFFFFFFFF;
// Where the code page has a character of a byte's own value, that byte is kept as this plus it.
constexpr char32_t KeptBytes = 0x10FF00;

// What the system's converter says of one code page, asked once: the character of each byte and
// of each pair of bytes, kept only where it converts back to the same bytes.
struct Table {
    std::array<char32_t, 256> Single{};
    std::array<char32_t, 256> Kept{}; // the character standing for a byte with none of its own
    std::vector<char32_t> Pairs;      // [lead - 0x80][trail], double-byte code pages only
    std::unordered_map<char32_t, std::string> Bytes;
    bool DoubleByte = false;
    int Number = 0;

    char32_t Pair(unsigned char lead, unsigned char trail) const {
        if (!DoubleByte || lead < 0x80) return None;
        return Pairs[static_cast<std::size_t>(lead - 0x80) * 256 + trail];
    }
};

void Build(Table& table, const CodePageInfo& info) {
    table.Number = info.Number;
    table.DoubleByte = info.DoubleByte;
    SystemCodePage system(info.Number);
    std::string back;
    // Bytes the code page leaves unassigned or to its users (private-use characters) are ones
    // the systems tell differently (Windows gives them private-use characters, iconv mostly
    // none): they are kept as bytes, the same everywhere.
    const auto verified = [&](std::string_view bytes, char32_t& character) {
        return system.Decode(bytes, character) && character != 0xFFFD &&
               !(character >= 0xE000 && character <= 0xF8FF) && system.Encode(character, back) &&
               back == bytes;
    };
    for (int b = 0; b < 256; ++b) {
        table.Single[b] = b < 0x80 ? static_cast<char32_t>(b) : None;
        char32_t character = 0;
        const char byte = static_cast<char>(b);
        if (b >= 0x80 && verified(std::string_view(&byte, 1), character)) {
            table.Single[b] = character;
            table.Bytes.emplace(character, std::string(1, byte));
        }
    }
    if (info.DoubleByte) {
        table.Pairs.assign(128 * 256, None);
        for (int lead = 0x81; lead < 0xFF; ++lead) {
            for (int trail = 0x40; trail < 0xFF; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char32_t character = 0;
                if (!verified(std::string_view(pair, 2), character)) continue;
                table.Pairs[static_cast<std::size_t>(lead - 0x80) * 256 + trail] = character;
                table.Bytes.emplace(character, std::string(pair, 2));
            }
        }
    }
    for (int b = 0x80; b < 256; ++b) {
        const auto own = static_cast<char32_t>(b);
        if (table.Single[b] == None)
            table.Kept[b] = table.Bytes.contains(own) ? KeptBytes + own : own;
        else
            table.Kept[b] = None;
    }
}

const Table& TableOf(int codePage) {
    static std::array<std::once_flag, Infos.size()> built;
    static std::array<Table, Infos.size()> tables;
    int index = IndexOf(codePage);
    if (index < 0) index = 0;
    std::call_once(built[index], [index] { Build(tables[index], Infos[index]); });
    return tables[index];
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::span<const int> SupportedCodePages() {
    return Numbers;
}

bool IsSupportedCodePage(int codePage) {
    return IndexOf(codePage) >= 0;
}

std::string CodePageName(int codePage) {
    const int index = IndexOf(codePage);
    return index < 0 ? std::string() : Infos[index].Name;
}

std::string CodePageDescription(int codePage) {
    const int index = IndexOf(codePage);
    if (index < 0) return {};
    return std::string(Infos[index].Name) + " (" + Infos[index].Script + ")";
}

bool IsDoubleByteCodePage(int codePage) {
    const int index = IndexOf(codePage);
    return index >= 0 && Infos[index].DoubleByte;
}

std::string CodePageToUtf8(std::string_view bytes, int codePage) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t i = 0;
    // Plain ASCII needs no table.
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
        out.push_back(bytes[i++]);
    if (i == bytes.size()) return out;
    const Table& table = TableOf(codePage);
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        if (i + 1 < bytes.size()) {
            const char32_t pair = table.Pair(b, static_cast<unsigned char>(bytes[i + 1]));
            if (pair != None) {
                AppendUtf8(out, pair);
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, table.Single[b] != None ? table.Single[b] : table.Kept[b]);
        ++i;
    }
    return out;
}

bool Utf8ToCodePage(std::string_view utf8, std::string& bytes, int codePage,
                    std::size_t* failedAt) {
    std::string out;
    out.reserve(utf8.size());
    const Table* table = nullptr;
    std::unique_ptr<SystemCodePage> system; // for characters the tables do not hold
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t c = 0;
        const std::size_t length = Utf8SequenceAt(utf8, at, c);
        bool done = length != 0 && c < 0x80;
        if (done) {
            out.push_back(static_cast<char>(c));
        } else if (length != 0) {
            if (table == nullptr) table = &TableOf(codePage);
            const auto own = table->Bytes.find(c);
            if (own != table->Bytes.end()) {
                out += own->second;
                done = true;
            } else if (c >= 0x80 && c <= 0xFF && table->Kept[c] == c && c != None) {
                out.push_back(static_cast<char>(c));
                done = true;
            } else if (c >= KeptBytes + 0x80 && c <= KeptBytes + 0xFF &&
                       table->Kept[c - KeptBytes] == c) {
                out.push_back(static_cast<char>(c - KeptBytes));
                done = true;
            } else {
                // A character the code page writes as more than one (Vietnamese letters with
                // their tone marks), as the system converts it.
                if (!system) system = std::make_unique<SystemCodePage>(table->Number);
                std::string more;
                if (system->Encode(c, more)) {
                    out += more;
                    done = true;
                }
            }
        }
        if (!done) {
            if (failedAt) *failedAt = at;
            return false;
        }
        at += length;
    }
    bytes = std::move(out);
    return true;
}

std::size_t CodePageCharacterLength(std::string_view bytes, std::size_t at, int codePage) {
    if (at + 1 >= bytes.size() || static_cast<unsigned char>(bytes[at]) < 0x80 ||
        !IsDoubleByteCodePage(codePage))
        return 1;
    const Table& table = TableOf(codePage);
    return table.Pair(static_cast<unsigned char>(bytes[at]),
                      static_cast<unsigned char>(bytes[at + 1])) != None
               ? 2
               : 1;
}

std::string Utf8CharacterAt(std::string_view utf8, std::size_t at) {
    char32_t c = 0;
    const std::size_t length = Utf8SequenceAt(utf8, at, c);
    return length == 0 ? std::string() : std::string(utf8.substr(at, length));
}

// The Windows-1252 crossings that predate the other code pages.
std::string Windows1252ToUtf8(const std::string& bytes) {
    return CodePageToUtf8(bytes, 1252);
}

bool Utf8ToWindows1252(const std::string& utf8, std::string& bytes, std::size_t* failedAt) {
    return Utf8ToCodePage(utf8, bytes, 1252, failedAt);
}
