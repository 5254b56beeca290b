#include "exam/examination_dialog.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "widgets/answer_feedback_line.h"
#include "widgets/font_edit_box.h"
#include "app/main_dialog.h"
#include "session/open_windows.h"
#include "editing/modify_card_dialog.h"
#include "core/answer_check.h"
#include "core/answer_recording.h"
#include "exam/confirm_answer_dialog.h"
#include "platform/card_text_validator.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/preferences.h"

namespace {

// The answer box takes no more than the answer checking can split into meanings.
constexpr int kTypedAnswerLimit = 60;
// Questions and answers are the point of the window: they are shown large.
constexpr int kCharacterHeight = 18;
// The tone of an answer that differs from the stored one.
constexpr int kDifferHertz = 440;
constexpr int kDifferMilliseconds = 50;

// A box that only shows a value. It stays out of the Tab order so that Tab moves between
// the answer box and the buttons, but a click still selects its text for copying.
void makeDisplayOnly(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
}

}  // namespace

ExaminationDialog* ExaminationDialog::open(MainDialog& mainDialog, Command command,
                                           ExaminationKind kind,
                                           std::optional<MainButton> ownerButton) {
    auto* window = new ExaminationDialog(mainDialog, command, kind, ownerButton);
    window->start();
    return window;
}

