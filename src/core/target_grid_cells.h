#pragma once
// The texts of the 11 x 11 O2 target grid, as the grid widget holds them. Columns and rows count from
// 0 at the left and top.

#include <string>

class TargetGridCells {
public:
    virtual ~TargetGridCells() = default;

    virtual std::string Cell(int column, int row) const = 0;
    virtual void SetCell(int column, int row, const std::string& text) = 0;
};
