#pragma once
// The layouts several pages share: a menu bar above the page's content.

#include <QColor>

class QCustomPlot;
class QLayout;
class QMenuBar;
class QWidget;

// The background of the table, dashboard and settings pages.
inline const QColor PageBlue("#A6CAF0");

// A table page: menu bar, chart, and the parameter boxes below, on the pages' blue.
void LayTablePage(QWidget* page, QMenuBar* menuBar, QCustomPlot* chart, QLayout* parameters);
// A settings page: menu bar over a blue panel that fills the rest.
void LayPanelPage(QWidget* page, QMenuBar* menuBar, QWidget* panel);
