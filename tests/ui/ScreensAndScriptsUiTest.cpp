// The Screen menu's New Screen and Duplicate Screen as one undo step each, File > New then an
// append then Save, scripts' line ends kept through the editor and the property sheet, the
// Scripts pane, and the manual with F1's sections.

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTreeWidget>

#include "AgreeingDialogs.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"
#include "check/LayoutCheck.h"
#include "layout/HostCodes.h"
#include "ui/dialogs/ManualWindow.h"
#include "ui/panes/PropertySheet.h"
#include "ui/panes/ScriptsPane.h"
#include "ui/session/LayoutSession.h"
#include "ui/widgets/ScriptEditor.h"

namespace {

class ScreensAndScriptsTest : public MainWindowTest {
protected:
    const std::vector<ControlRecord>& Records() {
        return cLayoutProbe::Records(Window->PrincipalLayout);
    }
    QString ListLabel(int screen) { return List("PrincLayList")->topLevelItem(screen)->text(2); }
};

TEST_F(ScreensAndScriptsTest, NewScreenFromTheScreenMenuIsOneUndoStep) {
    OpenPrincipal(LayoutFile("skin.set", SkinnedLayout()));
    const std::vector<ControlRecord> before = Records();
    SelectRow("PrincLayList", 2); // holds controls: the lowest empty screen is taken

    Dialogs.Type("Tool Changer").Answer(MsgAnswer::OK);
    Menu("mnuNewScreen")->trigger();
    EXPECT_EQ(Dialogs.Shown().at(Dialogs.Shown().size() - 2).prompt,
              "Name of the new screen 10 (a link to it goes in every row of screen links):");
    // The skin's rows end at the screen's edge: the box says where the links went.
    EXPECT_EQ(Dialogs.Last().prompt.rfind(
                  "Screen 10 \"Tool Changer\" is made, with 9 links to it.\nScreen 1: no room", 0),
              0u)
        << Dialogs.Last().prompt;
    EXPECT_EQ(ListLabel(10), "Tool Changer");
    EXPECT_EQ(Window->PrincipalScreen(), 10);
    EXPECT_EQ(Records().size(), before.size() + 10);
    CheckOptions options;
    options.PictureFound = [](const std::string&) { return true; };
    for (const Finding& f : CheckLayout(Window->PrincipalLayout, options))
        EXPECT_TRUE(f.Code != CheckCode::LinkToEmptyScreen && f.Code != CheckCode::KeyClash)
            << f.Message;

    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo New screen 10 \"Tool Changer\"");
    Menu("mnuUndo")->trigger();
    EXPECT_EQ(Records(), before);
    EXPECT_EQ(ListLabel(10), "");
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());

    // An empty screen selected is the one taken; a cancelled name changes nothing.
    Window->SelectPrincipalScreen(12);
    Dialogs.Type("");
    Menu("mnuNewScreen")->trigger();
    EXPECT_EQ(Records(), before);
    Dialogs.Type("Probe 2").Answer(MsgAnswer::OK);
    Menu("mnuNewScreen")->trigger();
    EXPECT_EQ(ListLabel(12), "Probe 2");
}

TEST_F(ScreensAndScriptsTest, DuplicateScreenCopiesTheSelectedOneUnderANewName) {
    OpenPrincipal(LayoutFile("skin.set", SkinnedLayout()));
    SelectRow("PrincLayList", 2);
    Dialogs.Type("MDI copy");
    Menu("mnuDuplicateScreen")->trigger();
    EXPECT_EQ(Dialogs.Last().proposed, "MDI 2");
    EXPECT_EQ(ListLabel(10), "MDI copy");
    EXPECT_EQ(Window->PrincipalLayout.Screens()[10].CtrlCount,
              Window->PrincipalLayout.Screens()[2].CtrlCount);
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Duplicate screen 2 as 10 \"MDI copy\"");

    Window->SelectPrincipalScreen(12);
    Dialogs.Answer(MsgAnswer::OK);
    Menu("mnuDuplicateScreen")->trigger();
    EXPECT_EQ(Dialogs.Last().prompt, "Select a screen that holds controls to duplicate.");
}

