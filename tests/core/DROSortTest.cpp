// Re-ordering the DROs of one group on one screen by columns or rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <random>
#include <tuple>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/StepTexts.h"
#include "layout/cLayout.h"
#include "tools/DROSort.h"

namespace {

// A DRO told apart from the others by its caption.
ControlRecord Dro(const std::string& name, int32_t screen, int32_t group, int32_t x1, int32_t y1) {
    // Right and bottom edges play no part; keeping them on the left and top edges lets a DRO
    // stand at the very ends of the coordinate range.
    ControlRecord r = MakeControl(ControlKind::DRO, screen, x1, y1, x1, y1);
    r.rTabGroup = group;
    r.rText = name;
    return r;
}

std::vector<std::string> Captions(const cLayout& layout) {
    std::vector<std::string> captions;
    for (const ControlRecord& r : cLayoutProbe::Records(layout))
        captions.push_back(r.rText);
    return captions;
}

std::string SortReport(int group, int screen, int count) {
    return "Number of DROs in Group " + std::to_string(group) + " on Screen " +
           std::to_string(screen) + "\nthat have been sorted = " + std::to_string(count);
}

TEST(DROSort, WorkedExampleByColumns) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    // Fillers that each miss one of the three tests sit far left and top, so they would move to
    // the front if they were gathered.
    std::vector<ControlRecord> records;
    for (int i = 1; i <= 32; ++i) {
        ControlRecord filler;
        switch (i % 4) {
        case 0:
            filler = Dro("", 3, 1, 0, 0);
            break;
        case 1:
            filler = Dro("", 2, 7, 0, 0);
            break;
        case 2:
            filler = MakeControl(ControlKind::Button, 2, 0, 0);
            filler.rTabGroup = 1;
            break;
        default:
            filler = MakeFullRecord(i);
            break;
        }
        filler.rText = "filler " + std::to_string(i);
        records.push_back(filler);
    }
    records[9] = Dro("A", 2, 1, 100, 50);
    records[10] = Dro("B", 2, 1, 102, 10);
    records[19] = Dro("C", 2, 1, 10, 90);
    records[29] = Dro("D", 2, 1, 10, 20);
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK);
    layout.SortDROs(2, 1, true);

    auto expected = records;
    expected[9] = records[29];
    expected[10] = records[19];
    expected[19] = records[10];
    expected[29] = records[9];
    EXPECT_EQ(cLayoutProbe::Records(layout), expected);

    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().prompt, SortReport(1, 2, 4));
    EXPECT_EQ(dialogs.Last().title, "Sort completed");
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::None);
    EXPECT_TRUE(layout.IsDirty());
    EXPECT_EQ(layout.UndoText(), StepText::SortDROs);
    dialogs.Answer(MsgAnswer::Yes);
    layout.Undo();
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
}

struct OrderCase {
    const char* why;
    bool columns;
    std::vector<std::pair<int32_t, int32_t>> positions; // (rX1, rY1) in record order
    std::vector<std::string> order;                     // captions after the sort
};

void PrintTo(const OrderCase& c, std::ostream* out) {
    *out << c.why;
}

class DROSortOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(DROSortOrder, PutsTheGroupInTheExpectedOrder) {
    const OrderCase& c = GetParam();
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::vector<ControlRecord> records;
    for (std::size_t i = 0; i < c.positions.size(); ++i)
        records.push_back(Dro(std::string(1, static_cast<char>('A' + i)), 4, 3,
                              c.positions[i].first, c.positions[i].second));
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK);
    layout.SortDROs(4, 3, c.columns);
    EXPECT_EQ(Captions(layout), c.order);
}

const OrderCase OrderCases[] = {
    {"identical positions keep their record order",
     true,
     {{5, 5}, {5, 5}, {5, 5}},
     {"A", "B", "C"}},
    {"ties on the primary keep their order by rows too",
     false,
     {{9, 7}, {3, 7}, {3, 7}},
     {"B", "C", "A"}},
    {"left edges 3 apart make one column", true, {{10, 50}, {13, 20}}, {"B", "A"}},
    {"left edges 4 apart make two columns", true, {{14, 20}, {10, 50}}, {"B", "A"}},
    {"top edges 3 apart make one row", false, {{50, 12}, {20, 9}}, {"B", "A"}},
    {"top edges 4 apart make two rows", false, {{20, 12}, {50, 8}}, {"B", "A"}},
    // 16 is 6 from the 10 it ends up on, but only 3 from its neighbour before that snapped.
    {"a run of close edges lines up on the first",
     true,
     {{16, 2}, {13, 3}, {10, 1}},
     {"C", "A", "B"}},
    {"rows top to bottom, each left to right",
     false,
     {{200, 40}, {10, 41}, {100, 10}, {10, 10}},
     {"D", "C", "B", "A"}},
    {"a secondary of 2000 or more reaches into the next column",
     true,
     {{0, 25000}, {10, 100}},
     {"B", "A"}},
    {"a negative secondary reaches into the column before",
     true,
     {{0, 100}, {10, -25000}},
     {"B", "A"}},
    {"edges beyond sixteen bits sort by their full value",
     true,
     {{2000000000, 0}, {-2000000000, 0}, {70000, 0}, {5, 0}},
     {"B", "D", "C", "A"}},
    {"the widest edges are neither snapped nor overflowed",
     true,
     {{INT32_MAX, 0}, {INT32_MIN, 5}},
     {"B", "A"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DROSortOrder, testing::ValuesIn(OrderCases));

TEST(DROSort, AlreadySortedGroupReportsButRecordsNothing) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{Dro("A", 1, 0, 10, 10), Dro("B", 1, 0, 10, 40),
                                             MakeControl(ControlKind::LED, 1),
                                             Dro("C", 1, 0, 90, 10)};
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK);
    layout.SortDROs(1, 0, true);
    EXPECT_EQ(cLayoutProbe::Records(layout), records);
    EXPECT_FALSE(layout.IsDirty()) << "nothing moved, nothing to save";
    EXPECT_EQ(layout.UndoText(), "") << "nor anything to undo";
    EXPECT_EQ(dialogs.Last().prompt, SortReport(0, 1, 3));
}

