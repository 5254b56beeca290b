#include "app/main_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
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

#include "app/about_dialog.h"
#include "app/document_info_dialog.h"
#include "session/open_windows.h"
#include "session/preferences_settings.h"
#include "app/preferences_dialog.h"
#include "editing/new_card_dialog.h"
#include "core/orders.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/preferences.h"

// The pictures live in the window library; a static library must register them itself.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

// The desktop's keys for a standard command, and the common one on a desktop whose theme
// names none (as without GNOME or KDE, where Quit and Save As have no key of their own).
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char* common) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    const QKeySequence usual(QString::fromLatin1(common));
    if (!keys.contains(usual))
        keys.append(usual);
    return keys;
}

MainDialog* theMainDialog = nullptr;

constexpr QSize kPictureSize(256, 192);

// The main-window button that follows a menu command, where there is one.
MainButton buttonOf(Command command, bool* found) {
    *found = true;
    switch (command) {
        case Command::ExamineSystematic:
            return MainButton::Systematic;
        case Command::ExamineInOrder:
            return MainButton::InOrder;
        case Command::ExamineRandom:
            return MainButton::Random;
        case Command::ExamineWrongWords:
            return MainButton::WrongWords;
        case Command::NewCards:
            return MainButton::NewCard;
        case Command::Exchange:
            return MainButton::Exchange;
        default:
            *found = false;
            return MainButton::Examine;
    }
}

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

}  // namespace

