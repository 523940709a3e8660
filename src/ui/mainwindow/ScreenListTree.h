#pragma once
// A document's screen list shown in a QTreeWidget in report style: one row per item, whole-row
// selection, column widths given in twips. Each row keeps its screen number (the document lists
// the screens in order, one row each). The adapter does not own the widget.

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "layout/cLayout.h"

#include "layout/ScreenListView.h"

class QTreeWidget;

class ScreenListTree : public ScreenListView {
public:
    // Sets the widget up as a report view; the columns come from the bound document.
    explicit ScreenListTree(QTreeWidget& widget);

    void AddColumn(const std::string& heading, int widthTwips) override;
    int WidthTwips() const override;
    void Clear() override;
    void AddRow(const std::vector<std::string>& cells) override;
    void SelectRow(int position) override;
    std::string SelectedText() const override;
    // The screen of the selected row, as the row holds it; -1 when none is selected.
    int SelectedScreen() const;

    QTreeWidget& Widget() const { return Tree; }

    // The code page the rows' texts are read in (the layout's); the rows shown are read again.
    void SetCodePage(int codePage);
    // The screens beyond the host's 16 that the layout's records lie on: listed below the 16
    // rows, greyed ("not a screen of the host's tabs"), each time the document fills the list.
    std::function<std::vector<std::pair<int32_t, ScreenEntry>>()> ScreensBeyond;
    static QString BeyondToolTip();

private:
    QTreeWidget& Tree;
    void AddScreensBeyond();
    void AddItem(const std::vector<std::string>& cells, int screen);

    std::vector<std::string> Headings;
    int CodePage = 1252;
};
