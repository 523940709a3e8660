#include "ui/panes/PicturesPane.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/widgets/CommonCode.h"
#include "editing/FindReplace.h"
#include "editing/Relink.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/widgets/CodePage.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/widgets/HandlerGuard.h"
#include "ui/session/LayoutSession.h"
#include "ui/session/PreviewSettings.h"
#include "ui/widgets/ScreenFit.h"
#include "versioning/LayoutDiff.h"

namespace {

template <typename Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QTreeWidget* Table(QWidget* parent, const char* name, const QStringList& headings) {
    auto* table = Named(new QTreeWidget(parent), name);
    table->setColumnCount(static_cast<int>(headings.size()));
    table->setHeaderLabels(headings);
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->header()->setStretchLastSection(true);
    table->setMinimumHeight(table->fontMetrics().lineSpacing() * 5);
    return table;
}

// "1024 x 768, 147510 bytes": the picture's size as its header gives it, and the file's.
QString SizeText(const PictureUse& use, QHash<QString, QSize>& known) {
    if (use.Found.empty()) return {};
    const QString file = FromSystemPath(use.Found);
    auto at = known.constFind(file);
    if (at == known.constEnd()) at = known.insert(file, QImageReader(file).size());
    const QSize pixels = *at;
    QString text = pixels.isValid()
                       ? QStringLiteral("%1 x %2").arg(pixels.width()).arg(pixels.height())
                       : QString();
    if (use.Bytes) {
        if (!text.isEmpty()) text += QStringLiteral(", ");
        text += QStringLiteral("%1 bytes").arg(static_cast<qulonglong>(*use.Bytes));
    }
    return text;
}

// The folder part of a picture path, its separator kept: "NewPlasma\" of "NewPlasma\Jog.png".
std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

} // namespace

PicturesPane::PicturesPane(LayoutSession& session, FileDialogs& files, UserDialogs& dialogs,
                           QWidget* parent)
    : QDockWidget(tr("Pictures"), parent), Session(session), Files(files), Dialogs(dialogs) {
    setObjectName(QStringLiteral("PicturesPane"));
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("PicturesContent"));
    auto* column = new QVBoxLayout(content);

    auto* split = Named(new QSplitter(Qt::Vertical, content), "PicturesSplitter");
    tblPictures =
        Table(split, "tblPictures", {tr("Picture path"), tr("Uses"), tr("Found at"), tr("Size")});
    tblPictures->setSelectionMode(QAbstractItemView::SingleSelection);
    lstPictureUses =
        Table(split, "lstPictureUses", {tr("Screen"), tr("Record"), tr("Control"), tr("Path")});
    // The path is what the user reads here, however narrow the pane.
    StretchKeyColumn(*tblPictures, 0);
    tblPictures->header()->setSectionResizeMode(2, QHeaderView::Interactive); // found at: long
    StretchKeyColumn(*lstPictureUses, 2);
    lstPictureUses->setToolTip(tr("The controls that show the chosen picture, under any spelling "
                                  "of its path"));
    split->addWidget(tblPictures);
    split->addWidget(lstPictureUses);
    column->addWidget(split, 1);

    auto* statusRow = new QHBoxLayout;
    labPictures = Named(new QLabel(content), "labPictures");
    labPictures->setTextFormat(Qt::PlainText);
    labPictures->setWordWrap(true);
    butLookAgain = Named(new QPushButton(tr("Look Again"), content), "butLookAgain");
    butLookAgain->setToolTip(tr("Looks every picture up again, after pictures were added"));
    statusRow->addWidget(labPictures, 1);
    statusRow->addWidget(butLookAgain);
    column->addLayout(statusRow);

    auto* relink = new QGridLayout;
    relink->addWidget(new QLabel(tr("Relink:"), content), 0, 0);
    txtRelinkFrom = Named(new QLineEdit(content), "txtRelinkFrom");
    txtRelinkFrom->setToolTip(tr("The picture path, or a folder ending in \\, to relink"));
    relink->addWidget(txtRelinkFrom, 0, 1);
    chkRelinkFolder = Named(new QCheckBox(tr("Its whole folder"), content), "chkRelinkFolder");
    relink->addWidget(chkRelinkFolder, 0, 2, 1, 2);
    relink->addWidget(new QLabel(tr("To:"), content), 1, 0);
    txtRelinkTo = Named(new QLineEdit(content), "txtRelinkTo");
    txtRelinkTo->setToolTip(tr("The new path, as the host names pictures (Skin\\Jog.png)"));
    relink->addWidget(txtRelinkTo, 1, 1);
    butRelinkBrowse = Named(new QPushButton(tr("Browse..."), content), "butRelinkBrowse");
    butRelink = Named(new QPushButton(tr("Relink"), content), "butRelink");
    relink->addWidget(butRelinkBrowse, 1, 2);
    relink->addWidget(butRelink, 1, 3);
    relink->setColumnStretch(1, 1);
    column->addLayout(relink);

    SetScrollingPaneContent(*this, content);

    connect(tblPictures, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item == nullptr) return;
        RunGuarded(Dialogs, [this, item] {
            ChosenPath =
                Uses[static_cast<std::size_t>(tblPictures->indexOfTopLevelItem(item))].Path;
            ShowUses();
            FillRelinkFrom();
        });
    });
    const auto chooseUse = [this](QTreeWidgetItem* item) {
        if (item == nullptr) return;
        const int row = lstPictureUses->indexOfTopLevelItem(item);
        if (row < 0 || row >= static_cast<int>(Showing.size())) return;
        const int record = Showing[static_cast<std::size_t>(row)];
        emit ControlChosen(Session.Layout().Records()[static_cast<std::size_t>(record - 1)].rScreen,
                           record);
    };
    connect(lstPictureUses, &QTreeWidget::currentItemChanged, this, chooseUse);
    connect(lstPictureUses, &QTreeWidget::itemActivated, this, chooseUse);
    connect(chkRelinkFolder, &QCheckBox::toggled, this, &PicturesPane::FillRelinkFrom);
    connect(butRelink, &QPushButton::clicked, this, &PicturesPane::Relink);
    connect(txtRelinkTo, &QLineEdit::returnPressed, this, &PicturesPane::Relink);
    connect(butRelinkBrowse, &QPushButton::clicked, this, &PicturesPane::BrowseNewPath);
    connect(butLookAgain, &QPushButton::clicked, this, &PicturesPane::LookAgain);
    // Looked up while the pane is shown; a hidden pane looks again when it is shown.
    connect(&Session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        // Another layout: what was typed to relink belonged to the last one.
        if (change.Reloaded) {
            ChosenPath.clear();
            txtRelinkFrom->clear();
            txtRelinkTo->clear();
            chkRelinkFolder->setChecked(false);
        }
        Stale = !isVisible();
        if (!Stale) RunGuarded(Dialogs, [this] { Refill(); });
    });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && Stale) RunGuarded(Dialogs, [this] { Refill(); });
    });
    Refill();
}

