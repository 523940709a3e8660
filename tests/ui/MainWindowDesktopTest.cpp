// The main window on a desktop: resizing and the settings that keep its size, files named on the
// command line or dropped on a frame, Save and its backup, the recent layouts, the title, the
// status bar and the keys.

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <optional>
#include <tuple>

#include "CsvExamples.h"
#include "LayoutBuilders.h"
#include "ScriptedDialogs.h"
#include <QHeaderView>

#include "MainWindowParts.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "check/LayoutCheck.h"
#include "ui/app/CommandLine.h"
#include "ui/mainwindow/KorvoScreenManager.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/QtUserDialogs.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

class DesktopTest : public ::testing::Test {
protected:
    // The program's settings file, which the test run keeps in a scratch folder of its own.
    DesktopTest()
        : Settings(QSettings::IniFormat, QSettings::UserScope, "KorvoScreenQuill",
                   "KorvoScreenQuill") {
        Settings.clear();
        Window = NewWindow();
    }
    ~DesktopTest() override {
        for (auto* window : {Window.get(), Second.get()})
            if (window != nullptr) window->PrincipalLayout.SetIsDirty(false);
    }

    std::unique_ptr<KorvoScreenManager> NewWindow() {
        auto window = std::make_unique<KorvoScreenManager>(Dialogs, Files, &Settings);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
        return window;
    }

    template <typename Control> Control* Get(const char* name, KorvoScreenManager* in = nullptr) {
        return Find<Control>(in != nullptr ? *in : *Window, name);
    }
    QTreeWidget* List(const char* name) { return Get<QTreeWidget>(name); }
    QString Text(const char* name) { return Get<QLineEdit>(name)->text(); }
    void Trigger(const char* name) { Get<QAction>(name)->trigger(); }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    MainWindowParts Parts() const { return MainWindowParts(*Window); }
    void SelectRow(const char* list, int row) {
        List(list)->setCurrentItem(List(list)->topLevelItem(row));
    }

    std::string LayoutFile(const std::string& name, const std::vector<ControlRecord>& records) {
        return Dir.Write(name, LayoutFileBytes(records));
    }
    std::string CsvFile(const std::string& name) {
        return Dir.Write(name, CsvHeadingLine + CycleStartLine);
    }
    void OpenPrincipal(const std::string& path) {
        Files.Choose(path);
        Click(Parts().Principal().Open);
    }

    // Waits until the window has taken its new size and its layouts have followed.
    void ResizeTo(KorvoScreenManager& window, QSize size) {
        window.resize(size);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == size; }, 1000));
        QApplication::processEvents();
    }

    QSettings Settings;
    TempDir Dir;
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    std::unique_ptr<KorvoScreenManager> Window;
    std::unique_ptr<KorvoScreenManager> Second;
};

// The 16 rows of the host's screens (rows of screens beyond them may follow).
bool AllRowsShow(QTreeWidget& list) {
    if (list.topLevelItemCount() < 16) return false;
    const QRect last = list.visualItemRect(list.topLevelItem(15));
    return last.isValid() && last.bottom() < list.viewport()->height();
}

QRect InWindow(QWidget* control) {
    return QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size());
}

