#pragma once
// The name a save dialog proposes for a table or a log: "D", the system's short date and the time,
// with what a file name cannot hold replaced.

#include <QString>

QString DefaultFileName();
