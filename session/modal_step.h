#pragma once

#include <QPointer>
#include <QWidget>

class WindowRegistry;

// One step of a window's work that may wait on a modal dialog or message: judging an
// answer, a search, deleting a card, reading a typed level. A modal dialog does not stop
// a screen reader or another accessibility client from pressing the buttons of the window
// behind it or the main window's menu items, so while a step waits:
// - the window takes no second step (a second OK would judge the same answer twice);
// - Close List waits until the step is over (the step may hold cards Close List would
//   discard);
// - the window may be closed or deleted, and the step must then stop without touching it.
// Make one at the start of each such handler, return at once when started() is false,
// and after every call that may show a dialog return when windowGone() is true.
class ModalStep {
public:
    ModalStep(QWidget* window, WindowRegistry& windows);
    ~ModalStep();
    ModalStep(const ModalStep&) = delete;
    ModalStep& operator=(const ModalStep&) = delete;

    // False when another step of the window is running; this one must do nothing.
    bool started() const { return started_; }
    // The window was closed or deleted while a dialog of the step was open.
    bool windowGone() const;

    // Whether a step of the window is running.
    static bool running(const QWidget* window);
    // Closes the modal dialogs that belong to the window, so that steps waiting on them go
    // on (and see the window gone); for a window that is closing.
    static void closeDialogsOf(QWidget* window);

private:
    QPointer<QWidget> window_;
    QPointer<WindowRegistry> windows_;
    bool started_ = false;
};
