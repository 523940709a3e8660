// The main window: its controls, what each group enables, opening and saving through the file
// dialogs, the questions about unsaved changes, and the commands that need no other subsystem.

#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <optional>
#include <set>

#include "MainWindowFixture.h"
#include "ui/dialogs/EditControlsWindow.h"
#include "ui/widgets/Twips.h"

namespace {

struct MainControl {
    const char* name;
    const char* parent;
    const char* caption;
    const char* toolTip;
    const char* tag;
    int left, top, width, height;
};

const MainControl MainControls[] = {
    {"fraOPrinc", "ClientArea", "Principal Layout", "", "", 120, 240, 10335, 4095},
    {"butOpen", "fraOPrinc", "Open .SET", "Opens a layout (.SET) file", "", 120, 360, 1215, 375},
    {"butExport", "fraOPrinc", "CSV Export",
     "Exports the selected screen(s) to a comma separated variable file", "A1", 1440, 360, 1215,
     375},
    {"butSaveAs", "fraOPrinc", "Save As", "Saves As the current Principal screen", "A1", 2760, 360,
     1215, 375},
    {"txtOpenedFile", "fraOPrinc", "<none>", "", "A1", 120, 840, 3855, 375},
    {"PrincLayList", "fraOPrinc", "", "Screens in the Principal Layout", "", 120, 1320, 8535, 2655},
    {"Frame2", "fraOPrinc", "All Screens in Layout", "", "A1", 4320, 360, 4215, 855},
    {"butEditScreen", "Frame2", "Edit All Controls", "", "A1", 240, 360, 1335, 375},
    {"Frame1", "fraOPrinc", "Selected Screen", "", "A1", 8760, 360, 1455, 3615},
    {"butEditSel", "Frame1", "Control Edit", "", "A1", 120, 360, 1215, 375},
    {"butPromote", "Frame1", "Move up list", "Promotes the selected screen", "A1", 120, 960, 1215,
     375},
    {"butDemote", "Frame1", "Move down list", "Demotes the selected screen", "A1", 120, 1440, 1215,
     375},
    {"butUpdateCapts", "Frame1", "Update Buttons",
     "Prompts for new captions for buttons with F-key shortcuts and resets F-key to position in "
     "the list",
     "A1", 120, 2040, 1215, 615},
    {"butDelete", "Frame1", "Delete Screen", "Deletes chosen screen from this layout", "A1", 120,
     3000, 1215, 495},
    {"fraOAdd", "ClientArea", "Additional Layout", "", "", 120, 4440, 10335, 3375},
    {"butAddOpen", "fraOAdd", "Open .SET", "Opens a layout (.SET) file", "", 120, 360, 1215, 375},
    {"butImport", "fraOAdd", "CSV Import", "", "", 1440, 360, 1215, 375},
    {"txtAddFile", "fraOAdd", "<none>", "", "A3", 120, 840, 3735, 375},
    {"AddLayList", "fraOAdd", "", "", "A3", 120, 1320, 8535, 1815},
    {"Frame3", "fraOAdd", "Selected Screen", "", "A3", 8760, 240, 1455, 2895},
    {"butAppendToPrinc", "Frame3", "Append to Principal Layout", "", "A3", 120, 480, 1215, 855},
};

QString CaptionOf(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    return {};
}

std::set<std::string> EnabledControls(KorvoScreenManager& window) {
    std::set<std::string> enabled;
    for (const MainControl& row : MainControls)
        if (Find<QWidget>(window, row.name)->isEnabled()) enabled.insert(row.name);
    return enabled;
}

const std::set<std::string> StartEnabled = {"fraOPrinc",  "butOpen",    "PrincLayList",
                                            "fraOAdd",    "butAddOpen", "butImport",
                                            "txtAddFile", "AddLayList"};

std::set<std::string> With(std::set<std::string> set, std::initializer_list<const char*> more) {
    for (const char* name : more)
        set.insert(name);
    return set;
}

const std::initializer_list<const char*> PrincipalGroup = {
    "butExport",  "butSaveAs",  "txtOpenedFile", "Frame2",         "butEditScreen", "Frame1",
    "butEditSel", "butPromote", "butDemote",     "butUpdateCapts", "butDelete"};

// The frame a control lies in: the nearest frame around it, or the client area for a frame.
QWidget* FrameOf(QWidget* control) {
    for (QWidget* up = control->parentWidget(); up != nullptr; up = up->parentWidget())
        if (qobject_cast<QGroupBox*>(up) != nullptr || up->objectName() == "ClientArea") return up;
    return nullptr;
}

QRect RectIn(QWidget* control, QWidget* frame) {
    return QRect(control->mapTo(frame, QPoint(0, 0)), control->size());
}

TEST_F(MainWindowTest, EveryControlWithItsNameCaptionTagInsideItsFrame) {
    EXPECT_EQ(Window->windowTitle(), "KorvoScreenQuill[*]");
    const QSize opened = Get<QWidget>("ClientArea")->size();
    EXPECT_TRUE(opened.width() >= 702 && opened.height() >= 537) << "10530 x 8055 twips at least";
    Window->resize(100, 100);
    EXPECT_EQ(Get<QWidget>("ClientArea")->size(), QSize(702, 537))
        << "the frames keep the design size, and scroll";
    for (const MainControl& row : MainControls) {
        SCOPED_TRACE(row.name);
        QWidget* control = Get<QWidget>(row.name);
        ASSERT_NE(control, nullptr);
        QWidget* frame = FrameOf(control);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->objectName(), row.parent);
        EXPECT_EQ(CaptionOf(control), row.caption);
        EXPECT_EQ(control->toolTip(), row.toolTip);
        EXPECT_EQ(control->property("Tag").toString(), row.tag);
        // Inside its frame and no smaller than its design size, which fits its caption (a frame
        // holds what it holds: the style's title may take a few pixels of it).
        EXPECT_TRUE(frame->rect().contains(RectIn(control, frame)))
            << RectIn(control, frame).x() << "," << RectIn(control, frame).y();
        if (qobject_cast<QGroupBox*>(control) == nullptr) {
            EXPECT_GE(control->width(), row.width / 15);
            EXPECT_GE(control->height(), row.height / 15);
        }
    }
    // Controls of one frame do not overlap.
    for (const MainControl& a : MainControls)
        for (const MainControl& b : MainControls) {
            QWidget* first = Get<QWidget>(a.name);
            QWidget* second = Get<QWidget>(b.name);
            if (first == second || FrameOf(first) != FrameOf(second)) continue;
            EXPECT_FALSE(RectIn(first, FrameOf(first)).intersects(RectIn(second, FrameOf(first))))
                << a.name << " overlaps " << b.name;
        }
    EXPECT_TRUE(Parts().DeleteScreen()->font().bold());
    EXPECT_FALSE(Button("butPromote")->font().bold());
    EXPECT_TRUE(Text("txtOpenedFile")->isReadOnly());
    EXPECT_TRUE(Text("txtAddFile")->isReadOnly());
}

