// A document's screen list shown in the Qt report view.

#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"
#include "ui/mainwindow/ScreenListTree.h"

namespace {

TEST(ScreenListTree, BoundDocumentShowsItsColumnsInPixels) {
    QTreeWidget tree;
    tree.resize(569, 177); // 8535 x 2655 twips
    ScreenListTree list(tree);
    EXPECT_EQ(list.WidthTwips(), 8535);
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    layout.BindScreenList(list);

    ASSERT_EQ(tree.columnCount(), 5);
    const QStringList headings = {"S#", "Ctrls.", "Screen label ", "Shown by", " also Shown by"};
    const int widths[] = {27, 47, 156, 156, 156}; // 400, 700 and three times 2345 twips
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(tree.headerItem()->text(c), headings[c]);
        EXPECT_EQ(tree.columnWidth(c), widths[c]) << "column " << c;
    }
    EXPECT_EQ(tree.topLevelItemCount(), 0) << "binding adds headings only";
    EXPECT_EQ(tree.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(tree.rootIsDecorated());
}

TEST(ScreenListTree, RowsSelectionAndTheirTexts) {
    QTreeWidget tree;
    tree.resize(569, 177);
    ScreenListTree list(tree);
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    layout.BindScreenList(list);
    std::vector<ControlRecord> records = ControlsOnScreens({2, 3});
    records.push_back(MakeScreenLabel(1, "Caf\xE9 \xA7 1"));
    records.push_back(MakeScreenButton(0, 1, "To caf\xE9"));
    cLayoutProbe::Adopt(layout, records);

    ASSERT_EQ(tree.topLevelItemCount(), 16);
    EXPECT_EQ(tree.topLevelItem(15)->text(0), "15");
    const QTreeWidgetItem* screen1 = tree.topLevelItem(1);
    EXPECT_EQ(screen1->text(1), "4");
    EXPECT_EQ(screen1->text(2), QString::fromUtf8("Caf\u00E9 \u00A7 1"));
    EXPECT_EQ(screen1->text(3), QString::fromUtf8("To caf\u00E9"));

    EXPECT_EQ(list.SelectedText(), "") << "nothing selected yet";
    list.SelectRow(2);
    EXPECT_EQ(list.SelectedText(), "1");
    EXPECT_EQ(tree.currentItem(), screen1);
    list.SelectRow(16);
    EXPECT_EQ(list.SelectedText(), "15");
    EXPECT_EQ(tree.selectedItems().size(), 1);
    list.SelectRow(17);
    EXPECT_EQ(list.SelectedText(), "15") << "a position beyond the rows selects nothing new";

    list.Clear();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(list.SelectedText(), "");
    EXPECT_EQ(tree.columnCount(), 5);
}

} // namespace
