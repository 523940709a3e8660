#pragma once
// A document's screen list shown in a QTreeWidget in report style: one row per item, whole-row
// selection, column widths given in twips. Each row keeps its screen number (the document lists
// the screens in order, one row each). The adapter does not own the widget.

#include <string>
#include <vector>

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

private:
    QTreeWidget& Tree;
    std::vector<std::string> Headings;
};
