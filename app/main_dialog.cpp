#include "app/main_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

#include "app/about_dialog.h"
#include "app/preferences_dialog.h"
#include "app/user_guide.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/orders.h"
#include "editing/import_dialog.h"
#include "editing/lesson_chooser.h"
#include "editing/modify_card_dialog.h"
#include "editing/new_card_dialog.h"
#include "editing/overview_dialog.h"
#include "editing/print_job.h"
#include "exam/examination_dialog.h"
#include "exam/level_chooser_dialog.h"
#include "exam/optimise_run.h"
#include "exam/progress_dialog.h"
#include "exam/statistics_dialog.h"
#include "platform/messages.h"
#include "platform/prompts.h"
#include "session/answer_mode_menus.h"
#include "session/card_export.h"
#include "session/card_speech.h"
#include "session/list_session.h"
#include "session/list_speech.h"
#include "session/review_schedule.h"
#include "session/window_registry.h"

// The pictures live in the window library; a static library must register them itself.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

constexpr QSize kPictureSize(256, 192);

QPixmap loadPicture(const QString& resource) {
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    // Drawn for the densest screen, so that the pictures stay sharp when the desktop scales.
    const qreal pixelRatio = qGuiApp->devicePixelRatio();
    QPixmap pixmap(kPictureSize * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

struct ExaminationCommand {
    Command command;
    ExaminationKind kind;
    std::optional<MainButton> button;
};

constexpr ExaminationCommand kExaminationCommands[] = {
    {Command::ExamineSystematic, ExaminationKind::Systematic, MainButton::Systematic},
    {Command::ExamineInOrder, ExaminationKind::InOrder, MainButton::InOrder},
    {Command::ExamineRandom, ExaminationKind::Random, MainButton::Random},
    {Command::ExamineWrongWords, ExaminationKind::WrongWords, MainButton::WrongWords},
    {Command::ExamineKnownWords, ExaminationKind::KnownWords, std::nullopt},
    {Command::LessonInOrder, ExaminationKind::LessonInOrder, std::nullopt},
    {Command::LessonRandom, ExaminationKind::LessonRandom, std::nullopt},
    {Command::LessonSystematic, ExaminationKind::LessonSystematic, std::nullopt},
    {Command::LevelInOrder, ExaminationKind::Level, std::nullopt},
    {Command::DueCards, ExaminationKind::DueCards, std::nullopt},
};

const ExaminationCommand* examinationCommand(Command command) {
    for (const ExaminationCommand& entry : kExaminationCommands) {
        if (entry.command == command)
            return &entry;
    }
    return nullptr;
}

}  // namespace

MainDialog::MainDialog(CardStore& store, Preferences& preferences, const LogFont& documentFont,
                       QWidget* parent)
    : QDialog(parent),
      session_(new ListSession(store, preferences, documentFont, this)),
      board_(new CommandBoard(this)),
      windows_(new WindowRegistry(*board_, this)) {
    initResources();
    setObjectName("mainDialog");
    setWindowTitle("Kartomatrix");
    setWindowIcon(QIcon(":/icons/kartomatrix.svg"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    session_->setDialogParent(this);
    session_->setWindows(windows_);
    buildControls();
    connectSession();
}

MainDialog::~MainDialog() {
    // The windows opened from here give back menu items and buttons when they go, so they
    // must go while those still exist.
    const auto windows = findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    for (QDialog* window : windows)
        delete window;
}

void MainDialog::connectSession() {
    connect(board_, &CommandBoard::commandRequested, this, &MainDialog::runCommand);
    connect(session_, &ListSession::newListStarted, this, [this] {
        board_->applyNewList();
        openNewCardDialog();
    });
    connect(session_, &ListSession::listOpened, this, &MainDialog::onListOpened);
    connect(session_, &ListSession::listClosed, this, [this] {
        board_->applyNoList();
        update();
    });
    connect(session_, &ListSession::cardAdded, this, [this] {
        board_->applyCardEntered(session_->store().unknownList.count());
        update();
    });
    connect(session_, &ListSession::cardsAddedFromFile, this,
            [this](int unknownBefore, bool listBegun) {
                board_->applyCardsImported(unknownBefore, session_->store().unknownList.count(),
                                           listBegun);
                update();
            });
    connect(session_, &ListSession::cardsChanged, this, &MainDialog::refreshCounters);
    connect(session_, &ListSession::cardJoinedWrongList, board_,
            &CommandBoard::applyWrongListJoined);
    connect(session_, &ListSession::cardMovedToKnown, board_, &CommandBoard::applyCardMovedToKnown);
    connect(session_, &ListSession::wrongListEmptied, board_, &CommandBoard::applyWrongListEmptied);
    connect(session_, &ListSession::knownListEmptied, board_, &CommandBoard::applyKnownListEmptied);
}

void MainDialog::buildControls() {
    auto* menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    board_->buildMenus(menuBar);
    addAnswerModeMenus(menuBar->findChild<QMenu*>(QStringLiteral("menuExamination")),
                       session_->preferences());

    auto makeButton = [this](MainButton id, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(objectNameOf(id));
        // As in any dialog, Enter presses the button that has the focus; elsewhere the
        // card box.
        button->setAutoDefault(true);
        board_->bindButton(id, button);
        return button;
    };

    QPushButton* cardBox = makeButton(MainButton::CardBox, QString());
    cardBox->setFlat(true);
    cardBox->setDefault(true);
    cardBox->setIconSize(kPictureSize);
    cardBox->setMinimumSize(kPictureSize + QSize(12, 12));
    cardBox->setAccessibleName(tr("Card box: save the list, or open a list when there is none"));
    cardBox->setToolTip(tr("Save the list (open a list when there is none)"));
    connect(cardBox, &QPushButton::clicked, this, &MainDialog::onCardBox);

    QPushButton* examine = makeButton(MainButton::Examine, QString());
    examine->setFlat(true);
    examine->setIconSize(kPictureSize / 2);
    examine->setMinimumSize(kPictureSize / 2 + QSize(12, 12));
    examine->setAccessibleName(tr("Examine: start the first examination available"));
    examine->setToolTip(tr("Start the first examination available"));
    connect(examine, &QPushButton::clicked, this, &MainDialog::onExamine);

    struct CommandButton {
        MainButton id;
        const char* text;
        Command command;
    };
    const CommandButton commandButtons[] = {
        {MainButton::Systematic, QT_TR_NOOP("Systematic Examination"), Command::ExamineSystematic},
        {MainButton::InOrder, QT_TR_NOOP("Examination in Order"), Command::ExamineInOrder},
        {MainButton::Random, QT_TR_NOOP("Ex. in Random Order"), Command::ExamineRandom},
        {MainButton::WrongWords, QT_TR_NOOP("Examine Wrong Words"), Command::ExamineWrongWords},
        {MainButton::NewCard, QT_TR_NOOP("New Card"), Command::NewCards},
        {MainButton::Overview, QT_TR_NOOP("Overview"), Command::Overview},
        {MainButton::Exchange, QT_TR_NOOP(" Question <-> Answer"), Command::Exchange},
    };
    QPushButton* buttons[std::size(commandButtons)];
    for (std::size_t i = 0; i < std::size(commandButtons); ++i) {
        const CommandButton& entry = commandButtons[i];
        QPushButton* button = makeButton(entry.id, tr(entry.text));
        button->setEnabled(false);
        const Command command = entry.command;
        connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
        buttons[i] = button;
    }

    auto* counters = new QGroupBox(this);
    auto* counterLayout = new QGridLayout(counters);
    auto addCounter = [&](int row, const QString& label, const char* name) {
        auto* caption = new QLabel(label, counters);
        auto* value = new QLabel("0", counters);
        value->setObjectName(name);
        // A screen reader reads the name: the number itself, with the caption as its
        // description.
        value->setAccessibleDescription(label);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(80);
        counterLayout->addWidget(caption, row, 0);
        counterLayout->addWidget(value, row, 1);
        return value;
    };
    cardCount_ = addCounter(0, tr("Number of cards"), "cardCounter");
    knownCount_ = addCounter(1, tr("Known cards"), "knownCounter");
    dueCount_ = addCounter(2, tr("Due today"), "dueCounter");
    memoryRefresh_ = new QTimer(this);
    memoryRefresh_->setSingleShot(true);
    memoryRefresh_->setInterval(0);
    connect(memoryRefresh_, &QTimer::timeout, this, &MainDialog::refreshMemoryViews);
    connect(&session_->schedule(), &ReviewSchedule::changed, this, &MainDialog::scheduleChanged);
    refreshDueCount();

    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(buttons[0]);
    upperRow->addWidget(buttons[1]);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(buttons[2]);
    lowerRow->addWidget(buttons[3]);
    auto* right = new QVBoxLayout;
    right->addLayout(upperRow);
    right->addWidget(examine, 0, Qt::AlignHCenter);
    right->addLayout(lowerRow);
    right->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(cardBox);
    top->addLayout(right);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(counters);
    bottom->addStretch();
    bottom->addWidget(buttons[4]);
    bottom->addWidget(buttons[5]);
    bottom->addWidget(buttons[6]);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(top);
    layout->addLayout(bottom);

    // Keyboard order: the picture buttons, the examinations, then the bottom row.
    QWidget* order[] = {cardBox,    buttons[0], buttons[1], examine,   buttons[2],
                        buttons[3], buttons[4], buttons[5], buttons[6]};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstPaintDone_) {
        firstPaintDone_ = true;
        // Opening a list may show dialogs; run it once the window is up, not inside the event.
        QMetaObject::invokeMethod(this, &MainDialog::firstPaint, Qt::QueuedConnection);
    }
}

void MainDialog::firstPaint() {
    filledBox_ = loadPicture(":/pictures/filled_box.svg");
    if (filledBox_.isNull())
        ::showError(Msg::PictureFailed);
    emptyBox_ = loadPicture(":/pictures/empty_box.svg");
    question_ = loadPicture(":/pictures/question.svg");
    board_->button(MainButton::CardBox)->setIcon(QIcon(emptyBox_));
    board_->button(MainButton::Examine)->setIcon(QIcon(question_));
    board_->button(MainButton::Examine)->setFocus();
    refreshCounters();
    if (!startupList_.isEmpty())
        session_->openList(startupList_);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The close box quits; when the user cancels the save question the window stays.
    event->ignore();
    session_->quit();
}

void MainDialog::reject() {
    // Escape leaves the main window as it is.
}

void MainDialog::runCommand(Command command) {
    ListSession& session = *session_;
    switch (command) {
        case Command::About:
            showAbout();
            break;
        case Command::UserGuide:
            openUserGuide(this, QCoreApplication::applicationDirPath());
            break;
        case Command::ListLanguages:
            askListLanguages(session, this);
            break;
        case Command::NewList:
            session.newList();
            break;
        case Command::OpenList:
            session.openListCommand();
            break;
        case Command::CloseList:
            session.closeList();
            break;
        case Command::SaveList:
            session.saveList();
            break;
        case Command::SaveListAs:
            session.saveListAs();
            break;
        case Command::ExportCards:
        case Command::ExportQuestions:
        case Command::ExportAnswers:
            session.exportList(command);
            break;
        case Command::Import:
            ImportDialog::run(session, *windows_, this);
            break;
        case Command::Export:
            exportForOtherTrainers(session);
            break;
        case Command::Preferences:
            showPreferences();
            break;
        case Command::Quit:
            session.quit();
            break;
        case Command::QuestionFont:
        case Command::AnswerFont:
            session.chooseDocumentFont(command);
            break;
        case Command::ExamineSystematic:
        case Command::ExamineInOrder:
        case Command::ExamineRandom:
        case Command::ExamineWrongWords:
        case Command::ExamineKnownWords:
        case Command::LessonInOrder:
        case Command::LessonRandom:
        case Command::LessonSystematic:
        case Command::LevelInOrder:
        case Command::DueCards:
            openExamination(command);
            break;
        case Command::NewCards:
            openNewCardDialog();
            break;
        case Command::Sort:
            session.sortList();
            break;
        case Command::Exchange:
            session.exchange();
            break;
        case Command::ChooseLevel:
            openLevelChooser();
            break;
        case Command::ModifyCards:
            ModifyCardDialog::open(session, *windows_, this);
            break;
        case Command::Overview:
            if (OverviewDialog* overview =
                    OverviewDialog::open(session, *board_, *windows_, this)) {
                // The columns of due date and recall, only for a list with a history.
                const MemoryModelSource source = memoryModelSource(false);
                if (source.history)
                    overview->setMemoryColumns(source.dueMs, source.recall);
            }
            break;
        case Command::Statistics:
            StatisticsDialog::open(session, *windows_, this);
            break;
        case Command::Progress:
            ProgressDialog::open(memoryModelSource(), *windows_, this);
            break;
        case Command::OptimiseMemoryModel:
            OptimiseRun::start(memoryModelSource(), *windows_, this);
            break;
        case Command::ChooseLesson:
            LessonChooser::open(session, *board_, this);
            break;
        case Command::Print:
            printCardList(this, session.store());
            break;
    }
}

MemoryModelSource MainDialog::memoryModelSource(bool withDueTimes) const {
    if (memoryModelSource_)
        return memoryModelSource_();
    return session_->schedule().memoryModelSource(withDueTimes);
}

void MainDialog::onCardBox() {
    runCommand(session_->hasCards() ? Command::SaveList : Command::OpenList);
}

void MainDialog::onExamine() {
    for (Command command :
         {Command::ExamineSystematic, Command::ExamineRandom, Command::ExamineInOrder}) {
        if (board_->isEnabled(command)) {
            runCommand(command);
            return;
        }
    }
    prompts().beep(400, 100);
}

void MainDialog::onListOpened() {
    const CardStore& store = session_->store();
    board_->applyListOpened(store.unknownList.count(), store.knownList.count());
    const int unknown = store.unknownList.count();
    if (unknown > 20) {
        runCommand(Command::ExamineSystematic);
    } else if (unknown > 3) {
        runCommand(Command::ExamineInOrder);
    }
    refreshCounters();
    update();
}

void MainDialog::showAbout() {
    AboutDialog dialog(this);
    prompts().execDialog(&dialog);
}

void MainDialog::showPreferences() {
    PreferencesDialog dialog(session_->preferences(), this);
    prompts().execDialog(&dialog);
    session_->applySchedulePreferences();
    prepareSpeech(session_->preferences());
}

void MainDialog::refreshCounters() {
    const CardStore& store = session_->store();
    const int unknown = store.unknownList.count();
    const int known = store.knownList.count();
    cardCount_->setText(QString::number(unknown + known));
    knownCount_->setText(QString::number(known));
    const bool hasCards = unknown > 0 || known > 0;
    board_->button(MainButton::CardBox)->setIcon(QIcon(hasCards ? filledBox_ : emptyBox_));
}

void MainDialog::refreshDueCount() {
    // Without a list or a history there is nothing to count: a dash, not a 0 that would
    // say all is learnt.
    const ReviewSchedule& schedule = session_->schedule();
    const bool available = schedule.available();
    dueCount_->setText(available ? QString::number(schedule.dueTodayCount(schedule.now()))
                                 : QStringLiteral("\u2014"));
    dueCount_->setToolTip(schedule.unavailableReason());
}

void MainDialog::scheduleChanged() {
    // Only a change of history switches Due Cards: an answer in a Due Cards window must
    // leave the command greyed while that window is open.
    const bool available = session_->schedule().available();
    if (available != dueCardsOffered_) {
        dueCardsOffered_ = available;
        board_->setCommandEnabled(Command::DueCards, available);
    }
    memoryRefresh_->start();
}

void MainDialog::refreshMemoryViews() {
    refreshDueCount();
    auto* overview = windows_->find<OverviewDialog>(WindowKind::Overview);
    auto* progress = windows_->find<ProgressDialog>(WindowKind::Progress);
    if (overview == nullptr && progress == nullptr)
        return;
    const MemoryModelSource source = memoryModelSource(progress != nullptr);
    if (overview != nullptr) {
        if (source.history)
            overview->setMemoryColumns(source.dueMs, source.recall);
        else
            overview->setMemoryColumns({}, {});
    }
    if (progress != nullptr)
        progress->follow(source);
}

void MainDialog::openNewCardDialog() {
    new NewCardDialog(*session_, *board_, *windows_, this);
}

void MainDialog::openExamination(Command command) {
    const ExaminationCommand* entry = examinationCommand(command);
    if (entry == nullptr)
        return;

    // A lesson examination runs at most once per kind: the lesson chooser gives its
    // command again after every choice, and that brings the running window to the front.
    const WindowKind kind = ExaminationDialog::windowKindOf(command);
    if (kind != WindowKind::Examination && windows_->raise(kind))
        return;
    ExaminationDialog::open(*session_, *board_, *windows_, this, command, entry->kind,
                            entry->button);
}

void MainDialog::openLevelChooser() {
    LevelChooserDialog dialog(session_->store(), board_->action(Command::LevelInOrder), this);
    if (prompts().execDialog(&dialog) == QDialog::Accepted)
        runCommand(Command::LevelInOrder);
}
