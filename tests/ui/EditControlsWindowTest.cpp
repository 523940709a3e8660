// The Edit Controls window: its controls, how each opening loads, the resolution detection, the
// Re-scale command and its warnings, and the checks made before the other commands run.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

#include "FakeListView.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"
#include "ui/dialogs/ScreenThumbnailsWindow.h"
#include "ui/dialogs/EditControlsWindow.h"

namespace {

struct FormControl {
    const char* name;
    const char* parent; // "" for the window itself
    const char* caption;
    int tabIndex;
    const char* tag;
};

const FormControl FormControls[] = {
    {"butStats", "", "Statistics", 15, ""},
    {"butThumb", "", "Thumbnail", 16, "A2"},
    {"butCancel", "", "Close", 14, ""},
    {"Frame1", "", "Original resolution", 0, ""},
    {"Option1(0)", "Frame1", "640 x 480", 1, ""},
    {"Option1(1)", "Frame1", "800 x 600", 2, ""},
    {"Option1(2)", "Frame1", "1024 x 768", 3, ""},
    {"Option1(3)", "Frame1", "1152 x 864", 4, ""},
    {"Option1(4)", "Frame1", "1280 x 1024", 10, ""},
    {"Frame2", "", "New resolution", 5, ""},
    {"Option2(0)", "Frame2", "640 x 480", 6, ""},
    {"Option2(1)", "Frame2", "800 x 600", 7, ""},
    {"Option2(2)", "Frame2", "1024 x 768", 8, ""},
    {"Option2(3)", "Frame2", "1152 x 864", 9, ""},
    {"Option2(4)", "Frame2", "1280 x 1024", 11, ""},
    {"Label2", "",
     "Re-scale controls to suit new screen resolution. Note: due to rounding of font sizes some "
     "hand tuning will be needed",
     12, ""},
    {"butScale", "", "Re-scale", 13, ""},
    {"Label1", "", "DRO Group number:", 21, "A2"},
    {"txtDROGroup", "", "", 20, "A2"},
    {"Frame3", "", "DROs are in", 17, "A2"},
    {"Option3(0)", "Frame3", "Columns", 18, "A2"},
    {"Option3(1)", "Frame3", "Rows", 19, "A2"},
    {"Label3", "", "Re-order DROs by rows or columns so arrow keys move focus logically", 23, "A2"},
    {"butReOrderDRO", "", "Re-order DROs", 22, "A2"},
};

const char* const AddedCaptions[] = {"1280 x 720",  "1280 x 800",  "1366 x 768",  "1440 x 900",
                                     "1600 x 900",  "1680 x 1050", "1920 x 1080", "1920 x 1200",
                                     "2560 x 1440", "3840 x 2160", "Other"};
constexpr int OptionCount = EditControlsWindow::OptionCount;

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
    EditControlsWindow& Open(bool allScreens, int selectedScreen = -1) {
        List.Selected = selectedScreen + 1;
        Form = std::make_unique<EditControlsWindow>(Layout, Dialogs, allScreens, List);
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
        for (int i = 0; i < OptionCount; ++i)
            if (Option(array, i)->isChecked()) return i;
        return -1;
    }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }

    ScriptedDialogs Dialogs;
    FakeListView List;
    cLayout Layout{Dialogs};
    std::unique_ptr<EditControlsWindow> Form;
};

