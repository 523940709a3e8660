#include "ui/dialogs/CompareWindow.h"

#include "layout/LayoutObserver.h"
#include "ui/session/LayoutSession.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>
#include <optional>

#include "layout/QuietDialogs.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

constexpr int ChangeRole = Qt::UserRole;     // the change's index; -1 on a screen's row
constexpr int ScreenRole = Qt::UserRole + 1; // the screen a screen's row stands for

QString Counted(int n, const char* what) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(what));
}

QString FileName(const std::string& path) {
    return QFileInfo(FromSystemPath(path)).fileName();
}

} // namespace

CompareWindow::CompareWindow(const cLayout& principal, FileDialogs& files, UserDialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent), Principal(principal), Dialogs(dialogs) {
    setObjectName(QStringLiteral("CompareWindow"));
    setModal(false);
    setSizeGripEnabled(true);
    setWindowTitle(tr("Compare"));

    labSummary = new QLabel(this);
    labSummary->setObjectName(QStringLiteral("labSummary"));
    labSummary->setTextFormat(Qt::PlainText);

    tblChanges = new QTreeWidget(this);
    tblChanges->setObjectName(QStringLiteral("tblChanges"));
    tblChanges->setColumnCount(ColumnCount);
    tblChanges->setHeaderLabels({tr("Change"), tr("Record"), tr("Control"), tr("What changed")});
    tblChanges->setUniformRowHeights(true);
    tblChanges->setAlternatingRowColors(true);
    tblChanges->setTextElideMode(Qt::ElideRight);
    tblChanges->header()->setStretchLastSection(true);

    // The two versions side by side, each under what it is.
    auto* previews = new QWidget(this);
    auto* sideBySide = new QHBoxLayout(previews);
    sideBySide->setContentsMargins(0, 0, 0, 0);
    const auto column = [&](QLabel*& caption, ScreenPreview*& preview, const char* name) {
        auto* box = new QVBoxLayout;
        caption = new QLabel(previews);
        caption->setTextFormat(Qt::PlainText);
        preview = new ScreenPreview(files, dialogs, previews);
        preview->setObjectName(QString::fromLatin1(name));
        box->addWidget(caption);
        box->addWidget(preview, 1);
        sideBySide->addLayout(box, 1);
    };
    column(labFile, OldPreview, "FilePreview");
    column(labPrincipal, NewPreview, "PrincipalPreview");
    NewPreview->SetPictureCache(OldPreview->Pictures());
    connect(OldPreview, &ScreenPreview::PicturesFolderChanged, NewPreview,
            &ScreenPreview::ReloadPictures);
    connect(NewPreview, &ScreenPreview::PicturesFolderChanged, OldPreview,
            &ScreenPreview::ReloadPictures);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("CompareSplitter"));
    split->addWidget(tblChanges);
    split->addWidget(previews);
    // Even shares: the previews keep their screens' proportions, so more height than half the
    // window would only leave them blank beneath, while the list shows a dozen changes.
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    butCompareAgain = new QPushButton(tr("Compare Again"), this);
    butCompareAgain->setObjectName(QStringLiteral("butCompareAgain"));
    butCompareAgain->setToolTip(tr("Reads the file again and compares"));
    butClose = new QPushButton(tr("Close"), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    butCompareAgain->setAutoDefault(false);
    butClose->setAutoDefault(false);
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(butCompareAgain);
    commands->addWidget(butClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labSummary);
    layout->addWidget(split, 1);
    layout->addLayout(commands);

    connect(tblChanges, &QTreeWidget::currentItemChanged, this,
            [this] { RunGuarded(Dialogs, [this] { ShowSelected(); }); });
    connect(butCompareAgain, &QPushButton::clicked, this,
            [this] { RunGuarded(Dialogs, [this] { CompareAgain(); }); });
    connect(butClose, &QPushButton::clicked, this, &QDialog::close);

    if (const QScreen* display = QGuiApplication::primaryScreen())
        resize(sizeHint().boundedTo(display->availableGeometry().size() * 9 / 10));
}

CompareWindow::~CompareWindow() = default;

QSize CompareWindow::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.averageCharWidth() * 160, metrics.lineSpacing() * 50};
}

