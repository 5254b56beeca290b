#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "app/user_guide.h"
#include "app/user_guide_window.h"
#include "platform/translations.h"
#include "tests/support/main_window_test.h"

// Help > User Guide (F1): the page the build or the installation put beside the program,
// in the program's language, shown in a window of the program's own.
class TestUserGuide : public MainWindowTest {
    Q_OBJECT

private slots:
    void cleanup() {
        finishMainWindow();
        translations_.reset();
    }

    void f1ShowsTheGuideTheBuildMade_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("preference");  // the tolerance preference as the guide names it
        QTest::newRow("English") << QString() << "user-guide.html"
                                 << "User Guide"
                                 << "Ignore case";
        QTest::newRow("German") << "de_DE"
                                << "user-guide.de.html"
                                << "Benutzerhandbuch"
                                << "Groß- und Kleinschreibung ignorieren";
    }
    void f1ShowsTheGuideTheBuildMade() {
        QFETCH(QString, language);
        QFETCH(QString, page);
        QFETCH(QString, title);
        QFETCH(QString, preference);
        if (!language.isEmpty()) {
            translations_ = std::make_unique<Translations>(QLocale(language),
                                                           QCoreApplication::applicationDirPath());
            QCOMPARE(translations_->language(), language);
        }
        startMainWindow();
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QTest::keyClick(main_.get(), Qt::Key_F1);
        QVERIFY(prompts().messages.empty());
        auto* guide = window<UserGuideWindow>();
        QVERIFY(guide);
        QCOMPARE(guide->windowTitle(), title);
        const QUrl shown = guide->browser()->source();
        QVERIFY(shown.isLocalFile());
        QCOMPARE(shown.fileName(), page);
        QVERIFY2(guide->browser()->toPlainText().contains(preference), qPrintable(preference));
        QVERIFY(!guide->browser()->accessibleName().isEmpty());

        // F1 again raises the same window; Ctrl+F and Enter find a word, going round.
        main_->board().action(Command::UserGuide)->trigger();
        QCOMPARE(main_->findChildren<UserGuideWindow*>().size(), qsizetype(1));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(guide));
        QTest::keyClick(guide, Qt::Key_F, Qt::ControlModifier);
        auto* find = guide->findChild<QLineEdit*>("guideFindEdit");
        QVERIFY(find->hasFocus() && !find->accessibleName().isEmpty());
        QTest::keyClicks(find, "kartomatrix");
        const int first = guide->browser()->textCursor().selectionStart();
        QTest::keyClick(find, Qt::Key_Return);
        QVERIFY(guide->browser()->textCursor().selectionStart() > first);
        QCOMPARE(guide->browser()->textCursor().selectedText().toLower(), QString("kartomatrix"));
        QVERIFY(guide->isVisible());
        find->setText(QStringLiteral("no such word in the guide"));
        QVERIFY(!guide->findText());
        QCOMPARE(guide->browser()->textCursor().selectedText().toLower(), QString("kartomatrix"));

        const QPointer<UserGuideWindow> alive(guide);
        QTest::keyClick(find, Qt::Key_Escape);
        QTRY_VERIFY(alive.isNull());
    }

    void guideIsFoundOrItsPlaceNamed_data() {
        QTest::addColumn<QString>("pages");     // relative to a folder holding bin/
        QTest::addColumn<QString>("language");  // of the program's texts
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("messageNames");
        const QString installed = QStringLiteral("share/doc/kartomatrix/user-guide.html");
        const QString german = QStringLiteral("share/doc/kartomatrix/user-guide.de.html");
        QTest::newRow("installed") << installed << "en" << installed << QString();
        QTest::newRow("in the build folder") << "bin/user-guide.html"
                                             << "en"
                                             << "bin/user-guide.html" << QString();
        QTest::newRow("German") << installed + '|' + german << "de" << german << QString();
        QTest::newRow("English for a language without a guide")
            << installed + '|' + german << "fr" << installed << QString();
        QTest::newRow("German missing: English") << "bin/user-guide.html"
                                                 << "de"
                                                 << "bin/user-guide.html" << QString();
        QTest::newRow("missing: the installed place and the website")
            << QString() << "en" << QString()
            << "share/doc/kartomatrix/user-guide.html|https://github.com/kartomatrix";
    }
    void guideIsFoundOrItsPlaceNamed() {
        QFETCH(QString, pages);
        QFETCH(QString, language);
        QFETCH(QString, found);
        QFETCH(QString, messageNames);
        startMainWindow();
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")));
        for (const QString& page : pages.split('|', Qt::SkipEmptyParts)) {
            QVERIFY(prefix.mkpath(QFileInfo(page).path()));
            QFile file(prefix.filePath(page));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<p>" + page.toUtf8() + "</p>");
        }
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QCOMPARE(findUserGuide(bin, language),
                 found.isEmpty() ? QString() : QDir::cleanPath(prefix.filePath(found)));
        if (language != QLatin1String("en"))
            return;

        openUserGuide(main_.get(), bin);
        auto* guide = window<UserGuideWindow>();
        QCOMPARE(guide != nullptr, !found.isEmpty());
        if (guide)
            QCOMPARE(guide->browser()->source(), QUrl::fromLocalFile(prefix.filePath(found)));
        QCOMPARE(prompts().messages.size(), size_t(messageNames.isEmpty() ? 0 : 1));
        for (const QString& part : messageNames.split('|', Qt::SkipEmptyParts)) {
            QVERIFY2(prompts().messages[0].text.contains(part),
                     qPrintable(prompts().messages[0].text));
        }
    }

private:
    std::unique_ptr<Translations> translations_;
};

QTEST_MAIN(TestUserGuide)
#include "tst_user_guide.moc"