PicturesPane::~PicturesPane() = default;

void PicturesPane::LookAgain() {
    RunGuarded(Dialogs, [this] {
        Finder.reset();
        PixelSizes.clear();
        Refill();
    });
}

void PicturesPane::Refill() {
    Stale = false;
    const cLayout& layout = Session.Layout();
    const std::string folder = PicturesFolderSetting();
    if (!Finder || FinderLayout != layout.FileName() || FinderFolder != folder) {
        Finder =
            std::make_unique<PictureFinder>(PictureFinder::ForLayout(layout.FileName(), folder));
        FinderLayout = layout.FileName();
        FinderFolder = folder;
    }
    Finder->SetCodePage(layout.TextCodePage());
    Uses = PictureUses(layout.Records(), Finder.get());

    const QSignalBlocker quiet(tblPictures);
    tblPictures->clear();
    int missing = 0, chosen = -1;
    QList<QTreeWidgetItem*> rows;
    for (const PictureUse& use : Uses) {
        auto* row = new QTreeWidgetItem;
        const QString path = FromCodePage(use.Path, layout.TextCodePage());
        row->setText(ColPath, path);
        row->setToolTip(ColPath, path);
        row->setText(ColUses, QString::number(use.Records.size()));
        row->setTextAlignment(ColUses, Qt::AlignRight | Qt::AlignVCenter);
        // Where it was found, as the host's rule names the place.
        const QString found = use.Found.empty()
                                  ? tr("not found")
                                  : QDir::toNativeSeparators(FromSystemPath(use.Found)) +
                                        QStringLiteral(" (") +
                                        QString::fromStdString(use.FoundIn) + QLatin1Char(')');
        row->setText(ColFound, found);
        row->setToolTip(ColFound, found);
        row->setText(ColSize, SizeText(use, PixelSizes));
        if (use.Found.empty()) {
            ++missing;
            row->setForeground(ColFound, QBrush(Qt::red));
        }
        if (use.Path == ChosenPath) chosen = static_cast<int>(rows.size());
        rows << row;
    }
    tblPictures->addTopLevelItems(rows);
    if (chosen >= 0) tblPictures->setCurrentItem(tblPictures->topLevelItem(chosen));
    labPictures->setText(
        Uses.empty() ? tr("The layout names no pictures.")
                     : tr("%1 picture paths, %2 not found").arg(Uses.size()).arg(missing) +
                           (folder.empty() ? tr(" (no pictures folder is chosen; the layout's "
                                                "folder and its parent are looked in)")
                                           : QString()) +
                           QStringLiteral("."));
    ShowUses();
}