TEST_F(ScreensAndScriptsTest, FileNewThenAppendThenSaveAsksForTheName) {
    OpenPrincipal(LayoutFile("old.set", SkinnedLayout()));
    Menu("mnuNew_2")->trigger(); // 1024 x 768
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 0);
    EXPECT_EQ(Window->PrincipalLayout.FileName(), "");
    EXPECT_EQ(Window->PrincipalSession().ChosenResolution(), (Resolution{1024, 768}));

    std::vector<ControlRecord> source = ControlsOnScreens({1, 3});
    source.push_back(MakeScreenLabel(1, "Run"));
    OpenAdditional(LayoutFile("a.set", source));
    SelectRow("AddLayList", 1);
    Dialogs.Answer(MsgAnswer::OK);
    Click("butAppendToPrinc");
    EXPECT_EQ(Window->PrincipalLayout.Screens()[1].Label, "Run");
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());

    const std::string path = Dir.File("new.set");
    Files.Choose(path);
    Menu("mnuPrincSave")->trigger();
    EXPECT_EQ(Window->PrincipalLayout.FileName(), path);
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    AgreeingDialogs quiet;
    cLayout read(quiet);
    ASSERT_TRUE(read.LoadLayout(path));
    EXPECT_EQ(std::vector<ControlRecord>(read.Records().begin(), read.Records().end()), Records());
}

TEST_F(ScreensAndScriptsTest, ScriptLineEndsAreKeptThroughTheEditorAndTheSheet) {
    // The editor alone: lines typed into keep their ends, a new line takes the commonest.
    ScriptEditor editor;
    editor.show();
    editor.SetScriptText(QStringLiteral("If x Then\rCall SetDRO(0,0)\r\nEnd If\n' done"));
    EXPECT_FALSE(editor.IsChanged());
    EXPECT_EQ(editor.ScriptText(), QStringLiteral("If x Then\rCall SetDRO(0,0)\r\nEnd If\n' done"));
    editor.GoToLine(2);
    QTextCursor cursor = editor.TextView()->textCursor();
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.TextView()->setTextCursor(cursor);
    QTest::keyClicks(editor.TextView(), " ' zero");
    EXPECT_EQ(editor.ScriptText(),
              QStringLiteral("If x Then\rCall SetDRO(0,0) ' zero\r\nEnd If\n' done"));
    QTest::keyClick(editor.TextView(), Qt::Key_Return);
    QTest::keyClicks(editor.TextView(), "Sleep 10");
    EXPECT_EQ(editor.ScriptText(),
              QStringLiteral("If x Then\rCall SetDRO(0,0) ' zero\r\nSleep 10\r\nEnd If\n' done"));
    // Replace within it, as one step of the editor's own undo.
    editor.FindBox()->setText(QStringLiteral("0,0"));
    editor.ReplaceBox()->setText(QStringLiteral("1,5"));
    EXPECT_EQ(editor.ReplaceAll(), 1);
    EXPECT_TRUE(editor.ScriptText().contains(QStringLiteral("SetDRO(1,5)")));

    // Through the property sheet: a lone-CR script stays lone CR; a no-break space stays one.
    std::vector<ControlRecord> records = {MakeScreenLabel(1, "Main"),
                                          MakeControl(ControlKind::Button, 1)};
    records[1].rGText = "REM lone\rQuestion (\"Tool\xA0?\")\r";
    OpenPrincipal(LayoutFile("script.set", records));
    Menu("mnuPropertySheet")->trigger();
    Window->PrincipalSession().SetSelection({2});
    PropertySheet& sheet = *Window->PropertiesPane();
    auto* view = qobject_cast<ScriptTextView*>(sheet.Editor("rGText"));
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTextCursor start = view->textCursor();
    start.movePosition(QTextCursor::Start);
    start.movePosition(QTextCursor::EndOfBlock);
    view->setTextCursor(start);
    QTest::keyClicks(view, " tool");
    QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Records()[1].rGText, "REM lone tool\rQuestion (\"Tool\xA0?\")\r");
    EXPECT_EQ(Window->PrincipalLayout.UndoText(), "Change rGText of 1 control");
}

