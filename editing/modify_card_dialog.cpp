#include "editing/modify_card_dialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "core/card_search.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "editing/search_prompt.h"
#include "platform/card_text_validator.h"
#include "platform/messages.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "session/card_speech.h"
#include "session/list_session.h"
#include "session/list_speech.h"
#include "session/modal_step.h"
#include "session/review_schedule.h"
#include "widgets/card_field_grid.h"
#include "widgets/font_edit_box.h"

namespace {

constexpr int kCharacterHeight = 12;
// The tone that confirms a changed card.
constexpr int kChangedHertz = 440;
constexpr int kChangedMilliseconds = 50;

void makeDisplayOnly(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
}

}  // namespace

ModifyCardDialog* ModifyCardDialog::open(ListSession& session, WindowRegistry& windows,
                                         QWidget* parent) {
    return windows.raiseOrOpen<ModifyCardDialog>(
        WindowKind::ModifyCard, [&] { return new ModifyCardDialog(session, windows, parent); });
}

void ModifyCardDialog::loadCard(CommandBoard& board, WindowRegistry& windows, Card& card) {
    // The command brings the dialog to the front, or makes it when there is none.
    board.run(Command::ModifyCards);
    if (auto* dialog = windows.find<ModifyCardDialog>(WindowKind::ModifyCard))
        dialog->showCard(card);
}

ModifyCardDialog::ModifyCardDialog(ListSession& session, WindowRegistry& windows, QWidget* parent)
    : QDialog(parent), session_(session), windows_(windows) {
    windows_.enter(this, WindowKind::ModifyCard, Command::ModifyCards);
    setObjectName(QStringLiteral("modifyCardDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Change a card"));

    auto* prompt =
        new QLabel(tr("Please press 'search ID', 'search question' or 'search answer' to look "
                      "for a card in the database. Then you can modify it and enter your "
                      "answer by clicking OK."),
                   this);
    prompt->setWordWrap(true);

    // The boxes stop at what a card can hold, so that "OK" never has to cut a text.
    question_ = new FontEditBox(this);
    question_->setObjectName(QStringLiteral("questionEdit"));
    limitCharacters(question_, int(kQuestionCapacity));
    answer_ = new FontEditBox(this);
    answer_->setObjectName(QStringLiteral("answerEdit"));
    limitCharacters(answer_, int(kAnswerCapacity));
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName(QStringLiteral("lessonEdit"));
    limitCharacters(lesson_, int(kLessonCapacity));
    addInfo_ = new QLineEdit(this);
    addInfo_->setObjectName(QStringLiteral("addInfoEdit"));
    limitCharacters(addInfo_, int(kAddInfoCapacity));
    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("cardNumberEdit"));
    makeDisplayOnly(number_);
    levelBox_ = new QLineEdit(this);
    levelBox_->setObjectName(QStringLiteral("levelEdit"));
    makeDisplayOnly(levelBox_);

    auto* grid = new CardFieldGrid(this, 3);
    grid->addWideRow(tr("Question"), question_);
    grid->addWideRow(tr("Answer"), answer_);
    grid->addNarrowRow(
        {{tr("Card Number (ID)"), number_}, {tr("Level"), levelBox_}, {tr("Lesson"), lesson_}});
    grid->addWideRow(tr("Additional Information"), addInfo_);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    okButton_ = button(tr("OK"), "okButton");
    okButton_->setDefault(true);
    closeButton_ = button(tr("Close"), "closeButton");
    searchIdButton_ = button(tr("Search ID..."), "searchIdButton");
    searchQuestionButton_ = button(tr("Search Question..."), "searchQuestionButton");
    searchAnswerButton_ = button(tr("Search Answer..."), "searchAnswerButton");
    deleteButton_ = button(tr("Delete Card..."), "deleteButton");
    connect(okButton_, &QPushButton::clicked, this, &ModifyCardDialog::writeCard);
    connect(closeButton_, &QPushButton::clicked, this, &ModifyCardDialog::close);
    connect(searchIdButton_, &QPushButton::clicked, this, &ModifyCardDialog::searchId);
    connect(searchQuestionButton_, &QPushButton::clicked, this, &ModifyCardDialog::searchQuestion);
    connect(searchAnswerButton_, &QPushButton::clicked, this, &ModifyCardDialog::searchAnswer);
    connect(deleteButton_, &QPushButton::clicked, this, &ModifyCardDialog::deleteCard);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(searchIdButton_);
    buttons->addWidget(searchQuestionButton_);
    buttons->addWidget(searchAnswerButton_);
    buttons->addWidget(deleteButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    addSpeakButtons(layout);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(question_, answer_);
    setTabOrder(answer_, lesson_);
    setTabOrder(lesson_, addInfo_);
    setTabOrder(addInfo_, okButton_);
    setTabOrder(okButton_, closeButton_);
    setTabOrder(closeButton_, searchIdButton_);
    setTabOrder(searchIdButton_, searchQuestionButton_);
    setTabOrder(searchQuestionButton_, searchAnswerButton_);
    setTabOrder(searchAnswerButton_, deleteButton_);
    resize(600, sizeHint().height());

    // Own fonts made now: a font chosen later shows in dialogs opened afterwards.
    questionFont_ = session_.questionFont();
    answerFont_ = session_.answerFont();
    question_->setFieldFont(&questionFont_, kCharacterHeight);
    answer_->setFieldFont(&answerFont_, kCharacterHeight);

    // Closing the list discards every card while this dialog stays open: the card shown
    // must go with it.
    connect(&session_, &ListSession::listClosed, this, [this] {
        if (current_)
            dropCard();
    });

    dropCard();
    show();
    question_->setFocus(Qt::OtherFocusReason);
}

