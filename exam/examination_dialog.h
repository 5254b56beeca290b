#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>

#include "core/answer_recording.h"
#include "core/answer_modes.h"
#include "core/log_font.h"
#include "core/orders.h"
#include "session/command.h"

#include "session/command_board.h"
#include "session/window_registry.h"

class AnswerFeedbackLine;
class AnswerFormStack;
class CardSpeech;
class FontEditBox;
class ListSession;
struct AnswerOutcome;
class Card;
class ModalStep;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The window of one running examination: it shows one card at a time, takes the typed
// answer, has it judged and recorded, and moves on until the end of the list or until the
// user closes it. Any number can be open at once, each with its own state.
//
// While it is open, the window registry greys the command that started it and that
// command's main-window button, if any, and gives them back when the window closes or
// Close List destroys it.
class ExaminationDialog : public QDialog {
    Q_OBJECT
public:
    // Opens a window for the kind, started by `command` (whose button is `ownerButton`),
    // and starts the examination. The window deletes itself when it closes; a start that
    // fails closes it again at once (it is then already hidden when this returns).
    static ExaminationDialog* open(ListSession& session, CommandBoard& board,
                                   WindowRegistry& windows, QWidget* parent, Command command,
                                   ExaminationKind kind, std::optional<MainButton> ownerButton);
    // The kind of window an examination started by the command is.
    static WindowKind windowKindOf(Command command);

    ExaminationKind kind() const { return state_.kind; }
    Card* currentCard() const { return state_.currentCard; }

    // The work of "OK" and Enter: judge the typed answer, record it, show the next card.
    void judgeAnswer();
    // The direction the current card is asked in, and the form it is answered in.
    Direction direction() const { return direction_; }
    AnswerForm askedForm() const { return askedForm_; }
    AnswerFormStack* answerForms() const { return forms_; }

public slots:
    void done(int result) override;

private:
    ExaminationDialog(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                      QWidget* parent, Command command, ExaminationKind kind,
                      std::optional<MainButton> ownerButton);

    ExaminationEnvironment environment() const;
    void start();
    // Fills the window from the current card, or ends the examination when there is none.
    void showCard();
    // "Edit Card": loads the current card into the card-modification window.
    void editCurrentCard();
    // Ctrl+Z: takes the last judged answer back (the card, the lists, the history).
    void undoLastAnswer();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Due Cards: starts over the cards the schedule chose; false when none are due.
    bool startDueCards();
    // Due Cards: counts the answer for the closing summary.
    void noteDueAnswer(const AnswerOutcome& outcome);
    // Due Cards: the summary at the end (cards reviewed, share right, next due time).
    void showDueSummary();
    // Judges `typed` (card text) as the answer to the current card and moves on.
    void judgeTyped(const std::string& typed, const ModalStep& step);
    // The answer forms besides typing, and the speech of the cards.
    void setUpAnswerForms(QBoxLayout* layout);
    void setUpSpeech(QBoxLayout* layout);
    // Asks the shown card in the chosen direction and form.
    void askInChosenForm(const Card& card);
    // A flash card or a choice gave its final verdict.
    void recordGivenVerdict(bool right);
    // Mixed letters gave a text to be judged like a typed one.
    void judgeGivenText(const QString& text);
    // After an answer was recorded: says the right answer, moves on, shows the next card.
    void afterAnswer(const ModalStep& step);
    // Records the answer through the one answer step, keeps what undo needs, moves on.
    void recordAnswer(const AnswerRequest& request, const ModalStep& step);
    ListSession& session_;
    CommandBoard& board_;
    WindowRegistry& windows_;
    ExaminationState state_;
    LogFont questionFont_;
    LogFont answerFont_;

    FontEditBox* question_ = nullptr;
    FontEditBox* answer_ = nullptr;
    QLineEdit* addInfo_ = nullptr;
    QLineEdit* cardNumber_ = nullptr;
    QLineEdit* level_ = nullptr;
    QLineEdit* lesson_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    AnswerFeedbackLine* feedback_ = nullptr;
    AnswerUndo undo_;
    int64_t undoReviewId_ = 0;
    int dueAnswered_ = 0;
    int dueRight_ = 0;
    QLabel* prompt_ = nullptr;
    AnswerFormStack* forms_ = nullptr;
    CardSpeech* speech_ = nullptr;
    Direction direction_ = Direction::QuestionToAnswer;
    AnswerForm askedForm_ = AnswerForm::Typed;
    bool fontsSwapped_ = false;
};
