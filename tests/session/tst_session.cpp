#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "core/card_store.h"
#include "core/import_pipeline.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "platform/fonts.h"
#include "session/card_export.h"
#include "session/card_import.h"
#include "session/command_board.h"
#include "session/list_session.h"
#include "session/review_schedule.h"
#include "tests/support/test_environment.h"

// The list session's announcements and the command board's holds, without a main window.
class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<CardStore> store_;
    Preferences preferences_;
    std::unique_ptr<ListSession> session_;

    // The session's announcements while `work` runs, in the order they came.
    QStringList record(const std::function<void()>& work) {
        QStringList seen;
        QList<QMetaObject::Connection> connections;
        auto note = [&](const char* name) { return [&seen, name] { seen << name; }; };
        connections << connect(session_.get(), &ListSession::newListStarted, this,
                               note("newListStarted"));
        connections << connect(session_.get(), &ListSession::listOpened, this, note("listOpened"));
        connections << connect(session_.get(), &ListSession::listClosed, this, note("listClosed"));
        connections << connect(session_.get(), &ListSession::cardAdded, this, note("cardAdded"));
        connections << connect(session_.get(), &ListSession::cardsChanged, this,
                               note("cardsChanged"));
        connections << connect(session_.get(), &ListSession::fontsChanged, this,
                               note("fontsChanged"));
        work();
        for (const auto& c : connections)
            disconnect(c);
        return seen;
    }

