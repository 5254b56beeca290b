// The real program, started the way main starts it, with a scripted user: the steps in
// PROBE_STEPS (separated by ';') run once the main window is up. Everything the program
// asks is answered from the script, and everything it showed is printed when the process
// ends, so that a test in another process can check the exit status, the files and the
// settings the program left behind.
//
// Steps: answer:Yes|No|Cancel, open:PATH, save-as:PATH, accept-dialog, add-card:Q/A,
// command:NUMBER, close-box, font-box-without-font, speak:LANGUAGE:TEXT (says the text and
// waits until the voice starts, printing how long that took). After the last step the probe ends
// itself with status 42, so that "the program went on" is visible from outside.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/main_dialog.h"
#include "app/trainer_app.h"
#include "core/card_store.h"
#include "core/list_ops.h"
#include "platform/speaker.h"
#include "session/list_session.h"
#include "tests/support/scripted_prompts.h"
#include "widgets/font_edit_box.h"

namespace {

constexpr int kStillRunning = 42;

ScriptedPrompts& scripted() {
    static ScriptedPrompts prompts;
    return prompts;
}

void printWhatWasShown() {
    for (const QString& line : scripted().log)
        std::printf("shown: %s\n", qPrintable(line));
    for (const QString& line : scripted().unexpected)
        std::printf("unexpected: %s\n", qPrintable(line));
    std::fflush(stdout);
}

PromptAnswer answerNamed(const QString& name) {
    if (name == QLatin1String("Yes"))
        return PromptAnswer::Yes;
    if (name == QLatin1String("No"))
        return PromptAnswer::No;
    return PromptAnswer::Cancel;
}

void runStep(MainDialog& mainDialog, const QString& step) {
    const QString name = step.section(':', 0, 0);
    const QString argument = step.section(':', 1);
    if (name == QLatin1String("answer")) {
        scripted().answers.push_back(answerNamed(argument));
    } else if (name == QLatin1String("open")) {
        scripted().openChoices.push_back({argument, 0});
        mainDialog.runCommand(Command::OpenList);
    } else if (name == QLatin1String("save-as")) {
        scripted().saveChoices.push_back({argument, 0});
    } else if (name == QLatin1String("accept-dialog")) {
        scripted().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
    } else if (name == QLatin1String("add-card")) {
        addCard(mainDialog.session().store(), mainDialog.session().store().unknownList,
                argument.section('/', 0, 0).toStdString(), argument.section('/', 1).toStdString(),
                "", "");
    } else if (name == QLatin1String("command")) {
        mainDialog.runCommand(static_cast<Command>(argument.toInt()));
    } else if (name == QLatin1String("speak")) {
        Speaker& speaker = Speaker::shared();
        QElapsedTimer clock;
        clock.start();
        QEventLoop wait;
        QObject::connect(&speaker, &Speaker::speakingChanged, &wait, &QEventLoop::quit);
        QObject::connect(&speaker, &Speaker::failed, &wait, &QEventLoop::quit);
        QTimer::singleShot(60000, &wait, &QEventLoop::quit);
        speaker.speak(argument.section(':', 1), QLocale(argument.section(':', 0, 0)));
        wait.exec();
        std::printf("speech: %s after %lld ms\n", speaker.speaking() ? "started" : "not started",
                    static_cast<long long>(clock.elapsed()));
    } else if (name == QLatin1String("close-box")) {
        mainDialog.close();
    } else if (name == QLatin1String("font-box-without-font")) {
        FontEditBox box(&mainDialog);
        box.setFieldFont(nullptr, 18);
    } else {
        std::fprintf(stderr, "probe: unknown step %s\n", qPrintable(step));
    }
}

class ProbedApp : public TrainerApp {
protected:
    void aboutToRun(MainDialog& mainDialog) override {
        const QStringList steps =
            QString::fromLocal8Bit(qgetenv("PROBE_STEPS")).split(';', Qt::SkipEmptyParts);
        // After the first paint, as a user would start.
        QMetaObject::invokeMethod(
            &mainDialog,
            [&mainDialog, steps] {
                for (const QString& step : steps)
                    runStep(mainDialog, step);
                std::exit(kStillRunning);
            },
            Qt::QueuedConnection);
    }
};

}  // namespace

int main(int argc, char** argv) {
    setPrompts(&scripted());
    std::atexit(printWhatWasShown);
    ProbedApp app;
    return app.run(argc, argv);
}
