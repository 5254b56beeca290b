#include "exam/examination_dialog.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "core/answer_check.h"
#include "core/answer_forms.h"
#include "core/answer_recording.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "editing/modify_card_dialog.h"
#include "exam/answer_form_stack.h"
#include "exam/confirm_answer_dialog.h"
#include "platform/card_text_validator.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/owned_dialog.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "session/card_speech.h"
#include "session/list_session.h"
#include "session/list_speech.h"
#include "session/modal_step.h"
#include "session/review_schedule.h"
#include "widgets/answer_feedback_line.h"
#include "widgets/card_field_grid.h"
#include "widgets/font_edit_box.h"

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

// When the next cards fall due, as the notices name it.
QString dueTimeText(int64_t ms) {
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(ms), QLocale::ShortFormat);
}

}  // namespace

ExaminationDialog* ExaminationDialog::open(ListSession& session, CommandBoard& board,
                                           WindowRegistry& windows, QWidget* parent,
                                           Command command, ExaminationKind kind,
                                           std::optional<MainButton> ownerButton) {
    auto* window =
        new ExaminationDialog(session, board, windows, parent, command, kind, ownerButton);
    window->start();
    return window;
}

WindowKind ExaminationDialog::windowKindOf(Command command) {
    switch (command) {
        case Command::LessonInOrder:
            return WindowKind::LessonInOrder;
        case Command::LessonRandom:
            return WindowKind::LessonRandom;
        case Command::LessonSystematic:
            return WindowKind::LessonSystematic;
        default:
            return WindowKind::Examination;
    }
}