MainDialog::MainDialog(CardStore& store, Preferences& preferences, const LogFont& documentFont,
                       QWidget* parent)
    : QDialog(parent),
      store_(store),
      preferences_(preferences),
      recentDraws_(std::make_unique<RecentDraws>()) {
    initResources();
    theMainDialog = this;
    setObjectName("mainDialog");
    setWindowTitle("Kartomatrix");
    setWindowIcon(QIcon(":/icons/kartomatrix.svg"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setFonts(documentFont, documentFont);
    buildMenu();
    buildControls();
}

MainDialog::~MainDialog() {
    // The windows opened from here give back menu items and buttons when they go, so they
    // must go while those still exist.
    const auto windows = findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    for (QDialog* window : windows)
        delete window;
    if (theMainDialog == this)
        theMainDialog = nullptr;
}

MainDialog* MainDialog::instance() {
    return theMainDialog;
}

QAction* MainDialog::addCommand(QMenu* menu, const QString& text, Command command, bool enabled) {
    auto* action = menu->addAction(text);
    action->setObjectName(QString("command%1").arg(static_cast<int>(command)));
    action->setEnabled(enabled);
    actions_[command] = action;
    menus_[command] = menu;
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    return action;
}

void MainDialog::buildMenu() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);

    QMenu* file = menuBar_->addMenu("&File");
    file->setObjectName("menuFile");
    addCommand(file, "&New List...", Command::NewList, true)
        ->setShortcuts(standardKeys(QKeySequence::New, "Ctrl+N"));
    addCommand(file, "&Open List...", Command::OpenList, true)
        ->setShortcuts(standardKeys(QKeySequence::Open, "Ctrl+O"));
    addCommand(file, "&Close List", Command::CloseList, false)
        ->setShortcuts(standardKeys(QKeySequence::Close, "Ctrl+W"));
    addCommand(file, "&Save List...", Command::SaveList, false)
        ->setShortcuts(standardKeys(QKeySequence::Save, "Ctrl+S"));
    addCommand(file, "Save List &As...", Command::SaveListAs, false)
        ->setShortcuts(standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    file->addSeparator();
    addCommand(file, "&Export Cards...", Command::ExportCards, false);
    addCommand(file, "Export Question...", Command::ExportQuestions, false);
    addCommand(file, "Export Answer...", Command::ExportAnswers, false);
    file->addSeparator();
    addCommand(file, "&Print...", Command::Print, false)
        ->setShortcuts(standardKeys(QKeySequence::Print, "Ctrl+P"));
    file->addSeparator();
    addCommand(file, "&Preferences...", Command::Preferences, true);
    file->addSeparator();
    addCommand(file, "&Quit", Command::Quit, true)
        ->setShortcuts(standardKeys(QKeySequence::Quit, "Ctrl+Q"));

    QMenu* edit = menuBar_->addMenu("&Edit");
    edit->setObjectName("menuEdit");
    addCommand(edit, "Font of the Question...", Command::QuestionFont, true);
    addCommand(edit, "Font of the Answer...", Command::AnswerFont, true);

    QMenu* exam = menuBar_->addMenu("&Examination");
    exam->setObjectName("menuExamination");
    addCommand(exam, "Systematic Examination...", Command::ExamineSystematic, false);
    exam->addSeparator();
    addCommand(exam, "Examination in &Order...", Command::ExamineInOrder, false);
    addCommand(exam, "Examination in &Random Order...", Command::ExamineRandom, false);
    exam->addSeparator();
    addCommand(exam, "Examination of &Wrong Words", Command::ExamineWrongWords, false);

    QMenu* cards = menuBar_->addMenu("&Cards");
    cards->setObjectName("menuCards");
    addCommand(cards, "&New Cards...", Command::NewCards, false);
    addCommand(cards, "&Modify Cards...", Command::ModifyCards, false);
    cards->addSeparator();
    addCommand(cards, "&Sort", Command::Sort, false);
    addCommand(cards, "&Exchange Question and Answer", Command::Exchange, false);
    cards->addSeparator();
    addCommand(cards, "&Overview...", Command::Overview, false);
    addCommand(cards, "S&tatistics...", Command::Statistics, false);

    QMenu* special = menuBar_->addMenu("&Special Examination");
    special->setObjectName("menuSpecialExamination");
    addCommand(special, "Examination of the &Known Words...", Command::ExamineKnownWords, false);
    special->addSeparator();
    addCommand(special, "&Choose a Lesson...", Command::ChooseLesson, false);
    special->addSeparator();
    addCommand(special, "Lesson in &Order...", Command::LessonInOrder, false);
    addCommand(special, "Lesson in &Random Order...", Command::LessonRandom, false);
    addCommand(special, "Lesson - &Systematic Examination...", Command::LessonSystematic, false);
    special->addSeparator();
    addCommand(special, "Choose a &Level...", Command::ChooseLevel, false);
    special->addSeparator();
    addCommand(special, "Level in order...", Command::LevelInOrder, false);

    // The button Qt shows when the window is too narrow for every menu.
    if (auto* more = menuBar_->findChild<QWidget*>("qt_menubar_ext_button")) {
        more->setAccessibleName("More menus");
    }

    // Linux desktops have no window menu to put About into; a Help menu at the end of the
    // menu bar is where people look for it.
    const QString about = stringText(Msg::AboutItem);
    if (!about.isEmpty()) {
        QMenu* help = menuBar_->addMenu("&Help");
        help->setObjectName("menuHelp");
        addCommand(help, about, Command::About, true);
    }
}

void MainDialog::buildControls() {
    auto makeButton = [this](MainButton id, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString("button%1").arg(static_cast<int>(id)));
        // As in any dialog, Enter presses the button that has the focus; elsewhere the
        // card box.
        button->setAutoDefault(true);
        buttons_[id] = button;
        return button;
    };

    QPushButton* cardBox = makeButton(MainButton::CardBox, QString());
    cardBox->setFlat(true);
    cardBox->setDefault(true);
    cardBox->setIconSize(kPictureSize);
    cardBox->setMinimumSize(kPictureSize + QSize(12, 12));
    cardBox->setAccessibleName("Card box: save the list, or open a list when there is none");
    cardBox->setToolTip("Save the list (open a list when there is none)");
    connect(cardBox, &QPushButton::clicked, this, &MainDialog::onCardBox);

    QPushButton* examine = makeButton(MainButton::Examine, QString());
    examine->setFlat(true);
    examine->setIconSize(kPictureSize / 2);
    examine->setMinimumSize(kPictureSize / 2 + QSize(12, 12));
    examine->setAccessibleName("Examine: start the first examination available");
    examine->setToolTip("Start the first examination available");
    connect(examine, &QPushButton::clicked, this, &MainDialog::onExamine);

    struct CommandButton {
        MainButton id;
        const char* text;
        Command command;
    };
    const CommandButton commandButtons[] = {
        {MainButton::Systematic, "Systematic Examination", Command::ExamineSystematic},
        {MainButton::InOrder, "Examination in Order", Command::ExamineInOrder},
        {MainButton::Random, "Ex. in Random Order", Command::ExamineRandom},
        {MainButton::WrongWords, "Examine Wrong Words", Command::ExamineWrongWords},
        {MainButton::NewCard, "New Card", Command::NewCards},
        {MainButton::Overview, "Overview", Command::Overview},
        {MainButton::Exchange, " Question <-> Answer", Command::Exchange},
    };
    for (const auto& entry : commandButtons) {
        QPushButton* button = makeButton(entry.id, entry.text);
        button->setEnabled(false);
        const Command command = entry.command;
        connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
    }

    auto* counters = new QGroupBox(this);
    auto* counterLayout = new QGridLayout(counters);
    auto addCounter = [&](int row, const QString& label, const char* name) {
        auto* caption = new QLabel(label, counters);
        auto* value = new QLabel("0", counters);
        value->setObjectName(name);
        value->setAccessibleName(label);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(80);
        counterLayout->addWidget(caption, row, 0);
        counterLayout->addWidget(value, row, 1);
        return value;
    };
    cardCount_ = addCounter(0, "Number of cards", "counter1018");
    knownCount_ = addCounter(1, "Known cards", "counter1019");

    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(buttons_[MainButton::Systematic]);
    upperRow->addWidget(buttons_[MainButton::InOrder]);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(buttons_[MainButton::Random]);
    lowerRow->addWidget(buttons_[MainButton::WrongWords]);
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
    bottom->addWidget(buttons_[MainButton::NewCard]);
    bottom->addWidget(buttons_[MainButton::Overview]);
    bottom->addWidget(buttons_[MainButton::Exchange]);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addLayout(top);
    layout->addLayout(bottom);

    // Keyboard order: the picture buttons, the examinations, then the bottom row.
    setTabOrder(cardBox, buttons_[MainButton::Systematic]);
    setTabOrder(buttons_[MainButton::Systematic], buttons_[MainButton::InOrder]);
    setTabOrder(buttons_[MainButton::InOrder], examine);
    setTabOrder(examine, buttons_[MainButton::Random]);
    setTabOrder(buttons_[MainButton::Random], buttons_[MainButton::WrongWords]);
    setTabOrder(buttons_[MainButton::WrongWords], buttons_[MainButton::NewCard]);
    setTabOrder(buttons_[MainButton::NewCard], buttons_[MainButton::Overview]);
    setTabOrder(buttons_[MainButton::Overview], buttons_[MainButton::Exchange]);
}

