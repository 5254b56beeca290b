#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<bool(const QUrl&)>& replacementOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

}  // namespace

bool openUrl(const QUrl& url) {
    if (replacementOpener())
        return replacementOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setUrlOpener(std::function<bool(const QUrl&)> opener) {
    replacementOpener() = std::move(opener);
}
