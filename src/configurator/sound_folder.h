#pragma once
// Where a cue's file is found. Each cue is looked up on its own, so a folder that lacks a cue falls back
// to the program's copy: first the folder the language switch names (relative to the working
// directory), then the "Sound" folder beside the program (a build tree), then the one the package
// installs under the prefix's share folder (found relative to the program, so an unpacked package
// works wherever it lies).

#include <QString>
#include <QStringList>

// The folder the language switch names: "Sound/" under the working directory.
inline const QString kWorkingSoundFolder = QStringLiteral("Sound/");

// The folders to look in, in order, each ending with a slash; `chosen` first unless it is empty.
QStringList SoundFolders(const QString& chosen, const QString& programFolder);

// The first folder's path to `file` that is a file; empty when no folder holds it.
QString FindSound(const QStringList& folders, const QString& file);
