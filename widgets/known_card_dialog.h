#pragma once

#include <QDialog>

class QPushButton;

// "Do you really know this word?": asked when a card reaches the maximum level. Accepted
// ("Keep It", Enter) keeps the card among the cards being learned; everything else,
// "Known Cards", Escape and the close box alike, moves it to the known cards.
class KnownCardDialog : public QDialog {
    Q_OBJECT
public:
    explicit KnownCardDialog(QWidget* parent = nullptr);

private:
    QPushButton* keepButton_ = nullptr;
    QPushButton* knownButton_ = nullptr;
};
