#include "editing/overview_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/overview_ops.h"
#include "editing/card_table_model.h"
#include "editing/modify_card_dialog.h"
#include "editing/search_prompt.h"
#include "platform/dialog_data.h"
#include "platform/messages.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "session/card_speech.h"
#include "session/list_session.h"
#include "session/list_speech.h"
#include "session/modal_step.h"

namespace {

constexpr int kColumnWidths[CardTableModel::kColumnCount] = {150, 150, 150, 50, 50, 50};
constexpr int kLessonListWidth = 100;

// The search outlives every overview: the next one goes on from where the last stopped.
QString lastSearchText;
std::size_t searchPosition = 0;

}  // namespace

OverviewDialog* OverviewDialog::open(ListSession& session, CommandBoard& board,
                                     WindowRegistry& windows, QWidget* parent) {
    // Typing cards switches the Overview button on again while an overview may be open;
    // a second table over the same lists would only confuse.
    return windows.raiseOrOpen<OverviewDialog>(
        WindowKind::Overview, [&] { return new OverviewDialog(session, board, windows, parent); });
}

OverviewDialog::OverviewDialog(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                               QWidget* parent)
    : QDialog(parent), session_(session), board_(board), windows_(windows) {
    windows_.enter(this, WindowKind::Overview, Command::Overview);
    shown_ = &session_.store().unknownList;
    choice_ = UnknownCards;
    level_ = 0;

    setObjectName(QStringLiteral("overviewDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Contents of your vocabulary list:"));

    auto* prompt =
        new QLabel(tr("Here you can see an overview of your cards. Click on a column to sort the "
                      "list, double-click on a card to display it."),
                   this);
    prompt->setWordWrap(true);

    model_ = new CardTableModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("cardTable"));
    table_->setAccessibleName(tr("Cards"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->setIconSize(QSize(16, 16));
    table_->setCornerButtonEnabled(false);
    if (auto* corner = table_->findChild<QAbstractButton*>())
        corner->setAccessibleName(tr("Select all cards"));
    // Fixed row heights let the view place a million rows without measuring any.
    QHeaderView* rowsHeader = table_->verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(std::max(20, fontMetrics().height() + 4));
    QHeaderView* titles = table_->horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    for (int column = 0; column < CardTableModel::kColumnCount; ++column)
        titles->resizeSection(column, kColumnWidths[column]);
    titles->setStretchLastSection(false);
    connect(titles, &QHeaderView::sectionClicked, this, &OverviewDialog::sortByColumn);
    connect(table_, &QTableView::doubleClicked, this, &OverviewDialog::openCard);
    table_->installEventFilter(this);

    // Column titles cannot be reached by keyboard; the same sorts sit on the table.
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (int column = 0; column < CardTableModel::kColumnCount; ++column) {
        if (!sortKeyOfColumn(column))
            continue;
        auto* sortBy =
            new QAction(tr("Sort by %1").arg(stringText(Msg::ColumnQuestion + column)), table_);
        sortBy->setObjectName(QStringLiteral("sortByColumn%1").arg(column));
        sortBy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + column)));
        sortBy->setShortcutContext(Qt::WindowShortcut);
        connect(sortBy, &QAction::triggered, this, [this, column] { sortByColumn(column); });
        table_->addAction(sortBy);
    }

    auto radio = [this](const QString& text, const char* name) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    choices_ = new QButtonGroup(this);
    choices_->addButton(radio(tr("All cards"), "allCardsRadio"), AllCards);
    choices_->addButton(radio(tr("Known Cards"), "knownCardsRadio"), KnownCards);
    choices_->addButton(radio(tr("Unknown Cards"), "unknownCardsRadio"), UnknownCards);
    choices_->addButton(radio(tr("Wrong Cards"), "wrongCardsRadio"), WrongCards);
    choices_->addButton(radio(tr("Cards of lesson:"), "lessonCardsRadio"), CardsOfLessons);
    choices_->addButton(radio(tr("Cards on level:"), "levelCardsRadio"), CardsOnLevel);
    // A choice comes as a toggle (a click, or a screen reader's "Toggle" action, which
    // toggles without clicking) or as a click on the choice already made, which shows it
    // afresh. A click that toggled has been handled by its toggle.
    connect(choices_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        choose(id);
        justToggled_ = true;
        QMetaObject::invokeMethod(
            this, [this] { justToggled_ = false; }, Qt::QueuedConnection);
    });
    connect(choices_, &QButtonGroup::idClicked, this, [this](int id) {
        if (justToggled_) {
            justToggled_ = false;
            return;
        }
        choose(id);
    });

    lessonModel_ = new QStringListModel(this);
    lessonList_ = new QListView(this);
    lessonList_->setObjectName(QStringLiteral("lessonList"));
    lessonList_->setAccessibleName(tr("Lessons"));
    lessonList_->setModel(lessonModel_);
    lessonList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lessonList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lessonList_->setFixedWidth(kLessonListWidth + 2 * lessonList_->frameWidth() + 20);

    levelBox_ = new QLineEdit(QString::number(level_), this);
    levelBox_->setObjectName(QStringLiteral("levelEdit"));
    levelBox_->setAccessibleName(tr("Level"));
    levelBox_->setFixedWidth(kLessonListWidth);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    okButton_ = button(tr("OK"), "okButton");
    okButton_->setDefault(true);
    searchButton_ = button(tr("Search for..."), "searchButton");
    refreshButton_ = button(tr("Refresh List"), "refreshButton");
    connect(okButton_, &QPushButton::clicked, this, &OverviewDialog::accept);
    connect(searchButton_, &QPushButton::clicked, this, &OverviewDialog::search);
    connect(refreshButton_, &QPushButton::clicked, this, &OverviewDialog::refresh);

    auto* side = new QVBoxLayout;
    for (int id : {AllCards, KnownCards, UnknownCards, WrongCards, CardsOfLessons})
        side->addWidget(choices_->button(id));
    side->addWidget(lessonList_, 1);
    side->addWidget(choices_->button(CardsOnLevel));
    side->addWidget(levelBox_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(table_, 1);
    middle->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(searchButton_);
    buttons->addWidget(refreshButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(middle, 1);
    addSpeakButtons(layout);
    layout->addLayout(buttons);

    setTabOrder(table_, searchButton_);
    setTabOrder(searchButton_, refreshButton_);
    setTabOrder(refreshButton_, choices_->button(AllCards));
    setTabOrder(choices_->button(AllCards), lessonList_);
    setTabOrder(lessonList_, levelBox_);
    setTabOrder(levelBox_, okButton_);
    resize(900, 480);

    show();
    checkChoice(UnknownCards);
    fillTable();
    windows_.holdButton(this, MainButton::Overview);
    fillLessonList();

    // Every click in the lesson list chooses the lessons, also one on a lesson that is
    // already selected or below the last one; a selection moved by the keyboard chooses
    // them too. A click may change the selection on the press or on the release, so it
    // is handled once, after the release.
    lessonList_->viewport()->installEventFilter(this);
    connect(lessonList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton)
            showLessons();
    });
    connect(levelBox_, &QLineEdit::textChanged, this, &OverviewDialog::showLevel);
    table_->setFocus(Qt::OtherFocusReason);
}

