#include "session/command_board.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "core/message_ids.h"
#include "platform/string_table.h"

CommandHold::CommandHold(QAction* action, QPushButton* button)
    : action_(action), button_(button), held_(true) {
    if (action_)
        action_->setEnabled(false);
    if (button_)
        button_->setEnabled(false);
}

CommandHold::~CommandHold() {
    release();
}

CommandHold::CommandHold(CommandHold&& other) noexcept
    : action_(other.action_), button_(other.button_), held_(other.held_) {
    other.held_ = false;
}

CommandHold& CommandHold::operator=(CommandHold&& other) noexcept {
    if (this != &other) {
        release();
        action_ = other.action_;
        button_ = other.button_;
        held_ = other.held_;
        other.held_ = false;
    }
    return *this;
}

void CommandHold::holdButton(QPushButton* button) {
    button_ = button;
    if (held_ && button_) {
        button_->setEnabled(false);
        button_->update();
    }
}

void CommandHold::release() {
    if (!held_)
        return;
    held_ = false;
    if (action_)
        action_->setEnabled(true);
    if (button_) {
        button_->setEnabled(true);
        button_->update();
    }
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

struct MenuItem {
    Command command;
    const char* text;
    bool enabled;
    std::optional<QKeySequence::StandardKey> key = std::nullopt;
    const char* commonKey = nullptr;
};

struct MenuDefinition {
    const char* title;
    const char* objectName;
    // A separator stands before every item whose text is null.
    std::initializer_list<MenuItem> items;
};

constexpr Command kSeparator = static_cast<Command>(0);

const MenuDefinition kMenus[] = {
    {QT_TRANSLATE_NOOP("CommandBoard", "&File"),
     "menuFile",
     {
         {Command::NewList, QT_TRANSLATE_NOOP("CommandBoard", "&New List..."), true,
          QKeySequence::New, "Ctrl+N"},
         {Command::OpenList, QT_TRANSLATE_NOOP("CommandBoard", "&Open List..."), true,
          QKeySequence::Open, "Ctrl+O"},
         {Command::Import, QT_TRANSLATE_NOOP("CommandBoard", "&Import..."), true},
         {Command::CloseList, QT_TRANSLATE_NOOP("CommandBoard", "&Close List"), false,
          QKeySequence::Close, "Ctrl+W"},
         {Command::SaveList, QT_TRANSLATE_NOOP("CommandBoard", "&Save List..."), false,
          QKeySequence::Save, "Ctrl+S"},
         {Command::SaveListAs, QT_TRANSLATE_NOOP("CommandBoard", "Save List &As..."), false,
          QKeySequence::SaveAs, "Ctrl+Shift+S"},
         {kSeparator, nullptr, false},
         {Command::ExportCards, QT_TRANSLATE_NOOP("CommandBoard", "&Export Cards..."), false},
         {Command::ExportQuestions, QT_TRANSLATE_NOOP("CommandBoard", "Export Question..."), false},
         {Command::ExportAnswers, QT_TRANSLATE_NOOP("CommandBoard", "Export Answer..."), false},
         {Command::Export, QT_TRANSLATE_NOOP("CommandBoard", "E&xport..."), false},
         {kSeparator, nullptr, false},
         {Command::Print, QT_TRANSLATE_NOOP("CommandBoard", "&Print..."), false,
          QKeySequence::Print, "Ctrl+P"},
         {kSeparator, nullptr, false},
         {Command::Preferences, QT_TRANSLATE_NOOP("CommandBoard", "&Preferences..."), true},
         {kSeparator, nullptr, false},
         {Command::Quit, QT_TRANSLATE_NOOP("CommandBoard", "&Quit"), true, QKeySequence::Quit,
          "Ctrl+Q"},
     }},
    {QT_TRANSLATE_NOOP("CommandBoard", "&Edit"),
     "menuEdit",
     {
         {Command::QuestionFont, QT_TRANSLATE_NOOP("CommandBoard", "Font of the Question..."),
          true},
         {Command::AnswerFont, QT_TRANSLATE_NOOP("CommandBoard", "Font of the Answer..."), true},
     }},
    {QT_TRANSLATE_NOOP("CommandBoard", "&Examination"),
     "menuExamination",
     {
         {Command::ExamineSystematic,
          QT_TRANSLATE_NOOP("CommandBoard", "Systematic Examination..."), false},
         {kSeparator, nullptr, false},
         {Command::ExamineInOrder, QT_TRANSLATE_NOOP("CommandBoard", "Examination in &Order..."),
          false},
         {Command::ExamineRandom,
          QT_TRANSLATE_NOOP("CommandBoard", "Examination in &Random Order..."), false},
         {kSeparator, nullptr, false},
         {Command::ExamineWrongWords,
          QT_TRANSLATE_NOOP("CommandBoard", "Examination of &Wrong Words"), false},
     }},
    {QT_TRANSLATE_NOOP("CommandBoard", "&Cards"),
     "menuCards",
     {
         {Command::NewCards, QT_TRANSLATE_NOOP("CommandBoard", "&New Cards..."), false},
         {Command::ModifyCards, QT_TRANSLATE_NOOP("CommandBoard", "&Modify Cards..."), false},
         {kSeparator, nullptr, false},
         {Command::Sort, QT_TRANSLATE_NOOP("CommandBoard", "&Sort"), false},
         {Command::Exchange, QT_TRANSLATE_NOOP("CommandBoard", "&Exchange Question and Answer"),
          false},
         {kSeparator, nullptr, false},
         {Command::Overview, QT_TRANSLATE_NOOP("CommandBoard", "&Overview..."), false},
         {Command::Statistics, QT_TRANSLATE_NOOP("CommandBoard", "S&tatistics..."), false},
         {Command::Progress, QT_TRANSLATE_NOOP("CommandBoard", "&Progress..."), false},
         {Command::OptimiseMemoryModel,
          QT_TRANSLATE_NOOP("CommandBoard", "Optimise Memory &Model..."), false},
         {kSeparator, nullptr, false},
         {Command::ListLanguages, QT_TRANSLATE_NOOP("CommandBoard", "&Languages of the List..."),
          false},
     }},
    {QT_TRANSLATE_NOOP("CommandBoard", "&Special Examination"),
     "menuSpecialExamination",
     {
         {Command::ExamineKnownWords,
          QT_TRANSLATE_NOOP("CommandBoard", "Examination of the &Known Words..."), false},
         {kSeparator, nullptr, false},
         {Command::ChooseLesson, QT_TRANSLATE_NOOP("CommandBoard", "&Choose a Lesson..."), false},
         {kSeparator, nullptr, false},
         {Command::LessonInOrder, QT_TRANSLATE_NOOP("CommandBoard", "Lesson in &Order..."), false},
         {Command::LessonRandom, QT_TRANSLATE_NOOP("CommandBoard", "Lesson in &Random Order..."),
          false},
         {Command::LessonSystematic,
          QT_TRANSLATE_NOOP("CommandBoard", "Lesson - &Systematic Examination..."), false},
         {kSeparator, nullptr, false},
         {Command::ChooseLevel, QT_TRANSLATE_NOOP("CommandBoard", "Choose a &Level..."), false},
         {kSeparator, nullptr, false},
         {Command::LevelInOrder, QT_TRANSLATE_NOOP("CommandBoard", "Level in order..."), false},
         {kSeparator, nullptr, false},
         {Command::DueCards, QT_TRANSLATE_NOOP("CommandBoard", "&Due Cards..."), false,
          std::nullopt, "Ctrl+D"},
     }},
    // Linux desktops have no window menu to put About into; a Help menu at the end of the
    // menu bar is where people look for it, and for the guide.
    {QT_TRANSLATE_NOOP("CommandBoard", "&Help"),
     "menuHelp",
     {
         {Command::UserGuide, QT_TRANSLATE_NOOP("CommandBoard", "&User Guide"), true,
          QKeySequence::HelpContents, "F1"},
     }},
};

}  // namespace