void PicturesPane::SelectPath(int row) {
    if (row < 0 || row >= tblPictures->topLevelItemCount()) return;
    tblPictures->setCurrentItem(tblPictures->topLevelItem(row));
}

void PicturesPane::ShowUses() {
    const auto records = Session.Layout().Records();
    Showing = ChosenPath.empty() ? std::vector<int>() : ControlsShowingPicture(records, ChosenPath);
    const QSignalBlocker quiet(lstPictureUses);
    lstPictureUses->clear();
    for (int position : Showing) {
        const ControlRecord& record = records[static_cast<std::size_t>(position - 1)];
        auto* row = new QTreeWidgetItem(lstPictureUses);
        row->setText(UseScreen, QString::number(record.rScreen));
        row->setText(UseRecord, QString::number(position));
        row->setText(UseControl, FromCodePage(ControlDescription(record)));
        row->setText(UsePath, FromCodePage(record.rBitMapPath));
    }
}

void PicturesPane::FillRelinkFrom() {
    if (ChosenPath.empty()) return;
    const std::string from = chkRelinkFolder->isChecked() ? FolderOf(ChosenPath) : ChosenPath;
    txtRelinkFrom->setText(FromCodePage(from));
}

void PicturesPane::RelinkPath(const std::string& path) {
    RunGuarded(Dialogs, [this, &path] {
        Refill();
        for (std::size_t k = 0; k < Uses.size(); ++k)
            if (Uses[k].Path == path) SelectPath(static_cast<int>(k));
        ChosenPath = path;
        chkRelinkFolder->setChecked(false);
        FillRelinkFrom();
        show();
        raise();
        txtRelinkTo->setFocus();
    });
}

bool PicturesPane::Relink() {
    bool done = false;
    RunGuarded(Dialogs, [this, &done] {
        std::string from, to, refusal;
        if (!TextForRecords(txtRelinkFrom->text().toStdString(), from, refusal,
                            "The picture path") ||
            !TextForRecords(txtRelinkTo->text().toStdString(), to, refusal,
                            "The new picture path")) {
            Warn(refusal + " Nothing was relinked.");
            return;
        }
        cLayout& layout = Session.Layout();
        const RelinkPlan plan = PlanRelink(layout.Records(), from, to);
        if (!plan.Refusal.empty()) {
            Warn(plan.Refusal);
            return;
        }
        if (plan.Controls == 0) {
            Dialogs.MsgBox("Nothing changes: the pictures are linked so already.", MsgButtons::OK,
                           MsgIcon::None, "Relink");
            return;
        }
        if (!Session.Apply(plan.Edit, plan.StepText())) return;
        // The relinked path is the one to look at now.
        ChosenPath = IsPictureFolder(from) ? std::string() : to;
        Refill();
        done = true;
    });
    return done;
}

void PicturesPane::BrowseNewPath() {
    RunGuarded(Dialogs, [this] {
        FileDialogSetup setup;
        setup.DialogTitle = "The picture to link to";
        setup.Filter = "Pictures|*.png;*.jpg;*.jpeg;*.bmp|All files|*.*|";
        setup.Flags = FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly;
        const QString layoutFile = FromSystemPath(Session.Layout().FileName());
        const QDir layoutFolder = QFileInfo(layoutFile).absoluteDir();
        if (!layoutFile.isEmpty()) setup.InitDir = ToSystemPath(layoutFolder.absolutePath());
        std::string chosen;
        if (Files.ShowOpen(setup, chosen) != 0) return;
        // The host names pictures relative to its folder, where the layout lies, with '\'.
        QString path = FromSystemPath(chosen);
        if (!layoutFile.isEmpty()) {
            const QString relative = layoutFolder.relativeFilePath(path);
            if (!relative.startsWith(QStringLiteral(".."))) path = relative;
        }
        path.replace(u'/', u'\\');
        if (chkRelinkFolder->isChecked()) path = path.left(path.lastIndexOf(u'\\') + 1);
        txtRelinkTo->setText(path);
    });
}

void PicturesPane::Warn(const std::string& prompt) {
    Dialogs.MsgBox(prompt, MsgButtons::OK, MsgIcon::Exclamation);
}
