#include "ui/dialogs/LayoutCheckWindow.h"

#include "layout/LayoutObserver.h"
#include "ui/session/LayoutSession.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <optional>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/widgets/CodePage.h"
#include "ui/session/PreviewSettings.h"

namespace {

QString Counted(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString SeverityCaption(Severity level) {
    switch (level) {
    case Severity::Error:
        return LayoutCheckWindow::tr("Error");
    case Severity::Warning:
        return LayoutCheckWindow::tr("Warning");
    case Severity::Note:
        break;
    }
    return LayoutCheckWindow::tr("Note");
}

QStyle::StandardPixmap SeverityIcon(Severity level) {
    switch (level) {
    case Severity::Error:
        return QStyle::SP_MessageBoxCritical;
    case Severity::Warning:
        return QStyle::SP_MessageBoxWarning;
    case Severity::Note:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

bool SameFinding(const Finding& a, const Finding& b) {
    return a.Code == b.Code && a.Screen == b.Screen && a.Record == b.Record &&
           a.Related == b.Related;
}

// After an edit moves records, the same problem keeps its code, screen and often its sentence
// while its record position changes; failing that, the same kind of problem on the same screen is
// the nearest thing to it.
bool SameSentence(const Finding& a, const Finding& b) {
    return a.Code == b.Code && a.Screen == b.Screen && a.Message == b.Message;
}

bool SameKindOnScreen(const Finding& a, const Finding& b) {
    return a.Code == b.Code && a.Screen == b.Screen;
}

// Where the finding that was selected at `row` is now, or the row that took its place.
int RowAfterRefresh(const std::vector<Finding>& shown, const Finding& selected, int row) {
    for (auto same : {SameFinding, SameSentence, SameKindOnScreen}) {
        const auto at = std::find_if(shown.begin(), shown.end(),
                                     [&](const Finding& f) { return same(f, selected); });
        if (at != shown.end()) return static_cast<int>(at - shown.begin());
    }
    // The problem is gone: the next one moves into its place, as in a list of things to do.
    return std::min(row, static_cast<int>(shown.size()) - 1);
}

} // namespace

LayoutCheckWindow::LayoutCheckWindow(const cLayout& layout, QWidget* parent)
    : QDialog(parent), Layout(layout) {
    setObjectName(QStringLiteral("LayoutCheckWindow"));
    setModal(false);
    setSizeGripEnabled(true);
    setWindowTitle(tr("Check Layout"));

    labSummary = new QLabel(this);
    labSummary->setObjectName(QStringLiteral("labSummary"));
    labSummary->setTextFormat(Qt::PlainText);
    labSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    tblFindings = new QTableWidget(0, ColumnCount, this);
    tblFindings->setObjectName(QStringLiteral("tblFindings"));
    tblFindings->setHorizontalHeaderLabels(
        {tr("Severity"), tr("Code"), tr("Screen"), tr("Record"), tr("Message")});
    tblFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    tblFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Each message is read whole in its row: it wraps onto further lines, the row as tall as
    // it needs, rather than ending in an ellipsis.
    tblFindings->setWordWrap(true);
    tblFindings->setTextElideMode(Qt::ElideNone);
    tblFindings->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblFindings->setAlternatingRowColors(true);
    tblFindings->setShowGrid(false);
    tblFindings->verticalHeader()->hide();
    QHeaderView* header = tblFindings->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = ColSeverity; c < ColMessage; ++c)
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColMessage, QHeaderView::Stretch);

    labDetail = new QLabel(this);
    labDetail->setObjectName(QStringLiteral("labDetail"));
    labDetail->setWordWrap(true);
    labDetail->setTextFormat(Qt::PlainText);
    labDetail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labDetail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest sentences, so the table does not jump as the selection moves.
    labDetail->setMinimumHeight(fontMetrics().lineSpacing() * 2);

    butMoveInside = new QPushButton(tr("Move Inside"), this);
    butMoveInside->setObjectName(QStringLiteral("butMoveInside"));
    butMoveInside->setToolTip(
        tr("Moves the control of the selected off-screen finding inside the screen, as one step"));
    butMoveInside->setAutoDefault(false);
    butRelink = new QPushButton(tr("Relink..."), this);
    butRelink->setObjectName(QStringLiteral("butCheckRelink"));
    butRelink->setToolTip(tr("Gives the missing picture's path a new one, in the Pictures pane"));
    butRelink->setAutoDefault(false);
    butRelink->setEnabled(false);
    butCheckAgain = new QPushButton(tr("Check Again"), this);
    butCheckAgain->setObjectName(QStringLiteral("butCheckAgain"));
    butCheckAgain->setToolTip(tr("Checks the layout again, for pictures added to the folder"));
    butClose = new QPushButton(tr("Close"), this);
    butClose->setObjectName(QStringLiteral("butClose"));
    // Enter belongs to the table (it goes to the finding), so no button may take it.
    butCheckAgain->setAutoDefault(false);
    butClose->setAutoDefault(false);

    auto* commands = new QHBoxLayout;
    commands->addWidget(butMoveInside);
    commands->addWidget(butRelink);
    commands->addStretch(1);
    commands->addWidget(butCheckAgain);
    commands->addWidget(butClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(labSummary);
    column->addWidget(tblFindings, 1);
    column->addWidget(labDetail);
    column->addLayout(commands);

    // activated comes on double-click and on Enter (or on a single click where the platform
    // activates items that way).
    connect(tblFindings, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { Activate(index.row()); });
    connect(tblFindings->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LayoutCheckWindow::ShowDetail);
    connect(butMoveInside, &QPushButton::clicked, this, [this] {
        const int row = SelectedRow();
        if (row < 0 || row >= static_cast<int>(Shown.size())) return;
        const Finding& f = Shown[static_cast<std::size_t>(row)];
        if (f.Code == CheckCode::OffScreen && f.Record > 0) emit MoveInsideRequested(f.Record);
    });
    connect(butCheckAgain, &QPushButton::clicked, this, &LayoutCheckWindow::Refresh);
    connect(butRelink, &QPushButton::clicked, this, [this] {
        const int row = SelectedRow();
        if (row >= 0 && row < static_cast<int>(Shown.size()))
            emit RelinkRequested(Shown[static_cast<std::size_t>(row)].Record);
    });
    connect(butClose, &QPushButton::clicked, this, &QDialog::close);

    Refresh();
    if (const QScreen* display = QGuiApplication::primaryScreen())
        resize(sizeHint().boundedTo(display->availableGeometry().size() * 9 / 10));
}

QSize LayoutCheckWindow::sizeHint() const {
    // Wide enough for a typical sentence beside the short columns, tall enough for a screenful
    // of findings.
    const QFontMetrics metrics = fontMetrics();
    return {metrics.averageCharWidth() * 150, metrics.lineSpacing() * 28};
}

void LayoutCheckWindow::Follow(LayoutSession& session) {
    SetChosenResolution(session.ChosenResolution());
    connect(&session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        if (change.RecordsChanged || change.Reloaded || change.ScreensChanged) Refresh();
    });
    connect(&session, &LayoutSession::ChosenResolutionChanged, this,
            [this, &session] { SetChosenResolution(session.ChosenResolution()); });
}

void LayoutCheckWindow::SetChosenResolution(const std::optional<Resolution>& resolution) {
    if (resolution == Chosen) return;
    Chosen = resolution;
    Refresh();
}

void LayoutCheckWindow::Refresh() {
    const int row = SelectedRow();
    std::optional<Finding> selected;
    if (row >= 0 && row < static_cast<int>(Shown.size()))
        selected = Shown[static_cast<std::size_t>(row)];

    const QString file = QFileInfo(FromSystemPath(Layout.FileName())).fileName();
    setWindowTitle(file.isEmpty() ? tr("Check Layout") : tr("Check Layout - %1").arg(file));

    QString failure;
    try {
        CheckOptions options;
        options.ScreenResolution = Chosen;
        const std::string folder = PicturesFolderSetting();
        std::optional<PictureFinder> finder;
        if (!folder.empty()) {
            finder = PictureFinder::ForLayout(Layout.FileName(), folder);
            finder->SetCodePage(Layout.TextCodePage());
            options.PictureFound = [&finder](const std::string& path) {
                return finder->Find(path).Found();
            };
        }
        Shown = CheckLayout(Layout, options);
    } catch (const std::exception& e) {
        Shown.clear();
        failure = tr("The check could not be completed: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Shown.clear();
        failure = tr("The check could not be completed.");
    }
    // A refresh follows every command, so the view stays where the user scrolled it.
    const int scrolled = tblFindings->verticalScrollBar()->value();
    Fill();
    if (!failure.isEmpty()) labSummary->setText(failure);
    tblFindings->doItemsLayout(); // the scroll range of the new rows
    tblFindings->verticalScrollBar()->setValue(scrolled);

    if (selected && !Shown.empty()) SelectRow(RowAfterRefresh(Shown, *selected, row));
    ShowDetail();
}

void LayoutCheckWindow::Fill() {
    tblFindings->setRowCount(0);
    tblFindings->setRowCount(static_cast<int>(Shown.size()));
    const auto& screens = Layout.Screens();
    const QIcon icons[] = {style()->standardIcon(SeverityIcon(Severity::Error)),
                           style()->standardIcon(SeverityIcon(Severity::Warning)),
                           style()->standardIcon(SeverityIcon(Severity::Note))};
    for (int row = 0; row < static_cast<int>(Shown.size()); ++row) {
        const Finding& f = Shown[static_cast<std::size_t>(row)];
        auto* severity = Cell(SeverityCaption(f.Level));
        severity->setIcon(icons[static_cast<int>(f.Level)]);
        tblFindings->setItem(row, ColSeverity, severity);
        tblFindings->setItem(row, ColCode, Cell(QString::fromLatin1(CodeName(f.Code))));

        auto* screen =
            Cell(f.Screen == WholeLayout ? tr("all") : QString::number(f.Screen), Qt::AlignRight);
        if (IsLayoutScreen(f.Screen)) {
            const std::string& label = screens[static_cast<std::size_t>(f.Screen)].Label;
            if (!label.empty())
                screen->setToolTip(tr("Screen %1: %2")
                                       .arg(f.Screen)
                                       .arg(FromCodePage(label, Layout.TextCodePage())));
        } else if (f.Screen == WholeLayout) {
            screen->setToolTip(tr("The whole layout"));
        }
        tblFindings->setItem(row, ColScreen, screen);
        tblFindings->setItem(
            row, ColRecord,
            Cell(f.Record > 0 ? QString::number(f.Record) : QString(), Qt::AlignRight));

        const QString message = FromCodePage(f.Message, Layout.TextCodePage());
        auto* text = Cell(message);
        text->setToolTip(message);
        tblFindings->setItem(row, ColMessage, text);
    }

    const SeverityCounts counts = CountBySeverity(Shown);
    if (Shown.empty())
        labSummary->setText(Layout.ControlCount() == 0 && Layout.FileName().empty()
                                ? tr("No layout is open")
                                : tr("No problems found"));
    else
        labSummary->setText(Counted(counts.Errors, "error", "errors") + QStringLiteral(", ") +
                            Counted(counts.Warnings, "warning", "warnings") + QStringLiteral(", ") +
                            Counted(counts.Notes, "note", "notes"));
}

void LayoutCheckWindow::ShowDetail() {
    const int row = SelectedRow();
    const bool shown = row >= 0 && row < static_cast<int>(Shown.size());
    const Finding* f = shown ? &Shown[static_cast<std::size_t>(row)] : nullptr;
    butMoveInside->setEnabled(f != nullptr && f->Code == CheckCode::OffScreen && f->Record > 0);
    butRelink->setEnabled(f != nullptr && f->Code == CheckCode::MissingPicture);
    if (f == nullptr) return labDetail->clear();
    labDetail->setText(FromCodePage(f->Message, Layout.TextCodePage()));
}

int LayoutCheckWindow::SelectedRow() const {
    const QModelIndexList rows = tblFindings->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void LayoutCheckWindow::SelectRow(int row) {
    if (row < 0 || row >= tblFindings->rowCount()) {
        tblFindings->clearSelection();
        return;
    }
    tblFindings->setCurrentCell(row, ColSeverity);
    tblFindings->selectRow(row);
    tblFindings->scrollToItem(tblFindings->item(row, ColSeverity));
}

QString LayoutCheckWindow::Summary() const {
    return labSummary->text();
}

void LayoutCheckWindow::Activate(int row) {
    if (row < 0 || row >= static_cast<int>(Shown.size())) return;
    const Finding& f = Shown[static_cast<std::size_t>(row)];
    emit FindingActivated(f.Screen, f.Record);
}
