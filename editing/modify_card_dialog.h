#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>

#include "core/card.h"
#include "core/log_font.h"

#include "session/command_board.h"
#include "session/window_registry.h"

class FontEditBox;
class ListSession;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// "Change a card": finds one card of the open list by number, question or answer, writes
// the four texts typed into its boxes back into it, or deletes it. A modeless window that
// exists at most once; while it exists "Modify Cards..." is greyed.
class ModifyCardDialog : public QDialog {
    Q_OBJECT
public:
    // The "Modify Cards..." command: shows the dialog, making it first when there is none.
    static ModifyCardDialog* open(ListSession& session, WindowRegistry& windows, QWidget* parent);
    // Brings the dialog to the front (opening it through the command when there is none)
    // with the card loaded, for "Edit Card" and the overview.
    static void loadCard(CommandBoard& board, WindowRegistry& windows, Card& card);

    Card* currentCard() const { return current_; }

    // "OK": writes the four boxes into the current card.
    void writeCard();
    void searchQuestion() { searchText(CardField::Question); }
    void searchAnswer() { searchText(CardField::Answer); }
    void searchId();
    // "Delete Card...": takes the current card out of the document after asking.
    void deleteCard();

public slots:
    void done(int result) override;

private:
    ModifyCardDialog(ListSession& session, WindowRegistry& windows, QWidget* parent);

    void showCard(Card& card);
    void addSpeakButtons(QVBoxLayout* layout);
    // Leaves the dialog without a card: empty texts, number and level 0.
    void dropCard();
    void searchText(CardField field);
    ListSession& session_;
    WindowRegistry& windows_;
    Card* current_ = nullptr;
    int32_t cardNumber_ = 0;
    int32_t level_ = 0;
    LogFont questionFont_;
    LogFont answerFont_;

    FontEditBox* question_ = nullptr;
    FontEditBox* answer_ = nullptr;
    QLineEdit* lesson_ = nullptr;
    QLineEdit* addInfo_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLineEdit* levelBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* searchIdButton_ = nullptr;
    QPushButton* searchQuestionButton_ = nullptr;
    QPushButton* searchAnswerButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
};
