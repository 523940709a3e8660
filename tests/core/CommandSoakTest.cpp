// A long run of random commands on random layouts, with a fixed seed. After every command the
// document must hold together: at most MaxControls records, a screen index that matches its
// records, links that followed their screens, and an undo that gives back exactly the records of
// before the run it undoes.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

using Records = std::vector<ControlRecord>;

// Answers every box at random, or as told for the next question; counts internal errors.
class RandomDialogs : public UserDialogs {
public:
    explicit RandomDialogs(std::mt19937& rng) : Rng(rng) {}

    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string&) override {
        ++Boxes;
        if (icon == MsgIcon::Critical) InternalErrors.push_back(prompt);
        if (Forced) {
            const MsgAnswer answer = *Forced;
            Forced.reset();
            return answer;
        }
        const bool yes = std::uniform_int_distribution<int>(0, 3)(Rng) != 0;
        switch (buttons) {
        case MsgButtons::OK:
            return MsgAnswer::OK;
        case MsgButtons::OKCancel:
            return yes ? MsgAnswer::OK : MsgAnswer::Cancel;
        case MsgButtons::YesNo:
            return yes ? MsgAnswer::Yes : MsgAnswer::No;
        case MsgButtons::YesNoCancel:
            return yes ? MsgAnswer::Yes : MsgAnswer::Cancel;
        }
        return MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&,
                         const std::string& proposed) override {
        ++Boxes;
        InputCancelled = std::uniform_int_distribution<int>(0, 9)(Rng) == 0;
        if (InputCancelled) return {};
        return std::uniform_int_distribution<int>(0, 1)(Rng) ? proposed
                                                             : "caption " + std::to_string(Boxes);
    }

    std::optional<MsgAnswer> Forced;
    std::vector<std::string> InternalErrors;
    bool InputCancelled = false;
    int Boxes = 0;

private:
    std::mt19937& Rng;
};

// The screen index as the records define it, written independently of the document's own build.
std::array<ScreenEntry, ScreenCount> ReferenceIndex(const Records& records) {
    std::array<ScreenEntry, ScreenCount> index{};
    for (const ControlRecord& r : records) {
        if (r.rScreen < 0 || r.rScreen > 15) continue;
        ScreenEntry& screen = index[static_cast<std::size_t>(r.rScreen)];
        ++screen.CtrlCount;
        const bool isLabel = r.rType == 7 && !r.rLabel.empty() && r.rLabel[0] == ScreenLabelMark;
        if (isLabel) {
            if (screen.Label.empty()) screen.Label = r.rLabel.substr(1);
        } else if (r.rType == 4 && r.rFunction == 32 && r.rOEMCode >= 0 && r.rOEMCode <= 15) {
            ScreenEntry& target = index[static_cast<std::size_t>(r.rOEMCode)];
            if (target.ShownByCount < 2) target.ShownBy[target.ShownByCount++] = r.rText;
        }
    }
    return index;
}

class LayoutGenerator {
public:
    explicit LayoutGenerator(std::mt19937& rng) : Rng(rng) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Rng); }

    std::string Text() {
        static const std::string alphabet = "abcXYZ 019,.-~\xA7\xBA";
        std::string text;
        const int length = Pick(0, 3) == 0 ? 0 : Pick(1, 12);
        for (int i = 0; i < length; ++i)
            text.push_back(alphabet[static_cast<std::size_t>(Pick(0, alphabet.size() - 1))]);
        // Now and then a character the CSV format cannot carry everywhere.
        if (Pick(0, 2000) == 0) text += Pick(0, 1) ? "\"" : "\r\n";
        return text;
    }

    ControlRecord Record() {
        ControlRecord r;
        const int shape = Pick(0, 99);
        r.rType = shape < 3 ? Pick(-1, 40) : Pick(1, 11);
        r.rScreen = shape < 6 ? Pick(-2, 25) : Pick(0, 15);
        r.rText = Text();
        r.rGText = Text();
        r.rBitMapPath = Text();
        r.rLabel = Text();
        r.rFormat = Text();
        r.rHoriz = Pick(-5, 5);
        r.rColor = Pick(0, 0xFFFFFF);
        r.rFlash = Pick(0, 1);
        r.rTabGroup = Pick(0, 4);
        r.rX1 = Pick(-20, 1300);
        r.rY1 = Pick(-20, 1000);
        r.rX2 = r.rX1 + Pick(0, 200);
        r.rY2 = r.rY1 + Pick(0, 100);
        if ((r.rType == 4 || r.rType == 8) && Pick(0, 1)) {
            r.rFunction = 32;
            r.rOEMCode = Pick(0, 9) == 0 ? Pick(-3, 40) : Pick(0, 15);
            r.rHotKey = Pick(0, 2) ? Pick(112, 126) : Pick(0, 130);
        }
        if (r.rType == 7 && Pick(0, 1)) r.rLabel = std::string(1, ScreenLabelMark) + Text();
        return r;
    }

    Records Layout(int size) {
        Records records;
        for (int i = 0; i < size; ++i)
            records.push_back(Record());
        return records;
    }

