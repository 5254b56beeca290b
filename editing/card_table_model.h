#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/overview_ops.h"

class CardList;

// The overview's table: one row per card of a list, six columns (question with the level
// marker, answer, additional information, lesson, number, level). It keeps the rows as
// they were when it was filled, so the view never sees a list change under it and a card
// changed meanwhile shows its old texts until the table is filled again. Cells are made
// only when the view asks for them, which keeps a list of a million cards quick.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        QuestionColumn,
        AnswerColumn,
        AddInfoColumn,
        LessonColumn,
        IdColumn,
        LevelColumn
    };
    static constexpr int kColumnCount = 6;

    explicit CardTableModel(QObject* parent = nullptr);

    // Replaces every row by the cards of the list, in slot order.
    void fill(const CardList& list);
    // The card of a row, or nullptr outside the table.
    Card* cardAt(int row) const;
    const std::vector<OverviewRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<OverviewRow> rows_;
};
