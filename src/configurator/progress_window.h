#pragma once
// The small window shown over the main window while a table is written to the converter.

#include <QWidget>

class QProgressBar;
class Table;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // `mainWindow` is the window it centres itself over whenever it is shown.
    explicit TForm2(QWidget* mainWindow);

    // Hands the window and its bar to the working table, which shows it while writing to the
    // converter.
    void FormCreate(Table* workingTable);

    QProgressBar* ProgressBar1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* mainWindow;
};
