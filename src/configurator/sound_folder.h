#pragma once
// The sound folder the program brings: beside the program, or where a package installs it. Cues are
// looked up there until the language switch names the "Sound/" folder.

#include <QString>

// Ends with a slash.
QString ProgramSoundFolder();
