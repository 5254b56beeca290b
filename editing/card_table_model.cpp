#include "editing/card_table_model.h"

#include <QColor>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/message_ids.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"

namespace {

constexpr int kMarkerSize = 16;

// The strip of level markers: a diamond with a near-black outline on a pale orange patch,
// from light green (well learnt) to dark red (level 0), then the patch alone and two empty
// images for the negative levels that reach into the strip.
const std::array<QPixmap, 8>& levelMarkers() {
    static const std::array<QPixmap, 8> markers = [] {
        const QColor patch(0xfb, 0xe0, 0xc0);
        const QColor diamonds[] = {QColor(0xa8, 0xe6, 0x7a), QColor(0x2e, 0x9e, 0x3e),
                                   QColor(0xf2, 0xd4, 0x3a), QColor(0xf0, 0x8a, 0x24),
                                   QColor(0x8e, 0x1b, 0x1b)};
        // Drawn for the densest screen, so that the markers stay sharp when the desktop scales.
        const qreal pixelRatio = qGuiApp->devicePixelRatio();
        std::array<QPixmap, 8> strip;
        for (int i = 0; i < 8; ++i) {
            QPixmap image(QSize(kMarkerSize, kMarkerSize) * pixelRatio);
            image.setDevicePixelRatio(pixelRatio);
            image.fill(Qt::transparent);
            if (i <= 5) {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(patch);
                painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
                if (i < 5) {
                    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
                    painter.setBrush(diamonds[i]);
                    painter.drawPolygon(
                        QPolygon({QPoint(8, 2), QPoint(14, 8), QPoint(8, 14), QPoint(2, 8)}));
                }
            }
            strip[static_cast<std::size_t>(i)] = image;
        }
        return strip;
    }();
    return markers;
}

// The question reads from the left; everything else lines up on the right.
QVariant alignmentOf(int column) {
    const Qt::Alignment side =
        column == CardTableModel::QuestionColumn ? Qt::AlignLeft : Qt::AlignRight;
    return int(side | Qt::AlignVCenter);
}

}  // namespace

CardTableModel::CardTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CardTableModel::fill(const CardList& list) {
    beginResetModel();
    snapshotRows(list, rows_);
    applyMemorySort();
    endResetModel();
}

Card* CardTableModel::cardAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return nullptr;
    return rows_[static_cast<std::size_t>(row)].card;
}

int CardTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CardTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (memory_ ? kColumnCountWithMemory : kColumnCount);
}

void CardTableModel::setMemoryColumns(MemoryColumns columns) {
    if (!memory_ && !columns)
        return;
    // New values for columns already shown: the rows keep their order, and the view its
    // selection and scroll position; only the two columns are drawn again.
    if (memory_ && columns) {
        memory_ = std::move(columns);
        if (!rows_.empty())
            emit dataChanged(index(0, DueColumn), index(rowCount() - 1, RecallColumn),
                             {Qt::DisplayRole, Qt::AccessibleTextRole});
        return;
    }
    beginResetModel();
    memory_ = std::move(columns);
    if (!memory_)
        memorySort_ = -1;
    applyMemorySort();
    endResetModel();
}

void CardTableModel::sortByMemory(int column) {
    if (!memory_ || (column != DueColumn && column != RecallColumn))
        return;
    beginResetModel();
    memorySort_ = column;
    applyMemorySort();
    endResetModel();
}

void CardTableModel::clearMemorySort() {
    memorySort_ = -1;
}

void CardTableModel::applyMemorySort() {
    if (!memory_ || memorySort_ < 0)
        return;
    // Each value is asked once: recall is worked out from the card's memory on every call.
    std::vector<std::pair<double, std::size_t>> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Card& card = *rows_[i].card;
        std::optional<double> value;
        if (memorySort_ == DueColumn) {
            if (const auto due = memory_.dueMs(card))
                value = double(*due);
        } else {
            value = memory_.recall(card);
        }
        keys[i] = {value.value_or(INFINITY), i};
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<OverviewRow> sorted;
    sorted.reserve(rows_.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(rows_[key.second]));
    rows_ = std::move(sorted);
}

QVariant CardTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (index.column() >= kColumnCount) {
        if (role == Qt::TextAlignmentRole)
            return alignmentOf(index.column());
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        const Card& live = *rows_[static_cast<std::size_t>(index.row())].card;
        if (index.column() == DueColumn) {
            const std::optional<int64_t> due = memory_.dueMs(live);
            if (!due)
                return QString();
            return QLocale().toString(QDateTime::fromMSecsSinceEpoch(*due).date(),
                                      QLocale::ShortFormat);
        }
        const std::optional<double> recall = memory_.recall(live);
        if (!recall)
            return QString();
        return QLocale().toString(std::lround(std::clamp(*recall, 0.0, 1.0) * 100)) +
               QLocale().percent();
    }
    const Card& card = rows_[static_cast<std::size_t>(index.row())].shown;
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case QuestionColumn:
                    return fromCardText(card.question());
                case AnswerColumn:
                    return fromCardText(card.answer());
                case AddInfoColumn:
                    return fromCardText(card.addInfo());
                case LessonColumn:
                    return fromCardText(card.lesson());
                case IdColumn:
                    return QString::number(card.id);
                case LevelColumn:
                    return QString::number(card.level);
            }
            return {};
        case Qt::DecorationRole:
            if (index.column() == QuestionColumn) {
                const int marker = levelImageIndex(card.level);
                if (marker >= 0)
                    return levelMarkers()[static_cast<std::size_t>(marker)];
            }
            return {};
        case Qt::TextAlignmentRole:
            return alignmentOf(index.column());
        default:
            return {};
    }
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section >= kColumnCount) {
        if (role == Qt::DisplayRole)
            return section == DueColumn ? tr("Due") : tr("Recall");
        if (role == Qt::ToolTipRole)
            return section == DueColumn ? tr("When the card falls due for review")
                                        : tr("The chance to remember the card now");
        if (role == Qt::TextAlignmentRole)
            return alignmentOf(section);
        return {};
    }
    if (role == Qt::DisplayRole)
        return stringText(Msg::ColumnQuestion + section);
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(section);
    return {};
}
