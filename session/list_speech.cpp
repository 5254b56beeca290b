#include "session/list_speech.h"

#include "core/review_history.h"
#include "session/review_schedule.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <string>
#include <vector>

#include "core/card_list.h"
#include "core/card_store.h"
#include "core/language_guess.h"
#include "session/card_speech.h"
#include "session/list_session.h"
#include "widgets/list_languages_dialog.h"

namespace {

// Enough texts for the guess to be sure of a script and its commonest words, and few
// enough that a list of a million cards opens the dialog at once.
constexpr int kGuessTexts = 400;

void collectTexts(const CardList& list, std::vector<std::string>& questions,
                  std::vector<std::string>& answers) {
    for (int i = list.nextOccupied(0); i >= 0 && static_cast<int>(questions.size()) < kGuessTexts;
         i = list.nextOccupied(i + 1)) {
        const Card* card = list.slot(i);
        questions.emplace_back(card->question());
        answers.emplace_back(card->answer());
    }
}

}  // namespace

// The languages are kept with the list's history, never in the list file; a list without
// a history keeps them while it is open.
ListLanguages loadListLanguages(ListSession& session) {
    if (ReviewHistory* history = session.schedule().history()) {
        if (const std::optional<std::string> stored = history->value("languages")) {
            if (const std::optional<ListLanguages> languages = ListLanguages::decode(*stored))
                return *languages;
        }
    }
    return session.listLanguages();
}

void saveListLanguages(ListSession& session, const ListLanguages& languages) {
    session.setListLanguages(languages);
    if (ReviewHistory* history = session.schedule().history())
        history->setValue("languages", languages.encode());
}

std::optional<ListLanguages> askListLanguages(ListSession& session, QWidget* parent) {
    std::vector<std::string> questions;
    std::vector<std::string> answers;
    collectTexts(session.store().unknownList, questions, answers);
    collectTexts(session.store().knownList, questions, answers);
    const ListLanguages guess = guessListLanguages(questions, answers);
    std::optional<ListLanguages> chosen =
        chooseListLanguages(parent, loadListLanguages(session), guess);
    if (chosen)
        saveListLanguages(session, *chosen);
    return chosen;
}

CardSpeech* makeCardSpeech(ListSession& session, QWidget* window) {
    auto* speech = new CardSpeech(session.preferences(), loadListLanguages(session), window);
    ListSession* owner = &session;
    speech->setLanguageChooser([owner, window] { return askListLanguages(*owner, window); });
    return speech;
}

QHBoxLayout* makeSpeakRow(CardSpeech& speech, std::function<QString()> question,
                          std::function<QString()> answer, QWidget* parent) {
    QToolButton* speakQuestion =
        speech.makeSpeakButton(CardSide::Question, std::move(question), parent);
    QToolButton* speakAnswer = speech.makeSpeakButton(CardSide::Answer, std::move(answer), parent);
    if (speakQuestion == nullptr && speakAnswer == nullptr)
        return nullptr;
    auto* row = new QHBoxLayout;
    for (QToolButton* button : {speakQuestion, speakAnswer}) {
        if (button != nullptr)
            row->addWidget(button);
    }
    row->addStretch();
    return row;
}
