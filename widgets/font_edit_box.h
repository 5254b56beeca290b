#pragma once

#include <QFont>
#include <QLineEdit>

#include "core/log_font.h"

// The edit field of every question and answer. It shows a card's text in a font of its
// own, made from the question or answer font at a fixed character height. A font given
// to it takes effect at the next change of the text (or at applyPendingFont), so that a
// window can set its fonts before it puts texts into its fields. Typing characters a list
// file cannot hold is refused.
class FontEditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FontEditBox(QWidget* parent = nullptr);

    // Makes the field's own font from `font` with a character height of `characterHeight`
    // units, pending until the text changes. A null font is a fault of the caller that
    // cannot be recovered from: the error box, then the process ends with status 8.
    void setFieldFont(const LogFont* font, int characterHeight);
    // Puts a pending font into effect; does nothing when none is pending.
    void applyPendingFont();
    bool fontPending() const { return fontPending_; }

private:
    QFont pendingFont_;
    bool fontPending_ = false;
};
