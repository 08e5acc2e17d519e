#include "up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), upButton(new QToolButton(this)), downButton(new QToolButton(this)) {
    upButton->setObjectName("Up");
    downButton->setObjectName("Down");
    upButton->setArrowType(Qt::UpArrow);
    downButton->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {upButton, downButton}) {
        button->setFixedSize(17, 11);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, [this] { Click(+1); });
    connect(downButton, &QToolButton::clicked, this, [this] { Click(-1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    associate = edit;
    SetPosition(position);
}

void TUpDown::SetRange(int newMin, int newMax) {
    minValue = newMin;
    maxValue = std::max(newMin, newMax);
    SetPosition(position);
}

void TUpDown::SetPosition(int value) {
    position = std::clamp(value, minValue, maxValue);
    if (associate && associate->text() != QString::number(position))
        associate->setText(QString::number(position));
}

void TUpDown::Click(int step) {
    emit Changing();
    const int before = position;
    SetPosition(position + step);
    if (position != before)
        emit Moved();
}
