#pragma once
// The rows of the controls table: a view over a document's records, one row per control of one
// screen (or of all screens), of one kind (or all), whose texts hold the filter's text, sorted by
// any column. The model holds only the order of the record positions it shows; every cell is read
// from the record when it is drawn, so a layout of 32767 records fills and filters at once.
// Refresh() after the layout changed.

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

class cLayout;

class ControlsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColRecord,
        ColScreen,
        ColKind,
        ColText,
        ColLabel,
        ColX1,
        ColY1,
        ColX2,
        ColY2,
        ColWidth,
        ColHeight,
        ColFunction,
        ColOEMCode,
        ColKey,
        ColPicture,
        ColGroup,
        ColumnCount
    };
    // Screens beyond every record's: all of them, and none.
    static constexpr int64_t AllScreens = INT64_MIN;
    static constexpr int64_t NoScreen = INT64_MAX;
    static constexpr int32_t AllKinds = 0;

    explicit ControlsTableModel(const cLayout& layout, QObject* parent = nullptr);

    // What the rows show; each takes effect at once.
    void SetScreen(int64_t screen);
    void SetKind(int32_t kind);
    // Rows whose text, script, picture, label or format holds the text, in any letter case.
    void SetFilter(const QString& text);
    int64_t Screen() const { return ShownScreen; }
    int32_t Kind() const { return ShownKind; }

    // The rows again from the layout as it is now.
    void Refresh();

    // The record position (1-based) a row shows, and the row of a position (-1: not shown).
    int PositionAt(int row) const;
    int RowOf(int position) const;
    // How many controls the screen and kind choose, before the filter.
    int ChosenCount() const { return Chosen; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void Rebuild();
    void SortRows(std::vector<int>& rows) const;

    const cLayout& Layout;
    int64_t ShownScreen = AllScreens;
    int32_t ShownKind = AllKinds;
    std::string Filter;       // folded Windows-1252 bytes
    bool Unmatchable = false; // the filter holds a character no record can hold
    int SortColumn = ColRecord;
    Qt::SortOrder Order = Qt::AscendingOrder;
    std::vector<int> Rows;  // record positions, in the order shown
    std::vector<int> RowAt; // by position: its row, -1 when not shown
    int Chosen = 0;
};
