// Writes the two sample layouts a new user can try every command on, mill.set and lathe.lset, and
// the pictures they show, painted here into SampleBitmaps/ as plain BMP files.
// Usage: make_samples <folder>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "layout/ControlRecord.h"
#include "layout/LayoutFile.h"

namespace {

const std::string Mark(1, ScreenLabelMark);
constexpr int32_t F1 = 112;
constexpr int32_t AltOne = 0x800 + '1';

// --- pictures

struct Rgb {
    uint8_t r, g, b;
};

class Picture {
public:
    Picture(int width, int height, Rgb fill)
        : Width(width), Height(height), Pixels(static_cast<std::size_t>(width * height), fill) {}

    void Set(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < Width && y < Height)
            Pixels[static_cast<std::size_t>(y * Width + x)] = colour;
    }
    void Fill(int x1, int y1, int x2, int y2, Rgb colour) {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                Set(x, y, colour);
    }
    // Every pixel for which the test holds, in pixel-centre coordinates.
    void Shape(Rgb colour, const std::function<bool(double, double)>& inside) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (inside(x + 0.5, y + 0.5)) Set(x, y, colour);
    }
    // A raised face: light top and left edges, dark bottom and right ones.
    void Bevel(int depth, Rgb light, Rgb dark) {
        Fill(0, 0, Width, depth, light);
        Fill(0, 0, depth, Height, light);
        Fill(0, Height - depth, Width, Height, dark);
        Fill(Width - depth, 0, Width, Height, dark);
    }

    // 24 bits a pixel, rows bottom-up, each padded to four bytes.
    bool WriteBmp(const std::string& path) const {
        const uint32_t row = static_cast<uint32_t>((Width * 3 + 3) / 4 * 4);
        const uint32_t data = row * static_cast<uint32_t>(Height);
        std::string bytes = "BM";
        const auto u32 = [&bytes](uint32_t v) {
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        };
        const auto u16 = [&bytes](uint16_t v) {
            bytes.push_back(static_cast<char>(v & 0xFF));
            bytes.push_back(static_cast<char>(v >> 8));
        };
        u32(14 + 40 + data);
        u32(0);
        u32(14 + 40);
        u32(40);
        u32(static_cast<uint32_t>(Width));
        u32(static_cast<uint32_t>(Height));
        u16(1);
        u16(24);
        u32(0);
        u32(data);
        u32(2835); // 72 dots an inch
        u32(2835);
        u32(0);
        u32(0);
        for (int y = Height - 1; y >= 0; --y) {
            for (int x = 0; x < Width; ++x) {
                const Rgb& p = Pixels[static_cast<std::size_t>(y * Width + x)];
                bytes.push_back(static_cast<char>(p.b));
                bytes.push_back(static_cast<char>(p.g));
                bytes.push_back(static_cast<char>(p.r));
            }
            bytes.append(row - static_cast<uint32_t>(Width * 3), '\0');
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    }

private:
    int Width, Height;
    std::vector<Rgb> Pixels;
};

constexpr Rgb White{255, 255, 255};

// The screens' background: a flat steel-blue body under a lighter title band, a dark band at
// the foot for the function keys, and a thin frame.
Picture Background() {
    Picture p(256, 192, {38, 52, 72});
    p.Fill(0, 0, 256, 12, {62, 84, 112});
    p.Fill(0, 12, 256, 13, {110, 150, 190});
    p.Fill(0, 176, 256, 192, {26, 34, 48});
    p.Fill(3, 15, 253, 16, {58, 76, 100});
    p.Fill(3, 172, 253, 173, {58, 76, 100});
    return p;
}

Picture Face(int width, int height, Rgb face) {
    Picture p(width, height, face);
    const auto shade = [](Rgb c, int by) {
        const auto one = [by](uint8_t v) {
            return static_cast<uint8_t>(std::min(255, std::max(0, v + by)));
        };
        return Rgb{one(c.r), one(c.g), one(c.b)};
    };
    p.Bevel(2, shade(face, 70), shade(face, -70));
    return p;
}

Picture CycleStart() {
    Picture p = Face(90, 32, {40, 150, 60});
    p.Shape(White, [](double x, double y) { // a triangle pointing right
        return x >= 38 && x <= 54 && std::abs(y - 16) <= (54 - x) / 2;
    });
    return p;
}