CompareWindow* CompareWindow::Open(const cLayout& principal, const std::string& path,
                                   FileDialogs& files, UserDialogs& dialogs, QWidget* parent) {
    auto* window = new CompareWindow(principal, files, dialogs, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->Compare(path)) {
        const std::string failure = window->Failure();
        delete window;
        dialogs.MsgBox(failure, MsgButtons::OK, MsgIcon::Exclamation);
        return nullptr;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

bool CompareWindow::Compare(const std::string& path) {
    auto quiet = std::make_unique<QuietDialogs>();
    auto other = std::make_unique<cLayout>(*quiet);
    if (!other->LoadLayout(path)) {
        FailureText = quiet->Warning.empty()
                          ? "Cannot read layout file \"" + PathForMessage(path) + "\""
                          : quiet->Warning;
        return false;
    }
    FailureText.clear();
    // The preview lets go of the version it shows before that version goes.
    OldPreview->Clear();
    Other = std::move(other);
    OtherDialogs = std::move(quiet);
    OtherPath = path;
    OtherContent.Records.assign(Other->Records().begin(), Other->Records().end());
    OtherContent.Trailer = Other->FileTrailer();
    labFile->setText(tr("File: %1").arg(FromSystemPath(path)));
    Refresh();
    return true;
}

void CompareWindow::CompareAgain() {
    if (!Compare(OtherPath)) labSummary->setText(FromCodePage(FailureText));
}

void CompareWindow::Follow(LayoutSession& session) {
    connect(&session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        if (change.RecordsChanged || change.Reloaded) Refresh();
    });
}

void CompareWindow::Refresh() {
    // It follows every command of the main window, outside any command's guard.
    try {
        Recompare();
    } catch (const std::exception& e) {
        labSummary->setText(
            tr("The comparison could not be completed: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        labSummary->setText(tr("The comparison could not be completed."));
    }
}

void CompareWindow::Recompare() {
    const int selected = SelectedChange();
    std::optional<LayoutDifference> was;
    if (selected >= 0) was = Diff.Changes[static_cast<std::size_t>(selected)];

    PrincipalContent.Records.assign(Principal.Records().begin(), Principal.Records().end());
    PrincipalContent.Trailer = Principal.FileTrailer();
    Diff = DiffLayouts(OtherContent, PrincipalContent);

    const QString principalFile = FileName(Principal.FileName());
    setWindowTitle(tr("Compare %1 with %2")
                       .arg(principalFile.isEmpty() ? tr("the Principal layout") : principalFile,
                            FileName(OtherPath)));
    labPrincipal->setText((principalFile.isEmpty()
                               ? tr("Principal layout")
                               : tr("Principal layout: %1").arg(principalFile)) +
                          (Principal.IsDirty() ? tr(" (changed since it was saved)") : QString()));
    Fill();
    labSummary->setText(Summary());

    // The same difference, if it is still there: same kind, same records.
    int again = -1;
    for (std::size_t k = 0; was && k < Diff.Changes.size(); ++k) {
        const LayoutDifference& c = Diff.Changes[k];
        if (c.Kind == was->Kind && c.Old == was->Old && c.New == was->New)
            again = static_cast<int>(k);
    }
    if (again >= 0) {
        SelectChange(again);
    } else {
        // The previews show what they showed, as the layouts are now.
        OldPreview->Refresh();
        NewPreview->Refresh();
    }
}

QString CompareWindow::Summary() const {
    int counts[4] = {};
    bool trailer = false;
    for (const LayoutDifference& c : Diff.Changes) {
        if (c.Kind == ChangeKind::Trailer)
            trailer = true;
        else
            ++counts[static_cast<int>(c.Kind)];
    }
    QStringList parts;
    const char* names[] = {"added", "removed", "changed", "re-ordered"};
    for (int k = 0; k < 4; ++k)
        if (counts[k] > 0) parts << Counted(counts[k], names[k]);
    QString text = parts.join(QStringLiteral(", "));
    if (trailer) text += (text.isEmpty() ? tr("The trailer differs") : tr("; the trailer differs"));
    return text.isEmpty() ? tr("No differences") : text;
}

void CompareWindow::Fill() {
    const QSignalBlocker quiet(tblChanges);
    tblChanges->clear();
    QTreeWidgetItem* group = nullptr;
    int32_t groupScreen = 0;
    for (std::size_t k = 0; k < Diff.Changes.size(); ++k) {
        const LayoutDifference& c = Diff.Changes[k];
        const bool trailer = c.Kind == ChangeKind::Trailer;
        if (group == nullptr || trailer || c.Screen != groupScreen) {
            group = new QTreeWidgetItem(tblChanges);
            QString title = tr("Trailer");
            if (!trailer) {
                std::string name = ScreenName(PrincipalContent.Records, c.Screen);
                if (name.empty()) name = ScreenName(OtherContent.Records, c.Screen);
                title = tr("Screen %1").arg(c.Screen);
                if (!name.empty()) title += QStringLiteral(" \"%1\"").arg(FromCodePage(name));
            }
            group->setText(ColChange, title);
            group->setFirstColumnSpanned(true);
            group->setData(ColChange, ChangeRole, -1);
            group->setData(ColChange, ScreenRole, trailer ? -1 : c.Screen);
            groupScreen = c.Screen;
        }
        auto* item = new QTreeWidgetItem(group);
        item->setText(ColChange, QString::fromLatin1(ChangeKindName(c.Kind)));
        item->setText(ColRecord, FromCodePage(ChangePositions(c)));
        if (!trailer) {
            const ControlRecord& shown =
                c.New > 0 ? PrincipalContent.Records[static_cast<std::size_t>(c.New - 1)]
                          : OtherContent.Records[static_cast<std::size_t>(c.Old - 1)];
            item->setText(ColControl, FromCodePage(ControlDescription(shown)));
        }
        const QString details = FromCodePage(ChangeDetails(c, OtherContent, PrincipalContent));
        item->setText(ColDetails, details);
        item->setToolTip(ColDetails, details);
        item->setData(ColChange, ChangeRole, static_cast<int>(k));
    }
    tblChanges->expandAll();
    for (int c = ColChange; c < ColDetails; ++c)
        tblChanges->resizeColumnToContents(c);
}

QTreeWidgetItem* CompareWindow::ItemOfChange(int index) const {
    for (int g = 0; g < tblChanges->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tblChanges->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->data(ColChange, ChangeRole).toInt() == index)
                return group->child(i);
    }
    return nullptr;
}

void CompareWindow::SelectChange(int index) {
    QTreeWidgetItem* item = index >= 0 ? ItemOfChange(index) : nullptr;
    {
        const QSignalBlocker quiet(tblChanges);
        tblChanges->setCurrentItem(item);
        if (item != nullptr) tblChanges->scrollToItem(item);
    }
    ShowSelected();
}

int CompareWindow::SelectedChange() const {
    const QTreeWidgetItem* item = tblChanges->currentItem();
    return item != nullptr ? item->data(ColChange, ChangeRole).toInt() : -1;
}

void CompareWindow::ShowSelected() {
    const QTreeWidgetItem* item = tblChanges->currentItem();
    if (item == nullptr || Other == nullptr) return;
    // The old version's number of a screen the Principal layout numbers `screen`.
    const auto oldScreenOf = [this](int32_t screen) {
        for (int s = 0; s < ScreenCount; ++s)
            if (Diff.Screens.NewOf[static_cast<std::size_t>(s)] == screen) return int32_t{s};
        return screen;
    };
    int32_t oldScreen = 0, newScreen = 0;
    int oldRecord = 0, newRecord = 0;
    const int index = item->data(ColChange, ChangeRole).toInt();
    if (index >= 0) {
        const LayoutDifference& c = Diff.Changes[static_cast<std::size_t>(index)];
        if (c.Kind == ChangeKind::Trailer) return;
        oldRecord = c.Old;
        newRecord = c.New;
        newScreen = c.New > 0
                        ? PrincipalContent.Records[static_cast<std::size_t>(c.New - 1)].rScreen
                        : Diff.Screens.Map(c.Screen).value_or(c.Screen);
        oldScreen = c.Old > 0 ? OtherContent.Records[static_cast<std::size_t>(c.Old - 1)].rScreen
                              : oldScreenOf(c.Screen);
    } else {
        newScreen = item->data(ColChange, ScreenRole).toInt();
        if (newScreen < 0) return;
        oldScreen = oldScreenOf(newScreen);
    }
    OldPreview->ShowScreen(*Other, oldScreen);
    OldPreview->HighlightRecord(oldRecord);
    NewPreview->ShowScreen(Principal, newScreen);
    NewPreview->HighlightRecord(newRecord);
}
