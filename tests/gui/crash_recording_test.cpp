// A live run killed with SIGKILL: its recording loads with every sample but at most the last
// second's.

#include "log_file.h"
#include "log_store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CrashRecording, AKilledRunLosesAtMostItsLastSecond) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    window.setProcessEnvironment(environment);
    window.start(ZARNI_STREAM_UNTIL_KILLED, {});
    ASSERT_TRUE(window.waitForStarted(10000));

    // Streams for about three seconds, then dies without a word.
    long reported = 0;
    QElapsedTimer streaming;
    streaming.start();
    while (streaming.elapsed() < 15000 && reported < 300) {
        window.waitForReadyRead(200);
        while (window.canReadLine()) {
            const QByteArray line = window.readLine().trimmed();
            if (line.startsWith("samples "))
                reported = line.mid(8).toLong();
        }
    }
    ASSERT_GE(reported, 300) << "the window streams from the simulated converter";
    window.kill();
    ASSERT_TRUE(window.waitForFinished(10000));

    const QDir logs(home.filePath("data/Zarni/ZarniConfigurator/Logs"));
    const QStringList files = logs.entryList({"*.log"}, QDir::Files);
    ASSERT_EQ(files.size(), 1) << logs.path().toStdString();
    LogStore store;
    const auto header = loadLogFile(logs.filePath(files[0]).toStdString(), store);
    ASSERT_TRUE(header);
    // The last report came less than 100 ms before the kill; a second of the drive is 100 samples.
    EXPECT_GE(long(store.Size()), reported - 100) << "recorded " << store.Size() << " of " << reported;
}
