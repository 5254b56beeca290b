#pragma once

#include "core/preferences.h"

class SettingsStore;

// The section and the names the preferences are stored under. Files of earlier versions
// use the same names, so they must never change.
namespace PrefsKey {
inline constexpr const char* Section = "PrefsSection";
inline constexpr const char* AllWords = "Allebed";
inline constexpr const char* StrictOrder = "Mussreihenf";
inline constexpr const char* MaxLevel = "Maxstufe";
inline constexpr const char* ShowAddInfo = "Bemzeigen";
inline constexpr const char* ApplicationPath = "ApplicationPath";
// Stored only while switched on, so that with them off the store reads the same to every
// version of the program.
inline constexpr const char* IgnoreCase = "IgnoreCase";
inline constexpr const char* IgnoreAccents = "IgnoreAccents";
// Stored as their numbers, and like the flags only while they differ from the default.
inline constexpr const char* Direction = "ExamDirection";
inline constexpr const char* AnswerForm = "AnswerForm";
// Speech: like the flags above, each is stored only while it differs from its default.
inline constexpr const char* SpeechControls = "SpeechControls";
inline constexpr const char* SpeakQuestion = "SpeakQuestion";
inline constexpr const char* SpeakAnswer = "SpeakAnswer";
inline constexpr const char* AutomaticSpeech = "AutomaticSpeech";
inline constexpr const char* SpeechRate = "SpeechRate";
inline constexpr const char* SpeechVolume = "SpeechVolume";
// Due cards: like the speech settings, each is stored only while it differs from its default.
inline constexpr const char* DesiredRetention = "DesiredRetention";
inline constexpr const char* MaximumInterval = "MaximumInterval";
inline constexpr const char* NewCardsPerDay = "NewCardsPerDay";
inline constexpr const char* DailyGoal = "DailyGoal";
}  // namespace PrefsKey

// Fills every field from the store; a value that is missing or unreadable gives the
// field's default, and so does a direction or answer form number this version does not
// know. The max level is taken as stored, without a range check; the speech rate and volume are
// brought into their ranges.
void loadPreferences(Preferences& preferences, const SettingsStore& store);
// Writes the five original values, changed or not, each later flag as 1 while it is set
// and the direction, the answer form and the speech settings while they are not the defaults; a
// later value at its default is taken out of the store, so that with the defaults the store holds
// exactly what it always held. A failed write is not reported: the preferences are written while
// the program ends, when nobody could act on it.
void savePreferences(const Preferences& preferences, SettingsStore& store);
