// Program entry: command line, theme, main window, progress window, event loop.

#include "error_box.h"
#include "install_check.h"
#include "main_window.h"
#include "printing_options.h"
#include "progress_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTextStream>

#include <exception>

namespace {

// A failure that escapes a handler is shown in a standard error box instead of ending the program.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowErrorBox(QString::fromUtf8(e.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    const QCommandLineOption checkInstall(
        "check-install", "Prints where each sound cue is found and whether the firmware instructions page "
                         "is embedded, then exits (status 1 when something is missing).");
    UseNoDisplayForPrintingOptions(argc, argv, {"--" + checkInstall.names().constFirst()});
    TApplication app(argc, argv);
    app.setApplicationDisplayName("ZarniConfigurator");
    // They name the per-user folders the settings live in; set here so the folders never move.
    app.setOrganizationName("Zarni");
    app.setApplicationName("ZarniConfigurator");
    app.setApplicationVersion(ZARNI_VERSION);
    // Lets the desktop match the window to its entry, and so to its icon.
    app.setDesktopFileName("zarni-configurator");

    QCommandLineParser options;
    options.setApplicationDescription("Reads, edits and writes the MAF signal converter's tables, shows the "
                                      "engine live, tunes the table and updates the firmware.");
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(checkInstall);
    options.process(app);
    if (options.isSet(checkInstall)) {
        QTextStream out(stdout);
        return CheckInstall(out) ? 0 : 1;
    }

    if (QStyle* style = QStyleFactory::create("Fusion"))
        app.setStyle(style);
    try {
        TForm1 form1;
        form1.show();
        TForm2 form2(&form1);
        form2.FormCreate(form1.WorkingTable());
        form1.AdoptProgressWindow(&form2);
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, "ZarniConfigurator", QString::fromUtf8(e.what()));
        return 1;
    }
}