// Menu items in their menu's order, with the keys they answer to.
struct MenuItem {
    const char* name;
    const char* caption;
    QList<QKeySequence> keys;
};

TEST_F(MainWindowTest, MenusKeepTheirItemsAndGainShortcuts) {
    const QList<QAction*> menus = Window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 6);
    const char* const titles[] = {"&File", "&Edit", "&Controls", "&Screen", "&View", "&Help"};
    const QKeySequence enter(Qt::Key_Enter), ret(Qt::Key_Return);
    const std::vector<std::vector<MenuItem>> items = {
        {{"", "&New", {}},
         {"mnuPrincOpen", "Principal Layout - &Open", {QKeySequence("Ctrl+O")}},
         {"mnuAddOpen", "A&dditional Layout - Open", {QKeySequence("Ctrl+Shift+O")}},
         {"", "&Recent Layouts", {}},
         {"mnuPrincSave", "Principal Layout - Sa&ve", {QKeySequence("Ctrl+S")}},
         {"mnuPrincSaveAs", "Principal Layout - &Save As", {QKeySequence("Ctrl+Shift+S")}},
         {"mnuExport", "CSV &Export", {QKeySequence("Ctrl+E")}},
         {"mnuImport", "CSV &Import", {QKeySequence("Ctrl+I")}},
         {"mnuCompare", "Co&mpare with...", {}},
         {"mnuExportBundle", "Export layout with &pictures...", {}},
         {"mnuExit", "E&xit", {QKeySequence("Ctrl+Q")}}},
        {{"mnuUndo", "&Undo", {QKeySequence("Ctrl+Z")}},
         {"mnuRedo", "&Redo", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}},
         {"mnuPromote", "Move u&p list", {QKeySequence("Alt+Up")}},
         {"mnuDemote", "Move do&wn list", {QKeySequence("Alt+Down")}},
         {"mnuDelete", "&Delete Screen", {QKeySequence(QKeySequence::Delete)}},
         {"mnuUpdateCapts", "Update &Buttons", {}},
         {"mnuAppend", "&Append to Principal Layout", {ret, enter}},
         {"mnuEditSel", "C&ontrol Edit", {ret, enter}},
         {"mnuEditOnScreen", "Edit on the &Screen...", {QKeySequence("Ctrl+Shift+E")}},
         {"mnuEditScreen", "Edit All &Controls", {QKeySequence("Ctrl+Shift+A")}},
         {"mnuCheck", "Chec&k Layout...", {QKeySequence("Ctrl+L")}},
         {"mnuFind", "&Find...", {QKeySequence("Ctrl+F")}},
         {"mnuFindNext", "Find &Next", {QKeySequence("F3")}},
         {"mnuFindPrevious", "Find Pre&vious", {QKeySequence("Shift+F3")}},
         {"mnuWhereUsed", "W&here Used", {QKeySequence("Ctrl+Shift+U")}}},
        {{"", "&Add", {}},
         {"mnuDuplicateControls", "D&uplicate", {QKeySequence("Ctrl+D")}},
         {"mnuDeleteControls", "&Delete", {QKeySequence(Qt::Key_Delete)}},
         {"mnuCutControls", "Cu&t", {QKeySequence("Ctrl+X")}},
         {"mnuCopyControls", "&Copy", {QKeySequence("Ctrl+C")}},
         {"mnuPasteControls", "&Paste", {QKeySequence("Ctrl+V")}},
         {"mnuBringToFront", "Bring to &Front", {QKeySequence("Ctrl+]")}},
         {"mnuSendToBack", "Send to &Back", {QKeySequence("Ctrl+[")}}},
        {{"mnuNewScreen", "&New Screen...", {}},
         {"mnuDuplicateScreen", "&Duplicate Screen...", {}}},
        {{"mnuControlsTable", "Controls table", {QKeySequence("Ctrl+T")}},
         {"mnuPropertySheet", "Property sheet", {QKeySequence("Alt+Return")}},
         {"mnuFindPane", "Find and Replace", {}},
         {"mnuPicturesPane", "Pictures", {}},
         {"mnuWhereUsedPane", "Where Used", {}},
         {"mnuScriptsPane", "Scripts", {QKeySequence("Ctrl+Shift+K")}}},
        {{"mnuManual", "&Manual", {QKeySequence("F1")}},
         {"mnuAbout", "About KorvoScreenQuill...", {}}}};
    for (int m = 0; m < 6; ++m) {
        EXPECT_EQ(menus[m]->text(), titles[m]);
        QList<QAction*> actions = menus[m]->menu()->actions();
        actions.removeIf([](QAction* action) { return action->isSeparator(); });
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items[m].size()));
        for (std::size_t i = 0; i < items[m].size(); ++i) {
            SCOPED_TRACE(items[m][i].caption);
            if (*items[m][i].name != '\0') {
                EXPECT_EQ(actions[i]->objectName(), items[m][i].name);
            }
            EXPECT_EQ(actions[i]->text(), items[m][i].caption);
            // The first key is the one the menu shows; a platform may add more.
            const QList<QKeySequence> keys = actions[i]->shortcuts();
            EXPECT_EQ(keys.mid(0, items[m][i].keys.size()), items[m][i].keys);
        }
    }
    // The items of the first window stay available at any time.
    for (const char* name : {"mnuPrincOpen", "mnuPrincSaveAs", "mnuExit", "mnuAbout"})
        EXPECT_TRUE(Menu(name)->isEnabled()) << name;
    // Nothing to undo or redo yet.
    EXPECT_FALSE(Parts().UndoItem()->isEnabled());
    EXPECT_FALSE(Parts().RedoItem()->isEnabled());
}

