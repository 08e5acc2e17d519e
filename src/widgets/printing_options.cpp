#include "printing_options.h"

void UseNoDisplayForPrintingOptions(int argc, char** argv, const QStringList& ownPrintingOptions) {
    // What QCommandLineParser's help and version options answer to.
    const QStringList printing =
        QStringList{"-h", "--help", "-?", "--help-all", "-v", "--version"} + ownPrintingOptions;
    for (int i = 1; i < argc; ++i) {
        if (printing.contains(QString::fromLocal8Bit(argv[i]))) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return;
        }
    }
}
