#include "session/card_export.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>

#include "core/card_store.h"
#include "core/exchange_text.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "core/safe_file.h"
#include "platform/messages.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "session/card_import.h"
#include "session/list_session.h"
#include "session/review_schedule.h"

namespace {

// The texts of the export, under a name the translation tools see.
struct CardExport {
    Q_DECLARE_TR_FUNCTIONS(CardExport)
};

QString filter(const QString& description, const QString& extension) {
    return QString("%1 (*.%2 *.%3)").arg(description, extension, extension.toUpper());
}

}  // namespace

std::vector<CardRecord> cardRecordsOf(const CardStore& store) {
    std::vector<CardRecord> records;
    records.reserve(static_cast<std::size_t>(store.unknownList.count()) +
                    static_cast<std::size_t>(store.knownList.count()));
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            records.push_back({std::string(card->question()), std::string(card->answer()),
                               std::string(card->lesson()), std::string(card->addInfo()),
                               card->level, card->timesAsked, card->timesWrong});
        });
    }
    return records;
}

ExportTarget exportTargetOf(const QString& chosenPath, int chosenFilter) {
    ExportTarget target{chosenPath, chosenFilter == 1   ? ExchangeFormat::Kvtml
                                    : chosenFilter == 2 ? ExchangeFormat::AnkiPackage
                                                        : ExchangeFormat::Text};
    static const char* const kSuffixes[] = {".txt", ".kvtml", ".apkg"};
    if (QFileInfo(chosenPath).suffix().isEmpty())
        target.path += kSuffixes[static_cast<int>(target.format)];
    return target;
}

namespace {

constexpr int64_t kDaySeconds = 24 * 60 * 60;

// Whole days from one time to another, in milliseconds; at least one.
int32_t daysBetween(int64_t fromMs, int64_t toMs) {
    return static_cast<int32_t>(std::clamp<int64_t>((toMs - fromMs) / (kDaySeconds * 1000), 1,
                                                    std::numeric_limits<int32_t>::max()));
}

// Every answer of the exported cards into Anki's review log, in the order given; each
// answer's interval is the time to the card's next answer (or, for its last, to when it
// falls due), as Anki logs the interval it scheduled.
void addReviews(AnkiExport& data, ReviewHistory& history,
                const std::unordered_map<CardKey, std::size_t>& cardOfKey,
                const std::vector<std::optional<StoredCardState>>& states) {
    std::vector<std::optional<std::size_t>> latest(data.cards.size());
    history.forEachReview([&](const StoredReview& stored) {
        const auto found = cardOfKey.find(stored.entry.card);
        if (found == cardOfKey.end())
            return true;
        const std::size_t card = found->second;
        AnkiExportReview review;
        review.card = card;
        review.timeMs = stored.entry.timeMs;
        review.ease = static_cast<int32_t>(stored.entry.rating);
        review.takenMs = stored.entry.durationMs;
        if (latest[card]) {
            AnkiExportReview& before = data.reviews[*latest[card]];
            before.interval = daysBetween(before.timeMs, review.timeMs);
            review.lastInterval = before.interval;
            review.type = 1;  // review
            review.factor = 2500;
        } else {
            review.type = 0;  // learning: the first answer
        }
        latest[card] = data.reviews.size();
        data.reviews.push_back(review);
        return true;
    });
    for (std::size_t card = 0; card < latest.size(); ++card) {
        if (latest[card] && states[card]) {
            AnkiExportReview& last = data.reviews[*latest[card]];
            last.interval = daysBetween(last.timeMs, states[card]->dueMs);
        }
    }
    for (const AnkiExportReview& review : data.reviews) {
        AnkiExportState* state =
            data.cards[review.card].state ? &*data.cards[review.card].state : nullptr;
        if (state == nullptr)
            continue;
        ++state->reps;
        if (review.ease == 1 && review.type == 1)
            ++state->lapses;
    }
}

}  // namespace

