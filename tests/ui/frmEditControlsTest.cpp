// The Edit Controls window: its controls, how each opening loads, the resolution detection, the
// Re-scale command and its warnings, and the checks made before the other commands run.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

#include "FakeListView.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "ui/ScreenPreview.h"
#include "ui/ScreenPreviewWindow.h"
#include "ui/ScreenThumbnailsWindow.h"
#include "ui/frmEditControls.h"

namespace {

struct FormControl {
    const char* name;
    const char* parent; // "" for the window itself
    const char* caption;
    int left, top, width, height;
    int tabIndex;
    const char* tag;
};

const FormControl FormControls[] = {
    {"butStats", "", "Statistics", 360, 240, 1335, 375, 15, ""},
    {"butThumb", "", "Thumbnail", 2280, 240, 1335, 375, 16, "A2"},
    {"butCancel", "", "Close", 7200, 240, 1335, 375, 14, ""},
    {"Frame1", "", "Original resolution", 360, 1080, 2535, 2295, 0, ""},
    {"Option1(0)", "Frame1", "640 x 480", 240, 240, 2055, 375, 1, ""},
    {"Option1(1)", "Frame1", "800 x 600", 240, 600, 2055, 375, 2, ""},
    {"Option1(2)", "Frame1", "1024 x 768", 240, 960, 2055, 375, 3, ""},
    {"Option1(3)", "Frame1", "1152 x 864", 240, 1320, 2055, 375, 4, ""},
    {"Option1(4)", "Frame1", "1280 x 1024", 240, 1680, 2055, 375, 10, ""},
    {"Frame2", "", "New resolution", 3000, 1080, 2415, 2295, 5, ""},
    {"Option2(0)", "Frame2", "640 x 480", 240, 360, 1815, 255, 6, ""},
    {"Option2(1)", "Frame2", "800 x 600", 240, 720, 1815, 255, 7, ""},
    {"Option2(2)", "Frame2", "1024 x 768", 240, 1080, 1815, 255, 8, ""},
    {"Option2(3)", "Frame2", "1152 x 864", 240, 1440, 1815, 255, 9, ""},
    {"Option2(4)", "Frame2", "1280 x 1024", 240, 1800, 1815, 255, 11, ""},
    {"Label2", "",
     "Re-scale controls to suit new screen resolution. Note: due to rounding of font sizes some "
     "hand tuning will be needed",
     5640, 1200, 2535, 1095, 12, ""},
    {"butScale", "", "Re-scale", 6240, 2400, 1335, 375, 13, ""},
    {"Label1", "", "DRO Group number:", 360, 3840, 2055, 495, 21, "A2"},
    {"txtDROGroup", "", "", 2520, 3720, 855, 375, 20, "A2"},
    {"Frame3", "", "DROs are in", 3720, 3840, 1695, 1335, 17, "A2"},
    {"Option3(0)", "Frame3", "Columns", 120, 360, 1455, 375, 18, "A2"},
    {"Option3(1)", "Frame3", "Rows", 120, 720, 1455, 375, 19, "A2"},
    {"Label3", "", "Re-order DROs by rows or columns so arrow keys move focus logically", 5760,
     3840, 2775, 735, 23, "A2"},
    {"butReOrderDRO", "", "Re-order DROs", 6240, 4680, 1335, 375, 22, "A2"},
};

QString CaptionOf(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    return {};
}

// A document with a list that has the given screen selected (-1: none), and the window over it.
class EditControlsTest : public ::testing::Test {
protected:
    EditControlsTest() { Layout.BindScreenList(List); }

    void Load(const std::vector<ControlRecord>& records) { cLayoutProbe::Adopt(Layout, records); }
    frmEditControls& Open(bool allScreens, int selectedScreen = -1) {
        List.Selected = selectedScreen + 1;
        Form = std::make_unique<frmEditControls>(Layout, Dialogs, allScreens, List);
        Form->show();
        return *Form;
    }
    template <typename Control> Control* Get(const char* name) {
        return Find<Control>(*Form, name);
    }
    QRadioButton* Option(const char* array, int index) {
        return Get<QRadioButton>((std::string(array) + "(" + std::to_string(index) + ")").c_str());
    }
    int Checked(const char* array) {
        for (int i = 0; i < 5; ++i)
            if (Option(array, i)->isChecked()) return i;
        return -1;
    }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }

    ScriptedDialogs Dialogs;
    FakeListView List;
    cLayout Layout{Dialogs};
    std::unique_ptr<frmEditControls> Form;
};

TEST_F(EditControlsTest, EveryControlWithItsCaptionPlaceTabOrderAndTag) {
    Load(ControlsOnScreens({1}));
    Open(false, 0);
    EXPECT_EQ(Form->size(), QSize(595, 417)) << "8925 x 6255 twips";
    std::vector<std::pair<int, QWidget*>> focusable;
    for (const FormControl& row : FormControls) {
        SCOPED_TRACE(row.name);
        QWidget* control = Get<QWidget>(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(),
                  *row.parent ? row.parent : "frmEditControls");
        EXPECT_EQ(CaptionOf(control), row.caption);
        EXPECT_EQ(control->geometry(),
                  QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
        EXPECT_EQ(control->property("Tag").toString(), row.tag);
        EXPECT_EQ(control->property("TabIndex").toInt(), row.tabIndex);
        if (control->focusPolicy() & Qt::TabFocus) focusable.emplace_back(row.tabIndex, control);
    }
    EXPECT_TRUE(Get<QLabel>("Label2")->font().bold());
    EXPECT_TRUE(Get<QLabel>("Label3")->font().bold());
    EXPECT_FALSE(Get<QLabel>("Label1")->font().bold());
    for (const char* line : {"Line1", "Line2", "Line3"}) {
        QFrame* frame = Get<QFrame>(line);
        EXPECT_EQ(frame->frameShape(), QFrame::HLine);
        EXPECT_EQ(frame->x(), 16);
        EXPECT_EQ(frame->width(), 568);
    }
    EXPECT_EQ(Get<QFrame>("Line1")->y(), 56);
    EXPECT_EQ(Get<QFrame>("Line2")->y(), 240);
    EXPECT_EQ(Get<QFrame>("Line3")->y(), 352);

    // Tab moves through the focusable controls in the order of their tab indexes.
    std::sort(focusable.begin(), focusable.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    ASSERT_GE(focusable.size(), 2u);
    QWidget* at = focusable.front().second;
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget* next = at->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || next->property("TabIndex").isNull())
            next = next->nextInFocusChain();
        EXPECT_EQ(next, focusable[i].second) << "after tab index " << focusable[i - 1].first;
        at = next;
    }
}

TEST_F(EditControlsTest, AllScreensDisablesTheSingleScreenTools) {
    Open(true);
    EXPECT_EQ(Form->windowTitle(), "Edit controls on all screens");
    EXPECT_EQ(Form->EditScreenNo(), -1);
    // Thumbnail stays: for all screens it shows the grid of them.
    for (const FormControl& row : FormControls)
        EXPECT_EQ(Get<QWidget>(row.name)->isEnabled(),
                  std::string(row.tag) != "A2" || std::string(row.name) == "butThumb")
            << row.name;
}

TEST_F(EditControlsTest, OneScreenEnablesEverythingAndNamesTheScreen) {
    Load(ControlsOnScreens({2, 2}));
    Open(false, 0);
    EXPECT_EQ(Form->windowTitle(), "Edit controls on screen 0");
    EXPECT_EQ(Form->EditScreenNo(), 0);
    for (const FormControl& row : FormControls)
        EXPECT_TRUE(Get<QWidget>(row.name)->isEnabled()) << row.name;

    Open(false, 13);
    EXPECT_EQ(Form->windowTitle(), "Edit controls on screen 13");
    EXPECT_EQ(Form->EditScreenNo(), 13);
}

TEST_F(EditControlsTest, EveryOpeningStartsAfresh) {
    Open(false, 1);
    EXPECT_TRUE(Option("Option3", 0)->isChecked());
    EXPECT_FALSE(Option("Option3", 1)->isChecked());
    EXPECT_EQ(Get<QLineEdit>("txtDROGroup")->text(), "");
    EXPECT_EQ(Checked("Option2"), -1) << "no new resolution is checked";
    EXPECT_EQ(Checked("Option1"), 0);
}

TEST_F(EditControlsTest, ReScaleWithoutANewResolutionWarnsAndStays) {
    Open(true);
    Dialogs.Answer(MsgAnswer::OK);
    Click("butScale");
    EXPECT_EQ(Dialogs.Last().prompt, "No new resolution has been selected");
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(Dialogs.Last().title, "");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Dialogs.Shown().size(), 1u);
}

