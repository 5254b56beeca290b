#include "app/trainer_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>

#include "app/main_dialog.h"
#include "core/card_store.h"
#include "core/preferences.h"
#include "platform/fonts.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/settings_store.h"
#include "platform/translations.h"
#include "session/card_speech.h"
#include "session/preferences_settings.h"
#include "widgets/screen_fit.h"

const char* TrainerApp::version() {
    return KARTOMATRIX_VERSION;
}

QString TrainerApp::commandLineList(const QStringList& arguments) {
    if (arguments.size() == 2 && arguments[1] == QLatin1String("--empty"))
        return QString();
    return arguments.mid(1).join(' ');
}

QString TrainerApp::commandLineAnswer(const QStringList& arguments) {
    if (arguments.size() != 2)
        return QString();
    const QString& option = arguments[1];
    if (option == QLatin1String("--version"))
        return QStringLiteral("Kartomatrix %1\n").arg(QLatin1String(version()));
    if (option != QLatin1String("--help") && option != QLatin1String("-h"))
        return QString();
    return QCoreApplication::translate(
               "TrainerApp",
               "Usage: %1 [LIST FILE | --empty | --help | --version]\n"
               "\n"
               "A vocabulary trainer. Opens the list file named on the command line; the\n"
               "whole text after the program name is taken as its path, blanks included.\n"
               "\n"
               "  --empty     start without a list (as with no argument)\n"
               "  --help, -h  show this text and end\n"
               "  --version   show the version number and end\n")
        .arg(QFileInfo(arguments[0]).fileName());
}

int TrainerApp::run(int& argc, char** argv) {
    processMilliseconds();  // the process clock starts here
    {
        // Answered without a window, so that it works where there is no display.
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (!commandLineAnswer(arguments).isEmpty()) {
            QCoreApplication core(argc, argv);
            const Translations translations(QLocale(), QCoreApplication::applicationDirPath());
            QTextStream(stdout) << commandLineAnswer(arguments);
            return 0;
        }
    }
    QApplication application(argc, argv);
    keepWindowsOnScreen(&application);
    QApplication::setApplicationName(kSettingsKey);
    QApplication::setOrganizationName(kSettingsKey);
    QApplication::setApplicationVersion(QLatin1String(version()));
    // The installed desktop file, by which shells give the window its name and icon.
    QGuiApplication::setDesktopFileName("io.github.kartomatrix.Kartomatrix");
    // The system's language (LANG, LANGUAGE); installed before any window makes its texts.
    const Translations translations(QLocale(), QApplication::applicationDirPath());

    CardStore store;
    store.unknownList.clear();
    seedProcessRandom(static_cast<unsigned>(processMilliseconds()));

    LogFont documentFont = defaultDocumentFont();
    if (!fontUsable(documentFont))
        documentFont = fallbackDocumentFont();

    Preferences preferences;
    MainDialog mainDialog(store, preferences, documentFont);
    {
        SettingsStore settings;
        loadPreferences(preferences, settings);
    }
    mainDialog.setStartupList(commandLineList(QApplication::arguments()));
    // Once the main window is up: the speech service may take a while to answer.
    QTimer::singleShot(0, &mainDialog, [&preferences] { prepareSpeech(preferences); });
    aboutToRun(mainDialog);
    return mainDialog.exec();
}
