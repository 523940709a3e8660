#include "ui/mainwindow/ScreenListTree.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "ui/widgets/CodePage.h"
#include "ui/widgets/Twips.h"

namespace {
// The item text as the document gave it, so that it comes back byte for byte.
constexpr int ItemBytesRole = Qt::UserRole;
constexpr int ScreenRole = Qt::UserRole + 1;
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
    Tree.setColumnWidth(static_cast<int>(Headings.size()) - 1, TwipsToPixels(widthTwips));
}

int ScreenListTree::WidthTwips() const {
    return PixelsToTwips(Tree.width());
}

void ScreenListTree::Clear() {
    Tree.clear();
}

void ScreenListTree::AddRow(const std::vector<std::string>& cells) {
    auto* item = new QTreeWidgetItem(&Tree);
    for (std::size_t i = 0; i < cells.size(); ++i)
        item->setText(static_cast<int>(i), FromCodePage(cells[i]));
    if (!cells.empty())
        item->setData(0, ItemBytesRole,
                      QByteArray(cells[0].data(), static_cast<qsizetype>(cells[0].size())));
    item->setData(0, ScreenRole, Tree.indexOfTopLevelItem(item));
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
