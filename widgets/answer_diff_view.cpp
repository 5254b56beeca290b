#include "widgets/answer_diff_view.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr QChar kCaret(0x2038);  // ‸
// Thin spaces either side give the caret the width of a letter.
const QString kCaretRun = QStringLiteral("\u2009\u2038\u2009");

struct Marks {
    QColor typedOnly;   // struck through
    QColor storedOnly;  // underlined
    QColor quiet;       // the arrow and the dash of an absent meaning
};

// A red and a green dark enough for a light background, or light enough for a dark one;
// the lightness of the window colour behind the view decides which.
Marks marksFor(const QPalette& palette) {
    const bool darkBackground = palette.color(QPalette::Window).lightness() < 128;
    Marks marks;
    marks.typedOnly = darkBackground ? QColor(0xFF, 0x8A, 0x80) : QColor(0xB3, 0x26, 0x1E);
    marks.storedOnly = darkBackground ? QColor(0x81, 0xD4, 0x8C) : QColor(0x1B, 0x6E, 0x2B);
    // Between text and background, opaque: rich text drops a colour's transparency.
    const QColor text = palette.color(QPalette::WindowText);
    const QColor background = palette.color(QPalette::Window);
    marks.quiet = QColor((text.red() * 3 + background.red() * 2) / 5,
                         (text.green() * 3 + background.green() * 2) / 5,
                         (text.blue() * 3 + background.blue() * 2) / 5);
    return marks;
}

// Blanks are shown as a visible sign where they are part of a difference: a missing or
// extra blank would otherwise be an underline or a line through nothing.
QString shownText(const std::string& text, bool marked) {
    QString shown = QString::fromStdString(text).toHtmlEscaped();
    if (marked)
        shown.replace(QLatin1Char(' '), QChar(0x2423));  // ␣
    return shown;
}

QString span(const QString& text, const QColor& colour, const char* decoration) {
    return QStringLiteral("<span style=\"color:%1; text-decoration:%2\">%3</span>")
        .arg(colour.name(), QLatin1String(decoration), text);
}

QString typedCell(const MeaningDiff& meaning, const Marks& marks) {
    if (meaning.kind == MeaningDiff::Kind::Missing)
        return span(QStringLiteral("\u2014"), marks.quiet, "none");
    QString html;
    bool afterTyped = false;
    for (const DiffSegment& segment : meaning.segments) {
        switch (segment.part) {
            case DiffPart::Same:
                html += shownText(segment.text, false);
                break;
            case DiffPart::TypedOnly:
                html += span(shownText(segment.text, true), marks.typedOnly, "line-through");
                break;
            case DiffPart::StoredOnly:
                // Where letters were left out, not where they were typed wrong. The view
                // draws the caret larger than the font's own (see paintEvent).
                if (!afterTyped)
                    html += span(kCaretRun, marks.storedOnly, "none");
                break;
        }
        afterTyped = segment.part == DiffPart::TypedOnly;
    }
    return html;
}

QString storedCell(const MeaningDiff& meaning, const Marks& marks) {
    if (meaning.kind == MeaningDiff::Kind::Extra)
        return span(QStringLiteral("\u2014"), marks.quiet, "none");
    QString html;
    for (const DiffSegment& segment : meaning.segments) {
        if (segment.part == DiffPart::Same)
            html += shownText(segment.text, false);
        else if (segment.part == DiffPart::StoredOnly)
            html += span(shownText(segment.text, true), marks.storedOnly, "underline");
    }
    return html;
}

// One run of marked letters, found in the document before its own decoration is taken off.
struct MarkedRun {
    enum class Kind { Struck, Underlined, Caret };
    QTextBlock block;
    int start;  // within the block
    int end;
    Kind kind;
    QColor colour;
};

// The view's text as a document laid out at `width` (-1: unwrapped), without the font's
// own strike-out and underline; the runs that had them go into `runs`.
void layOut(QTextDocument& document, const QString& html, const QFont& font, qreal width,
            std::vector<MarkedRun>* runs) {
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setHtml(html);
    document.setTextWidth(width);
    struct Plain {
        int position;
        int length;
        bool caret;  // keeps its room, but the view draws it
    };
    std::vector<Plain> decorated;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const bool caret = fragment.text().contains(kCaret);
            if (!format.fontStrikeOut() && !format.fontUnderline() && !caret)
                continue;
            if (runs != nullptr) {
                const int start = fragment.position() - block.position();
                const MarkedRun::Kind kind = caret                    ? MarkedRun::Kind::Caret
                                             : format.fontStrikeOut() ? MarkedRun::Kind::Struck
                                                                      : MarkedRun::Kind::Underlined;
                runs->push_back(
                    {block, start, start + fragment.length(), kind, format.foreground().color()});
            }
            decorated.push_back({fragment.position(), fragment.length(), caret});
        }
    }
    QTextCharFormat plain;
    plain.setFontStrikeOut(false);
    plain.setFontUnderline(false);
    QTextCharFormat hidden = plain;
    hidden.setForeground(Qt::transparent);
    for (const Plain& run : decorated) {
        QTextCursor cursor(&document);
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(run.caret && runs != nullptr ? hidden : plain);
    }
}

}  // namespace

