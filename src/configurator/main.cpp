// Program entry: theme, main window, progress window, event loop.

#include "error_box.h"
#include "main_window.h"
#include "progress_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

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
    TApplication app(argc, argv);
    app.setApplicationDisplayName("ZarniConfigurator");
    // They name the per-user folders the settings live in; set here so the folders never move.
    app.setOrganizationName("Zarni");
    app.setApplicationName("ZarniConfigurator");
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
