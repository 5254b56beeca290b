#include "scripted_prompts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>

namespace {

QString iconName(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Error:
            return QStringLiteral("error");
        case PromptIcon::Information:
            return QStringLiteral("information");
        case PromptIcon::Exclamation:
            return QStringLiteral("exclamation");
        case PromptIcon::Question:
            return QStringLiteral("question");
    }
    return QString();
}

template <typename T>
std::optional<T> takeFront(std::deque<T>& queue) {
    if (queue.empty())
        return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void ScriptedPrompts::message(QWidget* owner, PromptIcon icon, const QString& caption,
                              const QString& text) {
    messages.push_back({owner, icon, caption, text});
    log.append(QStringLiteral("message(%1): %2: %3").arg(iconName(icon), caption, text));
    runActionBehind();
}

void ScriptedPrompts::runActionBehind() {
    if (auto action = takeFront(actionsBehind); action && *action)
        (*action)();
}

PromptAnswer ScriptedPrompts::question(QWidget* owner, PromptIcon icon, const QString& caption,
                                       const QString& text, bool withCancel) {
    questions.push_back({owner, icon, caption, text, withCancel});
    log.append(QStringLiteral("question: %1: %2").arg(caption, text));
    runActionBehind();
    if (auto answer = takeFront(answers))
        return *answer;
    unexpected.append(QStringLiteral("question: ") + text);
    return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
}

FileChoice ScriptedPrompts::openFile(QWidget*, const FileRequest& request) {
    openRequests.push_back(request);
    log.append(QStringLiteral("open file: ") + request.title);
    if (auto choice = takeFront(openChoices))
        return *choice;
    unexpected.append(QStringLiteral("open file: ") + request.title);
    return {};
}

FileChoice ScriptedPrompts::saveFile(QWidget*, const FileRequest& request) {
    saveRequests.push_back(request);
    log.append(QStringLiteral("save file: ") + request.title);
    if (auto choice = takeFront(saveChoices))
        return *choice;
    unexpected.append(QStringLiteral("save file: ") + request.title);
    return {};
}

LogFont ScriptedPrompts::chooseFont(QWidget*, const LogFont& preset) {
    fontPresets.push_back(preset);
    log.append(QStringLiteral("font dialog"));
    if (auto choice = takeFront(fontChoices))
        return choice->value_or(preset);
    unexpected.append(QStringLiteral("font dialog"));
    return preset;
}

bool ScriptedPrompts::choosePrinter(QWidget*, QPrinter& printer) {
    ++printDialogs;
    log.append(QStringLiteral("print dialog"));
    if (auto choice = takeFront(printChoices))
        return *choice ? (*choice)(printer) : false;
    unexpected.append(QStringLiteral("print dialog"));
    return false;
}

int ScriptedPrompts::execDialog(QDialog* dialog) {
    dialogs.append(dialog->windowTitle());
    log.append(QStringLiteral("dialog: ") + dialog->windowTitle());
    auto handler = takeFront(dialogHandlers);
    if (!handler || !*handler) {
        unexpected.append(QStringLiteral("dialog: ") + dialog->windowTitle());
        dialog->reject();
        return QDialog::Rejected;
    }
    // The handler may close or delete the window the dialog belongs to, and with it the
    // dialog, as the user can while a real dialog runs.
    const QPointer<QDialog> guard(dialog);
    dialog->show();
    const int result = (*handler)(dialog);
    if (!guard)
        return QDialog::Rejected;
    if (dialog->isVisible())
        dialog->hide();
    return result;
}

void ScriptedPrompts::beep(int hertz, int milliseconds) {
    beeps.push_back({hertz, milliseconds});
    log.append(QStringLiteral("beep"));
}

ScriptedPrompts::DialogHandler ScriptedPrompts::acceptDialog() {
    return [](QDialog* dialog) {
        dialog->accept();
        return dialog->result();
    };
}

ScriptedPrompts::DialogHandler ScriptedPrompts::rejectDialog() {
    return [](QDialog* dialog) {
        dialog->reject();
        return dialog->result();
    };
}

int ScriptedPrompts::clickButton(QDialog* dialog, const QString& objectName) {
    auto* button = dialog->findChild<QAbstractButton*>(objectName);
    if (!button)
        return QDialog::Rejected;
    dialog->setResult(QDialog::Rejected);
    button->click();
    return dialog->isVisible() ? int(QDialog::Rejected) : dialog->result();
}

QStringList ScriptedPrompts::messageTexts() const {
    QStringList texts;
    for (const Message& m : messages)
        texts.append(m.text);
    return texts;
}

void ScriptedPrompts::clear() {
    *this = ScriptedPrompts();
}