TEST_F(EditControlsTest, ReScaleWithoutAnOldResolutionWarnsAndStays) {
    Open(true);
    QRadioButton* detected = Option("Option1", 0);
    detected->setAutoExclusive(false);
    detected->setChecked(false);
    detected->setAutoExclusive(true);
    QTest::mouseClick(Option("Option2", 2), Qt::LeftButton);
    EXPECT_EQ(Checked("Option2"), 2);
    Dialogs.Answer(MsgAnswer::OK);
    Click("butScale");
    EXPECT_EQ(Dialogs.Last().prompt, "No Old resolution has been selected");
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Layout.IsDirty());
}

TEST_F(EditControlsTest, MagnifyingAsksAndCancelChangesNothing) {
    const std::vector<ControlRecord> records = {MakeControl(ControlKind::LED, 0, 11, 13, 101, 99)};
    Load(records);
    Open(true);
    EXPECT_EQ(Checked("Option1"), 0);
    QTest::mouseClick(Option("Option2", 1), Qt::LeftButton);
    Dialogs.Answer(MsgAnswer::Cancel);
    Click("butScale");
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Last().prompt, "You have asked to magnify screen by 1.25 times. This may "
                                     "give poor results and need extra hand tuning");
    EXPECT_EQ(Dialogs.Last().title, "Attempt to magnify");
    EXPECT_EQ(Dialogs.Last().buttons, MsgButtons::OKCancel);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(cLayoutProbe::Records(Layout), records);
    EXPECT_FALSE(Layout.IsDirty());
    EXPECT_EQ(cLayoutProbe::UndoKind(Layout), UndoNone);
}

TEST_F(EditControlsTest, ThumbnailOpensTheScreenOrTheGridOfAll) {
    Load(ControlsOnScreens({1, 2, 3}));
    ScriptedFileDialogs files;
    Open(false, 2);
    Form->SetFileDialogs(files);
    int shown = -1;
    WhenModal(
        [&shown](QWidget* modal) {
            auto* large = qobject_cast<ScreenPreviewWindow*>(modal);
            ASSERT_NE(large, nullptr) << modal->objectName().toStdString();
            shown = large->Preview().Screen();
            large->close();
        },
        Form.get());
    Click("butThumb");
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(Form->isVisible());

    Open(true);
    Form->SetFileDialogs(files);
    std::vector<int> opened;
    WhenModal(
        [&opened](QWidget* modal) {
            auto* grid = qobject_cast<ScreenThumbnailsWindow*>(modal);
            ASSERT_NE(grid, nullptr) << modal->objectName().toStdString();
            EXPECT_EQ(grid->Thumbnail(1)->text(), "1  2 controls");
            EXPECT_EQ(grid->Thumbnail(7)->text(), "7  (empty)");
            WhenModal(
                [&opened](QWidget* large) {
                    opened.push_back(qobject_cast<ScreenPreviewWindow*>(large)->Preview().Screen());
                    large->close();
                },
                grid);
            QTest::mouseClick(grid->Thumbnail(2), Qt::LeftButton);
            grid->close();
        },
        Form.get());
    Click("butThumb");
    EXPECT_EQ(opened, std::vector<int>{2});
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Dialogs.Shown().empty());
}

