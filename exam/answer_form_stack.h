#pragma once

#include <QFont>
#include <QStackedWidget>
#include <span>

#include "core/answer_modes.h"

class Card;
class CardList;
class FlashCardPanel;
class MixedLettersPanel;
class MultipleChoicePanel;
class RandomSource;

// The answer forms besides typing, in one place of the examination window. It asks a card
// in the form the user chose, falls back to typing where the card cannot be asked so, and
// hands the learner's answer back by one of two signals.
//
// The examination window keeps one beside its answer box. For every card it draws the
// direction (drawDirection), shows askedText in the question box and calls ask(). When the
// card is to be typed it shows the answer box and OK, and any notice in its feedback line;
// otherwise it hides them, since Enter and the digits belong to the panel then. judged()
// is recorded as it is; textGiven() is judged like a typed answer, against expectedText.
class AnswerFormStack : public QStackedWidget {
    Q_OBJECT
public:
    explicit AnswerFormStack(QWidget* parent = nullptr);

    struct Asked {
        AnswerForm form = AnswerForm::Typed;  // the form the card is asked in
        QString notice;  // why it is typed instead of the chosen form; empty when it is not
    };

    // Shows the card asked in `direction` in `form`, taking wrong choices from the cards of
    // `pools` and shuffling with `random`. The stack hides itself when the card is to be
    // typed (the window then shows its answer box); otherwise it shows the panel and gives
    // it the focus.
    Asked ask(const Card& card, Direction direction, AnswerForm form,
              std::span<const CardList* const> pools, RandomSource& random);
    // The fonts of the two sides; the panel shows the side expected in the card's direction.
    void setFonts(const QFont& questionFont, const QFont& answerFont);

    FlashCardPanel* flashCardPanel() const { return flashCard_; }
    MultipleChoicePanel* multipleChoicePanel() const { return multipleChoice_; }
    MixedLettersPanel* mixedLettersPanel() const { return mixedLetters_; }

signals:
    // A flash card or a choice: the verdict is final, record it as it is.
    void judged(bool right);
    // Mixed letters: the text put together, to be judged like a typed answer.
    void textGiven(const QString& text);

private:
    FlashCardPanel* flashCard_ = nullptr;
    MultipleChoicePanel* multipleChoice_ = nullptr;
    MixedLettersPanel* mixedLetters_ = nullptr;
    QFont questionFont_;
    QFont answerFont_;
    bool fontsSet_ = false;
};
