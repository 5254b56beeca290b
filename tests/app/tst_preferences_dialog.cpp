#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "app/preferences_dialog.h"
#include "tests/support/test_environment.h"

Q_DECLARE_METATYPE(Preferences)

namespace {

Preferences rule(bool strictOrder, bool allWords, int maxLevel = 5, int showAddInfo = 0) {
    Preferences p;
    p.strictOrder = strictOrder;
    p.allWords = allWords;
    p.maxLevel = maxLevel;
    p.showAddInfo = showAddInfo;
    return p;
}

template <typename T>
T* control(QDialog* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString checkedRule(QDialog* dialog) {
    for (const char* name : {"strictOrderRadio", "allWordsRadio", "someWordsRadio"})
        if (control<QRadioButton>(dialog, name)->isChecked())
            return QString::fromLatin1(name);
    return QString();
}

}  // namespace

class PreferencesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void okReadsTheMaxLevel_data();
    void okReadsTheMaxLevel();
    void storedLevelOutsideTheRangeIsShownAndRefused();
    void refusedFieldIsSelectedAndCorrectedOnce();
    void ruleShownAndTaken_data();
    void ruleShownAndTaken();
    void additionalInformationOnlyWhenExactlyOne();
    void defaultValuesThenCancel();
    void defaultValuesThenOk();
    void controlsAreRefreshedWhenShownAgain();
    void everyControlHasANameAndTheTexts();
    void tolerancesShownAndTaken_data();
    void tolerancesShownAndTaken();
    void speechShownAndTaken_data();
    void speechShownAndTaken();
};

void PreferencesDialogTest::okReadsTheMaxLevel_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<int>("maxLevel");     // after the dialog; stored level was 7

    const QString integer = QStringLiteral("Please enter an integer.");
    const QString range = QStringLiteral("Please enter an integer between 0 and 100.");
    QTest::newRow("ordinary level") << "3"
                                    << "" << 3;
    QTest::newRow("zero") << "0"
                          << "" << 0;
    QTest::newRow("99 is the highest taken") << "99"
                                             << "" << 99;
    QTest::newRow("100 passes but keeps the level") << "100"
                                                    << "" << 7;
    QTest::newRow("blanks and tabs around") << " \t 12\t "
                                            << "" << 12;
    QTest::newRow("plus sign") << "+4"
                               << "" << 4;
    QTest::newRow("101 out of range") << "101" << range << 7;
    QTest::newRow("negative out of range") << "-1" << range << 7;
    QTest::newRow("empty field") << "" << integer << 7;
    QTest::newRow("letters") << "five" << integer << 7;
    QTest::newRow("number with a tail") << "5x" << integer << 7;
    QTest::newRow("two numbers") << "5 6" << integer << 7;
    QTest::newRow("decimal fraction") << "2.5" << integer << 7;
    QTest::newRow("beyond 32 bits") << "99999999999" << integer << 7;
}

void PreferencesDialogTest::okReadsTheMaxLevel() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, maxLevel);
    TestEnvironment env;
    Preferences prefs = rule(false, true, 7, 0);
    PreferencesDialog dialog(prefs);
    bool stayedOpen = false;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        control<QLineEdit>(d, "maxLevelEdit")->setText(typed);
        // A refused OK must leave everything else as it was, too.
        control<QRadioButton>(d, "someWordsRadio")->setChecked(true);
        control<QCheckBox>(d, "showAddInfoCheck")->setChecked(true);
        const int result = ScriptedPrompts::clickButton(d, "okButton");
        stayedOpen = d->isVisible();
        return result;
    });
    const int result = env.prompts().execDialog(&dialog);

    QCOMPARE(prefs.maxLevel, maxLevel);
    if (message.isEmpty()) {
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(env.prompts().messages.empty());
        QCOMPARE(prefs.allWords, false);
        QCOMPARE(prefs.showAddInfo, 1);
    } else {
        QVERIFY(stayedOpen);
        QCOMPARE(env.prompts().messageTexts(), QStringList{message});
        QCOMPARE(env.prompts().messages.front().icon, PromptIcon::Exclamation);
        QCOMPARE(env.prompts().messages.front().owner, &dialog);
        QCOMPARE(prefs.allWords, true);
        QCOMPARE(prefs.showAddInfo, 0);
    }
}

