#pragma once

#include <QString>
#include <optional>

class QLineEdit;

// The checks dialogs make on numbers typed into their fields, with the messages every
// dialog of the program uses for them.

// "Please enter an integer."
QString enterIntegerMessage();
// "Please enter an integer between <low> and <high>."
QString enterIntegerBetweenMessage(int low, int high);

// The integer a field holds: optional sign and decimal digits, with blanks or tabs around
// them; none for anything else, including numbers beyond 32 bits.
std::optional<int> parseDialogInteger(const QString& text);

// Reads an integer from low to high out of the field. On failure shows the matching
// message (exclamation icon, the program's name as caption, owned by the field's window),
// selects the field's text and gives it the focus, and returns none.
std::optional<int> readIntegerField(QLineEdit* field, int low, int high);
