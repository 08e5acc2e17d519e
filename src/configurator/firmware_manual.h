#pragma once
// The firmware update instructions ship inside the program; opening them writes the page to a file
// and asks the desktop to show it in the user's browser.

#include <QString>
#include <QUrl>

#include <functional>

// Returns the file the page was written to (empty if it could not be written).
QString OpenFirmwareManual();

// How the page is shown; replaceable so tests need no browser.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener& FirmwareManualOpener();
