#include "ui/panes/ControlsTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "editing/ControlEdits.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "ui/panes/ControlsTableModel.h"
#include "ui/session/LayoutSession.h"

namespace {

// Column widths in characters of the table's font.
constexpr int ColumnChars[ControlsTableModel::ColumnCount] = {7, 6, 12, 18, 14, 6,  6,  6,
                                                              6, 6, 6,  8,  8,  10, 24, 8};

} // namespace

ControlsTable::ControlsTable(LayoutSession& session, QWidget* parent)
    : QDockWidget(tr("Controls table"), parent), Session(session) {
    setObjectName(QStringLiteral("ControlsTable"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    chkAllScreens = new QCheckBox(tr("&All screens"), content);
    chkAllScreens->setObjectName(QStringLiteral("chkAllScreens"));
    chkAllScreens->setToolTip(tr("Lists the controls of every screen rather than of the screen "
                                 "selected in the Principal list"));
    cboKind = new QComboBox(content);
    cboKind->setObjectName(QStringLiteral("cboKind"));
    cboKind->addItem(tr("All kinds"), ControlsTableModel::AllKinds);
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        cboKind->addItem(QString::fromStdString(KindName(kind)), kind);
    txtFilter = new QLineEdit(content);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(tr("Filter by text, label, script, format or picture"));
    txtFilter->setClearButtonEnabled(true);
    labCount = new QLabel(content);
    labCount->setObjectName(QStringLiteral("labCount"));
    row->addWidget(chkAllScreens);
    row->addWidget(cboKind);
    row->addWidget(txtFilter, 1);
    row->addWidget(labCount);

    Rows = new ControlsTableModel(session.Layout(), this);
    tblControls = new QTableView(content);
    tblControls->setObjectName(QStringLiteral("tblControls"));
    tblControls->setModel(Rows);
    tblControls->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblControls->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblControls->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblControls->setWordWrap(false);
    tblControls->setAlternatingRowColors(true);
    // Rows of one height, set once: a table of 32767 rows is laid out without measuring any.
    QHeaderView* rowsHeader = tblControls->verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(tblControls->fontMetrics().height() + 6);
    QHeaderView* columns = tblControls->horizontalHeader();
    columns->setHighlightSections(false);
    const int digit = tblControls->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < ControlsTableModel::ColumnCount; ++c)
        columns->resizeSection(c, ColumnChars[c] * digit + 12);
    columns->setSortIndicator(ControlsTableModel::ColRecord, Qt::AscendingOrder);
    tblControls->setSortingEnabled(true);
    layout->addWidget(tblControls, 1);
    setWidget(content);
    // Room for a few rows; the window gives it more.
    tblControls->setMinimumHeight(rowsHeader->defaultSectionSize() * 4);

    connect(chkAllScreens, &QCheckBox::toggled, this, [this] { ChooseRows(); });
    connect(cboKind, &QComboBox::currentIndexChanged, this, [this] { ChooseRows(); });
    connect(txtFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        Rows->SetFilter(text);
        UpdateCount();
    });
    connect(Rows, &QAbstractItemModel::modelReset, this, [this] { SelectFromSession(); });
    connect(tblControls->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { TakeSelection(); });
    connect(tblControls, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (const int position = Rows->PositionAt(index.row()); position > 0)
            emit ControlActivated(position);
    });
    connect(&Session, &LayoutSession::SelectionChanged, this, [this] { SelectFromSession(); });
    connect(&Session, &LayoutSession::Changed, this, [this](const LayoutChange& change) {
        if (!change.RecordsChanged && !change.Reloaded) return;
        // The rows are rebuilt; the place the user was looking at stays.
        const int scrolled = tblControls->verticalScrollBar()->value();
        Rows->Refresh();
        tblControls->verticalScrollBar()->setValue(scrolled);
        UpdateCount();
        // A control just added or pasted that the filter would hide is shown: the filter goes.
        if (change.Reloaded || change.Inserted.empty()) return;
        const bool filtered = !txtFilter->text().isEmpty() || cboKind->currentIndex() > 0;
        const bool hidden = std::any_of(change.Inserted.begin(), change.Inserted.end(),
                                        [this](int position) { return Rows->RowOf(position) < 0; });
        if (filtered && hidden) {
            txtFilter->clear();
            cboKind->setCurrentIndex(0);
            ChooseRows();
            SelectFromSession();
        }
    });
    ChooseRows();
}

ControlsTable::~ControlsTable() = default;

void ControlsTable::SetScreen(int screen) {
    ScreenShown = screen;
    if (!ShowsAllScreens()) ChooseRows();
}

void ControlsTable::SetAllScreens(bool all) {
    chkAllScreens->setChecked(all);
}

bool ControlsTable::ShowsAllScreens() const {
    return chkAllScreens->isChecked();
}

void ControlsTable::ChooseRows() {
    Rows->SetKind(cboKind->currentData().toInt());
    if (ShowsAllScreens())
        Rows->SetScreen(ControlsTableModel::AllScreens);
    else
        Rows->SetScreen(ScreenShown < 0 ? ControlsTableModel::NoScreen : ScreenShown);
    UpdateCount();
}

void ControlsTable::UpdateCount() {
    const int shown = Rows->rowCount();
    const int chosen = Rows->ChosenCount();
    labCount->setText(shown == chosen
                          ? QString::fromStdString(ControlsCount(static_cast<std::size_t>(chosen)))
                          : tr("%1 of %2").arg(shown).arg(chosen));
}

void ControlsTable::SelectFromSession() {
    std::vector<int> rows;
    for (int position : Session.Selection())
        if (const int row = Rows->RowOf(position); row >= 0) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const int last = ControlsTableModel::ColumnCount - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(Rows->index(rows[i], 0), Rows->index(rows[j], last));
        i = j + 1;
    }
    Syncing = true;
    QItemSelectionModel* model = tblControls->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty()) {
        const QModelIndex first = Rows->index(rows.front(), 0);
        model->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        tblControls->scrollTo(first);
    }
    Syncing = false;
}

void ControlsTable::TakeSelection() {
    if (Syncing) return;
    std::vector<int> positions;
    for (const QItemSelectionRange& range : tblControls->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (const int position = Rows->PositionAt(row); position > 0)
                positions.push_back(position);
    Session.SetSelection(std::move(positions));
}