TEST_F(MainWindowTest, EachOpenedLayoutEnablesItsGroup) {
    EXPECT_EQ(EnabledControls(*Window), StartEnabled);
    EXPECT_TRUE(Window->EditAllScreens);

    OpenAdditional(SamplePath("lathe.lset"));
    EXPECT_EQ(EnabledControls(*Window), With(StartEnabled, {"Frame3", "butAppendToPrinc"}));
    EXPECT_EQ(Text("txtAddFile")->text(), QString::fromStdString(SamplePath("lathe.lset")));
    EXPECT_EQ(Text("txtOpenedFile")->text(), "<none>");

    Dialogs.Answer(MsgAnswer::OK); // mill.set has a duplicate screen label
    OpenPrincipal(SamplePath("mill.set"));
    EXPECT_EQ(EnabledControls(*Window),
              With(With(StartEnabled, {"Frame3", "butAppendToPrinc"}), PrincipalGroup));
    EXPECT_EQ(Text("txtOpenedFile")->text(), QString::fromStdString(SamplePath("mill.set")));
    EXPECT_EQ(Window->PrincipalLayout.FileName(), SamplePath("mill.set"));

    // Both layouts share one open dialog: the second starts where the first was left.
    ASSERT_EQ(Files.Shown().size(), 2u);
    const std::string samples =
        QFileInfo(QString::fromStdString(SamplePath("mill.set"))).absolutePath().toStdString();
    const std::string folders[] = {"", samples};
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(Files.Shown()[i].save);
        EXPECT_EQ(Files.Shown()[i].setup,
                  (FileDialogSetup{"Open Layout file",
                                   "All layouts|*.set;*.lset;*.zip|Mill Layouts |*.set|Turning "
                                   "Layouts|*.lset|Layouts with pictures|*.zip|",
                                   folders[i], "", "", 0x1004}));
    }
}

