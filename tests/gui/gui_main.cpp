// GUI tests need one QApplication for the whole run; windows are created per test. The per-user
// folders are a fresh temporary folder of this process (ctest runs test processes side by side), and
// each test starts without a settings file, as a first start does.
#include "settings.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FirstStartEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { QFile::remove(TSettings::UserSettingsFile()); }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    const QTemporaryDir userFolders;
    if (!userFolders.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", userFolders.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", userFolders.filePath("data").toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Zarni");
    QApplication::setApplicationName("ZarniConfigurator");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FirstStartEachTest);
    return RUN_ALL_TESTS();
}
