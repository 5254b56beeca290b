#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/answer_outcome.h"
#include "core/card_store.h"
#include "core/fsrs.h"
#include "core/list_ops.h"
#include "core/orders.h"
#include "core/preferences.h"
#include "platform/fonts.h"
#include "session/list_session.h"
#include "session/review_schedule.h"
#include "tests/support/test_environment.h"

// The review schedule as a learner meets it: answers over simulated days, reopening the
// list, a damaged history, a list changed behind the history's back, a clock set back.
class TestReviewSchedule : public QObject {
    Q_OBJECT

    static constexpr int64_t kDay = 24LL * 60 * 60 * 1000;
    static constexpr int64_t kStart = 1'780'000'000'000;  // a day in 2026, UTC

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<CardStore> store_;
    Preferences preferences_;
    std::unique_ptr<ListSession> session_;
    std::unique_ptr<QTemporaryDir> dir_;
    int64_t now_ = kStart;

    ReviewSchedule& schedule() { return session_->schedule(); }
    Card* card(int i) { return store_->unknownList.nthCard(i); }

    void makeSession() {
        session_ = std::make_unique<ListSession>(*store_, preferences_, defaultDocumentFont());
        schedule().setClock([this] { return now_; });
        schedule().setUtcOffsetMinutes(0);
        schedule().setRandomSource(nullptr);  // no fuzz: the days are the model's own
    }
    // A saved list of three cards, opened again, so that its history sits beside it.
    QString openNewList() {
        const QString path = dir_->filePath("words.kmx");
        for (const char* q : {"Haus", "Baum", "Hund"})
            addCard(*store_, store_->unknownList, q, std::string(q) + "-en", "L1", "");
        env_->prompts().saveChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        session_->saveListAs();
        reopen(path);
        return path;
    }
    void reopen(const QString& path) {
        session_->closeList();
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        session_->openList(path);
    }
    void answer(Card* c, bool right, bool overruled = false) {
        AnswerOutcome outcome;
        outcome.recorded = true;
        outcome.right = right;
        outcome.confirmedByUser = overruled;
        outcome.card = c;
        outcome.kind = static_cast<uint8_t>(ExaminationKind::DueCards);
        schedule().cardShown(*c);
        now_ += 4000;
        session_->answerRecorded(outcome);
    }
    std::vector<Review> reviewsOf(Card* c) {
        std::vector<Review> reviews;
        const CardText text{c->id, c->question(), c->answer()};
        const auto resolved = schedule().history()->resolveCards({&text, 1});
        for (const StoredReview& r : schedule().history()->reviewsOf((*resolved)[0].key))
            reviews.push_back({r.entry.timeMs, r.entry.rating});
        return reviews;
    }

private slots:
    void init() {
        env_ = std::make_unique<TestEnvironment>();
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<CardStore>();
        preferences_ = Preferences{};
        now_ = kStart;
        makeSession();
    }
    void cleanup() {
        QVERIFY2(env_->prompts().unexpected.isEmpty(),
                 qPrintable(env_->prompts().unexpected.join(", ")));
        session_.reset();
        store_.reset();
        env_.reset();
    }

