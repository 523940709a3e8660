#include "ui/dialogs/BundleExport.h"

#include <QDir>
#include <QFileInfo>

#include "bundle/LayoutBundle.h"
#include "layout/UserDialogs.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "preview/PictureFinder.h"
#include "ui/widgets/CodePage.h"
#include "ui/session/PreviewSettings.h"

bool ExportBundle(const cLayout& layout, FileDialogs& files, UserDialogs& dialogs,
                  const std::string& startFolder) {
    FileDialogSetup setup;
    setup.DialogTitle = "Export layout with pictures";
    // A .zip file, or with the second filter a new or empty folder (no extension is added).
    setup.Filter = ZipBundles() ? "A .zip file|*.zip|A new or empty folder|*|"
                                : "A new or empty folder|*|";
    setup.InitDir = startFolder;
    const QString layoutFile = FromSystemPath(layout.FileName());
    const QString stem =
        layoutFile.isEmpty() ? QStringLiteral("layout") : QFileInfo(layoutFile).completeBaseName();
    setup.FileName = ToSystemPath(stem + (ZipBundles() ? QStringLiteral(".zip") : QString()));
    setup.Flags = FileDialogFlag::OverwritePrompt | FileDialogFlag::HideReadOnly;
    std::string output;
    if (files.ShowSave(setup, output) != 0) return false;
    // A folder chosen with the .zip filter comes back as "DIR/.zip" (the dialog adds the
    // extension to an empty name), or as the folder itself: either is the folder.
    {
        const QString chosen = FromSystemPath(output);
        const QFileInfo info(chosen);
        if (chosen.endsWith(QLatin1Char('/')) || chosen.endsWith(QDir::separator()))
            output = ToSystemPath(QDir::cleanPath(chosen));
        else if (info.fileName().compare(QStringLiteral(".zip"), Qt::CaseInsensitive) == 0)
            output = ToSystemPath(info.absolutePath());
        else if (info.isDir())
            output = ToSystemPath(info.absoluteFilePath());
    }

    const std::string name =
        layoutFile.isEmpty() ? ToSystemPath(QFileInfo(FromSystemPath(output)).completeBaseName() +
                                            QStringLiteral(".set"))
                             : ToSystemPath(QFileInfo(layoutFile).fileName());
    LayoutContent content;
    content.Records.assign(layout.Records().begin(), layout.Records().end());
    content.Trailer = layout.FileTrailer();
    PictureFinder finder = PictureFinder::ForLayout(layout.FileName(), PicturesFolderSetting());
    finder.SetCodePage(layout.TextCodePage());
    const BundlePlan plan = PlanBundle(content, name, finder, layout.TextCodePage());
    std::string failure;
    if (!WriteBundle(plan, output, failure)) {
        dialogs.MsgBox(failure, MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    // The report is UTF-8; as a message it is Windows-1252, '?' for what the code page lacks.
    std::string report = PathForMessage(BundleReport(plan, output, layout.TextCodePage()));
    if (PicturesFolderSetting().empty() && !plan.Missing.empty())
        report += "\nNo pictures folder is chosen for the previews; choose one with Pictures "
                  "folder... to look for the missing pictures there.";
    dialogs.MsgBox(report, MsgButtons::OK, MsgIcon::None, "Export layout with pictures");
    return true;
}

std::string UnpackBundleToOpen(const std::string& zipPath, FileDialogs& files,
                               UserDialogs& dialogs) {
    FileDialogSetup setup;
    setup.DialogTitle = "Unpack the layout bundle into";
    setup.InitDir = ToSystemPath(QFileInfo(FromSystemPath(zipPath)).absolutePath());
    std::string folder;
    if (files.ShowFolder(setup, folder) != 0) return {};
    UnpackedBundle unpacked;
    std::string failure;
    if (!UnpackBundle(zipPath, folder, unpacked, failure)) {
        dialogs.MsgBox(failure, MsgButtons::OK, MsgIcon::Exclamation);
        return {};
    }
    return unpacked.LayoutPath;
}
