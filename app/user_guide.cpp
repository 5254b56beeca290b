#include "app/user_guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "app/user_guide_window.h"
#include "platform/prompts.h"

namespace {

// The guide of this version, for a machine where the page was left out.
constexpr const char* kOnlineGuide =
    "https://github.com/kartomatrix/kartomatrix/blob/v1.0/docs/user-guide.md";

QStringList places(const QString& programFolder, const QString& page) {
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("../share/doc/kartomatrix/") + page)),
            program.filePath(page)};
}

}  // namespace

QString findUserGuide(const QString& programFolder, const QString& language) {
    QStringList pages{QStringLiteral("user-guide.html")};
    if (!language.isEmpty() && language != QLatin1String("en"))
        pages.prepend(QStringLiteral("user-guide.%1.html").arg(language));
    for (const QString& page : pages) {
        for (const QString& path : places(programFolder, page)) {
            const QFileInfo file(path);
            if (file.isFile() && file.isReadable())
                return path;
        }
    }
    return QString();
}

QString userGuideLanguage() {
    return QCoreApplication::translate("UserGuide", "en",
                                       "language code of the user guide page in this language");
}

void openUserGuide(QWidget* owner, const QString& programFolder) {
    const QString guide = findUserGuide(programFolder, userGuideLanguage());
    if (guide.isEmpty()) {
        prompts().message(
            owner, PromptIcon::Information, QCoreApplication::translate("UserGuide", "User Guide"),
            QCoreApplication::translate("UserGuide",
                                        "The user guide is not installed: %1 is missing.\n\nYou "
                                        "can read it on the Kartomatrix website:\n%2")
                .arg(QDir::toNativeSeparators(
                         places(programFolder, QStringLiteral("user-guide.html")).first()),
                     QString::fromLatin1(kOnlineGuide)));
        return;
    }
    UserGuideWindow* window =
        owner ? owner->findChild<UserGuideWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new UserGuideWindow(owner);
    window->showPage(guide);
    window->show();
    window->raise();
    window->activateWindow();
}
