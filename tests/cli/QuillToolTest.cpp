// The command-line tool, run as the built program: each command on the samples, its output read
// back against the document's own view, and the failures that must leave every output as it was.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "AgreeingDialogs.h"
#include "JsonReader.h"
#include "LayoutBuilders.h"
#include "QuillRunner.h"
#include "layout/cLayout.h"
#include "platform/Windows1252.h"
#include "tools/ScreenResolution.h"

namespace {

using Result = QuillResult;

// One line of the check's text output, taken apart.
struct FindingLine {
    std::string Severity, Screen, Record, Code, Message;
};

std::optional<FindingLine> ParseFinding(const std::string& line) {
    static const std::regex shape(
        "(error|warning|note) screen (all|-?[0-9]+) record ([0-9]+) ([a-z-]+): (.+)");
    std::smatch m;
    if (!std::regex_match(line, m, shape)) return std::nullopt;
    return FindingLine{m[1], m[2], m[3], m[4], m[5]};
}

// The record positions the SVG draws, in the order drawn.
std::vector<int> DrawnRecords(const std::string& svg) {
    std::vector<int> positions;
    const std::string mark = "<svg id=\"record-";
    for (std::size_t at = svg.find(mark); at != std::string::npos; at = svg.find(mark, at + 1))
        positions.push_back(std::stoi(svg.substr(at + mark.size())));
    return positions;
}

class QuillSample : public ::testing::TestWithParam<const char*> {
protected:
    std::string Path() const { return Sample(GetParam()); }
    TempDir Dir;
};

TEST_P(QuillSample, InfoJsonIsTheDocumentsScreenIndexAndCounts) {
    const Result run = Quill("info " + Quoted(Path()) + " --json", Dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::optional<JsonValue> json = JsonReader::Parse(run.Out);
    ASSERT_TRUE(json) << run.Out;

    Loaded document(Path());
    const cLayout& layout = document.Layout;
    EXPECT_EQ((*json)["file"].Text, Path());
    EXPECT_EQ((*json)["controls"].Int(), layout.ControlCount());
    const DetectedResolution drawnFor = DetectResolution(layout.Records(), -1);
    EXPECT_EQ((*json)["resolution"].Text,
              std::to_string(drawnFor.Size.Width) + "x" + std::to_string(drawnFor.Size.Height));
    EXPECT_EQ((*json)["resolutionFrom"].Text, ResolutionRuleName(drawnFor.From));
    const JsonValue& screens = (*json)["screens"];
    ASSERT_EQ(screens.Items.size(), 16u);
    for (std::size_t s = 0; s < 16; ++s) {
        SCOPED_TRACE("screen " + std::to_string(s));
        const ScreenEntry& entry = layout.Screens()[s];
        const bool shown = entry.CtrlCount > 0; // the list shows nothing more for an empty screen
        EXPECT_EQ(screens[s]["screen"].Int(), static_cast<int64_t>(s));
        EXPECT_EQ(screens[s]["controls"].Int(), entry.CtrlCount);
        EXPECT_EQ(screens[s]["label"].Text, shown ? Windows1252ToUtf8(entry.Label) : "");
        const auto& shownBy = screens[s]["shownBy"].Items;
        ASSERT_EQ(shownBy.size(), shown ? static_cast<std::size_t>(entry.ShownByCount) : 0u);
        for (std::size_t k = 0; k < shownBy.size(); ++k)
            EXPECT_EQ(shownBy[k].Text, Windows1252ToUtf8(entry.ShownBy[k]));
    }

    std::map<std::string, int64_t> kinds, offScreens;
    for (int kind = 1; kind <= 11; ++kind)
        kinds[std::to_string(kind)] = 0;
    for (const ControlRecord& r : layout.Records()) {
        ++kinds[std::to_string(r.rType)];
        if (r.rScreen < 0 || r.rScreen > 15) ++offScreens[std::to_string(r.rScreen)];
    }
    std::map<std::string, int64_t> jsonKinds, jsonOffScreens;
    for (const auto& [key, value] : (*json)["kinds"].Members)
        jsonKinds[key] = value.Int();
    for (const auto& [key, value] : (*json)["otherScreens"].Members)
        jsonOffScreens[key] = value.Int();
    EXPECT_EQ(jsonKinds, kinds);
    EXPECT_EQ(jsonOffScreens, offScreens);
}

TEST_P(QuillSample, InfoTextShowsEveryScreenRowAndTheTotal) {
    const Result run = Quill("info " + Quoted(Path()), Dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Loaded document(Path());
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_GT(lines.size(), 17u);
    for (int s = 0; s < 16; ++s) {
        const ScreenEntry& entry = document.Layout.Screens()[static_cast<std::size_t>(s)];
        std::istringstream row(lines[static_cast<std::size_t>(s) + 1]);
        int screen = -1, count = -1;
        row >> screen >> count;
        EXPECT_EQ(screen, s);
        EXPECT_EQ(count, entry.CtrlCount);
        if (entry.CtrlCount > 0) {
            EXPECT_NE(row.str().find(Windows1252ToUtf8(entry.Label)), std::string::npos);
        }
    }
    EXPECT_EQ(lines.back(), std::to_string(document.Layout.ControlCount()) + " records");
    // Both samples have a background picture on every screen.
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         DrawnForText(DetectResolution(document.Layout.Records(), -1))),
              1);
    EXPECT_NE(run.Out.find(" (from the background picture)\n"), std::string::npos);
}

TEST_P(QuillSample, ExportCsvWritesWhatTheDocumentsExportWrites) {
    const Result run = Quill("export-csv " + Quoted(Path()) + " " + Quoted(Dir.File("a.csv")), Dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Loaded document(Path());
    ASSERT_TRUE(document.Layout.ExportCSV(Dir.File("b.csv")));
    EXPECT_EQ(ReadBytes(Dir.File("a.csv")), ReadBytes(Dir.File("b.csv")));
}

TEST_P(QuillSample, ImportCsvThenExportCsvRoundTripsWithATrailerOfZeros) {
    const std::string first = Dir.File("first.csv"), layout = Dir.File("imported.set");
    ASSERT_EQ(Quill("export-csv " + Quoted(Path()) + " " + Quoted(first), Dir).Status, 0);
    const Result import = Quill("import-csv " + Quoted(first) + " " + Quoted(layout), Dir);
    ASSERT_EQ(import.Status, 0) << import.Err;
    ASSERT_EQ(
        Quill("export-csv " + Quoted(layout) + " " + Quoted(Dir.File("second.csv")), Dir).Status,
        0);
    EXPECT_EQ(ReadBytes(Dir.File("second.csv")), ReadBytes(first));
    const std::string bytes = ReadBytes(layout);
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_EQ(bytes.substr(bytes.size() - 40), std::string(40, '\0'));
}

TEST_P(QuillSample, RescaleTo1920x1080KeepsEveryControlInside) {
    Loaded source(Path());
    const std::vector<ControlRecord> original(source.Layout.Records().begin(),
                                              source.Layout.Records().end());
    struct Case {
        const char* Options;
        int Screen; // -1: all
    };
    std::map<std::string, std::vector<ControlRecord>> results;
    for (const Case& c : {Case{"", -1}, Case{"--centre", -1}, Case{"--screen 1 --centre", 1}}) {
        SCOPED_TRACE(c.Options);
        const std::string out = Dir.File("out.set");
        const Result run = Quill("rescale " + Quoted(Path()) + " --to 1920x1080 " + c.Options +
                                     " -o " + Quoted(out),
                                 Dir);
        ASSERT_EQ(run.Status, 0) << run.Err;
        Loaded rescaled(out);
        const auto records = rescaled.Layout.Records();
        ASSERT_EQ(records.size(), original.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ControlRecord& r = records[i];
            if (c.Screen >= 0 && original[i].rScreen != c.Screen) {
                EXPECT_EQ(r, original[i]) << "record " << i + 1 << " is on another screen";
                continue;
            }
            EXPECT_TRUE(r.rX1 >= 0 && r.rY1 >= 0 && r.rX2 <= 1920 && r.rY2 <= 1080)
                << "record " << i + 1 << ": " << r.rX1 << "," << r.rY1 << " - " << r.rX2 << ","
                << r.rY2;
        }
        results[c.Options].assign(records.begin(), records.end());
    }
    // Centring moves every rectangle right by one shift and changes nothing else.
    const auto& plain = results[""];
    const auto& centred = results["--centre"];
    const int32_t shift = centred[0].rX1 - plain[0].rX1;
    EXPECT_GT(shift, 0);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ControlRecord moved = plain[i];
        moved.rX1 += shift;
        moved.rX2 += shift;
        EXPECT_EQ(centred[i], moved) << "record " << i + 1;
    }
}

TEST_P(QuillSample, CheckLinesParseAndJsonSaysTheSameAndTheStatusFollowsTheSeverities) {
    const Result text = Quill("check " + Quoted(Path()), Dir);
    const Result json = Quill("check " + Quoted(Path()) + " --json", Dir);
    const std::vector<std::string> lines = Lines(text.Out), objects = Lines(json.Out);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(objects.size(), lines.size());
    bool problem = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::optional<FindingLine> line = ParseFinding(lines[i]);
        ASSERT_TRUE(line);
        problem = problem || line->Severity != "note";
        const std::optional<JsonValue> value = JsonReader::Parse(objects[i]);
        ASSERT_TRUE(value) << objects[i];
        std::vector<std::string> keys;
        for (const auto& member : value->Members)
            keys.push_back(member.first);
        EXPECT_EQ(keys,
                  (std::vector<std::string>{"severity", "code", "screen", "record", "message"}));
        EXPECT_EQ((*value)["severity"].Text, line->Severity);
        EXPECT_EQ((*value)["code"].Text, line->Code);
        const JsonValue& screen = (*value)["screen"];
        EXPECT_EQ(screen.Type == JsonValue::Kind::Null ? "all" : std::to_string(screen.Int()),
                  line->Screen);
        EXPECT_EQ(std::to_string((*value)["record"].Int()), line->Record);
        EXPECT_EQ((*value)["message"].Text, line->Message);
    }
    EXPECT_EQ(text.Status, problem ? 1 : 0) << text.Err;
    EXPECT_EQ(json.Status, text.Status);
}

