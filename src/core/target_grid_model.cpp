#include "target_grid_model.h"

#include "numbers.h"
#include "oxygen_sensor.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr int kFullSpanMax = 255;
constexpr int kLastTargetRow = TargetGridModel::kHeaderRow - 1;
constexpr int kFirstTargetColumn = TargetGridModel::kHeaderColumn + 1;
constexpr int kLastColumn = TargetGridModel::kSize - 1;

} // namespace

std::size_t TargetGridModel::indexOf(int column, int row) {
    if (column < 0 || column >= kSize || row < 0 || row >= kSize)
        throw std::out_of_range("target grid cell out of range");
    return static_cast<std::size_t>(row * kSize + column);
}

const std::string& TargetGridModel::Cell(int column, int row) const {
    return cells[indexOf(column, row)];
}

void TargetGridModel::SetCell(int column, int row, std::string text) {
    cells[indexOf(column, row)] = std::move(text);
}

void TargetGridModel::SetCalibration(int min, int max) {
    tpsMin = min;
    tpsMax = max;
}

int TargetGridModel::TpsPercent(int rawTps) {
    int value = rawTps > tpsMax ? tpsMax : rawTps;
    if (value < tpsMin)
        value = tpsMin;
    resetEmptySpan();
    const auto percent =
        static_cast<float>(static_cast<long double>(value - tpsMin) * 100 / (tpsMax - tpsMin));
    return roundHalfEven(percent);
}

TargetGridModel::Choice TargetGridModel::TargetAt(int rawTps, int rpm) {
    // Callers convert the throttle with TpsPercent first, which resets an empty span; doing the same
    // here keeps a lone call from dividing by zero.
    resetEmptySpan();
    const int percent = roundHalfEven(static_cast<long double>(rawTps - tpsMin) / (tpsMax - tpsMin) * 100);
    Choice choice;
    choice.row = kLastTargetRow;
    for (int row = kLastTargetRow; row >= 0; --row) {
        if (leadingInteger(Cell(kHeaderColumn, row)) <= percent)
            choice.row = row;
    }
    choice.column = kFirstTargetColumn;
    for (int column = kFirstTargetColumn; column <= kLastColumn; ++column) {
        if (leadingInteger(Cell(column, kHeaderRow)) <= rpm)
            choice.column = column;
    }
    choice.value = leadingInteger(Cell(choice.column, choice.row));
    return choice;
}

void TargetGridModel::FillTargets(int value) {
    const std::string text = std::to_string(value);
    for (int row = 0; row <= kLastTargetRow; ++row) {
        for (int column = kFirstTargetColumn; column <= kLastColumn; ++column)
            SetCell(column, row, text);
    }
}

TargetGridModel::CellKind TargetGridModel::KindOf(int column, int row) {
    if (column == kHeaderColumn)
        return row == kHeaderRow ? CellKind::Corner : CellKind::ThrottleHeader;
    return row == kHeaderRow ? CellKind::SpeedHeader : CellKind::Target;
}

std::string_view TargetGridModel::EditMaskFor(int row) {
    return row == kHeaderRow ? "!9999;1;" : "!999;1;";
}

TargetGridModel::Selection TargetGridModel::SelectCell(int column, int row, std::string_view cellText,
                                                       int sensorType, char separator) {
    Selection selection;
    const CellKind kind = KindOf(column, row);
    selection.editable = kind != CellKind::Corner;
    if (kind == CellKind::Target) {
        selection.hintShown = true;
        selection.hint = O2ReferenceHint(cellText, sensorType, separator);
    }
    return selection;
}

void TargetGridModel::resetEmptySpan() {
    if (tpsMax == tpsMin) {
        tpsMin = 0;
        tpsMax = kFullSpanMax;
    }
}

const std::array<std::pair<int, int>, SettingsGridCells>& TargetGridModel::StoredCells() {
    static const auto cells = [] {
        std::array<std::pair<int, int>, SettingsGridCells> order{};
        std::size_t k = 0;
        for (int row = 0; row < kHeaderRow; ++row)
            for (int column = 0; column < kSize; ++column)
                order[k++] = {column, row};
        for (int column = kHeaderColumn + 1; column < kSize; ++column)
            order[k++] = {column, kHeaderRow};
        return order;
    }();
    return cells;
}

void TargetGridModel::SaveTo(SettingsValues& values) const {
    values.tpsMin = tpsMin;
    values.tpsMax = tpsMax;
    for (std::size_t k = 0; k < values.gridCells.size(); ++k) {
        const auto [column, row] = StoredCells()[k];
        values.gridCells[k] = settingsNumber(Cell(column, row), 4);
    }
}

void TargetGridModel::LoadFrom(const SettingsRead& read) {
    if (read.tpsMin)
        tpsMin = *read.tpsMin;
    if (read.tpsMax)
        tpsMax = *read.tpsMax;
    for (std::size_t k = 0; k < read.gridCells.size(); ++k) {
        if (!read.gridCells[k])
            break;
        const auto [column, row] = StoredCells()[k];
        SetCell(column, row, std::to_string(*read.gridCells[k]));
    }
}
