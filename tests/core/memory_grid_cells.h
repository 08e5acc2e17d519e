#pragma once
// The O2 target grid's texts held in memory, as the grid widget would hold them.

#include "target_grid_cells.h"

#include <array>
#include <cstddef>
#include <string>

class MemoryGridCells : public TargetGridCells {
public:
    std::string Cell(int column, int row) const override { return cells[index(column, row)]; }
    void SetCell(int column, int row, const std::string& text) override { cells[index(column, row)] = text; }

private:
    static std::size_t index(int column, int row) { return static_cast<std::size_t>(row * 11 + column); }
    std::array<std::string, 121> cells;
};
