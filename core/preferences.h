#pragma once

#include <cstdint>
#include <string>

#include "core/answer_modes.h"

// The user's settings, one record per process. The window side loads and saves it; the
// core reads it where a rule depends on it.
struct Preferences {
    int32_t maxLevel = 5;      // a right answer that reaches it asks whether the card is known
    int32_t showAddInfo = 0;   // examinations show the additional information when exactly 1
    bool strictOrder = false;  // the answer must equal the stored answer exactly
    bool allWords = true;      // without strict order: all words, in any order
    // Answers that differ from the stored one only in these respects count as right, and
    // the examination says what it let pass. Off by default: answers are compared exactly.
    bool ignoreCase = false;
    bool ignoreAccents = false;
    // Which side examinations ask and how the learner answers; question -> answer, typed
    // by default.
    DirectionChoice direction = DirectionChoice::QuestionToAnswer;
    AnswerForm answerForm = AnswerForm::Typed;
    std::string applicationPath;
    // Speech, all of it off by default. speechControls shows the Speak buttons and their
    // keys for the question and the answer. speakQuestion and speakAnswer speak in the
    // examination by themselves, but only while automaticSpeech is on: the one switch a
    // screen reader's user turns off so that two voices do not talk at once, which keeps the
    // other two as they are.
    bool speechControls = false;
    bool speakQuestion = false;
    bool speakAnswer = false;
    bool automaticSpeech = true;
    int32_t speechRate = 0;      // from kSlowestSpeech (slowest) to kFastestSpeech; 0 is normal
    int32_t speechVolume = 100;  // percent of full loudness

    // Due cards: the recall at which a card falls due (percent, 70..99), the longest
    // interval in days, the new cards "Due Cards" adds each day, and an opt-in daily goal
    // of answers (0: none).
    int32_t desiredRetention = 90;
    int32_t maximumInterval = 36500;
    int32_t newCardsPerDay = 20;
    int32_t dailyGoal = 0;
    static constexpr int32_t kLowestRetention = 70;
    static constexpr int32_t kHighestRetention = 99;
    static constexpr int32_t kLongestInterval = 36500;
    static constexpr int32_t kMostNewCards = 9999;
    static constexpr int32_t kSlowestSpeech = -10;
    static constexpr int32_t kFastestSpeech = 10;

    bool operator==(const Preferences&) const = default;
};
