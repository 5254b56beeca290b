#include "exam/answer_form_stack.h"

#include "core/answer_forms.h"
#include "core/card.h"
#include "core/mixed_letters.h"
#include "exam/flash_card_panel.h"
#include "exam/mixed_letters_panel.h"
#include "exam/multiple_choice_panel.h"
#include "platform/text_codec.h"

AnswerFormStack::AnswerFormStack(QWidget* parent) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("answerFormStack"));
    flashCard_ = new FlashCardPanel(this);
    multipleChoice_ = new MultipleChoicePanel(this);
    mixedLetters_ = new MixedLettersPanel(this);
    addWidget(flashCard_);
    addWidget(multipleChoice_);
    addWidget(mixedLetters_);
    connect(flashCard_, &FlashCardPanel::answered, this, &AnswerFormStack::judged);
    connect(multipleChoice_, &MultipleChoicePanel::answered, this, &AnswerFormStack::judged);
    connect(mixedLetters_, &MixedLettersPanel::answered, this, &AnswerFormStack::textGiven);
    hide();
}

void AnswerFormStack::setFonts(const QFont& questionFont, const QFont& answerFont) {
    questionFont_ = questionFont;
    answerFont_ = answerFont;
    fontsSet_ = true;
}

AnswerFormStack::Asked AnswerFormStack::ask(const Card& card, Direction direction, AnswerForm form,
                                            std::span<const CardList* const> pools,
                                            RandomSource& random) {
    const QString expected = fromCardText(expectedText(card, direction));
    Asked asked;
    QWidget* panel = nullptr;
    switch (form) {
        case AnswerForm::Typed:
            break;
        case AnswerForm::FlashCard:
            flashCard_->setCard(expected);
            panel = flashCard_;
            break;
        case AnswerForm::MultipleChoice: {
            const ChoiceSet choices = makeChoices(card, direction, pools, random);
            if (choices.typedInstead) {
                asked.notice =
                    tr("There are too few different answers to choose from; please "
                       "type this one.");
                break;
            }
            QStringList texts;
            for (const std::string& text : choices.texts)
                texts << fromCardText(text);
            multipleChoice_->setChoices(texts, choices.right);
            panel = multipleChoice_;
            break;
        }
        case AnswerForm::MixedLetters: {
            const MixedLetters puzzle(expectedText(card, direction), random);
            if (!puzzle.playable()) {
                asked.notice = tr("This answer has no letters to mix; please type it.");
                break;
            }
            mixedLetters_->setPuzzle(puzzle);
            panel = mixedLetters_;
            break;
        }
    }
    if (panel == nullptr) {
        hide();
        return asked;
    }
    asked.form = form;
    if (fontsSet_) {
        const QFont& font = direction == Direction::AnswerToQuestion ? questionFont_ : answerFont_;
        flashCard_->setTextFont(font);
        multipleChoice_->setTextFont(font);
        mixedLetters_->setTextFont(font);
    }
    setCurrentWidget(panel);
    show();
    panel->setFocus(Qt::OtherFocusReason);
    return asked;
}
