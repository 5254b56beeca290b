#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "editing/overview_dialog.h"
#include "exam/calendar_heatmap.h"
#include "exam/confirm_answer_dialog.h"
#include "exam/examination_dialog.h"
#include "exam/level_chooser_dialog.h"
#include "exam/progress_dialog.h"
#include "platform/string_table.h"
#include "session/review_schedule.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"
#include "widgets/known_card_dialog.h"

namespace {

const QString kEndOfList = QStringLiteral("You reached the end of the list.");
const QString kLevelRange = QStringLiteral("Please enter an integer between 0 and 128.");

// Enough numbers that no random draw of these tests runs out of fresh ones.
std::vector<int> someRandomNumbers() {
    std::vector<int> values;
    for (int i = 0; i < 400; ++i)
        values.push_back((i * 7919) % 32768);
    return values;
}

QLineEdit* box(QWidget* window, const char* name) {
    auto* found = window->findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no box %s in %s", name, qPrintable(window->objectName()));
    return found;
}

}  // namespace

class TestExaminationDialog : public MainWindowTest {
    Q_OBJECT

private:
    Card& card(const char* question, const char* answer, CardList* list = nullptr, int level = 0) {
        Card& c =
            addCard(*store_, list ? *list : store_->unknownList, question, answer, "L1", "note");
        c.level = level;
        return c;
    }

    void addCards(int count, CardList& list, const QString& prefix) {
        for (int i = 0; i < count; ++i) {
            const std::string q = (prefix + QString::number(i)).toStdString();
            addCard(*store_, list, q, q + "-answer", "L1", "-");
        }
    }

    // The menu items and buttons as an open list with every kind of examination on offer
    // would have them; each test starts from here.
    void offerEveryExamination() {
        for (Command command :
             {Command::ExamineInOrder, Command::ExamineRandom, Command::ExamineSystematic,
              Command::ExamineWrongWords, Command::ExamineKnownWords, Command::LessonInOrder,
              Command::LessonRandom, Command::LessonSystematic, Command::ChooseLevel,
              Command::LevelInOrder, Command::CloseList, Command::SaveList}) {
            main_->board().setCommandEnabled(command, true);
        }
        for (MainButton id : {MainButton::InOrder, MainButton::Random, MainButton::Systematic,
                              MainButton::WrongWords}) {
            main_->board().setButtonEnabled(id, true);
        }
        before_ = controlStates(main_->board());
    }

    ExaminationDialog* openWindow() {
        ExaminationDialog* found = nullptr;
        int visible = 0;
        for (auto* window : main_->findChildren<ExaminationDialog*>()) {
            if (window->isVisible()) {
                found = window;
                ++visible;
            }
        }
        return visible == 1 ? found : nullptr;
    }

    ExaminationDialog* start(Command command) {
        main_->board().action(command)->trigger();
        return openWindow();
    }

    // Types the answer and presses Enter, as the user does.
    void answer(ExaminationDialog* window, const QString& text) {
        QLineEdit* answerBox = box(window, "answerEdit");
        QCOMPARE(window->focusWidget(), answerBox);
        typeText(answerBox, text);
        QTest::keyClick(answerBox, Qt::Key_Return);
    }

    QString shownQuestion(ExaminationDialog* window) { return box(window, "questionEdit")->text(); }

    QString states() { return describeDifferences(controlStates(main_->board()), before_); }

    QString statesWhileOpen(Command command, std::optional<MainButton> button) {
        ControlStates expected = withChanges(before_, {}, {command});
        if (button)
            expected = withChanges(expected, {}, {}, {}, {*button});
        return describeDifferences(controlStates(main_->board()), expected);
    }