TEST_F(DesktopTest, EnlargingGivesTheWidthToThePreviewsAndTheButtonsStayBesideTheLists) {
    Dialogs.Answer(MsgAnswer::OK); // the sample mill has a duplicate screen label
    OpenPrincipal(SamplePath("mill.set"));
    Files.Choose(SamplePath("lathe.lset"));
    Click(Parts().Additional().Open);
    const QSize princ = Parts().Principal().Screens->size();
    const QSize add = Parts().Additional().Screens->size();

    ResizeTo(*Window, QSize(1600, 1000));
    const int princHost = Get<QWidget>("PrincPreviewHost")->width();
    for (const auto& [name, host, before] : {std::tuple("PrincLayList", "PrincPreviewHost", princ),
                                             {"AddLayList", "AddPreviewHost", add}}) {
        SCOPED_TRACE(name);
        QTreeWidget* list = List(name);
        QWidget* preview = Get<QWidget>(host);
        // The list keeps what it had and every column in sight; the preview takes the rest of
        // the width gained.
        EXPECT_GE(list->width(), before.width());
        EXPECT_TRUE(preview->isVisible());
        EXPECT_GT(preview->width(), list->width() - before.width());
        EXPECT_GT(list->width() + preview->width(), before.width() + 400);
        const int columns = list->header()->length();
        EXPECT_LE(columns, list->viewport()->width() + 1) << "no column is cut";
        EXPECT_GT(list->height(), before.height() + 100);
        EXPECT_TRUE(AllRowsShow(*list));
    }
    // Wider still, the previews grow and the lists stay.
    const int princList = Parts().Principal().Screens->width();
    ResizeTo(*Window, QSize(1900, 1000));
    EXPECT_GT(Get<QWidget>("PrincPreviewHost")->width(), princHost);
    EXPECT_EQ(Parts().Principal().Screens->width(), princList);
    // Every button lies inside its frame, wide enough for its caption.
    for (const char* frame : {"fraOPrinc", "fraOAdd"}) {
        QWidget* box = Get<QWidget>(frame);
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            SCOPED_TRACE(button->objectName().toStdString());
            EXPECT_TRUE(InWindow(box).contains(InWindow(button)));
            EXPECT_GE(button->width(),
                      button->fontMetrics().horizontalAdvance(
                          button->text().split('\n').first().remove('&')) / 2);
        }
    }
    ResizeTo(*Window, QSize(1600, 1000));

    // The buttons keep their order at the lists' right.
    QWidget* frame1 = Get<QWidget>("Frame1");
    EXPECT_GE(InWindow(frame1).left(), InWindow(Parts().Principal().Screens).right());
    EXPECT_GE(InWindow(Get<QWidget>("Frame3")).left(), InWindow(Parts().Additional().Screens).right());
    int top = -1;
    for (const char* name :
         {"butEditSel", "butPromote", "butDemote", "butUpdateCapts", "butDelete"}) {
        const QRect at = InWindow(Get<QWidget>(name));
        EXPECT_GT(at.top(), top) << name;
        EXPECT_TRUE(InWindow(frame1).contains(at)) << name;
        top = at.bottom();
    }
    // The preview hosts lie in their frames, ready for a pane.
    for (const auto& [host, frame] :
         {std::pair("PrincPreviewHost", "fraOPrinc"), {"AddPreviewHost", "fraOAdd"}}) {
        QWidget* widget = Get<QWidget>(host);
        EXPECT_NE(widget->layout(), nullptr) << host;
        EXPECT_TRUE(Get<QWidget>(frame)->isAncestorOf(widget)) << host;
    }

    // Smaller than its design size, the window scrolls its frames, which keep their size.
    Window->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(Get<QWidget>("ClientArea")->size(), QSize(702, 537)) << "never below the default";
}

