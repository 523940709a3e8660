// The file dialogs of the seam over QFileDialog: filters, folders, extension, name and flags.

#include <QDir>
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "ScriptedDialogs.h"
#include "UiTestSupport.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/QtFileDialogs.h"

namespace {

// A path as the dialogs give the one chosen: spelled as the system spells paths.
std::string Chosen(const std::string& path) {
    return ChosenPath(QString::fromStdString(path));
}

TEST(QtFileDialogs, WindowsFilterStringsBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters("Mill Layouts |*.set|Turning Layouts|*.lset|"),
              QStringList({"Mill Layouts (*.set)", "Turning Layouts (*.lset)"}));
    EXPECT_EQ(QtNameFilters("Comma Separated Variable|*.csv"),
              QStringList({"Comma Separated Variable (*.csv)"}));
    EXPECT_EQ(QtNameFilters("Layouts|*.set;*.lset|All|*.*"),
              QStringList({"Layouts (*.set *.lset)", "All (*.*)"}));
    EXPECT_EQ(QtNameFilters(""), QStringList());
    EXPECT_EQ(QtNameFilters("Lonely description"), QStringList());

    EXPECT_EQ(QtDefaultSuffix("*.set"), "set");
    EXPECT_EQ(QtDefaultSuffix(".csv"), "csv");
    EXPECT_EQ(QtDefaultSuffix("lset"), "lset");
    EXPECT_EQ(QtDefaultSuffix(""), "");
    EXPECT_EQ(QtDefaultSuffix("*.*"), "");
}

TEST(QtFileDialogs, ConfiguresTheDialogFromItsDescription) {
    TempDir dir;
    QFileDialog open;
    QtFileDialogs::Configure(open,
                             {"Open Layout file", "Mill Layouts |*.set|Turning Layouts|*.lset|",
                              dir.Path(), "", "", 0x1004},
                             false);
    EXPECT_EQ(open.windowTitle(), "Open Layout file");
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open.nameFilters(),
              QStringList({"Mill Layouts (*.set)", "Turning Layouts (*.lset)"}));
    EXPECT_EQ(open.directory().absolutePath(),
              QDir(QString::fromStdString(dir.Path())).absolutePath());
    EXPECT_EQ(open.defaultSuffix(), "");

    QFileDialog save;
    const QString ownDefault = QFileDialog().directory().absolutePath();
    QtFileDialogs::Configure(
        save,
        {"Save As CSV file", "Comma Separated Variable|*.csv", dir.Path() + "/absent", "*.csv",
         "junk", 0x2006},
        true);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite)) << "0x2 asks before replacing";
    EXPECT_EQ(save.defaultSuffix(), "csv");
    EXPECT_EQ(save.directory().absolutePath(), ownDefault) << "a missing folder is not used";
    EXPECT_EQ(save.findChild<QLineEdit*>("fileNameEdit")->text(), "junk");

    // A save takes the extension of the filter chosen, from the one selected at the start.
    QFileDialog layout;
    QtFileDialogs::Configure(layout,
                             {"Save Layout", "Mill Layouts |*.set|Turning Layouts|*.lset|",
                              dir.Path(), "*.set", "", 0x2006, 2},
                             true);
    EXPECT_EQ(layout.selectedNameFilter(), "Turning Layouts (*.lset)");
    EXPECT_EQ(layout.defaultSuffix(), "lset");
    layout.selectNameFilter("Mill Layouts (*.set)");
    emit layout.filterSelected("Mill Layouts (*.set)");
    EXPECT_EQ(layout.defaultSuffix(), "set");
    EXPECT_EQ(QtFilterSuffix("All layouts (*.set *.lset)"), "");

    QFileDialog quiet;
    QtFileDialogs::Configure(quiet, {"t", "", "", "", "", 0}, true);
    EXPECT_TRUE(quiet.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(quiet.fileMode(), QFileDialog::AnyFile);
}

// Types a name into the next file dialog and accepts it.
std::function<void(QWidget*)> TypeName(const QString& name) {
    return [name](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

TEST(QtFileDialogs, TheTypeColumnNamesLayoutFiles) {
    TempDir dir;
    for (const char* name : {"a.set", "b.LSET", "c.csv"})
        dir.Write(name, "");
    EXPECT_EQ(LayoutFileType(QFileInfo(QString::fromStdString(dir.File("a.set")))), "Mill layout");
    EXPECT_EQ(LayoutFileType(QFileInfo(QString::fromStdString(dir.File("b.LSET")))),
              "Turning layout");
    EXPECT_EQ(LayoutFileType(QFileInfo(QString::fromStdString(dir.File("c.csv")))), "");
    // The dialog's own icon provider gives those names to its Type column.
    QFileDialog dialog;
    QtFileDialogs::Configure(dialog, {"Open", "Layouts|*.set", dir.Path(), "", "", 0}, false);
    ASSERT_NE(dialog.iconProvider(), nullptr);
    EXPECT_EQ(dialog.iconProvider()->type(QFileInfo(QString::fromStdString(dir.File("a.set")))),
              "Mill layout");
}

TEST(QtFileDialogs, SaveAddsTheDefaultExtensionAndAsksBeforeCreating) {
    TempDir dir;
    ScriptedDialogs dialogs;
    QtFileDialogs files(dialogs);
    const FileDialogSetup setup{"Save Layout", "Mill Layouts |*.set|", dir.Path(), "*.set", "",
                                0x2006};

    dialogs.Answer(MsgAnswer::Yes);
    OnModals({TypeName("fresh")});
    std::string path;
    ASSERT_EQ(files.ShowSave(setup, path), 0);
    EXPECT_EQ(path, Chosen(dir.File("fresh.set")));
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().prompt, "The file \"" + Chosen(dir.File("fresh.set")) +
                                         "\" does not exist yet.\nDo you want to create it?");
    EXPECT_EQ(dialogs.Last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.Last().icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.Last().title, "Save Layout");

    // No: the dialog comes again; a name with its own extension keeps it.
    dialogs.Answer(MsgAnswer::No).Answer(MsgAnswer::Yes);
    OnModals({TypeName("first"), TypeName("second.lset")});
    ASSERT_EQ(files.ShowSave(setup, path), 0);
    EXPECT_EQ(path, Chosen(dir.File("second.lset")));

    // An existing file needs no creation question (replacing it is Qt's own question).
    dir.Write("there.set", "x");
    OnModals({TypeName("there.set")});
    FileDialogSetup noOverwriteQuestion = setup;
    noOverwriteQuestion.Flags = 0x2004;
    ASSERT_EQ(files.ShowSave(noOverwriteQuestion, path), 0);
    EXPECT_EQ(path, Chosen(dir.File("there.set")));
    EXPECT_EQ(dialogs.Shown().size(), 3u);
}

TEST(QtFileDialogs, CancelGivesTheCancelCodeAndLeavesThePath) {
    TempDir dir;
    dir.Write("a.set", "x");
    ScriptedDialogs dialogs;
    QtFileDialogs files(dialogs);
    std::string path = "unchanged";
    OnModals({[](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }});
    EXPECT_EQ(files.ShowOpen({"Open Layout file", "", dir.Path(), "", "", 0x1004}, path),
              FileDialogCancel);
    EXPECT_EQ(path, "unchanged");

    OnModals({TypeName("a.set")});
    EXPECT_EQ(files.ShowOpen({"Open Layout file", "", dir.Path(), "", "", 0x1004}, path), 0);
    EXPECT_EQ(path, Chosen(dir.File("a.set")));
}

} // namespace
