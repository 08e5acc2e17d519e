#include "progress_window.h"

#include "table.h"

#include <QProgressBar>
#include <QVBoxLayout>

TForm2::TForm2(QWidget* mainWindow)
    : QWidget(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      mainWindow(mainWindow) {
    setObjectName("Form2");
    setWindowTitle("Запись/Writing");
    setFixedSize(611, 51);
    setWindowOpacity(220.0 / 255.0);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(50);
    ProgressBar1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ProgressBar1);
}

void TForm2::FormCreate(Table* workingTable) {
    // While shown the main window takes no input and cannot be closed under the running write.
    setWindowModality(Qt::ApplicationModal);
    workingTable->SetProgressWindow(this, ProgressBar1);
}

void TForm2::showEvent(QShowEvent* event) {
    if (mainWindow) {
        QRect placed = frameGeometry();
        placed.moveCenter(mainWindow->frameGeometry().center());
        move(placed.topLeft());
    }
    QWidget::showEvent(event);
}
