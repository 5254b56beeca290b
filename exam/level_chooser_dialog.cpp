#include "exam/level_chooser_dialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "platform/dialog_data.h"
#include "platform/messages.h"

LevelChooserDialog::LevelChooserDialog(CardStore& store, QAction* levelInOrder, QWidget* parent)
    : QDialog(parent), store_(store), levelInOrder_(levelInOrder) {
    setObjectName(QStringLiteral("levelChooserDialog"));
    setWindowTitle(tr("Choose a level"));

    auto* prompt = new QLabel(tr("Please choose a level:"), this);
    level_ = new QLineEdit(QStringLiteral("0"), this);
    level_->setObjectName(QStringLiteral("levelEdit"));
    prompt->setBuddy(level_);
    level_->setAccessibleName(prompt->text());
    level_->selectAll();

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton_, &QPushButton::clicked, this, &LevelChooserDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &LevelChooserDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(level_);
    layout->addLayout(buttons);

    setTabOrder(level_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    level_->setFocus();
}

void LevelChooserDialog::accept() {
    const std::optional<int> level = readIntegerField(level_, 0, kHighestLevel);
    if (!level)
        return;
    if (store_.unknownList.empty()) {
        showError(Msg::NoCardsOpened);
        return;
    }
    // Known cards are never chosen: a level examination is for cards still being learned.
    clearList(store_.levelSelection);
    selectByLevel(store_.unknownList, store_.levelSelection, *level);
    if (store_.levelSelection.empty()) {
        showError(Msg::NoCardsOnLevel);
        return;
    }
    if (levelInOrder_)
        levelInOrder_->setEnabled(true);
    QDialog::accept();
}