std::optional<MainButton> buttonOf(Command command) {
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
            return std::nullopt;
    }
}

QString objectNameOf(Command command) {
    switch (command) {
        case Command::About:
            return QStringLiteral("aboutAction");
        case Command::SaveList:
            return QStringLiteral("saveListAction");
        case Command::ExamineKnownWords:
            return QStringLiteral("examineKnownWordsAction");
        case Command::LessonSystematic:
            return QStringLiteral("lessonSystematicAction");
        case Command::DueCards:
            return QStringLiteral("dueCardsAction");
        case Command::Print:
            return QStringLiteral("printAction");
        case Command::NewCards:
            return QStringLiteral("newCardsAction");
        case Command::Overview:
            return QStringLiteral("overviewAction");
        case Command::Statistics:
            return QStringLiteral("statisticsAction");
        case Command::NewList:
            return QStringLiteral("newListAction");
        case Command::OpenList:
            return QStringLiteral("openListAction");
        case Command::CloseList:
            return QStringLiteral("closeListAction");
        case Command::SaveListAs:
            return QStringLiteral("saveListAsAction");
        case Command::ExportCards:
            return QStringLiteral("exportCardsAction");
        case Command::ExportQuestions:
            return QStringLiteral("exportQuestionsAction");
        case Command::ExportAnswers:
            return QStringLiteral("exportAnswersAction");
        case Command::Preferences:
            return QStringLiteral("preferencesAction");
        case Command::Quit:
            return QStringLiteral("quitAction");
        case Command::ExamineInOrder:
            return QStringLiteral("examineInOrderAction");
        case Command::ExamineRandom:
            return QStringLiteral("examineRandomAction");
        case Command::ExamineWrongWords:
            return QStringLiteral("examineWrongWordsAction");
        case Command::ExamineSystematic:
            return QStringLiteral("examineSystematicAction");
        case Command::Sort:
            return QStringLiteral("sortAction");
        case Command::Exchange:
            return QStringLiteral("exchangeAction");
        case Command::ModifyCards:
            return QStringLiteral("modifyCardsAction");
        case Command::ChooseLesson:
            return QStringLiteral("chooseLessonAction");
        case Command::LessonInOrder:
            return QStringLiteral("lessonInOrderAction");
        case Command::LessonRandom:
            return QStringLiteral("lessonRandomAction");
        case Command::ChooseLevel:
            return QStringLiteral("chooseLevelAction");
        case Command::LevelInOrder:
            return QStringLiteral("levelInOrderAction");
        case Command::QuestionFont:
            return QStringLiteral("questionFontAction");
        case Command::AnswerFont:
            return QStringLiteral("answerFontAction");
        case Command::Import:
            return QStringLiteral("importAction");
        case Command::Export:
            return QStringLiteral("exportAction");
        case Command::UserGuide:
            return QStringLiteral("userGuideAction");
        case Command::Progress:
            return QStringLiteral("progressAction");
        case Command::OptimiseMemoryModel:
            return QStringLiteral("optimiseMemoryModelAction");
        case Command::ListLanguages:
            return QStringLiteral("listLanguagesAction");
    }
    return QStringLiteral("command%1").arg(static_cast<int>(command));
}