void PreferencesDialogTest::storedLevelOutsideTheRangeIsShownAndRefused() {
    TestEnvironment env;
    Preferences prefs = rule(false, true, 250);
    PreferencesDialog dialog(prefs);
    QString shown;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        shown = control<QLineEdit>(d, "maxLevelEdit")->text();
        ScriptedPrompts::clickButton(d, "okButton");
        return ScriptedPrompts::clickButton(d, "cancelButton");
    });
    QCOMPARE(env.prompts().execDialog(&dialog), int(QDialog::Rejected));
    QCOMPARE(shown, QStringLiteral("250"));
    QCOMPARE(env.prompts().messageTexts(),
             QStringList{QStringLiteral("Please enter an integer between 0 and 100.")});
    QCOMPARE(prefs.maxLevel, 250);
}

void PreferencesDialogTest::refusedFieldIsSelectedAndCorrectedOnce() {
    TestEnvironment env;
    Preferences prefs;
    PreferencesDialog dialog(prefs);
    int secondResult = -1;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        auto* edit = control<QLineEdit>(d, "maxLevelEdit");
        edit->setText(QStringLiteral("abc"));
        ScriptedPrompts::clickButton(d, "okButton");
        if (edit->selectedText() != QStringLiteral("abc"))
            return -2;
        edit->setText(QStringLiteral("8"));
        secondResult = ScriptedPrompts::clickButton(d, "okButton");
        return secondResult;
    });
    QCOMPARE(env.prompts().execDialog(&dialog), int(QDialog::Accepted));
    QCOMPARE(env.prompts().messageTexts(), QStringList{QStringLiteral("Please enter an integer.")});
    QCOMPARE(prefs.maxLevel, 8);
}

void PreferencesDialogTest::ruleShownAndTaken_data() {
    QTest::addColumn<Preferences>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("strictOrder");
    QTest::addColumn<bool>("allWords");

    QTest::newRow("default rule shows all words") << rule(false, true) << "allWordsRadio"
                                                  << "allWordsRadio" << false << true;
    QTest::newRow("strict order wins over all words, and keeps it")
        << rule(true, true) << "strictOrderRadio"
        << "strictOrderRadio" << true << true;
    QTest::newRow("strict order leaves all words clear when it was")
        << rule(false, false) << "someWordsRadio"
        << "strictOrderRadio" << true << false;
    QTest::newRow("all words clears strict order") << rule(true, false) << "strictOrderRadio"
                                                   << "allWordsRadio" << false << true;
    QTest::newRow("some words clears both") << rule(true, true) << "strictOrderRadio"
                                            << "someWordsRadio" << false << false;
}

void PreferencesDialogTest::ruleShownAndTaken() {
    QFETCH(Preferences, stored);
    QFETCH(QString, shown);
    QFETCH(QString, chosen);
    QFETCH(bool, strictOrder);
    QFETCH(bool, allWords);
    TestEnvironment env;
    Preferences prefs = stored;
    PreferencesDialog dialog(prefs);
    QString shownRule;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        shownRule = checkedRule(d);
        control<QRadioButton>(d, qPrintable(chosen))->setChecked(true);
        return ScriptedPrompts::clickButton(d, "okButton");
    });
    QCOMPARE(env.prompts().execDialog(&dialog), int(QDialog::Accepted));
    QCOMPARE(shownRule, shown);
    QCOMPARE(prefs.strictOrder, strictOrder);
    QCOMPARE(prefs.allWords, allWords);
}

void PreferencesDialogTest::additionalInformationOnlyWhenExactlyOne() {
    TestEnvironment env;
    Preferences prefs = rule(false, true, 5, 2);
    PreferencesDialog dialog(prefs);
    bool checked = true;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        checked = control<QCheckBox>(d, "showAddInfoCheck")->isChecked();
        return ScriptedPrompts::clickButton(d, "okButton");
    });
    env.prompts().execDialog(&dialog);
    QVERIFY(!checked);
    QCOMPARE(prefs.showAddInfo, 0);
}

void PreferencesDialogTest::defaultValuesThenCancel() {
    TestEnvironment env;
    Preferences prefs = rule(true, false, 9, 1);
    PreferencesDialog dialog(prefs);
    QString level;
    QString shownRule;
    bool checked = true;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        ScriptedPrompts::clickButton(d, "defaultValuesButton");
        level = control<QLineEdit>(d, "maxLevelEdit")->text();
        shownRule = checkedRule(d);
        checked = control<QCheckBox>(d, "showAddInfoCheck")->isChecked();
        return ScriptedPrompts::clickButton(d, "cancelButton");
    });
    QCOMPARE(env.prompts().execDialog(&dialog), int(QDialog::Rejected));
    QCOMPARE(level, QStringLiteral("5"));
    QCOMPARE(shownRule, QStringLiteral("allWordsRadio"));
    QVERIFY(!checked);
    // The rule and the check box were taken at once; the max level only goes with OK.
    QVERIFY(prefs == rule(false, true, 9, 0));
}

