// Layouts as their machines show them, in the main window: screens beyond the host's 16 listed
// greyed below them and previewed like any screen, and the texts read in the layout's own code
// page, shown with its rule in the status bar and changeable there without changing a byte.

#include <QImage>
#include <QSettings>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "layout/HostCodes.h"
#include "preview/ScreenScene.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/session/LayoutSession.h"

namespace {

// Settings of the test's own, made before the window and gone after it.
struct OwnSettings {
    OwnSettings() { Settings.clear(); }
    QSettings Settings{QSettings::IniFormat, QSettings::UserScope, "KorvoScreenQuill",
                       "ScreensBeyondTest"};
};

// With those settings, so that a choice kept per file can be seen kept.
class ScreensBeyondTest : public OwnSettings, public MainWindowTest {
protected:
    ScreensBeyondTest() {
        Window = std::make_unique<KorvoScreenManager>(Dialogs, Files, &Settings);
        Window->show();
    }
};

// Screen 1 and screen 21, each named; a wide button on screen 21.
std::vector<ControlRecord> FarLayout() {
    std::vector<ControlRecord> records{MakeScreenLabel(1, "Main"),
                                       MakeScreenButton(1, 21, "Far away"),
                                       MakeScreenLabel(21, "Far"),
                                       MakeControl(ControlKind::Button, 21, 100, 100, 500, 300)};
    records.back().rText = "None";
    return records;
}

TEST_F(ScreensBeyondTest, AScreenBeyondFifteenIsListedGreyedAndPreviewed) {
    OpenPrincipal(LayoutFile("far.set", FarLayout()));
    QTreeWidget* list = List("PrincLayList");
    ASSERT_EQ(list->topLevelItemCount(), 17);
    QTreeWidgetItem* far = list->topLevelItem(16);
    EXPECT_EQ(far->text(0), "21");
    EXPECT_EQ(far->text(1), "2");
    EXPECT_EQ(far->text(2), "Far");
    EXPECT_EQ(far->text(3), "Far away");
    EXPECT_NE(far->toolTip(0).indexOf("not a screen of the host's tabs"), -1);
    EXPECT_NE(far->foreground(0).color(), list->topLevelItem(1)->foreground(0).color());

    list->setCurrentItem(far);
    EXPECT_EQ(Window->PrincipalScreen(), 21);
    ScreenPreview* shown = nullptr;
    for (ScreenPreview* preview : Window->findChildren<ScreenPreview*>())
        if (preview->Layout() == &Window->PrincipalLayout) shown = preview;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Screen(), 21);

    // A pixel probe: the button of screen 21 is drawn where it lies.
    ScreenPreview preview(Files, Dialogs);
    preview.resize(840, 680);
    preview.show();
    preview.ShowScreen(Window->PrincipalLayout, 21);
    const QImage grab = preview.grab().toImage();
    const QPointF at = preview.FromScene({300, 200});
    const QRgb pixel = grab.pixel(static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_EQ(QColor(pixel).name(), SceneQColor(SceneColour::ButtonFace).name());
    const QPointF outside = preview.FromScene({600, 400});
    EXPECT_NE(QColor(grab.pixel(static_cast<int>(outside.x()), static_cast<int>(outside.y())))
                  .name(),
              SceneQColor(SceneColour::ButtonFace).name());

    // Deleting it stays for the host's screens: the document refuses and nothing changes.
    Dialogs.Answer(MsgAnswer::OK);
    Click("butDelete");
    EXPECT_EQ(Window->PrincipalLayout.ControlCount(), 4);
}

TEST_F(ScreensBeyondTest, TheStatusBarSaysTheCodePageAndAChoiceChangesNoByte) {
    std::vector<ControlRecord> records = FarLayout();
    records[0].rLabel = std::string(1, ScreenLabelMark) + "\x5A\xB6\xD4\xB5\xB6"; // Z对刀 in GBK
    records.push_back(MakeControl(ControlKind::Label, 1));
    records.back().rText = "\xD6\xF7\xD6\xE1\xCB\xD9\xB6\xC8"; // 主轴速度
    const std::string path = LayoutFile("gbk.set", records);
    OpenPrincipal(path);
    auto* status = Get<QToolButton>("StatusCodePage");
    EXPECT_EQ(status->text(), "GBK (from the texts)");
    EXPECT_EQ(List("PrincLayList")->topLevelItem(1)->text(2), QString::fromUtf8("Z对刀"));

    Menu("mnuCodePage1252")->trigger();
    EXPECT_EQ(status->text(), "Windows-1252 (chosen)");
    EXPECT_EQ(List("PrincLayList")->topLevelItem(1)->text(2), QString::fromUtf8("Z¶Ôµ¶"));
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());
    EXPECT_EQ(std::vector<ControlRecord>(Window->PrincipalLayout.Records().begin(),
                                         Window->PrincipalLayout.Records().end()),
              records);

    // The choice is kept for the file: opened again, it is taken.
    OpenPrincipal(path);
    EXPECT_EQ(status->text(), "Windows-1252 (chosen)");
    Menu("mnuCodePageDetected")->trigger();
    EXPECT_EQ(status->text(), "GBK (from the texts)");
}

} // namespace
