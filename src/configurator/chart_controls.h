#pragma once
// What the table chart and the log chart share: the column of buttons they hang from their top
// right corner, how far a drag must go to count as a zoom, which drawn point is under the pointer,
// and the axes' values at a pixel.

#include <QPoint>

#include <optional>

class QCustomPlot;

inline constexpr int ChartButtonWidth = 70;
inline constexpr int ChartButtonHeight = 25;
inline constexpr int ChartButtonInsetFromRight = 78;
inline constexpr int ChartButtonPitch = 33;
// A smaller rectangle is a click, not a zoom.
inline constexpr int MinimumZoomDrag = 4;

struct PointUnderPointer {
    int graph;
    int point; // its index among the graph's drawn points
    double key;
    double value;
};

// The axes' values at a pixel of the plot area, mapped linearly between the axes' ends; none for a
// pixel outside it (its edges count as inside).
struct AxisValues {
    double x;
    double y;
};
std::optional<AxisValues> ValuesAtPixel(const QCustomPlot& plot, const QPoint& pixel);

// The last visible graph with a drawn point within 4 pixels of the pointer, and on it the nearest
// such point; none when no point is that near.
std::optional<PointUnderPointer> PointUnder(const QCustomPlot& plot, const QPoint& pointer);
