#include "widgets/card_field_grid.h"

#include <QLabel>
#include <QLineEdit>

CardFieldGrid::CardFieldGrid(QWidget* owner, int fieldsPerRow)
    : owner_(owner), fieldsPerRow_(fieldsPerRow) {
    for (int field = 0; field < fieldsPerRow_; ++field)
        setColumnStretch(2 * field + 1, 1);
}

QWidget* CardFieldGrid::label(const QString& text, QLineEdit* box) {
    auto* label = new QLabel(text, owner_);
    label->setBuddy(box);
    box->setAccessibleName(text);
    return label;
}

void CardFieldGrid::addWideRow(const QString& text, QLineEdit* box) {
    addWidget(label(text, box), rows_, 0);
    addWidget(box, rows_, 1, 1, 2 * fieldsPerRow_ - 1);
    ++rows_;
}

void CardFieldGrid::addWideRow(QWidget* label, QWidget* field, Qt::Alignment labelAlignment) {
    addWidget(label, rows_, 0, labelAlignment);
    addWidget(field, rows_, 1, 1, 2 * fieldsPerRow_ - 1);
    ++rows_;
}

void CardFieldGrid::addNarrowRow(std::initializer_list<std::pair<QString, QLineEdit*>> fields) {
    int column = 0;
    for (const auto& [text, box] : fields) {
        if (column == 0) {
            addWidget(label(text, box), rows_, column);
        } else {
            addWidget(label(text, box), rows_, column, Qt::AlignRight);
        }
        addWidget(box, rows_, column + 1);
        column += 2;
    }
    ++rows_;
}
