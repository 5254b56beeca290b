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
}  // namespace PrefsKey

// Fills every field from the store; a value that is missing or unreadable gives the
// field's default. The max level is taken as stored, without a range check.
void loadPreferences(Preferences& preferences, const SettingsStore& store);
// Writes all five values, changed or not. A failed write is not reported: the
// preferences are written while the program ends, when nobody could act on it.
void savePreferences(const Preferences& preferences, SettingsStore& store);