    // Cards of these levels, unknown then known, saved and reopened with a history, at noon.
    static constexpr int64_t kDay = 86'400'000, kNow = 20794 * kDay + 12 * 3'600'000;
    QTemporaryDir dir_;
    ReviewSchedule& schedule() { return main_->session().schedule(); }
    void openWithHistory(std::initializer_list<int> unknown, std::initializer_list<int> known) {
        int made = 0;
        for (int level : unknown)
            card(("q" + std::to_string(made++)).c_str(), "a", nullptr, level);
        for (int level : known)
            card(("q" + std::to_string(made++)).c_str(), "a", &store_->knownList, level);
        schedule().setClock([] { return kNow; });
        main_->show();
        prompts().saveChoices.push_back({dir_.filePath("w.kmx"), 0});
        prompts().dialogHandlers.assign(2, ScriptedPrompts::acceptDialog());
        main_->session().saveListAs();
        main_->session().closeList();
        main_->session().openList(dir_.filePath("w.kmx"));
    }
    void answerWrong(ExaminationDialog* window) {
        prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
        answer(window, "wrong");
    }
    void pressCtrl(QWidget* window, Qt::Key key) {
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(window->focusWidget(), key, Qt::ControlModifier);
    }
    QString label(const char* name) { return main_->findChild<QLabel*>(name)->text(); }

private slots:
    void init() {
        startMainWindow(someRandomNumbers());
        offerEveryExamination();
    }

    void cleanup() { finishMainWindow(); }

