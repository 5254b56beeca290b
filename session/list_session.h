#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "core/file_stamp.h"
#include "core/host.h"
#include "core/list_file_writer.h"
#include "core/list_languages.h"
#include "core/log_font.h"
#include "session/command.h"

class CardStore;
struct AnswerOutcome;
struct UndoOutcome;
class WindowRegistry;
class QLockFile;
class ReviewSchedule;
class FontDebugLog;
class RecentDraws;
struct Preferences;

// The open list and everything that lives as long as it: the card store, the preferences,
// the question and answer fonts, the recent-draws ring, the list start time and the font
// log. It carries out the document commands (new, open, save, save as, the exports, close,
// quit, sort, exchange, the fonts) and announces what happened. The one window work it does
// itself is Close List's: it closes the windows that show the list's cards through the
// window registry it is given. Its signals are meant for direct connections: a list opening runs
// its steps in a fixed order (document information, menu states, the examination that starts by
// itself, counters, start time), and the receivers of listOpened are part of that order.
//
// It is also the Host through which the core reaches the user.
class ListSession : public QObject, public Host {
    Q_OBJECT

public:
    ListSession(CardStore& store, Preferences& preferences, const LogFont& documentFont,
                QObject* parent = nullptr);
    ~ListSession() override;

    CardStore& store() { return store_; }
    const CardStore& store() const { return store_; }
    Preferences& preferences() { return preferences_; }
    RecentDraws& recentDraws() { return *recentDraws_; }
    // The review history and due cards of the open list.
    ReviewSchedule& schedule() { return *schedule_; }
    const ReviewSchedule& schedule() const { return *schedule_; }
    // The due-card preferences changed: the schedule follows them.
    void applySchedulePreferences();
    const LogFont& questionFont() const { return questionFont_; }
    const LogFont& answerFont() const { return answerFont_; }
    // Milliseconds since process start when the list was opened or a new list begun.
    long long listStartTime() const { return listStartTime_; }
    bool hasCards() const;
    // A list is open: opened from a file, begun with New List or by an import, or holding
    // cards. Close List ends it.
    bool listOpen() const;

    // The window the session's own dialogs (file choosers, questions, reports) belong to.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }
    QWidget* dialogParent() const { return dialogParent_; }

    // The document commands.
    void newList();
    void openListCommand();
    // Reads a list file into the store and announces the list as opened.
    void openList(const QString& path);
    void saveList();
    void saveListAs();
    // Save As with the file dialog preset to `initialName` (a name, or a path whose folder
    // the dialog opens in).
    void saveListAs(const QString& initialName);
    void exportList(Command command);
    void closeList();
    void quit();
    void sortList();
    void exchange();
    void chooseDocumentFont(Command command);
    // The languages the open list is spoken in; none chosen for a new list.
    const ListLanguages& listLanguages() const { return listLanguages_; }
    void setListLanguages(const ListLanguages& languages) { listLanguages_ = languages; }
    // Answers asked backwards since the list was opened, for the statistics window.
    int backwardAnswers() const { return backwardAnswers_; }
    void countBackwardAnswer() { ++backwardAnswers_; }

    // A card was typed into the list.
    void cardEntered();
    // Cards from another program's file were added to the unknown list, which held
    // `unknownBefore` cards. `listBegun` when no list was open: the import began one.
    void cardsImported(int unknownBefore, bool listBegun);
    // An examination window answered a card: records it in the review history and
    // announces what changed.
    void answerRecorded(const AnswerOutcome& outcome);
    // An examination window took an answer back: announces what that changed, as
    // answerRecorded does for an answer.
    void answerUndone(const UndoOutcome& outcome);

    // The open windows: Close List closes the examination, statistics and overview
    // windows, and waits while a step of any window waits on a modal dialog.
    void setWindows(WindowRegistry* windows);

    // Host
    void showError(int messageId) override;
    void showNotice(int messageId) override;
    void showErrorText(std::string_view text) override;
    [[noreturn]] void fatalError(int messageId) override;
    KnownCardChoice askKnownCard(const Card& card) override;
    bool fontUsable(const LogFont& font) override;
    LogFont chooseFont(const LogFont& preset) override;

signals:
    // A new, empty list was begun (New List).
    void newListStarted();
    // The list is open: the menus follow, then the examination that starts by itself.
    void listOpened();
    // Every card is gone and the windows that showed them are closed.
    void listClosed();
    // A card was typed in.
    void cardAdded();
    // Cards were imported (see cardsImported()).
    void cardsAddedFromFile(int unknownBefore, bool listBegun);
    // The number of cards changed.
    void cardsChanged();
    // An answer put its card into the wrong list.
    void cardJoinedWrongList();
    // An answer moved its card to the known cards.
    void cardMovedToKnown();
    // Taking an answer back left the wrong list, or the known cards, empty again.
    void wrongListEmptied();
    void knownListEmptied();
    void fontsChanged();

private:
    bool askToSave(bool saveAsAlways);
    // Writes the list to `path` in the format; false when it was not written (refused,
    // failed).
    bool writeTo(const std::string& path, ListFileFormat format);
    // Asks before a save replaces a file that was incomplete when read or has changed on
    // disk since; Save As is offered instead. True when the save may go on.
    enum class Replace { Go, SaveAs, Stop };
    Replace confirmReplace();
    // Takes the lock beside the list file, asking when another program holds it; false
    // when the user would rather not open the list.
    bool lockList(const std::string& path, bool ask);
    void unlockList();
    // A lock on `path`'s file. When another program holds it and `question` is not empty,
    // asks the user with `question` as the last line; `refused` when the answer is No.
    // Null when no lock was taken.
    std::unique_ptr<QLockFile> takeLock(const std::string& path, const QString& question,
                                        bool& refused);
    // Opens the history of the list at `listPath` (its lock is held) and says what went
    // wrong with it, if anything; the list opens either way.
    void openSchedule(const QString& listPath);
    // After Save As to `newListPath`: the history goes along.
    void carrySchedule(const QString& newListPath);
    FontDebugLog& fontLog();
    void setFonts(LogFont question, LogFont answer);

    CardStore& store_;
    Preferences& preferences_;
    ListLanguages listLanguages_;
    int backwardAnswers_ = 0;
    std::unique_ptr<RecentDraws> recentDraws_;
    std::unique_ptr<FontDebugLog> fontLog_;
    ReviewSchedule* schedule_ = nullptr;
    LogFont questionFont_;
    LogFont answerFont_;
    long long listStartTime_ = 0;
    QPointer<WindowRegistry> windows_;
    bool listBegun_ = false;
    // The list file as last read or written, to see changes made by other programs.
    FileStamp fileStamp_;
    // The file ended in the middle of a card when it was read.
    bool readIncomplete_ = false;
    // The list was read as, or last saved as, a Unicode list: it stays one.
    bool unicodeList_ = false;
    bool toldAboutUnicode_ = false;
    std::unique_ptr<QLockFile> lock_;
    QPointer<QWidget> dialogParent_;
};
