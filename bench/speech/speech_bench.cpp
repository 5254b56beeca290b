// kartomatrix-speech-bench startup [--speech] [--engine]
// kartomatrix-speech-bench exam CARDS [--answer] [--engine-up] [--hurry]
//
// Figures for speech in the real program: the main window and the examination window as
// the program makes them (run it offscreen), on the speech engine Qt picks (on Linux
// speech-dispatcher with espeak-ng) unless KARTOMATRIX_SPEECH_ENGINE names another.
// scripts/check-speech --figures runs it against a private speech service and sums up many runs.
//
// startup: ends the process at the main window's first paint and prints the wall clock
// then (CLOCK_REALTIME, so that the caller can take its own start from it) and the
// resident memory. --speech switches the automatic speech of the question on, as the
// preferences would; --engine then also waits for the engine to come up and for the first
// text to be spoken, and prints the time and memory at each.
//
// exam: opens an examination in order over CARDS German cards with English answers, the
// question spoken when a card is shown (and with --answer the right answer after it is
// judged). Each card is answered rightly once its question has been spoken, or with
// --hurry as soon as it starts to be spoken. The start of speech is the engine reporting
// that it speaks (its state changing to speaking), as the program's speaker passes it on;
// the card counts as shown when the window has shown it (the examination started, or the
// answer to the card before judged). The first card is
// cold: its examination starts at the first paint, while the engine is still starting, or
// with --engine-up once the engine is up, as for a learner who starts an examination a few
// seconds after the program.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "app/trainer_app.h"
#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "exam/examination_dialog.h"
#include "platform/prompts.h"
#include "platform/speaker.h"
#include "session/list_session.h"

namespace {

// Nobody is at the keyboard: every message is taken as read, every question declined.
class SilentPrompts : public Prompts {
public:
    void message(QWidget*, PromptIcon, const QString&, const QString&) override {}
    PromptAnswer question(QWidget*, PromptIcon, const QString&, const QString&, bool) override {
        return PromptAnswer::No;
    }
    FileChoice openFile(QWidget*, const FileRequest&) override { return {}; }
    FileChoice saveFile(QWidget*, const FileRequest&) override { return {}; }
    LogFont chooseFont(QWidget*, const LogFont& preset) override { return preset; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    int execDialog(QDialog*) override { return 0; }
    void beep(int, int) override {}
};

const char* const kWords[][2] = {
    {"das Haus", "the house"},    {"die Katze", "the cat"},     {"der Hund", "the dog"},
    {"der Baum", "the tree"},     {"das Wasser", "the water"},  {"die Sonne", "the sun"},
    {"der Mond", "the moon"},     {"das Brot", "the bread"},    {"die Milch", "the milk"},
    {"der Tisch", "the table"},   {"der Stuhl", "the chair"},   {"das Fenster", "the window"},
    {"die Tür", "the door"},      {"das Buch", "the book"},     {"die Schule", "the school"},
    {"der Garten", "the garden"}, {"die Straße", "the street"}, {"das Auto", "the car"},
    {"der Zug", "the train"},     {"die Stadt", "the town"},    {"das Dorf", "the village"},
    {"der Fluss", "the river"},   {"der Berg", "the mountain"}, {"das Meer", "the sea"},
    {"die Blume", "the flower"},  {"der Vogel", "the bird"},    {"der Apfel", "the apple"},
    {"die Uhr", "the clock"},     {"das Bett", "the bed"},      {"die Hand", "the hand"},
};

long statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

bool speechPluginMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("texttospeech");
}

long long realtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Runs the event loop until `done` holds; false when `milliseconds` pass first.
template <typename Condition>
bool waitFor(Condition done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// When the speaker last started and stopped speaking, on one monotonic clock.
struct SpeechWatch {
    QElapsedTimer clock;
    qint64 started = -1;
    qint64 ended = -1;
    int starts = 0;

    void follow(Speaker& speaker) {
        clock.start();
        QObject::connect(&speaker, &Speaker::speakingChanged, [this](bool speaking) {
            (speaking ? started : ended) = clock.elapsed();
            starts += speaking ? 1 : 0;
        });
    }
};

struct Spread {
    double median, low, high, p90;
};

Spread spreadOf(std::vector<double> values) {
    if (values.empty())
        return {0, 0, 0, 0};
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) { return values[size_t(share * double(values.size() - 1))]; };
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back(), at(0.9)};
}

void printSpread(const char* what, const std::vector<double>& values) {
    const Spread s = spreadOf(values);
    std::printf("%s: median %.0f ms, min %.0f, 90%% %.0f, max %.0f (%zu cards)\n", what, s.median,
                s.low, s.p90, s.high, values.size());
}

[[noreturn]] void end(int status) {
    std::fflush(stdout);
    // Not through the destructors: the figures are taken, and a speech service that is
    // still starting must not hold the end.
    std::_Exit(status);
}

