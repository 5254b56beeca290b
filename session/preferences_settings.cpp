#include "session/preferences_settings.h"

#include "platform/settings_store.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

// The stored number as one of the enum's values 0..last, or the default for anything
// else (a later version's value, text, nothing).
template <typename Enum>
Enum readEnum(const SettingsStore& store, const QString& section, const char* name, Enum last,
              Enum fallback) {
    const std::optional<int> stored = store.readNumber(section, key(name));
    if (!stored || *stored < 0 || *stored > static_cast<int>(last))
        return fallback;
    return static_cast<Enum>(*stored);
}

}  // namespace

void loadPreferences(Preferences& preferences, const SettingsStore& store) {
    const QString section = key(PrefsKey::Section);
    const Preferences defaults;
    const auto flag = [&](const char* name, bool fallback) {
        return store.readNumber(section, key(name)).value_or(fallback ? 1 : 0) != 0;
    };
    const auto number = [&](const char* name, int32_t fallback, int32_t low, int32_t high) {
        return std::clamp(store.readNumber(section, key(name)).value_or(fallback), low, high);
    };
    preferences.allWords = flag(PrefsKey::AllWords, defaults.allWords);
    preferences.strictOrder = flag(PrefsKey::StrictOrder, defaults.strictOrder);
    preferences.maxLevel =
        store.readNumber(section, key(PrefsKey::MaxLevel)).value_or(defaults.maxLevel);
    preferences.showAddInfo =
        store.readNumber(section, key(PrefsKey::ShowAddInfo)).value_or(defaults.showAddInfo);
    // The path is kept as UTF-8 so that any path survives the round trip unchanged.
    preferences.applicationPath = store.readText(section, key(PrefsKey::ApplicationPath))
                                      .value_or(QString::fromStdString(defaults.applicationPath))
                                      .toStdString();
    preferences.ignoreCase = flag(PrefsKey::IgnoreCase, defaults.ignoreCase);
    preferences.ignoreAccents = flag(PrefsKey::IgnoreAccents, defaults.ignoreAccents);
    preferences.direction =
        readEnum(store, section, PrefsKey::Direction, DirectionChoice::Mixed, defaults.direction);
    preferences.answerForm = readEnum(store, section, PrefsKey::AnswerForm,
                                      AnswerForm::MixedLetters, defaults.answerForm);
    preferences.speechControls = flag(PrefsKey::SpeechControls, defaults.speechControls);
    preferences.speakQuestion = flag(PrefsKey::SpeakQuestion, defaults.speakQuestion);
    preferences.speakAnswer = flag(PrefsKey::SpeakAnswer, defaults.speakAnswer);
    preferences.automaticSpeech = flag(PrefsKey::AutomaticSpeech, defaults.automaticSpeech);
    preferences.speechRate = number(PrefsKey::SpeechRate, defaults.speechRate,
                                    Preferences::kSlowestSpeech, Preferences::kFastestSpeech);
    preferences.speechVolume = number(PrefsKey::SpeechVolume, defaults.speechVolume, 0, 100);
    preferences.desiredRetention =
        number(PrefsKey::DesiredRetention, defaults.desiredRetention, Preferences::kLowestRetention,
               Preferences::kHighestRetention);
    preferences.maximumInterval = number(PrefsKey::MaximumInterval, defaults.maximumInterval, 1,
                                         Preferences::kLongestInterval);
    preferences.newCardsPerDay =
        number(PrefsKey::NewCardsPerDay, defaults.newCardsPerDay, 0, Preferences::kMostNewCards);
    preferences.dailyGoal =
        number(PrefsKey::DailyGoal, defaults.dailyGoal, 0, Preferences::kMostNewCards);
}

void savePreferences(const Preferences& preferences, SettingsStore& store) {
    const QString section = key(PrefsKey::Section);
    store.writeNumber(section, key(PrefsKey::AllWords), preferences.allWords ? 1 : 0);
    store.writeNumber(section, key(PrefsKey::StrictOrder), preferences.strictOrder ? 1 : 0);
    store.writeNumber(section, key(PrefsKey::MaxLevel), preferences.maxLevel);
    store.writeNumber(section, key(PrefsKey::ShowAddInfo), preferences.showAddInfo);
    store.writeText(section, key(PrefsKey::ApplicationPath),
                    QString::fromStdString(preferences.applicationPath));
    const Preferences defaults;
    for (const auto& [name, value, fallback] :
         {std::tuple{PrefsKey::IgnoreCase, int32_t{preferences.ignoreCase}, int32_t{0}},
          std::tuple{PrefsKey::IgnoreAccents, int32_t{preferences.ignoreAccents}, int32_t{0}},
          std::tuple{PrefsKey::SpeechControls, int32_t{preferences.speechControls},
                     int32_t{defaults.speechControls}},
          std::tuple{PrefsKey::SpeakQuestion, int32_t{preferences.speakQuestion},
                     int32_t{defaults.speakQuestion}},
          std::tuple{PrefsKey::SpeakAnswer, int32_t{preferences.speakAnswer},
                     int32_t{defaults.speakAnswer}},
          std::tuple{PrefsKey::AutomaticSpeech, int32_t{preferences.automaticSpeech},
                     int32_t{defaults.automaticSpeech}},
          std::tuple{PrefsKey::SpeechRate, preferences.speechRate, defaults.speechRate},
          std::tuple{PrefsKey::SpeechVolume, preferences.speechVolume, defaults.speechVolume},
          std::tuple{PrefsKey::DesiredRetention, preferences.desiredRetention,
                     defaults.desiredRetention},
          std::tuple{PrefsKey::MaximumInterval, preferences.maximumInterval,
                     defaults.maximumInterval},
          std::tuple{PrefsKey::NewCardsPerDay, preferences.newCardsPerDay, defaults.newCardsPerDay},
          std::tuple{PrefsKey::DailyGoal, preferences.dailyGoal, defaults.dailyGoal},
          std::tuple{PrefsKey::Direction, static_cast<int32_t>(preferences.direction),
                     static_cast<int32_t>(defaults.direction)},
          std::tuple{PrefsKey::AnswerForm, static_cast<int32_t>(preferences.answerForm),
                     static_cast<int32_t>(defaults.answerForm)}}) {
        if (value != fallback)
            store.writeNumber(section, key(name), value);
        else
            store.remove(section, key(name));
    }
    store.sync();
}
