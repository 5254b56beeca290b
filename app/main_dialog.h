#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <functional>

#include "core/log_font.h"
#include "session/command.h"
#include "session/command_board.h"
#include "session/memory_model_source.h"

class CardStore;
class ListSession;
class QLabel;
class QTimer;
class WindowRegistry;
struct Preferences;

// The main window: the menu bar, the command buttons, the two picture buttons and the
// card counters. It runs each command by handing it to the list session or opening the
// window that carries it out, and keeps the counters and the command board in step with
// what the session announces.
class MainDialog : public QDialog {
    Q_OBJECT

public:
    MainDialog(CardStore& store, Preferences& preferences, const LogFont& documentFont,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    ListSession& session() { return *session_; }
    CommandBoard& board() { return *board_; }
    const CommandBoard& board() const { return *board_; }
    WindowRegistry& windows() { return *windows_; }
    // Where Progress and Optimise Memory Model read the open list's history and schedule.
    // Without one set, both see a list without history.
    void setMemoryModelSource(std::function<MemoryModelSource()> source) {
        memoryModelSource_ = std::move(source);
    }

    // The list file to open at the first paint (the command line).
    void setStartupList(const QString& path) { startupList_ = path; }

    // Runs a command as its menu item or button would.
    void runCommand(Command command);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // `withDueTimes`: with the due time of every card, which only Progress needs.
    MemoryModelSource memoryModelSource(bool withDueTimes = true) const;
    std::function<MemoryModelSource()> memoryModelSource_;
    void buildControls();
    void connectSession();
    void firstPaint();
    void refreshCounters();
    // The number of cards due today, or a dash without a history.
    void refreshDueCount();
    // The schedule changed: Due Cards follows whether there is a history at once; the
    // count, the overview's columns and the Progress window follow once the burst of
    // changes is over.
    void scheduleChanged();
    void refreshMemoryViews();

    void onCardBox();
    void onExamine();
    void onListOpened();
    void showPreferences();
    void showAbout();
    void openExamination(Command command);
    void openNewCardDialog();
    void openLevelChooser();

    ListSession* session_ = nullptr;
    CommandBoard* board_ = nullptr;
    WindowRegistry* windows_ = nullptr;

    QLabel* cardCount_ = nullptr;
    QLabel* knownCount_ = nullptr;
    QLabel* dueCount_ = nullptr;
    QTimer* memoryRefresh_ = nullptr;
    // Whether Due Cards was last switched on for a list with a history.
    bool dueCardsOffered_ = false;
    QPixmap filledBox_;
    QPixmap emptyBox_;
    QPixmap question_;

    QString startupList_;
    bool firstPaintDone_ = false;
};
