// The layout file format: byte-exact records and files, the length prefixes, the fill-pattern
// mapping, and the round trip of a loaded file.

#include <gtest/gtest.h>

#include <filesystem>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/LayoutFile.h"
#include "layout/cLayout.h"

namespace {

const char* const WorkedRecordHex =
    "20 00 00 00 · 04 00 00 00 · 00 00 00 00 · 07 4F 66 66 73 65 74 73 · 00 · 00 · 00 00 00 00 · "
    "00 00 00 00 · 00 · 00 00 00 00 · 02 00 00 00 · 71 00 00 00 · 00 00 00 00 · 00 00 00 00 · 00 · "
    "00 00 00 00 · 0A 00 00 00 · 14 00 00 00 · 5A 00 00 00 · 2D 00 00 00";

ControlRecord WorkedRecord() {
    ControlRecord r;
    r.rFunction = 32;
    r.rType = 4;
    r.rText = "Offsets";
    r.rOEMCode = 2;
    r.rHotKey = 113;
    r.rX1 = 10;
    r.rY1 = 20;
    r.rX2 = 90;
    r.rY2 = 45;
    return r;
}

std::string Encoded(const std::string& text) {
    std::string out;
    PutString(out, text);
    return out;
}

class LayoutFileTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
    TempDir dir;
};

TEST(LayoutFileRecord, WorkedExampleIsSeventyTwoBytes) {
    std::string bytes;
    WriteControl(bytes, WorkedRecord());
    EXPECT_EQ(bytes, HexBytes(WorkedRecordHex));
    EXPECT_EQ(bytes.size(), 72u);

    LayoutReader in(bytes);
    ControlRecord back;
    ASSERT_TRUE(ReadControl(in, back));
    EXPECT_EQ(back, WorkedRecord());
    EXPECT_EQ(in.Offset(), 72u);
}

TEST(LayoutFileRecord, LengthPrefixes) {
    EXPECT_EQ(Encoded(""), HexBytes("00"));
    EXPECT_EQ(Encoded(std::string(1, ScreenLabelMark) + "Offsets"),
              HexBytes("08 A7 4F 66 66 73 65 74 73"));
    EXPECT_EQ(Encoded(std::string(254, 'a')).substr(0, 1), HexBytes("FE"));
    EXPECT_EQ(Encoded(std::string(254, 'a')).size(), 255u);
    EXPECT_EQ(Encoded(std::string(255, 'a')).substr(0, 3), HexBytes("FF FF 00"));
    EXPECT_EQ(Encoded(std::string(255, 'a')).size(), 258u);
    EXPECT_EQ(Encoded(std::string(300, 'a')).substr(0, 3), HexBytes("FF 2C 01"));
    EXPECT_EQ(Encoded(std::string(32767, 'a')).substr(0, 3), HexBytes("FF FF 7F"));

    for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 300u, 32767u}) {
        const std::string text(length, 'x');
        const std::string bytes = Encoded(text);
        LayoutReader in(bytes);
        std::string back = "previous";
        ASSERT_TRUE(in.GetString(back)) << length;
        EXPECT_EQ(back, text);
        EXPECT_EQ(in.Offset(), bytes.size());
    }
}

TEST(LayoutFileRecord, FillPatternMapsInRecordLongsOnly) {
    const std::string bytes = HexBytes("CD CD CD CD CD CD CD CD");
    LayoutReader in(bytes);
    int32_t mapped = 0, raw = 0;
    ASSERT_TRUE(in.GetLong(mapped));
    ASSERT_TRUE(in.GetRawLong(raw));
    EXPECT_EQ(mapped, -4096);
    EXPECT_EQ(raw, static_cast<int32_t>(0xCDCDCDCDu));
}

TEST(LayoutFileRecord, ShortReadsLeaveTheFieldAlone) {
    for (const char* hex : {"", "03 41 42", "05 41 42", "FF 10", "FF 05 00 41"}) {
        const std::string bytes = HexBytes(hex);
        LayoutReader in(bytes);
        std::string text = "kept";
        EXPECT_FALSE(in.GetString(text)) << hex;
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(in.LastFault(), LayoutReader::Fault::EndOfFile);
    }
    // The host's 16-bit length is signed: 0x8000 characters is no text.
    const std::string tooLong = HexBytes("FF 00 80") + std::string(0x8000, 'a');
    LayoutReader in(tooLong);
    std::string text = "kept";
    EXPECT_FALSE(in.GetString(text));
    EXPECT_EQ(in.LastFault(), LayoutReader::Fault::TextTooLong);
    EXPECT_EQ(text, "kept");
}

TEST_F(LayoutFileTest, OneRecordFileIs116BytesAndRoundTrips) {
    std::array<int32_t, 10> trailer{1, -2, 3, 4, 5, 6, 7, 8, 9, static_cast<int32_t>(0xCDCDCDCDu)};
    const std::string file = HexBytes("01 00 00 00") + HexBytes(WorkedRecordHex) +
                             LayoutFileBytes({}, trailer).substr(4);
    ASSERT_EQ(file.size(), 116u);
    const std::string path = dir.Write("one.set", file);

    ASSERT_TRUE(layout.LoadLayout(path));
    EXPECT_EQ(layout.ControlCount(), 1);
    EXPECT_EQ(cLayoutProbe::Records(layout)[0], WorkedRecord());
    EXPECT_EQ(cLayoutProbe::Trailer(layout), trailer);
    EXPECT_EQ(layout.FileName(), path);
    EXPECT_FALSE(layout.IsDirty());

    const std::string copy = dir.File("copy.set");
    ASSERT_TRUE(layout.SaveLayout(copy));
    EXPECT_EQ(ReadBytes(copy), file);
    EXPECT_EQ(layout.FileName(), path) << "saving keeps the name the layout was loaded from";
}

