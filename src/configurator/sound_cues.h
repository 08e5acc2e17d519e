#pragma once
// The names of the cue files a live run plays: one per autocorrection state that has a cue, and the
// spoken number of each smoothing step up to kSpokenSmoothingSteps.

#include <QString>
#include <QStringList>

inline constexpr int kSpokenSmoothingSteps = 20;

// The cue of an autocorrection state colour; empty for the states that have none.
QString StateCue(int stateColour);

// The cue that speaks a smoothing step's text.
QString SmoothingCue(const QString& smoothing);

// Every cue file, so an installation can be checked for all of them.
QStringList AllCues();