AnswerDiffView::AnswerDiffView(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAccessibleDescription(
        tr("Struck-through letters were typed but are not in the stored answer; "
           "underlined letters are in the stored answer but were not typed."));
    setToolTip(accessibleDescription());
}

void AnswerDiffView::setDiff(AnswerDiff diff) {
    diff_ = std::move(diff);
    setAccessibleName(QString::fromStdString(diff_.description));
    render();
}

void AnswerDiffView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        render();
    QLabel::changeEvent(event);
}

QSize AnswerDiffView::sizeHint() const {
    QTextDocument document;
    layOut(document, text(), font(), -1, nullptr);
    const QMargins m = contentsMargins();
    return QSize(std::ceil(document.idealWidth()), std::ceil(document.size().height())) +
           QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize AnswerDiffView::minimumSizeHint() const {
    return QSize(std::min(sizeHint().width(), fontMetrics().averageCharWidth() * 20),
                 fontMetrics().height());
}

int AnswerDiffView::heightForWidth(int width) const {
    QTextDocument document;
    const QMargins m = contentsMargins();
    layOut(document, text(), font(), std::max(1, width - m.left() - m.right()), nullptr);
    return std::ceil(document.size().height()) + m.top() + m.bottom();
}

void AnswerDiffView::paintEvent(QPaintEvent*) {
    QTextDocument document;
    std::vector<MarkedRun> runs;
    const QRect area = contentsRect();
    layOut(document, text(), font(), area.width(), &runs);
    QPainter painter(this);
    painter.translate(area.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    document.documentLayout()->draw(&painter, context);

    const QFontMetricsF metrics(font());
    const qreal thickness = std::max<qreal>(2.0, std::round(metrics.lineWidth() * 2));
    for (const MarkedRun& run : runs) {
        const QTextLayout* layout = run.block.layout();
        const QPointF origin = document.documentLayout()->blockBoundingRect(run.block).topLeft();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int from = std::max(run.start, line.textStart());
            const int to = std::min(run.end, line.textStart() + line.textLength());
            if (from >= to)
                continue;
            const qreal left = origin.x() + line.cursorToX(from);
            const qreal right = origin.x() + line.cursorToX(to);
            const qreal baseline = origin.y() + line.y() + line.ascent();
            if (run.kind == MarkedRun::Kind::Caret) {
                // A wedge from below the baseline up to the middle of the small letters,
                // as wide as the gap the caret leaves, pointing where letters are missing.
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(
                    QPen(run.colour, thickness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const qreal bottom = baseline + line.descent() * 0.7;
                const QPointF wedge[] = {{left + thickness / 2, bottom},
                                         {(left + right) / 2, baseline - metrics.xHeight() * 0.5},
                                         {right - thickness / 2, bottom}};
                painter.drawPolyline(wedge, 3);
                painter.setRenderHint(QPainter::Antialiasing, false);
                continue;
            }
            // Strike: above the middle of the small letters, clear of an "e"'s bar.
            // Underline: a gap below the baseline, so it is not read as part of a letter.
            const qreal middle = run.kind == MarkedRun::Kind::Struck
                                     ? baseline - metrics.xHeight() * 0.62
                                     : baseline + std::max<qreal>(2.0, thickness);
            painter.fillRect(QRectF(left, middle - thickness / 2, right - left, thickness),
                             run.colour);
        }
    }
}

void AnswerDiffView::render() {
    const Marks marks = marksFor(palette());
    QString rows;
    for (const MeaningDiff& meaning : diff_.meanings) {
        // Under strict order every meaning is shown, so that the order can be compared;
        // otherwise only the ones that differ.
        if (!meaning.differs() && !diff_.otherOrder)
            continue;
        rows += QStringLiteral(
                    "<tr><td style=\"white-space:pre-wrap\">%1</td><td>%2</td>"
                    "<td style=\"white-space:pre-wrap\">%3</td></tr>")
                    .arg(typedCell(meaning, marks),
                         span(QStringLiteral("\u2192"), marks.quiet, "none"),  // →
                         storedCell(meaning, marks));
    }
    setText(QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">%1</table>").arg(rows));
}
