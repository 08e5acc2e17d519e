#pragma once
// The render steps, each into its own folder; each returns false when a picture could not be written.

#include <QString>

// Every page of the main window as at a first start, the progress window, and the log page with a
// ninety-second drive of the simulated converter's engine (the README's pictures come from these).
bool RenderPages(const QString& folder);
// The user guide's pictures of the configurator, connected to the simulated converter: connecting,
// the table pages, a table write, the autotuning setup, a live run on the dashboard and the firmware
// page, and the log page with that run.
bool RenderGuidePictures(const QString& folder);
// The user guide's picture of the uploader after an upload to its simulated converter.
bool RenderUploaderPicture(const QString& folder);
