// The main window's side of the examinations: opening examination windows, the lesson
// windows it remembers, the level chooser and the known-card question.
#include <QDialog>
#include <optional>

#include "app/main_dialog.h"
#include "session/open_windows.h"
#include "exam/examination_dialog.h"
#include "exam/known_card_dialog.h"
#include "exam/level_chooser_dialog.h"
#include "platform/prompts.h"

namespace {

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
};

const ExaminationCommand* examinationCommand(Command command) {
    for (const ExaminationCommand& entry : kExaminationCommands) {
        if (entry.command == command)
            return &entry;
    }
    return nullptr;
}

}  // namespace

KnownCardChoice MainDialog::askKnownCard(const Card&) {
    KnownCardDialog dialog(this);
    return prompts().execDialog(&dialog) == QDialog::Accepted ? KnownCardChoice::Keep
                                                              : KnownCardChoice::Known;
}

void MainDialog::openExamination(Command command) {
    const ExaminationCommand* entry = examinationCommand(command);
    if (entry == nullptr)
        return;

    // A lesson examination runs at most once per kind: the lesson chooser gives its
    // command again after every choice, and that brings the running window to the front.
    QPointer<QWidget>* remembered = nullptr;
    switch (command) {
        case Command::LessonSystematic:
            remembered = &lessonSystematic_;
            break;
        case Command::LessonInOrder:
            remembered = &lessonInOrder_;
            break;
        case Command::LessonRandom:
            remembered = &lessonRandom_;
            break;
        default:
            break;
    }
    if (remembered && OpenWindowList::instance().contains(remembered->data())) {
        QWidget* window = remembered->data();
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
        return;
    }

    ExaminationDialog* window = ExaminationDialog::open(*this, command, entry->kind, entry->button);
    if (remembered)
        *remembered = window;
}

void MainDialog::openLevelChooser() {
    LevelChooserDialog dialog(store_, action(Command::LevelInOrder), this);
    if (prompts().execDialog(&dialog) == QDialog::Accepted)
        runCommand(Command::LevelInOrder);
}
