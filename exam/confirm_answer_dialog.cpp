#include "exam/confirm_answer_dialog.h"

#include "core/answer_forms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/answer_diff.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/unicode_text.h"
#include "platform/dialog_data.h"
#include "platform/messages.h"
#include "platform/text_codec.h"
#include "session/card_speech.h"
#include "session/list_speech.h"
#include "widgets/answer_diff_view.h"
#include "widgets/card_field_grid.h"
#include "widgets/font_edit_box.h"

namespace {

constexpr int kCharacterHeight = 12;
// The levels a Yes accepts. A card outside them (a known card asked very often, "Keep
// It" under a max level of 0 or 1) can only be answered "No" here.
constexpr int kLowestLevel = 0;
constexpr int kHighestLevel = 128;

void makeDisplayOnly(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
}

}  // namespace

ConfirmAnswerDialog::ConfirmAnswerDialog(CardStore& store, Card& card, const std::string& typed,
                                         const Preferences& preferences,
                                         const LogFont& questionFont, const LogFont& answerFont,
                                         QWidget* parent)
    : QDialog(parent), store_(store), card_(card), typed_(typed), preferences_(preferences) {
    setObjectName(QStringLiteral("confirmAnswerDialog"));
    setWindowTitle(tr("Is your answer right?"));

    auto* prompt = new QLabel(
        tr("Your answer and the answer in the database differ. Are both answers right?"), this);
    prompt->setWordWrap(true);

    cardNumber_ = new QLineEdit(this);
    cardNumber_->setObjectName(QStringLiteral("cardNumberEdit"));
    level_ = new QLineEdit(this);
    level_->setObjectName(QStringLiteral("levelEdit"));
    question_ = new FontEditBox(this);
    question_->setObjectName(QStringLiteral("questionEdit"));
    typedAnswer_ = new FontEditBox(this);
    typedAnswer_->setObjectName(QStringLiteral("typedAnswerEdit"));
    storedAnswer_ = new FontEditBox(this);
    storedAnswer_->setObjectName(QStringLiteral("storedAnswerEdit"));
    difference_ = new AnswerDiffView(this);
    difference_->setObjectName(QStringLiteral("answerDifference"));
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName(QStringLiteral("lessonEdit"));
    for (QLineEdit* box :
         {cardNumber_, level_, static_cast<QLineEdit*>(question_),
          static_cast<QLineEdit*>(typedAnswer_), static_cast<QLineEdit*>(storedAnswer_), lesson_}) {
        makeDisplayOnly(box);
    }

    auto* grid = new CardFieldGrid(this, 2);
    grid->addNarrowRow({{tr("Card Number (ID)"), cardNumber_}, {tr("Level"), level_}});
    grid->addWideRow(tr("Question"), question_);
    grid->addWideRow(tr("Your Answer"), typedAnswer_);
    grid->addWideRow(tr("Answer in the Database"), storedAnswer_);
    auto* differenceLabel = new QLabel(tr("Difference"), this);
    differenceLabel->setBuddy(difference_);
    grid->addWideRow(differenceLabel, difference_, Qt::AlignTop);
    grid->addNarrowRow({{tr("Lesson"), lesson_}});

    noButton_ = new QPushButton(tr("No"), this);
    noButton_->setObjectName(QStringLiteral("noButton"));
    noButton_->setDefault(true);
    yesButton_ = new QPushButton(tr("Yes"), this);
    yesButton_->setObjectName(QStringLiteral("yesButton"));
    addButton_ = new QPushButton(tr("Yes, add my answer"), this);
    addButton_->setObjectName(QStringLiteral("addAnswerButton"));
    replaceButton_ = new QPushButton(tr("Yes, replace answer"), this);
    replaceButton_->setObjectName(QStringLiteral("replaceAnswerButton"));
    connect(noButton_, &QPushButton::clicked, this, &ConfirmAnswerDialog::reject);
    connect(yesButton_, &QPushButton::clicked, this, &ConfirmAnswerDialog::answerYes);
    connect(addButton_, &QPushButton::clicked, this, &ConfirmAnswerDialog::addAnswer);
    connect(replaceButton_, &QPushButton::clicked, this, &ConfirmAnswerDialog::replaceAnswer);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(noButton_);
    buttons->addWidget(yesButton_);
    buttons->addWidget(addButton_);
    buttons->addWidget(replaceButton_);

    auto* layout = new QVBoxLayout(this);
    layout_ = layout;
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(noButton_, yesButton_);
    setTabOrder(yesButton_, addButton_);
    setTabOrder(addButton_, replaceButton_);
    noButton_->setFocus();

    question_->setFieldFont(&questionFont, kCharacterHeight);
    typedAnswer_->setFieldFont(&answerFont, kCharacterHeight);
    storedAnswer_->setFieldFont(&answerFont, kCharacterHeight);
    fillBoxes();
}

void ConfirmAnswerDialog::setDirection(Direction direction) {
    direction_ = direction;
    fillBoxes();
}

void ConfirmAnswerDialog::addSpeakButtons(const ListLanguages& languages) {
    auto* speech = new CardSpeech(preferences_, languages, this);
    QHBoxLayout* row = makeSpeakRow(
        *speech, [this] { return question_->text(); }, [this] { return storedAnswer_->text(); },
        this);
    if (row != nullptr)
        layout_->insertLayout(layout_->count() - 1, row);
}

void ConfirmAnswerDialog::fillBoxes() {
    cardNumber_->setText(QString::number(card_.id));
    level_->setText(QString::number(card_.level));
    question_->setText(fromCardText(askedText(card_, direction_)));
    typedAnswer_->setText(fromCardText(typed_));
    storedAnswer_->setText(fromCardText(expectedText(card_, direction_)));
    lesson_->setText(fromCardText(card_.lesson()));
    for (FontEditBox* box : {question_, typedAnswer_, storedAnswer_})
        box->applyPendingFont();
    // In the answers' own font, which is the one that holds their script.
    difference_->setFont(storedAnswer_->font());
    difference_->setDiff(diffAnswerText(typed_, expectedText(card_, direction_), preferences_));
}

CardField ConfirmAnswerDialog::expectedField() const {
    return direction_ == Direction::AnswerToQuestion ? CardField::Question : CardField::Answer;
}

bool ConfirmAnswerDialog::levelAcceptable() {
    return readIntegerField(level_, kLowestLevel, kHighestLevel).has_value();
}

void ConfirmAnswerDialog::answerYes() {
    if (levelAcceptable())
        done(Yes);
}

void ConfirmAnswerDialog::addAnswer() {
    std::string combined(expectedText(card_, direction_));
    combined += ", ";
    combined += typed_;
    if (::characterCount(combined) < static_cast<std::size_t>(kAddedAnswerLimit)) {
        store_.setText(card_, expectedField(), combined);
        store_.modified = true;
        fillBoxes();
    } else {
        showError(Msg::AnswerTooLong);
    }
    if (levelAcceptable())
        done(YesAdded);
}

void ConfirmAnswerDialog::replaceAnswer() {
    store_.setText(card_, expectedField(), typed_);
    store_.modified = true;
    fillBoxes();
    if (levelAcceptable())
        done(YesReplaced);
}