TEST(DROSort, NoMatchingDROStillReports) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{Dro("A", 1, 5, 90, 10), Dro("B", 1, 5, 10, 10)};
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK);
    layout.SortDROs(1, 6, false);
    EXPECT_EQ(dialogs.Last().prompt, SortReport(6, 1, 0));
    layout.SortDROs(1, 5, false);
    EXPECT_EQ(dialogs.Last().prompt, SortReport(5, 1, 2));
    EXPECT_EQ(Captions(layout), (std::vector<std::string>{"B", "A"}));
    EXPECT_TRUE(layout.IsDirty());
    EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), 1) << "the sort of no DRO is no step";
}

TEST(DROSort, MoreThanOneHundredDROsAreAllSorted) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::vector<ControlRecord> records;
    for (int column = 0; column < 15; ++column)
        for (int row = 0; row < 17; ++row) {
            records.push_back(Dro(std::to_string(column) + "/" + std::to_string(row), 6, 2,
                                  20 + 60 * column, 15 + 25 * row));
            records.push_back(MakeControl(ControlKind::Label, 6));
        }
    std::mt19937 random(7);
    std::shuffle(records.begin(), records.end(), random);
    cLayoutProbe::Adopt(layout, records);

    dialogs.Answer(MsgAnswer::OK);
    layout.SortDROs(6, 2, true);
    EXPECT_EQ(dialogs.Last().prompt, SortReport(2, 6, 255));

    std::vector<ControlRecord> gathered;
    for (const ControlRecord& r : records)
        if (r.rType == ControlKind::DRO) gathered.push_back(r);
    std::stable_sort(gathered.begin(), gathered.end(), [](const auto& a, const auto& b) {
        return std::tie(a.rX1, a.rY1) < std::tie(b.rX1, b.rY1);
    });
    auto expected = records;
    auto next = gathered.begin();
    for (ControlRecord& r : expected)
        if (r.rType == ControlKind::DRO) r = *next++;
    EXPECT_EQ(cLayoutProbe::Records(layout), expected);
}

// The ordering written out as the passes it is defined by: repeated passes of adjacent swaps on
// strictly less, with the widths of a 16-bit coordinate and a 32-bit key.
struct LiteralKey {
    int16_t Primary, Secondary, CopyNo;
    int32_t SortKey;
};

template <typename Less> void BubblePasses(std::vector<LiteralKey>& keys, Less less) {
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t j = 1; j < keys.size(); ++j)
            if (less(keys[j], keys[j - 1])) {
                std::swap(keys[j], keys[j - 1]);
                swapped = true;
            }
    }
}

void LiteralSort(std::vector<LiteralKey>& keys) {
    BubblePasses(keys,
                 [](const LiteralKey& a, const LiteralKey& b) { return a.Primary < b.Primary; });
    for (LiteralKey& k : keys)
        k.SortKey = k.Primary;
    for (std::size_t j = 1; j < keys.size(); ++j)
        if (std::abs(keys[j].Primary - keys[j - 1].SortKey) < 4)
            keys[j].Primary = keys[j - 1].Primary;
    for (LiteralKey& k : keys)
        k.SortKey = k.Primary * 2000 + k.Secondary;
    BubblePasses(keys,
                 [](const LiteralKey& a, const LiteralKey& b) { return a.SortKey < b.SortKey; });
}

TEST(DROSort, KeySortMatchesTheLiteralPassesOnRandomInput) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    std::mt19937 random(20240611);
    const std::pair<int, int> spreads[] = {
        {0, 12}, {0, 40}, {0, 1279}, {-50, 3000}, {-32768, 32767}};
    for (int round = 0; round < 400; ++round) {
        const auto [low, high] = spreads[round % std::size(spreads)];
        std::uniform_int_distribution<int> coordinate(low, high);
        const int n = std::uniform_int_distribution<int>(0, 140)(random);

        std::vector<DROKey> keys;
        std::vector<LiteralKey> literal;
        for (int k = 1; k <= n; ++k) {
            const int primary = coordinate(random), secondary = coordinate(random);
            keys.push_back({primary, secondary, k, 0});
            literal.push_back({static_cast<int16_t>(primary), static_cast<int16_t>(secondary),
                               static_cast<int16_t>(k), 0});
        }
        // Entries past n are not the sort's business.
        const DROKey beyond{-1, -2, 999, 12345};
        keys.push_back(beyond);

        SortDROKeys(keys, n);
        LiteralSort(literal);

        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(n) + " keys");
        ASSERT_EQ(keys.size(), literal.size() + 1);
        for (std::size_t j = 0; j < literal.size(); ++j) {
            ASSERT_EQ(keys[j].CopyNo, literal[j].CopyNo) << "entry " << j;
            ASSERT_EQ(keys[j].Primary, literal[j].Primary) << "entry " << j;
            ASSERT_EQ(keys[j].Secondary, literal[j].Secondary) << "entry " << j;
            ASSERT_EQ(keys[j].SortKey, literal[j].SortKey) << "entry " << j;
        }
        EXPECT_EQ(keys.back().CopyNo, beyond.CopyNo);
        EXPECT_EQ(keys.back().SortKey, beyond.SortKey);
    }
}

} // namespace