private slots:
    void init() {
        env_ = std::make_unique<TestEnvironment>();
        store_ = std::make_unique<CardStore>();
        preferences_ = Preferences{};
        session_ = std::make_unique<ListSession>(*store_, preferences_, defaultDocumentFont());
    }
    void cleanup() {
        QVERIFY2(env_->prompts().unexpected.isEmpty(),
                 qPrintable(env_->prompts().unexpected.join(", ")));
        session_.reset();
        store_.reset();
        env_.reset();
    }

    void commandsAnnounceWhatHappened() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.kmx");
        addCard(*store_, store_->unknownList, "Haus", "house", "L1", "");
        store_->modified = true;

        // Save As writes the list; nothing about the document changes.
        env_->prompts().saveChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        QCOMPARE(record([&] { session_->saveListAs(); }), QStringList());
        QVERIFY(!store_->modified);

        QCOMPARE(record([&] { session_->closeList(); }),
                 QStringList({"listClosed", "cardsChanged"}));
        QVERIFY(!session_->hasCards());

        // A file that cannot be read announces nothing and leaves the store empty.
        env_->prompts().answers.push_back(PromptAnswer::Ok);
        QCOMPARE(record([&] { session_->openList(dir.filePath("missing.kmx")); }), QStringList());
        env_->prompts().clear();

        // Nor does a file of binary junk, which says what it is instead of becoming cards.
        QFile junk(dir.filePath("junk.kmx"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(8192, '\0')) == 8192);
        junk.close();
        QCOMPARE(record([&] { session_->openList(junk.fileName()); }), QStringList());
        QCOMPARE(env_->prompts().messageTexts(),
                 QStringList{junk.fileName() + " is not a list file: it is not text, and none "
                                               "of the list formats either."});
        QVERIFY(!session_->hasCards());
        env_->prompts().clear();

        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        QCOMPARE(record([&] { session_->openList(path); }), QStringList({"listOpened"}));
        QCOMPARE(store_->unknownList.count(), 1);

        addCard(*store_, store_->unknownList, "Baum", "tree", "L1", "");
        QCOMPARE(record([&] { session_->cardEntered(); }),
                 QStringList({"cardAdded", "cardsChanged"}));

        const LogFont question = session_->questionFont();
        QCOMPARE(record([&] { session_->exchange(); }), QStringList({"fontsChanged"}));
        QVERIFY(session_->answerFont().lfFaceName == question.lfFaceName);
        QCOMPARE(QString::fromStdString(std::string(store_->unknownList.slot(0)->question())),
                 QString("house"));

        QCOMPARE(record([&] { session_->newList(); }), QStringList({"newListStarted"}));
    }

    // The file type chosen in the Export dialog decides the format; a name without an
    // extension gets the type's, and replacing a file under that name is asked first.
    void exportWritesTheChosenType_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("KVTML without extension")
            << "words" << 1 << "words.kvtml" << QByteArray("<?xml");
        QTest::newRow("text without extension")
            << "words" << -1 << "words.txt" << QByteArray("#separator:tab");
        QTest::newRow("Anki package without extension")
            << "words" << 2 << "words.apkg" << QByteArray("PK\x03\x04");
        QTest::newRow("type over extension")
            << "words.txt" << 1 << "words.txt" << QByteArray("<?xml");
        QTest::newRow("replacing refused") << "kept" << 1 << "kept.kvtml" << QByteArray("old");
    }
    void exportWritesTheChosenType() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        QFile kept(dir.filePath("kept.kvtml"));
        QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write("old") == 3);
        kept.close();
        addCard(*store_, store_->unknownList, "Haus", "house", "L1", "-");
        env_->prompts().saveChoices.push_back({dir.filePath(typed), 0, filter});
        if (typed == "kept")
            env_->prompts().answers.push_back(PromptAnswer::No);
        exportForOtherTrainers(*session_);
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().startsWith(start), qPrintable(written));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
                 qsizetype(typed == "kept" ? 1 : 2));
    }

    // An exported package imports back as the same cards when its tags are taken as lessons.
    void ankiExportReadsBack() {
        addCard(*store_, store_->unknownList, "Haus", "house", "L1", "");
        addCard(*store_, store_->unknownList, "gehen", "to go", "", "");
        addCard(*store_, store_->knownList, "Baum", "tree", "L2", "").level = 3;
        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.filePath("words.apkg")).toStdString();
        QVERIFY(writeAnkiPackage(path, ankiExportOf(*store_, 1'700'000'000)).ok());
        ImportReadResult read = readImportSource(path, {});
        QVERIFY(read.source);
        AnkiImportChoices choices;
        choices.tags = AnkiTags::Lesson;
        read.source->setAnkiChoices(choices);
        std::vector<CardRecord> cards;
        read.source->forEachTakenCard([&](const CardRecord& card) { cards.push_back(card); });
        // A card without a lesson gets its deck's name, the list's.
        const std::vector<CardRecord> expected = {{"Haus", "house", "L1", "", 0},
                                                  {"gehen", "to go", "Kartomatri", "", 0},
                                                  {"Baum", "tree", "L2", "", 3}};
        QVERIFY(cards == expected);
    }

    // A note imported before is updated by its guid; a card edited since is left alone.
    void ankiNotesImportedAgainAreUpdated() {
        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.filePath("deck.apkg")).toStdString();
        std::map<std::string, std::string> values;
        const ImportedNotes notes{[&](const std::string& key) -> std::optional<std::string> {
                                      const auto found = values.find(key);
                                      return found == values.end() ? std::nullopt
                                                                   : std::optional(found->second);
                                  },
                                  [&](const std::string& key, const std::string& value) {
                                      values[key] = value;
                                      return true;
                                  },
                                  {}};
        const auto importAnswer = [&](const char* answer) {
            AnkiExport deck;
            deck.deckName = "Deck";
            deck.nowSeconds = 1'700'000'000;
            deck.cards = {{"Haus", answer, "", "note 1", "", std::nullopt}};
            writeAnkiPackage(path, deck);
            const ImportReadResult read = readImportSource(path, {});
            const ImportTally tally = importCards(*session_, *read.source, notes);
            return QString("%1 added, %2 updated").arg(tally.added).arg(tally.updated);
        };
        QCOMPARE(importAnswer("house"), QString("1 added, 0 updated"));
        QCOMPARE(importAnswer("home"), QString("0 added, 1 updated"));
        QCOMPARE(store_->unknownList.count(), 1);
        Card* card = store_->unknownList.nthCard(0);
        QCOMPARE(card->answer(), std::string_view("home"));
        store_->setText(*card, CardField::Answer, "building");
        QCOMPARE(importAnswer("house"), QString("1 added, 0 updated"));
        QCOMPARE(card->answer(), std::string_view("building"));
    }

    // A list's answers go to Anki and come back with the cards: ratings, times and
    // durations; the cards are scheduled at once, their weights offered, and a second
    // import adds no answer twice.
    void ankiHistoryTravelsThereAndBack() {
        constexpr int64_t kStart = 1'700'000'000'000;
        constexpr int64_t kDay = 86'400'000;
        session_->newList();
        ReviewSchedule& schedule = session_->schedule();
        Card& house = addCard(*store_, store_->unknownList, "Haus", "house", "L1", "");
        house.level = 2;
        Card& tree = addCard(*store_, store_->unknownList, "Baum", "tree", "", "");
        QVERIFY(schedule.record(house, Rating::Good, kStart, 3000, 0) != 0);
        QVERIFY(schedule.record(tree, Rating::Hard, kStart + kDay, 1200, 0, 1) != 0);
        QVERIFY(schedule.record(house, Rating::Again, kStart + 3 * kDay, 4500, 0) != 0);
        FsrsWeights weights = kFsrsDefaultWeights;
        weights[0] = 0.5;
        schedule.setParameters(weights);
        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.filePath("words.apkg")).toStdString();
        const AnkiExport exported = ankiExportOf(*store_, kStart / 1000 + 5 * 86'400, &schedule);
        QVERIFY(writeAnkiPackage(path, exported).ok());
        rememberExportedNotes(schedule, *store_, exported);

        CardStore otherStore;
        ListSession other(otherStore, preferences_, defaultDocumentFont());
        const ImportReadResult read = readImportSource(path, {});
        QVERIFY(read.source);
        const ImportReport report = importIntoList(other, *read.source);
        QVERIFY(report.historyKept);
        QCOMPARE(report.reviews, int64_t{3});
        QCOMPARE(otherStore.unknownList.count(), 2);
        const Card* house2 = otherStore.unknownList.nthCard(0);
        QCOMPARE(house2->answer(), std::string_view("house"));
        QCOMPARE(house2->level, 2);
        ReviewSchedule& imported = other.schedule();
        QVERIFY(imported.recall(*house2, kStart + 4 * kDay));
        QVERIFY(imported.dueMs(*otherStore.unknownList.nthCard(1)));
        QStringList answers;
        for (const Card* card :
             {house2, static_cast<const Card*>(otherStore.unknownList.nthCard(1))}) {
            for (const StoredReview& r : imported.history()->reviewsOf(imported.keyOf(*card))) {
                answers << QString("%1 %2 %3 %4")
                               .arg(QString::fromStdString(std::string(card->answer())))
                               .arg((r.entry.timeMs - kStart) / kDay)
                               .arg(static_cast<int>(r.entry.rating))
                               .arg(r.entry.durationMs);
            }
        }
        QCOMPARE(answers, QStringList({"house 0 3 3000", "house 3 1 4500", "tree 1 2 1200"}));
        const std::optional<FsrsWeights> offered = fsrsWeightsToOffer(*read.source, imported);
        QVERIFY(offered);
        QCOMPARE(float((*offered)[0]), 0.5f);

        const ImportReport again = importIntoList(other, *read.source);
        QCOMPARE(again.tally.updated, std::size_t{2});
        QCOMPARE(again.reviews, int64_t{0});
        QCOMPARE(imported.history()->reviewCount(), int64_t{3});

        // The cards go back to Anki under their notes' guids, and the package comes home to
        // the list it left: its notes are found there, nothing is added.
        otherStore.fileName = "/elsewhere/Wörter.kmx";  // another deck name
        const AnkiExport back = ankiExportOf(otherStore, kStart / 1000 + 6 * 86'400, &imported);
        QCOMPARE(back.cards.at(1).guid, exported.cards.at(1).guid);
        const ImportReport home = importIntoList(*session_, *read.source);
        QCOMPARE(home.tally.added, std::size_t{0});
        QCOMPARE(home.tally.updated, std::size_t{2});
    }

    void cancelledSaveQuestionKeepsTheList() {
        addCard(*store_, store_->unknownList, "Haus", "house", "L1", "");
        store_->modified = true;
        env_->prompts().answers.push_back(PromptAnswer::Cancel);
        QCOMPARE(record([&] { session_->closeList(); }), QStringList());
        QCOMPARE(store_->unknownList.count(), 1);
        env_->prompts().clear();
    }

    void holdGivesBackExactlyOnce() {
        QWidget window;
        QMenuBar menuBar(&window);
        CommandBoard board;
        board.buildMenus(&menuBar);
        auto* button = new QPushButton(&window);
        board.bindButton(MainButton::Overview, button);
        board.setCommandEnabled(Command::Overview, true);

        CommandHold hold = board.hold(Command::Overview, MainButton::Overview);
        QVERIFY(!board.isEnabled(Command::Overview));
        QVERIFY(!button->isEnabled());

        // A hold handed on gives back once, from its new owner.
        CommandHold moved = std::move(hold);
        hold.release();
        QVERIFY(!board.isEnabled(Command::Overview));
        moved.release();
        QVERIFY(board.isEnabled(Command::Overview));
        QVERIFY(button->isEnabled());

        // Greyed again by someone else: a second release must not switch it on.
        board.setCommandEnabled(Command::Overview, false);
        moved.release();
        QVERIFY(!board.isEnabled(Command::Overview));

        // A hold that outlives the button and the action gives back nothing, safely.
        board.setCommandEnabled(Command::Overview, true);
        CommandHold late = board.hold(Command::Overview, MainButton::Overview);
        delete button;
        delete board.action(Command::Overview);
        late.release();
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