// Moves a splitter's handle as the user would drag it.
void DragHandle(QSplitter& splitter, int by) {
    QSplitterHandle* handle = splitter.handle(1);
    const QPoint from = handle->rect().center();
    const QPoint to =
        from + (splitter.orientation() == Qt::Vertical ? QPoint(0, by) : QPoint(by, 0));
    const auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST_F(DesktopTest, SizeSplitterAndColumnsComeBackFromTheSettings) {
    EXPECT_TRUE(Settings.fileName().startsWith(QDir::tempPath())) << "a scratch file";
    const QSize room = Window->screen()->availableGeometry().size();
    const QSize defaultSize = Window->size();
    ASSERT_TRUE(room.width() > defaultSize.width() && room.height() >= defaultSize.height());
    // As large as the room a window has, less what the window manager adds around it.
    const QSize size = room - QSize(16, 40);
    ResizeTo(*Window, size);
    auto* splitter = Get<QSplitter>("FrameSplitter");
    const QList<int> before = splitter->sizes();
    DragHandle(*splitter, -20);
    const QList<int> moved = splitter->sizes();
    EXPECT_LT(moved[0], before[0]);
    Parts().Principal().Screens->setColumnWidth(2, 211);
    Parts().Additional().Screens->setColumnWidth(4, 97);
    EXPECT_TRUE(Window->close());

    Second = NewWindow();
    QApplication::processEvents();
    EXPECT_EQ(Second->size(), size);
    EXPECT_EQ(Get<QSplitter>("FrameSplitter", Second.get())->sizes(), moved);
    EXPECT_EQ(Get<QTreeWidget>("PrincLayList", Second.get())->columnWidth(2), 211);
    EXPECT_EQ(Get<QTreeWidget>("AddLayList", Second.get())->columnWidth(4), 97);
    Second->close();

    // A size kept on a larger screen than this one is not used; the splitter shift still is.
    Settings.setValue("MainWindow/Size", room + QSize(1, 1));
    Second = NewWindow();
    EXPECT_EQ(Second->size(), defaultSize);
}

TEST(CommandLine, WhatEachCommandLineAsksFor) {
    using Action = CommandLineRequest::Action;
    const struct {
        std::vector<std::string> arguments;
        Action what;
        std::string principal, additional;
    } cases[] = {
        {{}, Action::Run, "", ""},
        {{"a.set"}, Action::Run, "a.set", ""},
        {{"a.set", "b.csv"}, Action::Run, "a.set", "b.csv"},
        {{"a.set", "b.set", "c.set"}, Action::Error, "", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"a.set", "-h"}, Action::Help, "", ""},
        {{"--version"}, Action::Version, "", ""},
        {{"-v"}, Action::Version, "", ""},
        {{"--bogus"}, Action::Error, "", ""},
        {{"-"}, Action::Error, "", ""},
        // Qt's own options are left for Qt, with their values.
        {{"-style", "fusion", "a.set"}, Action::Run, "a.set", ""},
        {{"--style=fusion", "a.set"}, Action::Run, "a.set", ""},
        {{"-reverse", "a.set"}, Action::Run, "a.set", ""},
        {{"a.set", "-style"}, Action::Error, "", ""},
        // After "--" everything is a file.
        {{"--", "-odd.set", "--help"}, Action::Run, "-odd.set", "--help"},
        {{"", "a.set"}, Action::Run, "a.set", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? std::string("(none)") : c.arguments.front());
        const CommandLineRequest request = ParseCommandLine(c.arguments);
        EXPECT_EQ(request.What, c.what);
        EXPECT_EQ(request.Principal, c.principal);
        EXPECT_EQ(request.Additional, c.additional);
        EXPECT_EQ(request.Error.empty(), c.what != Action::Error);
    }
}

// The built program, without any display to be had.
struct ProgramRun {
    int code;
    QString out, err;
};

ProgramRun RunProgram(const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILL_UI_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForFinished(10000));
    // Text as written, with Windows' line ends as the other systems'.
    const auto text = [](const QByteArray& bytes) {
        return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            text(program.readAllStandardOutput()), text(program.readAllStandardError())};
}

