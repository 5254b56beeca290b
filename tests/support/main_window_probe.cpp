#include "main_window_probe.h"

#include <QAction>
#include <QPushButton>

namespace {

QString commandKey(Command command) {
    return objectNameOf(command);
}
QString buttonKey(MainButton id) {
    return objectNameOf(id);
}

}  // namespace

const std::initializer_list<Command>& allCommands() {
    static const std::initializer_list<Command> commands = {
        Command::NewList,
        Command::OpenList,
        Command::Import,
        Command::CloseList,
        Command::SaveList,
        Command::SaveListAs,
        Command::ExportCards,
        Command::ExportQuestions,
        Command::ExportAnswers,
        Command::Export,
        Command::Print,
        Command::Preferences,
        Command::Quit,
        Command::QuestionFont,
        Command::AnswerFont,
        Command::ExamineSystematic,
        Command::ExamineInOrder,
        Command::ExamineRandom,
        Command::ExamineWrongWords,
        Command::NewCards,
        Command::ModifyCards,
        Command::Sort,
        Command::Exchange,
        Command::Overview,
        Command::Statistics,
        Command::ExamineKnownWords,
        Command::ChooseLesson,
        Command::LessonInOrder,
        Command::LessonRandom,
        Command::LessonSystematic,
        Command::ChooseLevel,
        Command::LevelInOrder,
    };
    return commands;
}

const std::initializer_list<MainButton>& commandButtons() {
    static const std::initializer_list<MainButton> buttons = {
        MainButton::Systematic, MainButton::InOrder,  MainButton::Random,   MainButton::WrongWords,
        MainButton::NewCard,    MainButton::Overview, MainButton::Exchange,
    };
    return buttons;
}

ControlStates controlStates(const CommandBoard& board) {
    ControlStates states;
    for (Command command : allCommands()) {
        states[commandKey(command)] = board.action(command)->isEnabled();
    }
    for (MainButton id : commandButtons())
        states[buttonKey(id)] = board.button(id)->isEnabled();
    return states;
}

ControlStates startStates() {
    ControlStates states;
    for (Command command : allCommands())
        states[commandKey(command)] = false;
    for (Command command :
         {Command::NewList, Command::OpenList, Command::Import, Command::Preferences, Command::Quit,
          Command::QuestionFont, Command::AnswerFont}) {
        states[commandKey(command)] = true;
    }
    for (MainButton id : commandButtons())
        states[buttonKey(id)] = false;
    return states;
}

ControlStates withChanges(ControlStates base, std::initializer_list<Command> on,
                          std::initializer_list<Command> off,
                          std::initializer_list<MainButton> buttonsOn,
                          std::initializer_list<MainButton> buttonsOff) {
    for (Command command : on)
        base[commandKey(command)] = true;
    for (Command command : off)
        base[commandKey(command)] = false;
    for (MainButton id : buttonsOn)
        base[buttonKey(id)] = true;
    for (MainButton id : buttonsOff)
        base[buttonKey(id)] = false;
    return base;
}

QString describeDifferences(const ControlStates& actual, const ControlStates& expected) {
    QStringList out;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (actual.value(it.key()) != it.value()) {
            out << QString("%1 is %2, expected %3")
                       .arg(it.key(), actual.value(it.key()) ? "on" : "off",
                            it.value() ? "on" : "off");
        }
    }
    return out.join("; ");
}
