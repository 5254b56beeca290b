#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/anki_import.h"
#include "core/import_pipeline.h"
#include "tests/core/anki_package_builder.h"

namespace {

using Reason = ImportRefusal::Reason;

ImportSource sourceOf(const std::string& bytes, const std::string& name = "deck.apkg") {
    ImportReadResult read = readImportSource(bytes, name, {});
    EXPECT_TRUE(read.source) << read.refusal.detail;
    return std::move(*read.source);
}

struct ChoiceCase {
    const char* name;
    AnkiImportChoices choices;
    CardRecord first;  // note 10, the one note that is taken
};

class AnkiImportChoicesTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(AnkiImportChoicesTest, TakeOneCardPerUsableNote) {
    TempFolder folder("anki-import");
    ImportSource source = sourceOf(package(folder, Layout::Anki21));
    ASSERT_EQ(source.kind(), ImportKind::AnkiPackage);
    source.setAnkiChoices(GetParam().choices);
    EXPECT_EQ(source.counts().rows, 3u);
    EXPECT_EQ(source.counts().taken, 1u);
    EXPECT_EQ(source.row(0).candidate.card, GetParam().first);
    // The cloze note and the note with one field are listed with their reason.
    ASSERT_GE(source.counts().noted.size(), 2u);
    EXPECT_TRUE(source.row(1).candidate.has(ImportProblemKind::ClozeNote));
    EXPECT_TRUE(source.row(2).candidate.has(ImportProblemKind::OneUsableField));
    std::vector<CardRecord> taken;
    source.forEachTakenCard([&](const CardRecord& card) { taken.push_back(card); });
    EXPECT_EQ(taken, std::vector<CardRecord>{GetParam().first});
}

AnkiImportChoices swapped() {
    AnkiImportChoices c;
    c.fields[100] = {1, 0};
    c.lessons[7] = "Verbos";
    c.tags = AnkiTags::LeftOut;
    c.lineSeparator = "; ";
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnkiImportChoicesTest,
    testing::Values(
        // The deck "Spanish::Verbs" gives its last level; the review card of 12 days level 4.
        ChoiceCase{"Defaults", {}, {"hablar", "to speak & / talk", "Verbs", "verbs Lesson_1", 4}},
        ChoiceCase{"Chosen", swapped(), {"to speak &; talk", "hablar", "Verbos", "", 4}},
        ChoiceCase{"TagsAsLessons",
                   {{}, {}, AnkiTags::Lesson},
                   {"hablar", "to speak & / talk", "verbs", "", 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnkiImport, OffersTheParametersOfTheDeckWithTheNotes) {
    TempFolder folder("anki-import");
    const ImportSource source = sourceOf(package(folder, Layout::Anki21b));
    const AnkiDeckConfig* offer = ankiFsrsOffer(source.anki());
    ASSERT_NE(offer, nullptr);
    EXPECT_EQ(offer->fsrsParameters.size(), 19u);
    EXPECT_FLOAT_EQ(offer->desiredRetention.value_or(0), 0.85f);
}

TEST(AnkiImport, LongDeckNamesAreCutUnlessNamed) {
    TempFolder folder("anki-import");
    ImportSource source = sourceOf(package(folder, Layout::Anki21b));
    AnkiImportChoices choices;
    choices.lessons[7] = "Spanish::Verbs";
    source.setAnkiChoices(choices);
    EXPECT_EQ(source.row(0).candidate.card.lesson, "Spanish::V");
    EXPECT_TRUE(source.row(0).candidate.has(ImportProblemKind::TooLong));
    EXPECT_EQ(source.counts().changed, 1u);
}

struct PackageRefusalCase {
    const char* name;
    std::string fileName;
    std::function<std::string(const TempFolder&)> bytes;
    Reason reason;
};

class AnkiImportRefusals : public testing::TestWithParam<PackageRefusalCase> {};

TEST_P(AnkiImportRefusals, ImportNothing) {
    TempFolder folder("anki-refusal");
    const ImportReadResult read =
        readImportSource(GetParam().bytes(folder), GetParam().fileName, {});
    EXPECT_FALSE(read.source);
    EXPECT_EQ(read.refusal.reason, GetParam().reason);
}

std::string notZip(const TempFolder&) {
    return "hola\tadios";
}
std::string otherZip(const TempFolder& f) {
    return zipOf(f, {{"readme", "hi"}});
}
std::string damaged(const TempFolder& f) {
    return zipOf(f, {{"collection.anki2", "garbage"}});
}
std::string tooOld(const TempFolder& f) {
    return zipOf(f, {{"collection.anki2", schema11(f, 10)}});
}
std::string tooNew(const TempFolder& f) {
    return zipOf(f, {{"collection.anki2", schema11(f, 19)}});
}

// Named so, a file is refused as a package; under another name a zip is a package only
// when it holds a collection.
INSTANTIATE_TEST_SUITE_P(
    Cases, AnkiImportRefusals,
    testing::Values(PackageRefusalCase{"NotAZip", "deck.apkg", notZip, Reason::NotPackage},
                    PackageRefusalCase{"NoCollection", "deck.apkg", otherZip, Reason::NotPackage},
                    PackageRefusalCase{"OtherZip", "words.txt", otherZip, Reason::NotText},
                    PackageRefusalCase{"Damaged", "deck.colpkg", damaged, Reason::PackageDamaged},
                    PackageRefusalCase{"TooOld", "deck.apkg", tooOld, Reason::PackageTooOld},
                    PackageRefusalCase{"TooNewUnderAnotherName", "words.txt", tooNew,
                                       Reason::PackageTooNew}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnkiImport, LevelFollowsTheCardsState) {
    struct Row {
        AnkiCardType type;
        int32_t interval;
        int32_t maxLevel;
        int32_t level;
    };
    const Row rows[] = {{AnkiCardType::New, 0, 5, 0},        {AnkiCardType::Learning, -600, 5, 1},
                        {AnkiCardType::Relearning, 1, 5, 1}, {AnkiCardType::Review, 0, 5, 1},
                        {AnkiCardType::Review, 3, 5, 2},     {AnkiCardType::Review, 12, 5, 4},
                        {AnkiCardType::Review, 400, 5, 5},   {AnkiCardType::Review, 400, 9, 9}};
    for (const Row& row : rows) {
        AnkiCard card;
        card.type = static_cast<int32_t>(row.type);
        card.interval = row.interval;
        EXPECT_EQ(ankiLevelOf(card, row.maxLevel), row.level) << row.interval;
    }
}

TEST(AnkiImport, ReviewRecordsLeaveOutWhatIsNoAnswer) {
    TempFolder folder("anki-revlog");
    const std::string db =
        changed(schema11(folder),
                "INSERT INTO revlog VALUES (1699000000000, 20, 0, 0, 0, 0, 0, 0, 4);"
                "INSERT INTO revlog VALUES (1699000000001, 20, 0, 3, 0, 0, 0, 0, 5);"
                "INSERT INTO revlog VALUES (1699000000002, 20, 0, 4, 3, 0, 0, 0, 0);");
    const AnkiReadResult read = readAnkiPackageBytes(zipOf(folder, {{"collection.anki2", db}}));
    ASSERT_TRUE(read.ok()) << read.detail;
    const std::vector<AnkiReviewRecord> expected = {
        {20, 1699000000002, 4, 0}, {20, 1700000000000, 3, 6000}, {20, 1700000500000, 1, 9000}};
    EXPECT_EQ(ankiReviewRecords(read.package), expected);
}

TEST(AnkiImport, MemoryGoesOnFromAnkisOrFromTheAnswers) {
    const Fsrs fsrs;
    const std::vector<AnkiReviewRecord> reviews = {{20, 1'700'000'000'000, 3, 0},
                                                   {20, 1'700'500'000'000, 1, 0}};
    AnkiCard kept;
    kept.memory = AnkiMemoryState{12.5f, 4.25f};
    const std::optional<CardMemory> fromAnki = ankiCardMemory(kept, reviews, fsrs);
    ASSERT_TRUE(fromAnki);
    EXPECT_FLOAT_EQ(fromAnki->stability, 12.5);
    EXPECT_EQ(fromAnki->lastReviewMs, 1'700'500'000'000);

    const std::vector<Review> answers = {{1'700'000'000'000, Rating::Good},
                                         {1'700'500'000'000, Rating::Again}};
    const std::optional<CardMemory> replayed = ankiCardMemory(AnkiCard{}, reviews, fsrs);
    ASSERT_TRUE(replayed);
    EXPECT_DOUBLE_EQ(replayed->stability, fsrs.memoryState(answers)->stability);
    EXPECT_FALSE(ankiCardMemory(kept, {}, fsrs));
}

// Older parameter sets become the FSRS-6 ones they are equivalent to; others are refused.
TEST(AnkiImport, FsrsWeightsOfOlderVersionsAreConverted) {
    std::vector<float> five(kFsrsDefaultWeights.begin(), kFsrsDefaultWeights.begin() + 19);
    const std::optional<FsrsWeights> fromFive = ankiFsrsWeights(five);
    ASSERT_TRUE(fromFive);
    EXPECT_FLOAT_EQ((*fromFive)[18], five[18]);
    EXPECT_EQ((*fromFive)[19], 0);    // no same-day exponent
    EXPECT_EQ((*fromFive)[20], 0.5);  // FSRS-5's fixed decay

    std::vector<float> four(17, 1.0f);
    const std::optional<FsrsWeights> fromFour = ankiFsrsWeights(four);
    ASSERT_TRUE(fromFour);
    EXPECT_DOUBLE_EQ((*fromFour)[4], 3.0);
    EXPECT_DOUBLE_EQ((*fromFour)[5], std::log(4.0) / 3);
    EXPECT_DOUBLE_EQ((*fromFour)[6], 1.5);

    EXPECT_FALSE(ankiFsrsWeights(std::vector<float>(18, 1.0f)));
    five[3] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(ankiFsrsWeights(five));
}

// A review card falls due on the day Anki had it due; an unusable due is worked out.
TEST(AnkiImport, CardHistoryFallsDueWhereAnkiHadIt) {
    AnkiPackage package;
    package.createdSeconds = 1'690'000'000;
    AnkiCard card;
    card.type = static_cast<int32_t>(AnkiCardType::Review);
    card.due = 130;
    card.memory = AnkiMemoryState{30.0f, 5.0f};
    const std::vector<AnkiReviewRecord> reviews = {{20, 1'700'000'000'000, 1, 4000},
                                                   {20, 1'700'500'000'000, 3, 2500}};
    const AnkiCardHistory history = ankiCardHistory(package, card, reviews, {});
    ASSERT_EQ(history.reviews.size(), 2u);
    EXPECT_EQ(history.reviews[0].rating, Rating::Again);
    EXPECT_EQ(history.reviews[1].durationMs, 2500);
    EXPECT_EQ(history.reviews[1].kind, kAnkiReviewKind);
    ASSERT_TRUE(history.state);
    EXPECT_EQ(history.state->dueMs, 1'690'000'000'000 + 130 * 86'400'000LL);

    card.due = 1;  // before the last answer: 30 days of stability at 90 % give 30 days
    EXPECT_EQ(ankiCardHistory(package, card, reviews, {}).state->dueMs,
              1'700'500'000'000 + 30 * 86'400'000LL);
    EXPECT_FALSE(ankiCardHistory(package, card, {}, {}).state);
}

}  // namespace