TEST(ProgramCommandLine, HelpVersionAndABadOptionNeedNoDisplay) {
    const ProgramRun help = RunProgram({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(
        help.out.startsWith("Usage: korvoscreenquill [OPTION]... [PRINCIPAL [ADDITIONAL]]"));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const ProgramRun version = RunProgram({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "korvoscreenquill 4.0 (KorvoScreenQuill A4.0)\n");

    const ProgramRun bad = RunProgram({"--frobnicate", "mill.set"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.contains("unknown option '--frobnicate'")) << bad.err.toStdString();

#ifndef Q_OS_WIN
    // Without options the program wants a display and says so. (Windows always has one.)
    const ProgramRun window = RunProgram({"mill.set"});
    EXPECT_EQ(window.code, 1);
    EXPECT_TRUE(window.err.contains("needs a display")) << window.err.toStdString();
#endif
}

// A path named on the command line is shown as the system spells paths, as a file dialog gives it.
QString AsShown(const std::string& path) {
    return QString::fromStdString(ChosenPath(QString::fromStdString(path)));
}

TEST_F(DesktopTest, FilesNamedOnTheCommandLineOpenAsTheButtonsOpenThem) {
    const std::string principal = LayoutFile("p.set", ControlsOnScreens({2, 3}));
    const std::string additional = LayoutFile("a.lset", ControlsOnScreens({4}));
    Window->OpenFromCommandLine(principal, additional);
    EXPECT_EQ(Text("txtOpenedFile"), AsShown(principal));
    EXPECT_EQ(Text("txtAddFile"), AsShown(additional));
    EXPECT_TRUE(Get<QPushButton>("butSaveAs")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("butAppendToPrinc")->isEnabled());
    EXPECT_EQ(Parts().Additional().Screens->topLevelItem(0)->text(1), "4");
    EXPECT_TRUE(Dialogs.Shown().empty());

    // A CSV second is imported, with the caution the button gives.
    const std::string csv = CsvFile("screens.csv");
    Dialogs.Answer(MsgAnswer::OK);
    Window->OpenFromCommandLine("", csv);
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    const ShownBox caution = Dialogs.Last();
    EXPECT_EQ(caution.title, "Caution!");
    EXPECT_EQ(Text("txtAddFile"), AsShown(csv));
    Dialogs.Answer(MsgAnswer::OK);
    Files.Choose(ChosenPath(QString::fromStdString(csv)));
    Click(Parts().Import());
    EXPECT_EQ(Dialogs.Last().prompt, caution.prompt);

    // A missing file warns as it would through the dialog, and the window carries on.
    const std::string missing = Dir.File("gone.set");
    Dialogs.ClearShown();
    Dialogs.Answer(MsgAnswer::OK, 2);
    Window->OpenFromCommandLine(missing, "");
    Files.Choose(ChosenPath(QString::fromStdString(missing)));
    Click(Parts().Principal().Open);
    ASSERT_EQ(Dialogs.Shown().size(), 2u);
    EXPECT_EQ(Dialogs.Shown()[0].prompt, Dialogs.Shown()[1].prompt);
    EXPECT_NE(Dialogs.Shown()[0].prompt.find("gone.set"), std::string::npos);
    EXPECT_EQ(Dialogs.Shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Text("txtOpenedFile"), AsShown(principal));
    EXPECT_TRUE(Window->isVisible());
}

// Drops files on a frame as a file manager would; true when the frame took the drop.
bool DropOn(QWidget* frame, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at = frame->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(frame, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(frame, &drop);
    // The drop is taken once the drag is over.
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST_F(DesktopTest, DroppedFilesOpenInTheirFrameAndOtherKindsAreRefused) {
    const QString set = QString::fromStdString(LayoutFile("drop.set", ControlsOnScreens({5})));
    const QString lset = QString::fromStdString(LayoutFile("drop.lset", ControlsOnScreens({6})));
    const QString csv = QString::fromStdString(CsvFile("drop.csv"));
    const QString text = QString::fromStdString(Dir.Write("notes.txt", "x"));
    QWidget* principal = Get<QGroupBox>("fraOPrinc");
    QWidget* additional = Get<QGroupBox>("fraOAdd");

    const struct {
        QWidget* frame;
        QStringList paths;
        std::optional<MsgAnswer> answer; // the one box the drop shows, if any
        const char* box;                 // the box's title, or part of its prompt
        const char* principalShown;
        const char* additionalShown;
    } drops[] = {
        {principal, {set}, {}, "", "drop.set", "<none>"},
        {additional, {lset}, {}, "", "drop.set", "drop.lset"},
        {additional, {csv}, MsgAnswer::OK, "Caution!", "drop.set", "drop.csv"},
        {principal, {lset}, {}, "", "drop.lset", "drop.csv"},
        {principal, {csv}, MsgAnswer::OK, "is a CSV file", "drop.lset", "drop.csv"},
        {additional, {text}, MsgAnswer::OK, "cannot be opened here", "drop.lset", "drop.csv"},
        {principal, {set, lset}, MsgAnswer::OK, "one file at a time", "drop.lset", "drop.csv"},
    };
    for (const auto& d : drops) {
        SCOPED_TRACE(d.paths.join(' ').toStdString());
        Dialogs.ClearShown();
        if (d.answer) Dialogs.Answer(*d.answer);
        EXPECT_TRUE(DropOn(d.frame, d.paths));
        ASSERT_EQ(Dialogs.Shown().size(), d.answer ? 1u : 0u);
        if (d.answer) {
            const ShownBox& box = Dialogs.Last();
            EXPECT_TRUE(box.title == d.box || box.prompt.find(d.box) != std::string::npos)
                << box.prompt;
        }
        EXPECT_TRUE(Text("txtOpenedFile").endsWith(d.principalShown));
        EXPECT_TRUE(Text("txtAddFile").endsWith(d.additionalShown));
    }

    // Over a changed layout the drop asks as Open does; Cancel keeps the layout.
    Window->PrincipalLayout.SetIsDirty(true);
    Dialogs.ClearShown();
    Dialogs.Answer(MsgAnswer::Cancel);
    EXPECT_TRUE(DropOn(principal, {set}));
    EXPECT_EQ(Dialogs.Last().title, "OK to Open another?");
    EXPECT_TRUE(Text("txtOpenedFile").endsWith("drop.lset"));
    Dialogs.Answer(MsgAnswer::No);
    EXPECT_TRUE(DropOn(principal, {set}));
    EXPECT_TRUE(Text("txtOpenedFile").endsWith("drop.set"));
}

TEST_F(DesktopTest, SaveKeepsTheOldFileAsItsBackup) {
    const std::vector<ControlRecord> records = ControlsOnScreens({2, 3, 4, 5});
    const std::string path = LayoutFile("mill.set", records);
    const std::string original = ReadBytes(path);
    OpenPrincipal(path);
    SelectRow("PrincLayList", 1);
    Click(Parts().DeleteScreen());
    ASSERT_TRUE(Window->PrincipalLayout.IsDirty());
    Trigger("mnuPrincSave");
    EXPECT_EQ(Files.Shown().size(), 1u) << "Save asks for no file";
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    const std::string saved = ReadBytes(path);
    EXPECT_NE(saved, original);
    EXPECT_EQ(ReadBytes(path + ".bak"), original);

    // A backup that cannot be written stops the save: neither file changes.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path + ".bak")));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(path + ".bak")));
    SelectRow("PrincLayList", 1);
    Click(Parts().DeleteScreen());
    Dialogs.Answer(MsgAnswer::OK);
    Trigger("mnuPrincSave");
    EXPECT_NE(Dialogs.Last().prompt.find("backup"), std::string::npos) << Dialogs.Last().prompt;
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path + ".bak")).isDir());
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());
    EXPECT_TRUE(Window->isWindowModified());

    // After Save As, Save writes the new file, which the box and the title name.
    const std::string other = Dir.File("other.set");
    Files.Choose(other);
    Trigger("mnuPrincSaveAs");
    const std::string first = ReadBytes(other);
    SelectRow("PrincLayList", 1);
    Click(Parts().DeleteScreen());
    Trigger("mnuPrincSave");
    EXPECT_EQ(ReadBytes(other + ".bak"), first);
    EXPECT_NE(ReadBytes(other), first);
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_EQ(Text("txtOpenedFile"), QString::fromStdString(other));
    EXPECT_EQ(Window->windowFilePath(), QString::fromStdString(other));
    EXPECT_EQ(Window->windowTitle(), "other.set[*] - KorvoScreenQuill");
}

TEST_F(DesktopTest, SaveWithoutAFileIsSaveAs) {
    Files.Cancel();
    Trigger("mnuPrincSave");
    ASSERT_EQ(Files.Shown().size(), 1u);
    EXPECT_TRUE(Files.Shown()[0].save);
    EXPECT_EQ(Files.Shown()[0].setup.DialogTitle, "Save Layout");
    EXPECT_EQ(Window->SaveDialogErr, FileDialogCancel);
}

// The paths of the Recent menu, with the separators of the paths the tests name.
QStringList RecentShown(KorvoScreenManager& window) {
    QStringList paths;
    for (QAction* item : Find<QMenu>(window, "mnuRecent")->actions())
        if (item->objectName().startsWith("mnuRecent") && item->objectName() != "mnuRecentClear")
            paths << QDir::fromNativeSeparators(item->text().section(' ', 1));
    return paths;
}

TEST_F(DesktopTest, RecentLayoutsKeepTheLastEightNewestFirst) {
    QStringList opened;
    for (int i = 1; i <= 9; ++i) {
        const std::string path =
            LayoutFile("l" + std::to_string(i) + ".set", ControlsOnScreens({i}));
        Files.Choose(path);
        Click(i % 2 == 0 ? "butAddOpen" : "butOpen");
        opened.prepend(QString::fromStdString(path));
    }
    EXPECT_EQ(RecentShown(*Window), opened.mid(0, 8));

    // Opening one again puts it first, once; saving adds the file written.
    Files.Choose(opened[4].toStdString());
    Click(Parts().Additional().Open);
    opened.move(4, 0);
    EXPECT_EQ(RecentShown(*Window), opened.mid(0, 8));
    const QString saved = QString::fromStdString(Dir.File("saved.set"));
    Files.Choose(saved.toStdString());
    Trigger("mnuPrincSaveAs");
    opened.prepend(saved);
    EXPECT_EQ(RecentShown(*Window), opened.mid(0, 8));

    // The list is kept for the next run; an entry that vanished is refused and dropped.
    Window->close();
    Second = NewWindow();
    EXPECT_EQ(RecentShown(*Second), opened.mid(0, 8));
    ASSERT_TRUE(QFile::remove(opened[2]));
    Dialogs.Answer(MsgAnswer::OK);
    Get<QAction>("mnuRecent3", Second.get())->trigger();
    EXPECT_NE(Dialogs.Last().prompt.find("no longer there"), std::string::npos);
    opened.removeAt(2);
    EXPECT_EQ(RecentShown(*Second), opened.mid(0, 7));
    EXPECT_EQ(Get<QLineEdit>("txtOpenedFile", Second.get())->text(), "<none>");

    // An entry opens as the Principal layout.
    Get<QAction>("mnuRecent2", Second.get())->trigger();
    EXPECT_EQ(Get<QLineEdit>("txtOpenedFile", Second.get())->text(), opened[1]);
}

// Names beyond ASCII in the folder and the file: Windows knows them only in UTF-16, so every step
// from the dialog's answer to the settings must keep them whole.
TEST_F(DesktopTest, ALayoutInAFolderNamedBeyondAsciiOpensSavesWithItsBackupAndIsRecent) {
    const std::string folder = Dir.File("Prüfstand Ωμέγα 工程");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    const std::string path =
        Dir.Write("Prüfstand Ωμέγα 工程/Drehbank ß.lset", LayoutFileBytes(ControlsOnScreens({2, 3})));
    const std::string original = ReadBytes(path);
    ASSERT_FALSE(original.empty());

    OpenPrincipal(path);
    EXPECT_EQ(Text("txtOpenedFile"), QString::fromStdString(path));
    EXPECT_EQ(Get<QLabel>("StatusRecords")->text(), "Principal layout: 5 records");

    SelectRow("PrincLayList", 1);
    Click(Parts().DeleteScreen());
    ASSERT_TRUE(Window->PrincipalLayout.IsDirty());
    const int kept = Window->PrincipalLayout.ControlCount();
    Trigger("mnuPrincSave");
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    EXPECT_NE(ReadBytes(path), original);
    EXPECT_EQ(ReadBytes(path + ".bak"), original);
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files),
              QStringList({"Drehbank ß.lset", "Drehbank ß.lset.bak"}));

    // Found again in Recent by the next run, and opened from there.
    const std::string saved = ReadBytes(path);
    Window->close();
    Second = NewWindow();
    ASSERT_FALSE(RecentShown(*Second).isEmpty());
    EXPECT_EQ(RecentShown(*Second).first(), QString::fromStdString(path));
    Get<QAction>("mnuRecent1", Second.get())->trigger();
    EXPECT_EQ(Get<QLineEdit>("txtOpenedFile", Second.get())->text(), QString::fromStdString(path));
    EXPECT_EQ(Second->PrincipalLayout.ControlCount(), kept);
    EXPECT_EQ(ReadBytes(path), saved);
}

