#include "platform/messages.h"

#include "core/message_ids.h"
#include "platform/process.h"
#include "platform/string_table.h"

namespace {

// The boxes were made for texts of limited length; longer ones are cut, never refused.
constexpr int kMaxTextLength = 399;
constexpr int kMaxCaptionLength = 49;

void showTableBox(int messageId, int captionId, PromptIcon icon) {
    const QString caption = stringText(captionId).left(kMaxCaptionLength);
    QString text = stringText(messageId);
    if (text.isNull()) {
        // The missing text is a fault of its own; say so before the (empty) box of the
        // caller, so that the user knows something went wrong twice.
        prompts().message(nullptr, PromptIcon::Error,
                          stringText(Msg::ErrorCaption).left(kMaxCaptionLength),
                          stringText(Msg::ReportFailed).left(kMaxTextLength));
        text = QString();
    }
    prompts().message(nullptr, icon, caption, text.left(kMaxTextLength));
}

}  // namespace

void showError(int messageId) {
    showTableBox(messageId, Msg::ErrorCaption, PromptIcon::Error);
}

void showNotice(int messageId) {
    showTableBox(messageId, Msg::NoticeCaption, PromptIcon::Information);
}

void showErrorText(const QString& text) {
    prompts().message(nullptr, PromptIcon::Error,
                      stringText(Msg::ErrorCaption).left(kMaxCaptionLength), text);
}

void showNoticeText(const QString& text) {
    prompts().message(nullptr, PromptIcon::Information,
                      stringText(Msg::NoticeCaption).left(kMaxCaptionLength), text);
}

void fatalError(int messageId) {
    showError(messageId);
    exitProcess(8);
}

PromptAnswer askYesNoCancel(QWidget* owner, int textId, int captionId) {
    return prompts().question(owner, PromptIcon::Exclamation, stringText(captionId),
                              stringText(textId), true);
}