TEST_F(MainWindowTest, OpeningFillsTheListAndACancelChangesNothing) {
    Files.Cancel();
    Click(Parts().Principal().Open);
    EXPECT_EQ(Parts().Principal().Screens->topLevelItemCount(), 0);
    EXPECT_EQ(EnabledControls(*Window), StartEnabled);

    const std::string path = LayoutFile("two.set", ControlsOnScreens({12, 3}));
    Files.Choose(path);
    Menu("mnuPrincOpen")->trigger();
    QTreeWidget* list = Parts().Principal().Screens;
    ASSERT_EQ(list->topLevelItemCount(), 16);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "12");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "3");
    EXPECT_EQ(list->topLevelItem(15)->text(0), "15");

    Files.Cancel();
    Click(Parts().Additional().Open);
    EXPECT_EQ(Parts().Additional().Screens->topLevelItemCount(), 0);
    EXPECT_FALSE(Parts().AppendToPrincipal()->isEnabled());
    EXPECT_EQ(Text("txtAddFile")->text(), "<none>");
}

TEST_F(MainWindowTest, AFailedLoadKeepsTheBoxesAndGroupsAsTheyWere) {
    const std::string broken = Dir.Write("broken.set", "\x05\x00");
    Dialogs.Answer(MsgAnswer::OK);
    OpenPrincipal(broken);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Text("txtOpenedFile")->text(), "<none>");
    EXPECT_EQ(EnabledControls(*Window), StartEnabled);

    Dialogs.Answer(MsgAnswer::OK);
    OpenAdditional(broken);
    EXPECT_EQ(EnabledControls(*Window), StartEnabled);
    EXPECT_EQ(Text("txtAddFile")->text(), "<none>");

    const std::string good = LayoutFile("good.set", ControlsOnScreens({4}));
    OpenPrincipal(good);
    Dialogs.Answer(MsgAnswer::OK);
    OpenPrincipal(broken);
    EXPECT_EQ(Text("txtOpenedFile")->text(), QString::fromStdString(good));
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(0)->text(1), "4");
}

