#pragma once

#include <QDialog>
#include <string>

#include "core/answer_modes.h"
#include "core/card.h"
#include "core/list_languages.h"
#include "core/log_font.h"
#include "core/preferences.h"

class AnswerDiffView;
class Card;
class CardStore;
class FontEditBox;
class QLineEdit;
class QVBoxLayout;
class QPushButton;

// "Is your answer right?": asked when the typed answer differs from the stored one. The
// user overrules the difference with one of the three Yes buttons (two of which also
// change the stored answer) or lets it stand with "No", which is also what Enter, Escape
// and the close box mean.
class ConfirmAnswerDialog : public QDialog {
    Q_OBJECT
public:
    // What the dialog ended with; every result but No counts the answer as right.
    enum Result {
        No = QDialog::Rejected,
        Yes = 3,
        YesAdded = 2000,
        YesReplaced = 2001,
    };

    // `typed` is the typed answer as card text; the order rule of `preferences` decides
    // which meanings the difference sets against each other.
    ConfirmAnswerDialog(CardStore& store, Card& card, const std::string& typed,
                        const Preferences& preferences, const LogFont& questionFont,
                        const LogFont& answerFont, QWidget* parent = nullptr);
    // Asked backwards, the card's answer is what was shown and its question what was
    // expected: the boxes show them so, and the Yes buttons that change the stored text
    // change the question.
    void setDirection(Direction direction);
    // The Speak buttons of the shown and the expected text, while the preference for them
    // is on; the sides are spoken in `languages`.
    void addSpeakButtons(const ListLanguages& languages);

    // A stored answer with the typed one added must stay below this many characters, so
    // that it still fits an answer box.
    static constexpr int kAddedAnswerLimit = 60;

private:
    void fillBoxes();
    CardField expectedField() const;
    // The level box must hold a level the dialog accepts before a Yes ends it.
    bool levelAcceptable();
    void answerYes();
    void addAnswer();
    void replaceAnswer();

    CardStore& store_;
    Card& card_;
    std::string typed_;
    Preferences preferences_;
    Direction direction_ = Direction::QuestionToAnswer;
    QVBoxLayout* layout_ = nullptr;

    QLineEdit* cardNumber_ = nullptr;
    QLineEdit* level_ = nullptr;
    FontEditBox* question_ = nullptr;
    FontEditBox* typedAnswer_ = nullptr;
    FontEditBox* storedAnswer_ = nullptr;
    AnswerDiffView* difference_ = nullptr;
    QLineEdit* lesson_ = nullptr;
    QPushButton* noButton_ = nullptr;
    QPushButton* yesButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
};
