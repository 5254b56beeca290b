#include "session/open_windows.h"

#include <QWidget>
#include <algorithm>

#include "core/message_ids.h"
#include "platform/messages.h"

OpenWindowList& OpenWindowList::instance() {
    static OpenWindowList list;
    return list;
}

void OpenWindowList::enter(QWidget* window) {
    windows_.push_back(window);
}

void OpenWindowList::leave(QWidget* window) {
    if (closingAll_)
        return;
    auto it = std::find(windows_.begin(), windows_.end(), window);
    if (it == windows_.end())
        fatalError(Msg::NonexistentDialog);
    windows_.erase(it);
}

bool OpenWindowList::contains(const QWidget* window) const {
    return window != nullptr &&
           std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

void OpenWindowList::closeAll() {
    closingAll_ = true;
    // A window's destructor gives back what it greyed; it must not look itself up here.
    std::vector<QWidget*> windows;
    windows.swap(windows_);
    for (QWidget* window : windows)
        delete window;
    closingAll_ = false;
}
