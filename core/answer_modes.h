#pragma once

#include <cstdint>

// Which side of a card is asked. The numbers are stored in the preferences and in the
// review history; they never change.
enum class Direction : uint8_t { QuestionToAnswer = 0, AnswerToQuestion = 1 };

// The direction the user chose for examinations: one of the two for every card, or each
// card's own drawn at random.
enum class DirectionChoice : uint8_t { QuestionToAnswer = 0, AnswerToQuestion = 1, Mixed = 2 };

// How the learner gives the answer. The numbers are stored in the preferences.
enum class AnswerForm : uint8_t { Typed = 0, FlashCard = 1, MultipleChoice = 2, MixedLetters = 3 };
