// Files that vanish between the dialog and the read, and saves that cannot be written, met through
// the real buttons: a warning, and the window and both layouts stay as they were.

#include <filesystem>

#include "FileSystemFaults.h"
#include "LayoutProbe.h"
#include "MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, FilesThatVanishAfterTheDialogChangeNothing) {
    const std::string principal = LayoutFile("p.set", ControlsOnScreens({2, 1}));
    const std::string additional = LayoutFile("a.set", ControlsOnScreens({3}));
    OpenPrincipal(principal);
    OpenAdditional(additional);
    const auto principalRecords = cLayoutProbe::Records(Window->PrincipalLayout);
    const auto additionalRecords = cLayoutProbe::Records(Window->AdditionalLayout);

    const std::string gone = LayoutFile("gone.set", ControlsOnScreens({9}));
    std::filesystem::remove(gone);
    for (const char* button : {"butOpen", "butAddOpen", "butImport"}) {
        Files.Choose(gone);
        Dialogs.ClearShown();
        if (std::string(button) == "butImport") Dialogs.Answer(MsgAnswer::OK); // the caution box
        Dialogs.Answer(MsgAnswer::OK);
        Click(button);
        EXPECT_EQ(Dialogs.Last().icon, MsgIcon::Exclamation) << button;
        EXPECT_NE(Dialogs.Last().prompt.find(MissingFileReason()), std::string::npos)
            << Dialogs.Last().prompt;
    }
    EXPECT_EQ(Text("txtOpenedFile")->text(), QString::fromStdString(principal));
    EXPECT_EQ(Text("txtAddFile")->text(), QString::fromStdString(additional));
    EXPECT_EQ(cLayoutProbe::Records(Window->PrincipalLayout), principalRecords);
    EXPECT_EQ(cLayoutProbe::Records(Window->AdditionalLayout), additionalRecords);
    EXPECT_EQ(Parts().Principal().Screens->topLevelItem(0)->text(1), "2");
    EXPECT_EQ(Parts().Additional().Screens->topLevelItem(0)->text(1), "3");
}

TEST_F(MainWindowTest, ASaveCutShortKeepsTheOldFileAndTheChanges) {
    std::vector<ControlRecord> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(MakeFullRecord(i));
    const std::string path = LayoutFile("big.set", records);
    OpenPrincipal(path);
    Window->PrincipalLayout.SetIsDirty(true);
    const std::string before = ReadBytes(path);

    SaveBlocker blocker(path);
    Files.Choose(path);
    Dialogs.Answer(MsgAnswer::OK);
    Click(Parts().SaveAs());
    EXPECT_NE(Dialogs.Last().prompt.find(SaveBlocker::Reason()), std::string::npos)
        << Dialogs.Last().prompt;
    EXPECT_TRUE(Window->PrincipalLayout.IsDirty());
    EXPECT_EQ(ReadBytes(path), before);

    // Yes at the exit question and the same failing save: the window stays open.
    Files.Choose(path);
    Dialogs.Answer(MsgAnswer::Yes).Answer(MsgAnswer::OK);
    EXPECT_FALSE(Window->close());
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(ReadBytes(path), before);
}

} // namespace