TEST_F(DesktopTest, TitleAndStatusBarFollowEveryCommand) {
    EXPECT_EQ(Window->windowTitle(), "KorvoScreenQuill[*]");
    QLabel* records = Get<QLabel>("StatusRecords");
    QLabel* next = Get<QLabel>("StatusNextScreen");
    EXPECT_EQ(records->text(), "Principal layout: 0 records");

    const std::string path = LayoutFile("five.set", ControlsOnScreens({2, 3}));
    OpenPrincipal(path);
    EXPECT_EQ(Window->windowFilePath(), QString::fromStdString(path));
    EXPECT_EQ(Window->windowTitle(), "five.set[*] - KorvoScreenQuill");
    EXPECT_FALSE(Window->isWindowModified());
    EXPECT_EQ(records->text(), "Principal layout: 5 records");
    EXPECT_EQ(next->text(), "The next append fills screen 2");

    SelectRow("PrincLayList", 1);
    Click(Parts().DeleteScreen());
    EXPECT_TRUE(Window->isWindowModified());
    EXPECT_EQ(records->text(), "Principal layout: 2 records");
    EXPECT_EQ(next->text(), "The next append fills screen 1");

    Dialogs.Answer(MsgAnswer::No); // the open question over the changed layout
    OpenPrincipal(LayoutFile("full.set", ControlsOnScreens(std::vector<int>(16, 1))));
    EXPECT_EQ(next->text(), "No empty screen for an append");
}

