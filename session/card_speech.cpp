#include "session/card_speech.h"

#include <QAction>
#include <QLocale>
#include <QStyle>
#include <QToolButton>
#include <QWidget>
#include <utility>

#include "core/preferences.h"
#include "platform/speaker.h"

namespace {

// The window whose text was said last: only it may stop the voice, so that closing one
// window does not cut off what another one asked for.
QPointer<CardSpeech>& lastToSpeak() {
    static QPointer<CardSpeech> speech;
    return speech;
}

}  // namespace

bool speechWanted(const Preferences& preferences) {
    return preferences.speechControls ||
           (preferences.automaticSpeech && (preferences.speakQuestion || preferences.speakAnswer));
}

void prepareSpeech(const Preferences& preferences) {
    if (speechWanted(preferences))
        Speaker::shared();
}

CardSpeech::CardSpeech(const Preferences& preferences, const ListLanguages& languages,
                       QWidget* window)
    : QObject(window), preferences_(preferences), languages_(languages) {}

CardSpeech::~CardSpeech() {
    stop();
}

QLocale CardSpeech::language(CardSide side) const {
    const std::string& tag = side == CardSide::Question ? languages_.question : languages_.answer;
    return tag.empty() ? QLocale::c() : QLocale(QString::fromStdString(tag));
}

bool CardSpeech::automatic(bool sideWanted) const {
    return sideWanted && preferences_.automaticSpeech;
}

void CardSpeech::cardShown(const QString& question) {
    // The right answer of the card before is heard to its end: the next question waits for
    // it, and a card with nothing to say lets it finish. Anything else still being said
    // (the question before, a Speak button's text) stops.
    const bool answerGoing = std::exchange(answerSaid_, false);
    if (automatic(preferences_.speakQuestion))
        say(CardSide::Question, question, answerGoing);
    else if (!answerGoing)
        stop();
}

void CardSpeech::answerJudged(const QString& rightAnswer) {
    if (automatic(preferences_.speakAnswer))
        answerSaid_ = say(CardSide::Answer, rightAnswer, false);
}

void CardSpeech::speak(CardSide side, const QString& text) {
    say(side, text, false);
}

bool CardSpeech::say(CardSide side, const QString& text, bool afterCurrent) {
    answerSaid_ = false;
    Speaker& speaker = Speaker::shared();
    if (speaker.status() == Speaker::Status::Unavailable) {
        showProblem(speaker.unavailableReason());
        return false;
    }
    // The chooser may run a modal dialog, during which a Speak key or the next card could
    // ask again; those go out in the default voice instead of opening a second dialog.
    if (languages_.empty() && chooser_ && !askingLanguages_) {
        askingLanguages_ = true;
        const std::optional<ListLanguages> chosen = chooser_();
        askingLanguages_ = false;
        if (chosen)
            languages_ = *chosen;
    }
    speaker.setRate(double(preferences_.speechRate) / Preferences::kFastestSpeech);
    speaker.setVolume(preferences_.speechVolume / 100.0);
    // Another window's text is not waited for.
    if (afterCurrent && lastToSpeak() == this)
        speaker.speakAfterCurrent(text, language(side));
    else
        speaker.speak(text, language(side));
    lastToSpeak() = this;
    return true;
}

void CardSpeech::stop() {
    answerSaid_ = false;
    if (lastToSpeak() == this && Speaker::sharedExists())
        Speaker::shared().stop();
}

QToolButton* CardSpeech::makeSpeakButton(CardSide side, std::function<QString()> text,
                                         QWidget* parent) {
    if (!preferences_.speechControls)
        return nullptr;
    const bool question = side == CardSide::Question;
    auto* button = new QToolButton(parent);
    button->setObjectName(question ? QStringLiteral("speakQuestionButton")
                                   : QStringLiteral("speakAnswerButton"));
    button->setText(tr("Speak"));
    button->setIcon(button->style()->standardIcon(QStyle::SP_MediaVolume));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAccessibleName(question ? tr("Speak the question") : tr("Speak the answer"));
    button->setShortcut(QKeySequence(question ? Qt::Key_F7 : Qt::Key_F8));
    connect(button, &QToolButton::clicked, this,
            [this, side, text = std::move(text)] { speak(side, text()); });
    buttons_.append(button);

    // Made here, not earlier: the engine starts in its own thread, and the buttons show
    // whether it came up.
    Speaker& speaker = Speaker::shared();
    connect(&speaker, &Speaker::statusChanged, this, &CardSpeech::showAvailability,
            Qt::UniqueConnection);
    connect(&speaker, &Speaker::failed, this, &CardSpeech::speakerFailed, Qt::UniqueConnection);
    showAvailability();
    return button;
}

void CardSpeech::showAvailability() {
    const Speaker& speaker = Speaker::shared();
    const bool off = speaker.status() == Speaker::Status::Unavailable;
    for (QToolButton* button : std::as_const(buttons_)) {
        if (!button)
            continue;
        const bool question = button->objectName() == QLatin1String("speakQuestionButton");
        const QString purpose =
            question ? tr("Speak the question (F7)") : tr("Speak the answer (F8)");
        button->setEnabled(!off);
        button->setToolTip(off ? speaker.unavailableReason() : purpose);
        button->setAccessibleDescription(off ? speaker.unavailableReason() : QString());
    }
}

void CardSpeech::speakerFailed(const QString& reason) {
    if (lastToSpeak() == this)
        showProblem(reason);
}

void CardSpeech::showProblem(const QString& reason) {
    for (QToolButton* button : std::as_const(buttons_)) {
        if (button) {
            button->setToolTip(reason);
            button->setAccessibleDescription(reason);
        }
    }
    emit problem(reason);
}