void OverviewDialog::done(int result) {
    ModalStep::closeDialogsOf(this);
    QDialog::done(result);
}

bool OverviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (lessonList_ && watched == lessonList_->viewport() &&
        event->type() == QEvent::MouseButtonRelease) {
        QMetaObject::invokeMethod(this, &OverviewDialog::showLessons, Qt::QueuedConnection);
        return false;
    }
    // Enter is "OK" everywhere, the table included; F2 opens the card of the current row,
    // as a double-click does.
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F2 && table_->currentIndex().isValid()) {
            openCard(table_->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OverviewDialog::checkChoice(Choice choice) {
    // Checked by the program, not chosen by the user: no toggle to act on.
    const QSignalBlocker quiet(choices_->button(choice));
    choices_->button(choice)->setChecked(true);
}

void OverviewDialog::fillTable() {
    model_->fill(*shown_);
}

void OverviewDialog::choose(int choice) {
    CardStore& store = session_.store();
    switch (choice) {
        case AllCards:
            showAllCards();
            break;
        case KnownCards:
            showStoreList(KnownCards, store.knownList);
            break;
        case UnknownCards:
            showStoreList(UnknownCards, store.unknownList);
            break;
        case WrongCards:
            showStoreList(WrongCards, store.wrongList);
            break;
        case CardsOfLessons:
            showLessons();
            break;
        case CardsOnLevel:
            showLevel();
            break;
        default:
            break;
    }
}

void OverviewDialog::showAllCards() {
    const CardStore& store = session_.store();
    clearList(allCards_);
    appendAll(allCards_, store.unknownList);
    appendAll(allCards_, store.knownList);
    shown_ = &allCards_;
    fillTable();
    choice_ = AllCards;
}

void OverviewDialog::showStoreList(Choice choice, CardList& list) {
    shown_ = &list;
    fillTable();
    choice_ = choice;
}

void OverviewDialog::showLessons() {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    choice_ = CardsOfLessons;
    checkChoice(CardsOfLessons);
    readLevel();
    if (step.windowGone())
        return;
    QModelIndexList selected = lessonList_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::string_view> chosen;
    for (const QModelIndex& index : selected)
        chosen.push_back(lessons_[static_cast<std::size_t>(index.row())]);
    clearList(lessonCards_);
    const CardStore& store = session_.store();
    selectLessons(store.unknownList, store.knownList, chosen, lessonCards_);
    shown_ = &lessonCards_;
    fillTable();
}

void OverviewDialog::showLevel() {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    if (!levelBox_->text().isEmpty())
        readLevel();
    if (step.windowGone())
        return;
    checkChoice(CardsOnLevel);
    const CardStore& store = session_.store();
    checkList(store.unknownList, session_);
    if (step.windowGone())
        return;
    clearList(levelCards_);
    selectByLevel(store.unknownList, levelCards_, level_);
    choice_ = CardsOnLevel;
    shown_ = &levelCards_;
    fillTable();
}

void OverviewDialog::readLevel() {
    if (const std::optional<int> value = readIntegerField(
            levelBox_, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())) {
        level_ = *value;
    }
}

void OverviewDialog::refresh() {
    fillTable();
}

void OverviewDialog::setMemoryColumns(std::function<std::optional<int64_t>(const Card&)> dueMs,
                                      std::function<std::optional<double>(const Card&)> recall) {
    model_->setMemoryColumns({std::move(dueMs), std::move(recall)});
    const bool shown = model_->hasMemoryColumns();
    for (int column : {CardTableModel::DueColumn, CardTableModel::RecallColumn}) {
        const QString name = QStringLiteral("sortByColumn%1").arg(column);
        auto* sortBy = table_->findChild<QAction*>(name);
        if (shown && !sortBy) {
            sortBy = new QAction(
                tr("Sort by %1").arg(model_->headerData(column, Qt::Horizontal).toString()),
                table_);
            sortBy->setObjectName(name);
            sortBy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + column)));
            sortBy->setShortcutContext(Qt::WindowShortcut);
            connect(sortBy, &QAction::triggered, this, [this, column] { sortByColumn(column); });
            table_->addAction(sortBy);
            table_->horizontalHeader()->resizeSection(column, 80);
        } else if (!shown && sortBy) {
            delete sortBy;
        }
    }
}

