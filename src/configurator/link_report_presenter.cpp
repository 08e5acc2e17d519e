#include "link_report_presenter.h"

#include "error_box.h"
#include "message_box.h"
#include "rxtx.h"

void PresentLinkReports(TRXTX& link) {
    QObject::connect(&link, &TRXTX::Reported, &link, [](const QString& text, TRXTX::ReportKind kind) {
        if (kind == TRXTX::ReportKind::ErrorBox)
            ShowErrorBox(text);
        else
            ShowMessage(text);
    });
}