ExaminationDialog::ExaminationDialog(ListSession& session, CommandBoard& board,
                                     WindowRegistry& windows, QWidget* parent, Command command,
                                     ExaminationKind kind, std::optional<MainButton> ownerButton)
    : QDialog(parent), session_(session), board_(board), windows_(windows) {
    // The command is greyed before anything else happens, so that it cannot start a
    // second window while this one is being made.
    windows_.enter(this, windowKindOf(command), command);

    setObjectName(QStringLiteral("examinationDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    state_.kind = kind;

    auto* prompt = new QLabel(tr("Please enter the meaning of this word:"), this);
    prompt_ = prompt;

    question_ = new FontEditBox(this);
    question_->setObjectName(QStringLiteral("questionEdit"));
    makeDisplayOnly(question_);
    answer_ = new FontEditBox(this);
    answer_->setObjectName(QStringLiteral("answerEdit"));
    limitCharacters(answer_, kTypedAnswerLimit);
    addInfo_ = new QLineEdit(this);
    addInfo_->setObjectName(QStringLiteral("addInfoEdit"));
    makeDisplayOnly(addInfo_);
    cardNumber_ = new QLineEdit(this);
    cardNumber_->setObjectName(QStringLiteral("cardNumberEdit"));
    makeDisplayOnly(cardNumber_);
    level_ = new QLineEdit(this);
    level_->setObjectName(QStringLiteral("levelEdit"));
    makeDisplayOnly(level_);
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName(QStringLiteral("lessonEdit"));
    makeDisplayOnly(lesson_);

    auto* cardGrid = new CardFieldGrid(this, 3);
    cardGrid->addWideRow(tr("Question"), question_);
    cardGrid->addWideRow(tr("Answer"), answer_);
    cardGrid->addWideRow(tr("Add. Inform."), addInfo_);
    cardGrid->addNarrowRow(
        {{tr("Card Number (ID)"), cardNumber_}, {tr("Level"), level_}, {tr("Lesson"), lesson_}});

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    editButton_ = new QPushButton(tr("Edit Card"), this);
    editButton_->setObjectName(QStringLiteral("editCardButton"));
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
    setUpAnswerForms(layout);
    feedback_ = new AnswerFeedbackLine(this);
    layout->addWidget(feedback_);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // Ctrl+Z takes the last answer back. The answer box keeps the key for its own typing
    // while it has some to take back (see eventFilter).
    auto* undoAction = new QAction(tr("Undo Last Answer"), this);
    undoAction->setObjectName(QStringLiteral("undoAnswerAction"));
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setShortcutContext(Qt::WindowShortcut);
    addAction(undoAction);
    connect(undoAction, &QAction::triggered, this, &ExaminationDialog::undoLastAnswer);
    answer_->installEventFilter(this);

    setTabOrder(answer_, okButton_);
    setTabOrder(okButton_, closeButton_);
    setTabOrder(closeButton_, editButton_);
    resize(560, sizeHint().height());

    show();

    if (ownerButton)
        windows_.holdButton(this, *ownerButton);

    // Own fonts made now from the document fonts: changing a document font later shows in
    // windows opened afterwards, not in this one.
    questionFont_ = session_.questionFont();
    answerFont_ = session_.answerFont();
    question_->setFieldFont(&questionFont_, kCharacterHeight);
    answer_->setFieldFont(&answerFont_, kCharacterHeight);
    setUpSpeech(layout);

    setWindowTitle(kind == ExaminationKind::DueCards ? tr("Due Cards")
                                                     : stringText(captionIdOf(kind)));
}

ExaminationEnvironment ExaminationDialog::environment() const {
    return {session_.store(), session_.preferences(), processRandom(), session_.recentDraws(),
            session_};
}

void ExaminationDialog::start() {
    if (state_.kind == ExaminationKind::DueCards) {
        if (!startDueCards())
            close();
        else
            showCard();
        return;
    }
    if (!startExamination(state_, state_.kind, environment())) {
        close();
        return;
    }
    showCard();
}

void ExaminationDialog::showCard() {
    const Card* card = state_.currentCard;
    if (card == nullptr && state_.kind == ExaminationKind::DueCards) {
        showDueSummary();
        return;
    }
    if (card == nullptr) {
        const QPointer<ExaminationDialog> self(this);
        session_.showNotice(Msg::EndOfList);
        if (self)
            close();
        return;
    }
    level_->setText(QString::number(card->level));
    cardNumber_->setText(QString::number(card->id));
    question_->setText(fromCardText(card->question()));
    lesson_->setText(fromCardText(card->lesson()));
    addInfo_->setText(session_.preferences().showAddInfo == 1 ? fromCardText(card->addInfo())
                                                              : QString());
    // Emptied with its typing history: Ctrl+Z in the empty box must take back the answer,
    // not bring back the text it was given as.
    answer_->setText(QString());
    // A box whose text did not change (an empty first question, the always empty answer
    // box) would otherwise keep showing the dialog's font until the user types.
    question_->applyPendingFont();
    answer_->applyPendingFont();
    answer_->setFocus(Qt::OtherFocusReason);
    // The time the answer takes starts now.
    session_.schedule().cardShown(*card);
    askInChosenForm(*card);
}

void ExaminationDialog::judgeAnswer() {
    if (state_.currentCard == nullptr || !windows_.contains(this))
        return;
    // One answer is judged at a time: OK pressed again behind the confirmation (as a
    // screen reader can) must not judge it twice.
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    // The text is checked before the answer is counted, so that a refused text leaves
    // the examination exactly where it was.
    std::string typed;
    if (!readCardText(answer_, typed, this) || step.windowGone())
        return;
    judgeTyped(typed, step);
}

void ExaminationDialog::judgeTyped(const std::string& typed, const ModalStep& step) {
    // The session outlives the window, which may go while a dialog of the answer is open.
    ListSession& session = session_;
    const ExaminationEnvironment env = environment();
    const auto decide = [&](const AnswerCheck& check) {
        Card& card = *state_.currentCard;
        if (check.verdict == AnswerVerdict::Right) {
            feedback_->showTolerated(check.tolerated, fromCardText(expectedText(card, direction_)));
            return AnswerDecision::Right;
        }
        feedback_->clear();
        prompts().beep(kDifferHertz, kDifferMilliseconds);
        OwnedDialog<ConfirmAnswerDialog> dialog(env.store, card, typed, env.preferences,
                                                questionFont_, answerFont_, this);
        if (direction_ != Direction::QuestionToAnswer)
            dialog->setDirection(direction_);
        dialog->addSpeakButtons(loadListLanguages(session));
        const int verdict = prompts().execDialog(dialog.get());
        // Closed while the question was open: the answer was never confirmed, and
        // nothing is recorded.
        if (step.windowGone())
            return AnswerDecision::GiveUp;
        return verdict != ConfirmAnswerDialog::No ? AnswerDecision::Right : AnswerDecision::Wrong;
    };
    recordAnswer({typed, decide, direction_}, step);
}

void ExaminationDialog::recordAnswer(const AnswerRequest& request, const ModalStep& step) {
    // The session outlives the window, which may go while a dialog of the answer is open.
    ListSession& session = session_;
    const ExaminationEnvironment env = environment();
    AnswerUndo undo = startUndo(env.store, *state_.currentCard);
    const AnswerOutcome outcome = answerCard(state_, request, env);
    finishUndo(undo, env.store, outcome);
    if (outcome.recorded && request.direction == Direction::AnswerToQuestion)
        session.countBackwardAnswer();
    session.answerRecorded(outcome);
    // An answer given up leaves the one before it to take back.
    if (!step.windowGone() && outcome.recorded) {
        undo_ = undo;
        undoReviewId_ = session.schedule().lastReviewId();
        noteDueAnswer(outcome);
    }
    afterAnswer(step);
}

void ExaminationDialog::afterAnswer(const ModalStep& step) {
    // The known-card question may have been open long enough for the window to go.
    if (step.windowGone())
        return;
    if (speech_ != nullptr && state_.currentCard != nullptr)
        speech_->answerJudged(fromCardText(expectedText(*state_.currentCard, direction_)));
    nextCard(state_, environment());
    if (step.windowGone())
        return;
    showCard();
}

void ExaminationDialog::setUpAnswerForms(QBoxLayout* layout) {
    forms_ = new AnswerFormStack(this);
    layout->addWidget(forms_);
    connect(forms_, &AnswerFormStack::judged, this, &ExaminationDialog::recordGivenVerdict);
    connect(forms_, &AnswerFormStack::textGiven, this, &ExaminationDialog::judgeGivenText);
}

void ExaminationDialog::setUpSpeech(QBoxLayout* layout) {
    speech_ = makeCardSpeech(session_, this);
    // The side shown and the side expected, whichever way the card is asked.
    QHBoxLayout* row = makeSpeakRow(
        *speech_, [this] { return question_->text(); },
        [this] {
            return state_.currentCard == nullptr
                       ? QString()
                       : fromCardText(expectedText(*state_.currentCard, direction_));
        },
        this);
    if (row != nullptr)
        layout->insertLayout(layout->count() - 2, row);
}

void ExaminationDialog::askInChosenForm(const Card& card) {
    const Preferences& preferences = session_.preferences();
    // With the defaults nothing is drawn and nothing changes: the question is asked as it
    // always was, to be typed.
    direction_ = drawDirection(preferences.direction, processRandom());
    const bool backwards = direction_ == Direction::AnswerToQuestion;
    prompt_->setText(backwards ? tr("Please enter the question of this answer:")
                               : tr("Please enter the meaning of this word:"));
    if (backwards)
        question_->setText(fromCardText(askedText(card, direction_)));
    // Each side in its own font: asked backwards, the answer's font shows the shown text.
    if (backwards != fontsSwapped_) {
        fontsSwapped_ = backwards;
        question_->setFieldFont(backwards ? &answerFont_ : &questionFont_, kCharacterHeight);
        answer_->setFieldFont(backwards ? &questionFont_ : &answerFont_, kCharacterHeight);
    }
    question_->applyPendingFont();
    answer_->applyPendingFont();

    askedForm_ = AnswerForm::Typed;
    if (preferences.answerForm != AnswerForm::Typed) {
        CardStore& store = session_.store();
        const CardList* pools[] = {state_.sourceList, &store.unknownList, &store.knownList};
        forms_->setFonts(toQFont(questionFont_), toQFont(answerFont_));
        const AnswerFormStack::Asked asked =
            forms_->ask(card, direction_, preferences.answerForm, pools, processRandom());
        askedForm_ = asked.form;
        if (!asked.notice.isEmpty())
            feedback_->showMessage(asked.notice);
    } else {
        forms_->hide();
    }
    const bool typed = askedForm_ == AnswerForm::Typed;
    answer_->setVisible(typed);
    okButton_->setVisible(typed);
    okButton_->setDefault(typed);
    if (typed)
        answer_->setFocus(Qt::OtherFocusReason);
    if (speech_ != nullptr) {
        // The languages may have been chosen meanwhile, here or from the Cards menu.
        const ListLanguages languages = loadListLanguages(session_);
        if (!languages.empty())
            speech_->setLanguages(languages);
        speech_->cardShown(question_->text());
    }
}

void ExaminationDialog::recordGivenVerdict(bool right) {
    if (state_.currentCard == nullptr || !windows_.contains(this))
        return;
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    AnswerRequest request;
    request.direction = direction_;
    request.given = right;
    recordAnswer(request, step);
}

void ExaminationDialog::judgeGivenText(const QString& text) {
    if (state_.currentCard == nullptr || !windows_.contains(this))
        return;
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    // The letters come from the card's own text, which is always card text.
    if (const std::optional<std::string> typed = toCardText(text))
        judgeTyped(*typed, step);
}

void ExaminationDialog::editCurrentCard() {
    // Loads the current card into the card-modification window, bringing that window to
    // the front or opening it first. The window keeps its card meanwhile, and the next
    // answer is judged against whatever the card holds then.
    if (state_.currentCard != nullptr && windows_.contains(this))
        ModifyCardDialog::loadCard(board_, windows_, *state_.currentCard);
}

void ExaminationDialog::done(int result) {
    ModalStep::closeDialogsOf(this);
    QDialog::done(result);
}

bool ExaminationDialog::startDueCards() {
    ReviewSchedule& schedule = session_.schedule();
    if (!schedule.available()) {
        ::showNoticeText(schedule.unavailableReason().isEmpty()
                             ? tr("This list has no review history, so no cards fall due.")
                             : schedule.unavailableReason());
        return false;
    }
    const int64_t now = schedule.now();
    const int newLimit = schedule.newCardsLeftToday(now, session_.preferences().newCardsPerDay);
    std::vector<Card*> cards;
    // The schedule hands out the store's cards, which the examination may change.
    for (const Card* card : schedule.dueCards(now, newLimit))
        cards.push_back(const_cast<Card*>(card));
    if (cards.empty()) {
        const std::optional<int64_t> next = schedule.nextDueMs(now);
        ::showNoticeText(
            next
                ? tr("No cards are due now. The next cards fall due on %1.").arg(dueTimeText(*next))
                : tr("No cards are due now, and there are no new cards left for today."));
        return false;
    }
    startGivenExamination(state_, std::move(cards));
    return true;
}

void ExaminationDialog::noteDueAnswer(const AnswerOutcome& outcome) {
    if (state_.kind != ExaminationKind::DueCards || !outcome.recorded)
        return;
    ++dueAnswered_;
    if (outcome.right)
        ++dueRight_;
}

void ExaminationDialog::showDueSummary() {
    const ReviewSchedule& schedule = session_.schedule();
    QString text = tr("You reviewed %n card(s)", nullptr, dueAnswered_);
    if (dueAnswered_ > 0)
        text += tr(", %1 % of them right").arg(dueRight_ * 100 / dueAnswered_);
    text += QLatin1Char('.');
    if (const std::optional<int64_t> next = schedule.nextDueMs(schedule.now())) {
        text += QLatin1Char(' ') + tr("The next cards fall due on %1.").arg(dueTimeText(*next));
    }
    const QPointer<ExaminationDialog> self(this);
    ::showNoticeText(text);
    if (self)
        close();
}

bool ExaminationDialog::eventFilter(QObject* watched, QEvent* event) {
    // An empty answer box has no typing to take back: Ctrl+Z then goes to the window.
    if (watched == answer_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) &&
        !answer_->isUndoAvailable()) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ExaminationDialog::undoLastAnswer() {
    if (!windows_.contains(this) || windows_.inModalStep())
        return;
    Card* card = undo_.card;
    ReviewSchedule& schedule = session_.schedule();
    // The card and its history entry go back together or not at all: once another window
    // recorded an answer, the history no longer takes this one back.
    const bool historyAgrees = undoReviewId_ == 0 || schedule.canUndo(undoReviewId_);
    // Nothing to take back (none yet, or taken back already) is refused the same way.
    const UndoOutcome undone = historyAgrees ? undoAnswer(session_.store(), undo_) : UndoOutcome{};
    if (!undone) {
        prompts().beep(kDifferHertz, kDifferMilliseconds);
        undo_ = {};
        undoReviewId_ = 0;
        return;
    }
    schedule.undo(undoReviewId_, *card);
    if (state_.kind == ExaminationKind::DueCards && dueAnswered_ > 0) {
        --dueAnswered_;
        if (undo_.outcome.right)
            --dueRight_;
    }
    undo_ = {};
    undoReviewId_ = 0;
    session_.answerUndone(undone);
    feedback_->clear();
    showCard();
}
