#pragma once
// The file dialogs of the seam over Qt's QFileDialog, centred on the window they belong to. The
// filter string becomes Qt's name filters, the initial folder is used only when it exists, a name
// typed without an extension gets the one of the filter chosen (or the default extension when the
// filter has no single one), and the flags are honoured: a file that must exist, the question
// before replacing a file, and the question before creating one (asked here, through the message
// seam, as Qt has none).

#include <QStringList>

#include "layout/UserDialogs.h"
#include "ui/widgets/FileDialogs.h"

class QFileDialog;
class QFileInfo;
class QString;

// The type the dialogs' Type column gives a layout file ("Mill layout", "Turning layout"); empty
// for any other file, which keeps the system's name.
QString LayoutFileType(const QFileInfo& file);

// "Mill Layouts |*.set|Turning Layouts|*.lset|" -> "Mill Layouts (*.set)", "Turning Layouts
// (*.lset)".
QStringList QtNameFilters(const std::string& filter);
// "*.set", ".set" and "set" all give "set"; "" and "*.*" give none.
QString QtDefaultSuffix(const std::string& defaultExt);
// The extension a Qt name filter stands for: "Turning Layouts (*.lset)" gives "lset"; a filter of
// several patterns or of wildcards gives none.
QString QtFilterSuffix(const QString& nameFilter);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(UserDialogs& dialogs);

    int ShowOpen(const FileDialogSetup& setup, std::string& path) override;
    int ShowSave(const FileDialogSetup& setup, std::string& path) override;
    int ShowFolder(const FileDialogSetup& setup, std::string& path) override;

    // Gives a Qt dialog the title, filters, folder, name and flags of the setup (tests look at
    // what it becomes).
    static void Configure(QFileDialog& dialog, const FileDialogSetup& setup, bool save);

private:
    int Show(const FileDialogSetup& setup, bool save, std::string& path);

    UserDialogs& Dialogs;
};
