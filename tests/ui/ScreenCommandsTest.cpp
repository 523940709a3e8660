// The screen commands clicked on the real buttons of the main window, with the lists afterwards.

#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>

#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

QStringList Counts(QTreeWidget* list) {
    QStringList counts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        counts << list->topLevelItem(row)->text(1);
    return counts;
}

QStringList CountsOf(std::initializer_list<const char*> first) {
    QStringList counts;
    for (const char* count : first)
        counts << count;
    while (counts.size() < 16)
        counts << "0";
    return counts;
}

int SelectedRow(QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.first());
}

TEST_F(MainWindowTest, DeletePromoteDemoteAndUndoThroughTheButtons) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({1, 2, 3, 4, 5})));
    QTreeWidget* list = Parts().Principal().Screens;

    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().DeleteScreen());
    EXPECT_EQ(Dialogs.Last().prompt, "Nothing selected to Delete");

    SelectRow("PrincLayList", 3);
    Click(Parts().DeleteScreen());
    EXPECT_EQ(Counts(list), CountsOf({"1", "2", "3", "5"}));
    EXPECT_EQ(SelectedRow(list), 0);
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());

    SelectRow("PrincLayList", 2);
    Click(Parts().PromoteScreen());
    EXPECT_EQ(Counts(list), CountsOf({"1", "3", "2", "5"}));
    EXPECT_EQ(SelectedRow(list), 1);
    Click(Parts().DemoteScreen());
    Click(Parts().DemoteScreen());
    EXPECT_EQ(Counts(list), CountsOf({"1", "2", "5", "3"}));
    EXPECT_EQ(SelectedRow(list), 3);

    Dialogs.Answer(MsgAnswer::Yes);
    Parts().UndoItem()->trigger();
    EXPECT_EQ(Dialogs.Last().prompt, "Is it OK to undo Demote screen(s) Down List done 2 times?");
    EXPECT_EQ(Counts(list), CountsOf({"1", "3", "2", "5"}));
}

TEST_F(MainWindowTest, AppendByButtonAndByDoubleClick) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({2, 2})));
    std::vector<ControlRecord> source = ControlsOnScreens({1, 3});
    source.push_back(MakeScreenButton(1, 0, "Home"));
    OpenAdditional(LayoutFile("a.set", source));

    SelectRow("AddLayList", 1);
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().AppendToPrincipal());
    EXPECT_EQ(Dialogs.Last().prompt, "3 controls have been copied into Principal Layout screen "
                                     "2\n\n1 screen change buttons were deleted");
    EXPECT_EQ(Dialogs.Last().title, "Success!");
    QTreeWidget* list = Parts().Principal().Screens;
    EXPECT_EQ(Counts(list), CountsOf({"2", "2", "3"}));
    EXPECT_EQ(SelectedRow(list), 2);

    QTreeWidget* additional = Parts().Additional().Screens;
    SelectRow("AddLayList", 0);
    Dialogs.Answer(MsgAnswer::OK);
    QTest::mouseDClick(additional->viewport(), Qt::LeftButton, {},
                       additional->visualItemRect(additional->topLevelItem(0)).center());
    EXPECT_EQ(Dialogs.Last().prompt, "1 controls have been copied into Principal Layout screen 3");
    EXPECT_EQ(Counts(list), CountsOf({"2", "2", "3", "1"}));
    EXPECT_EQ(Counts(additional), CountsOf({"1", "4"})) << "the source never changes";

    // A double-click on the list's heading is no append.
    const std::size_t boxes = Dialogs.Shown().size();
    QTest::mouseDClick(additional->header()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Dialogs.Shown().size(), boxes);
    EXPECT_EQ(Counts(list), CountsOf({"2", "2", "3", "1"}));
}

TEST_F(MainWindowTest, UpdateButtonsAsksForEachFunctionKeyCaption) {
    std::vector<ControlRecord> records = ControlsOnScreens({1, 1, 1, 1});
    records.push_back(MakeScreenButton(0, 3, "Tools", 117));
    OpenPrincipal(LayoutFile("p.set", records));
    Dialogs.Type("Tool page");
    Click(Parts().UpdateCaptions());
    EXPECT_EQ(Dialogs.Last().prompt,
              "New caption for button: Tools\nOld Funtion key: 6\n\nScreen 3 "
              "will be selected by F3\n\nSet caption to:");
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(3)->text(3), "Tool page");
}

TEST_F(MainWindowTest, UpdateButtonsCancelledAfterARenameIsAskedAboutOnClosing) {
    std::vector<ControlRecord> records = ControlsOnScreens({1, 1, 1, 1});
    records.push_back(MakeScreenButton(0, 2, "Jog", 120));
    records.push_back(MakeScreenButton(0, 3, "Tools", 117));
    OpenPrincipal(LayoutFile("p.set", records));

    Dialogs.Type("");
    Click(Parts().UpdateCaptions());
    EXPECT_TRUE(Window->close()) << "a cancel at the first button changed nothing";
    Window->show();

    Dialogs.Type("Jog page").Type("");
    Click(Parts().UpdateCaptions());
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(2)->text(3), "Jog page");
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(3)->text(3), "Tools");
    Dialogs.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Dialogs.Last().title, "Exiting KorvoScreenQuill");
    EXPECT_TRUE(Window->isVisible());
}

