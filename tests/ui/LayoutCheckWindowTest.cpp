// The check window on a sample layout: its rows are the check's findings, activating one names
// its screen and record, and it follows the layout and the pictures folder when refreshed.

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "UiTestSupport.h"
#include "check/LayoutCheck.h"
#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/session/PreviewSettings.h"

namespace {

class LayoutCheckWindowTest : public ::testing::Test {
protected:
    LayoutCheckWindowTest() {
        SetPicturesFolderSetting("");
        Dialogs.Answer(MsgAnswer::OK); // mill.set has a duplicate screen label
        EXPECT_TRUE(Mill.LoadLayout(SamplePath("mill.set")));
    }
    ~LayoutCheckWindowTest() override { SetPicturesFolderSetting(""); }

    QTableWidget* Table(LayoutCheckWindow& window) {
        return Find<QTableWidget>(window, "tblFindings");
    }
    // The table's codes, row by row, against what the check itself finds.
    static std::vector<std::string> Codes(QTableWidget* table) {
        std::vector<std::string> codes;
        for (int row = 0; row < table->rowCount(); ++row)
            codes.push_back(table->item(row, LayoutCheckWindow::ColCode)->text().toStdString());
        return codes;
    }
    static std::vector<std::string> Codes(const std::vector<Finding>& findings) {
        std::vector<std::string> codes;
        for (const Finding& f : findings)
            codes.push_back(CodeName(f.Code));
        return codes;
    }
    static int RowOf(const LayoutCheckWindow& window, CheckCode code) {
        const auto& shown = window.Findings();
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i].Code == code) return static_cast<int>(i);
        ADD_FAILURE() << "no " << CodeName(code) << " finding";
        return -1;
    }

    ScriptedDialogs Dialogs;
    cLayout Mill{Dialogs};
};

TEST_F(LayoutCheckWindowTest, ShowsTheFindingsOfTheSampleAndTheirCount) {
    LayoutCheckWindow window(Mill);
    window.show();
    QTableWidget* table = Table(window);
    const std::vector<Finding> expected = CheckLayout(Mill);
    ASSERT_EQ(window.Findings(), expected);
    EXPECT_EQ(Codes(table), Codes(expected));
    EXPECT_EQ(window.Summary(), "0 errors, 2 warnings, 2 notes");
    EXPECT_EQ(window.windowTitle(), "Check Layout - mill.set");
    EXPECT_FALSE(window.isModal());

    const int duplicate = RowOf(window, CheckCode::DuplicateScreenLabel);
    ASSERT_GE(duplicate, 0);
    EXPECT_EQ(table->item(duplicate, LayoutCheckWindow::ColSeverity)->text(), "Warning");
    EXPECT_FALSE(table->item(duplicate, LayoutCheckWindow::ColSeverity)->icon().isNull());
    EXPECT_EQ(table->item(duplicate, LayoutCheckWindow::ColScreen)->text(), "6");
    EXPECT_EQ(table->item(duplicate, LayoutCheckWindow::ColRecord)->text(), "76");
    EXPECT_TRUE(table->item(duplicate, LayoutCheckWindow::ColMessage)
                    ->text()
                    .startsWith("Label \"Diagnostics 2\""));
    // A finding about the whole layout names no screen number and no record.
    const int pictures = RowOf(window, CheckCode::PicturesNotChecked);
    ASSERT_GE(pictures, 0);
    EXPECT_EQ(table->item(pictures, LayoutCheckWindow::ColScreen)->text(), "all");
    EXPECT_EQ(table->item(pictures, LayoutCheckWindow::ColRecord)->text(), "");
    EXPECT_EQ(table->horizontalHeader()->sectionResizeMode(LayoutCheckWindow::ColMessage),
              QHeaderView::Stretch);
}