TEST_F(EditControlsTest, EveryControlWithItsCaptionPlaceTabOrderAndTag) {
    Load(ControlsOnScreens({1}));
    Open(false, 0);
    for (const FormControl& row : FormControls) {
        SCOPED_TRACE(row.name);
        QWidget* control = Get<QWidget>(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), *row.parent ? row.parent : "Content");
        EXPECT_EQ(CaptionOf(control), row.caption);
        EXPECT_EQ(control->property("Tag").toString(), row.tag);
        EXPECT_EQ(control->property("TabIndex").toInt(), row.tabIndex);
    }
    // The classic five keep their places in their groups, smallest at the top.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Option("Option1", i)->geometry(), QRect(16, 16 + 24 * i, 137, 25)) << i;
        EXPECT_EQ(Option("Option2", i)->geometry(), QRect(16, 24 + 24 * i, 121, 17)) << i;
    }
    for (int i = 5; i < OptionCount; ++i)
        for (const char* array : {"Option1", "Option2"})
            EXPECT_EQ(Option(array, i)->text(), AddedCaptions[i - 5]) << array << i;
    EXPECT_EQ(Get<QCheckBox>("chkCentre")->text(), "Centre horizontally");
    EXPECT_FALSE(Get<QCheckBox>("chkCentre")->isChecked());
    EXPECT_TRUE(Get<QLabel>("Label2")->font().bold());
    EXPECT_TRUE(Get<QLabel>("Label3")->font().bold());
    EXPECT_FALSE(Get<QLabel>("Label1")->font().bold());

    // The window fits a 1366 x 768 laptop screen; every control lies inside its parent and none
    // covers another (options 25 pixels high, 24 apart, share a pixel).
    EXPECT_LE(Form->width(), 1366);
    EXPECT_LE(Form->height(), 700);
    for (QWidget* parent : Form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly) +
                               QList<QWidget*>{Form.get()}) {
        const auto children = parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(parent->rect().contains(children[i]->geometry()))
                << children[i]->objectName().toStdString();
            for (qsizetype j = i + 1; j < children.size(); ++j)
                EXPECT_FALSE(children[i]
                                 ->geometry()
                                 .adjusted(0, 0, 0, -1)
                                 .intersects(children[j]->geometry().adjusted(0, 0, 0, -1)))
                    << children[i]->objectName().toStdString() << " and "
                    << children[j]->objectName().toStdString();
        }
    }

    // Tab keeps the classic order; the added options and the boxes of Other follow the fifth
    // option of their group, and the check box comes before Re-scale.
    std::vector<std::string> order = {"Option1(0)", "Option1(1)", "Option1(2)",
                                      "Option1(3)", "Option2(0)", "Option2(1)",
                                      "Option2(2)", "Option2(3)", "Option1(4)"};
    for (int i = 5; i < OptionCount; ++i)
        order.push_back("Option1(" + std::to_string(i) + ")");
    order.insert(order.end(), {"txtOldWidth", "txtOldHeight", "Option2(4)"});
    for (int i = 5; i < OptionCount; ++i)
        order.push_back("Option2(" + std::to_string(i) + ")");
    order.insert(order.end(),
                 {"txtNewWidth", "txtNewHeight", "chkCentre", "butScale", "butCancel", "butStats",
                  "butThumb", "Option3(0)", "Option3(1)", "txtDROGroup", "butReOrderDRO"});
    QWidget* at = Get<QWidget>(order.front().c_str());
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget* next = at->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || next->property("TabIndex").isNull())
            next = next->nextInFocusChain();
        EXPECT_EQ(next->objectName().toStdString(), order[i]) << "after " << order[i - 1];
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
    EXPECT_EQ(Layout.UndoText(), "");
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
    EXPECT_EQ(Layout.UndoText(), "");
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

TEST_F(EditControlsTest, DetectsTheFirstResolutionHoldingTheControls) {
    const DetectionCase cases[] = {
        // Controls may reach 1 % past a resolution: 640 x 479 is drawn for 640 x 480, and
        // 1280 x 1024 holds controls reaching x = 1280.
        {0, 0, 0, false},       {639, 479, 0, false},   {640, 479, 0, false},
        {639, 480, 0, false},   {1023, 767, 2, false},  {1151, 863, 3, false},
        {1279, 1023, 4, false}, {1280, 5, 4, false},    {5, 1024, 4, false},
        {1365, 767, 7, false},  {4000, 3000, 14, true}, {70000, 40000, 14, true}};
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

TEST_F(EditControlsTest, OtherTakesOnlyWholeSizesFrom320To16384) {
    const std::vector<ControlRecord> records = {
        MakeControl(ControlKind::LED, 0, 10, 10, 1000, 700)};
    struct Case {
        const char* group; // the boxes of this group hold the sizes below
        const char* width;
        const char* height;
    };
    const Case cases[] = {
        {"New", "", ""},          {"New", "1920", ""},        {"New", "319", "1080"},
        {"New", "1920", "16385"}, {"New", "abc", "1080"},     {"New", "1920.0", "1080"},
        {"New", "-1920", "1080"}, {"New", "1 920", "1080"},   {"New", "1920x1080", "1080"},
        {"Old", "1024", "0"},     {"Old", "99999999", "768"}, {"Old", "", "768"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " \"" + c.width + "\" x \"" + c.height + "\"");
        Load(records);
        Open(true);
        const bool inNew = std::string(c.group) == "New";
        QTest::mouseClick(Option("Option2", inNew ? 15 : 2), Qt::LeftButton);
        if (!inNew) QTest::mouseClick(Option("Option1", 15), Qt::LeftButton);
        Get<QLineEdit>(inNew ? "txtNewWidth" : "txtOldWidth")->setText(c.width);
        Get<QLineEdit>(inNew ? "txtNewHeight" : "txtOldHeight")->setText(c.height);
        Dialogs.ClearShown();
        Dialogs.Answer(MsgAnswer::OK);
        Click("butScale");
        ASSERT_EQ(Dialogs.Shown().size(), 1u);
        EXPECT_EQ(Dialogs.Last().prompt, std::string("The width and height of the Other ") +
                                             (inNew ? "new" : "original") +
                                             " resolution must be whole numbers from 320 to 16384");
        EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(cLayoutProbe::Records(Layout), records);
        EXPECT_EQ(Layout.UndoText(), "");
    }

    // The boxes are open only while Other is checked, and a good size is taken (blanks allowed).
    Load(records);
    Open(true);
    EXPECT_FALSE(Get<QLineEdit>("txtNewWidth")->isEnabled());
    QTest::mouseClick(Option("Option2", 15), Qt::LeftButton);
    EXPECT_TRUE(Get<QLineEdit>("txtNewWidth")->isEnabled());
    EXPECT_FALSE(Get<QLineEdit>("txtOldWidth")->isEnabled());
    Get<QLineEdit>("txtNewWidth")->setText(" 2048 ");
    Get<QLineEdit>("txtNewHeight")->setText("1536");
    Dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK);
    Click("butScale");
    EXPECT_EQ(Dialogs.Last().prompt, "Screen(s) rescaled by 2");
    EXPECT_EQ(cLayoutProbe::Records(Layout)[0].rX2, 2000);
}