TEST_F(MainWindowTest, ExportThenImportThenAppendAScreenOfTheImport) {
    std::vector<ControlRecord> records = ControlsOnScreens({2, 3});
    records.push_back(MakeScreenLabel(1, "Jog"));
    OpenPrincipal(LayoutFile("p.set", records));
    const std::string csv = Dir.File("out.csv");
    Files.Choose(csv);
    Click(Parts().Export());
    Files.Choose(csv);
    Dialogs.Answer(MsgAnswer::OK); // the caution box
    Click(Parts().Import());
    EXPECT_TRUE(Parts().AppendToPrincipal()->isEnabled());
    EXPECT_EQ(Text("txtAddFile")->text(), QString::fromStdString(csv));
    EXPECT_EQ(Counts(Parts().Additional().Screens), CountsOf({"2", "4"}));
    EXPECT_EQ(Parts().Additional().Screens->topLevelItem(1)->text(2), "Jog");

    SelectRow("AddLayList", 1);
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().AppendToPrincipal());
    EXPECT_EQ(Dialogs.Last().prompt, "4 controls have been copied into Principal Layout screen 2");
    EXPECT_EQ(Counts(Parts().Principal().Screens), CountsOf({"2", "4", "4"}));
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(2)->text(2), "Jog");
}

// The faults of the single-level undo, each where it happened.
TEST_F(MainWindowTest, UndoAfterSaveMarksTheLayoutChangedAndClosingAsks) {
    const std::string path = LayoutFile("saved.set", ControlsOnScreens({1, 2, 3}));
    OpenPrincipal(path);
    SelectRow("PrincLayList", 2);
    Click(Parts().DeleteScreen());
    Parts().SaveItem()->trigger();
    EXPECT_FALSE(Window->isWindowModified());

    Dialogs.Answer(MsgAnswer::Yes);
    Parts().UndoItem()->trigger();
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 6);
    EXPECT_TRUE(Window->isWindowModified()) << "the file still holds the delete";
    EXPECT_TRUE(Window->windowTitle().startsWith("saved.set[*]"));

    // Closing asks, and Cancel keeps the undone screen in the window.
    Dialogs.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Dialogs.Last().prompt, "Do you want to Save As the current Principal layout?");
}

TEST_F(MainWindowTest, CommandsThatChangeNothingKeepTheUndoOfTheLastChange) {
    std::vector<ControlRecord> records = ControlsOnScreens({1, 2, 3});
    records.push_back(MakeDRO(1, 4, 10, 10));
    records.push_back(MakeDRO(1, 4, 10, 50));
    OpenPrincipal(LayoutFile("nothing.set", records));
    SelectRow("PrincLayList", 2);
    Click(Parts().DeleteScreen());
    Parts().SaveItem()->trigger();
    ASSERT_EQ(Parts().UndoItem()->text(), "&Undo Delete screen(s)");

    // No function-key button: a message, and the delete can still be undone.
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().UpdateCaptions());
    EXPECT_EQ(Dialogs.Last().prompt, "No Function Key buttons in layout so nothing updated");
    EXPECT_EQ(Parts().UndoItem()->text(), "&Undo Delete screen(s)");
    EXPECT_FALSE(Window->isWindowModified());

    // A group already in order: the report, and still nothing to save.
    SelectRow("PrincLayList", 1);
    OnModals({[](QWidget* modal) {
        Find<QLineEdit>(*modal, "txtDROGroup")->setText("4");
        QTest::mouseClick(Find<QPushButton>(*modal, "butReOrderDRO"), Qt::LeftButton);
        modal->close();
    }});
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().EditSelectedScreen());
    EXPECT_EQ(Dialogs.Last().title, "Sort completed");
    EXPECT_EQ(Parts().UndoItem()->text(), "&Undo Delete screen(s)");
    EXPECT_FALSE(Window->isWindowModified());
}

TEST_F(MainWindowTest, AChangeMadeInTheEditControlsWindowShowsEverywhere) {
    OpenPrincipal(LayoutFile("shown.set", ControlsOnScreens({1, 2})));
    SelectRow("PrincLayList", 1);
    auto* preview = Window->findChild<ScreenPreview*>("PrincPreview");
    ASSERT_NE(preview->Scene().ItemOfRecord(2), nullptr);
    const SceneRect before = preview->Scene().ItemOfRecord(2)->Rect;
    // Rescaled in the Edit Controls window, the controls are seen by the preview, the title and
    // the Undo item at once.
    OnModals({[](QWidget* modal) {
        Find<QRadioButton>(*modal, "Option1(0)")->setChecked(true);
        Find<QRadioButton>(*modal, "Option2(14)")->setChecked(true);
        QTest::mouseClick(Find<QPushButton>(*modal, "butScale"), Qt::LeftButton);
        modal->close();
    }});
    Dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK); // magnify by 6; the success
    Click(Parts().EditSelectedScreen());
    EXPECT_TRUE(Window->isWindowModified());
    EXPECT_EQ(Parts().UndoItem()->text(), "&Undo Re-Scale of screen(s)");
    EXPECT_GT(preview->Scene().ItemOfRecord(2)->Rect.X2, before.X2 * 4);
}

} // namespace
