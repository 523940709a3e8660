// What the main window knows of the Principal layout's resolution (shown in the status bar,
// chosen by the user, kept per file in the settings, set by a rescale) and where an append goes
// (the Append to choice, and its question before the Persistent screen).

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "LayoutBuilders.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "ui/mainwindow/KorvoScreenManager.h"
#include "ui/session/LayoutSession.h"

namespace {

class DrawnForTest : public ::testing::Test {
protected:
    DrawnForTest()
        : Settings(QSettings::IniFormat, QSettings::UserScope, "KorvoScreenQuill",
                   "KorvoScreenQuill") {
        Settings.clear();
        Window = NewWindow();
    }
    ~DrawnForTest() override { Window->PrincipalLayout.SetIsDirty(false); }

    std::unique_ptr<KorvoScreenManager> NewWindow() {
        auto window = std::make_unique<KorvoScreenManager>(Dialogs, Files, &Settings);
        window->show();
        return window;
    }
    void Open(const std::string& path) {
        Files.Choose(path);
        QTest::mouseClick(Find<QPushButton>(*Window, "butOpen"), Qt::LeftButton);
    }
    QString DrawnFor() { return Find<QToolButton>(*Window, "StatusResolution")->text(); }

    // A 1024 x 768 screen: its background picture late in record order, and jog buttons parked
    // off its right edge, which the extents alone would take for 1152 x 864.
    static std::vector<ControlRecord> Parked() {
        std::vector<ControlRecord> records;
        records.push_back(MakeScreenLabel(1, "Program Run"));
        for (int i = 0; i < 7; ++i)
            records.push_back(
                MakeControl(ControlKind::Button, 1, 1040, 100 + 40 * i, 1142, 130 + 40 * i));
        ControlRecord background = MakeControl(ControlKind::Bitmap, 1, 0, 0, 1027, 729);
        background.rBitMapPath = "MillBitmaps\\BackgroundMain.jpg";
        records.push_back(background);
        return records;
    }

    QSettings Settings;
    TempDir Dir;
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    std::unique_ptr<KorvoScreenManager> Window;
};

TEST_F(DrawnForTest, AChosenResolutionIsKeptForThatFileAndARescaleSetsIt) {
    const std::string path = Dir.Write("parked.set", LayoutFileBytes(Parked()));
    EXPECT_FALSE(Find<QToolButton>(*Window, "StatusResolution")->isVisible())
        << "nothing to say before a layout is open";
    Open(path);
    EXPECT_EQ(DrawnFor(), "Drawn for 1024 x 768 (from the background picture)");

    // The menu marks the resolution detected, and checks it until another is chosen.
    const auto item = [this](int index) {
        return Find<QAction>(*Window, ("mnuResolution" + std::to_string(index)).c_str());
    };
    const auto checked = [&] {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < Resolutions.size(); ++i)
            if (item(static_cast<int>(i))->isChecked())
                texts.push_back(item(static_cast<int>(i))->text().toStdString());
        return texts;
    };
    const std::string detected = ResolutionCaption({1024, 768}) + " (detected)";
    EXPECT_EQ(checked(), std::vector<std::string>{detected});

    // Chosen from the status bar's menu; the previews and the check take it.
    Find<QAction>(*Window, "mnuResolution3")->trigger(); // 1152 x 864
    EXPECT_EQ(DrawnFor(), "Drawn for 1152 x 864 (as chosen)");
    EXPECT_EQ(checked(), std::vector<std::string>{ResolutionCaption({1152, 864})});
    EXPECT_EQ(Window->PrincipalSession().ChosenResolution(), (Resolution{1152, 864}));

    // The same file opened again, in a new run, is drawn for the choice; the layout file holds
    // nothing of it.
    const std::string bytes = ReadBytes(path);
    Window = NewWindow();
    Open(path);
    EXPECT_EQ(DrawnFor(), "Drawn for 1152 x 864 (as chosen)");
    EXPECT_EQ(ReadBytes(path), bytes);

