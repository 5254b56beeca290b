#include "editing/import_problem_model.h"

#include <QCoreApplication>

#include "core/import_source.h"
#include "editing/import_preview_model.h"

ImportProblemModel::ImportProblemModel(QObject* parent) : QAbstractListModel(parent) {}

void ImportProblemModel::fill(const ImportSource& source) {
    beginResetModel();
    source_ = &source;
    endResetModel();
}

int ImportProblemModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || source_ == nullptr)
        return 0;
    // An import file is far too small to hold more rows than an int counts.
    return static_cast<int>(source_->counts().noted.size());
}

QVariant ImportProblemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const ImportRow row =
        source_->row(source_->counts().noted[static_cast<std::size_t>(index.row())]);
    return QCoreApplication::translate("ImportProblemModel", "Line %1: %2")
        .arg(row.candidate.line)
        .arg(describeImportRow(row));
}