ExaminationDialog::ExaminationDialog(MainDialog& mainDialog, Command command, ExaminationKind kind,
                                     std::optional<MainButton> ownerButton)
    : QDialog(&mainDialog), main_(mainDialog), command_(command) {
    // The command is greyed before anything else happens, so that it cannot start a
    // second window while this one is being made.
    ownerAction_ = main_.action(command_);
    main_.setCommandEnabled(command_, false);

    setObjectName(QStringLiteral("examinationDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    state_.kind = kind;

    auto* prompt = new QLabel(QStringLiteral("Please enter the meaning of this word:"), this);

    question_ = new FontEditBox(this);
    question_->setObjectName(QStringLiteral("edit1005"));
    makeDisplayOnly(question_);
    answer_ = new FontEditBox(this);
    answer_->setObjectName(QStringLiteral("edit1006"));
    answer_->setMaxLength(kTypedAnswerLimit);
    addInfo_ = new QLineEdit(this);
    addInfo_->setObjectName(QStringLiteral("edit1007"));
    makeDisplayOnly(addInfo_);
    cardNumber_ = new QLineEdit(this);
    cardNumber_->setObjectName(QStringLiteral("edit1004"));
    makeDisplayOnly(cardNumber_);
    level_ = new QLineEdit(this);
    level_->setObjectName(QStringLiteral("edit1012"));
    makeDisplayOnly(level_);
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName(QStringLiteral("edit1008"));
    makeDisplayOnly(lesson_);

    auto labelled = [this](const QString& text, QLineEdit* box) {
        auto* label = new QLabel(text, this);
        label->setBuddy(box);
        box->setAccessibleName(text);
        return label;
    };

    auto* cardGrid = new QGridLayout;
    cardGrid->addWidget(labelled(QStringLiteral("Question"), question_), 0, 0);
    cardGrid->addWidget(question_, 0, 1, 1, 5);
    cardGrid->addWidget(labelled(QStringLiteral("Answer"), answer_), 1, 0);
    cardGrid->addWidget(answer_, 1, 1, 1, 5);
    cardGrid->addWidget(labelled(QStringLiteral("Add. Inform."), addInfo_), 2, 0);
    cardGrid->addWidget(addInfo_, 2, 1, 1, 5);
    cardGrid->addWidget(labelled(QStringLiteral("Card Number (ID)"), cardNumber_), 3, 0);
    cardGrid->addWidget(cardNumber_, 3, 1);
    cardGrid->addWidget(labelled(QStringLiteral("Level"), level_), 3, 2, Qt::AlignRight);
    cardGrid->addWidget(level_, 3, 3);
    cardGrid->addWidget(labelled(QStringLiteral("Lesson"), lesson_), 3, 4, Qt::AlignRight);
    cardGrid->addWidget(lesson_, 3, 5);
    cardGrid->setColumnStretch(1, 1);
    cardGrid->setColumnStretch(3, 1);
    cardGrid->setColumnStretch(5, 1);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("button3"));
    okButton_->setDefault(true);
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("button4"));
    editButton_ = new QPushButton(QStringLiteral("Edit Card"), this);
    editButton_->setObjectName(QStringLiteral("button1009"));
    connect(okButton_, &QPushButton::clicked, this, &ExaminationDialog::judgeAnswer);
    connect(closeButton_, &QPushButton::clicked, this, &ExaminationDialog::close);
    connect(editButton_, &QPushButton::clicked, this, &ExaminationDialog::editCurrentCard);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(editButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(cardGrid);
    feedback_ = new AnswerFeedbackLine(this);
    layout->addWidget(feedback_);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(answer_, okButton_);
    setTabOrder(okButton_, closeButton_);
    setTabOrder(closeButton_, editButton_);
    resize(560, sizeHint().height());

    show();

    if (ownerButton) {
        ownerButton_ = main_.button(*ownerButton);
        main_.setButtonEnabled(*ownerButton, false);
        main_.update();
    }

    // Own fonts made now from the document fonts: changing a document font later shows in
    // windows opened afterwards, not in this one.
    questionFont_ = main_.questionFont();
    answerFont_ = main_.answerFont();
    question_->setFieldFont(&questionFont_, kCharacterHeight);
    answer_->setFieldFont(&answerFont_, kCharacterHeight);

    OpenWindowList::instance().enter(this);
    setWindowTitle(stringText(captionIdOf(kind)));
}

ExaminationDialog::~ExaminationDialog() {
    giveBack();
}

ExaminationEnvironment ExaminationDialog::environment() const {
    return {main_.store(), main_.preferences(), processRandom(), main_.recentDraws(), main_};
}

void ExaminationDialog::start() {
    if (!startExamination(state_, state_.kind, environment())) {
        close();
        return;
    }
    showCard();
}

void ExaminationDialog::showCard() {
    const Card* card = state_.currentCard;
    if (card == nullptr) {
        main_.showNotice(Msg::EndOfList);
        close();
        return;
    }
    level_->setText(QString::number(card->level));
    cardNumber_->setText(QString::number(card->id));
    question_->setText(fromCardText(card->question()));
    lesson_->setText(fromCardText(card->lesson()));
    addInfo_->setText(main_.preferences().showAddInfo == 1 ? fromCardText(card->addInfo())
                                                           : QString());
    answer_->clear();
    // A box whose text did not change (an empty first question, the always empty answer
    // box) would otherwise keep showing the dialog's font until the user types.
    question_->applyPendingFont();
    answer_->applyPendingFont();
    answer_->setFocus(Qt::OtherFocusReason);
}

void ExaminationDialog::judgeAnswer() {
    if (state_.currentCard == nullptr || givenBack_)
        return;
    // The text is checked before the answer is counted, so that a refused text leaves
    // the examination exactly where it was.
    std::string typed;
    if (!readCardText(answer_, typed, this))
        return;

    const ExaminationEnvironment env = environment();
    Card& card = *state_.currentCard;
    const int32_t questionNumber = questionNumberFor(state_);
    const AnswerCheck check = checkAnswer(card, typed, env.preferences, env.host);
    bool right = check.verdict == AnswerVerdict::Right;
    if (right) {
        feedback_->showTolerated(check.tolerated, fromCardText(card.answer()));
    } else {
        feedback_->clear();
        prompts().beep(kDifferHertz, kDifferMilliseconds);
        ConfirmAnswerDialog dialog(env.store, card, typed, env.preferences, questionFont_,
                                   answerFont_, this);
        right = prompts().execDialog(&dialog) != ConfirmAnswerDialog::No;
    }
    recordAnswer(state_, right, questionNumber, env);
    nextCard(state_, env);
    showCard();
}

void ExaminationDialog::editCurrentCard() {
    // Loads the current card into the card-modification window, bringing that window to
    // the front or opening it first. The window keeps its card meanwhile, and the next
    // answer is judged against whatever the card holds then.
    if (state_.currentCard != nullptr && !givenBack_)
        ModifyCardDialog::loadCard(main_, *state_.currentCard);
}

void ExaminationDialog::done(int result) {
    giveBack();
    QDialog::done(result);
}

void ExaminationDialog::giveBack() {
    if (givenBack_)
        return;
    givenBack_ = true;
    // The action and the button are the main window's; when the main window itself is
    // being destroyed they may be gone already.
    if (ownerAction_)
        ownerAction_->setEnabled(true);
    OpenWindowList::instance().leave(this);
    if (ownerButton_) {
        ownerButton_->setEnabled(true);
        ownerButton_->update();
    }
}
