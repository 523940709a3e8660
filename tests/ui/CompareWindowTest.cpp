// The compare window: its list is the diff grouped by screen, choosing a difference shows the
// control in both versions' previews, it follows the Principal layout as it changes, and
// File > Compare with... opens it on the file the layout came from.

#include <QTest>
#include <QTreeWidget>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "layout/cLayout.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

class CompareWindowTest : public ::testing::Test {
protected:
    CompareWindowTest() {
        File = Dir.Write("skin.set", LayoutFileBytes(SkinnedLayout()));
        EXPECT_TRUE(Principal.LoadLayout(File));
    }

    std::vector<ControlRecord>& Records() { return cLayoutProbe::MutableRecords(Principal); }
    int IndexOf(const CompareWindow& window, ChangeKind kind) {
        const auto& changes = window.Differences().Changes;
        for (std::size_t k = 0; k < changes.size(); ++k)
            if (changes[k].Kind == kind) return static_cast<int>(k);
        ADD_FAILURE() << "no " << ChangeKindName(kind);
        return -1;
    }

    TempDir Dir;
    std::string File;
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    cLayout Principal{Dialogs};
};

TEST_F(CompareWindowTest, ListsTheDifferencesByScreenAndShowsTheControlInBothVersions) {
    // Changed on screen 1, removed from screen 2, added on screen 3.
    Records()[6].rText = "Changed";
    const ControlRecord removed = Records()[20];
    ASSERT_EQ(removed.rScreen, 2);
    Records().erase(Records().begin() + 20);
    Records().push_back(MakeControl(ControlKind::LED, 3));
    CompareWindow window(Principal, Files, Dialogs);
    ASSERT_TRUE(window.Compare(File));
    window.show();

    const LayoutDiff expected =
        DiffLayouts({SkinnedLayout(), {}}, {cLayoutProbe::Records(Principal), {}});
    EXPECT_EQ(window.Differences().Changes, expected.Changes);
    EXPECT_EQ(window.Summary(), "1 added, 1 removed, 1 changed");
    QTreeWidget* list = window.List();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Screen 1 \"Program Run\"");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "Screen 2 \"MDI\"");
    const QTreeWidgetItem* changed = list->topLevelItem(0)->child(0);
    EXPECT_EQ(changed->text(CompareWindow::ColChange), "changed");
    EXPECT_EQ(changed->text(CompareWindow::ColRecord), "7 -> 7");
    EXPECT_EQ(changed->text(CompareWindow::ColControl), "Bitmap button \"Changed\"");
    EXPECT_EQ(changed->text(CompareWindow::ColDetails), "rText \"None\" -> \"Changed\"");

    // A click on a difference shows its screen in both previews, its control marked in each
    // version that has it.
    QTreeWidgetItem* gone = list->topLevelItem(1)->child(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(gone).center());
    EXPECT_EQ(window.SelectedChange(), IndexOf(window, ChangeKind::Removed));
    EXPECT_EQ(window.FilePreview()->Screen(), 2);
    EXPECT_EQ(window.FilePreview()->HighlightedRecord(), 21);
    EXPECT_EQ(window.PrincipalPreview()->Screen(), 2);
    EXPECT_EQ(window.PrincipalPreview()->HighlightedRecord(), 0);

    window.SelectChange(IndexOf(window, ChangeKind::Added));
    EXPECT_EQ(window.FilePreview()->HighlightedRecord(), 0);
    EXPECT_EQ(window.PrincipalPreview()->Screen(), 3);
    EXPECT_EQ(window.PrincipalPreview()->HighlightedRecord(), Principal.ControlCount());
}

TEST_F(CompareWindowTest, FollowsThePrincipalLayoutAcrossAScreenMove) {
    CompareWindow window(Principal, Files, Dialogs);
    ASSERT_TRUE(window.Compare(File));
    EXPECT_EQ(window.Summary(), "No differences");
    EXPECT_EQ(window.List()->topLevelItemCount(), 0);

    Records()[6].rText = "Changed";
    window.Refresh();
    const int changed = IndexOf(window, ChangeKind::Changed);
    window.SelectChange(changed);
    // Screen 1 moves down the list: the control is on screen 2 now, still selected and shown
    // on its old screen in the file and its new one in the layout.
    Principal.DemoteScreens(1);
    window.Refresh();
    const LayoutDifference& now =
        window.Differences().Changes[static_cast<std::size_t>(window.SelectedChange())];
    EXPECT_EQ(now.Old, 7);
    EXPECT_EQ(now.Screen, 2);
    EXPECT_EQ(window.FilePreview()->Screen(), 1);
    EXPECT_EQ(window.PrincipalPreview()->Screen(), 2);
    EXPECT_EQ(window.PrincipalPreview()->HighlightedRecord(), 7);

    // A file that cannot be read leaves the window as it was, and Open says why.
    const std::vector<LayoutDifference> before = window.Differences().Changes;
    const std::string damaged = Dir.Write("damaged.set", "\x05");
    EXPECT_FALSE(window.Compare(damaged));
    EXPECT_EQ(window.Failure().rfind("Cannot read layout file", 0), 0u) << window.Failure();
    EXPECT_EQ(window.Differences().Changes, before);
    Dialogs.Answer(MsgAnswer::OK);
    EXPECT_EQ(CompareWindow::Open(Principal, damaged, Files, Dialogs, nullptr), nullptr);
    EXPECT_EQ(Dialogs.Last().prompt, window.Failure());
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
}

TEST_F(MainWindowTest, CompareWithProposesTheFileOnDiskAndFollowsEveryCommand) {
    const std::string path = LayoutFile("skin.set", SkinnedLayout());
    OpenPrincipal(path);
    Files.Choose(path);
    Menu("mnuCompare")->trigger();
    EXPECT_EQ(Files.Shown().back().setup.FileName, path);
    auto* window = Window->findChild<CompareWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Summary(), "No differences");

    SelectRow("PrincLayList", 3);
    Click("butDelete");
    EXPECT_NE(window->Summary(), "No differences");
    EXPECT_EQ(
        window->Differences().Changes,
        DiffLayouts({SkinnedLayout(), {}}, {cLayoutProbe::Records(Window->PrincipalLayout), {}})
            .Changes);
    window->close();
}

} // namespace
