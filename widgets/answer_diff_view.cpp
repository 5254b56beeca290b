#include "widgets/answer_diff_view.h"

#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QString>

namespace {

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
                // Where letters were left out, not where they were typed wrong.
                if (!afterTyped)
                    html += span(QStringLiteral("\u2038"), marks.storedOnly, "none");  // ‸
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

}  // namespace

AnswerDiffView::AnswerDiffView(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setWordWrap(true);
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
    if (event->type() == QEvent::PaletteChange)
        render();
    QLabel::changeEvent(event);
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