TEST_F(EditControlsTest, DroGroupMustBeAThirtyTwoBitWholeNumber) {
    const std::vector<ControlRecord> records = {MakeDRO(2, 1, 100, 50), MakeDRO(2, 1, 10, 20)};
    Load(records);
    Open(false, 2);
    for (const char* text : {"", "   ", "abc", "1.5", "12a", "1 2", "2147483648", "-2147483649",
                             "99999999999999999999", "0x10"}) {
        Get<QLineEdit>("txtDROGroup")->setText(text);
        Dialogs.Answer(MsgAnswer::OK);
        Click("butReOrderDRO");
        EXPECT_EQ(Dialogs.Last().prompt,
                  "The DRO Group number must be a whole number from -2147483648 to 2147483647")
            << "text \"" << text << "\"";
        EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(cLayoutProbe::Records(Layout), records);
    EXPECT_EQ(cLayoutProbe::UndoKind(Layout), UndoNone);
    EXPECT_FALSE(Layout.IsDirty());
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(EditControlsTest, CloseUnloadsTheWindow) {
    Open(true);
    Click("butCancel");
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->result(), QDialog::Rejected);
    EXPECT_TRUE(Dialogs.Shown().empty());
}

// --- what needs the control tools' real extents, rescaling, sorting and statistics

struct DetectionCase {
    int32_t x2, y2;
    int expected;
    bool warns;
};

TEST_F(EditControlsTest, DetectsTheSmallestResolutionHoldingTheControls) {
    const DetectionCase cases[] = {
        {0, 0, 0, false},      {639, 479, 0, false},   {640, 479, 1, false},   {639, 480, 1, false},
        {1023, 767, 2, false}, {1151, 863, 3, false},  {1279, 1023, 4, false}, {1280, 5, 4, true},
        {5, 1024, 4, true},    {70000, 40000, 4, true}};
    for (const DetectionCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x2) + " x " + std::to_string(c.y2));
        Load({MakeControl(ControlKind::LED, 3, 0, 0, c.x2, c.y2)});
        if (c.warns) Dialogs.Answer(MsgAnswer::OK);
        Dialogs.ClearShown();
        Open(true);
        EXPECT_EQ(Checked("Option1"), c.expected);
        EXPECT_EQ(Checked("Option2"), -1);
        ASSERT_EQ(Dialogs.Shown().size(), c.warns ? 1u : 0u);
        if (c.warns) {
            EXPECT_EQ(Dialogs.Last().prompt,
                      "Controls reach to X = " + std::to_string(c.x2) +
                          " Y = " + std::to_string(c.y2) +
                          "\n is outside available screen resolutions. Max available assumed!");
            EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
            EXPECT_EQ(Dialogs.Last().title, "");
        }
    }
}

TEST_F(EditControlsTest, DetectionLooksOnlyAtTheEditedScreen) {
    Load({MakeControl(ControlKind::LED, 1, 0, 0, 700, 300),
          MakeControl(ControlKind::LED, 2, 0, 0, 1100, 800)});
    Open(false, 1);
    EXPECT_EQ(Checked("Option1"), 1);
    Open(false, 2);
    EXPECT_EQ(Checked("Option1"), 3);
    Open(false, 0);
    EXPECT_EQ(Checked("Option1"), 0) << "an empty screen";
    Open(true);
    EXPECT_EQ(Checked("Option1"), 3);
}

TEST_F(EditControlsTest, ReScaleThroughTheOptionButtons) {
    Load({MakeControl(ControlKind::LED, 0, 100, 5, 101, 1000),
          MakeControl(ControlKind::LED, 4, 5, 5, 1200, 5)});
    Open(true);
    ASSERT_EQ(Checked("Option1"), 4);
    QTest::mouseClick(Option("Option2", 2), Qt::LeftButton);
    Dialogs.Answer(MsgAnswer::OK);
    Click("butScale");
    ASSERT_EQ(Dialogs.Shown().size(), 1u) << "a reduction asks nothing";
    EXPECT_EQ(Dialogs.Last().prompt, "Screen(s) rescaled by 0.8");
    EXPECT_EQ(Dialogs.Last().title, "Success");
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::None);
    EXPECT_FALSE(Form->isVisible()) << "a completed rescale unloads the window";
    EXPECT_EQ(Form->result(), QDialog::Accepted);
    const auto& records = cLayoutProbe::Records(Layout);
    EXPECT_EQ(records[0].rX1, 80);
    EXPECT_EQ(records[0].rX2, 81);
    EXPECT_EQ(records[1].rX1, 4);
    EXPECT_TRUE(Layout.IsDirty());
}

TEST_F(EditControlsTest, ConfirmedMagnifyRescalesOnlyTheEditedScreen) {
    Load({MakeControl(ControlKind::LED, 1, 100, 100, 100, 100),
          MakeControl(ControlKind::LED, 2, 100, 100, 100, 100)});
    Open(false, 1);
    QTest::mouseClick(Option("Option2", 4), Qt::LeftButton); // 640 -> 1280
    Dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK);
    Click("butScale");
    EXPECT_EQ(Dialogs.Shown()[0].prompt, "You have asked to magnify screen by 2 times. This may "
                                         "give poor results and need extra hand tuning");
    EXPECT_EQ(Dialogs.Last().prompt, "Screen(s) rescaled by 2");
    EXPECT_EQ(cLayoutProbe::Records(Layout)[0].rX2, 200);
    EXPECT_EQ(cLayoutProbe::Records(Layout)[1].rX2, 100);
}