TEST_F(MainWindowTest, DirtyLayoutAsksBeforeAnotherIsOpened) {
    const std::string first = LayoutFile("first.set", ControlsOnScreens({2}));
    const std::string second = LayoutFile("second.set", ControlsOnScreens({5, 5}));
    OpenPrincipal(first);
    Window->PrincipalLayout.SetIsDirty(true);
    const std::size_t shownBefore = Files.Shown().size();

    // Cancel opens nothing and shows no dialog.
    Dialogs.Answer(MsgAnswer::Cancel);
    Click(Parts().Principal().Open);
    EXPECT_EQ(Dialogs.Last().prompt, "Layout has been changed. Do you want chance to Save As "
                                     "before Opening a new one?");
    EXPECT_EQ(Dialogs.Last().title, "OK to Open another?");
    EXPECT_EQ(Dialogs.Last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Question);
    EXPECT_EQ(Files.Shown().size(), shownBefore);
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());

    // Yes saves first: a cancelled save opens nothing.
    Dialogs.Answer(MsgAnswer::Yes);
    Files.Cancel();
    Click(Parts().Principal().Open);
    ASSERT_EQ(Files.Shown().size(), shownBefore + 1);
    EXPECT_TRUE(Files.Shown().back().save);
    EXPECT_EQ(Window->PrincipalLayout.FileName(), first);
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());

    // Yes and a written file: then the other layout is opened.
    const std::string saved = Dir.File("saved.set");
    Dialogs.Answer(MsgAnswer::Yes);
    Files.Choose(saved).Choose(second);
    Click(Parts().Principal().Open);
    EXPECT_EQ(ReadBytes(saved), ReadBytes(first));
    EXPECT_EQ(Window->PrincipalLayout.FileName(), second);
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());

    // No opens without saving.
    Window->PrincipalLayout.SetIsDirty(true);
    Dialogs.Answer(MsgAnswer::No);
    Files.Choose(first);
    Menu("mnuPrincOpen")->trigger();
    EXPECT_EQ(Window->PrincipalLayout.FileName(), first);
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    EXPECT_EQ(Dialogs.Shown().size(), 4u);

    // The Additional layout is never saved: opening it asks nothing.
    Window->PrincipalLayout.SetIsDirty(true);
    OpenAdditional(first);
    EXPECT_EQ(Dialogs.Shown().size(), 4u);
}

TEST_F(MainWindowTest, SaveAsStartsOnTheLayoutsOwnFileFolderAndKind) {
    struct Case {
        const char* name;
        int filter;
        const char* ext;
    };
    for (const Case& c : {Case{"turning.lset", 2, "*.lset"}, Case{"milling.set", 1, "*.set"}}) {
        SCOPED_TRACE(c.name);
        const std::string opened = LayoutFile(c.name, ControlsOnScreens({3}));
        OpenPrincipal(opened);
        Files.Cancel();
        Parts().SaveAsItem()->trigger();
        const FileDialogSetup& setup = Files.Shown().back().setup;
        EXPECT_EQ(setup.FileName, c.name);
        EXPECT_EQ(setup.InitDir, Dir.Path());
        EXPECT_EQ(setup.FilterIndex, c.filter);
        EXPECT_EQ(setup.DefaultExt, c.ext);
    }
    // Exit's question leads to the same dialog.
    Window->PrincipalLayout.SetIsDirty(true);
    Dialogs.Answer(MsgAnswer::Yes);
    Files.Cancel();
    EXPECT_FALSE(Window->close());
    EXPECT_EQ(Files.Shown().back().setup.FileName, "milling.set");
}

TEST_F(MainWindowTest, SaveAsBeforeAnythingIsOpenedWritesAnEmptyLayout) {
    const std::string target = Dir.File("empty.set");
    Files.Choose(target);
    Parts().SaveAsItem()->trigger();
    EXPECT_EQ(ReadBytes(target).size(), 44u);
    EXPECT_EQ(Window->SaveDialogErr, 0);
    ASSERT_EQ(Files.Shown().size(), 1u);
    EXPECT_TRUE(Files.Shown()[0].save);
    EXPECT_EQ(Files.Shown()[0].setup,
              (FileDialogSetup{"Save Layout", "Mill Layouts |*.set|Turning Layouts|*.lset|", "",
                               "*.set", "", 0x2006, 1}));
    Click(Parts().SaveAs());
    EXPECT_EQ(Files.Shown().size(), 1u) << "the button waits for a Principal layout";
    Files.Cancel();
    Parts().SaveAsItem()->trigger();
    EXPECT_EQ(Window->SaveDialogErr, FileDialogCancel);
}

