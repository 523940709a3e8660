#include "ui/mainwindow/ScreenListTree.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

#include "ui/widgets/CodePage.h"
#include "ui/widgets/Twips.h"

namespace {
// The item text as the document gave it, so that it comes back byte for byte.
constexpr int ItemBytesRole = Qt::UserRole;
constexpr int ScreenRole = Qt::UserRole + 1;
// Each cell's bytes, so the row can be read again in another code page.
constexpr int CellBytesRole = Qt::UserRole + 2;

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

ScreenListTree::ScreenListTree(QTreeWidget& widget) : Tree(widget) {
    Tree.setRootIsDecorated(false);
    Tree.setItemsExpandable(false);
    Tree.setUniformRowHeights(true);
    Tree.setSelectionMode(QAbstractItemView::SingleSelection);
    Tree.setSelectionBehavior(QAbstractItemView::SelectRows);
    Tree.setAllColumnsShowFocus(true);
    Tree.setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree.setColumnCount(0);
    Tree.header()->setStretchLastSection(false);
    Tree.header()->setSectionsMovable(false);
}

void ScreenListTree::AddColumn(const std::string& heading, int widthTwips) {
    Headings.push_back(heading);
    QStringList labels;
    for (const std::string& text : Headings)
        labels << FromCodePage(text);
    Tree.setColumnCount(static_cast<int>(Headings.size()));
    Tree.setHeaderLabels(labels);
    // Some styles keep sections wider than the narrow screen-number column (Windows' own, by its
    // font): the column keeps the width it is given.
    const int pixels = TwipsToPixels(widthTwips);
    if (pixels < Tree.header()->minimumSectionSize()) Tree.header()->setMinimumSectionSize(pixels);
    Tree.setColumnWidth(static_cast<int>(Headings.size()) - 1, pixels);
}

int ScreenListTree::WidthTwips() const {
    return PixelsToTwips(Tree.width());
}

void ScreenListTree::Clear() {
    Tree.clear();
}

void ScreenListTree::AddRow(const std::vector<std::string>& cells) {
    AddItem(cells, Tree.topLevelItemCount());
    // The document lists the host's 16 screens; those beyond follow them.
    if (Tree.topLevelItemCount() == ScreenCount) AddScreensBeyond();
}

void ScreenListTree::AddItem(const std::vector<std::string>& cells, int screen) {
    auto* item = new QTreeWidgetItem(&Tree);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        item->setText(static_cast<int>(i), FromCodePage(cells[i], CodePage));
        item->setData(static_cast<int>(i), CellBytesRole, Bytes(cells[i]));
    }
    if (!cells.empty()) item->setData(0, ItemBytesRole, Bytes(cells[0]));
    item->setData(0, ScreenRole, screen);
}

QString ScreenListTree::BeyondToolTip() {
    return QObject::tr("Screen %1: not a screen of the host's tabs");
}

void ScreenListTree::AddScreensBeyond() {
    if (!ScreensBeyond) return;
    for (const auto& [screen, entry] : ScreensBeyond()) {
        std::vector<std::string> cells{std::to_string(screen), std::to_string(entry.CtrlCount),
                                       entry.Label};
        for (int i = 0; i < entry.ShownByCount; ++i)
            cells.push_back(entry.ShownBy[static_cast<std::size_t>(i)]);
        AddItem(cells, screen);
        QTreeWidgetItem* item = Tree.topLevelItem(Tree.topLevelItemCount() - 1);
        const QBrush grey = Tree.palette().brush(QPalette::Disabled, QPalette::Text);
        for (int c = 0; c < Tree.columnCount(); ++c) {
            item->setForeground(c, grey);
            item->setToolTip(c, BeyondToolTip().arg(screen));
        }
    }
}

void ScreenListTree::SetCodePage(int codePage) {
    if (codePage == CodePage) return;
    CodePage = codePage;
    for (int row = 0; row < Tree.topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = Tree.topLevelItem(row);
        for (int c = 0; c < Tree.columnCount(); ++c) {
            const QByteArray bytes = item->data(c, CellBytesRole).toByteArray();
            item->setText(c, FromCodePage(std::string(bytes.constData(),
                                                      static_cast<std::size_t>(bytes.size())),
                                          CodePage));
        }
    }
}

void ScreenListTree::SelectRow(int position) {
    QTreeWidgetItem* item = Tree.topLevelItem(position - 1);
    if (item == nullptr) return;
    Tree.setCurrentItem(item);
    item->setSelected(true);
    Tree.scrollToItem(item);
}

std::string ScreenListTree::SelectedText() const {
    const QList<QTreeWidgetItem*> selected = Tree.selectedItems();
    if (selected.isEmpty()) return {};
    const QByteArray bytes = selected.first()->data(0, ItemBytesRole).toByteArray();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

int ScreenListTree::SelectedScreen() const {
    const QList<QTreeWidgetItem*> selected = Tree.selectedItems();
    if (selected.isEmpty()) return -1;
    bool ok = false;
    const int screen = selected.first()->data(0, ScreenRole).toInt(&ok);
    return ok ? screen : -1;
}