TEST_P(QuillSample, RenderDrawsTheScreensControlsAndScreenZerosUnlessLeftOut) {
    Loaded document(Path());
    const auto records = document.Layout.Records();
    const auto screenOf = [&](int position) {
        return records[static_cast<std::size_t>(position) - 1].rScreen;
    };
    int onScreen = 0;
    for (const ControlRecord& r : records)
        onScreen += r.rScreen == 1;

    const std::string out = Dir.File("screen.svg");
    for (const bool persistent : {true, false}) {
        SCOPED_TRACE(persistent ? "with screen 0" : "--no-persistent");
        const Result run = Quill("render " + Quoted(Path()) + " --screen 1 -o " + Quoted(out) +
                                     (persistent ? "" : " --no-persistent"),
                                 Dir);
        ASSERT_EQ(run.Status, 0) << run.Err;
        const std::string svg = ReadBytes(out);
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
        const std::vector<int> drawn = DrawnRecords(svg);
        EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()).size(), drawn.size());
        int fromScreen1 = 0, fromScreen0 = 0;
        for (int position : drawn) {
            fromScreen1 += screenOf(position) == 1;
            fromScreen0 += screenOf(position) == 0;
        }
        EXPECT_EQ(fromScreen1, onScreen);
        EXPECT_EQ(fromScreen0 + fromScreen1, static_cast<int>(drawn.size()));
        if (persistent)
            EXPECT_GT(fromScreen0, 0);
        else
            EXPECT_EQ(fromScreen0, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, QuillSample, ::testing::Values("mill.set", "lathe.lset"));