private:
    std::mt19937& Rng;
};

// True when the command asked and was cancelled: the journal did not move.
bool Unrecorded(const cLayout& layout, int32_t kindBefore, int repeatBefore) {
    return cLayoutProbe::UndoKind(layout) == kindBefore &&
           cLayoutProbe::UndoRepeat(layout) == repeatBefore;
}

std::string CsvReadBack(std::string text, bool quotesToTildes) {
    for (char& c : text) {
        if (quotesToTildes && c == '"') c = '~';
        if (c == '\xBA') c = '\xA7';
    }
    return text;
}

// What an export and import give back of a record, when the import can read it at all.
std::optional<ControlRecord> AfterCsvRoundTrip(ControlRecord r) {
    for (const std::string* text : {&r.rText, &r.rLabel, &r.rBitMapPath, &r.rFormat})
        if (text->find_first_of("\r\n") != std::string::npos) return std::nullopt;
    for (const std::string* text : {&r.rBitMapPath, &r.rFormat})
        if (text->find('"') != std::string::npos) return std::nullopt;
    r.rText = CsvReadBack(r.rText, true);
    r.rLabel = CsvReadBack(r.rLabel, true);
    r.rGText = r.rGText.find_first_of("\"\r\n") != std::string::npos ? "<-complex code->"
                                                                     : CsvReadBack(r.rGText, false);
    r.rBitMapPath = CsvReadBack(r.rBitMapPath, false);
    r.rFormat = CsvReadBack(r.rFormat, false);
    return r;
}

bool InScreens(int32_t n) {
    return n >= 0 && n <= 15;
}

// What a delete of screen g makes of the records: the screen's controls and the buttons that show
// it go, the screens above move down by one and the links follow them.
Records ExpectedAfterDelete(const Records& before, int g) {
    Records after;
    for (ControlRecord r : before) {
        if (r.rScreen == g || (r.IsScreenLink() && r.rOEMCode == g)) continue;
        if (InScreens(r.rScreen) && r.rScreen > g) --r.rScreen;
        if (r.IsScreenLink() && InScreens(r.rOEMCode) && r.rOEMCode > g) --r.rOEMCode;
        after.push_back(r);
    }
    return after;
}

// What swapping screens a and b makes of the records, links included.
Records ExpectedAfterSwap(const Records& before, int a, int b) {
    Records after = before;
    auto swapped = [a, b](int32_t n) { return n == a ? b : n == b ? a : n; };
    for (ControlRecord& r : after) {
        if (InScreens(r.rScreen)) r.rScreen = swapped(r.rScreen);
        if (r.IsScreenLink() && InScreens(r.rOEMCode)) r.rOEMCode = swapped(r.rOEMCode);
    }
    return after;
}

