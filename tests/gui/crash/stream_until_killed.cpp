// The configurator's window streaming from the simulated converter until it is killed: the crash the
// recording must survive. Prints the number of samples the run holds every 100 ms, so the test that
// kills it knows what was there.

#include "live_run.h"
#include "log.h"
#include "main_page.h"
#include "main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Zarni");
    QApplication::setApplicationName("ZarniConfigurator");
    TForm1 form;
    auto* ports = form.findChild<QComboBox*>("ComComboBox1");
    ports->setCurrentIndex(ports->findText("Simulator"));
    form.MainPage()->ComComboBox1Change();
    form.LiveRun()->ActionStartExecute();
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&form] {
        std::printf("samples %zu\n", form.LiveData()->Store().Size());
        std::fflush(stdout);
    });
    report.start(100);
    return app.exec();
}