TEST(QuillTool, HelpAndVersionDescribeEveryCommand) {
    TempDir dir;
    const Result help = Quill("help", dir);
    ASSERT_EQ(help.Status, 0);
    for (const char* synopsis :
         {"info LAYOUT [--json] [--codepage N]", "export-csv LAYOUT CSV",
          "import-csv CSV LAYOUT [--codepage N]",
          "rescale LAYOUT --to WxH [--from WxH] [--screen N] [--centre] -o OUT",
          "check LAYOUT [--json] [--resolution WxH] [--pictures DIR] [--codepage N]",
          "render LAYOUT --screen N -o OUT.svg [--pictures DIR] [--link-pictures] "
          "[--resolution WxH] [--no-persistent] [--codepage N]"}) {
        EXPECT_NE(help.Out.find(std::string("quill ") + synopsis), std::string::npos) << synopsis;
        const std::string name = std::string(synopsis).substr(0, std::string(synopsis).find(' '));
        for (const std::string& asked : {name + " --help", "help " + name}) {
            const Result command = Quill(asked, dir);
            EXPECT_EQ(command.Status, 0) << asked;
            EXPECT_EQ(command.Out.rfind(std::string("Usage: quill ") + synopsis + "\n", 0), 0u)
                << command.Out;
        }
    }
    const Result version = Quill("--version", dir);
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out.rfind("quill (KorvoScreenQuill) ", 0), 0u) << version.Out;
}