Picture FeedHold() {
    Picture p = Face(90, 32, {215, 150, 30});
    p.Fill(38, 8, 43, 24, White);
    p.Fill(48, 8, 53, 24, White);
    return p;
}

Picture Reset() {
    Picture p = Face(90, 32, {185, 40, 40});
    p.Shape(White, [](double x, double y) {
        const double d = std::hypot(x - 45, y - 16);
        return d >= 6 && d <= 9;
    });
    return p;
}

Picture Home() {
    Picture p = Face(80, 60, {50, 90, 170});
    p.Shape(White,
            [](double x, double y) { return y >= 14 && y <= 30 && std::abs(x - 40) <= y - 12; });
    p.Fill(28, 30, 52, 48, White);
    p.Fill(37, 36, 43, 48, {50, 90, 170});
    return p;
}

Picture Thread() {
    Picture p = Face(80, 60, {120, 120, 128});
    p.Shape({200, 200, 210}, [](double x, double y) {
        return x > 4 && x < 76 && y > 4 && y < 56 && static_cast<int>(x + y) % 10 < 4;
    });
    return p;
}

Picture Insert() {
    Picture p(200, 200, {225, 225, 220});
    p.Shape({70, 72, 80}, [](double x, double y) {
        return std::abs(x - 100) / 90 + std::abs(y - 100) / 60 <= 1;
    });
    p.Shape({225, 225, 220}, [](double x, double y) { return std::hypot(x - 100, y - 100) <= 14; });
    return p;
}

bool WritePictures(const std::string& folder) {
    const std::string dir = folder + "/SampleBitmaps";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::pair<const char*, Picture> pictures[] = {
        {"Background.bmp", Background()},
        {"CycleStart.bmp", CycleStart()},
        {"FeedHold.bmp", FeedHold()},
        {"Reset.bmp", Reset()},
        {"Home.bmp", Home()},
        {"Thread.bmp", Thread()},
        {"Insert.bmp", Insert()},
    };
    bool ok = true;
    for (const auto& [name, picture] : pictures)
        ok = picture.WriteBmp(dir + "/" + name) && ok;
    return ok;
}

// --- layouts

class Sample {
public:
    ControlRecord& Add(int32_t type, int32_t screen, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       const std::string& text = {}) {
        ControlRecord r;
        r.rType = type;
        r.rScreen = screen;
        r.rText = text;
        r.rX1 = x1;
        r.rY1 = y1;
        r.rX2 = x2;
        r.rY2 = y2;
        r.rColor = 0xC0C0C0;
        Records.push_back(r);
        return Records.back();
    }
    // The full-screen picture a screen starts with, as the host's skins have it.
    void Background(int32_t screen, int32_t width, int32_t height) {
        ControlRecord& r = Add(3, screen, 0, 0, width - 1, height - 1, "None");
        r.rBitMapPath = "SampleBitmaps\\Background.bmp";
    }
    // A bitmap button showing a picture of SampleBitmaps.
    ControlRecord& PictureButton(int32_t screen, int32_t function, const std::string& picture,
                                 int32_t x, int32_t y, int32_t w = 90, int32_t h = 32) {
        ControlRecord& r = Add(8, screen, x, y, x + w, y + h, "None");
        r.rFunction = function;
        r.rBitMapPath = "SampleBitmaps\\" + picture;
        r.rGText = "None\r\n";
        return r;
    }
    ControlRecord& Led(int32_t screen, int32_t x, int32_t y, const std::string& name,
                       int32_t colour) {
        ControlRecord& r = Add(6, screen, x, y, x + 20, y + 20, name);
        r.rColor = colour;
        return r;
    }
    void Label(int32_t screen, const std::string& name) {
        Add(7, screen, 8, 4, 300, 24, name).rLabel = Mark + name;
    }
    // A screen-change button; hotKey 0 for none.
    void Go(int32_t screen, int32_t target, const std::string& caption, int32_t x, int32_t y,
            int32_t hotKey = 0) {
        ControlRecord& r = Add(4, screen, x, y, x + 90, y + 32, caption);
        r.rFunction = ScreenChangeFunction;
        r.rOEMCode = target;
        r.rHotKey = hotKey;
    }
    void Button(int32_t screen, int32_t function, const std::string& caption, int32_t x,
                int32_t y) {
        Add(4, screen, x, y, x + 90, y + 32, caption).rFunction = function;
    }
    // DROs of one group laid out in a grid, added column by column or row by row as given.
    void DROGrid(int32_t screen, int32_t group, int32_t x, int32_t y, int rows, int columns,
                 bool rowOrder, const std::vector<std::string>& names) {
        const int count = rows * columns;
        for (int k = 0; k < count; ++k) {
            const int row = rowOrder ? k / columns : k % rows;
            const int column = rowOrder ? k % columns : k / rows;
            ControlRecord& r =
                Add(1, screen, x + column * 130, y + row * 30, x + column * 130 + 120,
                    y + row * 30 + 24, names[static_cast<std::size_t>(k) % names.size()]);
            r.rTabGroup = group;
            r.rOEMCode = 800 + k;
            r.rFormat = "%+4.4f";
        }
    }
    bool Write(const std::string& path, const std::array<int32_t, 10>& trailer) const {
        std::string bytes;
        PutLong(bytes, static_cast<int32_t>(Records.size()));
        for (const ControlRecord& r : Records)
            WriteControl(bytes, r);
        for (int32_t v : trailer)
            PutLong(bytes, v);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    }

private:
    std::vector<ControlRecord> Records;
};

