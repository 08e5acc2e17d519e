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

// A state cue is asked for on every 100 ms tick while the state lasts and waits for what plays. A
// missing file's beep counts as playing for kBeepLength, so it does not sound on every tick.
TEST(SoundPlayer, AMissingCuesBeepHoldsBackCuesForAsLongAsACuePlays) {
    using namespace std::chrono_literals;
    QTemporaryDir folder;
    for (const char* name : {"corr.wav", "20.wav"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const auto start = TSoundPlayer::Clock::now();
    static_assert(TSoundPlayer::kBeepLength == 300ms);

    // A state whose cue is missing, for one second: a beep on every third tick.
    {
        Heard heard;
        auto now = start;
        TSoundPlayer player(std::make_unique<RecordingOutput>(heard), [&] { return now; });
        QStringList beeps;
        for (auto tick = 0ms; tick < 1000ms; tick += 100ms) {
            now = start + tick;
            const auto before = heard.events.size();
            player.Play(folder.filePath("ready.wav"), false);
            if (heard.events.size() > before)
                beeps << QString::number(tick.count());
        }
        EXPECT_EQ(beeps.join(' ').toStdString(), "0 300 600 900");
    }

    // What else is asked for while the beep counts as playing.
    const struct {
        const char* what;
        std::chrono::milliseconds after;
        const char* file;
        bool interrupt;
        QStringList heard; // after the beep
    } cases[] = {
        {"a cue whose file is there, at once", 0ms, "corr.wav", false, {}},
        {"the same, just before the beep's end", 299ms, "corr.wav", false, {}},
        {"the same, at the beep's end", 300ms, "corr.wav", false, {"play corr.wav"}},
        {"a missing cue, just before the end", 299ms, "puls.wav", false, {}},
        {"a smoothing step, which interrupts", 100ms, "20.wav", true, {"play 20.wav"}},
        {"a missing smoothing step", 100ms, "19.wav", true, {"beep"}},
    };
    for (const auto& c : cases) {
        Heard heard;
        auto now = start;
        TSoundPlayer player(std::make_unique<RecordingOutput>(heard), [&] { return now; });
        player.Play(folder.filePath("ready.wav"), false);
        now = start + c.after;
        player.Play(folder.filePath(c.file), c.interrupt);
        EXPECT_EQ(heard.events.join(", ").toStdString(),
                  (QStringList{"beep"} + c.heard).join(", ").toStdString())
            << c.what;
    }
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
