// Folder listings as the picture look-ups use them: every entry once with its kind, names beyond
// ASCII whole, links taken as what they name; and one name looked up in any letter case where the
// system matches names so.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FileSystemFaults.h"
#include "LayoutBuilders.h"
#include "platform/FileAccess.h"

namespace {

namespace fs = std::filesystem;

struct Kind {
    bool Folder = false;
    bool File = false;
    bool operator==(const Kind&) const = default;
};

std::map<std::string, Kind> Listed(const std::string& folder) {
    std::map<std::string, Kind> kinds;
    for (const FolderEntry& entry : ListFolder(folder)) {
        EXPECT_EQ(kinds.count(entry.Name), 0u) << entry.Name << " listed twice";
        kinds[entry.Name] = {entry.Folder, entry.File};
    }
    return kinds;
}

fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

TEST(FolderListing, EveryEntryOnceWithItsKind) {
    TempDir dir;
    dir.Write("Button.PNG", "not really a picture");
    fs::create_directory(PathOf(dir.File("Bitmaps")));
    fs::create_directory(PathOf(dir.File("Prüfstand 工程")));
    dir.Write("Prüfstand 工程/Zähler.bmp", "x");

    std::map<std::string, Kind> expected = {{"Button.PNG", {false, true}},
                                            {"Bitmaps", {true, false}},
                                            {"Prüfstand 工程", {true, false}}};
    // Links, where this system lets the test make them, count as what they name; a link to
    // nothing is neither.
    if (MakeSymbolicLink(dir.File("Bitmaps"), dir.File("Pictures"))) {
        expected["Pictures"] = {true, false};
        ASSERT_TRUE(MakeSymbolicLink(dir.File("Button.PNG"), dir.File("Alias.png")));
        expected["Alias.png"] = {false, true};
        if (MakeSymbolicLink(dir.File("gone.png"), dir.File("Dangling.png"))) {
            const auto listed = Listed(dir.Path());
            const auto dangling = listed.find("Dangling.png");
            EXPECT_TRUE(dangling == listed.end() || dangling->second == Kind{});
            fs::remove(PathOf(dir.File("Dangling.png")));
        }
    }
    EXPECT_EQ(Listed(dir.Path()), expected);
    EXPECT_EQ(Listed(dir.File("Prüfstand 工程")),
              (std::map<std::string, Kind>{{"Zähler.bmp", {false, true}}}));
    EXPECT_EQ(Listed(dir.Path() + "/"), expected) << "a folder given with its closing separator";
    EXPECT_TRUE(ListFolder(dir.File("absent")).empty());
    EXPECT_TRUE(ListFolder(dir.File("Button.PNG")).empty()) << "a file has no entries";
}

TEST(FolderListing, OneNameInAnyLetterCaseWhereTheSystemMatchesSo) {
    TempDir dir;
    fs::create_directory(PathOf(dir.File("BitMaps")));
    dir.Write("Über.jpg", "x");
    FolderEntry found;
    if (!NamesIgnoreCase) {
        EXPECT_FALSE(FindInFolder(dir.Path(), "BitMaps", found)) << "the folder is listed instead";
        return;
    }
    struct Case {
        const char* asked;
        bool there;
        const char* spelled;
        bool folder;
    };
    const Case cases[] = {{"bitmaps", true, "BitMaps", true}, {"BITMAPS", true, "BitMaps", true},
                          {"über.JPG", true, "Über.jpg", false}, {"Bitmap", false, "", false},
                          {"*", false, "", false},           {"Bit?aps", false, "", false},
                          {"", false, "", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        found = {};
        ASSERT_EQ(FindInFolder(dir.Path(), c.asked, found), c.there);
        if (!c.there) continue;
        EXPECT_EQ(found.Name, c.spelled);
        EXPECT_EQ(found.Folder, c.folder);
        EXPECT_EQ(found.File, !c.folder);
    }
    EXPECT_FALSE(FindInFolder(dir.File("absent"), "BitMaps", found));
}

} // namespace
