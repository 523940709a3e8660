// Editing single controls through the main window: rows chosen in the controls table are the
// controls the preview outlines and the property sheet edits, one typed value is one undo step,
// a refused value says why and changes nothing, each editor writes what its field holds, the
// Controls menu's keys belong to their views, a finding of the check selects its control, and
// pasting carries screen links into another layout by their screen's label.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

#include <filesystem>
#include <fstream>

#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "editing/CopiedControls.h"
#include "layout/HostCodes.h"
#include "ui/session/ControlActions.h"
#include "ui/session/ControlClipboard.h"
#include "ui/panes/ControlsTable.h"
#include "ui/panes/ControlsTableModel.h"
#include "ui/widgets/ScriptEditor.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/canvas/PreviewSelection.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/PreviewSelection.h"
#include "ui/panes/PropertySheet.h"
#include "ui/panes/PropertySheetEditors.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

// Principal: screen 1 "Main" with a button, a DRO and an LED; screen 4 "Offsets".
std::vector<ControlRecord> PrincipalRecords() {
    return {MakeScreenLabel(1, "Main"),
            MakeControl(ControlKind::Button, 1, 10, 10, 60, 30),
            MakeControl(ControlKind::DRO, 1, 100, 10, 160, 30),
            MakeControl(ControlKind::LED, 1, 200, 10, 220, 30),
            MakeScreenLabel(4, "Offsets"),
            MakeControl(ControlKind::Button, 4)};
}

// Additional: screen 2 "Offsets", screen 3 without a label, and on screen 5 a link to each and
// an LED.
std::vector<ControlRecord> AdditionalRecords() {
    return {
        MakeScreenLabel(2, "Offsets"),       MakeControl(ControlKind::Button, 2),
        MakeControl(ControlKind::Button, 3), MakeScreenButton(5, 2, "To offsets"),
        MakeScreenButton(5, 3, "To three"),  MakeControl(ControlKind::LED, 5, 300, 300, 320, 320)};
}

class ControlsEditingTest : public MainWindowTest {
protected:
    ControlsEditingTest() {
        OpenPrincipal(LayoutFile("principal.set", PrincipalRecords()));
        Menu("mnuControlsTable")->trigger();
        Menu("mnuPropertySheet")->trigger();
        ResizeTo(*Window, QSize(1600, 1000));
    }