int runExam(MainDialog& mainDialog, int cards, bool answerToo, bool engineUp, bool hurry) {
    ListSession& session = mainDialog.session();
    mainDialog.runCommand(Command::NewList);
    CardStore& store = session.store();
    const int words = int(sizeof kWords / sizeof kWords[0]);
    for (int i = 0; i < cards; ++i)
        addCard(store, store.unknownList, kWords[i % words][0], kWords[i % words][1], "L1", "");
    session.setListLanguages({"de", "en"});

    if (engineUp)
        waitFor([] { return Speaker::shared().status() != Speaker::Status::Starting; }, 120000);
    SpeechWatch watch;
    watch.follow(Speaker::shared());
    mainDialog.runCommand(Command::ExamineInOrder);
    auto* window = mainDialog.findChild<ExaminationDialog*>();
    if (window == nullptr || window->currentCard() == nullptr) {
        std::printf("no examination window\n");
        return 1;
    }
    std::vector<double> warm;
    std::vector<double> gaps;          // from the end of the answer to the start of the question
    std::vector<double> answerSpoken;  // how long the answer was heard
    std::vector<double> judging;       // the window's own work from the answer to the next card
    for (int i = 0; i < cards && window->currentCard() != nullptr; ++i) {
        const qint64 shown = watch.clock.elapsed();
        const int startsBefore = watch.starts;
        const auto started = [&](int more) {
            return waitFor([&] { return watch.starts >= startsBefore + more; },
                           i == 0 ? 120000 : 20000);
        };
        // With the answer spoken too, its speech comes first and the question after it.
        const bool answerFirst = answerToo && i > 0;
        qint64 answerStarted = 0;
        if (answerFirst && started(1))
            answerStarted = watch.started;
        if (!started(answerFirst ? 2 : 1)) {
            std::printf("card %d: no speech (%s)\n", i + 1,
                        qPrintable(Speaker::shared().unavailableReason()));
            return 1;
        }
        const double latency = double(watch.started - shown);
        if (i == 0) {
            std::printf("cold first card: speech started %.0f ms after the card was shown\n",
                        latency);
        } else if (answerFirst) {
            answerSpoken.push_back(double(watch.ended - answerStarted));
            gaps.push_back(double(watch.started - watch.ended));
        } else {
            warm.push_back(latency);
        }
        // The learner listens to the question, then answers; in a hurry, at once, which
        // stops the question for the right answer.
        if (!hurry)
            waitFor([&] { return !Speaker::shared().speaking(); }, 20000);
        Card* card = window->currentCard();
        window->findChild<QLineEdit*>(QStringLiteral("answerEdit"))
            ->setText(QString::fromStdString(std::string(card->answer())));
        const qint64 before = watch.clock.elapsed();
        window->judgeAnswer();
        judging.push_back(double(watch.clock.elapsed() - before));
        if (i + 1 == cards)
            break;
    }
    if (!warm.empty())
        printSpread("card shown to speech started", warm);
    if (!gaps.empty()) {
        printSpread("the right answer was heard for", answerSpoken);
        printSpread("end of the answer to the start of the next question", gaps);
    }
    printSpread("answer judged to next card shown (window's own work)", judging);
    return 0;
}

class BenchApp : public TrainerApp {
public:
    explicit BenchApp(QStringList arguments) : arguments_(std::move(arguments)) {}

protected:
    void aboutToRun(MainDialog& mainDialog) override {
        const bool exam = arguments_.value(0) == QLatin1String("exam");
        Preferences& preferences = mainDialog.session().preferences();
        if (exam || arguments_.contains(QStringLiteral("--speech"))) {
            preferences.automaticSpeech = true;
            preferences.speakQuestion = true;
            preferences.speakAnswer = arguments_.contains(QStringLiteral("--answer"));
        }
        mainDialog.installEventFilter(&firstPaint_);
        firstPaint_.run = [this, &mainDialog, exam, answerToo = preferences.speakAnswer] {
            if (exam)
                end(runExam(mainDialog, arguments_.value(1).toInt(), answerToo,
                            arguments_.contains(QStringLiteral("--engine-up")),
                            arguments_.contains(QStringLiteral("--hurry"))));
            startup();
        };
    }

private:
    struct FirstPaint : QObject {
        std::function<void()> run;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && run)
                QMetaObject::invokeMethod(this, std::exchange(run, nullptr), Qt::QueuedConnection);
            return false;
        }
    };

    void startup() {
        std::printf("painted-ns %lld\nresident-kb %ld\nspeaker %s\nspeech-plugin %s\n",
                    realtimeNanoseconds(), statusKilobytes("VmRSS:"),
                    Speaker::sharedExists() ? "made" : "none",
                    speechPluginMapped() ? "loaded" : "not loaded");
        if (!arguments_.contains(QStringLiteral("--engine")))
            end(0);
        Speaker& speaker = Speaker::shared();
        SpeechWatch watch;
        watch.follow(speaker);
        waitFor([&] { return speaker.status() != Speaker::Status::Starting; }, 120000);
        std::printf("engine-ms %lld\nengine-resident-kb %ld\n",
                    static_cast<long long>(watch.clock.elapsed()), statusKilobytes("VmRSS:"));
        speaker.speak(QStringLiteral("das Haus"), QLocale(QLocale::German));
        waitFor([&] { return watch.starts > 0; }, 20000);
        waitFor([&] { return !speaker.speaking(); }, 20000);
        std::printf("spoken-resident-kb %ld\npeak-kb %ld\n", statusKilobytes("VmRSS:"),
                    statusKilobytes("VmHWM:"));
        end(speaker.available() ? 0 : 1);
    }

    QStringList arguments_;
    FirstPaint firstPaint_;
};

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty() ||
        (arguments[0] != QLatin1String("startup") && arguments[0] != QLatin1String("exam"))) {
        std::fprintf(stderr,
                     "usage:\n  kartomatrix-speech-bench startup [--speech] [--engine]\n"
                     "  kartomatrix-speech-bench exam CARDS [--answer] [--engine-up] [--hurry]\n");
        return 2;
    }
    SilentPrompts silent;
    setPrompts(&silent);
    // The program itself is started without a list, as with no argument.
    int programArgc = 1;
    BenchApp app(arguments);
    return app.run(programArgc, argv);
}