QAction* MainDialog::action(Command command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QPushButton* MainDialog::button(MainButton id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QMenu* MainDialog::menuOf(Command command) const {
    auto it = menus_.find(command);
    return it == menus_.end() ? nullptr : it->second;
}

void MainDialog::setCommandEnabled(Command command, bool enabled) {
    if (QAction* a = action(command))
        a->setEnabled(enabled);
}

void MainDialog::setButtonEnabled(MainButton id, bool enabled) {
    if (QPushButton* b = button(id)) {
        b->setEnabled(enabled);
        b->update();
    }
}

void MainDialog::setFonts(LogFont question, LogFont answer) {
    questionFont_ = std::move(question);
    answerFont_ = std::move(answer);
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
    button(MainButton::CardBox)->setIcon(QIcon(emptyBox_));
    button(MainButton::Examine)->setIcon(QIcon(question_));
    button(MainButton::Examine)->setFocus();
    refreshCounters();
    if (!startupList_.isEmpty())
        openList(startupList_);
}

void MainDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The close box quits; when the user cancels the save question the window stays.
    event->ignore();
    quit();
}

void MainDialog::reject() {
    // Escape leaves the main window as it is.
}

void MainDialog::runCommand(Command command) {
    switch (command) {
        case Command::About:
            showAbout();
            break;
        case Command::NewList:
            newList();
            break;
        case Command::OpenList:
            openListCommand();
            break;
        case Command::CloseList:
            closeList();
            break;
        case Command::SaveList:
            saveList();
            break;
        case Command::SaveListAs:
            saveListAs();
            break;
        case Command::ExportCards:
        case Command::ExportQuestions:
        case Command::ExportAnswers:
            exportList(command);
            break;
        case Command::Preferences:
            showPreferences();
            break;
        case Command::Quit:
            quit();
            break;
        case Command::QuestionFont:
        case Command::AnswerFont:
            chooseDocumentFont(command);
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
            openExamination(command);
            break;
        case Command::NewCards:
            openNewCardDialog();
            break;
        case Command::Sort:
            sortList();
            break;
        case Command::Exchange:
            exchange();
            break;
        case Command::ChooseLevel:
            openLevelChooser();
            break;
        case Command::ModifyCards:
            openModifyDialog();
            break;
        case Command::Overview:
            openOverview();
            break;
        case Command::Statistics:
            openStatistics();
            break;
        case Command::ChooseLesson:
            openLessonChooser();
            break;
        case Command::Print:
            printList();
            break;
    }
}

void MainDialog::onCardBox() {
    if (!store_.unknownList.empty() || !store_.knownList.empty()) {
        runCommand(Command::SaveList);
    } else {
        runCommand(Command::OpenList);
    }
}

void MainDialog::onExamine() {
    for (Command command :
         {Command::ExamineSystematic, Command::ExamineRandom, Command::ExamineInOrder}) {
        if (action(command)->isEnabled()) {
            runCommand(command);
            return;
        }
    }
    prompts().beep(400, 100);
}

void MainDialog::showAbout() {
    AboutDialog dialog(this);
    prompts().execDialog(&dialog);
}

void MainDialog::refreshCounters() {
    const int unknown = store_.unknownList.count();
    const int known = store_.knownList.count();
    cardCount_->setText(QString::number(unknown + known));
    knownCount_->setText(QString::number(known));
    const bool hasCards = unknown > 0 || known > 0;
    button(MainButton::CardBox)->setIcon(QIcon(hasCards ? filledBox_ : emptyBox_));
}

void MainDialog::showError(int messageId) {
    ::showError(messageId);
}
void MainDialog::showNotice(int messageId) {
    ::showNotice(messageId);
}
void MainDialog::showErrorText(std::string_view text) {
    ::showErrorText(fromCardText(text));
}
void MainDialog::fatalError(int messageId) {
    ::fatalError(messageId);
}

void MainDialog::enableCommand(Command command) {
    setCommandEnabled(command, true);
    bool hasButton = false;
    const MainButton id = buttonOf(command, &hasButton);
    if (hasButton)
        setButtonEnabled(id, true);
}

bool MainDialog::fontUsable(const LogFont& font) {
    return ::fontUsable(font);
}

LogFont MainDialog::chooseFont(const LogFont& preset) {
    return prompts().chooseFont(this, preset);
}

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Each filter is "Description (patterns)": the dialog shows the description, and the
// patterns take both spellings of the extension, as case matters on this system.
QString filter(const QString& description, const QString& extension) {
    return QString("%1 (*.%2 *.%3)").arg(description, extension, extension.toUpper());
}

}  // namespace

