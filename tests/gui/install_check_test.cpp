// `configurator --check-install`: where each cue is found and whether the instructions page is embedded.

#include "install_check.h"

#include "sound_cues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList CheckedLines(bool& complete) {
    QString report;
    QTextStream out(&report);
    complete = CheckInstall(out);
    out.flush();
    return report.split('\n', Qt::SkipEmptyParts);
}

TEST(InstallCheck, NamesWhereEveryCueIsFoundAndThatThePageIsEmbedded) {
    const QTemporaryDir working;
    ASSERT_TRUE(working.isValid());
    ASSERT_TRUE(QDir(working.path()).mkdir("Sound"));
    QFile own(working.filePath("Sound/corr.wav"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(working.path());
    bool complete = false;
    const QStringList lines = CheckedLines(complete);
    QDir::setCurrent(previous);

    EXPECT_TRUE(complete);
    const QStringList cues = AllCues();
    ASSERT_EQ(lines.size(), cues.size() + 1);
    EXPECT_EQ(cues.size(), 25);
    const QString beside = QCoreApplication::applicationDirPath() + "/Sound/";
    for (int i = 0; i < cues.size(); ++i) {
        const QString folder = cues[i] == "corr.wav" ? QDir(working.path()).filePath("Sound/") : beside;
        EXPECT_EQ(lines[i], "Sound " + cues[i] + ": " + folder + cues[i]);
    }
    EXPECT_TRUE(lines.last().startsWith("Firmware instructions page: embedded, "))
        << lines.last().toStdString();
}

} // namespace