AnkiExport ankiExportOf(const CardStore& store, int64_t nowSeconds, ReviewSchedule* schedule) {
    AnkiExport data;
    data.nowSeconds = nowSeconds;
    const bool untitled = store.fileName == CardStore::kUntitled;
    const QString name =
        untitled ? CardExport::tr("Kartomatrix")
                 : QFileInfo(QFile::decodeName(QByteArray::fromStdString(store.fileName)))
                       .completeBaseName();
    data.deckName = name.toStdString();
    const bool withHistory = schedule != nullptr && schedule->history() != nullptr;
    std::vector<const Card*> cards;
    std::vector<std::optional<StoredCardState>> states;
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            cards.push_back(card);
            states.push_back(withHistory ? schedule->stateOf(*card) : std::nullopt);
        });
    }
    // Anki counts due days from the collection's day zero: the day of the earliest time
    // written, so that no day number is negative.
    int64_t createdSeconds = nowSeconds;
    for (const auto& state : states) {
        if (state)
            createdSeconds = std::min(createdSeconds, state->lastReviewMs / 1000);
    }
    createdSeconds -= ((createdSeconds % kDaySeconds) + kDaySeconds) % kDaySeconds;
    data.createdSeconds = createdSeconds;
    const int64_t today = (nowSeconds - createdSeconds) / kDaySeconds;

    // A card that came from an Anki note, or was exported before, goes out under that note's
    // guid, so that Anki updates the note and an import back finds the card.
    std::map<std::tuple<int32_t, std::string, std::string>, std::string, std::less<>>
        rememberedGuid;
    if (withHistory) {
        for (const auto& [key, value] :
             schedule->history()->valuesStartingWith(kAnkiNoteKeyPrefix)) {
            if (auto note = rememberedNoteOf(value))
                rememberedGuid.emplace(
                    std::tuple(note->number, std::move(note->question), std::move(note->answer)),
                    key.substr(kAnkiNoteKeyPrefix.size()));
        }
    }
    std::set<std::string> guids;

    std::unordered_map<CardKey, std::size_t> cardOfKey;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const Card* card = cards[i];
        AnkiExportCard out;
        out.question = card->question();
        out.answer = card->answer();
        out.lesson = card->lesson();
        out.identity = data.deckName + '\n' + std::to_string(card->id);
        if (withHistory) {
            const auto found =
                rememberedGuid.find(std::tuple(card->id, card->question(), card->answer()));
            out.guid = found != rememberedGuid.end() ? found->second : ankiGuidFor(out.identity);
            // Two cards of one identity would become one note; the second gets a guid of its
            // own, as the writer would give it.
            for (int n = 1; !guids.insert(out.guid).second; ++n)
                out.guid = ankiGuidFor(out.identity + "#" + std::to_string(n));
        }
        if (card->level > 0) {
            AnkiExportState state;
            state.interval = 1 << std::min(card->level - 1, 15);
            state.due = today + state.interval;
            if (states[i]) {
                state.due =
                    std::max<int64_t>(0, (states[i]->dueMs / 1000 - createdSeconds) / kDaySeconds);
                state.memory = AnkiMemoryState{static_cast<float>(states[i]->stability),
                                               static_cast<float>(states[i]->difficulty)};
            }
            out.state = state;
        }
        if (withHistory) {
            if (const CardKey key = schedule->keyOf(*card); key != kNoCardKey)
                cardOfKey.emplace(key, i);
        }
        data.cards.push_back(std::move(out));
    }
    if (!withHistory)
        return data;
    addReviews(data, *schedule->history(), cardOfKey, states);
    const FsrsParameters& parameters = schedule->parameters();
    if (parameters.w != kFsrsDefaultWeights) {
        data.fsrsParameters.assign(parameters.w.begin(), parameters.w.end());
        data.desiredRetention = static_cast<float>(parameters.desiredRetention);
    }
    return data;
}

