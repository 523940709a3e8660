#include "ui/panes/ControlsTableModel.h"

#include <algorithm>
#include <array>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "ui/widgets/CodePage.h"

namespace {

// Windows-1252 bytes folded to one letter case: ASCII, the accented capitals and the four
// capitals the code page puts among 0x80..0x9F.
constexpr std::array<unsigned char, 256> FoldTable = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}();

unsigned char Fold(char c) {
    return FoldTable[static_cast<unsigned char>(c)];
}

bool Holds(const std::string& text, const std::string& folded) {
    if (folded.size() > text.size()) return false;
    const auto same = [](char a, char b) { return Fold(a) == static_cast<unsigned char>(b); };
    return std::search(text.begin(), text.end(), folded.begin(), folded.end(), same) != text.end();
}

int CompareTexts(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename T> int Compare(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareBy(int column, const ControlRecord& a, const ControlRecord& b) {
    using M = ControlsTableModel;
    switch (column) {
    case M::ColScreen:
        return Compare(a.rScreen, b.rScreen);
    case M::ColKind:
        return Compare(a.rType, b.rType);
    case M::ColText:
        return CompareTexts(a.rText, b.rText);
    case M::ColLabel:
        return CompareTexts(a.rLabel, b.rLabel);
    case M::ColX1:
        return Compare(a.rX1, b.rX1);
    case M::ColY1:
        return Compare(a.rY1, b.rY1);
    case M::ColX2:
        return Compare(a.rX2, b.rX2);
    case M::ColY2:
        return Compare(a.rY2, b.rY2);
    case M::ColWidth:
        return Compare(int64_t{a.rX2} - a.rX1, int64_t{b.rX2} - b.rX1);
    case M::ColHeight:
        return Compare(int64_t{a.rY2} - a.rY1, int64_t{b.rY2} - b.rY1);
    case M::ColFunction:
        return Compare(a.rFunction, b.rFunction);
    case M::ColOEMCode:
        return Compare(a.rOEMCode, b.rOEMCode);
    case M::ColKey:
        return Compare(a.rHotKey, b.rHotKey);
    case M::ColPicture:
        return CompareTexts(a.rBitMapPath, b.rBitMapPath);
    case M::ColGroup:
        return Compare(a.rTabGroup, b.rTabGroup);
    default:
        return 0;
    }
}

// A record's text on one line of a cell.
QString CellText(const std::string& bytes, int codePage) {
    const bool plain = std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (plain) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text = FromCodePage(bytes, codePage);
    for (QChar& c : text)
        if (c.unicode() < 0x20) c = QLatin1Char(' ');
    return text;
}

QString Number(int64_t value) {
    return QString::number(static_cast<qlonglong>(value));
}

const char* const Headings[ControlsTableModel::ColumnCount] = {
    "Record", "Screen", "Kind",   "Text",     "Label",    "X1",  "Y1",      "X2",
    "Y2",     "Width",  "Height", "Function", "OEM code", "Key", "Picture", "DRO group"};

} // namespace

ControlsTableModel::ControlsTableModel(const cLayout& layout, QObject* parent)
    : QAbstractTableModel(parent), Layout(layout) {
    Rebuild();
}

void ControlsTableModel::SetScreen(int64_t screen) {
    if (screen == ShownScreen) return;
    ShownScreen = screen;
    Rebuild();
}

void ControlsTableModel::SetKind(int32_t kind) {
    if (kind == ShownKind) return;
    ShownKind = kind;
    Rebuild();
}

void ControlsTableModel::SetFilter(const QString& text) {
    std::string bytes;
    const bool storable = ToCodePage(text, bytes, nullptr, Layout.TextCodePage());
    for (char& c : bytes)
        c = static_cast<char>(Fold(c));
    if (bytes == Filter && Unmatchable == !storable) return;
    Filter = storable ? bytes : std::string();
    Unmatchable = !storable;
    Rebuild();
}

void ControlsTableModel::Refresh() {
    Rebuild();
}

void ControlsTableModel::Rebuild() {
    beginResetModel();
    const std::span<const ControlRecord> records = Layout.Records();
    Rows.clear();
    Chosen = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        if (ShownScreen != AllScreens && r.rScreen != ShownScreen) continue;
        if (ShownKind != AllKinds && r.rType != ShownKind) continue;
        ++Chosen;
        if (Unmatchable) continue;
        if (!Filter.empty() && !Holds(r.rText, Filter) && !Holds(r.rLabel, Filter) &&
            !Holds(r.rGText, Filter) && !Holds(r.rBitMapPath, Filter) && !Holds(r.rFormat, Filter))
            continue;
        Rows.push_back(static_cast<int>(i) + 1);
    }
    SortRows(Rows);
    RowAt.assign(records.size() + 1, -1);
    for (std::size_t row = 0; row < Rows.size(); ++row)
        RowAt[static_cast<std::size_t>(Rows[row])] = static_cast<int>(row);
    endResetModel();
}

void ControlsTableModel::SortRows(std::vector<int>& rows) const {
    const bool descending = Order == Qt::DescendingOrder;
    if (SortColumn == ColRecord) {
        // The rows are in record order already.
        if (descending) std::reverse(rows.begin(), rows.end());
        return;
    }
    const std::span<const ControlRecord> records = Layout.Records();
    const int column = SortColumn;
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int order = CompareBy(column, records[static_cast<std::size_t>(a - 1)],
                                    records[static_cast<std::size_t>(b - 1)]);
        if (order != 0) return descending ? order > 0 : order < 0;
        return a < b;
    });
}

int ControlsTableModel::PositionAt(int row) const {
    return row >= 0 && row < static_cast<int>(Rows.size()) ? Rows[static_cast<std::size_t>(row)]
                                                           : 0;
}

int ControlsTableModel::RowOf(int position) const {
    return position > 0 && position < static_cast<int>(RowAt.size())
               ? RowAt[static_cast<std::size_t>(position)]
               : -1;
}

int ControlsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int ControlsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ControlsTableModel::data(const QModelIndex& index, int role) const {
    const int position = PositionAt(index.row());
    if (position == 0 || position > Layout.ControlCount()) return {};
    const ControlRecord& r = Layout.Records()[static_cast<std::size_t>(position - 1)];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool text = column == ColKind || column == ColText || column == ColLabel ||
                          column == ColKey || column == ColPicture;
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (column) {
    case ColRecord:
        return position;
    case ColScreen:
        return Number(r.rScreen);
    case ColKind:
        return QString::fromStdString(KindName(r.rType));
    case ColText:
        return CellText(r.rText, Layout.TextCodePage());
    case ColLabel:
        return CellText(r.rLabel, Layout.TextCodePage());
    case ColX1:
        return Number(r.rX1);
    case ColY1:
        return Number(r.rY1);
    case ColX2:
        return Number(r.rX2);
    case ColY2:
        return Number(r.rY2);
    case ColWidth:
        return Number(int64_t{r.rX2} - r.rX1);
    case ColHeight:
        return Number(int64_t{r.rY2} - r.rY1);
    case ColFunction:
        return Number(r.rFunction);
    case ColOEMCode:
        return Number(r.rOEMCode);
    case ColKey:
        return QString::fromStdString(HotKeyText(r.rHotKey));
    case ColPicture:
        return CellText(r.rBitMapPath, Layout.TextCodePage());
    case ColGroup:
        return Number(r.rTabGroup);
    default:
        return {};
    }
}

QVariant ControlsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(Headings[section]);
}

void ControlsTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) return;
    SortColumn = column;
    Order = order;
    Rebuild();
}