TEST_F(ScreensAndScriptsTest, TheScriptsPaneListsFiltersAndOpensScripts) {
    std::vector<ControlRecord> records = {
        MakeScreenLabel(1, "Main"), MakeControl(ControlKind::Button, 1),
        MakeControl(ControlKind::Button, 2), MakeControl(ControlKind::LED, 2)};
    records[1].rText = "Zero";
    records[1].rGText = "\r\nCall SetDRO(0,0)\r\n";
    records[2].rGText = "G0 X0\r";
    records[3].rGText = "None\r\n";
    OpenPrincipal(LayoutFile("scripts.set", records));
    Menu("mnuScriptsPane")->trigger();
    auto* pane = Window->findChild<ScriptsPane*>();
    ASSERT_NE(pane, nullptr);
    pane->raise();
    Window->resize(1600, 1000);
    QApplication::processEvents();
    EXPECT_EQ(pane->Listed(), (std::vector<int>{2, 3}));
    QTreeWidgetItem* first = pane->List()->topLevelItem(0);
    EXPECT_EQ(first->text(ScriptsPane::ColControl), "Button \"Zero\"");
    EXPECT_EQ(first->text(ScriptsPane::ColFirstLine), "Call SetDRO(0,0)");
    EXPECT_EQ(first->text(ScriptsPane::ColLength), "20");

    pane->Filter()->setText(QStringLiteral("g0"));
    EXPECT_EQ(pane->Listed(), (std::vector<int>{3}));
    EXPECT_EQ(Find<QLabel>(*Window, "labScriptsCount")->text(), "1 script(s) holding \"g0\"");
    QTreeWidget* list = pane->List();
    const QPoint row = list->visualItemRect(list->topLevelItem(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(Window->PrincipalSession().Selection(), (std::vector<int>{3}));
    EXPECT_TRUE(Window->PropertiesPane()->isVisible());

    // A change of the layout is listed at once.
    pane->Filter()->clear();
    ControlRecord led = Records()[3];
    led.rGText = "SetUserLED(1,1)\r\n";
    EXPECT_EQ(Window->PrincipalLayout.ApplyEdit({{{4, led}}, {}, {}}, "Script"), "");
    EXPECT_EQ(pane->Listed(), (std::vector<int>{2, 3, 4}));
}

TEST_F(ScreensAndScriptsTest, TheManualOpensAtTheSectionOfWhatHasTheFocus) {
    auto* pane = Window->findChild<ScriptsPane*>();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(ManualWindow::ManualPageFor(pane->List()), "scripts.html#scripts-pane");
    EXPECT_EQ(ManualWindow::ManualPageFor(Window->PropertiesPane()), "editing.html");
    EXPECT_EQ(ManualWindow::ManualPageFor(Window.get()), "windows.html#main-window");
    EXPECT_EQ(ManualWindow::ManualPageFor(nullptr), "index.html");

    Menu("mnuManual")->trigger();
    auto* manual = Window->findChild<ManualWindow*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    manual->OpenSection(QStringLiteral("scripts.html#scripts-pane"));
    EXPECT_EQ(manual->Browser()->source().fileName(), "scripts.html");
    EXPECT_TRUE(manual->Browser()->toPlainText().contains(QStringLiteral("The Scripts pane")));
    // Every page the contents link to is there.
    manual->OpenSection(QStringLiteral("index.html"));
    for (const char* page : {"getting-started.html", "windows.html", "editing.html", "screens.html",
                             "scripts.html", "pictures.html", "resolution.html", "code-pages.html",
                             "bundles.html", "version-control.html", "quill.html"}) {
        manual->OpenSection(QString::fromLatin1(page));
        EXPECT_FALSE(manual->Browser()->toPlainText().isEmpty()) << page;
    }
}

} // namespace
