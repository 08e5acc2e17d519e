#include "file_action.h"

#include <QFileDialog>
#include <QStringList>

TFileAction::TFileAction(Kind kind, const QString& caption, QObject* parent)
    : QAction(caption, parent), kind(kind) {
    connect(this, &QAction::triggered, this, [this] { Execute(); });
}

QString TFileAction::DialogFilter() const {
    const QStringList parts = Filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return entries.join(";;");
}

TFileAction::Chooser& TFileAction::DialogChooser() {
    static Chooser chooser = &TFileAction::ShowDialog;
    return chooser;
}

QString TFileAction::ShowDialog(TFileAction& action) {
    QFileDialog dialog(nullptr, action.text().remove('&'));
    dialog.setAcceptMode(action.kind == Kind::SaveAs ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(action.kind == Kind::SaveAs ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(action.DialogFilter());
    dialog.setDefaultSuffix(action.DefaultExt);
    // The dialog would ask about the name typed, and the save may then write another name (the
    // extension is appended); a save replaces the old file only once the new one is complete.
    if (action.kind == Kind::SaveAs)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!action.FileName.isEmpty())
        dialog.selectFile(action.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool TFileAction::Execute() {
    emit BeforeExecute();
    bool accepted = false;
    for (;;) {
        const QString chosen = DialogChooser()(*this);
        if (chosen.isEmpty())
            break;
        FileName = chosen;
        bool canClose = true;
        emit Accept(chosen, canClose);
        if (canClose) {
            accepted = true;
            break;
        }
    }
    emit DialogClosed();
    return accepted;
}
