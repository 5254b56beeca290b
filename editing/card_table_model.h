#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <optional>
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
        LevelColumn,
        // Shown only with a review history (setMemoryColumns).
        DueColumn,
        RecallColumn
    };
    static constexpr int kColumnCount = 6;
    static constexpr int kColumnCountWithMemory = 8;

    // The memory model's two columns: when a card falls due (UTC milliseconds) and its
    // chance of recall now (0..1); nothing for a card never reviewed. Empty functions take
    // the columns away again.
    struct MemoryColumns {
        std::function<std::optional<int64_t>(const Card&)> dueMs;
        std::function<std::optional<double>(const Card&)> recall;
        explicit operator bool() const { return dueMs && recall; }
    };
    // Given again while the columns are shown (the schedule changed), they show the new
    // values in the rows as they are: an order by due date or recall holds until the next
    // sort, so that rows do not move under the reader.
    void setMemoryColumns(MemoryColumns columns);
    bool hasMemoryColumns() const { return bool(memory_); }
    // Orders the rows by due date (earliest first) or by recall (lowest first), cards never
    // reviewed last. Only the table is ordered, not the list: these values change by the
    // hour, so they make no order worth saving. The order holds until a list sort or
    // `clearMemorySort`.
    void sortByMemory(int column);
    void clearMemorySort();

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
    void applyMemorySort();

    std::vector<OverviewRow> rows_;
    MemoryColumns memory_;
    int memorySort_ = -1;
};