TEST_F(EditControlsTest, ARefusedRescaleKeepsTheWindowWithoutSuccess) {
    const std::vector<ControlRecord> records = {
        MakeControl(ControlKind::LED, 0, 0, 0, 2'000'000'000, 100)};
    Load(records);
    Dialogs.Answer(MsgAnswer::OK); // outside every resolution
    Open(true);
    QTest::mouseClick(Option("Option1", 0), Qt::LeftButton);
    QTest::mouseClick(Option("Option2", 4), Qt::LeftButton);
    Dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK); // magnify by 2; the refusal
    Click("butScale");
    ASSERT_EQ(Dialogs.Shown().size(), 3u);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_NE(Dialogs.Last().title, "Success");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(cLayoutProbe::Records(Layout), records);
}

TEST_F(EditControlsTest, ReOrderDrosWithAValidGroupAndStatistics) {
    Load({MakeDRO(2, 3, 100, 50), MakeDRO(2, 3, 10, 20), MakeDRO(2, 4, 10, 20),
          MakeDRO(2, 65536, 300, 50), MakeDRO(2, 65536, 30, 50)});
    Open(false, 2);
    Get<QLineEdit>("txtDROGroup")->setText(" 3 ");
    Dialogs.Answer(MsgAnswer::OK);
    Click("butReOrderDRO");
    EXPECT_EQ(Dialogs.Last().prompt,
              "Number of DROs in Group 3 on Screen 2\nthat have been sorted = 2");
    EXPECT_EQ(Dialogs.Last().title, "Sort completed");
    EXPECT_TRUE(Layout.IsDirty());

    // Real layouts use groups beyond 16 bits.
    Get<QLineEdit>("txtDROGroup")->setText("65536 ");
    Dialogs.Answer(MsgAnswer::OK);
    Click("butReOrderDRO");
    EXPECT_EQ(Dialogs.Last().prompt,
              "Number of DROs in Group 65536 on Screen 2\nthat have been sorted = 2");
    EXPECT_EQ(cLayoutProbe::Records(Layout)[3].rX1, 30);

    Get<QLineEdit>("txtDROGroup")->setText("-2147483648");
    Dialogs.Answer(MsgAnswer::OK);
    Click("butReOrderDRO");
    EXPECT_EQ(Dialogs.Last().prompt,
              "Number of DROs in Group -2147483648 on Screen 2\nthat have been sorted = 0");

    Dialogs.Answer(MsgAnswer::OK);
    Click("butStats");
    EXPECT_EQ(Dialogs.Last().title, "On screen 2 there are:");
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(MainWindowTest, TwoOpeningsInARowForDifferentScreens) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({1, 1, 1, 1, 1, 1})));
    std::vector<std::tuple<QString, bool, QString, bool>> seen; // title, columns, group, new res
    const auto lookAndChange = [&](QWidget* modal) {
        auto* form = qobject_cast<frmEditControls*>(modal);
        ASSERT_NE(form, nullptr);
        auto* columns = Find<QRadioButton>(*form, "Option3(0)");
        auto* group = Find<QLineEdit>(*form, "txtDROGroup");
        bool anyNew = false;
        for (int i = 0; i < 5; ++i)
            anyNew |= Find<QRadioButton>(*form, ("Option2(" + std::to_string(i) + ")").c_str())
                          ->isChecked();
        seen.emplace_back(form->windowTitle(), columns->isChecked(), group->text(), anyNew);
        // Leave things behind that the next opening must not show.
        Find<QRadioButton>(*form, "Option3(1)")->setChecked(true);
        Find<QRadioButton>(*form, "Option2(3)")->setChecked(true);
        group->setText("7");
        form->close();
    };
    SelectRow("PrincLayList", 2);
    OnModals({lookAndChange});
    Click("butEditSel");
    SelectRow("PrincLayList", 5);
    OnModals({lookAndChange});
    Click("butEditSel");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0],
              std::make_tuple(QString("Edit controls on screen 2"), true, QString(), false));
    EXPECT_EQ(seen[1],
              std::make_tuple(QString("Edit controls on screen 5"), true, QString(), false));
}

} // namespace
