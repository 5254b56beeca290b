#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "core/import_source.h"

// What the preview says about a row: why it is not taken, or how it is cut or cleaned;
// empty when it is taken as it is.
QString describeImportRow(const ImportRow& row);

// The first rows of a file as the cards they would become: line, the four texts, the level
// and what happens to the row.
class ImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        LineColumn,
        QuestionColumn,
        AnswerColumn,
        LessonColumn,
        AddInfoColumn,
        LevelColumn,
        RemarkColumn
    };
    static constexpr int kColumnCount = 7;

    explicit ImportPreviewModel(QObject* parent = nullptr);

    // Shows the first `count` rows of the source.
    void fill(const ImportSource& source, std::size_t count);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<ImportRow> rows_;
};
