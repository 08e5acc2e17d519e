#pragma once
// The command-line options that only print (help, version and a program's own) need no display, so a
// program asked for one of them runs on Qt's offscreen platform: they work over a plain terminal too.
// Called before the application object exists, which is when the platform is chosen.

#include <QStringList>

void UseNoDisplayForPrintingOptions(int argc, char** argv, const QStringList& ownPrintingOptions = {});
