#pragma once

#include <QWidget>
#include <vector>

#include "core/mixed_letters.h"

class QFont;
class QGridLayout;
class QLineEdit;
class QPushButton;

// The answer put together from its shuffled letters, shown as buttons: the learner types
// them or clicks them in order, Backspace ("Undo") takes the last one back, and Enter
// ("Check") hands in the text built, all letters placed or not. Blanks and punctuation
// appear by themselves. Shown in place of the answer box of the examination window; the
// text goes out by answered(), once a card, to be judged like a typed answer.
class MixedLettersPanel : public QWidget {
    Q_OBJECT
public:
    explicit MixedLettersPanel(QWidget* parent = nullptr);

    // A new card. The puzzle must be playable (MixedLetters::playable).
    void setPuzzle(const MixedLetters& puzzle);
    // The font of the letters and of the text built.
    void setTextFont(const QFont& font);
    QString builtText() const;

    // What a click on the tile does (tiles as MixedLetters numbers them).
    void pickTile(int tile);
    void undo();
    void check();

signals:
    void answered(const QString& built);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();

    MixedLetters puzzle_;
    QLineEdit* built_ = nullptr;
    QGridLayout* tileGrid_ = nullptr;
    std::vector<QPushButton*> tiles_;
    QPushButton* undoButton_ = nullptr;
    QPushButton* checkButton_ = nullptr;
    bool answered_ = false;
};
