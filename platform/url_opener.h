#pragma once

#include <functional>

class QUrl;

// Opens a page or file in the desktop's program for it (the browser for a web page or an
// HTML file). False when no program could be started for it.
bool openUrl(const QUrl& url);
// Tests replace the desktop, so that no browser starts; an empty opener restores it.
void setUrlOpener(std::function<bool(const QUrl&)> opener);
