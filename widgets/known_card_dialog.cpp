#include "widgets/known_card_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

KnownCardDialog::KnownCardDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("knownCardDialog"));
    setWindowTitle(tr("Do you really know this word?"));

    auto* text =
        new QLabel(tr("You have answered this word correctly as many times as specified in "
                      "the Preferences dialog. Do you want to keep it or do you want to put "
                      "it into the list of known cards?"),
                   this);
    text->setWordWrap(true);
    text->setMinimumWidth(360);

    keepButton_ = new QPushButton(tr("Keep It"), this);
    keepButton_->setObjectName(QStringLiteral("buttonKeep"));
    keepButton_->setDefault(true);
    knownButton_ = new QPushButton(tr("Known Cards"), this);
    knownButton_->setObjectName(QStringLiteral("buttonKnown"));
    connect(keepButton_, &QPushButton::clicked, this, &KnownCardDialog::accept);
    connect(knownButton_, &QPushButton::clicked, this, &KnownCardDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(keepButton_);
    buttons->addWidget(knownButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);

    setTabOrder(keepButton_, knownButton_);
    keepButton_->setFocus();
}