TEST_F(DesktopTest, KeysWorkInTheirList) {
    OpenPrincipal(LayoutFile("keys.set", ControlsOnScreens({1, 2, 3})));
    QTreeWidget* principal = Parts().Principal().Screens;
    principal->setFocus();
    SelectRow("PrincLayList", 2);
    QTest::keyClick(principal, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(principal->topLevelItem(1)->text(1), "3") << "Alt+Up moved screen 2 up";
    QTest::keyClick(principal, Qt::Key_Delete);
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 3) << "Delete took the selected screen";
    EXPECT_TRUE(Dialogs.Shown().empty());

    // Enter in the Additional list appends, as a double-click does.
    QTreeWidget* additional = Parts().Additional().Screens;
    additional->setFocus();
    Dialogs.Answer(MsgAnswer::OK);
    QTest::keyClick(additional, Qt::Key_Return);
    EXPECT_EQ(Dialogs.Last().title, "Success!");
}

// The controls a preview draws of its own screen, leaving out the Persistent screen's.
int OwnItems(const ScreenScene& scene) {
    int n = 0;
    for (const SceneItem& item : scene.Items)
        n += item.Persistent ? 0 : 1;
    return n;
}

TEST_F(DesktopTest, PreviewPanesShowTheSelectedScreenWhereThereIsRoom) {
    OpenPrincipal(LayoutFile("p.set", ControlsOnScreens({1, 2, 3})));
    Files.Choose(LayoutFile("a.set", ControlsOnScreens({4, 5})));
    Click(Parts().Additional().Open);
    auto* princ = Parts().Principal().Preview;
    auto* add = Parts().Additional().Preview;
    QApplication::processEvents();
    // At the default size the lists keep all their width.
    EXPECT_FALSE(Get<QWidget>("PrincPreviewHost")->isVisible());
    EXPECT_FALSE(Get<QWidget>("AddPreviewHost")->isVisible());

    ResizeTo(*Window, QSize(1600, 1000));
    for (ScreenPreview* pane : {princ, add}) {
        SCOPED_TRACE(pane->objectName().toStdString());
        EXPECT_TRUE(pane->isVisible());
        EXPECT_GE(pane->width(), pane->minimumSizeHint().width());
        EXPECT_GE(pane->height(), pane->minimumSizeHint().height());
        EXPECT_EQ(pane->Layout(), nullptr) << "nothing selected yet";
    }
    EXPECT_GE(Parts().Principal().Screens->width(), 8535 / 15);

    SelectRow("AddLayList", 1);
    EXPECT_EQ(add->Layout(), &Window->AdditionalLayout);
    EXPECT_EQ(add->Screen(), 1);
    EXPECT_EQ(OwnItems(add->Scene()), 5);
    SelectRow("PrincLayList", 1);
    EXPECT_EQ(princ->Layout(), &Window->PrincipalLayout);
    EXPECT_EQ(OwnItems(princ->Scene()), 2);

    // After a command the pane shows the layout as it now is.
    Click(Parts().DeleteScreen());
    if (princ->Layout() != nullptr) {
        EXPECT_EQ(OwnItems(princ->Scene()),
                  Parts().Principal().Screens->topLevelItem(princ->Screen())->text(1).toInt());
    }
    EXPECT_NE(OwnItems(princ->Scene()), 2);
}

