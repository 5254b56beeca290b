#include "session/answer_mode_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include "core/preferences.h"

namespace {

struct ModeItem {
    int value;
    const char* text;
    const char* objectName;
};

constexpr ModeItem kDirections[] = {
    {int(DirectionChoice::QuestionToAnswer),
     QT_TRANSLATE_NOOP("AnswerModeMenus", "&Question to Answer"), "directionQuestionAction"},
    {int(DirectionChoice::AnswerToQuestion),
     QT_TRANSLATE_NOOP("AnswerModeMenus", "&Answer to Question"), "directionAnswerAction"},
    {int(DirectionChoice::Mixed), QT_TRANSLATE_NOOP("AnswerModeMenus", "&Mixed"),
     "directionMixedAction"},
};

constexpr ModeItem kForms[] = {
    {int(AnswerForm::Typed), QT_TRANSLATE_NOOP("AnswerModeMenus", "&Typed"), "formTypedAction"},
    {int(AnswerForm::FlashCard), QT_TRANSLATE_NOOP("AnswerModeMenus", "&Flash Card"),
     "formFlashCardAction"},
    {int(AnswerForm::MultipleChoice), QT_TRANSLATE_NOOP("AnswerModeMenus", "&Multiple Choice"),
     "formMultipleChoiceAction"},
    {int(AnswerForm::MixedLetters), QT_TRANSLATE_NOOP("AnswerModeMenus", "Mi&xed Letters"),
     "formMixedLettersAction"},
};

// One exclusive group of modes. The preferences are read from the settings after the menus
// are made: the check follows `current` each time the submenu opens.
template <typename Items, typename Current, typename Apply>
void addGroup(QMenu* menu, const Items& items, Current current, Apply apply) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (const ModeItem& item : items) {
        QAction* action =
            menu->addAction(QCoreApplication::translate("AnswerModeMenus", item.text));
        action->setObjectName(QString::fromLatin1(item.objectName));
        action->setCheckable(true);
        action->setChecked(item.value == current());
        group->addAction(action);
        const int value = item.value;
        QObject::connect(action, &QAction::triggered, menu, [apply, value] { apply(value); });
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &items, current] {
        const auto actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i)
            actions[i]->setChecked(items[i].value == current());
    });
}

}  // namespace

void addAnswerModeMenus(QMenu* examinationMenu, Preferences& preferences) {
    examinationMenu->addSeparator();
    QMenu* directions =
        examinationMenu->addMenu(QCoreApplication::translate("AnswerModeMenus", "&Direction"));
    directions->setObjectName(QStringLiteral("menuDirection"));
    QMenu* forms =
        examinationMenu->addMenu(QCoreApplication::translate("AnswerModeMenus", "Answer &Form"));
    forms->setObjectName(QStringLiteral("menuAnswerForm"));
    Preferences* prefs = &preferences;
    addGroup(
        directions, kDirections, [prefs] { return int(prefs->direction); },
        [prefs](int value) { prefs->direction = static_cast<DirectionChoice>(value); });
    addGroup(
        forms, kForms, [prefs] { return int(prefs->answerForm); },
        [prefs](int value) { prefs->answerForm = static_cast<AnswerForm>(value); });
}
