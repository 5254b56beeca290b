#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "core/list_languages.h"

class QLocale;
class QToolButton;
class QWidget;
struct Preferences;

enum class CardSide { Question, Answer };

// Whether any speech preference is on, so that something may be said.
bool speechWanted(const Preferences& preferences);
// Starts the speech engine in the background when the preferences want speech, so that
// the first card is spoken without waiting for it: the speech service can take seconds to
// list its voices. Call it once the main window is shown and after the preferences change;
// with speech off it does nothing and loads nothing.
void prepareSpeech(const Preferences& preferences);

// Speech for one window: says a card's question and answer in the list's languages when
// the preferences ask for it, and makes the window's Speak buttons. It reads the
// preferences as they are at each call, so changes in the preferences dialog apply at once;
// nothing of speech is loaded while every speech preference is off.
//
// A window wires it in a few lines:
//
//     auto* speech = new CardSpeech(session.preferences(), listLanguages, this);
//     if (QToolButton* b = speech->makeSpeakButton(CardSide::Question,
//                                                  [this] { return questionText(); }, this))
//         questionRow->addWidget(b);
//     if (QToolButton* b = speech->makeSpeakButton(CardSide::Answer,
//                                                  [this] { return answerText(); }, this))
//         answerRow->addWidget(b);
//     ...
//     speech->cardShown(question);       // the examination, each time it shows a card
//     speech->answerJudged(rightAnswer); // the examination, once an answer is judged
class CardSpeech : public QObject {
    Q_OBJECT
public:
    // `preferences` must outlive this object; `window` is its parent.
    CardSpeech(const Preferences& preferences, const ListLanguages& languages, QWidget* window);
    ~CardSpeech() override;

    void setLanguages(const ListLanguages& languages) { languages_ = languages; }
    const ListLanguages& languages() const { return languages_; }
    // Asked the first time something is to be said while the list has no languages, for
    // instance to show the list-languages dialog and keep its choice. None (or no chooser)
    // speaks in the speech service's default voice, and asks again next time.
    void setLanguageChooser(std::function<std::optional<ListLanguages>()> chooser) {
        chooser_ = std::move(chooser);
    }

    // A Speak button for one side of the card, or nullptr while the preference for Speak
    // buttons is off, so that the window stays as it was. F7 speaks the question and F8 the
    // answer while the button is shown. `text` gives what to say when it is pressed. While
    // speech is unavailable the button is off and its tooltip and accessible description
    // say why.
    QToolButton* makeSpeakButton(CardSide side, std::function<QString()> text, QWidget* parent);

    // A card is shown: what was being said stops, and the question is said when the
    // preferences ask for it. Only the right answer said by answerJudged() just before is
    // let finish, with the question said after it.
    void cardShown(const QString& question);
    // An answer was judged: the right answer is said when the preferences ask for it,
    // stopping whatever is still being said.
    void answerJudged(const QString& rightAnswer);
    // Says one side's text now (a Speak button, or a window's own command).
    void speak(CardSide side, const QString& text);
    // Stops this window's speech, if it is still talking.
    void stop();

    // The language a side is spoken in: the list's, or QLocale::C while none is chosen.
    QLocale language(CardSide side) const;

signals:
    // Something could not be said; `reason` is a sentence to show to the user. The Speak
    // buttons show it too.
    void problem(const QString& reason);

private:
    bool automatic(bool sideWanted) const;
    // False when nothing could be said.
    bool say(CardSide side, const QString& text, bool afterCurrent);
    void showAvailability();
    void speakerFailed(const QString& reason);
    void showProblem(const QString& reason);

    const Preferences& preferences_;
    ListLanguages languages_;
    std::function<std::optional<ListLanguages>()> chooser_;
    QList<QPointer<QToolButton>> buttons_;
    bool askingLanguages_ = false;
    // The right answer was the last thing this window asked to be said.
    bool answerSaid_ = false;
};
