#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// The translation files against the sources: a text marked in the code but missing from a
// .ts file, or left untranslated there, would show up in English in a translated window.
namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type;  // "unfinished", "vanished", "obsolete" or empty when done
};

std::vector<Message> readMessages(const QString& path) {
    std::vector<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            numerus = xml.attributes().value(QStringLiteral("numerus")) == u"yes";
            messages.push_back({context, {}, {}, {}});
        } else if (xml.name() == u"source" && !messages.empty()) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !messages.empty()) {
            messages.back().type = xml.attributes().value(QStringLiteral("type")).toString();
            if (!numerus)
                messages.back().translation = xml.readElementText();
        } else if (xml.name() == u"numerusform" && !messages.empty()) {
            // Each plural form is checked as a translation of its own.
            if (!messages.back().translation.isEmpty())
                messages.push_back(messages.back());
            messages.back().translation = xml.readElementText();
        }
    }
    return messages;
}

QStringList placeholders(const QString& text) {
    static const QRegularExpression number(QStringLiteral("%\\d+"));
    QStringList found;
    for (const QRegularExpressionMatch& match : number.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

// "&File" has one, "&&" is a plain ampersand.
int accelerators(QString text) {
    text.remove(QStringLiteral("&&"));
    static const QRegularExpression marker(QStringLiteral("&[^\\s]"));
    return int(text.count(marker));
}

QString describe(const Message& message) {
    return QStringLiteral("%1: \"%2\"").arg(message.context, message.source);
}

}  // namespace

class TranslationFilesTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void translationsKeepPlaceholdersAndAccelerators_data() { everyTextIsTranslated_data(); }
    void translationsKeepPlaceholdersAndAccelerators();
    void everyLanguageIsBuilt_data() { everyTextIsTranslated_data(); }
    void everyLanguageIsBuilt();
};

void TranslationFilesTest::everyTextIsTranslated_data() {
    QTest::addColumn<QString>("tsFile");
    const QDir folder(QStringLiteral(TRANSLATIONS_DIR));
    const QStringList files = folder.entryList({QStringLiteral("*.ts")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files)
        QTest::newRow(qPrintable(name)) << folder.filePath(name);
}

void TranslationFilesTest::everyTextIsTranslated() {
    QFETCH(QString, tsFile);
    // lupdate brings the texts of today's sources into a copy, as update_translations
    // would; whatever it had to add or could not match is a text without translation.
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString copy = work.filePath(QFileInfo(tsFile).fileName());
    QVERIFY(QFile::copy(tsFile, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(
        QStringLiteral(LUPDATE_PATH),
        {QStringLiteral("-no-obsolete"), QStringLiteral("-locations"), QStringLiteral("none"),
         QStringLiteral("-I"), QFileInfo(QStringLiteral(TRANSLATIONS_DIR)).path(),
         QStringLiteral("@") + QStringLiteral(TRANSLATED_SOURCES), QStringLiteral("-ts"), copy});
    QVERIFY(lupdate.waitForFinished(60000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

    QStringList missing;
    const std::vector<Message> messages = readMessages(copy);
    for (const Message& message : messages) {
        if (!message.type.isEmpty() || message.translation.isEmpty())
            missing << describe(message);
    }
    QVERIFY(!messages.empty());
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("Without translation (run the update_translations target "
                                       "and translate them):\n") +
                        missing.join('\n')));
}

void TranslationFilesTest::translationsKeepPlaceholdersAndAccelerators() {
    QFETCH(QString, tsFile);
    QStringList wrong;
    for (const Message& message : readMessages(tsFile)) {
        if (message.translation.isEmpty())
            continue;
        if (placeholders(message.source) != placeholders(message.translation))
            wrong << describe(message) + QStringLiteral(" loses or adds a %n");
        if (accelerators(message.source) != accelerators(message.translation))
            wrong << describe(message) + QStringLiteral(" has not exactly its & accelerators");
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
}

void TranslationFilesTest::everyLanguageIsBuilt() {
    QFETCH(QString, tsFile);
    // The build puts each compiled translation beside the program (and the tests); a .ts
    // file missing from the list in CMakeLists.txt has none.
    const QString compiled =
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("translations/") + QFileInfo(tsFile).completeBaseName() +
                      QStringLiteral(".qm"));
    QVERIFY2(QFileInfo(compiled).isFile(), qPrintable(compiled));
}

QTEST_GUILESS_MAIN(TranslationFilesTest)
#include "tst_translation_files.moc"
