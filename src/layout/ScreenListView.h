#pragma once
// What a bound screen list needs of a report-view list. Widths are in twips; texts are
// Windows-1252 bytes.

#include <string>
#include <vector>

class ScreenListView {
public:
    virtual ~ScreenListView() = default;
    virtual void AddColumn(const std::string& heading, int widthTwips) = 0;
    virtual int WidthTwips() const = 0;
    virtual void Clear() = 0;
    virtual void AddRow(const std::vector<std::string>& cells) = 0; // cells[0] is the item text
    virtual void SelectRow(int position) = 0;                       // 1-based
    virtual std::string SelectedText() const = 0;                   // "" when nothing is selected
};
