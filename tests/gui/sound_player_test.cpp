// What the sound cues would make the user hear.

#include "sound_player.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Heard {
    QStringList events;
    bool playing = false;
    bool device = true;
};

class RecordingOutput : public TSoundOutput {
public:
    explicit RecordingOutput(Heard& heard) : heard(heard) {}
    bool DeviceAvailable() const override { return heard.device; }
    bool IsPlaying() const override { return heard.playing; }
    void PlayFile(const QString& path) override { heard.events << "play " + QFileInfo(path).fileName(); }
    void Beep() override { heard.events << "beep"; }

private:
    Heard& heard;
};

TEST(SoundPlayer, CuesWaitForThePlayingSoundNumbersInterruptItMissingFilesBeep) {
    QTemporaryDir folder;
    for (const char* name : {"corr.wav", "20.wav"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    Heard heard;
    TSoundPlayer player(std::make_unique<RecordingOutput>(heard));

    player.Play(folder.filePath("corr.wav"), false);
    heard.playing = true;
    player.Play(folder.filePath("corr.wav"), false); // dropped: a cue never interrupts
    player.Play(folder.filePath("20.wav"), true);
    heard.playing = false;
    player.Play(folder.filePath("ready.wav"), false); // not there: the default beep instead
    heard.device = false;
    player.Play(folder.filePath("20.wav"), true); // no audio device: silence

    EXPECT_EQ(heard.events, QStringList({"play corr.wav", "play 20.wav", "beep"}));
}

TEST(SoundPlayer, EveryCueShipsWithTheProgram) {
    QStringList names = {"puls.wav", "corr.wav", "training.wav", "ready.wav", "forcedidle.wav"};
    for (int n = 1; n <= 20; ++n)
        names << QString("%1.wav").arg(n);
    const QDir sounds(QStringLiteral(ZARNI_SOUND_DIR));
    for (const QString& name : names) {
        QFile file(sounds.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(file.read(4), "RIFF") << name.toStdString();
    }
}

} // namespace
