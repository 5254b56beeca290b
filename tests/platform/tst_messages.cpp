#include <QtTest>

#include "core/message_ids.h"
#include "platform/messages.h"
#include "platform/string_table.h"
#include "tests/support/test_environment.h"

Q_DECLARE_METATYPE(PromptIcon)

namespace {

struct Box {
    PromptIcon icon;
    QString caption;
    QString text;
};

}  // namespace

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void boxes_data();
    void boxes();
    void fatalErrorShowsTheBoxThenEndsWithEight();
    void questionComesFromTheTable_data();
    void questionComesFromTheTable();
};

void MessagesTest::boxes_data() {
    QTest::addColumn<bool>("notice");
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<Box>>("expected");

    const QString error = QStringLiteral("An error occurred");
    const QString notice = QStringLiteral("Message:");
    const QString reportFailed = stringText(Msg::ReportFailed);
    QTest::newRow("error with text")
        << false << 131
        << QList<Box>{{PromptIcon::Error, error, "There was an error while saving cards."}};
    QTest::newRow("notice with text")
        << true << 133
        << QList<Box>{{PromptIcon::Information, notice, "You reached the end of the list."}};
    QTest::newRow("error without text: report failed, then an empty error box")
        << false << int(Msg::Unspecified)
        << QList<Box>{{PromptIcon::Error, error, reportFailed}, {PromptIcon::Error, error, ""}};
    QTest::newRow("notice without text: report failed, then an empty notice box")
        << true << 182
        << QList<Box>{{PromptIcon::Error, error, reportFailed},
                      {PromptIcon::Information, notice, ""}};
}

void MessagesTest::boxes() {
    QFETCH(bool, notice);
    QFETCH(int, id);
    QFETCH(QList<Box>, expected);
    TestEnvironment env;
    if (notice)
        showNotice(id);
    else
        showError(id);
    const auto& shown = env.prompts().messages;
    QCOMPARE(int(shown.size()), int(expected.size()));
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(shown[i].owner, nullptr);
        QCOMPARE(shown[i].icon, expected[i].icon);
        QCOMPARE(shown[i].caption, expected[i].caption);
        QCOMPARE(shown[i].text, expected[i].text);
    }
}

void MessagesTest::fatalErrorShowsTheBoxThenEndsWithEight() {
    TestEnvironment env;
    QCOMPARE(exitStatusOf([] { fatalError(Msg::NonexistentDialog); }), std::optional(8));
    QCOMPARE(env.prompts().messageTexts(), QStringList{stringText(Msg::NonexistentDialog)});
}

void MessagesTest::questionComesFromTheTable_data() {
    QTest::addColumn<PromptAnswer>("scripted");
    QTest::addColumn<bool>("script");
    QTest::addColumn<PromptAnswer>("expected");
    QTest::newRow("yes") << PromptAnswer::Yes << true << PromptAnswer::Yes;
    QTest::newRow("no") << PromptAnswer::No << true << PromptAnswer::No;
    QTest::newRow("nobody answers: cancel") << PromptAnswer::Yes << false << PromptAnswer::Cancel;
}

void MessagesTest::questionComesFromTheTable() {
    QFETCH(PromptAnswer, scripted);
    QFETCH(bool, script);
    QFETCH(PromptAnswer, expected);
    TestEnvironment env;
    if (script)
        env.prompts().answers.push_back(scripted);
    QWidget owner;
    QCOMPARE(askYesNoCancel(&owner, Msg::SaveBeforeClose, Msg::CautionCaption), expected);
    const auto& asked = env.prompts().questions;
    QCOMPARE(int(asked.size()), 1);
    QCOMPARE(asked[0].owner, &owner);
    QCOMPARE(asked[0].icon, PromptIcon::Exclamation);
    QCOMPARE(asked[0].caption, QStringLiteral("Caution:"));
    QCOMPARE(asked[0].text, stringText(Msg::SaveBeforeClose));
    QVERIFY(asked[0].withCancel);
}

QTEST_MAIN(MessagesTest)
#include "tst_messages.moc"
