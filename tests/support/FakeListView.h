#pragma once
// A report-view list in memory: what a bound document wrote into it, and a selection tests set.

#include <string>
#include <utility>
#include <vector>

#include "layout/ScreenListView.h"

class FakeListView : public ScreenListView {
public:
    explicit FakeListView(int widthTwips = 8535) : Width(widthTwips) {}

    void AddColumn(const std::string& heading, int widthTwips) override {
        Columns.emplace_back(heading, widthTwips);
    }
    int WidthTwips() const override { return Width; }
    void Clear() override {
        Rows.clear();
        Selected = 0;
        ++Clears;
    }
    void AddRow(const std::vector<std::string>& cells) override { Rows.push_back(cells); }
    void SelectRow(int position) override { Selected = position; }
    std::string SelectedText() const override {
        if (Selected < 1 || Selected > static_cast<int>(Rows.size())) return {};
        return Rows[static_cast<std::size_t>(Selected - 1)][0];
    }

    int Width;
    std::vector<std::pair<std::string, int>> Columns;
    std::vector<std::vector<std::string>> Rows;
    int Selected = 0; // 1-based; 0 is no selection
    int Clears = 0;
};
