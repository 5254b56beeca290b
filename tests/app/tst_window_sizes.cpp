#include <QDialog>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/main_window_test.h"
#include "tests/support/test_files.h"
#include "widgets/screen_fit.h"

// Every window on a 1280x900 screen at scale factor 2, which leaves 640x450 to lay out in.
class TestWindowSizes : public MainWindowTest {
    Q_OBJECT

    // The shown windows that reach beyond the available screen, with their sizes.
    static QStringList offScreen() {
        QStringList names;
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const QRect frame = window->frameGeometry();
            if (window->isVisible() && !available.contains(frame))
                names << QString("%1 %2x%3")
                             .arg(window->windowTitle())
                             .arg(frame.width())
                             .arg(frame.height());
        }
        return names;
    }
    QTemporaryDir dir_;

private slots:
    void init() { startMainWindow(); }
    void cleanup() { finishMainWindow(); }

    void everyWindowFitsTheScreen() {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(640, 450));
        QByteArray list;
        for (int i = 0; i < 30; ++i)
            list += QString("Frage %1\tAntwort %1\r\n").arg(i).toLatin1();
        QStringList beyond;  // modal dialogs are looked at while they run
        const auto fitsThenAccept = [&beyond](QDialog* dialog) {
            beyond += offScreen();
            dialog->accept();
            return dialog->result();
        };
        main_->show();
        prompts().dialogHandlers.push_back(fitsThenAccept);  // document information
        main_->session().openList(writeTestFile(dir_, "list.txt", list));
        for (Command command : {Command::Statistics, Command::Overview, Command::NewCards,
                                Command::ModifyCards, Command::ChooseLesson})
            main_->runCommand(command);
        beyond += offScreen();
        for (Command command : {Command::Preferences, Command::About, Command::ChooseLevel}) {
            prompts().dialogHandlers.push_back(fitsThenAccept);
            main_->runCommand(command);
        }
        QVERIFY2(beyond.isEmpty(), qPrintable(beyond.join(", ")));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir folder;
    const QString config = writeTestFile(
        folder, "screen.json", R"({"screens": [{"width": 1280, "height": 900, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    keepWindowsOnScreen(&application);
    TestWindowSizes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_sizes.moc"