TEST_F(MainWindowTest, SaveAsNamesTheFileJustWritten) {
    const std::vector<ControlRecord> records = ControlsOnScreens({3, 1});
    const std::string opened = LayoutFile("opened.lset", records);
    OpenPrincipal(opened);
    Window->PrincipalLayout.SetIsDirty(true);
    const std::string copy = Dir.File("copy.lset");
    Files.Choose(copy);
    Click(Parts().SaveAs());
    EXPECT_EQ(ReadBytes(copy), LayoutFileBytes(records));
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    EXPECT_EQ(Text("txtOpenedFile")->text(), QString::fromStdString(copy));
    EXPECT_EQ(Window->PrincipalLayout.FileName(), copy);
    EXPECT_EQ(Window->windowFilePath(), QString::fromStdString(copy));
    EXPECT_TRUE(Window->windowTitle().startsWith("copy.lset"))
        << Window->windowTitle().toStdString();
    // A lathe layout is offered the turning filter, and the dialog starts where it was left.
    EXPECT_EQ(Files.Shown().back().setup.FilterIndex, 2);
    Files.Cancel();
    Click(Parts().SaveAs());
    EXPECT_EQ(Files.Shown().back().setup.InitDir, Dir.Path());
}

TEST_F(MainWindowTest, ClosingACleanLayoutAsksNothing) {
    EXPECT_TRUE(Window->close());
    EXPECT_TRUE(Dialogs.Shown().empty());
}

TEST_F(MainWindowTest, ClosingADirtyLayoutAsksAndHonoursEachAnswer) {
    Window->PrincipalLayout.SetIsDirty(true);
    Dialogs.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(Window->close());
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Dialogs.Last().prompt, "Do you want to Save As the current Principal layout?");
    EXPECT_EQ(Dialogs.Last().title, "Exiting KorvoScreenQuill");
    EXPECT_EQ(Dialogs.Last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Question);

    Dialogs.Answer(MsgAnswer::Yes);
    Files.Cancel();
    EXPECT_FALSE(Window->close()) << "a cancelled save dialog keeps the window";
    EXPECT_EQ(Window->SaveDialogErr, FileDialogCancel);

    Dialogs.Answer(MsgAnswer::Yes).Answer(MsgAnswer::OK);
    Files.Choose(Dir.File("no such folder/kept.set"));
    EXPECT_FALSE(Window->close()) << "a save that failed keeps the window and the changes";
    EXPECT_EQ(Window->SaveDialogErr, 0);
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());

    Dialogs.Answer(MsgAnswer::Yes);
    Files.Choose(Dir.File("saved.set"));
    EXPECT_TRUE(Window->close());
    EXPECT_EQ(ReadBytes(Dir.File("saved.set")).size(), 44u);
    EXPECT_FALSE(Window->isVisible());
}

TEST_F(MainWindowTest, ClosingWithNoDropsTheChanges) {
    Window->PrincipalLayout.SetIsDirty(true);
    Dialogs.Answer(MsgAnswer::No);
    EXPECT_TRUE(Window->close());
    EXPECT_TRUE(Files.Shown().empty());
}

// Ending the program ends its event loop for good, so each run is a process of its own: File >
// Exit with the layout clean, or dirty and each answer to the exit question. The exit code says
// whether the program ended (0) or kept running (5); what was asked is checked in the process.
struct ExitRun {
    bool dirty;
    std::optional<MsgAnswer> answer;
    bool saveDialogCancelled;
    int code;
};

