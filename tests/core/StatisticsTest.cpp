// The per-kind counts of the controls of one screen or of the whole layout.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

const char* const Labels[] = {"  DROs",          "  Scroll Bars",      "  Bitmaps",
                              "  Buttons",       "  JogBalls",         "  LEDs",
                              "  Labels",        "  Bitmap Buttons",   "  MDI lines",
                              "  GCode windows", "  Toolpath displays"};

// The report for these counts of kinds 1..11, in order.
std::string Report(const std::vector<int>& counts) {
    std::string text;
    for (std::size_t k = 0; k < 11; ++k)
        text += std::to_string(k < counts.size() ? counts[k] : 0) + Labels[k] + "\n";
    return text;
}

// Reads a report back as label -> count, checking that every line ends in a line feed.
std::map<std::string, int> ParseReport(const std::string& text) {
    std::map<std::string, int> counts;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t digits = line.find_first_not_of("0123456789");
        EXPECT_GT(digits, 0u) << line;
        counts[line.substr(digits)] += std::stoi(line.substr(0, digits));
    }
    EXPECT_EQ(text.back(), '\n');
    return counts;
}

TEST(Statistics, EmptyLayoutReportsElevenLinesOfZero) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK);
    layout.ShowStatistics(-1);
    EXPECT_EQ(dialogs.Last().prompt, "0  DROs\n0  Scroll Bars\n0  Bitmaps\n0  Buttons\n"
                                     "0  JogBalls\n0  LEDs\n0  Labels\n0  Bitmap Buttons\n"
                                     "0  MDI lines\n0  GCode windows\n0  Toolpath displays\n");
    EXPECT_EQ(dialogs.Last().title, "On all screens there are:");
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);

    cLayoutProbe::Adopt(layout, {MakeControl(1, 4)});
    layout.ShowStatistics(0);
    EXPECT_EQ(dialogs.Last().prompt, Report({}));
    EXPECT_EQ(dialogs.Last().title, "On screen 0 there are:");
}

TEST(Statistics, OneScreenCountsOnlyItsOwnControls) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::vector<ControlRecord> records{
        MakeControl(1, 3), MakeControl(4, 3),  MakeControl(1, 3), MakeControl(7, 3),
        MakeControl(1, 2), MakeControl(11, 4), MakeControl(1, 3), MakeControl(4, 3),
        MakeControl(1, 3), MakeControl(9, 13),
    };
    cLayoutProbe::Adopt(layout, records);
    const auto before = cLayoutProbe::Records(layout);

    dialogs.Answer(MsgAnswer::OK, 2);
    layout.ShowStatistics(3);
    EXPECT_EQ(dialogs.Last().prompt, Report({4, 0, 0, 2, 0, 0, 1}));
    EXPECT_EQ(dialogs.Last().title, "On screen 3 there are:");
    layout.ShowStatistics(13);
    EXPECT_EQ(dialogs.Last().prompt, Report({0, 0, 0, 0, 0, 0, 0, 0, 1}));

    EXPECT_EQ(cLayoutProbe::Records(layout), before);
    EXPECT_FALSE(layout.IsDirty());
    EXPECT_EQ(layout.UndoText(), "");
}

TEST(Statistics, AllScreensEqualTheSumOfTheSingleScreens) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::mt19937 random(31);
    std::uniform_int_distribution<int> type(0, 12), screen(0, 15);
    std::vector<ControlRecord> records;
    for (int i = 0; i < 700; ++i)
        records.push_back(MakeControl(type(random), screen(random)));
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK, 17);
    std::map<std::string, int> sum;
    for (int s = 0; s < ScreenCount; ++s) {
        layout.ShowStatistics(s);
        for (const auto& [label, count] : ParseReport(dialogs.Last().prompt))
            sum[label] += count;
    }
    layout.ShowStatistics(-1);
    const std::map<std::string, int> all = ParseReport(dialogs.Last().prompt);
    EXPECT_EQ(all, sum);

    int total = 0;
    for (const auto& entry : all)
        total += entry.second;
    EXPECT_EQ(total, 700) << "every record counts once";
    EXPECT_EQ(all.size(), 12u) << "eleven kinds and the other controls";
}

TEST(Statistics, KindsOutsideTheKnownOnesAreCountedOnOneFurtherLine) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, {MakeControl(0, 2), MakeControl(12, 2), MakeControl(6, 2),
                                 MakeControl(-4, 2), MakeControl(1000, 5), MakeControl(11, 7)});

    dialogs.Answer(MsgAnswer::OK, 3);
    layout.ShowStatistics(2);
    EXPECT_EQ(dialogs.Last().prompt, Report({0, 0, 0, 0, 0, 1}) + "3  other controls\n");
    layout.ShowStatistics(7);
    EXPECT_EQ(dialogs.Last().prompt, Report({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}))
        << "no line while there are none";
    layout.ShowStatistics(-1);
    EXPECT_EQ(dialogs.Last().prompt,
              Report({0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}) + "4  other controls\n");
}

} // namespace
