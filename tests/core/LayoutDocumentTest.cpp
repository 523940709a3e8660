// The document's records: iteration, appending up to the limit, and the state of a new document.

#include <gtest/gtest.h>

#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

TEST(LayoutDocument, NewDocumentIsEmptyAndClean) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    EXPECT_EQ(layout.ControlCount(), 0);
    EXPECT_EQ(layout.EmptyScreenNr(), 0);
    EXPECT_FALSE(layout.IsDirty());
    EXPECT_EQ(layout.FileName(), "");
    EXPECT_EQ(layout.LastUserScreenNo(), 15);
    EXPECT_EQ(layout.UndoText(), "");
    EXPECT_EQ(cLayoutProbe::Trailer(layout), (std::array<int32_t, 10>{}));
    ControlRecord r;
    EXPECT_FALSE(layout.FirstControl(r));
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST(LayoutDocument, IterationCopiesEveryRecordInOrder) {
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    const std::vector<ControlRecord> records{MakeFullRecord(1), MakeFullRecord(2),
                                             MakeFullRecord(3)};
    cLayoutProbe::Adopt(layout, records);

    std::vector<ControlRecord> seen;
    ControlRecord r;
    for (bool found = layout.FirstControl(r); found; found = layout.NextControl(r)) {
        seen.push_back(r);
        r.rText = "changed through the copy";
    }
    EXPECT_EQ(seen, records);
    EXPECT_EQ(cLayoutProbe::Records(layout), records) << "iteration hands out copies";

    ControlRecord untouched = MakeFullRecord(9);
    EXPECT_FALSE(layout.NextControl(untouched));
    EXPECT_FALSE(layout.NextControl(untouched));
    EXPECT_EQ(untouched, MakeFullRecord(9));
    ASSERT_TRUE(layout.FirstControl(r));
    EXPECT_EQ(r, records[0]);
}

TEST(LayoutDocument, AppendStopsAtTheMostRecordsALayoutHolds) {
    ScriptedDialogs dialogs;
    FakeListView list;
    cLayout layout(dialogs);
    layout.BindScreenList(list);
    cLayoutProbe::Adopt(layout, ControlsOnScreens({MaxControls - 1}));
    const int clearsBefore = list.Clears;

    layout.AppendControl(MakeControl(6, 3));
    EXPECT_EQ(layout.ControlCount(), MaxControls);
    EXPECT_EQ(cLayoutProbe::Records(layout).back(), MakeControl(6, 3));
    EXPECT_TRUE(layout.IsDirty()) << "the records are no longer those loaded";
    EXPECT_EQ(list.Clears, clearsBefore) << "the caller rebuilds the index and list";

    dialogs.Answer(MsgAnswer::OK);
    layout.AppendControl(MakeControl(6, 4));
    EXPECT_EQ(layout.ControlCount(), MaxControls);
    EXPECT_EQ(dialogs.Last().prompt, "Error in AppendControl - Layout already full");
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Last().title, "");
    EXPECT_EQ(cLayoutProbe::UndoRepeat(layout), 1) << "a refused control records nothing";
}

} // namespace