    void everyKindOpensItsWindow_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("button");  // 0: none
        QTest::addColumn<QString>("listPrefix");
        QTest::newRow("systematic") << int(Command::ExamineSystematic) << "Systematic examination"
                                    << int(MainButton::Systematic) << "u";
        QTest::newRow("in order") << int(Command::ExamineInOrder) << "Examination in order"
                                  << int(MainButton::InOrder) << "u";
        QTest::newRow("random") << int(Command::ExamineRandom) << "Examination in random order"
                                << int(MainButton::Random) << "u";
        QTest::newRow("wrong words")
            << int(Command::ExamineWrongWords) << "Examination of the wrong words"
            << int(MainButton::WrongWords) << "w";
        QTest::newRow("known words")
            << int(Command::ExamineKnownWords) << "Examination in order (known words)" << 0 << "k";
        QTest::newRow("lesson in order")
            << int(Command::LessonInOrder) << "Examination in order (Lesson)" << 0 << "l";
        QTest::newRow("lesson random")
            << int(Command::LessonRandom) << "Examination in random order (Lesson)" << 0 << "l";
        QTest::newRow("lesson systematic")
            << int(Command::LessonSystematic) << "Systematic examination (Lesson)" << 0 << "l";
        QTest::newRow("level") << int(Command::LevelInOrder) << "Examination in order (Level)" << 0
                               << "v";
    }
    void everyKindOpensItsWindow() {
        QFETCH(int, command);
        QFETCH(QString, caption);
        QFETCH(int, button);
        QFETCH(QString, listPrefix);
        addCards(12, store_->unknownList, "u");
        addCards(12, store_->wrongList, "w");
        addCards(12, store_->knownList, "k");
        addCards(12, store_->lessonSelection, "l");
        addCards(12, store_->levelSelection, "v");

        ExaminationDialog* window = start(Command(command));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), caption);
        QVERIFY2(shownQuestion(window).startsWith(listPrefix), qPrintable(shownQuestion(window)));
        QVERIFY(main_->windows().contains(window));
        const std::optional<MainButton> owner =
            button ? std::optional<MainButton>(MainButton(button)) : std::nullopt;
        QCOMPARE(statesWhileOpen(Command(command), owner), QString());

        pressKey(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(states(), QString());
        QCOMPARE(main_->windows().listWindowCount(), 0);
        QVERIFY(prompts().messages.empty());
    }

    void closingGivesEverythingBack_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("cards");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("messages");
        const auto inOrder = int(Command::ExamineInOrder);
        QTest::newRow("Escape") << inOrder << 3 << "escape" << QStringList{};
        QTest::newRow("Close button") << inOrder << 3 << "close button" << QStringList{};
        QTest::newRow("close box") << inOrder << 3 << "close box" << QStringList{};
        QTest::newRow("Close List")
            << int(Command::ExamineRandom) << 5 << "close list" << QStringList{};
        QTest::newRow("end of the list") << inOrder << 3 << "answer all" << QStringList{kEndOfList};
        QTest::newRow("empty list") << inOrder << 0 << "nothing" << QStringList{kEndOfList};
        QTest::newRow("no wrong words yet")
            << int(Command::ExamineWrongWords) << 3 << "nothing" << QStringList{kEndOfList};
        QTest::newRow("systematic over 10 cards")
            << int(Command::ExamineSystematic) << 10 << "nothing"
            << QStringList{stringText(Msg::SystematicTooFew)};
        QTest::newRow("random over 3 cards")
            << int(Command::ExamineRandom) << 3 << "nothing"
            << QStringList{"Too few words for a random examination", kEndOfList};
    }
    void closingGivesEverythingBack() {
        QFETCH(int, command);
        QFETCH(int, cards);
        QFETCH(QString, how);
        QFETCH(QStringList, messages);
        addCards(cards, store_->unknownList, "u");

        main_->board().action(Command(command))->trigger();
        ExaminationDialog* window = openWindow();
        if (how == "nothing") {
            QVERIFY(!window);
        } else {
            QVERIFY(window);
            if (how == "escape") {
                pressKey(window, Qt::Key_Escape);
            } else if (how == "close button") {
                window->findChild<QPushButton*>("closeButton")->click();
            } else if (how == "close box") {
                window->close();
            } else if (how == "close list") {
                main_->windows().closeListWindows();
                window = nullptr;
            } else if (how == "answer all") {
                for (int i = 0; i < cards; ++i)
                    answer(window, QString("u%1-answer").arg(i));
            }
            if (window)
                QVERIFY(!window->isVisible());
        }
        QCOMPARE(prompts().messageTexts(), messages);
        QCOMPARE(states(), QString());
        QCOMPARE(main_->windows().listWindowCount(), 0);
        flushDeletes();
        QVERIFY(main_->findChildren<ExaminationDialog*>().isEmpty());
        QCOMPARE(states(), QString());
    }

    void rightAnswerIsRecordedWithoutAsking() {
        Card& first = card("Haus", "house");
        Card& second = card("Heim", "home");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        QVERIFY(window);
        QCOMPARE(shownQuestion(window), QString("Haus"));
        answer(window, "house");
        QCOMPARE(first.level, 1);
        QCOMPARE(first.timesRight, 1);
        QCOMPARE(first.lastAsked, 0);
        QVERIFY(prompts().beeps.empty());
        QVERIFY(prompts().dialogs.isEmpty());
        QCOMPARE(shownQuestion(window), QString("Heim"));
        QCOMPARE(box(window, "answerEdit")->text(), QString());
        answer(window, "home");
        QCOMPARE(second.level, 1);
        QCOMPARE(second.lastAsked, 1);
        QCOMPARE(prompts().messageTexts(), QStringList{kEndOfList});
        QCOMPARE(states(), QString());
    }

    void rightAnswerIsConfirmedOnScreen_data() {
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("line");  // empty: the line stays hidden, the user is asked
        QTest::newRow("right as stored") << false << "house"
                                         << "Right.";
        QTest::newRow("capital let pass") << true << "House"
                                          << "Right, but mind the capital letters: house";
        QTest::newRow("capital without the preference is asked about") << false << "House"
                                                                       << "";
    }
    void rightAnswerIsConfirmedOnScreen() {
        QFETCH(bool, ignoreCase);
        QFETCH(QString, typed);
        QFETCH(QString, line);
        preferences_.ignoreCase = ignoreCase;
        Card& asked = card("Haus", "house");
        card("Heim", "home");
        if (line.isEmpty())
            prompts().dialogHandlers.push_back(handlerNamed("click:yesButton"));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, typed);
        auto* feedback = window->findChild<QLabel*>("answerFeedbackLine");
        QVERIFY(feedback);
        QCOMPARE(feedback->isVisible() ? feedback->text() : QString(), line);
        QCOMPARE(prompts().dialogs.size(), line.isEmpty() ? 1 : 0);
        QCOMPARE(asked.timesRight, 1);
        // The answer box keeps the focus for the next card.
        QCOMPARE(window->focusWidget(), box(window, "answerEdit"));
    }

    void differingAnswerIsSettledByTheUser_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("handler");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("No") << "home"
                            << "click:noButton" << false << "house";
        QTest::newRow("Enter means No") << "home"
                                        << "key:Return" << false << "house";
        QTest::newRow("Escape means No") << "home"
                                         << "key:Escape" << false << "house";
        QTest::newRow("close box means No") << "home"
                                            << "close" << false << "house";
        QTest::newRow("Yes") << "home"
                             << "click:yesButton" << true << "house";
        QTest::newRow("Yes, add my answer") << "home"
                                            << "click:addAnswerButton" << true << "house, home";
        QTest::newRow("Yes, replace answer") << "home"
                                             << "click:replaceAnswerButton" << true << "home";
        QTest::newRow("empty answer differs too") << ""
                                                  << "key:Return" << false << "house";
    }
    void differingAnswerIsSettledByTheUser() {
        QFETCH(QString, typed);
        QFETCH(QString, handler);
        QFETCH(bool, right);
        QFETCH(QString, storedAfter);
        Card& asked = card("Haus", "house", nullptr, 2);
        card("Heim", "home");

        QStringList shown;
        prompts().dialogHandlers.push_back(inspectThen(
            [&](QDialog* dialog) {
                for (const char* name : {"cardNumberEdit", "levelEdit", "questionEdit",
                                         "typedAnswerEdit", "storedAnswerEdit", "lessonEdit"}) {
                    shown << box(dialog, name)->text();
                }
            },
            handlerNamed(handler)));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, typed);

        QCOMPARE(prompts().dialogs, QStringList{"Is your answer right?"});
        QCOMPARE(shown,
                 (QStringList{QString::number(asked.id), "2", "Haus", typed, "house", "L1"}));
        QCOMPARE(prompts().beeps.size(), std::size_t(1));
        QCOMPARE(prompts().beeps[0].hertz, 440);
        QCOMPARE(prompts().beeps[0].milliseconds, 50);
        QCOMPARE(asked.level, right ? 3 : 0);
        QCOMPARE(asked.timesAsked, 1);
        QCOMPARE(asked.timesRight, right ? 1 : 0);
        QCOMPARE(store_->wrongList.containsId(asked.id), !right);
        QCOMPARE(QString::fromStdString(std::string(asked.answer())), storedAfter);
        QVERIFY(store_->modified);
        // The examination goes on with the next card either way.
        QCOMPARE(shownQuestion(window), QString("Heim"));
        QVERIFY(prompts().messages.empty());
        QCOMPARE(statesWhileOpen(Command::ExamineInOrder, MainButton::InOrder), QString());
    }

    void addedAnswerMustStayBelowSixtyCharacters_data() {
        QTest::addColumn<int>("storedLength");
        QTest::addColumn<bool>("added");
        // stored + ", " + "home"
        QTest::newRow("59 characters are added") << 53 << true;
        QTest::newRow("60 characters are refused") << 54 << false;
    }
    void addedAnswerMustStayBelowSixtyCharacters() {
        QFETCH(int, storedLength);
        QFETCH(bool, added);
        const std::string stored(static_cast<std::size_t>(storedLength), 'x');
        Card& asked = card("Haus", stored.c_str());
        prompts().dialogHandlers.push_back(clickIn("addAnswerButton"));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, "home");

        const std::string expected = added ? stored + ", home" : stored;
        QCOMPARE(std::string(asked.answer()), expected);
        const QStringList messages =
            added ? QStringList{kEndOfList}
                  : QStringList{"Sorry, your answer cannot be added because it is too long.",
                                kEndOfList};
        QCOMPARE(prompts().messageTexts(), messages);
        // Either way the user said the answer is right.
        QCOMPARE(asked.level, 1);
        QCOMPARE(asked.timesRight, 1);
    }

    void yesNeedsALevelFrom0To128_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("yesButton");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("storedWhenRefused");
        QTest::newRow("level 0, Yes") << 0 << "yesButton" << false << "";
        QTest::newRow("level 128, Yes") << 128 << "yesButton" << false << "";
        QTest::newRow("level 129, Yes") << 129 << "yesButton" << true << "house";
        QTest::newRow("level -1, Yes") << -1 << "yesButton" << true << "house";
        QTest::newRow("level 129, add") << 129 << "addAnswerButton" << true << "house, home";
        QTest::newRow("level -1, replace") << -1 << "replaceAnswerButton" << true << "home";
    }
    void yesNeedsALevelFrom0To128() {
        QFETCH(int, level);
        QFETCH(QString, yesButton);
        QFETCH(bool, refused);
        QFETCH(QString, storedWhenRefused);
        // High enough that no right answer here raises the known-card question.
        preferences_.maxLevel = 1000;
        Card& asked = card("Haus", "house", nullptr, level);

        bool stayedOpen = false;
        QString storedMeanwhile;
        prompts().dialogHandlers.push_back([&](QDialog* dialog) {
            const int result = ScriptedPrompts::clickButton(dialog, yesButton);
            stayedOpen = dialog->isVisible();
            storedMeanwhile = QString::fromStdString(std::string(asked.answer()));
            if (!stayedOpen)
                return result;
            // Only "No" ends the dialog now.
            return ScriptedPrompts::clickButton(dialog, "noButton");
        });
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, "home");

        QCOMPARE(stayedOpen, refused);
        if (refused) {
            QCOMPARE(storedMeanwhile, storedWhenRefused);
            QCOMPARE(prompts().messages.size(), std::size_t(2));
            QCOMPARE(prompts().messages[0].text, kLevelRange);
            QCOMPARE(prompts().messages[0].icon, PromptIcon::Exclamation);
            QCOMPARE(asked.level, 0);
            QCOMPARE(asked.timesWrong, 1);
        } else {
            QCOMPARE(prompts().messageTexts(), QStringList{kEndOfList});
            QCOMPARE(asked.level, level + 1);
            QCOMPARE(asked.timesRight, 1);
        }
    }

    void cardAtMaxLevelAsksWhetherItIsKnown_data() {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<bool>("known");
        QTest::newRow("Keep It") << "click:buttonKeep" << false;
        QTest::newRow("Enter keeps") << "key:Return" << false;
        QTest::newRow("Known Cards") << "click:buttonKnown" << true;
        QTest::newRow("Escape means known") << "key:Escape" << true;
        QTest::newRow("close box means known") << "close" << true;
    }
    void cardAtMaxLevelAsksWhetherItIsKnown() {
        QFETCH(QString, handler);
        QFETCH(bool, known);
        Card& asked = card("Haus", "house", nullptr, 4);
        card("Heim", "home");
        emit main_->session().cardsChanged();
        prompts().dialogHandlers.push_back(handlerNamed(handler));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, "house");

        QCOMPARE(prompts().dialogs, QStringList{"Do you really know this word?"});
        QCOMPARE(store_->knownList.containsId(asked.id), known);
        QCOMPARE(store_->unknownList.containsId(asked.id), !known);
        QCOMPARE(asked.level, known ? 5 : 3);
        QCOMPARE(main_->findChild<QLabel*>("cardCounter")->text(), QString("2"));
        QCOMPARE(main_->findChild<QLabel*>("knownCounter")->text(), QString(known ? "1" : "0"));
        if (known)
            before_ = withChanges(before_, {Command::ExamineKnownWords}, {});
        QCOMPARE(statesWhileOpen(Command::ExamineInOrder, MainButton::InOrder), QString());
        QCOMPARE(shownQuestion(window), QString("Heim"));
    }

    void wrongAnswerOffersTheWrongWords() {
        main_->board().setCommandEnabled(Command::ExamineWrongWords, false);
        main_->board().setButtonEnabled(MainButton::WrongWords, false);
        before_ = controlStates(main_->board());
        card("Haus", "house");
        card("Heim", "home");
        prompts().dialogHandlers.push_back(pressKeyIn(Qt::Key_Escape));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        answer(window, "flat");
        before_ = withChanges(before_, {Command::ExamineWrongWords}, {}, {MainButton::WrongWords});
        QCOMPARE(statesWhileOpen(Command::ExamineInOrder, MainButton::InOrder), QString());
        pressKey(window, Qt::Key_Escape);
        QCOMPARE(states(), QString());
    }

    void escapeDoesNotJudgeTheCardOnScreen() {
        Card& shown = card("Haus", "house");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        typeText(box(window, "answerEdit"), "house");
        pressKey(window, Qt::Key_Escape);
        QCOMPARE(shown.timesAsked, 0);
        QCOMPARE(shown.level, 0);
        QVERIFY(prompts().messages.empty());
    }

    void additionalInformationOnlyWhenSwitchedOn_data() {
        QTest::addColumn<int>("showAddInfo");
        QTest::addColumn<QString>("shown");
        QTest::newRow("off") << 0 << "";
        QTest::newRow("on") << 1 << "note";
        QTest::newRow("any other value is off") << 2 << "";
    }
    void additionalInformationOnlyWhenSwitchedOn() {
        QFETCH(int, showAddInfo);
        QFETCH(QString, shown);
        preferences_.showAddInfo = showAddInfo;
        Card& first = card("Haus", "house", nullptr, 3);
        card("Heim", "home");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        QCOMPARE(box(window, "addInfoEdit")->text(), shown);
        QCOMPARE(box(window, "cardNumberEdit")->text(), QString::number(first.id));
        QCOMPARE(box(window, "levelEdit")->text(), QString("3"));
        QCOMPARE(box(window, "lessonEdit")->text(), QString("L1"));
        answer(window, "house");
        QCOMPARE(box(window, "addInfoEdit")->text(), shown);
        QCOMPARE(box(window, "levelEdit")->text(), QString("0"));
    }

    void answerBoxTakesSixtyCharacters() {
        card("Haus", "house");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        QLineEdit* answerBox = box(window, "answerEdit");
        typeText(answerBox, QString(70, QChar('a')));
        QCOMPARE(answerBox->text(), QString(60, QChar('a')));
    }

    void textAListFileCannotHoldIsNotJudged() {
        Card& shown = card("Haus", "house");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        QLineEdit* answerBox = box(window, "answerEdit");
        // Every script is a card text; half of a surrogate pair, which only a program can
        // put into a box, is not, and must not reach the card.
        answerBox->setText(QStringLiteral("\u65e5") + QChar(0xD800));
        QTest::keyClick(answerBox, Qt::Key_Return);
        QCOMPARE(prompts().messages.size(), std::size_t(1));
        QVERIFY(prompts().messages[0].text.contains(QChar(0xD800)));
        QVERIFY(prompts().dialogs.isEmpty());
        QCOMPARE(shown.timesAsked, 0);
        QVERIFY(window->isVisible());
        QCOMPARE(shownQuestion(window), QString("Haus"));
        // The answer box is then fixed and the same card judged as usual.
        answerBox->clear();
        answer(window, "house");
        QCOMPARE(shown.level, 1);
        QCOMPARE(shown.lastAsked, 0);
    }

    void systematicNumbersAnswersFromOne() {
        addCards(11, store_->unknownList, "u");
        ExaminationDialog* window = start(Command::ExamineSystematic);
        QVERIFY(window);
        Card* first = window->currentCard();
        answer(window, QString::fromStdString(std::string(first->answer())));
        QCOMPARE(first->lastAsked, 1);
        Card* second = window->currentCard();
        QVERIFY(second != first);
        answer(window, QString::fromStdString(std::string(second->answer())));
        QCOMPARE(second->lastAsked, 2);
    }

    void lessonWindowIsBroughtBackNotOpenedTwice_data() {
        QTest::addColumn<int>("command");
        QTest::newRow("lesson in order") << int(Command::LessonInOrder);
        QTest::newRow("lesson random") << int(Command::LessonRandom);
        QTest::newRow("lesson systematic") << int(Command::LessonSystematic);
    }
    void lessonWindowIsBroughtBackNotOpenedTwice() {
        QFETCH(int, command);
        addCards(12, store_->lessonSelection, "l");
        main_->runCommand(Command(command));
        QPointer<ExaminationDialog> first = openWindow();
        QVERIFY(first);
        // The other lesson kinds have windows of their own.
        const Command other = Command(command) == Command::LessonInOrder ? Command::LessonRandom
                                                                         : Command::LessonInOrder;
        main_->runCommand(other);
        QCOMPARE(main_->windows().listWindowCount(), 2);

        // The lesson chooser gives the command again although its item is greyed.
        main_->runCommand(Command(command));
        QCOMPARE(main_->windows().listWindowCount(), 2);
        QVERIFY(first->isVisible());

        pressKey(first, Qt::Key_Escape);
        flushDeletes();
        QVERIFY(!first);
        main_->runCommand(Command(command));
        QCOMPARE(main_->windows().listWindowCount(), 2);
    }

    void lessonWindowThatFailedToStartIsNotBroughtBack() {
        addCards(5, store_->lessonSelection, "l");
        main_->runCommand(Command::LessonSystematic);
        main_->runCommand(Command::LessonSystematic);
        QCOMPARE(prompts().messageTexts(), QStringList(2, stringText(Msg::SystematicTooFew)));
        QCOMPARE(main_->windows().listWindowCount(), 0);
        QCOMPARE(states(), QString());
    }

    void tabMovesAmongAnswerAndButtonsOnly() {
        card("Haus", "house");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QStringList visited;
        for (int i = 0; i < 5; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{"answerEdit", "okButton", "closeButton", "editCardButton",
                                       "answerEdit"}));
        // Enter is OK, wherever the focus was in the answer box.
        QVERIFY(window->findChild<QPushButton*>("okButton")->isDefault());
    }

    void fieldsShowTheDocumentFontsAtTheirOwnHeight() {
        LogFont bold = defaultDocumentFont();
        bold.lfWeight = 700;
        bold.lfHeight = -48;
        main_.reset();
        main_ = std::make_unique<MainDialog>(*store_, preferences_, bold);
        offerEveryExamination();
        card("Haus", "house");
        QList<int> confirmHeights;
        prompts().dialogHandlers.push_back(inspectThen(
            [&](QDialog* dialog) {
                for (const char* name : {"questionEdit", "typedAnswerEdit", "storedAnswerEdit"}) {
                    confirmHeights << box(dialog, name)->font().pixelSize();
                    QVERIFY(box(dialog, name)->font().bold());
                }
            },
            pressKeyIn(Qt::Key_Escape)));
        ExaminationDialog* window = start(Command::ExamineInOrder);
        for (const char* name : {"questionEdit", "answerEdit"}) {
            QCOMPARE(box(window, name)->font().pixelSize(), 18);
            QVERIFY(box(window, name)->font().bold());
        }
        answer(window, "home");
        QCOMPARE(confirmHeights, (QList<int>{12, 12, 12}));
    }

    void everyControlHasAnAccessibleName() {
        Card& asked = card("Haus", "house");
        ExaminationDialog* window = start(Command::ExamineInOrder);
        QCOMPARE(controlsWithoutAccessibleName(window), QStringList());
        ConfirmAnswerDialog confirm(*store_, asked, "home", preferences_,
                                    main_->session().questionFont(), main_->session().answerFont(),
                                    window);
        QCOMPARE(controlsWithoutAccessibleName(&confirm), QStringList());
        KnownCardDialog known(window);
        QCOMPARE(controlsWithoutAccessibleName(&known), QStringList());
        LevelChooserDialog chooser(*store_, main_->board().action(Command::LevelInOrder),
                                   main_.get());
        QCOMPARE(controlsWithoutAccessibleName(&chooser), QStringList());
    }
    // Ctrl+D: the due cards lowest recall first, then what is left of today's two new cards;
    // the overview and Progress follow each answer and keep their place.
    void dueCardsFollowTheSchedule() {
        openWithHistory({0, 0, 0}, {5, 5});  // q0 and q3 due, q1 seen an hour ago, q2 and q4 new
        schedule().record(*store_->unknownList.nthCard(0), Rating::Good, kNow - 10 * kDay, 0, 0);
        schedule().record(*store_->knownList.nthCard(0), Rating::Good, kNow - 5 * kDay, 0, 0);
        schedule().record(*store_->unknownList.nthCard(1), Rating::Good, kNow - 3'600'000, 0, 0);
        preferences_.newCardsPerDay = 2;
        QTRY_COMPARE(label("dueCounter"), QString("2"));
        main_->board().action(Command::Overview)->trigger();
        auto* table = main_->findChild<OverviewDialog*>()->findChild<QTableView*>();
        table->selectRow(1);
        main_->board().action(Command::Progress)->trigger();
        auto* calendar = main_->findChild<CalendarHeatmap*>();
        calendar->setCurrentIndex(357);
        pressCtrl(main_.get(), Qt::Key_D);
        ExaminationDialog* due = openWindow();
        QStringList asked;
        for (bool right : {true, false, true}) {
            asked << shownQuestion(due);
            QVERIFY(!main_->board().isEnabled(Command::DueCards));
            right ? answer(due, "a") : answerWrong(due);
        }
        QCOMPARE(asked, (QStringList{"q0", "q3", "q2"}));
        QVERIFY(prompts().messageTexts().last().startsWith("You reviewed 3 card(s), 66 % of"));
        QVERIFY(store_->wrongList.count() == 1 && store_->knownList.count() == 1);
        QCOMPARE(schedule().history()->reviewCount(), int64_t{6});
        QTRY_COMPARE(label("dueCounter"), QString::number(schedule().dueTodayCount(kNow)));
        QVERIFY(label("dueCounter") != "2");
        QCOMPARE(table->currentIndex().row(), 1);
        QCOMPARE(table->model()->index(0, 7).data().toString(), QString("100%"));
        QCOMPARE(calendar->currentIndex(), 357);
        QVERIFY(calendar->dayText(364).contains("4 review(s)"));
    }

    // Ctrl+Z takes the last answer back, menus and counters included, once, and not after
    // another window has answered since.
    void undoTakesTheAnswerBack() {
        openWithHistory({2, 4, 0, 0}, {});
        ExaminationDialog* first = openWindow();  // started by itself
        const Card* card = store_->unknownList.nthCard(0);
        const ControlStates before = controlStates(main_->board());
        answerWrong(first);
        pressCtrl(first, Qt::Key_Z);
        QVERIFY(card->level == 2 && card->timesAsked == 0 && store_->wrongList.empty());
        QCOMPARE(describeDifferences(controlStates(main_->board()), before), QString());
        QCOMPARE(schedule().history()->reviewCount(), int64_t{0});
        pressCtrl(first, Qt::Key_Z);
        QCOMPARE(prompts().beeps.size(), std::size_t{2});  // the differing answer, the refusal
        prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());  // made known
        answer(first, "a");
        QCOMPARE(label("knownCounter"), QString("1"));
        pressCtrl(first, Qt::Key_Z);
        QCOMPARE(label("knownCounter"), QString("0"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), before), QString());
        answerWrong(first);
        main_->board().action(Command::ExamineRandom)->trigger();
        answerWrong(main_->findChildren<ExaminationDialog*>().last());  // the newest window
        pressCtrl(first, Qt::Key_Z);
        QCOMPARE(schedule().history()->reviewCount(), int64_t{2});
        QCOMPARE(store_->wrongList.count(), 2);
    }
};

QTEST_MAIN(TestExaminationDialog)
#include "tst_examination_dialog.moc"
