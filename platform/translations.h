#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// The program's texts in the user's language, for as long as the object lives. The texts in
// the code are English, so English (and any language without a translation) installs
// nothing and every text stays exactly as written. Qt's own texts (the buttons of message
// boxes, the file and print dialogs) follow in the same language where Qt's translation of
// it is installed, so that a window does not mix two languages.
class Translations {
public:
    // Looks for the translation of the first of the locale's languages that has one, where
    // it is installed (<programFolder>/../share/kartomatrix/translations) or where the build
    // puts it (<programFolder>/translations).
    Translations(const QLocale& locale, const QString& programFolder);
    ~Translations();

    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language installed, such as "de_DE"; empty for the English of the code.
    QString language() const;

private:
    QTranslator program_;
    QTranslator qt_;
    bool programInstalled_ = false;
    bool qtInstalled_ = false;
};