// The frames' buttons and the menu items are one command each: the action holds the enabled
// state, the button follows it at once and pressing the button triggers the action.
TEST_F(DesktopTest, EachFrameButtonFollowsItsMenuAction) {
    const MainWindowParts parts(*Window);
    struct Pair {
        QPushButton* Button;
        QAction* Item;
        bool NeedsLayout;
    };
    const Pair pairs[] = {
        {parts.Principal().Open, parts.OpenPrincipalItem(), false},
        {parts.Additional().Open, parts.OpenAdditionalItem(), false},
        {parts.Import(), parts.ImportItem(), false},
        {parts.Export(), parts.ExportItem(), true},
        {parts.Check(), parts.CheckItem(), true},
        {parts.EditControls(), parts.EditControlsItem(), true},
        {parts.EditSelectedScreen(), parts.EditSelectedScreenItem(), true},
        {parts.DeleteScreen(), parts.DeleteScreenItem(), true},
        {parts.PromoteScreen(), parts.PromoteScreenItem(), true},
        {parts.DemoteScreen(), parts.DemoteScreenItem(), true},
        {parts.UpdateCaptions(), parts.UpdateCaptionsItem(), true},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(p.Item->isEnabled(), !p.NeedsLayout) << p.Item->objectName().toStdString();
        EXPECT_EQ(p.Button->isEnabled(), p.Item->isEnabled()) << p.Button->objectName().toStdString();
    }
    EXPECT_FALSE(parts.SaveAs()->isEnabled());
    EXPECT_TRUE(parts.SaveAsItem()->isEnabled()) << "the menu saves a new layout too";
    Dialogs.Answer(MsgAnswer::OK); // the sample mill has a duplicate screen label
    OpenPrincipal(SamplePath("mill.set"));
    EXPECT_TRUE(parts.SaveAs()->isEnabled());
    for (const Pair& p : pairs) {
        const std::string name = p.Button->objectName().toStdString();
        EXPECT_TRUE(p.Item->isEnabled()) << name;
        EXPECT_TRUE(p.Button->isEnabled()) << name;
        p.Item->setEnabled(false);
        EXPECT_FALSE(p.Button->isEnabled()) << name << " follows its action at once";
        p.Item->setEnabled(true);
        EXPECT_TRUE(p.Button->isEnabled()) << name;
    }
    // Pressing a button is triggering its action (here one that only asks for a file).
    int triggered = 0;
    QObject::connect(parts.ExportItem(), &QAction::triggered, [&] { ++triggered; });
    parts.ExportItem()->setEnabled(false);
    parts.Export()->click();
    EXPECT_EQ(triggered, 0) << "a disabled button does nothing";
    parts.ExportItem()->setEnabled(true);
    Files.Cancel();
    parts.Export()->click();
    EXPECT_EQ(triggered, 1);
}