void ModifyCardDialog::done(int result) {
    ModalStep::closeDialogsOf(this);
    // The window is deleted later; once done, "Modify Cards..." makes a new one.
    QDialog::done(result);
}

void ModifyCardDialog::showCard(Card& card) {
    current_ = &card;
    cardNumber_ = card.id;
    level_ = card.level;
    question_->setText(fromCardText(card.question()));
    answer_->setText(fromCardText(card.answer()));
    lesson_->setText(fromCardText(card.lesson()));
    addInfo_->setText(fromCardText(card.addInfo()));
    number_->setText(QString::number(cardNumber_));
    levelBox_->setText(QString::number(level_));
    question_->applyPendingFont();
    answer_->applyPendingFont();
}

void ModifyCardDialog::dropCard() {
    current_ = nullptr;
    cardNumber_ = 0;
    level_ = 0;
    question_->clear();
    answer_->clear();
    lesson_->clear();
    addInfo_->clear();
    number_->setText(QStringLiteral("0"));
    levelBox_->setText(QStringLiteral("0"));
}

void ModifyCardDialog::writeCard() {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    std::string question, answer, lesson, addInfo;
    if (!readCardText(question_, question, this) || !readCardText(answer_, answer, this) ||
        !readCardText(lesson_, lesson, this) || !readCardText(addInfo_, addInfo, this)) {
        return;
    }
    if (current_ == nullptr) {
        showError(Msg::NoCardToModify);
        return;
    }
    CardStore& store = session_.store();
    store.setText(*current_, CardField::Question, question);
    store.setText(*current_, CardField::Answer, answer);
    store.setText(*current_, CardField::Lesson, lesson);
    store.setText(*current_, CardField::AddInfo, addInfo);
    session_.schedule().cardChanged(*current_);
    prompts().beep(kChangedHertz, kChangedMilliseconds);
    store.modified = true;
}

void ModifyCardDialog::searchText(CardField field) {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    const bool byQuestion = field == CardField::Question;
    const QString initial = byQuestion ? question_->text() : answer_->text();
    const QString typed = SearchPrompt::run(
        this, initial, stringText(byQuestion ? Msg::SearchQuestion : Msg::SearchAnswer),
        byQuestion ? &session_.questionFont() : &session_.answerFont());
    if (step.windowGone())
        return;
    Card* found = nullptr;
    // The prompt only takes characters a card can hold; a text from elsewhere that it
    // could not hold cannot be on any card either.
    if (const std::optional<std::string> text = toCardText(typed))
        found = findCardByText(session_.store(), field, *text, cardNumber_);
    if (found) {
        showCard(*found);
    } else {
        showError(Msg::CardNotFound);
        if (!step.windowGone())
            current_ = nullptr;
    }
}

void ModifyCardDialog::searchId() {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    const QString typed =
        SearchPrompt::run(this, QString::number(cardNumber_), stringText(Msg::SearchId));
    if (step.windowGone())
        return;
    Card* found = nullptr;
    if (const std::optional<int32_t> id = parseCardNumber(typed.toStdString()))
        found = findCardById(session_.store(), *id);
    if (found) {
        showCard(*found);
    } else {
        showError(Msg::CardNotFound);
        if (!step.windowGone())
            current_ = nullptr;
    }
}

void ModifyCardDialog::deleteCard() {
    // "Delete Card..." pressed again behind its own question must not delete a second
    // card.
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    if (current_ == nullptr) {
        showError(Msg::NoCardChosen);
        return;
    }
    if (prompts().question(this, PromptIcon::Exclamation, stringText(Msg::CautionCaption),
                           stringText(Msg::ReallyDelete), false) != PromptAnswer::Yes ||
        step.windowGone() || current_ == nullptr) {
        return;
    }
    // The card shown goes, not merely the first card with its number: numbers can repeat
    // (cards added after reading a list), and a sort may have renumbered it meanwhile.
    CardStore& store = session_.store();
    if (store.unknownList.remove(current_) || store.knownList.remove(current_))
        session_.schedule().cardDeleted(*current_);
    else
        showError(Msg::DebugError);
    dropCard();
    store.modified = true;
}

void ModifyCardDialog::addSpeakButtons(QVBoxLayout* layout) {
    // What the boxes hold now, edits and all.
    CardSpeech* speech = makeCardSpeech(session_, this);
    if (QHBoxLayout* row = makeSpeakRow(
            *speech, [this] { return question_->text(); }, [this] { return answer_->text(); },
            this))
        layout->addLayout(row);
}