void rememberExportedNotes(ReviewSchedule& schedule, const CardStore& store,
                           const AnkiExport& exported) {
    ReviewHistory* history = schedule.history();
    if (history == nullptr)
        return;
    std::vector<std::pair<std::string, std::string>> values;
    std::size_t i = 0;
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            if (i < exported.cards.size() && !exported.cards[i].guid.empty()) {
                values.emplace_back(
                    kAnkiNoteKeyPrefix + exported.cards[i].guid,
                    rememberedNoteValue(card->id, card->question(), card->answer()));
            }
            ++i;
        });
    }
    // Not being able to remember them costs only a second copy of each note on import.
    history->importReviews({}, values);
}

KvtmlExportOptions kvtmlOptionsOf(const CardStore& store, int32_t maxLevel) {
    KvtmlExportOptions options;
    options.maxLevel = maxLevel;
    options.practiceDate = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    if (store.fileName == CardStore::kUntitled)
        return options;
    const QString name =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(store.fileName))).completeBaseName();
    options.title = name.toStdString();
    if (const auto languages = languagesInListName(options.title)) {
        options.questionLanguage = languages->first;
        options.answerLanguage = languages->second;
    } else {
        options.questionLanguage = CardExport::tr("%1: questions").arg(name).toStdString();
        options.answerLanguage = CardExport::tr("%1: answers").arg(name).toStdString();
    }
    return options;
}

FileFailure writeExchangeFile(const std::string& path, ExchangeFormat format,
                              std::span<const CardRecord> cards,
                              const KvtmlExportOptions& options) {
    SafeFile file(path);
    if (!file.open())
        return file.failure();
    const bool written = format == ExchangeFormat::Kvtml ? writeKvtml(file, cards, options)
                                                         : writeExchangeText(file, cards);
    if (!written)
        return FileFailure::CannotWrite;
    if (!file.commit())
        return file.failure() == FileFailure::None ? FileFailure::CannotWrite : file.failure();
    return FileFailure::None;
}

void exportForOtherTrainers(ListSession& session) {
    FileRequest request;
    request.title = stringText(Msg::ExportTitle);
    request.filters = {filter(CardExport::tr("Text for other trainers"), "txt"),
                       filter(CardExport::tr("KDE vocabulary file"), "kvtml"),
                       filter(CardExport::tr("Anki package"), "apkg")};
    request.defaultSuffix = "txt";
    const FileChoice choice = prompts().saveFile(session.dialogParent(), request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            showError(Msg::SaveFailed);
        return;
    }
    const ExportTarget target = exportTargetOf(choice.path, choice.filter);
    // The dialog asked about replacing the name it was given, not about the one with the
    // extension added here.
    if (target.path != choice.path && QFileInfo::exists(target.path) &&
        prompts().question(
            session.dialogParent(), PromptIcon::Exclamation, stringText(Msg::ExportTitle),
            CardExport::tr("%1 already exists.\nDo you want to replace it?").arg(target.path),
            false) != PromptAnswer::Yes) {
        return;
    }
    const std::string path = QFile::encodeName(target.path).toStdString();
    const CardStore& store = session.store();
    const KvtmlExportOptions options = kvtmlOptionsOf(store, session.preferences().maxLevel);
    FileFailure failure = FileFailure::None;
    if (target.format == ExchangeFormat::AnkiPackage) {
        const AnkiExport data =
            ankiExportOf(store, QDateTime::currentSecsSinceEpoch(), &session.schedule());
        failure = writeAnkiPackage(path, data).ok() ? FileFailure::None : FileFailure::CannotWrite;
        if (failure == FileFailure::None)
            rememberExportedNotes(session.schedule(), store, data);
    } else {
        failure = writeExchangeFile(path, target.format, cardRecordsOf(store), options);
    }
    switch (failure) {
        case FileFailure::None:
            return;
        case FileFailure::ReadOnly:
            showErrorText(
                CardExport::tr("%1 is read-only. The cards were not exported.").arg(target.path));
            return;
        case FileFailure::NotRegularFile:
            showErrorText(
                CardExport::tr("%1 is a folder, a device or a pipe, not a file. The cards were "
                               "not exported.")
                    .arg(target.path));
            return;
        default:
            showErrorText(CardExport::tr("The cards could not be written to %1; the folder may be "
                                         "read-only or the disk full. Nothing was changed.")
                              .arg(target.path));
            return;
    }
}
