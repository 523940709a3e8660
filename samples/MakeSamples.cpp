// Writes the two sample layouts a new user can try every command on: mill.set and lathe.lset.
// Usage: make_samples <folder>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "layout/ControlRecord.h"
#include "layout/LayoutFile.h"

namespace {

const std::string Mark(1, ScreenLabelMark);
constexpr int32_t F1 = 112;

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
    s.Label(0, "Persistent");
    const char* pages[] = {"Program Run", "MDI", "Tool Path", "Offsets", "Settings", "Diagnostics"};
    for (int32_t i = 0; i < 6; ++i)
        s.Go(0, i + 1, pages[i], 10 + i * 98, 560, F1 + i);
    s.Go(0, 8, "Jog", 598, 560, F1 + 9);  // F10 on screen 8: re-captioning gives it F8
    s.Go(0, 20, "Plugin page", 696, 560); // a target above 15 is no screen of the layout
    s.Button(0, 1021, "Reset", 700, 10);
    s.Add(6, 0, 700, 50, 720, 70, "Emergency").rRedGreen = 1;
    s.Add(6, 0, 730, 50, 750, 70, "Spindle").rRedGreen = 1;

    // Screen 1: Program Run.
    s.Label(1, "Program Run");
    s.DROGrid(1, 1, 20, 40, 4, 2, false,
              {"X", "Y", "Z", "A", "X mach", "Y mach", "Z mach", "A mach"});
    s.Add(10, 1, 300, 40, 760, 300, "G-code");
    s.Add(11, 1, 300, 310, 760, 540, "Toolpath");
    s.Add(9, 1, 20, 300, 280, 324, "MDI");
    ControlRecord& start = s.Add(4, 1, 20, 340, 110, 372, "Cycle Start");
    start.rFunction = 1000;
    start.rGText = "' runs the loaded program\r\nDoOEMButton(1000)";
    s.Button(1, 1001, "Feed Hold", 120, 340);
    s.Go(1, 4, "Go Offsets", 20, 380);
    s.Add(6, 1, 230, 345, 250, 365, "Running");

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
    s.Add(8, 5, 320, 40, 400, 100, "Home all").rBitMapPath = "c:\\korvo\\bitmaps\\home.bmp";
    s.Add(6, 5, 420, 40, 440, 60, "Soft limits");
    s.Go(5, 4, "Offsets", 20, 400);

    // Screen 6: Diagnostics; a second label control shows the duplicate-label report on opening.
    s.Label(6, "Diagnostics");
    s.Label(6, "Diagnostics 2");
    for (int32_t i = 0; i < 8; ++i)
        s.Add(6, 6, 20 + i * 30, 40, 40 + i * 30, 60, "Input");
    s.DROGrid(6, 4, 20, 100, 2, 2, false, {"Loop", "Pulse", "Queue", "Buffer"});
    s.Go(6, 1, "Program Run", 20, 400);

    // Screen 7 is left empty: appending fills it first.

    // Screen 8: Jog.
    s.Label(8, "Jog");
    s.Add(5, 8, 20, 40, 220, 240, "Jog ball");
    s.Button(8, 1100, "Jog +X", 240, 40);
    s.Button(8, 1101, "Jog -X", 240, 80);
    s.Go(8, 1, "Program Run", 20, 400);

    // A control the host keeps on a screen above 15; it is carried through every command.
    s.Add(6, 17, 10, 10, 30, 30, "Hidden LED");
    return s;
}

Sample Lathe() {
    Sample s;
    s.Label(0, "Persistent");
    const char* pages[] = {"Turn", "Tool Table", "Threading", "Wear"};
    for (int32_t i = 0; i < 4; ++i)
        s.Go(0, i + 1, pages[i], 10 + i * 100, 720, F1 + i);
    s.Go(0, 16, "Extras", 410, 720);
    s.Add(6, 0, 900, 10, 920, 30, "Chuck").rRedGreen = 1;

    s.Label(1, "Turn");
    s.DROGrid(1, 1, 20, 40, 3, 1, false, {"X dia", "Z", "Spindle"});
    s.Add(10, 1, 300, 40, 1000, 400, "G-code");
    s.Add(11, 1, 300, 410, 1000, 700, "Toolpath");
    s.Add(9, 1, 20, 200, 280, 224, "MDI");
    s.Button(1, 1000, "Cycle Start", 20, 240);
    s.Add(5, 1, 20, 300, 200, 480, "Jog ball");

    s.Label(2, "Tool Table");
    s.DROGrid(2, 2, 20, 40, 4, 3, true, {"Tool", "X off", "Z off"});
    s.Add(3, 2, 500, 40, 700, 240, "insert.bmp").rBitMapPath = "c:\\korvo\\bitmaps\\insert.bmp";
    s.Go(2, 1, "Turn", 20, 600);

    s.Label(3, "Threading");
    s.DROGrid(3, 3, 20, 40, 2, 3, false, {"Pitch", "Depth", "Passes"});
    s.Add(8, 3, 500, 40, 580, 100, "Thread");
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
    const bool ok = Mill().Write(folder + "/mill.set", {0, 0, 0, 800, 600, 0, 0, 0, 1, 0}) &&
                    Lathe().Write(folder + "/lathe.lset", {0, 0, 0, 1024, 768, 0, 0, 0, 2, 0});
    if (!ok) std::fprintf(stderr, "make_samples: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
