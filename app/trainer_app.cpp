#include "app/trainer_app.h"

#include <QApplication>
#include <QGuiApplication>
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

QString TrainerApp::commandLineList(const QStringList& arguments) {
    return arguments.mid(1).join(' ');
}

int TrainerApp::run(int& argc, char** argv) {
    processMilliseconds();  // the process clock starts here
    QApplication application(argc, argv);
    QApplication::setApplicationName(kSettingsKey);
    QApplication::setOrganizationName(kSettingsKey);
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