TEST(QuillTool, CheckWithPicturesReportsOnlyTheMissingPicture) {
    TempDir dir;
    const Result run = Quill(
        "check " + Quoted(Sample("mill.set")) + " --pictures " + Quoted(QUILL_SAMPLES_DIR), dir);
    EXPECT_EQ(run.Status, 1) << run.Err;
    Loaded document(Sample("mill.set"));
    std::vector<std::string> missing;
    for (const std::string& text : Lines(run.Out)) {
        const std::optional<FindingLine> line = ParseFinding(text);
        ASSERT_TRUE(line) << text;
        EXPECT_NE(line->Code, "pictures-not-checked");
        if (line->Code != "missing-picture") continue;
        const auto record = static_cast<std::size_t>(std::stoi(line->Record));
        missing.push_back(document.Layout.Records()[record - 1].rBitMapPath);
    }
    EXPECT_EQ(missing, std::vector<std::string>{"c:\\korvo\\bitmaps\\mdi.bmp"});
}

// A layout of its own for each status: what decides it is the worst severity found.
TEST(QuillTool, CheckExitStatusIsOneForAnErrorAndZeroForNotes) {
    TempDir dir;
    ControlRecord unknown = MakeControl(12, 1);
    struct Case {
        const char* Name;
        std::vector<ControlRecord> Records;
        int Status;
        const char* Severities; // of the findings, in order
    };
    const std::vector<Case> cases{
        {"a link to an empty screen",
         {MakeScreenLabel(1, "Main"), MakeScreenButton(1, 5, "Go", 116)},
         1,
         "error"},
        {"notes only", {MakeScreenLabel(1, "Main"), unknown}, 0, "note"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = dir.Write("case.set", LayoutFileBytes(c.Records));
        const Result run = Quill("check " + Quoted(path), dir);
        EXPECT_EQ(run.Status, c.Status) << run.Out << run.Err;
        std::string severities;
        for (const std::string& text : Lines(run.Out)) {
            const std::optional<FindingLine> line = ParseFinding(text);
            ASSERT_TRUE(line) << text;
            severities += (severities.empty() ? "" : " ") + line->Severity;
        }
        EXPECT_EQ(severities, c.Severities) << run.Out;
    }
}

// A picture under the SVG's folder is named relative to it, so the folder can move as a whole;
// any other picture by a file URI that works from anywhere.
std::string Base64Decoded(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = bits << 6 | static_cast<uint32_t>(digits.find(c));
        if ((count += 6) >= 8) bytes.push_back(static_cast<char>(bits >> (count -= 8)));
    }
    return bytes;
}

// The values of every xlink:href of the SVG that is not a reference inside it.
std::vector<std::string> PictureReferences(const std::string& svg) {
    std::vector<std::string> references;
    for (std::size_t at = svg.find("href=\""); at != std::string::npos;
         at = svg.find("href=\"", at + 1)) {
        const std::string value = svg.substr(at + 6, svg.find('"', at + 6) - at - 6);
        if (!value.starts_with("#")) references.push_back(value);
    }
    return references;
}

