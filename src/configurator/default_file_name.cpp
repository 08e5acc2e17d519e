#include "default_file_name.h"

#include "path_text.h"
#include "tab_file.h"

#include <QDateTime>
#include <QLocale>

QString DefaultFileName() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    // The long time format may carry a zone name; hh:mm:ss is what the name needs.
    const QString stamp =
        locale.toString(now.date(), QLocale::ShortFormat) + " " + now.time().toString("hh:mm:ss");
    return FromUtf8(defaultTabFileName(stamp.toStdString()));
}
