#pragma once

#include <vector>

class QWidget;

// The examination, statistics and overview windows that are open. A window enters when
// it is made and leaves when it is destroyed; Close List destroys them all at once.
class OpenWindowList {
public:
    static OpenWindowList& instance();

    void enter(QWidget* window);
    // Takes the window out. A window that is not in the list is an internal error that
    // ends the program (message 161). Does nothing while closeAll runs.
    void leave(QWidget* window);
    bool contains(const QWidget* window) const;
    // Destroys every window in list order, then empties the list.
    void closeAll();
    int size() const { return static_cast<int>(windows_.size()); }

private:
    std::vector<QWidget*> windows_;
    bool closingAll_ = false;
};
