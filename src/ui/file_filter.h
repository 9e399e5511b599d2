// Turns the program's dialog filters ("label|patterns|label|patterns...", patterns joined by
// ";") into the name filters of a Qt file dialog.
#pragma once

#include <QStringList>

namespace lodestar::ui {

// "HTML file(*.htm;*.html)|*.htm;*.html" gives "HTML file (*.htm *.html)". The pattern "*.*"
// means every file, with or without a dot in its name, so it becomes "*".
QStringList nameFilters(const QString& filter);

}  // namespace lodestar::ui
