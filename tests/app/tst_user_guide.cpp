#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "app/user_guide.h"
#include "platform/url_opener.h"
#include "tests/support/main_window_test.h"

// Help > User Guide (F1): the page the build or the installation put beside the program,
// shown by the desktop's browser, which the tests replace.
class TestUserGuide : public MainWindowTest {
    Q_OBJECT

private slots:
    void init() {
        startMainWindow();
        opened_.clear();
        browserStarts_ = true;
        setUrlOpener([this](const QUrl& url) {
            opened_ << url;
            return browserStarts_;
        });
    }
    void cleanup() {
        setUrlOpener(nullptr);
        finishMainWindow();
    }

    void f1OpensTheGuideTheBuildMade() {
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QTest::keyClick(main_.get(), Qt::Key_F1);
        QCOMPARE(opened_.size(), qsizetype(1));
        QVERIFY(opened_[0].isLocalFile());
        QVERIFY2(QFileInfo(opened_[0].toLocalFile()).isFile(), qPrintable(opened_[0].toString()));
        QVERIFY(opened_[0].fileName() == QStringLiteral("user-guide.html"));
        QVERIFY(prompts().messages.empty());
    }

    void guideIsFoundOrItsPlaceNamed_data() {
        QTest::addColumn<QString>("guideAt");  // relative to a folder holding bin/
        QTest::addColumn<bool>("browserStarts");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("messageNames");
        QTest::newRow("installed")
            << "share/doc/kartomatrix/user-guide.html" << true << true << QString();
        QTest::newRow("in the build folder") << "bin/user-guide.html" << true << true << QString();
        QTest::newRow("missing: the installed place and the website")
            << QString() << true << false
            << "share/doc/kartomatrix/user-guide.html|https://github.com/kartomatrix";
        QTest::newRow("no browser: the page to open by hand")
            << "share/doc/kartomatrix/user-guide.html" << false << true
            << "share/doc/kartomatrix/user-guide.html";
    }
    void guideIsFoundOrItsPlaceNamed() {
        QFETCH(QString, guideAt);
        QFETCH(bool, browserStarts);
        QFETCH(bool, opened);
        QFETCH(QString, messageNames);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")));
        if (!guideAt.isEmpty()) {
            QVERIFY(prefix.mkpath(QFileInfo(guideAt).path()));
            QFile guide(prefix.filePath(guideAt));
            QVERIFY(guide.open(QIODevice::WriteOnly));
        }
        browserStarts_ = browserStarts;

        openUserGuide(main_.get(), prefix.filePath(QStringLiteral("bin")));

        QCOMPARE(opened_.size(), qsizetype(opened ? 1 : 0));
        if (opened)
            QCOMPARE(opened_[0], QUrl::fromLocalFile(prefix.filePath(guideAt)));
        QCOMPARE(prompts().messages.size(), size_t(messageNames.isEmpty() ? 0 : 1));
        for (const QString& part : messageNames.split('|', Qt::SkipEmptyParts)) {
            QVERIFY2(prompts().messages[0].text.contains(part),
                     qPrintable(prompts().messages[0].text));
        }
    }

private:
    QList<QUrl> opened_;
    bool browserStarts_ = true;
};

QTEST_MAIN(TestUserGuide)
#include "tst_user_guide.moc"
