#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/prompts.h"

class QDialog;
class QWidget;

// Prompts for tests: records everything the program shows or asks and answers from
// queues. Anything asked that was not scripted is recorded in `unexpected` and answered
// with Cancel (or No, or "no file", or reject), so a test never waits for a person.
class ScriptedPrompts : public Prompts {
public:
    struct Message {
        QWidget* owner;
        PromptIcon icon;
        QString caption;
        QString text;
    };
    struct Question {
        QWidget* owner;
        PromptIcon icon;
        QString caption;
        QString text;
        bool withCancel;
    };
    struct Beep {
        int hertz;
        int milliseconds;
    };
    // Runs one modal dialog: it is shown (not executed) before the handler runs, the
    // handler may type into it and click its buttons, and what it returns is the result
    // of the run. The dialog is hidden afterwards if the handler left it open.
    using DialogHandler = std::function<int(QDialog*)>;

    void message(QWidget* owner, PromptIcon icon, const QString& caption,
                 const QString& text) override;
    PromptAnswer question(QWidget* owner, PromptIcon icon, const QString& caption,
                          const QString& text, bool withCancel) override;
    FileChoice openFile(QWidget* owner, const FileRequest& request) override;
    FileChoice saveFile(QWidget* owner, const FileRequest& request) override;
    LogFont chooseFont(QWidget* owner, const LogFont& preset) override;
    bool choosePrinter(QWidget* owner, QPrinter& printer) override;
    int execDialog(QDialog* dialog) override;
    void beep(int hertz, int milliseconds) override;

    // Handlers for the usual ends of a dialog.
    static DialogHandler acceptDialog();
    static DialogHandler rejectDialog();
    // Clicks the button with the object name and returns the dialog's result if the click
    // closed it, else Rejected (the dialog is then left open for the caller to check).
    static int clickButton(QDialog* dialog, const QString& objectName);

    // The texts of all messages, in order.
    QStringList messageTexts() const;
    // Forgets everything recorded and every answer still queued.
    void clear();

    // What was shown or asked, in order of kind.
    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<LogFont> fontPresets;
    int printDialogs = 0;
    QStringList dialogs;  // window titles of the dialogs run
    std::vector<Beep> beeps;
    // Everything in one sequence, e.g. "message: An error occurred: text", "question:
    // ...", "dialog: Preferences", "beep", for tests that care about the order.
    QStringList log;
    QStringList unexpected;

    // Answers, taken from the front.
    std::deque<PromptAnswer> answers;
    std::deque<FileChoice> openChoices;
    std::deque<FileChoice> saveChoices;
    std::deque<std::optional<LogFont>> fontChoices;  // none: the user cancels
    std::deque<std::function<bool(QPrinter&)>> printChoices;
    std::deque<DialogHandler> dialogHandlers;
    // What the user does behind the next message or question while it is open (pressing
    // a button of another window, giving a menu command), in order; a message or question
    // takes one if there is any.
    std::deque<std::function<void()>> actionsBehind;

private:
    void runActionBehind();
};