TEST_F(DesktopTest, TheCheckWindowLeadsToItsFindingAndFollowsTheCommands) {
    EXPECT_FALSE(Get<QPushButton>("butCheck")->isEnabled()) << "nothing to check yet";
    EXPECT_FALSE(Get<QAction>("mnuCheck")->isEnabled());
    Dialogs.Answer(MsgAnswer::OK); // the sample mill has a duplicate screen label
    OpenPrincipal(SamplePath("mill.set"));
    ResizeTo(*Window, QSize(1600, 1000));
    Click(Parts().Check());
    auto* check = Window->findChild<LayoutCheckWindow*>("frmCheck");
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(check));

    int row = -1;
    for (std::size_t i = 0; i < check->Findings().size(); ++i)
        if (check->Findings()[i].Code == CheckCode::DuplicateScreenLabel) row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    const Finding finding = check->Findings()[static_cast<std::size_t>(row)];
    auto* table = Find<QTableWidget>(*check, "tblFindings");
    table->scrollToItem(table->item(row, LayoutCheckWindow::ColMessage));
    const QRect cell = table->visualItemRect(table->item(row, LayoutCheckWindow::ColMessage));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTreeWidgetItem* selected = Parts().Principal().Screens->currentItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->text(0).toInt(), finding.Screen);
    auto* preview = Parts().Principal().Preview;
    EXPECT_EQ(preview->Screen(), finding.Screen);
    EXPECT_EQ(preview->HighlightedRecord(), finding.Record);

    // Deleting the screen takes its finding away from the window left open.
    Click(Parts().DeleteScreen());
    EXPECT_TRUE(check->isVisible());
    for (const Finding& f : check->Findings())
        EXPECT_NE(f.Code, CheckCode::DuplicateScreenLabel);
    // The menu item brings the same window back rather than a second one.
    Trigger("mnuCheck");
    EXPECT_EQ(Window->findChildren<LayoutCheckWindow*>().size(), 1);
}

TEST_F(DesktopTest, BoxesBelongToTheMainWindow) {
    EXPECT_EQ(DialogOwner(), Window.get());
    QtUserDialogs boxes;
    QWidget* owner = nullptr;
    WhenModal([&owner](QWidget* box) {
        owner = box->parentWidget();
        static_cast<QDialog*>(box)->reject();
    });
    boxes.MsgBox("Centred on its window", MsgButtons::OK, MsgIcon::None);
    EXPECT_EQ(owner, Window.get());
}

} // namespace
