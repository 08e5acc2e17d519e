#include "sound_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

class TSoundEffectOutput : public TSoundOutput {
public:
    // Without an audio device a sound effect may report "playing" for ever, so it is never started.
    bool DeviceAvailable() const override { return !QMediaDevices::audioOutputs().isEmpty(); }
    bool IsPlaying() const override { return effect.isPlaying(); }
    void PlayFile(const QString& path) override {
        effect.setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
        effect.play();
    }
    void Beep() override { QApplication::beep(); }

private:
    QSoundEffect effect;
};

} // namespace

TSoundPlayer::TSoundPlayer() : TSoundPlayer(std::make_unique<TSoundEffectOutput>()) {}

TSoundPlayer::TSoundPlayer(std::unique_ptr<TSoundOutput> output, std::function<Clock::time_point()> now)
    : output(std::move(output)), now(std::move(now)) {}

TSoundPlayer::~TSoundPlayer() = default;

void TSoundPlayer::Play(const QString& path, bool interrupt) {
    if (!output->DeviceAvailable())
        return;
    const Clock::time_point at = now();
    if (!interrupt && (output->IsPlaying() || at < beepEnds))
        return;
    if (QFileInfo(path).isFile()) {
        output->PlayFile(path);
    } else {
        output->Beep();
        beepEnds = at + kBeepLength;
    }
}
