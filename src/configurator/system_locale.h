#pragma once
// The user's decimal separator (the default locale, which is the system's unless set otherwise), as
// the core's number texts take it: a separator that is not a single ASCII character falls back to '.'.

#include <QLocale>

inline char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? char(point.at(0).unicode()) : '.';
}
