#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <memory>

#include "app/about_dialog.h"
#include "app/preferences_dialog.h"
#include "core/document_info.h"
#include "core/message_ids.h"
#include "platform/string_table.h"
#include "platform/translations.h"
#include "tests/support/main_window_test.h"
#include "widgets/document_info_dialog.h"
#include "widgets/known_card_dialog.h"

namespace {

// Every text a window shows or gives a screen reader, in the order its parts were made.
QStringList shownTexts(QWidget* window) {
    QStringList texts{QStringLiteral("title=") + window->windowTitle()};
    for (QObject* child : window->findChildren<QObject*>()) {
        const QString who = child->objectName() + QLatin1Char(':');
        if (auto* action = qobject_cast<QAction*>(child))
            texts << who + action->text();
        if (auto* menu = qobject_cast<QMenu*>(child))
            texts << who + menu->title();
        if (auto* button = qobject_cast<QAbstractButton*>(child))
            texts << who + button->text();
        if (auto* label = qobject_cast<QLabel*>(child))
            texts << who + label->text();
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            texts << who + widget->accessibleName() << who + widget->accessibleDescription()
                  << who + widget->toolTip();
        }
    }
    return texts;
}

// The menu items by object name, "-" standing for nothing.
QMap<QString, QString> menuTexts(QWidget* window) {
    QMap<QString, QString> texts;
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        texts[menu->objectName()] = menu->title();
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts[action->objectName()] = action->text();
        }
    }
    return texts;
}

QChar accelerator(const QString& text) {
    const qsizetype at = QString(text).remove(QStringLiteral("&&")).indexOf(QLatin1Char('&'));
    return at < 0 ? QChar() : QString(text).remove(QStringLiteral("&&")).at(at + 1).toLower();
}

QStringList stringTableTexts() {
    QStringList texts;
    for (int id = 101; id <= 182; ++id)
        texts << stringText(id);
    return texts;
}

QStringList otherWindowTexts() {
    Preferences preferences;
    PreferencesDialog preferencesDialog(preferences);
    AboutDialog about;
    KnownCardDialog known;
    DocumentInfoDialog info{DocumentInfo{}};
    return shownTexts(&preferencesDialog) + shownTexts(&about) + shownTexts(&known) +
           shownTexts(&info);
}

}  // namespace

