#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <map>
#include <memory>

#include "core/command.h"
#include "core/host.h"
#include "core/log_font.h"

class CardStore;
class FontDebugLog;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class RecentDraws;
struct DocumentInfo;
struct Preferences;

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

// The main window: the menu bar, the command buttons, the two picture buttons and the
// card counters. It routes every command, keeps menu items and buttons in step with the
// document and its windows, holds the question and answer fonts, and is the Host through
// which the card store and the examinations reach the user.
class MainDialog : public QDialog, public Host {
    Q_OBJECT

public:
    MainDialog(CardStore& store, Preferences& preferences, const LogFont& documentFont,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    // The one main window of the process, or nullptr.
    static MainDialog* instance();

    CardStore& store() { return store_; }
    Preferences& preferences() { return preferences_; }
    RecentDraws& recentDraws() { return *recentDraws_; }
    const LogFont& questionFont() const { return questionFont_; }
    const LogFont& answerFont() const { return answerFont_; }

    QAction* action(Command command) const;
    QPushButton* button(MainButton id) const;
    QMenu* menuOf(Command command) const;
    void setCommandEnabled(Command command, bool enabled);
    void setButtonEnabled(MainButton id, bool enabled);

    // The list file to open at the first paint (the command line).
    void setStartupList(const QString& path) { startupList_ = path; }
    // Milliseconds since process start when the list was opened or a new list begun.
    long long listStartTime() const { return listStartTime_; }

    // Runs a command as its menu item or button would.
    void runCommand(Command command);
    // Reads a list file into the store and moves to the state "list open".
    void openList(const QString& path);
    // Brings menus, buttons and counters up to date after a card was typed in.
    void cardEntered();

    // Host
    void showError(int messageId) override;
    void showNotice(int messageId) override;
    void showErrorText(std::string_view text) override;
    [[noreturn]] void fatalError(int messageId) override;
    KnownCardChoice askKnownCard(const Card& card) override;
    void enableCommand(Command command) override;
    void refreshCounters() override;
    bool fontUsable(const LogFont& font) override;
    LogFont chooseFont(const LogFont& preset) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenu();
    void buildControls();
    QAction* addCommand(QMenu* menu, const QString& text, Command command, bool enabled);
    void firstPaint();
    void setFonts(LogFont question, LogFont answer);

    void onCardBox();
    void onExamine();
    void newList();
    void openListCommand();
    void saveList();
    void saveListAs();
    void exportList(Command command);
    void closeList();
    void quit();
    void sortList();
    void exchange();
    void chooseDocumentFont(Command command);
    void showPreferences();
    void showAbout();
    void openExamination(Command command);
    void openNewCardDialog();
    void openLevelChooser();
    // The card-editing windows (main_dialog_editing.cpp).
    void openModifyDialog();
    void openOverview();
    // The lesson chooser, the statistics and printing (main_dialog_reports.cpp).
    void openLessonChooser();
    void openStatistics();
    void printList();
    bool askToSave(bool saveAsAlways);
    FontDebugLog& fontLog();

    void applyNoListState();
    void applyListOpenedState();

    CardStore& store_;
    Preferences& preferences_;
    std::unique_ptr<RecentDraws> recentDraws_;
    std::unique_ptr<FontDebugLog> fontLog_;
    LogFont questionFont_;
    LogFont answerFont_;

    QMenuBar* menuBar_ = nullptr;
    std::map<Command, QAction*> actions_;
    std::map<Command, QMenu*> menus_;
    std::map<MainButton, QPushButton*> buttons_;
    QLabel* cardCount_ = nullptr;
    QLabel* knownCount_ = nullptr;
    QPixmap filledBox_;
    QPixmap emptyBox_;
    QPixmap question_;

    QPointer<QWidget> lessonSystematic_;
    QPointer<QWidget> lessonInOrder_;
    QPointer<QWidget> lessonRandom_;
    QString startupList_;
    bool firstPaintDone_ = false;
    long long listStartTime_ = 0;
};
