#pragma once

#include <QPointer>
#include <utility>

// A modal dialog made on the heap, as a child of a window that may be deleted while the
// dialog runs (an accessibility client can close the window behind a modal dialog). The
// window's deletion then deletes the dialog too, and the holder has nothing left to
// delete; otherwise the holder deletes it. A dialog on the stack would be freed twice.
template <typename Dialog>
class OwnedDialog {
public:
    template <typename... Args>
    explicit OwnedDialog(Args&&... args) : dialog_(new Dialog(std::forward<Args>(args)...)) {}
    ~OwnedDialog() { delete dialog_.data(); }
    OwnedDialog(const OwnedDialog&) = delete;
    OwnedDialog& operator=(const OwnedDialog&) = delete;

    // None once the dialog's parent has deleted it.
    Dialog* get() const { return dialog_.data(); }
    Dialog* operator->() const { return dialog_.data(); }
    explicit operator bool() const { return !dialog_.isNull(); }

private:
    QPointer<Dialog> dialog_;
};