void MainDialog::openListCommand() {
    checkList(store_.unknownList, *this);
    checkList(store_.knownList, *this);
    FileRequest request;
    request.title = stringText(Msg::OpenTitle);
    request.filters = {filter("Kartomatrix Files (*.KMX)", "kmx"),
                       filter("Text Files (*.TXT)", "txt")};
    request.defaultSuffix = "kmx";
    const FileChoice choice = prompts().openFile(this, request);
    if (!choice.path.isEmpty()) {
        openList(choice.path);
    } else if (choice.errorCode != 0) {
        ::showError(Msg::OpenFailed);
    }
}

void MainDialog::openList(const QString& path) {
    if (path.isEmpty())
        return;
    LogFont question = questionFont_;
    LogFont answer = answerFont_;
    const DocumentInfo info =
        readListFile(localPath(path), store_, store_.unknownList, question, answer, *this);
    if (info.status == 1) {
        ::showError(Msg::Unspecified);
        return;
    }
    setFonts(question, answer);
    showDocumentInfo(info, this);
    store_.fileName = localPath(path);
    applyListOpenedState();
    const int unknown = store_.unknownList.count();
    if (unknown > 20) {
        runCommand(Command::ExamineSystematic);
    } else if (unknown > 3) {
        runCommand(Command::ExamineInOrder);
    }
    refreshCounters();
    update();
    listStartTime_ = processMilliseconds();
}

