#pragma once
// The O2 target grid without its widget: the cells' texts, the throttle calibration, the one
// conversion of a raw throttle value to percent, the choice of the target for an operating point,
// and the rules of the grid's cells. The grid widget only shows and edits the texts held here.
//
// Column 0 of rows 0..9 holds throttle percentages, row 10 of columns 1..10 engine speeds, the other
// 100 cells target O2 values; the corner (column 0, row 10) holds nothing. Every cell is read as a
// leading decimal integer, so an empty or non-numeric cell counts as 0.

#include "settings_file.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class TargetGridModel {
public:
    static constexpr int kSize = 11;
    static constexpr int kHeaderColumn = 0;
    static constexpr int kHeaderRow = 10;

    enum class CellKind { ThrottleHeader, SpeedHeader, Corner, Target };

    struct Choice {
        int column = 1;
        int row = 9;
        int value = 0; // the target in the cell
        friend bool operator==(const Choice&, const Choice&) = default;
    };

    struct Selection {
        bool editable = true;
        // A hint is shown for target cells only; its text changes only when the cell holds a number.
        bool hintShown = false;
        std::optional<std::string> hint;
        friend bool operator==(const Selection&, const Selection&) = default;
    };

    // Columns and rows count from 0 at the left and top; every cell starts empty.
    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

    // The raw throttle values that count as 0 % and 100 %; both 0 until calibrated.
    int TpsMin() const { return tpsMin; }
    int TpsMax() const { return tpsMax; }
    void SetCalibration(int min, int max);

    // Throttle percent of a raw value, clamped to the calibration. An empty span (min = max) is reset
    // to 0..255 first; the value is clamped with the calibration held on entry.
    int TpsPercent(int rawTps);
    // The cell in use at this operating point, not clamped: the topmost row whose throttle header does
    // not exceed the percentage (row 9 when none), the rightmost column whose speed header does not
    // exceed rpm (column 1 when none). The grid should select that cell.
    Choice TargetAt(int rawTps, int rpm);

    // Writes value into the 100 target cells; the headers stay.
    void FillTargets(int value);

    // The cells as the settings file stores them: rows 0..9 with columns 0..10, then row 10 with
    // columns 1..10 (the corner is not stored). Each as {column, row}.
    static const std::array<std::pair<int, int>, SettingsGridCells>& StoredCells();
    // The calibration and the cells' numbers (each cell text read with a limit of 4 characters).
    void SaveTo(SettingsValues& values) const;
    // What the file holds: each cell becomes its number's decimal text ("0" for an empty cell saved);
    // what the file ends before stays.
    void LoadFrom(const SettingsRead& read);
    static CellKind KindOf(int column, int row);
    // Up to four digits in the speed header row, three elsewhere.
    static std::string_view EditMaskFor(int row);
    // What selecting a cell does: the corner is read-only; a target cell hints at what its value means.
    static Selection SelectCell(int column, int row, std::string_view cellText, int sensorType,
                                char separator);

private:
    static std::size_t indexOf(int column, int row);
    void resetEmptySpan();

    std::array<std::string, kSize * kSize> cells;

    int tpsMin = 0;
    int tpsMax = 0;
};
