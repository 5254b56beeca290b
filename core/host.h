#pragma once

#include <string_view>

#include "core/command.h"
#include "core/log_font.h"

class Card;

enum class KnownCardChoice { Keep, Known };

// What the store and the examination logic need from the program around them: showing
// messages from the string table, asking the known-card question, switching on menu
// commands, refreshing the main window's counters and turning font records into fonts.
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
    // Switches on a menu command together with the main-window button that belongs to it.
    virtual void enableCommand(Command command) = 0;
    // Shows the current card counts on the main window.
    virtual void refreshCounters() = 0;

    // Whether a font record can be made into a font on this machine.
    virtual bool fontUsable(const LogFont& font) = 0;
    // The font dialog preset to the record; returns the record the dialog ends with
    // (the preset itself when the user cancels).
    virtual LogFont chooseFont(const LogFont& preset) = 0;
};