void MainDialog::saveList() {
    if (store_.fileName == CardStore::kUntitled) {
        saveListAs();
        return;
    }
    const DocumentInfo info =
        writeListFile(store_.fileName, store_, questionFont_, answerFont_, fontLog(), *this);
    if (info.status == 1)
        ::showError(Msg::SaveFailed);
    showDocumentInfo(info, this);
}

void MainDialog::saveListAs() {
    FileRequest request;
    request.title = stringText(Msg::SaveAsTitle);
    request.filters = {filter("Kartomatrix-File", "kmx")};
    request.defaultSuffix = "kmx";
    request.initialName = CardStore::kUntitled;
    const FileChoice choice = prompts().saveFile(this, request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            ::showError(Msg::SaveFailed);
        return;
    }
    const std::string path = localPath(choice.path);
    const DocumentInfo info =
        writeListFile(path, store_, questionFont_, answerFont_, fontLog(), *this);
    if (info.status == 1)
        ::showError(Msg::SaveFailed);
    store_.fileName = path;
    showDocumentInfo(info, this);
}

void MainDialog::exportList(Command command) {
    FileRequest request;
    request.title = stringText(Msg::ExportTitle);
    request.filters = {filter("text file", "txt")};
    request.defaultSuffix = "txt";
    const FileChoice choice = prompts().saveFile(this, request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            ::showError(Msg::SaveFailed);
        return;
    }
    const std::string path = localPath(choice.path);
    DocumentInfo info;
    if (command == Command::ExportCards) {
        info = exportCards(path, store_, *this);
    } else if (command == Command::ExportQuestions) {
        info = exportQuestions(path, store_, *this);
    } else {
        info = exportAnswers(path, store_, *this);
    }
    if (info.status == 1)
        ::showError(Msg::SaveFailed);
}

void MainDialog::showPreferences() {
    PreferencesDialog dialog(preferences_, this);
    prompts().execDialog(&dialog);
}

FontDebugLog& MainDialog::fontLog() {
    // One log for the whole run (there is one main window): its entries are numbered
    // since the program started.
    if (!fontLog_)
        fontLog_ = std::make_unique<FontDebugLog>(*this);
    return *fontLog_;
}
void MainDialog::openNewCardDialog() {
    new NewCardDialog(*this);
}

void MainDialog::newList() {
    setCommandEnabled(Command::OpenList, false);
    setCommandEnabled(Command::CloseList, false);
    setCommandEnabled(Command::Overview, true);
    openNewCardDialog();
    listStartTime_ = processMilliseconds();
}

bool MainDialog::askToSave(bool saveAsAlways) {
    if (!store_.modified)
        return true;
    switch (askYesNoCancel(this, Msg::SaveBeforeClose, Msg::CautionCaption)) {
        case PromptAnswer::Cancel:
            return false;
        case PromptAnswer::Yes:
            if (saveAsAlways) {
                saveListAs();
            } else {
                saveList();
            }
            // A save that failed or was cancelled leaves the cards unsaved: going on would
            // throw them away after the user asked to keep them, so the command ends here as
            // with Cancel. A document without cards, which is never written, has nothing
            // to lose.
            return !store_.modified || (store_.unknownList.empty() && store_.knownList.empty());
        default:
            return true;
    }
}

void MainDialog::closeList() {
    if (!askToSave(true))
        return;
    clearDocument(store_);
    OpenWindowList::instance().closeAll();
    applyNoListState();
    refreshCounters();
    update();
}

void MainDialog::quit() {
    if (!askToSave(false))
        return;
    {
        SettingsStore settings;
        savePreferences(preferences_, settings);
        settings.sync();
    }
    exitProcess(0);
}

void MainDialog::sortList() {
    ::sortList(store_, store_.unknownList, SortKey::Question, *this);
}

void MainDialog::exchange() {
    exchangeQuestionAndAnswer(store_.unknownList);
    exchangeQuestionAndAnswer(store_.knownList);
    setFonts(answerFont_, questionFont_);
}

void MainDialog::chooseDocumentFont(Command command) {
    const bool isQuestion = command == Command::QuestionFont;
    const LogFont current = isQuestion ? questionFont_ : answerFont_;
    const LogFont chosen = prompts().chooseFont(this, current);
    if (!::fontUsable(chosen)) {
        // The font cannot be made: keep the one there was.
        prompts().beep(400, 400);
        return;
    }
    if (isQuestion) {
        setFonts(chosen, answerFont_);
    } else {
        setFonts(questionFont_, chosen);
    }
}