// A real layout drawn for 1024 x 768 rescaled to 1920 x 1080 keeps every control on the screen;
// centring moves them all right by the room left over, and a new opening finds a resolution that
// holds the result.
TEST_F(EditControlsTest, ASampleRescaledTo1920x1080StaysOnTheScreen) {
    std::vector<std::vector<ControlRecord>> results;
    for (const bool centre : {false, true}) {
        SCOPED_TRACE(centre ? "centred" : "at the left");
        ASSERT_TRUE(Layout.LoadLayout(SamplePath("lathe.lset")));
        Open(true);
        ASSERT_EQ(Checked("Option1"), 2) << "drawn for 1024 x 768";
        QTest::mouseClick(Option("Option2", 11), Qt::LeftButton);
        if (centre) QTest::mouseClick(Get<QCheckBox>("chkCentre"), Qt::LeftButton);
        Dialogs.ClearShown();
        Dialogs.Answer(MsgAnswer::OK).Answer(MsgAnswer::OK);
        Click("butScale");
        ASSERT_EQ(Dialogs.Shown().size(), 2u);
        EXPECT_EQ(Dialogs.Shown()[0].prompt, "You have asked to magnify screen by 1.40625 times. "
                                             "This may give poor results and need extra hand "
                                             "tuning");
        EXPECT_EQ(Dialogs.Last().prompt, "Screen(s) rescaled by 1.40625");
        const auto& records = cLayoutProbe::Records(Layout);
        ASSERT_FALSE(records.empty());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ControlRecord& r = records[i];
            EXPECT_TRUE(r.rX1 >= 0 && r.rY1 >= 0 && r.rX2 <= 1920 && r.rY2 <= 1080)
                << "control " << i + 1 << ": " << r.rX1 << "," << r.rY1 << " to " << r.rX2 << ","
                << r.rY2;
        }
        results.push_back(records);

        Dialogs.ClearShown();
        Open(true);
        EXPECT_TRUE(Dialogs.Shown().empty()) << "no warning about the window's own result";
    }
    for (std::size_t i = 0; i < results[0].size(); ++i) {
        EXPECT_EQ(results[1][i].rX1, results[0][i].rX1 + 240) << i;
        EXPECT_EQ(results[1][i].rX2, results[0][i].rX2 + 240) << i;
        EXPECT_EQ(results[1][i].rY2, results[0][i].rY2) << i;
    }
}

TEST_F(MainWindowTest, TwoOpeningsInARowForDifferentScreens) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({1, 1, 1, 1, 1, 1})));
    std::vector<std::tuple<QString, bool, QString, bool>> seen; // title, columns, group, new res
    const auto lookAndChange = [&](QWidget* modal) {
        auto* form = qobject_cast<EditControlsWindow*>(modal);
        ASSERT_NE(form, nullptr);
        auto* columns = Find<QRadioButton>(*form, "Option3(0)");
        auto* group = Find<QLineEdit>(*form, "txtDROGroup");
        bool anyNew = false;
        for (int i = 0; i < OptionCount; ++i)
            anyNew |= Find<QRadioButton>(*form, ("Option2(" + std::to_string(i) + ")").c_str())
                          ->isChecked();
        auto* width = Find<QLineEdit>(*form, "txtNewWidth");
        auto* centre = Find<QCheckBox>(*form, "chkCentre");
        anyNew |= !width->text().isEmpty() || width->isEnabled() || centre->isChecked();
        seen.emplace_back(form->windowTitle(), columns->isChecked(), group->text(), anyNew);
        // Leave things behind that the next opening must not show.
        Find<QRadioButton>(*form, "Option3(1)")->setChecked(true);
        Find<QRadioButton>(*form, "Option2(15)")->setChecked(true);
        width->setText("1920");
        centre->setChecked(true);
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
