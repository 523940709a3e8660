#pragma once
// A screen list kept in memory: the document binds and fills it exactly as it fills the main
// window's list, so the tool prints the rows the window shows.

#include <string>
#include <vector>

#include "layout/ScreenListView.h"

class ScreenListRows : public ScreenListView {
public:
    void AddColumn(const std::string& heading, int) override { Headings.push_back(heading); }
    // The main window's list width; only the widths of the columns, unused here, depend on it.
    int WidthTwips() const override { return 8535; }
    void Clear() override { Rows.clear(); }
    void AddRow(const std::vector<std::string>& cells) override { Rows.push_back(cells); }
    void SelectRow(int) override {}
    std::string SelectedText() const override { return {}; }

    std::vector<std::string> Headings;          // Windows-1252
    std::vector<std::vector<std::string>> Rows; // cells[0] is the screen number
};
