// Where a live run's cues are found, one cue at a time: the working directory's Sound/ (once a language
// is chosen), then the folder beside the program, then the share folder a package installs.

#include "sound_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void PutCues(const QString& folder, const QStringList& names) {
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& name : names) {
        QFile cue(folder + name);
        ASSERT_TRUE(cue.open(QIODevice::WriteOnly));
    }
}

TEST(SoundFolders, TheChosenFolderComesFirstThenBesideTheProgramThenTheInstalledShareFolder) {
    EXPECT_EQ(SoundFolders("Sound/", "/opt/zarni/bin"),
              QStringList({"Sound/", "/opt/zarni/bin/Sound/", "/opt/zarni/share/zarni-configurator/Sound/"}));
    EXPECT_EQ(SoundFolders("", "/opt/zarni/bin"),
              QStringList({"/opt/zarni/bin/Sound/", "/opt/zarni/share/zarni-configurator/Sound/"}))
        << "no language chosen yet: the program's own folders only";
}

TEST(SoundFolders, EachCueComesFromTheFirstFolderThatHoldsIt) {
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString working = root.filePath("home/Sound/");
    const QString beside = root.filePath("usr/bin/Sound/");
    const QString installed = root.filePath("usr/share/zarni-configurator/Sound/");
    PutCues(working, {"corr.wav"});
    PutCues(beside, {"corr.wav", "ready.wav"});
    PutCues(installed, {"corr.wav", "ready.wav", "puls.wav"});
    QDir().mkpath(installed + "7.wav"); // a folder is no cue

    const QStringList folders = SoundFolders(working, root.filePath("usr/bin"));
    EXPECT_EQ(FindSound(folders, "corr.wav"), working + "corr.wav");
    EXPECT_EQ(FindSound(folders, "ready.wav"), beside + "ready.wav");
    EXPECT_EQ(FindSound(folders, "puls.wav"), installed + "puls.wav");
    EXPECT_EQ(FindSound(folders, "7.wav"), "") << "found nowhere: the beep plays";
}

} // namespace
