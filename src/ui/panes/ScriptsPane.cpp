#include "ui/panes/ScriptsPane.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "scripts/LayoutScripts.h"
#include "ui/session/LayoutSession.h"
#include "ui/widgets/CodePage.h"

ScriptsPane::ScriptsPane(LayoutSession& session, QWidget* parent)
    : QDockWidget(tr("Scripts"), parent), Session(session) {
    setObjectName(QStringLiteral("ScriptsPane"));
    setProperty("manualPage", QStringLiteral("scripts.html#scripts-pane"));
    auto* holder = new QWidget(this);
    txtFilter = new QLineEdit(holder);
    txtFilter->setObjectName(QStringLiteral("txtScriptsFilter"));
    txtFilter->setPlaceholderText(tr("Filter: scripts holding..."));
    txtFilter->setClearButtonEnabled(true);
    labCount = new QLabel(holder);
    labCount->setObjectName(QStringLiteral("labScriptsCount"));
    lstScripts = new QTreeWidget(holder);
    lstScripts->setObjectName(QStringLiteral("lstScripts"));
    lstScripts->setRootIsDecorated(false);
    lstScripts->setUniformRowHeights(true);
    lstScripts->setAlternatingRowColors(true);
    lstScripts->setHeaderLabels(
        {tr("Screen"), tr("Record"), tr("Control"), tr("First line"), tr("Length")});
    lstScripts->header()->setStretchLastSection(false);
    for (int column : {ColScreen, ColRecord, ColLength})
        lstScripts->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    lstScripts->header()->resizeSection(ColControl, 150);
    lstScripts->header()->setSectionResizeMode(ColFirstLine, QHeaderView::Stretch);
    lstScripts->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(txtFilter);
    layout->addWidget(lstScripts, 1);
    layout->addWidget(labCount);
    setWidget(holder);

    connect(txtFilter, &QLineEdit::textChanged, this, &ScriptsPane::Refill);
    connect(lstScripts, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int row = lstScripts->indexOfTopLevelItem(item);
        if (row < 0 || row >= static_cast<int>(Rows.size())) return;
        const int record = Rows[static_cast<std::size_t>(row)];
        emit ScriptChosen(Session.Layout().Records()[static_cast<std::size_t>(record - 1)].rScreen,
                          record);
    });
    connect(&Session, &LayoutSession::Changed, this, [this] {
        if (isVisible()) Refill();
    });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) Refill();
    });
}

void ScriptsPane::Refill() {
    const std::span<const ControlRecord> records = Session.Layout().Records();
    const QString filter = txtFilter->text();
    lstScripts->setUpdatesEnabled(false);
    lstScripts->clear();
    Rows.clear();
    QList<QTreeWidgetItem*> items;
    for (const ScriptEntry& entry : LayoutScripts(records)) {
        const ControlRecord& r = records[static_cast<std::size_t>(entry.Record - 1)];
        if (!filter.isEmpty() && !FromCodePage(r.rGText).contains(filter, Qt::CaseInsensitive))
            continue;
        auto* item = new QTreeWidgetItem;
        item->setText(ColScreen, QString::number(entry.Screen));
        item->setText(ColRecord, QString::number(entry.Record));
        item->setText(ColControl, QStringLiteral("%1 \"%2\"")
                                      .arg(QString::fromStdString(KindName(r.rType)),
                                           FromCodePage(entry.Caption)));
        item->setText(ColFirstLine, FromCodePage(entry.FirstLine));
        item->setText(ColLength, QString::number(entry.Length));
        item->setTextAlignment(ColScreen, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(ColRecord, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(ColLength, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
        Rows.push_back(entry.Record);
    }
    lstScripts->addTopLevelItems(items);
    lstScripts->setUpdatesEnabled(true);
    const int count = static_cast<int>(Rows.size());
    labCount->setText(filter.isEmpty() ? tr("%1 script(s)").arg(count)
                                       : tr("%1 script(s) holding \"%2\"").arg(count).arg(filter));
}
