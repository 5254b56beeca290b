#pragma once

#include <string_view>

#include "core/log_font.h"

class Card;

enum class KnownCardChoice { Keep, Known };

// What the store and the examination logic need from the program around them: showing
// messages from the string table, asking the known-card question and turning font
// records into fonts. What an answer did is returned to the caller instead (AnswerOutcome).
// The window side implements it; tests hand in a fake that records every call.
class Host {
public:
    virtual ~Host() = default;

    // The error box and the notice box with a string-table text.
    virtual void showError(int messageId) = 0;
    virtual void showNotice(int messageId) = 0;
    // The error box with a text of its own (empty when there is nothing to say).
    virtual void showErrorText(std::string_view text) = 0;
    // Shows the error box with the message and ends the process with exit status 8.
    [[noreturn]] virtual void fatalError(int messageId) = 0;

    // "Do you really know this word?"
    virtual KnownCardChoice askKnownCard(const Card& card) = 0;

    // Whether a font record can be made into a font on this machine.
    virtual bool fontUsable(const LogFont& font) = 0;
    // The font dialog preset to the record; returns the record the dialog ends with
    // (the preset itself when the user cancels).
    virtual LogFont chooseFont(const LogFont& preset) = 0;
};