TEST(MainWindowExitDeathTest, ExitAsksWhatClosingAsksAndEndsOnlyWhenNothingIsLost) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ExitRun runs[] = {
        {false, std::nullopt, false, 0},     {true, MsgAnswer::No, false, 0},
        {true, MsgAnswer::Cancel, false, 5}, {true, MsgAnswer::Yes, true, 5},
        {true, MsgAnswer::Yes, false, 0},
    };
    for (const ExitRun& r : runs) {
        SCOPED_TRACE(r.code);
        const auto run = [&r] {
            TempDir dir;
            ScriptedDialogs dialogs;
            ScriptedFileDialogs files;
            if (r.answer) dialogs.Answer(*r.answer);
            if (r.answer == MsgAnswer::Yes) {
                if (r.saveDialogCancelled)
                    files.Cancel();
                else
                    files.Choose(dir.File("kept.set"));
            }
            KorvoScreenManager window(dialogs, files);
            window.show();
            window.PrincipalLayout.SetIsDirty(r.dirty);
            QTimer::singleShot(0, [&window] { Find<QAction>(window, "mnuExit")->trigger(); });
            // Still running a moment later: the window stayed.
            QTimer::singleShot(500, [&] {
                const bool asked =
                    dialogs.Shown().size() == (r.dirty ? 1u : 0u) &&
                    (!r.dirty || dialogs.Last().prompt ==
                                     "Do you want to Save As the current Principal layout?");
                window.PrincipalLayout.SetIsDirty(false);
                std::_Exit(asked && window.isVisible() ? 5 : 6);
            });
            const int result = QApplication::exec();
            const bool asked = dialogs.Shown().size() == (r.dirty ? 1u : 0u);
            const bool saved = r.answer != MsgAnswer::Yes || FileExists(dir.File("kept.set"));
            std::_Exit(result == 0 && asked && saved && !window.isVisible() ? 0 : 4);
        };
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(r.code), "");
    }
}

TEST_F(MainWindowTest, AppendNeedsAnOpenedPrincipalLayout) {
    const char* const warning = "You cannot Append without opening a Principal Layout first";
    Dialogs.Answer(MsgAnswer::OK);
    QTest::mouseDClick(Parts().Additional().Screens->viewport(), Qt::LeftButton);
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Last().prompt, warning);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Dialogs.Last().buttons, MsgButtons::OK);
    EXPECT_EQ(Dialogs.Last().title, "");

    OpenAdditional(LayoutFile("add.set", ControlsOnScreens({2, 2})));
    SelectRow("AddLayList", 1);
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().AppendToPrincipal());
    EXPECT_EQ(Dialogs.Last().prompt, warning);
    EXPECT_EQ(Dialogs.Shown().size(), 2u);
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 0);
}

TEST_F(MainWindowTest, ControlEditNeedsASelectedScreen) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({2, 2})));
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().EditSelectedScreen());
    EXPECT_EQ(Dialogs.Last().prompt, "No item is selected");
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(Window->EditAllScreens);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, EditButtonsOpenTheEditControlsWindowModally) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({2, 2, 0, 4})));
    QStringList titles;
    std::vector<int> screens;
    const auto look = [&](QWidget* modal) {
        auto* form = qobject_cast<EditControlsWindow*>(modal);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->parentWidget(), Window.get());
        titles << form->windowTitle();
        screens.push_back(form->EditScreenNo());
        form->close();
    };

    SelectRow("PrincLayList", 3);
    OnModals({look});
    Click(Parts().EditSelectedScreen());
    EXPECT_FALSE(Window->EditAllScreens);

    OnModals({look});
    Click(Parts().EditControls());
    EXPECT_TRUE(Window->EditAllScreens);

    EXPECT_EQ(titles, QStringList({"Edit controls on screen 3", "Edit controls on all screens"}));
    EXPECT_EQ(screens, (std::vector<int>{3, -1}));
    EXPECT_TRUE(Dialogs.Shown().empty());
}