void PreferencesDialogTest::defaultValuesThenOk() {
    TestEnvironment env;
    Preferences prefs = rule(true, false, 9, 1);
    PreferencesDialog dialog(prefs);
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        ScriptedPrompts::clickButton(d, "defaultValuesButton");
        return ScriptedPrompts::clickButton(d, "okButton");
    });
    QCOMPARE(env.prompts().execDialog(&dialog), int(QDialog::Accepted));
    QVERIFY(prefs == rule(false, true, 5, 0));
}

void PreferencesDialogTest::controlsAreRefreshedWhenShownAgain() {
    TestEnvironment env;
    Preferences prefs = rule(false, true, 5, 0);
    PreferencesDialog dialog(prefs);
    env.prompts().dialogHandlers.push_back([](QDialog* d) {
        control<QLineEdit>(d, "maxLevelEdit")->setText(QStringLiteral("42"));
        return ScriptedPrompts::clickButton(d, "cancelButton");
    });
    env.prompts().execDialog(&dialog);
    prefs = rule(true, false, 11, 1);
    QString level;
    QString shownRule;
    bool checked = false;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        level = control<QLineEdit>(d, "maxLevelEdit")->text();
        shownRule = checkedRule(d);
        checked = control<QCheckBox>(d, "showAddInfoCheck")->isChecked();
        return ScriptedPrompts::clickButton(d, "cancelButton");
    });
    env.prompts().execDialog(&dialog);
    QCOMPARE(level, QStringLiteral("11"));
    QCOMPARE(shownRule, QStringLiteral("strictOrderRadio"));
    QVERIFY(checked);
}

void PreferencesDialogTest::everyControlHasANameAndTheTexts() {
    TestEnvironment env;
    Preferences prefs;
    PreferencesDialog dialog(prefs);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(control<QPushButton>(&dialog, "okButton")->text(), QStringLiteral("OK"));
    QCOMPARE(control<QPushButton>(&dialog, "cancelButton")->text(), QStringLiteral("Cancel"));
    QCOMPARE(control<QPushButton>(&dialog, "defaultValuesButton")->text(),
             QStringLiteral("Default Values"));
    QCOMPARE(control<QPushButton>(&dialog, "applicationPathButton")->text(),
             QStringLiteral("Kartomatrix Path"));
    QCOMPARE(control<QCheckBox>(&dialog, "showAddInfoCheck")->text(),
             QStringLiteral("Show additional information during an examination"));
    QCOMPARE(control<QRadioButton>(&dialog, "strictOrderRadio")->text(),
             QStringLiteral("Meanings (answers) have to be entered in the right order."));
    QCOMPARE(control<QRadioButton>(&dialog, "allWordsRadio")->text(),
             QStringLiteral("The meanings do not need to be entered in the right order, but "
                            "you have to enter all words."));
    QCOMPARE(control<QRadioButton>(&dialog, "someWordsRadio")->text(),
             QStringLiteral("You do not need to enter all meanings of a word"));
    for (const char* name : {"ignoreCaseCheck", "ignoreAccentsCheck"}) {
        auto* box = control<QCheckBox>(&dialog, name);
        QVERIFY(box->focusPolicy() & Qt::TabFocus);
        QVERIFY(!box->text().isEmpty());
    }

    auto* edit = control<QLineEdit>(&dialog, "maxLevelEdit");
    const QString label = QStringLiteral(
        "MAX LEVEL: Enter the number of times that a word must be answered correctly before "
        "it can be considered known");
    bool labelled = false;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        labelled = labelled || (l->buddy() == edit && l->text() == label);
    QVERIFY(labelled);
    QCOMPARE(edit->accessibleName(), label);
}

void PreferencesDialogTest::tolerancesShownAndTaken_data() {
    QTest::addColumn<bool>("storedCase");
    QTest::addColumn<bool>("storedAccents");
    QTest::addColumn<QStringList>("steps");   // "case", "accents": Space in that box; buttons
    QTest::addColumn<QString>("shownAtEnd");  // the boxes before the last step: "CA", "C-", ...
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<bool>("ignoreAccents");

    QTest::newRow("off by default, switched on by keyboard")
        << false << false << QStringList{"case", "accents", "okButton"} << "CA" << true << true;
    QTest::newRow("cancel takes nothing")
        << false << true << QStringList{"case", "accents", "cancelButton"} << "C-" << false << true;
    QTest::newRow("default values then OK clears both")
        << true << true << QStringList{"defaultValuesButton", "okButton"} << "--" << false << false;
    QTest::newRow("default values then cancel keeps them")
        << true << true << QStringList{"defaultValuesButton", "cancelButton"} << "--" << true
        << true;
}