QString objectNameOf(MainButton button) {
    switch (button) {
        case MainButton::Examine:
            return QStringLiteral("examineButton");
        case MainButton::CardBox:
            return QStringLiteral("cardBoxButton");
        case MainButton::Systematic:
            return QStringLiteral("systematicButton");
        case MainButton::InOrder:
            return QStringLiteral("inOrderButton");
        case MainButton::Random:
            return QStringLiteral("randomButton");
        case MainButton::WrongWords:
            return QStringLiteral("wrongWordsButton");
        case MainButton::NewCard:
            return QStringLiteral("newCardButton");
        case MainButton::Overview:
            return QStringLiteral("overviewButton");
        case MainButton::Exchange:
            return QStringLiteral("exchangeButton");
    }
    return QStringLiteral("button%1").arg(static_cast<int>(button));
}

CommandBoard::CommandBoard(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("commandBoard"));
}

void CommandBoard::buildMenus(QMenuBar* menuBar) {
    auto add = [this](QMenu* menu, const QString& text, Command command, bool enabled) {
        auto* action = new QAction(text, this);
        action->setObjectName(objectNameOf(command));
        action->setEnabled(enabled);
        menu->addAction(action);
        actions_[command] = action;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
        return action;
    };
    for (const MenuDefinition& definition : kMenus) {
        QMenu* menu = menuBar->addMenu(tr(definition.title));
        menu->setObjectName(QString::fromLatin1(definition.objectName));
        for (const MenuItem& item : definition.items) {
            if (item.text == nullptr) {
                menu->addSeparator();
                continue;
            }
            QAction* action = add(menu, tr(item.text), item.command, item.enabled);
            if (item.key)
                action->setShortcuts(standardKeys(*item.key, item.commonKey));
            else if (item.commonKey != nullptr)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.commonKey)));
        }
    }

    // The button Qt shows when the window is too narrow for every menu.
    if (auto* more = menuBar->findChild<QWidget*>("qt_menubar_ext_button"))
        more->setAccessibleName(tr("More menus"));

    const QString about = stringText(Msg::AboutItem);
    if (!about.isEmpty())
        add(menuBar->findChild<QMenu*>("menuHelp"), about, Command::About, true);
}

