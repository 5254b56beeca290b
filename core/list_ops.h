#pragma once

#include <cstdint>
#include <string_view>

#include "core/answer_outcome.h"
#include "core/card_store.h"
#include "core/host.h"
#include "core/preferences.h"

// The operations on the card lists and the document that the rest of the program calls.

// Creates a card with the four texts exactly as given and inserts it into the list.
Card& addCard(CardStore& store, CardList& target, std::string_view question,
              std::string_view answer, std::string_view lesson, std::string_view addInfo);
bool containsId(const CardList& list, int32_t id);
int countCards(const CardList& list);
void clearList(CardList& list);
void appendAll(CardList& target, const CardList& source);
void selectByLesson(const CardList& source, CardList& target, std::string_view lesson);
void selectByLevel(const CardList& source, CardList& target, int32_t level);
void exchangeQuestionAndAnswer(CardList& list);

// The effect of an answer on the card, its counters and the lists. A right answer that
// reaches the maximum level asks the known-card question.
AnswerOutcome recordRightAnswer(CardStore& store, Card& card, int32_t questionNumber,
                                const Preferences& preferences, Host& host);
AnswerOutcome recordWrongAnswer(CardStore& store, Card& card, int32_t questionNumber);

// Ends the program (message 173) at the first card whose texts exceed their capacities.
void checkList(const CardList& list, Host& host);

enum class SortKey { Question = 0, Answer = 1, Level = 2, Lesson = 3, Id = 4 };
void sortList(CardStore& store, CardList& list, SortKey key, Host& host);

// Discards every card of the document and empties all lists.
void clearDocument(CardStore& store);
