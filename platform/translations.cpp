#include "platform/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace {

QStringList translationFolders(const QString& programFolder) {
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("../share/kartomatrix/translations"))),
            program.filePath(QStringLiteral("translations"))};
}

}  // namespace

Translations::Translations(const QLocale& locale, const QString& programFolder) {
    for (const QString& folder : translationFolders(programFolder)) {
        if (program_.load(locale, QStringLiteral("kartomatrix"), QStringLiteral("_"), folder))
            break;
    }
    if (program_.isEmpty())
        return;
    programInstalled_ = QCoreApplication::installTranslator(&program_);
    // The language the program's file is in, not the locale's first: with LANGUAGE=fr:de
    // the program speaks German, and so must Qt's buttons.
    if (qt_.load(QLocale(program_.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtInstalled_ = QCoreApplication::installTranslator(&qt_);
    }
}

Translations::~Translations() {
    if (qtInstalled_)
        QCoreApplication::removeTranslator(&qt_);
    if (programInstalled_)
        QCoreApplication::removeTranslator(&program_);
}

QString Translations::language() const {
    return programInstalled_ ? program_.language() : QString();
}