TEST(QuillTool, RenderEmbedsEachPictureOnceOrLinksItRelativeToTheSvg) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("pics"));
    std::filesystem::create_directories(dir.File("out/deeper"));
    const std::string start = ReadBytes(Sample("SampleBitmaps/CycleStart.bmp"));
    const std::string reset = ReadBytes(Sample("SampleBitmaps/Reset.bmp"));
    dir.Write("pics/start.bmp", start);
    dir.Write("pics/Reset.bmp", reset);
    ControlRecord first = MakeControl(ControlKind::Bitmap, 1, 0, 0, 100, 100);
    first.rBitMapPath = "Pics\\START.BMP";
    ControlRecord again = first;
    again.rX1 = 200;
    ControlRecord button = MakeScreenButton(1, 1, "Text");
    button.rType = ControlKind::BitmapButton;
    button.rBitMapPath = "C:\\Korvo\\pics\\reset.bmp";
    ControlRecord gone = first;
    gone.rBitMapPath = "Pics\\gone.png";
    const std::string layout =
        dir.Write("layout.set", LayoutFileBytes({first, button, again, gone}));

    const std::string svgPath = dir.File("out/deeper/screen.svg");
    const Result embedded =
        Quill("render " + Quoted(layout) + " --screen 1 -o " + Quoted(svgPath), dir);
    ASSERT_EQ(embedded.Status, 0) << embedded.Err;
    EXPECT_NE(embedded.Err.find("gone.png"), std::string::npos) << embedded.Err;
    std::string svg = ReadBytes(svgPath);
    for (int record = 1; record <= 4; ++record)
        EXPECT_NE(svg.find("id=\"record-" + std::to_string(record) + "\""), std::string::npos);
    EXPECT_NE(svg.find("data-kind=\"8\""), std::string::npos);
    std::multiset<std::string> carried;
    for (const std::string& reference : PictureReferences(svg)) {
        ASSERT_TRUE(reference.starts_with("data:image/bmp;base64,")) << reference.substr(0, 80);
        carried.insert(Base64Decoded(reference.substr(22)));
    }
    EXPECT_EQ(carried, (std::multiset<std::string>{start, reset})) << "each picture once";
    EXPECT_EQ(svg.find("pics"), std::string::npos) << "no file is referenced";

    const Result linked = Quill(
        "render " + Quoted(layout) + " --screen 1 --link-pictures -o " + Quoted(svgPath), dir);
    ASSERT_EQ(linked.Status, 0) << linked.Err;
    svg = ReadBytes(svgPath);
    std::multiset<std::string> loaded;
    for (const std::string& reference : PictureReferences(svg)) {
        EXPECT_TRUE(reference.starts_with("../../pics/")) << reference;
        loaded.insert(ReadBytes(dir.File("out/deeper/" + reference)));
    }
    EXPECT_EQ(loaded, (std::multiset<std::string>{start, reset}));
}

TEST(QuillTool, TextsReachJsonEscapedAndTheConsoleOnOneLine) {
    TempDir dir;
    const std::string name = "A \"q\" \\ \xE9\x01\tz"; // Windows-1252 é and two controls
    const std::string path = dir.Write(
        "odd name.set",
        LayoutFileBytes({MakeScreenLabel(0, name), MakeScreenButton(0, 0, "Go\r\nthere\x9D")}));
    const Result json = Quill("info " + Quoted(path) + " --json", dir);
    ASSERT_EQ(json.Status, 0) << json.Err;
    const std::optional<JsonValue> value = JsonReader::Parse(json.Out);
    ASSERT_TRUE(value) << json.Out;
    EXPECT_EQ((*value)["file"].Text, path);
    EXPECT_EQ((*value)["screens"][0]["label"].Text, "A \"q\" \\ \xC3\xA9\x01\tz");
    EXPECT_EQ((*value)["screens"][0]["shownBy"][0].Text, "Go\r\nthere\xC2\x9D");

    const Result text = Quill("info " + Quoted(path), dir);
    ASSERT_EQ(text.Status, 0) << text.Err;
    const std::string row = Lines(text.Out).at(1);
    EXPECT_NE(row.find("A \"q\" \\ \xC3\xA9  z"), std::string::npos) << row;
    EXPECT_NE(row.find("Go there"), std::string::npos) << row;
    for (char c : text.Out)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << static_cast<int>(c);
}

