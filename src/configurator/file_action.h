#pragma once
// An action that shows an open-file or save-as dialog when executed. `BeforeExecute` fires before the
// dialog shows; `Accept` fires when the user confirms a name and may keep the dialog open by clearing
// `canClose`; `DialogClosed` fires when the dialog has closed, whichever way.

#include <QAction>
#include <QString>

#include <functional>

class TFileAction : public QAction {
    Q_OBJECT
public:
    enum class Kind { OpenFile, SaveAs };

    TFileAction(Kind kind, const QString& caption, QObject* parent);

    Kind DialogKind() const { return kind; }

    // "Description|*.ext" pairs separated by "|".
    QString Filter;
    QString DefaultExt;
    QString FileName; // initial name shown; the accepted name afterwards
    QString Category;

    // The filter in the form the dialog takes: "Description (*.ext)" entries separated by ";;".
    QString DialogFilter() const;

    // Asks the user for a file name; an empty result means the dialog was cancelled. Replaceable so
    // tests can answer the dialog.
    using Chooser = std::function<QString(TFileAction&)>;
    static Chooser& DialogChooser();

    // Runs the dialog as the user would meet it: before-execute, then the chooser until a name is
    // accepted or the dialog is cancelled, then dialog-closed. Returns whether a name was accepted.
    bool Execute();

signals:
    void BeforeExecute();
    void Accept(const QString& fileName, bool& canClose);
    void DialogClosed();

private:
    static QString ShowDialog(TFileAction& action);

    Kind kind;
};
