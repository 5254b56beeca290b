#include "editing/search_prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/card_text_validator.h"
#include "platform/owned_dialog.h"
#include "platform/prompts.h"
#include "platform/text_codec.h"
#include "widgets/font_edit_box.h"

namespace {

constexpr int kCharacterHeight = 12;

}  // namespace

SearchPrompt::SearchPrompt(const QString& initialText, const QString& prompt, const LogFont* font,
                           QWidget* parent)
    : QDialog(parent), searchText_(initialText) {
    setObjectName(QStringLiteral("searchPrompt"));
    setWindowTitle(tr("Search for..."));

    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("promptLabel"));
    label->setWordWrap(true);
    box_ = new FontEditBox(this);
    box_->setObjectName(QStringLiteral("searchEdit"));
    // Typing stops at 59 characters; a longer text the prompt opens with (a question read
    // from a file can hold 100) is kept whole, so that searching for it finds its card.
    limitCharacters(box_, std::max<int>(kTextLimit, characterCount(initialText)));
    box_->setAccessibleName(prompt);
    label->setBuddy(box_);
    if (font)
        box_->setFieldFont(font, kCharacterHeight);
    box_->setText(initialText);
    // An empty initial text changes nothing, and the font would wait for the first key.
    box_->applyPendingFont();
    box_->selectAll();

    searchButton_ = new QPushButton(tr("Search"), this);
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    searchButton_->setDefault(true);
    connect(searchButton_, &QPushButton::clicked, this, &SearchPrompt::search);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(searchButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(box_);
    layout->addLayout(buttons);

    box_->setFocus(Qt::OtherFocusReason);
}

QString SearchPrompt::run(QWidget* parent, const QString& initialText, const QString& prompt,
                          const LogFont* font) {
    OwnedDialog<SearchPrompt> dialog(initialText, prompt, font, parent);
    prompts().execDialog(dialog.get());
    // Gone with its window, closed behind it: nothing was searched for.
    return dialog ? dialog->searchText() : QString();
}

void SearchPrompt::search() {
    searchText_ = box_->text();
    accept();
}
