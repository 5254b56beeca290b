#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/card_list.h"

#include "session/window_registry.h"

class CardTableModel;
class ListSession;
class QButtonGroup;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QStringListModel;
class QTableView;
class QVBoxLayout;

// "Contents of your vocabulary list:": a table of cards with a marker for each card's
// level. The radio buttons choose the cards shown (all, known, unknown, wrong, of chosen
// lessons, on one level); a click on a column title sorts the list shown by that column,
// a double-click opens a card in the modify dialog, "Search for..." selects the next row
// containing a text. Modeless; while it is open "Overview..." is greyed and the main
// window's "Overview" button disabled, and closing the document closes it.
class OverviewDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { AllCards, KnownCards, UnknownCards, WrongCards, CardsOfLessons, CardsOnLevel };

    // The "Overview..." command: makes the overview, or brings the open one to the front.
    static OverviewDialog* open(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                                QWidget* parent);

    Choice choice() const { return choice_; }
    int32_t level() const { return level_; }

    // Sorts the list shown by the column's key and fills the table again; the due and
    // recall columns order only the table.
    void sortByColumn(int column);
    // Shows the memory model's "Due" and "Recall" columns (sorted by Ctrl+7 and Ctrl+8);
    // empty functions take them away. Given again while they are shown, the columns show
    // the new values and the table keeps its rows, selection and scroll position.
    void setMemoryColumns(std::function<std::optional<int64_t>(const Card&)> dueMs,
                          std::function<std::optional<double>(const Card&)> recall);
    // "Search for...".
    void search();
    // "Refresh List": the table again from the list as it is now.
    void refresh();

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OverviewDialog(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                   QWidget* parent);

    void fillTable();
    void addSpeakButtons(QVBoxLayout* layout);
    void checkChoice(Choice choice);
    void choose(int choice);
    void showAllCards();
    void showStoreList(Choice choice, CardList& list);
    void showLessons();
    void showLevel();
    // Takes the level box's number if it holds one; otherwise says so and keeps the level.
    void readLevel();
    void openCard(const QModelIndex& index);
    void fillLessonList();

    ListSession& session_;
    CommandBoard& board_;
    WindowRegistry& windows_;
    bool justToggled_ = false;

    Choice choice_ = UnknownCards;
    CardList* shown_ = nullptr;
    int32_t level_ = 0;
    CardList allCards_;
    CardList lessonCards_;
    CardList levelCards_;
    std::vector<std::string> lessons_;  // the lesson list's items as card text

    CardTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QStringListModel* lessonModel_ = nullptr;
    QListView* lessonList_ = nullptr;
    QLineEdit* levelBox_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
};
