// The working table's exchanges with the converter. The bytes and replies are the protocol's (core);
// here they meet the port flags, the parameter boxes, the progress window and the messages.

#include "table.h"

#include "default_file_name.h"
#include "path_text.h"
#include "rxtx.h"
#include "table_backups.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QWidget>

#include <exception>
#include <optional>

namespace {

bool Connected(const TRXTX* link) {
    return link && link->Connected();
}

void Report(TRXTX& link, const LinkFailure& failure) {
    link.ReportLinkError(failure.code, failure.received, failure.expected);
}

// The progress window is modal while shown, so only its painting and timers get through here, not
// the user's input nor a close of the main window.
void LetProgressPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void Table::SetProgressWindow(QWidget* window, QProgressBar* bar) {
    progressWindow = window;
    progressBar = bar;
}

int Table::ReadVersion() {
    if (!Connected(link))
        return 0;
    try {
        const VersionReply reply = ::ReadVersion(*link);
        if (reply.failure)
            Report(*link, *reply.failure);
        return reply.version;
    } catch (const std::exception& failure) {
        link->ReportPortError(failure);
        return 0;
    }
}

void Table::ReadTables() {
    if (!Connected(link))
        return;
    if (!link->PortFree()) {
        link->ReportMessage(FromUtf8(LoggerBusyMessage));
        return;
    }
    TablesReply reply;
    try {
        reply = ::ReadTables(*link);
    } catch (const std::exception& failure) {
        link->ReportPortError(failure);
        return;
    }
    if (reply.failure) {
        Report(*link, *reply.failure);
        return;
    }
    // Tables and parameters are replaced as a whole and become the undo point, as a loaded file
    // does; knots and learned points stay.
    model.LoadTabFile(TableSet::First, {*reply.image, std::nullopt});
    if (backups)
        backups->TablesRead(*reply.image);
    ShowParameters(TableSet::First);
    Redraw();
}

void Table::KeepBackup() {
    if (!backups)
        return;
    try {
        backups->BeforeWrite(DefaultFileName().toStdString());
    } catch (const FileError&) {
        const QString folder = QString::fromStdString(backups->Folder().string());
        link->ReportMessage("The converter's tables could not be backed up before this write, in " + folder +
                            ".\n\nНе удалось сохранить резервную копию таблиц конвертера перед записью, в " +
                            folder + ".");
    }
}

bool Table::WriteTables() {
    if (!Connected(link))
        return false;
    KeepBackup();
    // The boxes are read before anything is sent rather than after "sw": nothing on the line
    // depends on it, and the model never holds other parameters than the boxes show.
    ReadParameters(TableSet::First);
    const auto hideProgress = [this] {
        if (progressWindow)
            progressWindow->hide();
    };
    WritePacing pacing;
    pacing.stepPause = writeStepPause;
    pacing.started = [this] {
        if (!progressWindow || !progressBar)
            return;
        progressBar->setRange(0, WriteSteps - 1);
        progressBar->setValue(0);
        progressWindow->show();
        progressWindow->raise();
        LetProgressPaint();
    };
    pacing.stepped = [this] {
        if (!progressWindow || !progressBar)
            return;
        progressBar->setValue(progressBar->value() + 1);
        progressBar->repaint();
        LetProgressPaint();
    };
    pacing.finished = hideProgress;

    std::optional<LinkFailure> failure;
    try {
        failure = ::WriteTables(*link, model.image(TableSet::First), pacing);
    } catch (const std::exception& error) {
        hideProgress();
        link->ReportPortError(error);
        return false;
    }
    if (!failure)
        return true;
    if (failure->code == ErrorConnectReadBack)
        link->ReportMessage(QString::number(failure->received));
    link->ReportMessage(FromUtf8(failure->code));
    Report(*link, *failure);
    return false;
}

void Table::SendTablesLive(LiveStream stream) {
    if (!Connected(link))
        return;
    KeepBackup();
    ReadParameters(TableSet::First);
    try {
        ::SendTablesLive(*link, model.image(TableSet::First), stream);
    } catch (const std::exception& failure) {
        link->ReportPortError(failure);
    }
}

void Table::SendCorrection(int correction) {
    if (Connected(link))
        ::SendCorrection(*link, correction);
}

void Table::SendWindow() {
    if (Connected(link))
        ::SendWindow(*link);
}
