#include "editing/print_job.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/print_layout.h"
#include "editing/print_list_chooser.h"
#include "platform/messages.h"
#include "platform/prompts.h"
#include "platform/text_codec.h"

namespace {

class FontMeasure : public TextMeasure {
public:
    explicit FontMeasure(const QFontMetrics& metrics) : metrics_(metrics) {}
    int width(std::string_view text) const override {
        return metrics_.horizontalAdvance(fromCardText(text));
    }

private:
    const QFontMetrics& metrics_;
};

}  // namespace

PrintResult printCards(QPrinter& printer, const std::vector<const Card*>& cards,
                       const QString& documentName) {
    // A file printer that was given no file has nowhere to print to, like a printer
    // that is gone.
    if (!printer.isValid() ||
        (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())) {
        return PrintResult::NoPrinter;
    }
    printer.setDocName(documentName);
    printer.setResolution(kPrintDotsPerInch);

    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::NotStarted;
    const QFontMetrics metrics = painter.fontMetrics();
    const FontMeasure measure(metrics);
    const std::vector<PrintedPage> pages = layoutPages(cards, measure);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            // A document cut short is no use; what was printed so far goes out as it is.
            painter.end();
            return PrintResult::NotStarted;
        }
        // Layout positions are the tops of the lines; the painter wants the baseline.
        for (const PrintedLine& line : pages[i].lines)
            painter.drawText(QPoint(line.x, line.y + metrics.ascent()), fromCardText(line.text));
    }
    return painter.end() ? PrintResult::Printed : PrintResult::NotStarted;
}

void printCardList(QWidget* owner, const CardStore& store) {
    PrintListChooser chooser(store, owner);
    if (prompts().execDialog(&chooser) != QDialog::Accepted)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!prompts().choosePrinter(owner, printer))
        return;
    switch (printCards(printer, chooser.sequence(), QFile::decodeName(store.fileName.c_str()))) {
        case PrintResult::Printed:
            break;
        case PrintResult::NoPrinter:
            showError(Msg::PrinterContext);
            break;
        case PrintResult::NotStarted:
            showError(Msg::PrinterPage);
            break;
    }
}