    LayoutSession& Session() { return Window->PrincipalSession(); }
    const std::vector<ControlRecord>& Records() {
        return cLayoutProbe::Records(Window->PrincipalLayout);
    }
    ControlsTable& Table() { return *Window->ControlsPane(); }
    PropertySheet& Sheet() { return *Window->PropertiesPane(); }
    QLineEdit* Line(const char* field) { return qobject_cast<QLineEdit*>(Sheet().Editor(field)); }

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTableView* view = Table().View();
        const QRect cell = view->visualRect(Table().Model().index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    // Types a value into a field's line and presses Enter.
    void Type(const char* field, const QString& text) {
        QLineEdit* line = Line(field);
        ASSERT_NE(line, nullptr) << field;
        line->setFocus();
        line->selectAll();
        // Typed as the keyboard would, whatever characters it holds.
        line->insert(text);
        QTest::keyClick(line, Qt::Key_Return);
    }
    // The controls a preview marks as selected: its outlines, or its editing view's selection
    // where the preview is wide enough to edit.
    std::vector<int> Outlined(const char* name) {
        ScreenPreview* preview = Get<ScreenPreview>(name);
        if (preview->Editing()) return preview->Editor()->SelectedHere();
        auto* link = preview->findChild<PreviewSelection*>();
        EXPECT_NE(link, nullptr);
        return link != nullptr ? link->Outlined() : std::vector<int>{};
    }
    // Clicks a point of the screen a preview shows, on the preview or on its editing view.
    void ClickScreenPoint(ScreenPreview& preview, QPointF screenPoint) {
        if (preview.Editing()) {
            ScreenEditor* editor = preview.Editor();
            QTest::mouseClick(editor->viewport(), Qt::LeftButton, {},
                              editor->FromScreen(screenPoint).toPoint());
        } else {
            QTest::mouseClick(&preview, Qt::LeftButton, {},
                              preview.FromScene(screenPoint).toPoint());
        }
    }
    void ResizeTo(QWidget& window, QSize size) {
        window.resize(size);
        QApplication::processEvents();
    }
};

TEST_F(ControlsEditingTest, RowsChosenInTheTableAreEditedTogetherAsOneStep) {
    SelectRow("PrincLayList", 1);
    ASSERT_EQ(Table().Model().rowCount(), 4);
    ClickRow(1);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(Session().Selection(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Outlined("PrincPreview"), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Sheet().Heading(), "3 controls selected");
    // The values the three share, and a blank where they differ.
    EXPECT_EQ(Line("rY1")->text(), "10");
    EXPECT_EQ(Line("rX1")->text(), "");
    EXPECT_EQ(Line("rX1")->placeholderText(), "(various)");

    const std::vector<ControlRecord> before = Records();
    Type("rX1", "42");
    for (int position : {2, 3, 4})
        EXPECT_EQ(Records()[static_cast<std::size_t>(position - 1)].rX1, 42);
    EXPECT_EQ(Records()[0], before[0]);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Change rX1 of 3 controls");
    EXPECT_EQ(Line("rX1")->text(), "42");
    EXPECT_EQ(Parts().UndoItem()->text(), "&Undo Change rX1 of 3 controls");

    Parts().UndoItem()->trigger();
    EXPECT_EQ(Records(), before);
    EXPECT_EQ(Line("rX1")->text(), "");
    EXPECT_EQ(Session().Selection(), (std::vector<int>{2, 3, 4}));
    Parts().RedoItem()->trigger();
    EXPECT_EQ(Records()[2].rX1, 42);

    // A click on a control in the preview selects its row.
    ScreenPreview* preview = Parts().Principal().Preview;
    ASSERT_TRUE(preview->isVisible());
    const ControlRecord& led = Records()[3];
    ClickScreenPoint(*preview, QPointF(led.rX1 + 5, led.rY1 + 5));
    EXPECT_EQ(Session().Selection(), (std::vector<int>{4}));
    const QModelIndexList rows = Table().View()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(Table().Model().PositionAt(rows.front().row()), 4);
    EXPECT_EQ(Sheet().Heading(), "LED, record 4 on screen 1");
}

TEST_F(ControlsEditingTest, AddPutsAControlInViewBesideTheOthersAndAFilteredTableShowsIt) {
    SelectRow("PrincLayList", 1);
    Table().FilterBox()->setText("no such text");
    const auto overlaps = [](const ControlRecord& a, const ControlRecord& b) {
        return a.rX1 < b.rX2 && b.rX1 < a.rX2 && a.rY1 < b.rY2 && b.rY1 < a.rY2;
    };
    const Resolution screen = Session().DrawnFor().Size;
    for (int added = 1; added <= 3; ++added) {
        SCOPED_TRACE(added);
        const std::size_t before = Records().size();
        Parts().AddControlItem(ControlKind::Button)->trigger();
        ASSERT_EQ(Records().size(), before + 1);
        ASSERT_EQ(Session().Selection().size(), 1u);
        const int position = Session().Selection().front();
        const ControlRecord& control = Records()[static_cast<std::size_t>(position - 1)];
        EXPECT_EQ(control.rScreen, 1);
        EXPECT_EQ(Table().FilterBox()->text(), "");
        EXPECT_GE(Table().Model().RowOf(position), 0) << "the table shows it";
        EXPECT_TRUE(control.rX1 >= 0 && control.rY1 >= 0 && control.rX2 <= screen.Width &&
                    control.rY2 <= screen.Height);
        for (int other = 1; other <= static_cast<int>(Records().size()); ++other) {
            const ControlRecord& r = Records()[static_cast<std::size_t>(other - 1)];
            if (other != position && r.rScreen == 1) {
                EXPECT_FALSE(overlaps(control, r)) << "over control " << other;
            }
        }
        Table().FilterBox()->setText("no such text");
    }
    // Not at the corner the core would choose, over the tab bar: about the middle.
    const ControlRecord& first = Records()[static_cast<std::size_t>(Session().Selection().front() - 1)];
    EXPECT_GT(first.rX1, screen.Width / 4);
    EXPECT_GT(first.rY1, screen.Height / 4);
}

TEST_F(ControlsEditingTest, ARefusedValueKeepsTheOldOneAndSaysWhy) {
    Session().SetSelection({2});
    Type("rX1", "61");
    EXPECT_EQ(Sheet().Refusal("rX1"), "The right edge (60) would lie left of the left edge (61).");
    EXPECT_EQ(Line("rX1")->text(), "10");
    Type("rText", QString::fromUtf8("OK \xE2\x9C\x93"));
    EXPECT_EQ(Sheet().Refusal("rText"),
              QString::fromUtf8("The text holds \"\xE2\x9C\x93\" (U+2713), which has no "
                                "Windows-1252 byte."));
    Type("rFlash", "99999999999");
    EXPECT_TRUE(Sheet().Refusal("rFlash").contains("outside the 32-bit range"));
    EXPECT_EQ(Records(), PrincipalRecords());
    EXPECT_FALSE(Window->PrincipalLayout.CanUndo());

    // The next value entered takes the reason away.
    Type("rX1", "5");
    EXPECT_EQ(Sheet().Refusal("rX1"), "");
    EXPECT_EQ(Records()[1].rX1, 5);
}

TEST_F(ControlsEditingTest, EachEditorWritesWhatItsFieldHolds) {
    Session().SetSelection({2});
    // The kind from the list of the eleven.
    auto* kind = qobject_cast<QComboBox*>(Sheet().Editor("rType"));
    ASSERT_EQ(kind->count(), 11);
    kind->setCurrentIndex(ControlKind::LED - 1);
    emit kind->activated(ControlKind::LED - 1);
    EXPECT_EQ(Records()[1].rType, ControlKind::LED);

    // The key as it is pressed, named, with its code beside it.
    auto* key = qobject_cast<KeyCaptureEdit*>(Sheet().Editor("rHotKey"));
    key->setFocus();
    QTest::keyClick(key, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(Records()[1].rHotKey, 2097);
    EXPECT_EQ(key->text(), "Alt+1");
    EXPECT_EQ(Get<QLabel>("rHotKeyCode")->text(), "code 2097");
    QTest::keyClick(key, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Records()[1].rHotKey, 34890);
    QTest::mouseClick(Get<QToolButton>("rHotKeyClear"), Qt::LeftButton);
    EXPECT_EQ(Records()[1].rHotKey, 0);

    // The script's lines end in CR LF.
    auto* script = qobject_cast<ScriptTextView*>(Sheet().Editor("rGText"));
    script->setFocus();
    script->setPlainText("None\nG0 X1");
    QTest::keyClick(script, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Records()[1].rGText, "None\r\nG0 X1");

    // The colour from the dialog, as the host writes it: 0x00BBGGRR.
    Sheet().ChooseColour = [](const QColor&) { return std::optional<QColor>(QColor(255, 128, 0)); };
    QTest::mouseClick(Get<QToolButton>("rColorChoose"), Qt::LeftButton);
    EXPECT_EQ(Records()[1].rColor, 0x000080FF);
    EXPECT_EQ(Line("rColor")->text(), "0x000080FF");

    // A picture in the Bitmaps folder beside the layout, spelt the host's way: relative to it.
    std::filesystem::create_directories(Dir.File("Bitmaps/Skin"));
    std::ofstream(Dir.File("Bitmaps/Skin/Cycle.png")) << "picture";
    Files.Choose(Dir.File("Bitmaps/Skin/Cycle.png"));
    QTest::mouseClick(Get<QToolButton>("rBitMapPathChoose"), Qt::LeftButton);
    EXPECT_EQ(Records()[1].rBitMapPath, "Skin\\Cycle.png");

    // The screen from the list, and the width as the right edge.
    Type("Width", "80");
    EXPECT_EQ(Records()[1].rX2, 90);
    auto* screen = qobject_cast<QComboBox*>(Sheet().Editor("rScreen"));
    emit screen->activated(4);
    EXPECT_EQ(Records()[1].rScreen, 4);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Change rScreen of 1 control");
    // Every value was its own step.
    int steps = 0;
    while (Window->PrincipalLayout.CanUndo()) {
        Window->PrincipalLayout.Undo();
        ++steps;
    }
    EXPECT_EQ(steps, 9);
    EXPECT_EQ(Records(), PrincipalRecords());
}

TEST_F(ControlsEditingTest, TheControlsKeysBelongToTheirViews) {
    SelectRow("PrincLayList", 1);
    ClickRow(2);
    QTableView* view = Table().View();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Duplicate 1 control");
    ASSERT_EQ(Records().size(), 7u);
    EXPECT_EQ(Records()[4].rX1, 110); // after the last control of screen 1, 10 pixels off
    EXPECT_EQ(Session().Selection(), (std::vector<int>{5}));
    QTest::keyClick(view, Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Send 1 control to back");
    EXPECT_EQ(Records()[0].rX1, 110); // under the screen's label, the first of its layer
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Delete 1 control");
    EXPECT_EQ(Records(), PrincipalRecords());

    // Del in the Principal list still deletes its screen, not the selected controls.
    Session().SetSelection({2});
    SelectRow("PrincLayList", 4);
    QTreeWidget* list = Parts().Principal().Screens;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Delete screen(s)");
    EXPECT_EQ(Records().size(), 4u);
}

TEST_F(ControlsEditingTest, PastedScreenLinksKeepTheirScreenByLabelOrAreDropped) {
    OpenAdditional(LayoutFile("additional.set", AdditionalRecords()));
    ControlActions& controls = Window->ControlCommands();
    Window->AdditionalSession().SetSelection({4, 5, 6});
    controls.SetActiveSession(Window->AdditionalSession());
    EXPECT_FALSE(controls.Action("mnuCutControls")->isEnabled()); // the Additional layout is kept
    controls.Action("mnuCopyControls")->trigger();

    SelectRow("PrincLayList", 6);
    controls.SetActiveSession(Session());
    controls.Action("mnuPasteControls")->trigger();
    ASSERT_EQ(Records().size(), 8u);
    const ControlRecord& link = Records()[6];
    EXPECT_TRUE(IsScreenLink(link));
    EXPECT_EQ(link.rOEMCode, 4); // "Offsets" is screen 4 here
    EXPECT_EQ(link.rScreen, 6);
    EXPECT_EQ(Records()[7].rType, ControlKind::LED);
    EXPECT_EQ(Records()[7].rX1, 300); // at its place: it came from another layout
    EXPECT_EQ(Window->statusBar()->currentMessage(),
              "Pasted 2 controls on screen 6; screen links: 1 kept by their screen's label (1 "
              "renumbered), 1 dropped (no screen of their label here)");
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Paste 2 controls");
    // The screen list shows the new link.
    EXPECT_NE(Parts().Principal().Screens->topLevelItem(4)->text(3), "");

    // Copied here and pasted onto the screen they came from: 10 pixels off, links as they are.
    EXPECT_EQ(Session().Selection(), (std::vector<int>{7, 8}));
    controls.Action("mnuCopyControls")->trigger();
    controls.Action("mnuPasteControls")->trigger();
    ASSERT_EQ(Records().size(), 10u);
    EXPECT_EQ(Records()[8].rOEMCode, 4);
    EXPECT_EQ(Records()[9].rX1, 310);

    // From another running program: the links find their screens here by label too.
    CopiedControls other;
    other.Layout = "another program:principal:1";
    other.Labels[7] = "main";
    other.Records = {MakeScreenButton(2, 7, "Home")};
    other.Positions = {1};
    PutControlsOnClipboard(other);
    controls.Action("mnuPasteControls")->trigger();
    ASSERT_EQ(Records().size(), 11u);
    EXPECT_EQ(Records()[10].rOEMCode, 1);

    // Text from another program that holds no controls is refused, and nothing changes.
    QApplication::clipboard()->setText("Cycle Start");
    Dialogs.Answer(MsgAnswer::OK);
    controls.Action("mnuPasteControls")->trigger();
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Dialogs.Last().prompt.rfind("The clipboard holds no controls", 0), 0u);
    EXPECT_EQ(Records().size(), 11u);
}

TEST_F(ControlsEditingTest, AFindingOfTheCheckSelectsItsControl) {
    // A control reaching far off the screen: the check warns of it.
    std::vector<ControlRecord> records = PrincipalRecords();
    records[3].rX2 = 5000;
    OpenPrincipal(LayoutFile("offscreen.set", records));
    Click(Parts().Check());
    auto* check = Window->findChild<LayoutCheckWindow*>("frmCheck");
    ASSERT_NE(check, nullptr);
    int row = -1;
    for (std::size_t i = 0; i < check->Findings().size(); ++i)
        if (check->Findings()[i].Record == 4) row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(check));
    auto* table = Find<QTableWidget>(*check, "tblFindings");
    table->scrollToItem(table->item(row, LayoutCheckWindow::ColMessage));
    const QRect cell = table->visualItemRect(table->item(row, LayoutCheckWindow::ColMessage));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(Session().Selection(), (std::vector<int>{4}));
    EXPECT_EQ(Table().Model().PositionAt(Table().View()->currentIndex().row()), 4);
    EXPECT_EQ(Sheet().Heading(), "LED, record 4 on screen 1");
}

TEST(ControlsClipboardTest, OurTypeFirstThenPlainText) {
    CopiedControls copied;
    copied.Records = {MakeScreenButton(1, 2, "Go", 2097), MakeFullRecord(2)};
    copied.Positions = {3, 9};
    copied.Layout = "here";
    copied.Labels[2] = "Offsets";
    const std::unique_ptr<QMimeData> data = ControlsMimeData(copied);
    CopiedControls read;
    std::string error;
    ASSERT_TRUE(ControlsFromMimeData(data.get(), read, error)) << error;
    EXPECT_EQ(read, copied);

    // Another program keeps only the text: the records come back, without where they came from.
    QMimeData text;
    text.setText(data->text());
    ASSERT_TRUE(ControlsFromMimeData(&text, read, error)) << error;
    EXPECT_EQ(read.Records, copied.Records);
    EXPECT_TRUE(read.Layout.empty());

    QMimeData broken;
    broken.setData(ControlsMimeType, "{\"format\": \"KorvoScreenQuill copied controls\"");
    EXPECT_FALSE(ControlsFromMimeData(&broken, read, error));
    EXPECT_EQ(error.rfind("The controls on the clipboard cannot be read: line 1: ", 0), 0u)
        << error;
    EXPECT_EQ(read.Records, copied.Records);
}

TEST(ControlsClipboardTest, KeysPressedAreTheHostsCodes) {
    const std::tuple<int, Qt::KeyboardModifiers, std::optional<int32_t>> cases[] = {
        {Qt::Key_1, Qt::AltModifier, 2097},
        {Qt::Key_J, Qt::ControlModifier | Qt::AltModifier, 34890},
        {Qt::Key_F10, {}, 121},
        {Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, 33871},
        {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_Space, {}, 32},
        {Qt::Key_Delete, {}, 46},
        {Qt::Key_Exclam, Qt::ShiftModifier, std::nullopt},
        {Qt::Key_A, Qt::MetaModifier, std::nullopt},
    };
    for (const auto& [key, modifiers, code] : cases) {
        EXPECT_EQ(HostKeyCode(key, modifiers), code) << key;
        if (code) {
            EXPECT_EQ(HotKeyCode(HotKeyText(*code)), code);
        }
    }
}

} // namespace
