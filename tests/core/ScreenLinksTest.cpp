// Screen links of both kinds, buttons and the invisible bitmap buttons of skinned layouts, follow
// the screens they show through moves, deletes and appends, and undo brings every record back.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

// A link as the user sees it: from which screen to which, by the screens' names.
struct Link {
    std::string from, to;
    int32_t type, x1;
    auto operator<=>(const Link&) const = default;
};

std::string NameOf(const cLayout& layout, int32_t screen) {
    if (screen < 0 || screen >= ScreenCount) return "#" + std::to_string(screen);
    return cLayoutProbe::Screen(layout, screen).Label;
}

std::vector<Link> Links(const cLayout& layout) {
    std::vector<Link> links;
    for (const ControlRecord& r : cLayoutProbe::Records(layout))
        if (r.IsScreenLink())
            links.push_back(
                {NameOf(layout, r.rScreen), NameOf(layout, r.rOEMCode), r.rType, r.rX1});
    std::sort(links.begin(), links.end());
    return links;
}

class ScreenLinksTest : public ::testing::Test {
protected:
    ScreenLinksTest() {
        principal.BindScreenList(list);
        cLayoutProbe::Adopt(principal, SkinnedLayout());
    }
    void UndoAndExpect(const std::vector<ControlRecord>& records) {
        dialogs.Answer(MsgAnswer::Yes);
        principal.Undo();
        EXPECT_EQ(cLayoutProbe::Records(principal), records);
    }

    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout principal{dialogs};
};

TEST_F(ScreenLinksTest, MovesAndDeletesKeepEveryLinkOnTheSameScreenContent) {
    struct Case {
        const char* what;
        std::function<void(cLayout&, ScriptedDialogs&)> run;
        const char* deleted; // the name of the screen that goes, if any
    };
    const Case cases[] = {
        {"promote 3", [](cLayout& l, ScriptedDialogs&) { l.PromoteScreens(3); }, nullptr},
        {"demote 2", [](cLayout& l, ScriptedDialogs&) { l.DemoteScreens(2); }, nullptr},
        {"promote 1 over the Persistent screen",
         [](cLayout& l, ScriptedDialogs& d) {
             d.Answer(MsgAnswer::OK);
             l.PromoteScreens(1);
         },
         nullptr},
        {"delete 5", [](cLayout& l, ScriptedDialogs&) { l.DeleteScreens(5); }, "Settings"},
        {"delete 4, shown only by buttons",
         [](cLayout& l, ScriptedDialogs&) { l.DeleteScreens(4); }, "Offsets"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cLayoutProbe::Adopt(principal, SkinnedLayout());
        const std::vector<ControlRecord> before = cLayoutProbe::Records(principal);
        std::vector<Link> expected = Links(principal);
        if (c.deleted)
            std::erase_if(expected,
                          [&c](const Link& l) { return l.from == c.deleted || l.to == c.deleted; });

        c.run(principal, dialogs);

        EXPECT_EQ(Links(principal), expected);
        // The script button's OEM code is no screen: it never moves with the screens.
        for (const ControlRecord& r : cLayoutProbe::Records(principal))
            if (r.rType == ControlKind::BitmapButton && r.rFunction == 1000) {
                EXPECT_EQ(r.rOEMCode, 3);
            }
        UndoAndExpect(before);
    }
}

TEST_F(ScreenLinksTest, AppendDropsTheTabBarOfTheCopiedScreenAndCountsIt) {
    cLayout additional{dialogs};
    FakeListView additionalList;
    additional.BindScreenList(additionalList);
    cLayoutProbe::Adopt(additional, SkinnedLayout());
    const std::vector<ControlRecord> before = cLayoutProbe::Records(principal);
    const std::vector<Link> links = Links(principal);

    dialogs.Answer(MsgAnswer::OK);
    principal.AppendScreenFrom(additional, 2);

    EXPECT_EQ(dialogs.Last().prompt, "4 controls have been copied into Principal Layout screen 10"
                                     "\n\n8 screen change buttons were deleted");
    EXPECT_EQ(NameOf(principal, 10), "MDI");
    EXPECT_EQ(Links(principal), links) << "no link came along from the other layout";
    const ControlRecord& script = cLayoutProbe::Records(principal).back();
    EXPECT_EQ(script.rFunction, 1000);
    EXPECT_EQ(script.rOEMCode, 3);
    UndoAndExpect(before);
}

TEST_F(ScreenLinksTest, AScreenWithTwoLabelsKeepsTheFirstThroughALoadAndAMove) {
    std::vector<ControlRecord> records = SkinnedLayout();
    records.push_back(MakeScreenLabel(2, "Persistent"));
    dialogs.Answer(MsgAnswer::OK); // the duplicate reported on loading
    cLayoutProbe::Adopt(principal, records);
    EXPECT_EQ(list.Rows[2][2], "MDI");
    principal.DemoteScreens(2);
    EXPECT_EQ(list.Rows[3][2], "MDI");
    EXPECT_EQ(list.Rows[2][2], "Toolpath");
}

} // namespace
