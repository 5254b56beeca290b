#include "widgets/font_edit_box.h"

#include "core/message_ids.h"
#include "platform/card_text_validator.h"
#include "platform/fonts.h"
#include "platform/messages.h"

FontEditBox::FontEditBox(QWidget* parent) : QLineEdit(parent) {
    // Without a limit of its own, a box takes what a line edit takes.
    setValidator(new CardTextValidator(maxLength(), this));
    connect(this, &QLineEdit::textChanged, this, &FontEditBox::applyPendingFont);
}

void FontEditBox::setFieldFont(const LogFont* font, int characterHeight) {
    if (!font)
        fatalError(Msg::Unspecified);
    pendingFont_ = toQFont(withCharacterHeight(*font, characterHeight));
    fontPending_ = true;
}

void FontEditBox::applyPendingFont() {
    if (!fontPending_)
        return;
    setFont(pendingFont_);
    fontPending_ = false;
    update();
}
