#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "session/command.h"
#include "session/command_board.h"

// The kinds of window the registry tells apart. The lesson examinations, the overview and
// the card-modification window exist at most once each; the other examinations and the
// statistics as often as they are opened.
enum class WindowKind {
    Examination,
    LessonInOrder,
    LessonRandom,
    LessonSystematic,
    Statistics,
    Overview,
    ModifyCard,
    NewCard,
    Progress,
};

// Every modeless window the main window opened, in the order they were opened. For each
// it greys the command that opened it (and the command's button, when asked) and gives
// both back exactly once: when the window finishes (QDialog::done) or, if it is destroyed
// without finishing, when it is destroyed. Close List destroys the examination,
// statistics and overview windows through it. It also counts the steps of windows that
// wait on a modal dialog (see ModalStep), which Close List must not cut short.
class WindowRegistry : public QObject {
    Q_OBJECT

public:
    explicit WindowRegistry(CommandBoard& board, QObject* parent = nullptr);
    ~WindowRegistry() override;

    // Enters a window that is being made: greys `command` (and `button`) at once, so that
    // the command cannot open a second window meanwhile.
    void enter(QDialog* window, WindowKind kind, Command command,
               std::optional<MainButton> button = std::nullopt);
    // Greys the button too, from now on, while the window is open.
    void holdButton(const QWidget* window, MainButton button);

    // The open window of the kind (the first one opened, for kinds that exist several
    // times), or nullptr. A window that has finished is no longer open, even while it
    // waits to be deleted.
    QWidget* find(WindowKind kind) const;
    template <typename W>
    W* find(WindowKind kind) const {
        return qobject_cast<W*>(find(kind));
    }
    // Brings the open window of the kind to the front (restoring it when minimized) and
    // returns it; nullptr when none is open.
    QWidget* raise(WindowKind kind) const;
    // The open window of the kind brought to the front, or the one `open` makes.
    template <typename W, typename Open>
    W* raiseOrOpen(WindowKind kind, Open open) {
        if (W* window = qobject_cast<W*>(raise(kind)))
            return window;
        return open();
    }

    bool contains(const QWidget* window) const;
    // The open windows Close List closes.
    int listWindowCount() const;
    // Close List: destroys the examination, statistics and overview windows in the order
    // they were opened and gives back what they greyed.
    void closeListWindows();

    // A modal flow that is no window of its own (the import): greys the command until
    // finishTask. False, holding nothing, when the flow already runs: an accessibility
    // client can give the command again behind the flow's dialogs.
    bool startTask(Command command);
    void finishTask(Command command);

    // A window's step that waits on a modal dialog began or ended (see ModalStep).
    void enterModalStep() { ++modalSteps_; }
    void leaveModalStep() { --modalSteps_; }
    bool inModalStep() const { return modalSteps_ > 0; }

private:
    struct Entry {
        QWidget* window = nullptr;
        WindowKind kind = WindowKind::Examination;
        CommandHold hold;
    };

    // Takes the window out and gives back what it greyed. A window that is not in the
    // registry is an internal error that ends the program (message 161).
    void leave(QObject* window);
    const Entry* entryOf(const QWidget* window) const;

    CommandBoard& board_;
    std::vector<Entry> entries_;
    std::map<Command, CommandHold> tasks_;
    int modalSteps_ = 0;
    bool closingAll_ = false;
};
