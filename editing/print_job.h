#pragma once

#include <QString>
#include <vector>

class Card;
class CardStore;
class QPrinter;
class QWidget;

enum class PrintResult {
    Printed,
    NoPrinter,   // the print dialog left no usable printer
    NotStarted,  // the document or one of its pages could not be begun
};

// The device units the page layout is reckoned in. At this resolution the three columns
// and the 62 lines of a page fill a Letter or A4 sheet, and the line step suits a font
// of about nine points.
inline constexpr int kPrintDotsPerInch = 300;

// Prints the cards, one group of lines per card with question, answer and lesson side by
// side, in the printer's default font, over as many pages as they need. The job stops at
// the first failure and says which it was.
PrintResult printCards(QPrinter& printer, const std::vector<const Card*>& cards,
                       const QString& documentName);

// The "Print..." command: asks which cards in the list chooser, then for the printer,
// and prints; a failure is reported in the error box. Cancelling either dialog prints
// nothing and says nothing.
void printCardList(QWidget* owner, const CardStore& store);