TEST_F(LayoutFileTest, EmptyLayoutIs44Bytes) {
    const std::string path = dir.File("empty.set");
    ASSERT_TRUE(layout.SaveLayout(path));
    EXPECT_EQ(ReadBytes(path), std::string(44, '\0'));

    ASSERT_TRUE(layout.LoadLayout(path));
    EXPECT_EQ(layout.ControlCount(), 0);
    EXPECT_EQ(layout.EmptyScreenNr(), 0);
}

TEST_F(LayoutFileTest, RoundTripNormalisesOnlyWhatTheFormatAllows) {
    // Record Longs holding the fill pattern come back as -4096; a short text stored with the long
    // prefix comes back with the short one; bytes after the trailer are dropped.
    std::string file = HexBytes("01 00 00 00");
    const std::string fill = HexBytes("CD CD CD CD");
    file += fill + HexBytes("07 00 00 00 03 00 00 00");      // rFunction, rType, rScreen
    file += HexBytes("FF 02 00") + "Hi" + HexBytes("00 00"); // rText long prefix, rGText, rBitMap
    file += fill + HexBytes("00 00 00 00") + HexBytes("00"); // rHoriz, rVert, rLabel
    for (int i = 0; i < 5; ++i)
        file += fill;       // rColor .. rRedGreen
    file += HexBytes("00"); // rFormat
    for (int i = 0; i < 5; ++i)
        file += HexBytes("01 00 00 00");
    const std::string trailer = fill + std::string(36, '\x11');
    const std::string path = dir.Write("odd.set", file + trailer + "junk after the trailer");

    ASSERT_TRUE(layout.LoadLayout(path));
    const ControlRecord& r = cLayoutProbe::Records(layout)[0];
    EXPECT_EQ(r.rFunction, -4096);
    EXPECT_EQ(r.rHoriz, -4096);
    EXPECT_EQ(r.rRedGreen, -4096);
    EXPECT_EQ(r.rText, "Hi");
    EXPECT_EQ(cLayoutProbe::Trailer(layout)[0], static_cast<int32_t>(0xCDCDCDCDu));

    ASSERT_TRUE(layout.SaveLayout(path));
    std::string expected = file;
    const std::string minus4096 = HexBytes("00 F0 FF FF");
    for (std::size_t at = expected.find(fill); at != std::string::npos; at = expected.find(fill))
        expected.replace(at, 4, minus4096);
    expected.replace(expected.find(HexBytes("FF 02 00")), 3, HexBytes("02"));
    EXPECT_EQ(ReadBytes(path), expected + trailer);
}

TEST_F(LayoutFileTest, NamesOutsideAsciiAreTheFilesOwn) {
    // Paths are UTF-8: the file is found under its name by the system, not under a mangled one.
    const std::filesystem::path folder =
        std::filesystem::path(dir.Path()) / std::filesystem::path(u8"Fr\u00E4sen \u03A9");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string path = dir.Path() + "/Fr\xC3\xA4sen \xCE\xA9/L\xC3\xA4ufer.set";
    const auto records = ControlsOnScreens({2, 1});
    cLayoutProbe::Adopt(layout, records);
    ASSERT_TRUE(layout.SaveLayout(path));

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    EXPECT_EQ(names, std::vector<std::string>{"L\xC3\xA4ufer.set"});

    cLayout loaded(dialogs);
    ASSERT_TRUE(loaded.LoadLayout(path));
    EXPECT_EQ(cLayoutProbe::Records(loaded), records);
}

TEST_F(LayoutFileTest, SavingOverALongerFileLeavesNothingBehind) {
    const std::string path = dir.Write("long.set", std::string(5000, '\x7F'));
    ASSERT_TRUE(layout.SaveLayout(path));
    EXPECT_EQ(ReadBytes(path).size(), 44u);
}

TEST_F(LayoutFileTest, SaveRefusesATextTooLongToStore) {
    std::vector<ControlRecord> records = ControlsOnScreens({3});
    records[1].rGText = std::string(32768, 'g');
    cLayoutProbe::Adopt(layout, records);
    layout.SetIsDirty(true);
    const std::string path = dir.Write("keep.set", "old content");

    dialogs.Answer(MsgAnswer::OK);
    EXPECT_FALSE(layout.SaveLayout(path));
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_NE(dialogs.Last().prompt.find("record 2 holds a text of 32768 characters"),
              std::string::npos)
        << dialogs.Last().prompt;
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_TRUE(layout.IsDirty());
}

TEST_F(LayoutFileTest, LargestLayoutRoundTrips) {
    std::vector<ControlRecord> records;
    for (int i = 0; i < MaxControls; ++i)
        records.push_back(MakeFullRecord(i));
    records[7].rText = std::string(32767, 't');
    const std::string bytes = LayoutFileBytes(records);
    const std::string path = dir.Write("full.set", bytes);
    ASSERT_TRUE(layout.LoadLayout(path));
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
    ASSERT_TRUE(layout.SaveLayout(path));
    EXPECT_EQ(ReadBytes(path), bytes);
}

} // namespace