Sample Mill() {
    Sample s;
    // Screen 0, the Persistent screen: the function-key row and the machine LEDs.
    for (int32_t screen : {0, 1, 2, 3, 4, 5, 6, 8})
        s.Background(screen, 800, 600);
    s.Label(0, "Persistent");
    const char* pages[] = {"Program Run", "MDI", "Tool Path", "Offsets", "Settings", "Diagnostics"};
    for (int32_t i = 0; i < 6; ++i)
        s.Go(0, i + 1, pages[i], 10 + i * 98, 560, F1 + i);
    s.Go(0, 8, "Jog", 598, 560, F1 + 9);  // F10 on screen 8: re-captioning gives it F8
    s.Go(0, 20, "Plugin page", 696, 560); // a target above 15 is no screen of the layout
    s.PictureButton(0, 1021, "Reset.bmp", 700, 10);
    // LEDs take their lamp from rColor: 0 green, 1 red, 2 yellow.
    s.Led(0, 700, 50, "Emergency", 1).rRedGreen = 1;
    s.Led(0, 730, 50, "Spindle", 0).rRedGreen = 1;

    // Screen 1: Program Run.
    s.Label(1, "Program Run");
    s.DROGrid(1, 1, 20, 40, 4, 2, false,
              {"X", "Y", "Z", "A", "X mach", "Y mach", "Z mach", "A mach"});
    s.Add(10, 1, 300, 40, 760, 300, "G-code");
    s.Add(11, 1, 300, 310, 760, 540, "Toolpath");
    s.Add(9, 1, 20, 300, 280, 324, "MDI");
    ControlRecord& start = s.PictureButton(1, 1000, "CycleStart.bmp", 20, 340);
    start.rGText = "' runs the loaded program\r\nDoOEMButton(1000)";
    s.PictureButton(1, 1001, "FeedHold.bmp", 120, 340);
    s.Go(1, 4, "Go Offsets", 20, 380);
    s.Led(1, 230, 345, "Running", 0);

    // Screen 2: MDI, with its DROs in one row.
    s.Label(2, "MDI");
    s.Add(9, 2, 20, 40, 500, 64, "MDI input");
    s.DROGrid(2, 2, 20, 80, 1, 4, true, {"X", "Y", "Z", "A"});
    s.Add(3, 2, 540, 40, 760, 200, "mdi.bmp").rBitMapPath = "c:\\korvo\\bitmaps\\mdi.bmp";
    s.Go(2, 1, "Program Run", 20, 400);

    // Screen 3: Tool Path, DROs in two rows.
    s.Label(3, "Tool Path");
    s.Add(11, 3, 20, 40, 600, 400, "Toolpath");
    s.DROGrid(3, 1, 20, 420, 2, 3, true, {"X", "Y", "Z", "Feed", "Speed", "Line"});
    s.Add(2, 3, 620, 40, 640, 400, "Zoom");

    // Screen 4: Offsets, a grid of DROs standing in no useful order.
    s.Label(4, "Offsets");
    s.DROGrid(4, 3, 20, 40, 3, 4, true, {"G54 X", "G54 Y", "G54 Z", "Tool"});
    s.Go(4, 1, "Back", 20, 400);
    s.Go(4, 5, "Settings", 120, 400);

    // Screen 5: Settings.
    s.Label(5, "Settings");
    s.Add(2, 5, 20, 40, 300, 60, "Feed override");
    s.Add(2, 5, 20, 70, 300, 90, "Spindle override");
    // A drive-letter path into the host's folder, as layouts written on the machine hold them.
    s.Add(8, 5, 320, 40, 400, 100, "None").rBitMapPath = "C:\\Korvo\\SampleBitmaps\\Home.bmp";
    s.Led(5, 420, 40, "Soft limits", 2);
    s.Go(5, 4, "Offsets", 20, 400);

    // Screen 6: Diagnostics; a second label control shows the duplicate-label report on opening.
    s.Label(6, "Diagnostics");
    s.Label(6, "Diagnostics 2");
    for (int32_t i = 0; i < 8; ++i)
        s.Led(6, 20 + i * 30, 40, "Input", i % 3);
    s.DROGrid(6, 4, 20, 100, 2, 2, false, {"Loop", "Pulse", "Queue", "Buffer"});
    s.Go(6, 1, "Program Run", 20, 400);

    // Screen 7 is left empty: appending fills it first.

    // Screen 8: Jog.
    s.Label(8, "Jog");
    s.Add(5, 8, 20, 40, 220, 240, "Jog ball");
    s.Button(8, 1100, "Jog +X", 240, 40);
    s.Button(8, 1101, "Jog -X", 240, 80);
    s.Go(8, 1, "Program Run", 20, 400);
    // An invisible hot spot over the background that also leads back, on Alt+1.
    ControlRecord& hotSpot = s.Add(8, 8, 120, 400, 210, 432, "None");
    hotSpot.rFunction = ScreenChangeFunction;
    hotSpot.rOEMCode = 1;
    hotSpot.rHotKey = AltOne;
    hotSpot.rBitMapPath = "None";

    // A control the host keeps on a screen above 15; it is carried through every command.
    s.Add(6, 17, 10, 10, 30, 30, "Hidden LED");
    return s;
}

