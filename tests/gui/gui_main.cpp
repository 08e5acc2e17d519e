// GUI tests need one QApplication for the whole run; windows are created per test. The per-user
// folders are the test ones, and each test starts without a settings file, as a first start does.
#include "settings.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class FirstStartEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { QFile::remove(TSettings::UserSettingsFile()); }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Zarni");
    QApplication::setApplicationName("ZarniConfigurator");
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FirstStartEachTest);
    return RUN_ALL_TESTS();
}