TEST(QuillTool, InPlaceReplacesTheInput) {
    TempDir dir;
    const std::string layout = dir.Write("in.lset", ReadBytes(Sample("lathe.lset")));
    const Result run = Quill("rescale " + Quoted(layout) + " --to 1920x1080 --in-place", dir);
    ASSERT_EQ(run.Status, 0) << run.Err;
    Loaded rescaled(layout);
    int32_t reach = 0;
    for (const ControlRecord& r : rescaled.Layout.Records())
        reach = std::max(reach, r.rY2);
    EXPECT_GT(reach, 768);
    EXPECT_LE(reach, 1080);
}

// Every failure exits with 2, says why in one line on standard error, and leaves the output as
// it was.
TEST(QuillTool, FailuresExitTwoWithOneLineAndTheOutputUntouched) {
    TempDir dir;
    const std::string lathe = ReadBytes(Sample("lathe.lset"));
    const std::string in = dir.Write("in.lset", lathe);
    dir.Write("damaged.set", lathe.substr(0, 1043));
    dir.Write("damaged.csv",
              "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\",\"i\",\"j\",\"k\",\"l\","
              "\"m\",\"n\",\"o\",\"p\",\"q\",\"r\",\"s\",\"t\"\r\n 1 , x , 0\r\n");
    ControlRecord far = MakeControl(3, 1, 0, 0, 2000000000, 100);
    dir.Write("far.set", LayoutFileBytes({far}));
    const std::string previous = "previous content";

    struct Case {
        const char* Name;
        std::string Arguments;
        std::string Output; // the file that must keep its bytes
        const char* Says;
    };
    const std::string out = dir.File("out");
    const std::vector<Case> cases{
        {"damaged layout", "export-csv " + Quoted(dir.File("damaged.set")) + " " + Quoted(out), out,
         "Cannot read layout file"},
        {"missing layout", "info " + Quoted(dir.File("missing.set")), out,
         "Cannot read layout file"},
        {"damaged CSV", "import-csv " + Quoted(dir.File("damaged.csv")) + " " + Quoted(out), out,
         "Cannot import CSV file"},
        {"bad option", "export-csv " + Quoted(in) + " " + Quoted(out) + " --frob", out,
         "unknown option --frob"},
        {"bad resolution", "rescale " + Quoted(in) + " --to 1920 -o " + Quoted(out), out,
         "is not a resolution"},
        {"screen out of range",
         "rescale " + Quoted(in) + " --to 1920x1080 --screen 16 -o " + Quoted(out), out,
         "is not a screen 0 to 15"},
        {"unknown command", "frob " + Quoted(in), out, "unknown command"},
        {"output is the input", "rescale " + Quoted(in) + " --to 1920x1080 -o " + Quoted(in), in,
         "add --in-place"},
        {"CSV over its layout spelt otherwise",
         "export-csv " + Quoted(in) + " " + Quoted(dir.Path() + "/./in.lset"), in,
         "is the layout it reads, which a CSV file would replace"},
        {"CSV over its layout in place",
         "export-csv " + Quoted(in) + " " + Quoted(in) + " --in-place", in,
         "is the layout it reads"},
        {"import over its own CSV", "import-csv " + Quoted(in) + " " + Quoted(in), in,
         "add --in-place"},
        {"rescale out of range",
         "rescale " + Quoted(dir.File("far.set")) + " --from 640x480 --to 3840x2160 -o " +
             Quoted(out),
         out, "Cannot rescale"},
        {"check of a missing layout", "check " + Quoted(dir.File("missing.set")), out,
         "Cannot read layout file"},
        {"check at a bad resolution", "check " + Quoted(in) + " --resolution 1024x", out,
         "is not a resolution"},
        {"check with a missing pictures folder",
         "check " + Quoted(in) + " --pictures " + Quoted(dir.File("no-pictures")), out,
         "is not a folder"},
        {"render of a missing layout",
         "render " + Quoted(dir.File("missing.set")) + " --screen 1 -o " + Quoted(out), out,
         "Cannot read layout file"},
        {"render of a bad screen", "render " + Quoted(in) + " --screen 1x -o " + Quoted(out), out,
         "is not a screen number 0 or more"},
        {"render over its layout", "render " + Quoted(in) + " --screen 1 -o " + Quoted(in), in,
         "is the layout it reads, which an SVG picture would replace"},
        {"render over its layout in place",
         "render " + Quoted(in) + " --screen 1 --in-place -o " + Quoted(in), in,
         "is the layout it reads"},
        {"render at a bad resolution",
         "render " + Quoted(in) + " --screen 1 --resolution 10x10 -o " + Quoted(out), out,
         "is not a resolution"},
        {"a backup that cannot be written",
         "render " + Quoted(in) + " --screen 1 -o " + Quoted(dir.File("blocked.svg")),
         dir.File("blocked.svg"), "could not be written"},
        {"render without -o", "render " + Quoted(in) + " --screen 1", out, "needs -o"},
        {"unwritable output",
         "rescale " + Quoted(in) + " --to 1920x1080 -o " + Quoted(dir.File("no/such/dir/x.set")),
         in, "Cannot save layout file"},
    };
    dir.Write("blocked.svg", previous);
    std::filesystem::create_directories(dir.File("blocked.svg.bak/inside"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        dir.Write("out", previous);
        const std::string before = ReadBytes(c.Output);
        const Result run = Quill(c.Arguments, dir);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Err.rfind("quill: ", 0), 0u) << run.Err;
        EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
        EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
        EXPECT_EQ(ReadBytes(c.Output), before);
        EXPECT_EQ(ReadBytes(in), lathe);
        EXPECT_FALSE(FileExists(dir.File("out.bak"))) << "a failed command keeps no backup";
        EXPECT_FALSE(FileExists(dir.File("in.lset.bak")));
    }
}