void CommandBoard::bindButton(MainButton id, QPushButton* button) {
    buttons_[id] = button;
}

QAction* CommandBoard::action(Command command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QPushButton* CommandBoard::button(MainButton id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second.data();
}

void CommandBoard::setCommandEnabled(Command command, bool enabled) {
    if (QAction* a = action(command))
        a->setEnabled(enabled);
}

void CommandBoard::setButtonEnabled(MainButton id, bool enabled) {
    if (QPushButton* b = button(id)) {
        b->setEnabled(enabled);
        b->update();
    }
}

void CommandBoard::enableCommand(Command command, bool enabled) {
    setCommandEnabled(command, enabled);
    if (const std::optional<MainButton> id = buttonOf(command))
        setButtonEnabled(*id, enabled);
}

bool CommandBoard::isEnabled(Command command) const {
    const QAction* a = action(command);
    return a != nullptr && a->isEnabled();
}

CommandHold CommandBoard::hold(Command command, std::optional<MainButton> id) {
    return CommandHold(action(command), id ? button(*id) : nullptr);
}

void CommandBoard::run(Command command) {
    emit commandRequested(command);
}

void CommandBoard::applyNoList() {
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
          Command::LessonRandom,  Command::LessonSystematic,  Command::LevelInOrder,
          Command::DueCards,      Command::ListLanguages}) {
        setCommandEnabled(command, false);
    }
    setCommandEnabled(Command::Export, false);
    // The history belongs to an open list.
    setCommandEnabled(Command::Progress, false);
    setCommandEnabled(Command::OptimiseMemoryModel, false);
    for (MainButton id :
         {MainButton::InOrder, MainButton::Random, MainButton::Systematic, MainButton::WrongWords,
          MainButton::NewCard, MainButton::Exchange, MainButton::Overview}) {
        setButtonEnabled(id, false);
    }
}

