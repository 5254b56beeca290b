#include "exam/flash_card_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

FlashCardPanel::FlashCardPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("flashCardPanel"));

    showButton_ = new QPushButton(tr("Show answer"), this);
    showButton_->setObjectName(QStringLiteral("showAnswerButton"));
    answerLabel_ = new QLabel(this);
    answerLabel_->setObjectName(QStringLiteral("flashCardAnswer"));
    answerLabel_->setTextFormat(Qt::PlainText);
    answerLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    answerLabel_->setWordWrap(true);
    answerLabel_->setAccessibleDescription(tr("Answer"));
    knewButton_ = new QPushButton(tr("1: I knew it"), this);
    knewButton_->setObjectName(QStringLiteral("knewItButton"));
    didntButton_ = new QPushButton(tr("2: I didn't"), this);
    didntButton_->setObjectName(QStringLiteral("didntKnowButton"));
    // Inside a dialog Enter would press the default button instead of the focused one.
    for (QPushButton* button : {showButton_, knewButton_, didntButton_})
        button->setAutoDefault(false);

    connect(showButton_, &QPushButton::clicked, this, &FlashCardPanel::showAnswer);
    connect(knewButton_, &QPushButton::clicked, this, [this] { answer(true); });
    connect(didntButton_, &QPushButton::clicked, this, [this] { answer(false); });

    // Enter shows the answer wherever the focus is in the panel (Space already presses the
    // focused button); the digits work anywhere in the window, which has no other use for
    // them while a card is asked this way.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (!shown_)
                showAnswer();
        });
    }
    knewKey_ = new QShortcut(QKeySequence(Qt::Key_1), this, nullptr, nullptr, Qt::WindowShortcut);
    didntKey_ = new QShortcut(QKeySequence(Qt::Key_2), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(knewKey_, &QShortcut::activated, knewButton_, &QPushButton::click);
    connect(didntKey_, &QShortcut::activated, didntButton_, &QPushButton::click);

    auto* verdicts = new QHBoxLayout;
    verdicts->addWidget(knewButton_);
    verdicts->addWidget(didntButton_);
    verdicts->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(showButton_, 0, Qt::AlignLeft);
    layout->addWidget(answerLabel_);
    layout->addLayout(verdicts);

    setCard(QString());
}

void FlashCardPanel::setCard(const QString& expected) {
    shown_ = false;
    answered_ = false;
    answerLabel_->setText(expected);
    // The focus goes to "I knew it" when the answer appears, so a screen reader hears the
    // answer there.
    knewButton_->setAccessibleDescription(tr("The answer is: %1").arg(expected));
    answerLabel_->hide();
    knewButton_->hide();
    didntButton_->hide();
    knewKey_->setEnabled(false);
    didntKey_->setEnabled(false);
    showButton_->show();
    setFocusProxy(showButton_);
    showButton_->setFocus(Qt::OtherFocusReason);
}

void FlashCardPanel::setTextFont(const QFont& font) {
    answerLabel_->setFont(font);
}

void FlashCardPanel::showAnswer() {
    if (shown_)
        return;
    shown_ = true;
    answerLabel_->show();
    knewButton_->show();
    didntButton_->show();
    knewButton_->setEnabled(true);
    didntButton_->setEnabled(true);
    knewKey_->setEnabled(true);
    didntKey_->setEnabled(true);
    setFocusProxy(knewButton_);
    knewButton_->setFocus(Qt::OtherFocusReason);
    showButton_->hide();
}

void FlashCardPanel::answer(bool right) {
    // Once a card: a key held down or a second click must not answer it twice.
    if (!shown_ || answered_)
        return;
    answered_ = true;
    knewKey_->setEnabled(false);
    didntKey_->setEnabled(false);
    emit answered(right);
}
