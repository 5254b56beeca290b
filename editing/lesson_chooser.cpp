#include "editing/lesson_chooser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/unicode_text.h"
#include "platform/messages.h"
#include "platform/text_codec.h"
#include "session/command_board.h"
#include "session/list_session.h"

namespace {

constexpr int kColumnWidth = 100;
// Lessons are stored with the item as the card bytes, so that the choice matches the
// cards' lessons exactly even where the shown text does not tell them apart.
constexpr int kLessonBytesRole = Qt::UserRole;

// The examination that suits a choice of this many cards: the systematic one needs more
// than ten cards and the random one more than three.
Command examinationFor(int cards) {
    if (cards >= 11)
        return Command::LessonSystematic;
    if (cards >= 4)
        return Command::LessonRandom;
    return Command::LessonInOrder;
}

}  // namespace

LessonChooser* LessonChooser::open(ListSession& session, CommandBoard& board, QWidget* parent) {
    auto* chooser = new LessonChooser(session, board, parent);
    chooser->show();
    chooser->lessonList_->setFocus();
    return chooser;
}

LessonChooser::LessonChooser(ListSession& session, CommandBoard& board, QWidget* parent)
    : QDialog(parent), session_(session), board_(board) {
    setObjectName(QStringLiteral("lessonChooser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Choose a lesson..."));

    auto* prompt = new QLabel(tr("Please choose a lesson:\n(Use Shift and Ctrl to "
                                 "select more than one lesson)"),
                              this);
    lessonList_ = new QListWidget(this);
    lessonList_->setObjectName(QStringLiteral("lessonList"));
    lessonList_->setViewMode(QListView::ListMode);
    lessonList_->setFlow(QListView::TopToBottom);
    lessonList_->setWrapping(true);
    lessonList_->setResizeMode(QListView::Adjust);
    lessonList_->setUniformItemSizes(true);
    lessonList_->setGridSize(QSize(kColumnWidth, lessonList_->fontMetrics().height() + 4));
    lessonList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    prompt->setBuddy(lessonList_);
    lessonList_->setAccessibleName(tr("Please choose a lesson:"));

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &LessonChooser::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &LessonChooser::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch();
    auto* listSide = new QVBoxLayout;
    listSide->addWidget(prompt);
    listSide->addWidget(lessonList_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listSide, 1);
    layout->addLayout(buttons);

    setTabOrder(lessonList_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    resize(420, 260);

    fillLessons();
}

void LessonChooser::fillLessons() {
    // Lessons that differ only in the case of their letters, or in how their accented
    // letters are encoded, are one item, named as the first card met spells it. The bytes already
    // seen are remembered as well, so that the text of each lesson is converted once however many
    // cards share it.
    std::unordered_set<std::string> seenBytes;
    QSet<QString> seenFolded;
    std::vector<std::string> lessons;
    auto meet = [&](const Card* card) {
        const std::string_view lesson = card->lesson();
        if (!seenBytes.emplace(lesson).second)
            return;
        const QString folded = fromCardText(composedText(lesson)).toCaseFolded();
        if (seenFolded.contains(folded))
            return;
        seenFolded.insert(folded);
        lessons.emplace_back(lesson);
    };
    const CardStore& store = session_.store();
    store.unknownList.forEach(meet);
    store.knownList.forEach(meet);

    // Each lesson met goes to the top, so the last one met comes first.
    for (auto it = lessons.rbegin(); it != lessons.rend(); ++it) {
        auto* item = new QListWidgetItem(fromCardText(*it), lessonList_);
        item->setData(kLessonBytesRole, QByteArray(it->data(), qsizetype(it->size())));
    }
}

QStringList LessonChooser::lessons() const {
    QStringList texts;
    for (int row = 0; row < lessonList_->count(); ++row)
        texts << lessonList_->item(row)->text();
    return texts;
}

void LessonChooser::accept() {
    CardStore& store = session_.store();
    if (store.unknownList.empty() && store.knownList.empty()) {
        showError(Msg::NoCardsOpened);
        return;
    }
    clearList(store.lessonSelection);
    // Known cards are listed for their lessons but never examined from here.
    for (int row = 0; row < lessonList_->count(); ++row) {
        const QListWidgetItem* item = lessonList_->item(row);
        if (!item->isSelected())
            continue;
        const QByteArray lesson = item->data(kLessonBytesRole).toByteArray();
        selectByLesson(store.unknownList, store.lessonSelection,
                       std::string_view(lesson.constData(), std::size_t(lesson.size())));
    }
    const int chosen = countCards(store.lessonSelection);
    if (chosen == 0) {
        showError(Msg::NoCardsOfLesson);
        return;
    }
    board_.applyLessonChosen(chosen);
    board_.run(examinationFor(chosen));
    QDialog::accept();
}
