#pragma once

#include <QString>
#include <QWidget>

class QFont;
class QLabel;
class QPushButton;
class QShortcut;

// The answer as a flash card: hidden until the learner asks for it ("Show answer", Space
// or Enter), then shown with "I knew it" (key 1) and "I didn't" (key 2). Shown in place of
// the answer box of the examination window; the learner's verdict goes out by answered(),
// once a card.
class FlashCardPanel : public QWidget {
    Q_OBJECT
public:
    explicit FlashCardPanel(QWidget* parent = nullptr);

    // A new card: its answer hidden, "Show answer" taking the focus.
    void setCard(const QString& expected);
    // The font the answer is shown in.
    void setTextFont(const QFont& font);
    bool answerShown() const { return shown_; }

signals:
    void answered(bool right);

private:
    void showAnswer();
    void answer(bool right);

    QPushButton* showButton_ = nullptr;
    QLabel* answerLabel_ = nullptr;
    QPushButton* knewButton_ = nullptr;
    QPushButton* didntButton_ = nullptr;
    QShortcut* knewKey_ = nullptr;
    QShortcut* didntKey_ = nullptr;
    bool shown_ = false;
    bool answered_ = false;
};
