#include "editing/new_card_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "platform/card_text_validator.h"
#include "platform/messages.h"
#include "session/list_session.h"
#include "widgets/font_edit_box.h"

namespace {

// What the boxes accept; every limit lies below the card's own capacity.
constexpr int kQuestionLimit = 59;
constexpr int kAnswerLimit = 59;
constexpr int kLessonLimit = 9;
constexpr int kAddInfoLimit = 100;
constexpr int kCharacterHeight = 12;

}  // namespace

NewCardDialog::NewCardDialog(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                             QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName("newCardDialog");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("New vocabulary card"));

    windows.enter(this, WindowKind::NewCard, Command::NewCards, MainButton::NewCard);
    board.setCommandEnabled(Command::NewList, false);

    auto* prompt = new QLabel(
        tr("Please enter the question and the answer of the new card.( Kartomatrix will ask "
           "you the question and you will have to enter the answer)"),
        this);
    prompt->setWordWrap(true);

    question_ = new FontEditBox(this);
    question_->setObjectName("questionEdit");
    limitCharacters(question_, kQuestionLimit);
    answer_ = new FontEditBox(this);
    answer_->setObjectName("answerEdit");
    limitCharacters(answer_, kAnswerLimit);
    addInfo_ = new QLineEdit(this);
    addInfo_->setObjectName("addInfoEdit");
    limitCharacters(addInfo_, kAddInfoLimit);
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName("lessonEdit");
    limitCharacters(lesson_, kLessonLimit);

    auto* form = new QFormLayout;
    auto addRow = [&](const QString& text, QLineEdit* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        field->setAccessibleName(text);
        form->addRow(label, field);
    };
    addRow(tr("Question"), question_);
    addRow(tr("Answer"), answer_);
    addRow(tr("Additional Information"), addInfo_);
    addRow(tr("Lesson"), lesson_);

    enterButton_ = new QPushButton(tr("Enter this word"), this);
    enterButton_->setObjectName("enterButton");
    enterButton_->setDefault(true);
    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName("closeButton");
    closeButton_->setAutoDefault(false);
    connect(enterButton_, &QPushButton::clicked, this, &NewCardDialog::enterCard);
    connect(closeButton_, &QPushButton::clicked, this, &NewCardDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(enterButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(question_, answer_);
    setTabOrder(answer_, addInfo_);
    setTabOrder(addInfo_, lesson_);
    setTabOrder(lesson_, enterButton_);
    setTabOrder(enterButton_, closeButton_);

    show();
    question_->setFocus();
    question_->setFieldFont(&session_.questionFont(), kCharacterHeight);
    answer_->setFieldFont(&session_.answerFont(), kCharacterHeight);
}

void NewCardDialog::enterCard() {
    std::string question, answer, addInfo, lesson;
    if (!readCardText(question_, question, this) || !readCardText(answer_, answer, this) ||
        !readCardText(addInfo_, addInfo, this) || !readCardText(lesson_, lesson, this)) {
        return;
    }
    if (question.empty() || answer.empty()) {
        activateWindow();
        showError(Msg::EmptyQuestionOrAnswer);
        return;
    }
    CardStore& store = session_.store();
    addCard(store, store.unknownList, question, answer, lesson, addInfo);
    session_.cardEntered();
    question_->clear();
    answer_->clear();
    addInfo_->clear();
    question_->setFocus();
}
