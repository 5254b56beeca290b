#pragma once

#include <QString>

class QWidget;

// The user guide page, looked for from the program's folder: installed under
// ../share/doc/kartomatrix/, or beside the program in the build folder. Empty when it is in
// neither place.
QString findUserGuide(const QString& programFolder);

// Shows the user guide in the browser. When the page is missing or no browser starts, a
// message says where the guide can be read instead.
void openUserGuide(QWidget* owner, const QString& programFolder);