void PreferencesDialogTest::tolerancesShownAndTaken() {
    QFETCH(bool, storedCase);
    QFETCH(bool, storedAccents);
    QFETCH(QStringList, steps);
    QFETCH(QString, shownAtEnd);
    QFETCH(bool, ignoreCase);
    QFETCH(bool, ignoreAccents);
    TestEnvironment env;
    Preferences prefs = rule(true, false, 9, 1);
    prefs.ignoreCase = storedCase;
    prefs.ignoreAccents = storedAccents;
    PreferencesDialog dialog(prefs);
    QString shown;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        auto* caseBox = control<QCheckBox>(d, "ignoreCaseCheck");
        auto* accentsBox = control<QCheckBox>(d, "ignoreAccentsCheck");
        int result = QDialog::Rejected;
        for (const QString& step : steps) {
            shown =
                QString(caseBox->isChecked() ? "C" : "-") + (accentsBox->isChecked() ? "A" : "-");
            if (step == "case" || step == "accents") {
                QCheckBox* box = step == "case" ? caseBox : accentsBox;
                box->setFocus(Qt::TabFocusReason);
                QTest::keyClick(box, Qt::Key_Space);
            } else {
                result = ScriptedPrompts::clickButton(d, step);
            }
        }
        return result;
    });
    env.prompts().execDialog(&dialog);
    QCOMPARE(shown, shownAtEnd);
    QCOMPARE(prefs.ignoreCase, ignoreCase);
    QCOMPARE(prefs.ignoreAccents, ignoreAccents);
}

void PreferencesDialogTest::speechShownAndTaken_data() {
    QTest::addColumn<bool>("storedOn");  // every speech setting away from its default
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("defaultsFirst");
    QTest::addColumn<bool>("takenOn");  // the record holds them afterwards

    QTest::newRow("off by default, switched on and taken") << false << "okButton" << false << true;
    QTest::newRow("cancel takes nothing") << false << "cancelButton" << false << false;
    QTest::newRow("default values then OK") << true << "okButton" << true << false;
    QTest::newRow("default values then cancel") << true << "cancelButton" << true << true;
}

void PreferencesDialogTest::speechShownAndTaken() {
    QFETCH(bool, storedOn);
    QFETCH(QString, button);
    QFETCH(bool, defaultsFirst);
    QFETCH(bool, takenOn);
    Preferences on;
    on.speechControls = on.speakQuestion = on.speakAnswer = true;
    on.automaticSpeech = false;
    on.speechRate = -4;
    on.speechVolume = 30;
    TestEnvironment env;
    Preferences prefs = storedOn ? on : Preferences();
    PreferencesDialog dialog(prefs);
    bool shownAsStored = false;
    bool greyedWhileSilenced = false;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        auto* controls = control<QCheckBox>(d, "speechControlsCheck");
        auto* automatic = control<QCheckBox>(d, "automaticSpeechCheck");
        auto* question = control<QCheckBox>(d, "speakQuestionCheck");
        auto* answer = control<QCheckBox>(d, "speakAnswerCheck");
        auto* rate = control<QSlider>(d, "speechRateSlider");
        auto* volume = control<QSlider>(d, "speechVolumeSlider");
        shownAsStored = controls->isChecked() == storedOn && question->isChecked() == storedOn &&
                        automatic->isChecked() == !storedOn && rate->value() == (storedOn ? -4 : 0);
        if (defaultsFirst) {
            ScriptedPrompts::clickButton(d, "defaultValuesButton");
        } else {
            for (QCheckBox* box : {controls, question, answer, automatic}) {
                box->setFocus(Qt::TabFocusReason);
                QTest::keyClick(box, Qt::Key_Space);
            }
            rate->setValue(-4);
            volume->setValue(30);
        }
        greyedWhileSilenced = !question->isEnabled() && !answer->isEnabled();
        return ScriptedPrompts::clickButton(d, button);
    });
    env.prompts().execDialog(&dialog);
    QVERIFY(shownAsStored);
    QCOMPARE(greyedWhileSilenced, !defaultsFirst);
    QVERIFY(prefs == (takenOn ? on : Preferences()));
}

QTEST_MAIN(PreferencesDialogTest)
#include "tst_preferences_dialog.moc"