Sample Lathe() {
    Sample s;
    for (int32_t screen : {0, 1, 2, 3, 4})
        s.Background(screen, 1024, 768);
    s.Label(0, "Persistent");
    const char* pages[] = {"Turn", "Tool Table", "Threading", "Wear"};
    for (int32_t i = 0; i < 4; ++i)
        s.Go(0, i + 1, pages[i], 10 + i * 100, 720, F1 + i);
    s.Go(0, 16, "Extras", 410, 720);
    s.Led(0, 900, 10, "Chuck", 0).rRedGreen = 1;

    s.Label(1, "Turn");
    s.DROGrid(1, 1, 20, 40, 3, 1, false, {"X dia", "Z", "Spindle"});
    s.Add(10, 1, 300, 40, 1000, 400, "G-code");
    s.Add(11, 1, 300, 410, 1000, 700, "Toolpath");
    s.Add(9, 1, 20, 200, 280, 224, "MDI");
    s.Button(1, 1000, "Cycle Start", 20, 240);
    s.Add(5, 1, 20, 300, 200, 480, "Jog ball");

    s.Label(2, "Tool Table");
    s.DROGrid(2, 2, 20, 40, 4, 3, true, {"Tool", "X off", "Z off"});
    s.Add(3, 2, 500, 40, 700, 240, "None").rBitMapPath = "SampleBitmaps\\Insert.bmp";
    s.Go(2, 1, "Turn", 20, 600);

    s.Label(3, "Threading");
    s.DROGrid(3, 3, 20, 40, 2, 3, false, {"Pitch", "Depth", "Passes"});
    s.PictureButton(3, 1010, "Thread.bmp", 500, 40, 80, 60);
    s.Add(2, 3, 20, 300, 300, 320, "Infeed");
    s.Go(3, 1, "Turn", 20, 600);

    // Screen 4 holds only its label and a way back; screens 5..15 are empty.
    s.Label(4, "Wear");
    s.Go(4, 1, "Turn", 20, 600);
    return s;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = WritePictures(folder) &&
                    Mill().Write(folder + "/mill.set", {0, 0, 0, 800, 600, 0, 0, 0, 1, 0}) &&
                    Lathe().Write(folder + "/lathe.lset", {0, 0, 0, 1024, 768, 0, 0, 0, 2, 0});
    if (!ok) std::fprintf(stderr, "make_samples: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
