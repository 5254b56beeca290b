#pragma once

#include <QGridLayout>
#include <QString>
#include <initializer_list>
#include <utility>

class QLineEdit;
class QWidget;

// The labelled boxes of a card as the card windows lay them out: wide rows for the texts
// (question, answer, additional information) and narrow rows holding several short fields
// side by side (number, level, lesson). Every label is the buddy of its box and gives the
// box its accessible name, so that Alt and the label's letter, and screen readers, find it.
class CardFieldGrid : public QGridLayout {
public:
    // `fieldsPerRow`: how many fields the narrow rows hold at most.
    CardFieldGrid(QWidget* owner, int fieldsPerRow);

    // A row with one box across the whole width.
    void addWideRow(const QString& label, QLineEdit* box);
    // A row across the whole width for a field that is not a box (it names its own
    // accessible description), after its label.
    void addWideRow(QWidget* label, QWidget* field, Qt::Alignment labelAlignment = {});
    // A row of short fields, each after its label; the labels after the first are aligned
    // to their box.
    void addNarrowRow(std::initializer_list<std::pair<QString, QLineEdit*>> fields);

private:
    QWidget* label(const QString& text, QLineEdit* box);

    QWidget* owner_;
    int fieldsPerRow_;
    int rows_ = 0;
};
