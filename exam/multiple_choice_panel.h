#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class AnswerFeedbackLine;
class QFont;
class QPushButton;
class QShortcut;

// The answer as a choice among up to four texts, by keys 1-4 or by mouse. Shown in place of
// the answer box of the examination window.
//
// A right choice goes out by answered(true) at once. A wrong one is marked, announced with
// the right choice beside it, and goes out by answered(false) only when the learner moves
// on ("Continue", Enter or Space), so that the right answer is seen first; a window closed
// before that records nothing, as when a typed answer's confirmation is closed.
class MultipleChoicePanel : public QWidget {
    Q_OBJECT
public:
    explicit MultipleChoicePanel(QWidget* parent = nullptr);

    // A new card: the texts in the order shown and the index of the right one. The first
    // choice takes the focus.
    void setChoices(const QStringList& texts, int right);
    // The font the choices are shown in.
    void setTextFont(const QFont& font);
    // The learner's choice (0-based); what keys 1-4 and the buttons do. Ignored once the
    // card is answered or for an index without a choice.
    void choose(int index);

    // "1: Haus": what a choice button says and is called.
    static QString labelOf(int index, const QString& text);

signals:
    void answered(bool right);

private:
    void moveOn();

    std::vector<QPushButton*> buttons_;
    std::vector<QShortcut*> keys_;
    QPushButton* continueButton_ = nullptr;
    AnswerFeedbackLine* feedback_ = nullptr;
    QStringList texts_;
    int right_ = -1;
    bool chosen_ = false;
    bool answered_ = false;
};
