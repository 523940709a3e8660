#pragma once
// What the main window's files share: its design sizes, the file dialogs' filters and flags, the
// settings' keys, and small helpers. Only the main window's own sources include it.

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QTreeWidget>
#include <QVariant>

#include <initializer_list>
#include <string>

#include "platform/FileAccess.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/Twips.h"

namespace MainWindowShared {

// The window's client area, in twips: its default and smallest size.
constexpr int ClientWidth = 10530;
constexpr int ClientHeight = 8055;
// The design sizes of the two frames and of the lists, in twips.
constexpr int PrincFrameHeight = 4095;
constexpr int AddFrameHeight = 3375;
constexpr int ListWidth = 8535;
constexpr int PrincListHeight = 2655;
constexpr int AddListHeight = 1815;
// The part of the screen's free area the window takes the first time it opens.
constexpr double FirstSizeShare = 0.8;
// The size the window's captions are designed for.
constexpr qreal DesignPointSize = 8.0;

// Of the height beyond the design size, the part the Principal frame gets. Its list needs less
// to show all 16 screens than the Additional one, so both get there at about the same height.
constexpr double PrincipalHeightShare = 0.42;

constexpr int OpenFlags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly;
constexpr int SaveFlags =
    FileDialogFlag::CreatePrompt | FileDialogFlag::OverwritePrompt | FileDialogFlag::HideReadOnly;

const char* const LayoutFilter = "Mill Layouts |*.set|Turning Layouts|*.lset|";
const char* const OpenLayoutFilter = "All layouts|*.set;*.lset;*.zip|Mill Layouts |*.set|Turning "
                                     "Layouts|*.lset|Layouts with pictures|*.zip|";
// Save As offers the mill filter first and the turning one second.
constexpr int TurningFilterIndex = 2;

// Where each dialog's last folder is kept, and the folder each starts in the first time.
const char* const OpenFolderKey = "Folders/OpenLayout";
const char* const SaveFolderKey = "Folders/SaveLayout";
const char* const ExportFolderKey = "Folders/CsvExport";
const char* const ImportFolderKey = "Folders/CsvImport";

const char* const SizeKey = "MainWindow/Size";
const char* const MaximizedKey = "MainWindow/Maximized";
const char* const FrameSplitKey = "MainWindow/FrameSplit";
const char* const PrincPreviewSplitKey = "MainWindow/PrincipalPreviewSplit";
const char* const AddPreviewSplitKey = "MainWindow/AdditionalPreviewSplit";
const char* const PrincColumnsKey = "MainWindow/PrincipalColumns";
const char* const AddColumnsKey = "MainWindow/AdditionalColumns";

inline QString Key(const char* key) {
    return QString::fromLatin1(key);
}

inline int Px(int twips) {
    return TwipsToPixels(twips);
}

inline bool HasSuffix(const QString& path, std::initializer_list<const char*> suffixes) {
    const QString suffix = QFileInfo(path).suffix();
    for (const char* s : suffixes)
        if (suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    return false;
}

inline bool IsLayoutPath(const QString& path) {
    return HasSuffix(path, {"set", "lset"});
}

inline bool IsCsvPath(const QString& path) {
    return HasSuffix(path, {"csv"});
}

inline std::string Quoted(const QString& path) {
    return "\"" + PathForMessage(ChosenPath(path)) + "\"";
}

// A path named on the command line, made absolute so the box, the title and Save name it whole,
// spelled as the system spells paths.
inline std::string AbsolutePath(const std::string& path) {
    return ChosenPath(QFileInfo(FromSystemPath(path)).absoluteFilePath());
}

// The platform's keys for a standard command, or the usual one where the platform has none.
inline QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, QKeyCombination usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) keys << QKeySequence(usual);
    return keys;
}

inline QList<int> ColumnWidths(const QTreeWidget& list) {
    QList<int> widths;
    for (int c = 0; c < list.columnCount(); ++c)
        widths << list.columnWidth(c);
    return widths;
}

inline QVariantList AsVariants(const QList<int>& values) {
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

inline void RestoreColumnWidths(QTreeWidget& list, const QVariant& stored) {
    const QVariantList widths = stored.toList();
    if (widths.size() != list.columnCount()) return;
    for (const QVariant& width : widths)
        if (width.toInt() <= 0 || width.toInt() > 4000) return;
    for (int c = 0; c < list.columnCount(); ++c)
        list.setColumnWidth(c, widths[c].toInt());
}

} // namespace MainWindowShared
