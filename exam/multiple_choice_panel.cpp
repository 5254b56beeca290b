#include "exam/multiple_choice_panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/answer_forms.h"
#include "widgets/answer_feedback_line.h"

namespace {

// A card text as button text: '&' would otherwise mark a shortcut letter and vanish.
QString buttonText(const QString& text) {
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

MultipleChoicePanel::MultipleChoicePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("multipleChoicePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kMaxChoices; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("choiceButton%1").arg(i + 1));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        layout->addWidget(button);
        buttons_.push_back(button);
        // The digits work anywhere in the window, which has no other use for them while a
        // card is asked this way.
        auto* key =
            new QShortcut(QKeySequence(Qt::Key_1 + i), this, nullptr, nullptr, Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, [this, i] { choose(i); });
        keys_.push_back(key);
    }
    feedback_ = new AnswerFeedbackLine(this);
    feedback_->setObjectName(QStringLiteral("choiceFeedbackLine"));
    continueButton_ = new QPushButton(tr("Continue"), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    continueButton_->setAutoDefault(false);
    connect(continueButton_, &QPushButton::clicked, this, &MultipleChoicePanel::moveOn);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut =
            new QShortcut(key, continueButton_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &MultipleChoicePanel::moveOn);
    }
    layout->addWidget(feedback_);
    layout->addWidget(continueButton_, 0, Qt::AlignLeft);

    setChoices({}, -1);
}

QString MultipleChoicePanel::labelOf(int index, const QString& text) {
    return tr("%1: %2").arg(QString::number(index + 1), text);
}

void MultipleChoicePanel::setChoices(const QStringList& texts, int right) {
    texts_ = texts.mid(0, kMaxChoices);
    right_ = right;
    chosen_ = false;
    answered_ = false;
    for (int i = 0; i < kMaxChoices; ++i) {
        QPushButton* button = buttons_[static_cast<std::size_t>(i)];
        const bool used = i < texts_.size();
        const QString label = used ? labelOf(i, texts_[i]) : QString();
        button->setText(buttonText(label));
        // An unused button keeps a name: the panel is part of every examination window.
        button->setAccessibleName(used ? label : tr("Choice %1").arg(i + 1));
        button->setAccessibleDescription(QString());
        button->setEnabled(used);
        button->setVisible(used);
        keys_[static_cast<std::size_t>(i)]->setEnabled(used);
    }
    feedback_->clear();
    continueButton_->hide();
    if (!texts_.isEmpty()) {
        setFocusProxy(buttons_.front());
        buttons_.front()->setFocus(Qt::OtherFocusReason);
    }
}

void MultipleChoicePanel::setTextFont(const QFont& font) {
    for (QPushButton* button : buttons_)
        button->setFont(font);
}

void MultipleChoicePanel::choose(int index) {
    if (chosen_ || index < 0 || index >= texts_.size() || right_ < 0 || right_ >= texts_.size())
        return;
    chosen_ = true;
    for (QShortcut* key : keys_)
        key->setEnabled(false);
    if (index == right_) {
        answered_ = true;
        emit answered(true);
        return;
    }
    // The buttons stay as they are, greyed, with the two that matter marked in words as
    // well as looks: colour alone says nothing to a screen reader or to colour-blind eyes.
    for (QPushButton* button : buttons_)
        button->setEnabled(false);
    QPushButton* wrongButton = buttons_[static_cast<std::size_t>(index)];
    QPushButton* rightButton = buttons_[static_cast<std::size_t>(right_)];
    wrongButton->setAccessibleDescription(tr("Your choice, wrong"));
    wrongButton->setText(
        buttonText(tr("%1 (your choice, wrong)").arg(labelOf(index, texts_[index]))));
    rightButton->setAccessibleDescription(tr("The right answer"));
    rightButton->setText(buttonText(tr("%1 (right)").arg(labelOf(right_, texts_[right_]))));
    feedback_->showMessage(
        tr("Wrong: %1. The right answer is %2.")
            .arg(labelOf(index, texts_[index]), labelOf(right_, texts_[right_])));
    continueButton_->show();
    setFocusProxy(continueButton_);
    continueButton_->setFocus(Qt::OtherFocusReason);
}

void MultipleChoicePanel::moveOn() {
    if (!chosen_ || answered_)
        return;
    answered_ = true;
    continueButton_->hide();
    emit answered(false);
}
