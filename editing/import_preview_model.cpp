#include "editing/import_preview_model.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

namespace {

QString fieldName(CardField field) {
    switch (field) {
        case CardField::Question:
            return QCoreApplication::translate("ImportPreviewModel", "question");
        case CardField::Answer:
            return QCoreApplication::translate("ImportPreviewModel", "answer");
        case CardField::Lesson:
            return QCoreApplication::translate("ImportPreviewModel", "lesson");
        case CardField::AddInfo:
            return QCoreApplication::translate("ImportPreviewModel", "additional information");
    }
    return {};
}

QString quoted(const std::string& text) {
    return QStringLiteral("\u201C%1\u201D").arg(QString::fromStdString(text));
}

QString describeProblem(const ImportProblem& problem) {
    switch (problem.kind) {
        case ImportProblemKind::EmptyQuestion:
            return QCoreApplication::translate("ImportPreviewModel",
                                               "not taken: the question is empty");
        case ImportProblemKind::TooLong:
            return QCoreApplication::translate(
                       "ImportPreviewModel",
                       "the %1 is cut after %2 characters, leaving out %3 more: %4")
                .arg(fieldName(problem.field))
                .arg(problem.keptCount)
                .arg(problem.lostCount)
                .arg(quoted(problem.lost));
        case ImportProblemKind::ExtraFields:
            return QCoreApplication::translate("ImportPreviewModel",
                                               "fields beyond the columns left out: %1")
                .arg(quoted(problem.lost));
        case ImportProblemKind::InvalidBytes:
            return QCoreApplication::translate(
                "ImportPreviewModel", "bytes that are no character in this encoding became \uFFFD");
        case ImportProblemKind::ControlCharacter:
            return QCoreApplication::translate(
                "ImportPreviewModel", "line breaks, tabs or control characters became blanks");
        case ImportProblemKind::UnclosedQuote:
            return QCoreApplication::translate(
                "ImportPreviewModel",
                "a quote that is never closed is kept as an ordinary character");
        case ImportProblemKind::ClozeNote:
            return QCoreApplication::translate(
                "ImportPreviewModel", "not taken: a cloze note has no question and answer");
        case ImportProblemKind::OneUsableField:
            return QCoreApplication::translate("ImportPreviewModel",
                                               "not taken: only one field holds text");
        case ImportProblemKind::UnknownNoteType:
            return QCoreApplication::translate("ImportPreviewModel",
                                               "not taken: the package lacks its note type");
        case ImportProblemKind::MediaLeftOut:
            return QCoreApplication::translate("ImportPreviewModel",
                                               "pictures or sounds not imported: %1")
                .arg(problem.lostCount);
    }
    return {};
}

}  // namespace

QString describeImportRow(const ImportRow& row) {
    QStringList parts;
    const CardCandidate& candidate = row.candidate;
    // Why a row is refused comes first: it matters more than how it would have been cut.
    if (candidate.taken() && candidate.card.answer.empty())
        parts << QCoreApplication::translate("ImportPreviewModel",
                                             "not taken: the answer is empty");
    for (const ImportProblem& problem : candidate.problems) {
        if (problem.kind == ImportProblemKind::EmptyQuestion)
            parts.prepend(describeProblem(problem));
        else
            parts << describeProblem(problem);
    }
    return parts.join(QStringLiteral("; "));
}

ImportPreviewModel::ImportPreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportPreviewModel::fill(const ImportSource& source, std::size_t count) {
    beginResetModel();
    rows_.clear();
    for (std::size_t i = 0; i < std::min(count, source.rowCount()); ++i)
        rows_.push_back(source.row(i));
    endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ImportRow& row = rows_[static_cast<std::size_t>(index.row())];
    const CardRecord& card = row.candidate.card;
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == LineColumn || index.column() == LevelColumn;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole && !row.taken())
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
        case LineColumn:
            return static_cast<qulonglong>(row.candidate.line);
        case QuestionColumn:
            return QString::fromStdString(card.question);
        case AnswerColumn:
            return QString::fromStdString(card.answer);
        case LessonColumn:
            return QString::fromStdString(card.lesson);
        case AddInfoColumn:
            return QString::fromStdString(card.addInfo);
        case LevelColumn:
            return card.level;
        case RemarkColumn:
            return describeImportRow(row);
        default:
            return {};
    }
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case LineColumn:
            return tr("Line");
        case QuestionColumn:
            return tr("Question");
        case AnswerColumn:
            return tr("Answer");
        case LessonColumn:
            return tr("Lesson");
        case AddInfoColumn:
            return tr("Additional information");
        case LevelColumn:
            return tr("Level");
        case RemarkColumn:
            return tr("What happens");
        default:
            return {};
    }
}
