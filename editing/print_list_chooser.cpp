#include "editing/print_list_chooser.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "platform/card_text_validator.h"
#include "platform/dialog_data.h"
#include "platform/messages.h"

namespace {

enum Choice {
    AllCards = 1031,
    OnLevel = 1032,
    OfLesson = 1033,
    WrongCards = 1034,
    KnownCards = 1035
};

}  // namespace

PrintListChooser::PrintListChooser(const CardStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("printListChooser"));
    setWindowTitle(tr("Choose a list..."));

    auto* prompt = new QLabel(tr("Please choose the list to print"), this);

    choices_ = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    auto addChoice = [&](Choice id, const QString& text, const char* name) {
        auto* radio = new QRadioButton(text, this);
        radio->setObjectName(QLatin1String(name));
        choices_->addButton(radio, id);
        grid->addWidget(radio, grid->rowCount(), 0);
        return radio;
    };
    addChoice(AllCards, tr("Print all cards"), "allCardsRadio");
    addChoice(OnLevel, tr("Print cards on level"), "levelCardsRadio");
    level_ = new QLineEdit(QStringLiteral("0"), this);
    level_->setObjectName(QStringLiteral("levelEdit"));
    level_->setAccessibleName(tr("Level to print"));
    grid->addWidget(level_, grid->rowCount() - 1, 1);
    addChoice(OfLesson, tr("Print cards of lesson"), "lessonCardsRadio");
    lesson_ = new QLineEdit(this);
    lesson_->setObjectName(QStringLiteral("lessonEdit"));
    lesson_->setAccessibleName(tr("Lesson to print"));
    limitCharacters(lesson_, int(kLessonCapacity));
    grid->addWidget(lesson_, grid->rowCount() - 1, 1);
    addChoice(WrongCards, tr("Print all cards you answered wrong during this examination"),
              "wrongCardsRadio");
    addChoice(KnownCards, tr("Print all known cards"), "knownCardsRadio");

    printButton_ = new QPushButton(tr("Print"), this);
    printButton_->setObjectName(QStringLiteral("printButton"));
    printButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    connect(printButton_, &QPushButton::clicked, this, &PrintListChooser::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &PrintListChooser::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(printButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setTabOrder(choices_->button(KnownCards), level_);
    setTabOrder(level_, lesson_);
    setTabOrder(lesson_, printButton_);
    setTabOrder(printButton_, cancelButton_);
    choices_->button(AllCards)->setFocus();
}

void PrintListChooser::accept() {
    // Both boxes are checked whichever choice is made, as the dialog's data exchange does.
    const std::optional<int> level = readIntegerField(level_, 0, kHighestLevel);
    if (!level)
        return;
    std::string lesson;
    if (!readCardText(lesson_, lesson, this))
        return;
    if (chooseCards(*level, lesson))
        QDialog::accept();
}

bool PrintListChooser::chooseCards(int level, const std::string& lesson) {
    CardList chosen;
    switch (choices_->checkedId()) {
        case AllCards:
            appendAll(chosen, store_.unknownList);
            break;
        case OnLevel:
            selectByLevel(store_.unknownList, chosen, level);
            break;
        case OfLesson:
            selectByLesson(store_.unknownList, chosen, lesson);
            break;
        case WrongCards:
            appendAll(chosen, store_.wrongList);
            break;
        case KnownCards:
            appendAll(chosen, store_.knownList);
            break;
        default:
            // The chooser stays open so that the user can pick a list after all.
            showError(Msg::ChooseRadioButton);
            return false;
    }
    if (chosen.empty()) {
        showError(Msg::ListEmpty);
        return false;
    }
    const std::vector<Card*> cards = chosen.cards();
    sequence_.assign(cards.begin(), cards.end());
    return true;
}
