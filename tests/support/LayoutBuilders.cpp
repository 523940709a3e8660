#include "LayoutBuilders.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "layout/LayoutFile.h"

ControlRecord MakeControl(int32_t type, int32_t screen, int32_t x1, int32_t y1, int32_t x2,
                          int32_t y2) {
    ControlRecord r;
    r.rType = type;
    r.rScreen = screen;
    r.rText = "ctl";
    r.rX1 = x1;
    r.rY1 = y1;
    r.rX2 = x2;
    r.rY2 = y2;
    return r;
}

ControlRecord MakeScreenButton(int32_t screen, int32_t target, const std::string& caption,
                               int32_t hotKey) {
    ControlRecord r = MakeControl(ControlKind::Button, screen);
    r.rFunction = ScreenChangeFunction;
    r.rOEMCode = target;
    r.rText = caption;
    r.rHotKey = hotKey;
    return r;
}

ControlRecord MakeScreenLabel(int32_t screen, const std::string& name) {
    ControlRecord r = MakeControl(ControlKind::Label, screen);
    r.rLabel = std::string(1, ScreenLabelMark) + name;
    return r;
}

ControlRecord MakeDRO(int32_t screen, int32_t group, int32_t x1, int32_t y1) {
    ControlRecord r = MakeControl(ControlKind::DRO, screen, x1, y1, x1 + 40, y1 + 20);
    r.rTabGroup = group;
    return r;
}

ControlRecord MakeFullRecord(int32_t seed) {
    ControlRecord r;
    int32_t v = seed * 100;
    for (int32_t* field :
         {&r.rFunction, &r.rType, &r.rScreen, &r.rHoriz, &r.rVert, &r.rColor, &r.rOEMCode,
          &r.rHotKey, &r.rFlash, &r.rRedGreen, &r.rTabGroup, &r.rX1, &r.rY1, &r.rX2, &r.rY2})
        *field = ++v;
    r.rText = "text " + std::to_string(seed);
    r.rGText = "g-text " + std::to_string(seed);
    r.rBitMapPath = "c:\\bitmaps\\b" + std::to_string(seed) + ".bmp";
    r.rLabel = "label " + std::to_string(seed);
    r.rFormat = "%+4.4f";
    return r;
}

std::vector<ControlRecord> MixedLayout(int records) {
    std::vector<ControlRecord> layout;
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    for (int i = 0; i < records; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % ScreenCount;
        r.rType = 1 + i % 11;
        r.rX1 = coordinate(random);
        r.rY1 = coordinate(random);
        r.rX2 = r.rX1 + 60;
        r.rY2 = r.rY1 + 20;
        if (i % 20 == 0) {
            r.rType = ControlKind::DRO;
            r.rScreen = 2;
            r.rTabGroup = 1;
        } else if (i % 20 == 10) {
            r = MakeScreenButton(i % ScreenCount, (i / 20) % ScreenCount, "to screen");
        }
        layout.push_back(r);
    }
    return layout;
}

const char* const SkinnedScreenNames[10] = {"Persistent", "Program Run", "MDI",   "Toolpath",
                                            "Offsets",    "Settings",    "Diags", "Mill Wizards",
                                            "Turn",       "Probing"};

std::vector<ControlRecord> SkinnedLayout() {
    std::vector<ControlRecord> records;
    const auto link = [&records](int32_t type, int32_t screen, int32_t target, int32_t x) {
        ControlRecord r = MakeControl(type, screen, x, 0, x + 120, 30);
        r.rFunction = ScreenChangeFunction;
        r.rOEMCode = target;
        if (type == ControlKind::BitmapButton)
            r.rText = "None";
        else if (target >= 0 && target < 10)
            r.rText = SkinnedScreenNames[target];
        else
            r.rText = "Screen " + std::to_string(target);
        r.rGText = "None\r\n";
        r.rHotKey = type == ControlKind::BitmapButton ? 121 : 112 + target - 1;
        records.push_back(r);
    };
    for (int32_t s = 0; s <= 9; ++s) {
        ControlRecord background = MakeControl(ControlKind::Bitmap, s, 0, 0, 1027, 729);
        background.rBitMapPath = "MillBitmaps\\BackgroundMain.jpg";
        background.rText = "None";
        records.push_back(background);
        records.push_back(MakeScreenLabel(s, SkinnedScreenNames[s]));
        if (s > 0) {
            // Across the background, whose width tells the resolution: 110 to 1000.
            int32_t x = 0;
            for (int32_t target : {1, 2, 3, 5, 6, 7, 8, 9})
                link(ControlKind::BitmapButton, s, target, x += 110);
        }
        records.push_back(MakeDRO(s, 65536, 100, 100 + s));
        // A bitmap button that runs a script: its OEM code names no screen to follow.
        ControlRecord script = MakeControl(ControlKind::BitmapButton, s, 900, 700, 1000, 729);
        script.rFunction = 1000;
        script.rOEMCode = 3;
        script.rGText = "None\r\n";
        records.push_back(script);
    }
    link(ControlKind::Button, 0, 4, 600);  // the persistent way to Offsets
    link(ControlKind::Button, 1, 4, 700);  // and another from Program Run
    link(ControlKind::Button, 4, 1, 700);  // and back
    link(ControlKind::Button, 9, 20, 700); // a target beyond the layout's screens
    link(ControlKind::BitmapButton, 50, 2, 10);
    return records;
}

std::string LayoutFileBytes(const std::vector<ControlRecord>& records,
                            const std::array<int32_t, 10>& trailer) {
    std::string bytes;
    PutLong(bytes, static_cast<int32_t>(records.size()));
    for (const ControlRecord& r : records)
        WriteControl(bytes, r);
    for (int32_t v : trailer)
        PutLong(bytes, v);
    return bytes;
}

std::string HexBytes(const std::string& hex) {
    std::string bytes;
    std::string digits;
    for (char c : hex) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits.push_back(c);
        if (digits.size() == 2) {
            bytes.push_back(static_cast<char>(std::stoi(digits, nullptr, 16)));
            digits.clear();
        }
    }
    if (!digits.empty()) throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

std::vector<ControlRecord> ControlsOnScreens(const std::vector<int>& counts) {
    std::vector<ControlRecord> records;
    for (std::size_t s = 0; s < counts.size(); ++s)
        for (int i = 0; i < counts[s]; ++i)
            records.push_back(MakeControl(ControlKind::Button, static_cast<int32_t>(s), 10 * i));
    return records;
}

namespace {

// A UTF-8 file name as the system knows it, also where the system's narrow names are in another
// code page (Windows).
std::filesystem::path SystemPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

TempDir::TempDir() {
    // A folder only this object made: create_directory fails on a name that is taken.
    static std::mt19937_64 names{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / ("quill-test-" + std::to_string(names()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            Dir = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot create temp dir");
}

TempDir::~TempDir() {
    std::error_code ignored;
#ifdef _WIN32
    // Windows deletes no read-only file, and some tests leave one behind.
    namespace fs = std::filesystem;
    for (fs::recursive_directory_iterator it(SystemPath(Dir), ignored), end; !ignored && it != end;
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    ignored.clear();
#endif
    std::filesystem::remove_all(SystemPath(Dir), ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    std::ofstream out(SystemPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(SystemPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(SystemPath(path));
}