class TestLanguages : public MainWindowTest {
    Q_OBJECT

private slots:
    void cleanup() {
        finishMainWindow();
        translations_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void translationFoundWhereTheProgramIs_data() {
        QTest::addColumn<QString>("qmAt");  // relative to a folder holding bin/
        QTest::addColumn<bool>("found");
        QTest::newRow("installed") << "share/kartomatrix/translations" << true;
        QTest::newRow("in the build folder") << "bin/translations" << true;
        QTest::newRow("elsewhere") << "share/translations" << false;
    }
    void translationFoundWhereTheProgramIs() {
        QFETCH(QString, qmAt);
        QFETCH(bool, found);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")) && prefix.mkpath(qmAt));
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() +
                                QStringLiteral("/translations/kartomatrix_de.qm"),
                            prefix.filePath(qmAt + QStringLiteral("/kartomatrix_de.qm"))));
        const Translations german(QLocale(QLocale::German), prefix.filePath(QStringLiteral("bin")));
        QCOMPARE(!german.language().isEmpty(), found);
    }

    void germanWindowTexts_data() {
        QTest::addColumn<QString>("object");    // or the command that shows the text
        QTest::addColumn<QString>("property");  // or what the command shows
        QTest::addColumn<QString>("expected");
        const struct {
            const char* row;
            const char* object;
            const char* property;
            const char* expected;
        } rows[] = {
            {"menu title", "menuFile", "title", "&Datei"},
            {"menu item", "openListAction", "text", "Liste ö&ffnen..."},
            {"umlaut accelerator", "overviewAction", "text", "&Übersicht..."},
            {"help item", "userGuideAction", "text", "&Benutzerhandbuch"},
            {"about item from the string table", "aboutAction", "text",
             "Über Kartomatrix für Windows"},
            {"button", "systematicButton", "text", "Systematische Abfrage"},
            {"button with its spaces", "exchangeButton", "text", " Frage <-> Antwort"},
            {"picture button name", "cardBoxButton", "accessibleName",
             "Karteikasten: die Liste speichern oder, wenn keine offen ist, eine Liste öffnen"},
            {"tooltip", "examineButton", "toolTip", "Die erste verfügbare Abfrage starten"},
            {"window title", "40008", "dialog", "Einstellungen"},
            {"about window title", "16", "dialog", "Über Kartomatrix"},
            {"message from the string table", "40020", "message",
             "Ein Fehler ist aufgetreten|Es gibt keine Karten zum Sortieren"},
            {"file dialog", "40002", "open",
             "Liste öffnen:|Kartomatrix-Dateien (*.KMX) (*.kmx *.KMX);;"
             "Textdateien (*.TXT) (*.txt *.TXT)"},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.row)
                << QString(row.object) << QString(row.property) << QString(row.expected);
        }
    }
    void germanWindowTexts() {
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        startIn(QLocale(QLocale::German, QLocale::Germany));
        QString actual;
        if (property == "dialog" || property == "message" || property == "open") {
            prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
            prompts().openChoices.push_back(FileChoice{});
            main_->runCommand(static_cast<Command>(object.toInt()));
            if (property == "dialog")
                actual = prompts().dialogs.value(0);
            if (property == "message" && !prompts().messages.empty())
                actual = prompts().messages[0].caption + '|' + prompts().messages[0].text;
            if (property == "open" && !prompts().openRequests.empty()) {
                actual = prompts().openRequests[0].title + '|' +
                         prompts().openRequests[0].filters.join(QStringLiteral(";;"));
            }
        } else {
            QObject* found = main_->findChild<QObject*>(object);
            QVERIFY2(found, qPrintable(object));
            actual = found->property(property.toLatin1()).toString();
        }
        QCOMPARE(actual, expected);
    }

    void germanMenusAreWholeAndReachableByKeyboard() {
        startMainWindow();
        const QMap<QString, QString> english = menuTexts(main_.get());
        finishMainWindow();
        startIn(QLocale(QLocale::German, QLocale::Germany));
        const QMap<QString, QString> german = menuTexts(main_.get());
        QCOMPARE(german.keys(), english.keys());
        // A text that stayed English was left out of the translation (or never marked).
        for (const QString& key : english.keys())
            QVERIFY2(german[key] != english[key], qPrintable(key + ": " + english[key]));
        // Alt and a letter must reach one menu, and in it one item.
        auto* menuBar = main_->findChild<QMenuBar*>();
        QStringList clashes;
        auto checkApart = [&](const QList<QAction*>& actions, const QString& where) {
            QMap<QChar, QString> taken;
            for (QAction* action : actions) {
                const QChar key = accelerator(action->text());
                if (key.isNull())
                    continue;
                if (taken.contains(key))
                    clashes << where + ": " + taken[key] + " / " + action->text();
                taken[key] = action->text();
            }
        };
        checkApart(menuBar->actions(), QStringLiteral("menu bar"));
        for (QMenu* menu : menuBar->findChildren<QMenu*>())
            checkApart(menu->actions(), menu->title());
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));
    }

    void germanMessagesFitTheirBoxes() {
        install(QLocale(QLocale::German, QLocale::Germany));
        for (int id = 101; id <= 182; ++id)
            QVERIFY2(stringText(id).size() <= 399, qPrintable(QString::number(id)));
        for (int caption : {Msg::CautionCaption, Msg::ErrorCaption, Msg::NoticeCaption})
            QVERIFY(stringText(caption).size() <= 49);
    }

    void englishKeepsEveryText_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("American English") << "en_US";
        QTest::newRow("French, which has no translation") << "fr_FR";
    }
    void englishKeepsEveryText() {
        QFETCH(QString, locale);
        // What the code says, with no translation at all.
        startMainWindow();
        const QStringList mainTexts = shownTexts(main_.get());
        finishMainWindow();
        const QStringList otherTexts = otherWindowTexts();
        const QStringList messages = stringTableTexts();
        QVERIFY(mainTexts.contains(QStringLiteral("openListAction:&Open List...")));

        startIn(QLocale(locale));
        QCOMPARE(shownTexts(main_.get()), mainTexts);
        QCOMPARE(otherWindowTexts(), otherTexts);
        QCOMPARE(stringTableTexts(), messages);
    }

    void qtDialogsSpeakTheSameLanguage() {
        const QString qtGerman = QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                                     .filePath(QStringLiteral("qtbase_de.qm"));
        if (!QFileInfo::exists(qtGerman))
            QSKIP("Qt's German translation (qt6-translations-l10n) is not installed");
        install(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        translations_.reset();
        install(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
    }

private:
    // As the program does it: the default locale (the system's, here the test's) and the
    // translations found from the program's folder.
    void install(const QLocale& locale) {
        QLocale::setDefault(locale);
        translations_ =
            std::make_unique<Translations>(QLocale(), QCoreApplication::applicationDirPath());
    }
    void startIn(const QLocale& locale) {
        install(locale);
        startMainWindow();
    }

    std::unique_ptr<Translations> translations_;
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