    // Other... takes a size of the user's own; a bad one is refused and changes nothing.
    Dialogs.Type("1600 by 1200").Answer(MsgAnswer::OK);
    Find<QAction>(*Window, "mnuResolutionOther")->trigger();
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(DrawnFor(), "Drawn for 1152 x 864 (as chosen)");
    Dialogs.Type("1600x1200");
    Find<QAction>(*Window, "mnuResolutionOther")->trigger();
    EXPECT_EQ(DrawnFor(), "Drawn for 1600 x 1200 (as chosen)");

    // Rescaled to 1920 x 1080 in Edit Controls, and saved: the file is drawn for the target.
    OnModals({[](QWidget* form) {
        Find<QRadioButton>(*form, "Option2(11)")->setChecked(true);
        QTest::mouseClick(Find<QPushButton>(*form, "butScale"), Qt::LeftButton);
        form->close();
    }});
    Dialogs.Answer(MsgAnswer::OK);
    QTest::mouseClick(Find<QPushButton>(*Window, "butEditScreen"), Qt::LeftButton);
    EXPECT_EQ(DrawnFor(), "Drawn for 1920 x 1080 (as chosen)");
    Find<QAction>(*Window, "mnuPrincSave")->trigger();
    Window = NewWindow();
    Open(path);
    EXPECT_EQ(DrawnFor(), "Drawn for 1920 x 1080 (as chosen)");

    // Changed elsewhere, the file is detected afresh.
    QFile::resize(QString::fromStdString(path), QFile(QString::fromStdString(path)).size() + 1);
    Window = NewWindow();
    Open(path);
    EXPECT_FALSE(DrawnFor().endsWith("(as chosen)")) << DrawnFor().toStdString();
}

TEST_F(DrawnForTest, AnAppendGoesToTheChosenEmptyScreenAndAsksBeforeThePersistentOne) {
    // A skinned Principal layout with an empty screen 0, like real ones.
    std::vector<ControlRecord> principal = ControlsOnScreens({0, 3, 2, 0, 4});
    Open(Dir.Write("principal.set", LayoutFileBytes(principal)));
    std::vector<ControlRecord> source = ControlsOnScreens({1, 0, 0, 0, 0, 5});
    source.push_back(MakeScreenLabel(5, "Diagnostics"));
    Files.Choose(Dir.Write("source.set", LayoutFileBytes(source)));
    QTest::mouseClick(Find<QPushButton>(*Window, "butAddOpen"), Qt::LeftButton);

    auto* list = Find<QTreeWidget>(*Window, "AddLayList");
    auto* target = Find<QComboBox>(*Window, "cboAppendTo");
    list->setCurrentItem(list->topLevelItem(5));
    EXPECT_EQ(target->currentData().toInt(), 3) << "the lowest empty screen from 1 up";
    QStringList offered;
    for (int i = 0; i < target->count(); ++i)
        offered << target->itemText(i);
    EXPECT_EQ(offered.first(), "0 (Persistent)");
    EXPECT_FALSE(offered.contains("1"));

    // Screen 0 for screen 5 asks first; No changes nothing.
    target->setCurrentIndex(target->findData(0));
    Dialogs.Answer(MsgAnswer::No);
    QTest::mouseClick(Find<QPushButton>(*Window, "butAppendToPrinc"), Qt::LeftButton);
    EXPECT_EQ(Dialogs.Last().prompt, "Screen 0 is the Persistent screen: its controls show on "
                                     "every screen. Append screen 5 \"Diagnostics\" there?");
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), static_cast<int>(principal.size()));

    // The default goes without a question, and the choice follows what is empty now.
    target->setCurrentIndex(target->findData(3));
    Dialogs.Answer(MsgAnswer::OK);
    QTest::mouseClick(Find<QPushButton>(*Window, "butAppendToPrinc"), Qt::LeftButton);
    EXPECT_EQ(Dialogs.Last().prompt, "6 controls have been copied into Principal Layout screen 3");
    EXPECT_EQ(Window->PrincipalLayout.Screens()[3].CtrlCount, 6);
    EXPECT_EQ(target->findData(3), -1) << "screen 3 is no longer empty";

    // The Additional screen 0 goes to the Persistent screen when that is empty.
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_EQ(target->currentData().toInt(), 0);
}

} // namespace
