#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <random>

#include "core/list_file_reader.h"
#include "core/list_ops.h"
#include "editing/modify_card_dialog.h"
#include "editing/overview_dialog.h"
#include "exam/examination_dialog.h"
#include "tests/support/fake_host.h"
#include "tests/support/main_window_test.h"

// Random commands, answers, dialogs, saves and reopenings driven through the windows of a
// 10,000-card list, checking after every save that the file reads back as the program's
// own state. KARTOMATRIX_SOAK_SECONDS sets how long it runs (a few seconds by default, so
// that it runs with every test; long runs go under the sanitizers by hand).
class TestSoak : public MainWindowTest {
    Q_OBJECT

    std::mt19937 random_{20261207};
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    static void press(QWidget* window, const char* name) {
        if (auto* button = window->findChild<QPushButton*>(name))
            button->click();
    }
    // Answers every dialog, message and question the step may bring, at random, and
    // sometimes presses something behind them.
    void scriptAnswers() {
        prompts().clear();
        // Fresh numbers for the random draws: a draw waits for a card it has not had lately.
        for (int i = 0; i < 200; ++i)
            env_->random().push(pick(32768));
        for (int i = 0; i < 8; ++i) {
            prompts().answers.push_back(pick(2) ? PromptAnswer::Yes : PromptAnswer::No);
            const int result = pick(2) ? QDialog::Accepted : QDialog::Rejected;
            prompts().dialogHandlers.push_back([this, result](QDialog*) {
                if (pick(4) == 0)
                    act(true);
                return result;
            });
            if (pick(4) == 0)
                prompts().actionsBehind.push_back([this] { act(true); });
        }
    }

    std::vector<std::tuple<std::string, std::string, int32_t>> cards(const CardStore& store) {
        std::vector<std::tuple<std::string, std::string, int32_t>> all;
        for (const CardList* list : {&store.unknownList, &store.knownList})
            for (int i = 0; i < list->slotCount(); ++i)
                if (const Card* c = list->slot(i))
                    all.emplace_back(c->question(), c->answer(), c->level);
        return all;
    }

    void saveAndCompare() {
        prompts().clear();
        prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        prompts().answers.push_back(PromptAnswer::Yes);
        main_->session().saveList();
        CardStore readBack;
        LogFont question, answer;
        FakeHost host;
        const DocumentInfo info =
            readListFile(store_->fileName, readBack, readBack.unknownList, question, answer, host);
        QCOMPARE(info.status, 0);
        QVERIFY(cards(readBack) == cards(*store_));
        ++saves_;
    }

    // One random step; `behind` when it is taken behind an open dialog.
    void act(bool behind) {
        if (depth_ > 2)
            return;
        ++depth_;
        ++steps_;
        switch (pick(behind ? 6 : 9)) {
            case 0:
                main_->runCommand(pick(2) ? Command::ExamineInOrder : Command::ExamineRandom);
                break;
            case 1:
                if (auto* exam = window<ExaminationDialog>()) {
                    const Card* card = exam->currentCard();
                    exam->findChild<QLineEdit*>("answerEdit")
                        ->setText(card && pick(2) ? QString::fromStdString(
                                                        std::string(card->answer().substr(0, 20)))
                                                  : QStringLiteral("wrong"));
                    press(exam, "okButton");
                }
                break;
            case 2:
                if (auto* exam = window<ExaminationDialog>())
                    press(exam, pick(3) ? "closeButton" : "editCardButton");
                break;
            case 3:
                main_->runCommand(Command::Overview);
                if (auto* overview = window<OverviewDialog>()) {
                    if (auto* sort = overview->findChild<QAction*>(
                            QStringLiteral("sortByColumn%1").arg(pick(6))))
                        sort->trigger();
                    if (pick(2))
                        press(overview, "okButton");
                }
                break;
            case 4:
                main_->runCommand(Command::ModifyCards);
                if (auto* modify = window<ModifyCardDialog>()) {
                    const char* buttons[] = {"searchQuestionButton", "searchIdButton",
                                             "deleteButton", "okButton", "closeButton"};
                    press(modify, buttons[pick(5)]);
                }
                break;
            case 5:
                main_->board().action(Command::CloseList)->trigger();
                break;
            case 6:
                if (session().hasCards() && store_->fileName != CardStore::kUntitled)
                    saveAndCompare();
                break;
            case 7:
                main_->runCommand(Command::Sort);
                break;
            case 8:
                if (!session().hasCards()) {
                    prompts().clear();
                    prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
                    session().openList(path_);
                }
                break;
        }
        --depth_;
    }

    ListSession& session() { return main_->session(); }

    QTemporaryDir dir_;
    QString path_;
    int depth_ = 0;
    long steps_ = 0;
    int saves_ = 0;

private slots:
    void init() { startMainWindow({1}); }
    void cleanup() {
        prompts().clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        finishMainWindow();
    }

    void randomWorkKeepsTheListWhole() {
        for (int i = 0; i < 10000; ++i) {
            const std::string n = std::to_string(i);
            addCard(*store_, store_->unknownList, "question " + n, "answer " + n,
                    "L" + std::to_string(i % 7), "-");
        }
        path_ = dir_.filePath("soak.kmx");
        store_->fileName = QFile::encodeName(path_).toStdString();
        store_->modified = true;
        saveAndCompare();
        main_->board().applyListOpened(store_->unknownList.count(), 0);

        const int seconds = qEnvironmentVariableIntValue("KARTOMATRIX_SOAK_SECONDS");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1000LL * (seconds > 0 ? seconds : 3)) {
            scriptAnswers();
            act(false);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (QTest::currentTestFailed())
                return;
            if (!session().hasCards())
                act(false);
        }
        // Printed, not logged: a long run passes Qt Test's limit of logged messages.
        std::fprintf(stderr, "soak: %ld steps, %d saves read back\n", steps_, saves_);
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
