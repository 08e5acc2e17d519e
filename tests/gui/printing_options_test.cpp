// The options that only print choose the offscreen platform, so they need no display; others do not.

#include "printing_options.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class PrintingOptions : public ::testing::Test {
protected:
    PrintingOptions() : before(qgetenv("QT_QPA_PLATFORM")) { qunsetenv("QT_QPA_PLATFORM"); }
    ~PrintingOptions() override { qputenv("QT_QPA_PLATFORM", before); }

    QByteArray PlatformAfter(std::vector<std::string> arguments) {
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        UseNoDisplayForPrintingOptions(static_cast<int>(argv.size()), argv.data(), {"--check-install"});
        const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
        qunsetenv("QT_QPA_PLATFORM");
        return chosen;
    }

    const QByteArray before;
};

TEST_F(PrintingOptions, HelpVersionAndTheProgramsOwnNeedNoDisplay) {
    EXPECT_EQ(PlatformAfter({"configurator", "--help"}), "offscreen");
    EXPECT_EQ(PlatformAfter({"configurator", "-v"}), "offscreen");
    EXPECT_EQ(PlatformAfter({"configurator", "-style", "Fusion", "--check-install"}), "offscreen");
}

TEST_F(PrintingOptions, AnyOtherCommandLineLeavesThePlatformToQt) {
    EXPECT_EQ(PlatformAfter({"configurator"}), "");
    EXPECT_EQ(PlatformAfter({"configurator", "-style", "Fusion"}), "");
    EXPECT_EQ(PlatformAfter({"configurator", "check-install"}), "");
}

} // namespace
