#include "render_support.h"

#include "palette_image.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

bool SavePicture(const QImage& image, const QString& path, PngDepth depth) {
    const bool saved = (depth == PngDepth::Palette ? PaletteImage(image) : image).save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

bool SaveWidget(QWidget* widget, const QString& path, PngDepth depth) {
    QApplication::processEvents();
    return SavePicture(widget->grab().toImage(), path, depth);
}

void RunFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

TMessageBoxAnswerer::TMessageBoxAnswerer() {
    connect(&timer, &QTimer::timeout, this, &TMessageBoxAnswerer::Poll);
    timer.start(50);
}

void TMessageBoxAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return;
    texts << box->text();
    std::printf("message box: %s\n", qPrintable(box->text().simplified()));
    if (onOpen)
        onOpen(box->text());
    box->done(QMessageBox::Ok);
}
