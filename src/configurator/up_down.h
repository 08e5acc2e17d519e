#pragma once
// Up-down arrow buttons bound to an edit box: a click moves the position by one within the range and
// writes it into the box. `Changing` is raised before the position moves, so a handler still reads
// the old position; `Moved` after a click has moved it.

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    void SetAssociate(QLineEdit* edit);
    void SetRange(int minValue, int maxValue);
    int Min() const { return minValue; }
    int Max() const { return maxValue; }

    int Position() const { return position; }
    // Moves within the range and writes the position into the bound box.
    void SetPosition(int value);

    QToolButton* UpButton() const { return upButton; }
    QToolButton* DownButton() const { return downButton; }

signals:
    void Changing();
    void Moved();

private:
    void Click(int step);

    QPointer<QLineEdit> associate;
    QToolButton* upButton;
    QToolButton* downButton;
    int minValue = 0;
    int maxValue = 100;
    int position = 0;
};
