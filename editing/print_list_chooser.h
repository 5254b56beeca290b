#pragma once

#include <QDialog>
#include <string>
#include <vector>

class Card;
class CardStore;
class QButtonGroup;
class QLineEdit;
class QPushButton;

// "Choose a list...": which cards to print. It ends with "Print" only when the choice
// holds cards; the chosen cards are then the print sequence, in the order of the list
// they come from.
class PrintListChooser : public QDialog {
    Q_OBJECT
public:
    explicit PrintListChooser(const CardStore& store, QWidget* parent = nullptr);

    static constexpr int kHighestLevel = 100;

    // The cards to print, valid once the chooser has ended with "Print".
    const std::vector<const Card*>& sequence() const { return sequence_; }

public slots:
    void accept() override;

private:
    // Fills the sequence from the checked choice; false when there is nothing to print
    // (after telling the user why).
    bool chooseCards(int level, const std::string& lesson);

    const CardStore& store_;
    std::vector<const Card*> sequence_;
    QButtonGroup* choices_ = nullptr;
    QLineEdit* level_ = nullptr;
    QLineEdit* lesson_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
