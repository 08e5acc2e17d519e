#pragma once
// The program's check of its own installation (`configurator --check-install`): where each sound cue
// is found, looked up as a live run does once a language is chosen, and whether the firmware
// instructions page is embedded. It tells a user with a silent live run which files are missing.

#include <QTextStream>

// Writes one line per cue and one for the page; true when nothing is missing.
bool CheckInstall(QTextStream& out);
