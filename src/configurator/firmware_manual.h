#pragma once
// The firmware update instructions ship inside the program; opening them writes the page to a file
// and asks the desktop to show it in the user's browser.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

// The page as embedded; empty if the program was built without it.
QByteArray FirmwareManualPage();

// Returns the file the page was written to (empty if it could not be written).
QString OpenFirmwareManual();

// How the page is shown; replaceable so tests need no browser.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener& FirmwareManualOpener();
