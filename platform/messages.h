#pragma once

#include <QString>

#include "platform/prompts.h"

class QWidget;

// The error box: the text of a string-table number, caption 163, error icon, no owner.
// A number without text first shows the "report failed" notice (132), then an empty box.
void showError(int messageId);
// The notice box: the same with caption 164 and an information icon.
void showNotice(int messageId);
// The error box with a text that is not in the table (may be empty).
void showErrorText(const QString& text);
// The notice box with a text of its own.
void showNoticeText(const QString& text);
// Shows the error box for the number and ends the process with exit status 8.
[[noreturn]] void fatalError(int messageId);
// A Yes/No/Cancel question with an exclamation icon, text and caption from the table.
PromptAnswer askYesNoCancel(QWidget* owner, int textId, int captionId);