TEST_F(LayoutCheckWindowTest, DoubleClickAndEnterNameTheFindingsScreenAndRecord) {
    LayoutCheckWindow window(Mill);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableWidget* table = Table(window);
    QSignalSpy activated(&window, &LayoutCheckWindow::FindingActivated);

    const int duplicate = RowOf(window, CheckCode::DuplicateScreenLabel);
    ASSERT_GE(duplicate, 0);
    const QRect cell = table->visualItemRect(table->item(duplicate, LayoutCheckWindow::ColMessage));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(activated.count(), 0) << "a single click only selects";
    EXPECT_EQ(window.SelectedRow(), duplicate);
    // The table cuts long sentences short; below it the selected one is whole.
    EXPECT_EQ(Find<QLabel>(window, "labDetail")->text(),
              FromCodePage(window.Findings()[static_cast<std::size_t>(duplicate)].Message));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.takeFirst(), (QList<QVariant>{6, 76}));

    // Enter on a finding with no record: it goes to the table, not to a button of the window.
    const int offLayout = RowOf(window, CheckCode::OffLayoutScreen);
    ASSERT_GE(offLayout, 0);
    window.SelectRow(offLayout);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.takeFirst(), (QList<QVariant>{17, 0}));
    EXPECT_TRUE(window.isVisible());

    QTest::mouseClick(Find<QPushButton>(window, "butClose"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(LayoutCheckWindowTest, RefreshFollowsThePicturesFolderAndTheLayoutKeepingTheSelection) {
    LayoutCheckWindow window(Mill);
    window.show();
    window.SelectRow(RowOf(window, CheckCode::DuplicateScreenLabel));

    // With a pictures folder, pictures are looked up: mdi.bmp is missing from the samples.
    SetPicturesFolderSetting(SamplePath(""));
    window.Refresh();
    std::vector<Finding> expected =
        CheckLayout(Mill, {std::nullopt, [](const std::string& path) {
                               return path != "c:\\korvo\\bitmaps\\mdi.bmp";
                           }});
    EXPECT_EQ(Codes(Table(window)), Codes(expected));
    EXPECT_EQ(window.Summary(), "0 errors, 3 warnings, 1 note");
    ASSERT_GE(window.SelectedRow(), 0);
    EXPECT_EQ(window.Findings()[static_cast<std::size_t>(window.SelectedRow())].Code,
              CheckCode::DuplicateScreenLabel);

    // Deleting screen 8 takes away the Jog button that showed it with the wrong key, and moves
    // the duplicate label up: the same finding at another record stays selected.
    Mill.DeleteScreens(8);
    window.Refresh();
    expected = CheckLayout(Mill, {std::nullopt, [](const std::string& path) {
                                      return path != "c:\\korvo\\bitmaps\\mdi.bmp";
                                  }});
    EXPECT_EQ(Codes(Table(window)), Codes(expected));
    for (const Finding& f : window.Findings())
        EXPECT_NE(f.Code, CheckCode::FunctionKeyMismatch);
    ASSERT_GE(window.SelectedRow(), 0);
    const Finding& kept = window.Findings()[static_cast<std::size_t>(window.SelectedRow())];
    EXPECT_EQ(kept.Code, CheckCode::DuplicateScreenLabel);
    EXPECT_LT(kept.Record, 76);
    EXPECT_EQ(Find<QLabel>(window, "labDetail")->text(), FromCodePage(kept.Message));
}

TEST_F(LayoutCheckWindowTest, SaysSoWhenNothingIsFound) {
    cLayout clean{Dialogs};
    {
        LayoutCheckWindow window(clean);
        EXPECT_EQ(window.Summary(), "No layout is open");
        EXPECT_EQ(window.windowTitle(), "Check Layout");
    }
    cLayoutProbe::Adopt(clean,
                        {MakeScreenLabel(0, "Persistent"), MakeScreenButton(0, 1, "Main", 112),
                         MakeScreenLabel(1, "Main"), MakeDRO(1, 1, 100, 100)});
    LayoutCheckWindow window(clean);
    ASSERT_TRUE(window.Findings().empty()) << FindingLine(window.Findings().front());
    EXPECT_EQ(Table(window)->rowCount(), 0);
    EXPECT_EQ(window.Summary(), "No problems found");
    EXPECT_EQ(window.SelectedRow(), -1);
}

} // namespace