void MainDialog::applyNoListState() {
    setCommandEnabled(Command::OpenList, true);
    setCommandEnabled(Command::NewList, true);
    for (Command command :
         {Command::CloseList,     Command::SaveList,          Command::SaveListAs,
          Command::ExportCards,   Command::ExportQuestions,   Command::ExportAnswers,
          Command::Print,         Command::ExamineInOrder,    Command::ExamineSystematic,
          Command::ExamineRandom, Command::ExamineWrongWords, Command::Sort,
          Command::Exchange,      Command::ModifyCards,       Command::NewCards,
          Command::Overview,      Command::Statistics,        Command::ChooseLesson,
          Command::ChooseLevel,   Command::ExamineKnownWords, Command::LessonInOrder,
          Command::LessonRandom,  Command::LessonSystematic,  Command::LevelInOrder}) {
        setCommandEnabled(command, false);
    }
    for (MainButton id :
         {MainButton::InOrder, MainButton::Random, MainButton::Systematic, MainButton::WrongWords,
          MainButton::NewCard, MainButton::Exchange, MainButton::Overview}) {
        setButtonEnabled(id, false);
    }
}

void MainDialog::applyListOpenedState() {
    setCommandEnabled(Command::CloseList, true);
    setCommandEnabled(Command::OpenList, false);
    setCommandEnabled(Command::NewList, false);
    for (Command command :
         {Command::SaveList, Command::SaveListAs, Command::ExportCards, Command::ExportQuestions,
          Command::ExportAnswers, Command::Preferences, Command::Quit}) {
        setCommandEnabled(command, true);
    }
    setCommandEnabled(Command::NewCards, true);
    setButtonEnabled(MainButton::NewCard, true);
    setCommandEnabled(Command::Overview, true);
    const int unknown = store_.unknownList.count();
    if (unknown >= 1) {
        setCommandEnabled(Command::Print, true);
        setButtonEnabled(MainButton::InOrder, true);
        setCommandEnabled(Command::ExamineInOrder, true);
        setButtonEnabled(MainButton::Random, true);
        setCommandEnabled(Command::ExamineRandom, true);
        if (unknown > 10) {
            setCommandEnabled(Command::ExamineSystematic, true);
            setButtonEnabled(MainButton::Systematic, true);
        }
        setCommandEnabled(Command::Statistics, true);
        setCommandEnabled(Command::Sort, true);
        setButtonEnabled(MainButton::Exchange, true);
        setCommandEnabled(Command::Exchange, true);
        setButtonEnabled(MainButton::Overview, true);
        setCommandEnabled(Command::ModifyCards, true);
        setCommandEnabled(Command::ChooseLesson, true);
        setCommandEnabled(Command::ChooseLevel, true);
    }
    if (store_.knownList.count() >= 1)
        setCommandEnabled(Command::ExamineKnownWords, true);
}

void MainDialog::cardEntered() {
    for (Command command :
         {Command::CloseList, Command::SaveList, Command::SaveListAs, Command::ExportCards,
          Command::ExportQuestions, Command::ExportAnswers, Command::Print}) {
        setCommandEnabled(command, true);
    }
    setButtonEnabled(MainButton::Overview, true);
    setButtonEnabled(MainButton::Exchange, true);
    update();
    // Equality on purpose: the examinations switch on when the typed list reaches the size.
    switch (store_.unknownList.count()) {
        case 1:
            setCommandEnabled(Command::ExamineInOrder, true);
            setButtonEnabled(MainButton::InOrder, true);
            break;
        case 4:
            setCommandEnabled(Command::ExamineRandom, true);
            setButtonEnabled(MainButton::Random, true);
            break;
        case 11:
            setCommandEnabled(Command::ExamineSystematic, true);
            setButtonEnabled(MainButton::Systematic, true);
            break;
        default:
            break;
    }
    for (Command command : {Command::Sort, Command::Exchange, Command::ModifyCards,
                            Command::Statistics, Command::ChooseLesson, Command::ChooseLevel}) {
        setCommandEnabled(command, true);
    }
    refreshCounters();
}
