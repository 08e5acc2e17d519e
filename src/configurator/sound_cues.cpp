#include "sound_cues.h"

#include "autocorrection.h"

QString StateCue(int stateColour) {
    switch (stateColour) {
    case kAutocorrTooWide:
        return "puls.wav";
    case kAutocorrFirstPhase:
        return "corr.wav";
    case kAutocorrSecondPhase:
        return "training.wav";
    case kAutocorrDone:
        return "ready.wav";
    case kAutocorrForcedIdle:
        return "forcedidle.wav";
    default:
        return {};
    }
}

QString SmoothingCue(const QString& smoothing) {
    return smoothing + ".wav";
}

QStringList AllCues() {
    QStringList cues;
    for (int colour :
         {kAutocorrTooWide, kAutocorrFirstPhase, kAutocorrSecondPhase, kAutocorrDone, kAutocorrForcedIdle})
        cues << StateCue(colour);
    for (int step = 1; step <= kSpokenSmoothingSteps; ++step)
        cues << SmoothingCue(QString::number(step));
    return cues;
}