// Every output that replaces a file keeps the file's old content as NAME.bak first, replacing an
// older backup, as Save does.
TEST(QuillTool, EveryOutputKeepsTheFileItReplacesAsABackup) {
    TempDir dir;
    const std::string lathe = ReadBytes(Sample("lathe.lset"));
    const std::string in = dir.Write("in.lset", lathe);
    const std::string csv = dir.File("in.csv");
    ASSERT_EQ(Quill("export-csv " + Quoted(in) + " " + Quoted(csv), dir).Status, 0);
    const std::string csvBytes = ReadBytes(csv);

    struct Case {
        const char* Name;
        std::string Arguments;
        std::string Output;
    };
    const std::string out = dir.File("out");
    const std::vector<Case> cases{
        {"export-csv", "export-csv " + Quoted(in) + " " + Quoted(out), out},
        {"import-csv", "import-csv " + Quoted(csv) + " " + Quoted(out), out},
        {"rescale", "rescale " + Quoted(in) + " --to 1920x1080 -o " + Quoted(out), out},
        {"render", "render " + Quoted(in) + " --screen 1 -o " + Quoted(out), out},
        {"rescale in place", "rescale " + Quoted(in) + " --to 1280x1024 --in-place", in},
        {"import-csv over its CSV", "import-csv " + Quoted(csv) + " " + Quoted(csv) + " --in-place",
         csv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        dir.Write("out", "previous content");
        dir.Write(c.Output.substr(c.Output.rfind('/') + 1) + ".bak", "an older backup");
        const std::string before = ReadBytes(c.Output);
        const Result run = Quill(c.Arguments, dir);
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(ReadBytes(c.Output + ".bak"), before);
        EXPECT_NE(ReadBytes(c.Output), before);
    }
    EXPECT_EQ(ReadBytes(in + ".bak"), lathe);
    EXPECT_EQ(ReadBytes(csv + ".bak"), csvBytes);

    // A new file has nothing to keep.
    ASSERT_EQ(
        Quill("render " + Quoted(in) + " --screen 2 -o " + Quoted(dir.File("new.svg")), dir).Status,
        0);
    EXPECT_FALSE(FileExists(dir.File("new.svg.bak")));
}

} // namespace
