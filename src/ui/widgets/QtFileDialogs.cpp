#include "ui/widgets/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>

#include "platform/FileAccess.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/QtUserDialogs.h"

QStringList QtNameFilters(const std::string& filter) {
    QStringList parts = FromCodePage(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        // The host's patterns are separated by semicolons, Qt's by blanks.
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ').trimmed();
        if (patterns.isEmpty()) continue;
        filters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
    }
    return filters;
}

QString QtDefaultSuffix(const std::string& defaultExt) {
    QString suffix = FromCodePage(defaultExt).trimmed();
    if (suffix.startsWith(u'*')) suffix.remove(0, 1);
    if (suffix.startsWith(u'.')) suffix.remove(0, 1);
    if (suffix.contains(u'*') || suffix.contains(u'?')) return {};
    return suffix;
}

QString QtFilterSuffix(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const qsizetype close = nameFilter.lastIndexOf(u')');
    const QString patterns =
        open >= 0 && close > open ? nameFilter.mid(open + 1, close - open - 1) : nameFilter;
    const QStringList each = patterns.split(u' ', Qt::SkipEmptyParts);
    if (each.size() != 1) return {};
    return QtDefaultSuffix(each.first().toStdString());
}

QString LayoutFileType(const QFileInfo& file) {
    const QString suffix = file.suffix().toLower();
    if (file.isDir()) return {};
    if (suffix == QLatin1String("set")) return QStringLiteral("Mill layout");
    if (suffix == QLatin1String("lset")) return QStringLiteral("Turning layout");
    return {};
}

namespace {

// The dialogs' Type column names the layouts, which the system's file types do not know.
class LayoutTypeNames : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        const QString own = LayoutFileType(info);
        return own.isEmpty() ? QFileIconProvider::type(info) : own;
    }
};

QFileIconProvider& TypeNames() {
    static LayoutTypeNames names;
    return names;
}

} // namespace

QtFileDialogs::QtFileDialogs(UserDialogs& dialogs) : Dialogs(dialogs) {}

void QtFileDialogs::Configure(QFileDialog& dialog, const FileDialogSetup& setup, bool save) {
    // Qt's own dialog everywhere: it honours the default suffix and the overwrite question alike.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setIconProvider(&TypeNames());
    dialog.setWindowTitle(FromCodePage(setup.DialogTitle));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode((setup.Flags & FileDialogFlag::FileMustExist) != 0
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     (setup.Flags & FileDialogFlag::OverwritePrompt) == 0);
    const QStringList filters = QtNameFilters(setup.Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (setup.FilterIndex >= 1 && setup.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[setup.FilterIndex - 1]);
    // A name typed without an extension takes the default one; a save takes the one of the filter
    // chosen when it has one.
    const QString fallback = QtDefaultSuffix(setup.DefaultExt);
    const auto suffixFor = [fallback, save](const QString& filter) {
        const QString suffix = save ? QtFilterSuffix(filter) : QString();
        return suffix.isEmpty() ? fallback : suffix;
    };
    dialog.setDefaultSuffix(filters.isEmpty() ? fallback : suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString& filter) {
                         dialog.setDefaultSuffix(suffixFor(filter));
                     });
    const QString folder = FromSystemPath(setup.InitDir);
    if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
    if (!setup.FileName.empty()) dialog.selectFile(FromSystemPath(setup.FileName));
}

int QtFileDialogs::ShowOpen(const FileDialogSetup& setup, std::string& path) {
    return Show(setup, false, path);
}

int QtFileDialogs::ShowSave(const FileDialogSetup& setup, std::string& path) {
    return Show(setup, true, path);
}

int QtFileDialogs::ShowFolder(const FileDialogSetup& setup, std::string& path) {
    QFileDialog dialog(DialogOwner());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(FromCodePage(setup.DialogTitle));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    const QString folder = FromSystemPath(setup.InitDir);
    if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FileDialogCancel;
    path = ChosenPath(dialog.selectedFiles().first());
    return 0;
}

int QtFileDialogs::Show(const FileDialogSetup& setup, bool save, std::string& path) {
    QWidget* parent = DialogOwner();
    FileDialogSetup shown = setup;
    for (;;) {
        QFileDialog dialog(parent);
        Configure(dialog, shown, save);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return FileDialogCancel;
        const QString chosen = dialog.selectedFiles().first();
        const std::string chosenPath = ChosenPath(chosen);
        if ((shown.Flags & FileDialogFlag::CreatePrompt) != 0 && !QFileInfo::exists(chosen)) {
            const MsgAnswer answer =
                Dialogs.MsgBox("The file \"" + PathForMessage(chosenPath) +
                                   "\" does not exist yet.\nDo you want to create it?",
                               MsgButtons::YesNo, MsgIcon::Question, setup.DialogTitle);
            if (answer != MsgAnswer::Yes) {
                // Back to the dialog, where the user left it.
                const QFileInfo info(chosen);
                shown.InitDir = ToSystemPath(info.absolutePath());
                shown.FileName = ToSystemPath(info.fileName());
                continue;
            }
        }
        path = chosenPath;
        return 0;
    }
}