    // Day after day with Due Cards: new cards first, then each card when its recall has
    // fallen below 90 %; memory states, due dates and recall are what FSRS-6 gives for the
    // same reviews, and they survive reopening the list.
    void learnerOverSeveralDays() {
        const QString path = openNewList();
        QVERIFY(schedule().available());
        QCOMPARE(schedule().dueCards(now_, 2).size(), std::size_t{2});  // the new-card limit
        QCOMPARE(schedule().newCardsLeftToday(now_, 20), 20);

        const Fsrs fsrs;
        struct Step {
            int day;
            int card;
            bool right;
            bool overruled;
            Rating rating;
        };
        const Step steps[] = {
            {0, 0, true, false, Rating::Good}, {0, 1, false, false, Rating::Again},
            {0, 2, true, true, Rating::Hard},  {1, 1, true, false, Rating::Good},
            {3, 0, true, false, Rating::Good}, {12, 0, false, false, Rating::Again},
        };
        for (const Step& step : steps) {
            now_ = std::max(now_, kStart + step.day * kDay);
            answer(card(step.card), step.right, step.overruled);
            const std::vector<Review> reviews = reviewsOf(card(step.card));
            QCOMPARE(reviews.back().rating, step.rating);
            const MemoryState expected = *fsrs.memoryState(reviews);
            const double recall = *schedule().recall(*card(step.card), now_);
            QVERIFY(recall > 0.999);
            const int64_t due = *schedule().dueMs(*card(step.card));
            // The model's own answer for the reviews before this one, replayed.
            const std::span<const Review> before(reviews.data(), reviews.size() - 1);
            const uint32_t elapsed =
                before.empty() ? 0 : Fsrs::elapsedDays(before.back().timeMs, now_);
            const int days = fsrs.nextStates(fsrs.memoryState(before), elapsed)[step.rating].days;
            QCOMPARE(due, now_ + days * kDay);
            // At the due time recall has fallen to about the desired retention.
            QVERIFY(std::abs(fsrs.retrievability(expected.stability, days) -
                             *schedule().recall(*card(step.card), due)) < 1e-9);
        }
        QCOMPARE(schedule().newCardsLeftToday(kStart + 12 * kDay, 20), 20);  // a new day
        QCOMPARE(schedule().history()->reviewCount(), int64_t{6});

        // Reopened, the cards keep their states; the due list is lowest recall first.
        const int64_t later = kStart + 40 * kDay;
        std::vector<std::optional<int64_t>> dues;
        for (int i = 0; i < 3; ++i)
            dues.push_back(schedule().dueMs(*card(i)));
        reopen(path);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(schedule().dueMs(*card(i)), dues[static_cast<std::size_t>(i)]);
        const std::vector<const Card*> due = schedule().dueCards(later, 0);
        QCOMPARE(due.size(), std::size_t{3});
        for (std::size_t i = 1; i < due.size(); ++i)
            QVERIFY(*schedule().recall(*due[i - 1], later) <= *schedule().recall(*due[i], later));
        QCOMPARE(schedule().dueTodayCount(later), 3);
    }

    // A clock set back keeps the last review where it was: no negative time, recall never
    // above certainty, the due date never before the review it follows.
    void clockSetBack() {
        openNewList();
        now_ = kStart + 10 * kDay;
        answer(card(0), true);
        const int64_t due = *schedule().dueMs(*card(0));
        now_ = kStart + 2 * kDay;
        answer(card(0), true);
        QVERIFY(*schedule().dueMs(*card(0)) >= due);
        QVERIFY(*schedule().recall(*card(0), now_) <= 1.0);
        QCOMPARE(schedule().dueCards(now_, 0).size(), std::size_t{0});
    }

    // A damaged history is kept aside with a message; the list opens with a new history.
    void damagedHistoryIsKeptAside() {
        const QString path = openNewList();
        answer(card(0), true);
        session_->closeList();
        QFile file(path + ".history");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'x'));
        file.close();
        env_->prompts().answers.push_back(PromptAnswer::Ok);
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        session_->openList(path);
        QCOMPARE(store_->unknownList.count(), 3);
        QVERIFY(schedule().available());
        QVERIFY(!schedule().dueMs(*card(0)));
        QVERIFY(env_->prompts().messageTexts().join(" ").contains("kept as"));
        QCOMPARE(QDir(dir_->path()).entryList({"words.kmx.history.*"}).size(), 1);
    }

    // A card whose texts were both changed behind the history's back starts anew; the
    // others keep their history.
    void listChangedBehindTheHistory() {
        const QString path = openNewList();
        answer(card(0), true);
        answer(card(1), true);
        // The first card's texts are replaced without the history hearing of it.
        store_->setText(*card(0), CardField::Question, "Katze");
        store_->setText(*card(0), CardField::Answer, "cat");
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        session_->saveList();
        reopen(path);
        QVERIFY(!schedule().dueMs(*card(0)));
        QVERIFY(schedule().dueMs(*card(1)));
    }

    // Taking the answer back takes its review and restores the card's schedule.
    void undoTakesTheReviewBack() {
        openNewList();
        answer(card(0), true);
        const int64_t first = schedule().lastReviewId();
        const std::optional<int64_t> due = schedule().dueMs(*card(0));
        now_ += 3 * kDay;
        answer(card(0), false);
        QVERIFY(schedule().undo(schedule().lastReviewId(), *card(0)));
        QCOMPARE(schedule().dueMs(*card(0)), due);
        QCOMPARE(schedule().history()->reviewCount(), int64_t{1});
        QVERIFY(schedule().undo(first, *card(0)));
        QVERIFY(!schedule().dueMs(*card(0)));
    }
};

QTEST_MAIN(TestReviewSchedule)
#include "tst_review_schedule.moc"
