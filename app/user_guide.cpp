#include "app/user_guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "platform/prompts.h"
#include "platform/url_opener.h"

namespace {

// The guide of this version, for a machine where the page was left out.
constexpr const char* kOnlineGuide =
    "https://github.com/kartomatrix/kartomatrix/blob/v1.0/docs/user-guide.md";

QStringList places(const QString& programFolder) {
    const QDir program(programFolder);
    return {QDir::cleanPath(
                program.filePath(QStringLiteral("../share/doc/kartomatrix/user-guide.html"))),
            program.filePath(QStringLiteral("user-guide.html"))};
}

}  // namespace

QString findUserGuide(const QString& programFolder) {
    for (const QString& path : places(programFolder)) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

void openUserGuide(QWidget* owner, const QString& programFolder) {
    const QString caption = QCoreApplication::translate("UserGuide", "User Guide");
    const QString guide = findUserGuide(programFolder);
    if (guide.isEmpty()) {
        prompts().message(
            owner, PromptIcon::Information, caption,
            QCoreApplication::translate("UserGuide",
                                        "The user guide is not installed: %1 is missing.\n\nYou "
                                        "can read it on the Kartomatrix website:\n%2")
                .arg(QDir::toNativeSeparators(places(programFolder).first()),
                     QString::fromLatin1(kOnlineGuide)));
        return;
    }
    if (!openUrl(QUrl::fromLocalFile(guide))) {
        prompts().message(owner, PromptIcon::Information, caption,
                          QCoreApplication::translate("UserGuide",
                                                      "No web browser could be started to show "
                                                      "the user guide. Open it in one "
                                                      "yourself:\n%1")
                              .arg(QDir::toNativeSeparators(guide)));
    }
}
