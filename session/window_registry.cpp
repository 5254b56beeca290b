#include "session/window_registry.h"

#include <QDialog>
#include <algorithm>

#include "core/message_ids.h"
#include "platform/messages.h"

namespace {

bool closesWithList(WindowKind kind) {
    switch (kind) {
        case WindowKind::ModifyCard:
        case WindowKind::NewCard:
            return false;
        default:
            return true;
    }
}

}  // namespace

WindowRegistry::WindowRegistry(CommandBoard& board, QObject* parent)
    : QObject(parent), board_(board) {}

WindowRegistry::~WindowRegistry() = default;

void WindowRegistry::enter(QDialog* window, WindowKind kind, Command command,
                           std::optional<MainButton> button) {
    entries_.push_back({window, kind, board_.hold(command, button)});
    // Whichever comes first gives back: the window finishing, or its destruction.
    connect(window, &QDialog::finished, this, [this, window] { leave(window); });
    connect(window, &QObject::destroyed, this, &WindowRegistry::leave);
}

void WindowRegistry::holdButton(const QWidget* window, MainButton button) {
    for (Entry& entry : entries_) {
        if (entry.window == window)
            entry.hold.holdButton(board_.button(button));
    }
}

void WindowRegistry::leave(QObject* window) {
    if (closingAll_)
        return;
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [window](const Entry& e) { return e.window == window; });
    if (it == entries_.end())
        fatalError(Msg::NonexistentDialog);
    disconnect(window, nullptr, this, nullptr);
    // Out of the list before the command comes back, so that the command finds no window.
    Entry entry = std::move(*it);
    entries_.erase(it);
    entry.hold.release();
}

const WindowRegistry::Entry* WindowRegistry::entryOf(const QWidget* window) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [window](const Entry& e) { return e.window == window; });
    return it == entries_.end() ? nullptr : &*it;
}

QWidget* WindowRegistry::find(WindowKind kind) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [kind](const Entry& e) { return e.kind == kind; });
    return it == entries_.end() ? nullptr : it->window;
}

QWidget* WindowRegistry::raise(WindowKind kind) const {
    QWidget* window = find(kind);
    if (window == nullptr)
        return nullptr;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

bool WindowRegistry::contains(const QWidget* window) const {
    return window != nullptr && entryOf(window) != nullptr;
}

int WindowRegistry::listWindowCount() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const Entry& e) { return closesWithList(e.kind); }));
}

void WindowRegistry::closeListWindows() {
    std::vector<Entry> closing;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (closesWithList(it->kind)) {
            closing.push_back(std::move(*it));
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    closingAll_ = true;
    for (Entry& entry : closing) {
        disconnect(entry.window, nullptr, this, nullptr);
        delete entry.window;
        entry.hold.release();
    }
    closingAll_ = false;
}

bool WindowRegistry::startTask(Command command) {
    if (tasks_.count(command) != 0)
        return false;
    tasks_.emplace(command, board_.hold(command));
    return true;
}

void WindowRegistry::finishTask(Command command) {
    tasks_.erase(command);
}
