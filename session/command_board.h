#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <optional>

#include "session/command.h"

class QAction;
class QMenuBar;
class QPushButton;

// Numbers of the main window's buttons.
enum class MainButton : int {
    Examine = 1009,
    CardBox = 1010,
    Systematic = 2015,
    InOrder = 2016,
    Random = 2017,
    WrongWords = 2057,
    NewCard = 2058,
    Overview = 2059,
    Exchange = 2060,
};

class CommandBoard;

// A command (and its button) greyed by the window that runs it, given back exactly once:
// by release(), or when the hold goes. The action and the button may be gone before the
// hold is (the main window is being destroyed); then there is nothing to give back.
class CommandHold {
public:
    CommandHold() = default;
    CommandHold(QAction* action, QPushButton* button);
    ~CommandHold();
    CommandHold(CommandHold&& other) noexcept;
    CommandHold& operator=(CommandHold&& other) noexcept;
    CommandHold(const CommandHold&) = delete;
    CommandHold& operator=(const CommandHold&) = delete;

    // Greys the button too, from now on (the examination greys it only once its window
    // is up).
    void holdButton(QPushButton* button);
    void release();
    bool held() const { return held_; }

private:
    QPointer<QAction> action_;
    QPointer<QPushButton> button_;
    bool held_ = false;
};

// The one QAction per command and the main-window buttons bound to them, with the rows of
// the table of menu states as named transitions. The states depend on what happened (one,
// four and eleven cards typed, New List greying Open), not on the store's present
// content, so each transition sets exactly what its row says and nothing is recomputed.
// A menu item and its button are enabled separately: the table sometimes treats them
// differently.
class CommandBoard : public QObject {
    Q_OBJECT

public:
    explicit CommandBoard(QObject* parent = nullptr);

    // Fills the menu bar with every command, in menu order, with its start state.
    void buildMenus(QMenuBar* menuBar);
    // Binds a main-window button; the board does not own it.
    void bindButton(MainButton id, QPushButton* button);

    QAction* action(Command command) const;
    QPushButton* button(MainButton id) const;
    void setCommandEnabled(Command command, bool enabled);
    void setButtonEnabled(MainButton id, bool enabled);
    bool isEnabled(Command command) const;

    // Greys the command (and the button) until the hold is released.
    CommandHold hold(Command command, std::optional<MainButton> button = std::nullopt);

    // Asks for a command to run, whether its item is enabled or not: windows use it to
    // start the examination or the window a command opens.
    void run(Command command);

    // The rows of the table of states.
    void applyNoList();
    void applyListOpened(int unknownCount, int knownCount);
    void applyNewList();
    // A card was typed in; `unknownCount` is the size of the list after it.
    void applyCardEntered(int unknownCount);
    // Cards were imported and the unknown list grew from `unknownBefore` to `unknownAfter`:
    // the menus follow as if each card had been typed in turn. `listBegun` when no list was
    // open and the import began one.
    void applyCardsImported(int unknownBefore, int unknownAfter, bool listBegun);
    // The lesson chooser selected `chosen` cards.
    void applyLessonChosen(int chosen);
    // An answer put a card into the wrong list, or moved one to the known cards.
    void applyWrongListJoined();
    void applyCardMovedToKnown();
    // Taking an answer back left the wrong list or the known cards empty again: their
    // examinations are greyed once more, as before the answer that filled them.
    void applyWrongListEmptied();
    void applyKnownListEmptied();

signals:
    void commandRequested(Command command);

private:
    // Switches a command on or off together with its button, if it has one.
    void enableCommand(Command command, bool enabled = true);
    void enterCards(int unknownBefore, int unknownAfter);

    std::map<Command, QAction*> actions_;
    std::map<MainButton, QPointer<QPushButton>> buttons_;
};

// The main-window button that follows a menu command, where there is one.
std::optional<MainButton> buttonOf(Command command);
// The object names of a command's action and of a main-window button, which tests and
// accessibility tools find them by.
QString objectNameOf(Command command);
QString objectNameOf(MainButton button);
