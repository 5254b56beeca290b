#pragma once

#include <QString>

class QWidget;

// The user guide page, looked for from the program's folder: installed under
// ../share/doc/kartomatrix/, or beside the program in the build folder. A language other than
// English ("de") takes that language's page, user-guide.<language>.html, where it exists, and
// the English one otherwise. Empty when the page is in neither place.
QString findUserGuide(const QString& programFolder, const QString& language = QString());

// The language of the guide that goes with the program's texts, as the translation in use
// names it ("en" for the English of the code).
QString userGuideLanguage();

// Shows the user guide in the program's language in a window of the owner's, or raises that
// window when it is open already. When the page is missing, a message says where the guide
// can be read instead.
void openUserGuide(QWidget* owner, const QString& programFolder);