TEST_F(MainWindowTest, UndoAndRedoNameTheirStepAndAreThereOnlyWithOne) {
    Window->activateWindow();
    QApplication::setActiveWindow(Window.get());
    OpenPrincipal(LayoutFile("steps.set", ControlsOnScreens({1, 2, 3, 4})));
    EXPECT_FALSE(Parts().UndoItem()->isEnabled());
    SelectRow("PrincLayList", 2);
    Click(Parts().DeleteScreen());
    EXPECT_TRUE(Parts().UndoItem()->isEnabled());
    EXPECT_EQ(Parts().UndoItem()->text(), "&Undo Delete screen(s)");
    EXPECT_FALSE(Parts().RedoItem()->isEnabled());

    Dialogs.Answer(MsgAnswer::Yes);
    QTest::keyClick(Window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Dialogs.Last().prompt, "Is it OK to undo Delete screen(s) done 1 times?");
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 10);
    EXPECT_FALSE(Parts().UndoItem()->isEnabled());
    EXPECT_EQ(Parts().RedoItem()->text(), "&Redo Delete screen(s)");
    EXPECT_FALSE(Window->isWindowModified()) << "back where it was opened";

    // Redo asks nothing, by either key.
    QTest::keyClick(Window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 7);
    EXPECT_TRUE(Window->isWindowModified());
    Dialogs.Answer(MsgAnswer::Yes);
    Parts().UndoItem()->trigger();
    QTest::keyClick(Window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 7);
    EXPECT_EQ(Dialogs.Shown().size(), 2u) << "one question for each undo, none for a redo";
}

TEST_F(MainWindowTest, MenuItemsAreReachedThroughTheirMnemonics) {
    Window->activateWindow();
    QApplication::setActiveWindow(Window.get());
    QTest::keyClick(Window.get(), Qt::Key_E, Qt::AltModifier);
    QMenu* edit = Get<QMenu>("mnuEdit");
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->isVisible(); }, 1000));
    Dialogs.Answer(MsgAnswer::OK);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Last().prompt, "You cannot Append without opening a Principal Layout first");
}

TEST_F(MainWindowTest, CsvDialogsAndACancelledOne) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({2})));
    Files.Cancel().Cancel();
    Click(Parts().Export());
    Click(Parts().Import());
    ASSERT_EQ(Files.Shown().size(), 3u);
    // They start in the root folder of drive C where there is one;
    // elsewhere, without a folder of their own yet, beside the Principal layout.
    const bool driveC = QDir(QStringLiteral("c:\\")).exists();
    EXPECT_TRUE(Files.Shown()[1].save);
    EXPECT_EQ(Files.Shown()[1].setup,
              (FileDialogSetup{"Save As CSV file", "Comma Separated Variable|*.csv",
                               driveC ? "c:\\" : Dir.Path(), "*.csv", "junk", 0x2006}));
    EXPECT_FALSE(Files.Shown()[2].save);
    EXPECT_EQ(Files.Shown()[2].setup, (FileDialogSetup{"Import CSV file", "CSV files |*.csv",
                                                       driveC ? "C:\\" : Dir.Path(), "", "", 0x1004}));
    EXPECT_FALSE(Parts().AppendToPrincipal()->isEnabled());
    EXPECT_EQ(Text("txtAddFile")->text(), "<none>");
}

// A file dialog that fails in a way no handler expects.
class ThrowingFileDialogs : public FileDialogs {
public:
    int ShowOpen(const FileDialogSetup&, std::string&) override {
        throw std::runtime_error("the dialog broke");
    }
    int ShowSave(const FileDialogSetup&, std::string&) override { throw 42; }
};

TEST(MainWindowFaults, NothingAHandlerThrowsReachesTheEventLoop) {
    ScriptedDialogs dialogs;
    ThrowingFileDialogs files;
    KorvoScreenManager window(dialogs, files);
    window.show();
    dialogs.Answer(MsgAnswer::OK, 2);
    QTest::mouseClick(Find<QPushButton>(window, "butOpen"), Qt::LeftButton);
    Find<QAction>(window, "mnuPrincSaveAs")->trigger();
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[0].prompt, "The command could not be completed: the dialog broke");
    EXPECT_EQ(dialogs.Shown()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(dialogs.Shown()[1].prompt, "The command could not be completed: an unknown fault");

    // At the exit question a failing save keeps the window open.
    window.PrincipalLayout.SetIsDirty(true);
    dialogs.Answer(MsgAnswer::Yes).Answer(MsgAnswer::OK);
    EXPECT_FALSE(window.close());
    window.PrincipalLayout.SetIsDirty(false);
}

} // namespace
