// Usage: render_pages OUTPUT_FOLDER   (run with QT_QPA_PLATFORM=offscreen)
// Writes one PNG per page of the main window, and one of the progress window.

#include "main_window.h"
#include "progress_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTabWidget>

#include <cstdio>

namespace {

bool Save(QWidget* widget, const QString& path) {
    QApplication::processEvents();
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create("Fusion"))
        app.setStyle(style);
    // The design captions: no settings of the user's, as at a first start.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/config.cfg");
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pages");
    QDir().mkpath(folder);

    TForm1 form;
    form.show();
    // The 1:1 table, so the table chart shows its curves.
    form.findChild<QAction*>("ActionTableOneToOne")->trigger();
    auto* const tablePages = form.findChild<QTabWidget*>("TablePageControl");
    auto* const setupPages = form.findChild<QTabWidget*>("PageControl1");
    bool ok = true;
    const struct {
        QTabWidget* inner;
        int innerIndex;
        int mainIndex;
        const char* file;
    } pages[] = {{nullptr, 0, 0, "1-main.png"},
                 {tablePages, 0, 1, "2-table-graph.png"},
                 {tablePages, 1, 1, "3-table-compare.png"},
                 {nullptr, 0, 2, "4-log.png"},
                 {nullptr, 0, 3, "5-dashboard.png"},
                 {setupPages, 0, 4, "6-autotuning-options.png"},
                 {setupPages, 1, 4, "7-firmware-update.png"}};
    for (const auto& page : pages) {
        form.findChild<QTabWidget*>("MainPageControl")->setCurrentIndex(page.mainIndex);
        if (page.inner)
            page.inner->setCurrentIndex(page.innerIndex);
        ok = Save(&form, folder + "/" + page.file) && ok;
    }
    TForm2 progress(&form);
    progress.show();
    ok = Save(&progress, folder + "/8-progress-window.png") && ok;
    return ok ? 0 : 1;
}
