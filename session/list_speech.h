#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "core/list_languages.h"

class CardSpeech;
class ListSession;
class QHBoxLayout;
class QWidget;

// The languages of the open list. They live with the list's own data: kept by the session
// while the list is open, gone when it closes.
ListLanguages loadListLanguages(ListSession& session);
void saveListLanguages(ListSession& session, const ListLanguages& languages);

// "Languages of the List...": the dialog, preset with the list's languages or, while none
// are chosen, with a guess from the cards' texts. The choice is kept for the list; none
// when the user cancelled.
std::optional<ListLanguages> askListLanguages(ListSession& session, QWidget* parent);

// The speech of one window over the open list: it speaks in the list's languages and, the
// first time speech is wanted while the list has none, asks for them.
CardSpeech* makeCardSpeech(ListSession& session, QWidget* window);

// A row of a window's two Speak buttons (F7 the question, F8 the answer), or nullptr while
// the preference for Speak buttons is off, so that the window stays as it was.
QHBoxLayout* makeSpeakRow(CardSpeech& speech, std::function<QString()> question,
                          std::function<QString()> answer, QWidget* parent);