void OverviewDialog::sortByColumn(int column) {
    if (column >= CardTableModel::kColumnCount) {
        model_->sortByMemory(column);
        return;
    }
    model_->clearMemorySort();
    // The checks and the sort may show messages; the window may be closed behind them.
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    CardStore& store = session_.store();
    checkList(*shown_, session_);
    checkList(store.unknownList, session_);
    if (step.windowGone())
        return;
    if (const std::optional<SortKey> key = sortKeyOfColumn(column))
        sortList(store, *shown_, *key, session_);
    if (step.windowGone())
        return;
    fillTable();
    for (const CardList* list :
         {&store.unknownList, &store.knownList, &store.wrongList, &allCards_}) {
        checkList(*list, session_);
    }
}

void OverviewDialog::openCard(const QModelIndex& index) {
    if (Card* card = model_->cardAt(index.row()))
        ModifyCardDialog::loadCard(board_, windows_, *card);
}

void OverviewDialog::search() {
    const ModalStep step(this, windows_);
    if (!step.started())
        return;
    const QString typed = SearchPrompt::run(this, lastSearchText, stringText(Msg::SearchString));
    if (step.windowGone())
        return;
    lastSearchText = typed;
    std::optional<std::size_t> row;
    if (const std::optional<std::string> text = toCardText(lastSearchText))
        row = findRowContaining(model_->rows(), *text, searchPosition);
    if (!row) {
        showError(Msg::CardNotFound);
        searchPosition = 0;
        return;
    }
    const QModelIndex index = model_->index(static_cast<int>(*row), 0);
    table_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->setFocus(Qt::OtherFocusReason);
    table_->scrollTo(index);
    searchPosition = *row + 1;
}

void OverviewDialog::fillLessonList() {
    const CardStore& store = session_.store();
    QStringList items;
    lessons_.clear();
    for (std::string_view lesson : distinctLessons(store.unknownList, store.knownList)) {
        lessons_.emplace_back(lesson);
        items.append(fromCardText(lesson));
    }
    lessonModel_->setStringList(items);
}

void OverviewDialog::addSpeakButtons(QVBoxLayout* layout) {
    // The current row's card, read when the key is pressed.
    const auto text = [this](CardField field) {
        const QModelIndex index = table_->currentIndex();
        const Card* card = index.isValid() ? model_->cardAt(index.row()) : nullptr;
        if (card == nullptr)
            return QString();
        return fromCardText(field == CardField::Question ? card->question() : card->answer());
    };
    CardSpeech* speech = makeCardSpeech(session_, this);
    if (QHBoxLayout* row = makeSpeakRow(
            *speech, [text] { return text(CardField::Question); },
            [text] { return text(CardField::Answer); }, this))
        layout->addLayout(row);
}
