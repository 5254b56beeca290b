#pragma once

#include <QString>

// The program's string table, numbers 101 to 182. Returns a null string for a number
// that has no text.
QString stringText(int id);