void CommandBoard::applyListOpened(int unknownCount, int knownCount) {
    setCommandEnabled(Command::CloseList, true);
    setCommandEnabled(Command::OpenList, false);
    setCommandEnabled(Command::NewList, false);
    for (Command command :
         {Command::SaveList, Command::SaveListAs, Command::ExportCards, Command::ExportQuestions,
          Command::ExportAnswers, Command::Export, Command::Preferences, Command::Quit}) {
        setCommandEnabled(command, true);
    }
    setCommandEnabled(Command::NewCards, true);
    setButtonEnabled(MainButton::NewCard, true);
    setCommandEnabled(Command::Overview, true);
    setCommandEnabled(Command::Progress, true);
    setCommandEnabled(Command::OptimiseMemoryModel, true);
    setCommandEnabled(Command::ListLanguages, true);
    if (unknownCount >= 1) {
        setCommandEnabled(Command::Print, true);
        setButtonEnabled(MainButton::InOrder, true);
        setCommandEnabled(Command::ExamineInOrder, true);
        setButtonEnabled(MainButton::Random, true);
        setCommandEnabled(Command::ExamineRandom, true);
        if (unknownCount > 10) {
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
    if (knownCount >= 1)
        setCommandEnabled(Command::ExamineKnownWords, true);
}

void CommandBoard::applyNewList() {
    setCommandEnabled(Command::OpenList, false);
    setCommandEnabled(Command::CloseList, false);
    setCommandEnabled(Command::Overview, true);
    setCommandEnabled(Command::Progress, true);
    setCommandEnabled(Command::OptimiseMemoryModel, true);
    setCommandEnabled(Command::ListLanguages, true);
}

void CommandBoard::applyWrongListJoined() {
    enableCommand(Command::ExamineWrongWords);
}

void CommandBoard::applyCardMovedToKnown() {
    enableCommand(Command::ExamineKnownWords);
}

void CommandBoard::applyWrongListEmptied() {
    enableCommand(Command::ExamineWrongWords, false);
}

void CommandBoard::applyKnownListEmptied() {
    enableCommand(Command::ExamineKnownWords, false);
}

void CommandBoard::applyCardEntered(int unknownCount) {
    enterCards(unknownCount - 1, unknownCount);
}

void CommandBoard::applyCardsImported(int unknownBefore, int unknownAfter, bool listBegun) {
    if (listBegun) {
        applyNewList();
        // The states New List leaves once its new-card window is closed: that window greys
        // New List for good and gives back New Cards.
        setCommandEnabled(Command::NewList, false);
        setCommandEnabled(Command::NewCards, true);
        setButtonEnabled(MainButton::NewCard, true);
    }
    enterCards(unknownBefore, unknownAfter);
}

void CommandBoard::enterCards(int unknownBefore, int unknownAfter) {
    for (Command command : {Command::CloseList, Command::SaveList, Command::SaveListAs,
                            Command::ExportCards, Command::ExportQuestions, Command::ExportAnswers,
                            Command::Export, Command::Print, Command::ListLanguages}) {
        setCommandEnabled(command, true);
    }
    setButtonEnabled(MainButton::Overview, true);
    setButtonEnabled(MainButton::Exchange, true);
    // Equality on purpose: an examination switches on when the list reaches its size while
    // cards are typed, and not when the list was already past it. Cards that arrive
    // together count as typed one after the other, so every size passed on the way counts.
    const auto reached = [&](int size) { return unknownBefore < size && size <= unknownAfter; };
    if (reached(1)) {
        setCommandEnabled(Command::ExamineInOrder, true);
        setButtonEnabled(MainButton::InOrder, true);
    }
    if (reached(4)) {
        setCommandEnabled(Command::ExamineRandom, true);
        setButtonEnabled(MainButton::Random, true);
    }
    if (reached(11)) {
        setCommandEnabled(Command::ExamineSystematic, true);
        setButtonEnabled(MainButton::Systematic, true);
    }
    for (Command command : {Command::Sort, Command::Exchange, Command::ModifyCards,
                            Command::Statistics, Command::ChooseLesson, Command::ChooseLevel}) {
        setCommandEnabled(command, true);
    }
}

void CommandBoard::applyLessonChosen(int chosen) {
    setCommandEnabled(Command::LessonInOrder, true);
    setCommandEnabled(Command::LessonRandom, true);
    if (chosen > 10)
        setCommandEnabled(Command::LessonSystematic, true);
}
