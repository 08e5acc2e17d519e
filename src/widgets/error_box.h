#pragma once
// The toolkit's standard error box: what a failure that no handler expected shows.

#include <QString>

void ShowErrorBox(const QString& text);
