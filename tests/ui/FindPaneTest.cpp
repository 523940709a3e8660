// Find, replace, relink, where-used and bundles through the main window: results choose their
// control, a replace or a relink is one undo step, refusals change nothing, the check window
// offers Relink... on a missing picture, and a bundle exported from the window opens again.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include <filesystem>

#include "MainWindowFixture.h"
#include "bundle/LayoutBundle.h"
#include "ui/panes/FindPane.h"
#include "ui/dialogs/LayoutCheckWindow.h"
#include "ui/session/LayoutSession.h"
#include "ui/panes/PicturesPane.h"
#include "ui/session/PreviewSettings.h"
#include "ui/panes/WhereUsedPane.h"

namespace {

class FindPaneTest : public MainWindowTest {
protected:
    FindPaneTest() { SetPicturesFolderSetting(""); }
    ~FindPaneTest() override { SetPicturesFolderSetting(""); }

    std::vector<ControlRecord> Records() const {
        return {Window->PrincipalLayout.Records().begin(), Window->PrincipalLayout.Records().end()};
    }
    void Type(const char* box, const QString& text) { Text(box)->setText(text); }
};

std::vector<ControlRecord> JogLayout() {
    std::vector<ControlRecord> records = {MakeScreenLabel(0, "Persistent"),
                                          MakeScreenButton(0, 1, "Jog", 2097),
                                          MakeScreenLabel(1, "Jog"), MakeScreenButton(1, 0, "Home"),
                                          MakeControl(ControlKind::Bitmap, 1, 0, 0, 1024, 768)};
    records[1].rGText = "None\r\n";
    records[4].rBitMapPath = "NewPlasma\\Back.png";
    records[4].rText = "jog";
    return records;
}

TEST_F(FindPaneTest, ResultsChooseTheirControlAndAReplaceIsOneUndoStep) {
    OpenPrincipal(LayoutFile("jog.set", JogLayout()));
    Menu("mnuFind")->trigger();
    auto* pane = Get<FindPane>("FindPane");
    EXPECT_TRUE(pane->isVisible());
    Type("txtFind", QStringLiteral("jog"));
    Get<QCheckBox>("chkField_rLabel")->setChecked(false);
    Click("butFind");
    ASSERT_EQ(pane->Results().size(), 2u);
    EXPECT_EQ(pane->Status(), "2 results in 2 controls.");
    // The first result is chosen: its control is the selection and its screen is shown.
    EXPECT_EQ(Window->PrincipalSession().Selection(), std::vector<int>{2});
    EXPECT_EQ(Window->PrincipalScreen(), 0);
    Menu("mnuFindNext")->trigger();
    EXPECT_EQ(Window->PrincipalSession().Selection(), std::vector<int>{5});
    EXPECT_EQ(Window->PrincipalScreen(), 1);
    Menu("mnuFindNext")->trigger(); // round again
    EXPECT_EQ(Window->PrincipalSession().Selection(), std::vector<int>{2});
    Menu("mnuFindPrevious")->trigger();
    EXPECT_EQ(Window->PrincipalSession().Selection(), std::vector<int>{5});

    // A character the layout cannot hold is refused before anything changes.
    const std::vector<ControlRecord> before = Records();
    Type("txtReplace", QString::fromUtf8("Jog \xE2\x9C\x93"));
    Dialogs.Answer(MsgAnswer::OK);
    Click("butReplace");
    EXPECT_NE(Dialogs.Last().prompt.find("U+2713"), std::string::npos);
    EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(Window->PrincipalLayout.CanUndo());

    Type("txtReplace", QStringLiteral("Jog+"));
    Dialogs.Answer(MsgAnswer::Yes);
    Click("butReplace");
    EXPECT_EQ(Dialogs.Last().prompt,
              "Replace \"jog\" with \"Jog+\"?\n2 fields of 2 controls will change.");
    EXPECT_EQ(Records()[1].rText, "Jog+");
    EXPECT_EQ(Records()[4].rText, "Jog+");
    EXPECT_EQ(Records()[2].rLabel, "\xA7Jog"); // a field left out of the search
    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo Replace in 2 controls");
    EXPECT_EQ(pane->Results().size(), 2u); // found again in the changed layout

    Menu("mnuUndo")->trigger();
    EXPECT_EQ(Records(), before);
    EXPECT_FALSE(Window->PrincipalLayout.IsDirty());

    // Only the selected results.
    Get<QRadioButton>("optReplaceSelected")->setChecked(true);
    auto* results = List("lstResults");
    results->clearSelection();
    results->topLevelItem(1)->setSelected(true);
    Dialogs.Answer(MsgAnswer::Yes);
    Click("butReplace");
    EXPECT_EQ(Records()[1].rText, "Jog");
    EXPECT_EQ(Records()[4].rText, "Jog+");
}

TEST_F(FindPaneTest, TheCheckOffersRelinkAndThePicturesPaneRelinksInOneStep) {
    std::filesystem::create_directories(Dir.File("Skin"));
    Dir.Write("Skin/Back.png", "a picture");
    SetPicturesFolderSetting(Dir.Path());
    OpenPrincipal(LayoutFile("jog.set", JogLayout()));
    Click("butCheck");
    auto* check = Window->findChild<LayoutCheckWindow*>();
    ASSERT_NE(check, nullptr);
    const auto& findings = check->Findings();
    const auto missing = std::find_if(findings.begin(), findings.end(), [](const Finding& f) {
        return f.Code == CheckCode::MissingPicture;
    });
    ASSERT_NE(missing, findings.end());
    auto* relinkOffer = Find<QPushButton>(*check, "butCheckRelink");
    check->SelectRow(0);
    EXPECT_EQ(relinkOffer->isEnabled(), findings[0].Code == CheckCode::MissingPicture);
    check->SelectRow(static_cast<int>(missing - findings.begin()));
    ASSERT_TRUE(relinkOffer->isEnabled());
    QTest::mouseClick(relinkOffer, Qt::LeftButton);

    auto* pictures = Get<PicturesPane>("PicturesPane");
    EXPECT_TRUE(pictures->isVisible());
    EXPECT_EQ(Text("txtRelinkFrom")->text(), "NewPlasma\\Back.png");
    ASSERT_EQ(pictures->Pictures().size(), 1u);
    EXPECT_TRUE(pictures->Pictures()[0].Found.empty());
    EXPECT_EQ(pictures->ChosenUses(), std::vector<int>{5});

    Get<QCheckBox>("chkRelinkFolder")->setChecked(true);
    EXPECT_EQ(Text("txtRelinkFrom")->text(), "NewPlasma\\");
    Type("txtRelinkTo", QStringLiteral("skin"));
    Click("butRelink");
    EXPECT_EQ(Records()[4].rBitMapPath, "skin\\Back.png");
    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo Relink 1 control");
    ASSERT_EQ(pictures->Pictures().size(), 1u);
    EXPECT_EQ(pictures->Pictures()[0].Found, Dir.File("Skin/Back.png"));
    for (const Finding& finding : check->Findings()) // the check has looked again
        EXPECT_NE(finding.Code, CheckCode::MissingPicture) << finding.Message;

    // A path no control has is refused, changing nothing.
    Get<QCheckBox>("chkRelinkFolder")->setChecked(false);
    Type("txtRelinkFrom", QStringLiteral("Elsewhere\\x.png"));
    Dialogs.Answer(MsgAnswer::OK);
    Click("butRelink");
    EXPECT_EQ(Dialogs.Last().prompt, "No control shows the picture \"Elsewhere\\x.png\".");
    EXPECT_EQ(Menu("mnuUndo")->text(), "&Undo Relink 1 control");
    check->close();

    // Another layout opened: nothing typed for the last one is left to relink this one.
    Type("txtRelinkTo", QStringLiteral("skin"));
    Window->PrincipalLayout.SetIsDirty(false);
    OpenPrincipal(LayoutFile("other.set", JogLayout()));
    EXPECT_EQ(Text("txtRelinkFrom")->text(), "");
    EXPECT_EQ(Text("txtRelinkTo")->text(), "");
    EXPECT_TRUE(pictures->ChosenUses().empty());
}

TEST_F(FindPaneTest, WhereUsedListsTheLinksToAScreenAndTheControlsAlike) {
    OpenPrincipal(LayoutFile("jog.set", JogLayout()));
    SelectRow("PrincLayList", 1);
    Window->PrincipalSession().SetSelection({});
    Menu("mnuWhereUsed")->trigger();
    auto* pane = Get<WhereUsedPane>("WhereUsedPane");
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(pane->Listed(), std::vector<int>{2});
    EXPECT_EQ(pane->Subject(), "Screen 1 \"Jog\" is shown by 1 screen link.");
    // Choosing the row goes to the link.
    List("lstWhereUsed")->setCurrentItem(List("lstWhereUsed")->topLevelItem(0));
    EXPECT_EQ(Window->PrincipalSession().Selection(), std::vector<int>{2});
    EXPECT_EQ(Window->PrincipalScreen(), 0);
    Menu("mnuWhereUsed")->trigger(); // now of the selected control: its OEM code 1 and key
    EXPECT_EQ(pane->Listed(), std::vector<int>{}) << pane->Subject().toStdString();
}

TEST_F(FindPaneTest, ABundleExportedFromTheWindowOpensWithItsPictures) {
    if (!ZipBundles()) GTEST_SKIP() << "this build writes bundles into folders only";
    std::filesystem::create_directories(Dir.File("NewPlasma"));
    Dir.Write("NewPlasma/Back.png", "a picture");
    OpenPrincipal(LayoutFile("jog.set", JogLayout()));
    const std::string zip = Dir.File("shared.zip");
    Files.Choose(zip);
    Dialogs.Answer(MsgAnswer::OK);
    Menu("mnuExportBundle")->trigger();
    EXPECT_EQ(Dialogs.Last().prompt, "Bundled jog.set with 1 picture into \"" + zip + "\".");
    EXPECT_EQ(Records()[4].rBitMapPath, "NewPlasma\\Back.png"); // the open layout is not changed

    Files.Choose(zip).Choose(Dir.File("installed"));
    Click("butOpen");
    // Installed in the host's arrangement: the layout as it was, its picture under Bitmaps.
    EXPECT_EQ(Window->PrincipalLayout.FileName(), Dir.File("installed/jog.set"));
    EXPECT_EQ(Records()[4].rBitMapPath, "NewPlasma\\Back.png");
    Menu("mnuPicturesPane")->trigger();
    auto* pictures = Get<PicturesPane>("PicturesPane");
    ASSERT_TRUE(pictures->isVisible());
    ASSERT_EQ(pictures->Pictures().size(), 1u);
    EXPECT_EQ(pictures->Pictures()[0].Found, Dir.File("installed/Bitmaps/NewPlasma/Back.png"));
    EXPECT_EQ(pictures->Pictures()[0].FoundIn, "Bitmaps beside the layout");
}

} // namespace