TEST(CommandSoak, RandomCommandsKeepEveryLayoutConsistent) {
    std::mt19937 rng(20261207);
    RandomDialogs dialogs(rng);
    LayoutGenerator generate(rng);
    FakeListView principalList, additionalList;
    cLayout principal(dialogs), additional(dialogs);
    principal.BindScreenList(principalList);
    additional.BindScreenList(additionalList);
    TempDir dir;
    const std::string savedPath = dir.File("soak.set");

    Records runStart; // the records before the run the journal can undo
    const float factors[] = {1.0f, 0.8f, 1.25f, 0.5f, 0.625f, 1.6f, 0.5555556f, 0.9f};
    int undone = 0, moves = 0;

    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        if (step % 400 == 0) {
            cLayoutProbe::Adopt(principal, generate.Layout(generate.Pick(0, 2000)));
            cLayoutProbe::Adopt(additional, generate.Layout(generate.Pick(0, 600)));
        }

        const Records before = cLayoutProbe::Records(principal);
        const int32_t kindBefore = cLayoutProbe::UndoKind(principal);
        const int repeatBefore = cLayoutProbe::UndoRepeat(principal);
        const int command = generate.Pick(0, 11);
        const int g = generate.Pick(-1, 16);
        std::optional<Records> expected;

        switch (command) {
        case 0:
            principal.DeleteScreens(g);
            expected = g > 0 && g <= 15 ? ExpectedAfterDelete(before, g) : before;
            ++moves;
            break;
        case 1:
            if (g == 1) dialogs.Forced = generate.Pick(0, 1) ? MsgAnswer::OK : MsgAnswer::Cancel;
            principal.PromoteScreens(g);
            expected = g >= 1 && g <= 15 && !Unrecorded(principal, kindBefore, repeatBefore)
                           ? ExpectedAfterSwap(before, g - 1, g)
                           : before;
            ++moves;
            break;
        case 2:
            if (g == 0) dialogs.Forced = generate.Pick(0, 1) ? MsgAnswer::OK : MsgAnswer::Cancel;
            principal.DemoteScreens(g);
            expected = g >= 0 && g <= 14 && !Unrecorded(principal, kindBefore, repeatBefore)
                           ? ExpectedAfterSwap(before, g, g + 1)
                           : before;
            ++moves;
            break;
        case 3:
            principal.AppendScreenFrom(additional, generate.Pick(-1, 15));
            break;
        case 4:
            principal.RescaleControls(generate.Pick(-1, 15),
                                      factors[generate.Pick(0, std::size(factors) - 1)]);
            break;
        case 5:
            principal.SortDROs(generate.Pick(0, 15), generate.Pick(0, 4), generate.Pick(0, 1));
            break;
        case 6:
            principal.UpdateButtonCaptions();
            break;
        case 7: {
            const bool yes = generate.Pick(0, 2) != 0;
            dialogs.Forced = yes ? MsgAnswer::Yes : MsgAnswer::No;
            principal.Undo();
            if (kindBefore == UndoNone) {
                dialogs.Forced.reset();
                expected = before;
            } else if (yes) {
                expected = runStart;
                ++undone;
            } else {
                expected = before;
            }
            break;
        }
        case 8: {
            ASSERT_TRUE(principal.SaveLayout(savedPath));
            EXPECT_FALSE(principal.IsDirty());
            ASSERT_TRUE(principal.LoadLayout(savedPath));
            expected = before;
            break;
        }
        case 9: {
            const Records additionalBefore = cLayoutProbe::Records(additional);
            const std::string csv = dir.File("soak.csv");
            const bool exported = principal.ExportCSV(csv);
            ASSERT_EQ(exported, !before.empty());
            std::optional<Records> readable = Records{};
            for (const ControlRecord& r : before) {
                const auto back = AfterCsvRoundTrip(r);
                if (!back) {
                    readable.reset();
                    break;
                }
                readable->push_back(*back);
            }
            if (exported) {
                dialogs.Forced = MsgAnswer::OK; // the caution box
                const bool imported = additional.ImportCSV(csv);
                ASSERT_EQ(imported, readable.has_value());
                ASSERT_TRUE(cLayoutProbe::Records(additional) ==
                            (imported ? *readable : additionalBefore));
            }
            expected = before;
            break;
        }
        default:
            principal.ShowStatistics(generate.Pick(-1, 15));
            expected = before;
            break;
        }

        const Records& now = cLayoutProbe::Records(principal);
        ASSERT_LE(now.size(), static_cast<std::size_t>(MaxControls));
        ASSERT_LE(cLayoutProbe::Records(additional).size(), static_cast<std::size_t>(MaxControls));
        ASSERT_TRUE(dialogs.InternalErrors.empty()) << dialogs.InternalErrors.front();
        if (expected) {
            ASSERT_TRUE(now == *expected) << "command " << command << " screen " << g;
        }

        // A new kind in the journal starts a run whose start is the state before this command.
        const int32_t kindAfter = cLayoutProbe::UndoKind(principal);
        if (kindAfter != UndoNone &&
            (kindAfter != kindBefore || cLayoutProbe::UndoRepeat(principal) < repeatBefore))
            runStart = before;

        const auto reference = ReferenceIndex(now);
        const auto& index = cLayoutProbe::ScreenTable(principal);
        for (int s = 0; s < ScreenCount; ++s) {
            const ScreenEntry& have = index[static_cast<std::size_t>(s)];
            const ScreenEntry& want = reference[static_cast<std::size_t>(s)];
            ASSERT_EQ(have, want) << "screen " << s << " command " << command;
        }
        // The list shows the index as it now is, the captions of the buttons included.
        ASSERT_EQ(principalList.Rows.size(), 16u);
        for (int s = 0; s < ScreenCount; ++s) {
            const ScreenEntry& want = reference[static_cast<std::size_t>(s)];
            const std::vector<std::string>& row = principalList.Rows[static_cast<std::size_t>(s)];
            ASSERT_EQ(row.at(1), std::to_string(want.CtrlCount)) << "screen " << s;
            if (want.CtrlCount == 0) continue;
            ASSERT_EQ(std::vector<std::string>(row.begin() + 3, row.end()),
                      std::vector<std::string>(want.ShownBy.begin(),
                                               want.ShownBy.begin() + want.ShownByCount))
                << "screen " << s << " command " << command;
        }
    }
    EXPECT_GT(undone, 50);
    EXPECT_GT(moves, 500);
}

} // namespace
