#pragma once

#include <QLabel>

#include "core/answer_check.h"

// A quiet line under the answer that says an answer was right, and what was let pass
// when the preferences allow differences of case or accents. Screen readers announce
// every message, also the same one twice in a row: the line is a notification to them,
// and each message shows it anew. It keeps its place in the layout while empty.
class AnswerFeedbackLine : public QLabel {
    Q_OBJECT
public:
    explicit AnswerFeedbackLine(QWidget* parent = nullptr);

    // "Right, but mind the capital letters: Haus", "... the accents: café", "... the
    // capital letters and accents: Café". Shows plain "Right." for None.
    void showTolerated(ToleratedDifference tolerated, const QString& storedAnswer);
    // Any other message, announced the same way (a wrong choice, say).
    void showMessage(const QString& message);
    void clear();

    // The text shown for a right answer.
    static QString messageFor(ToleratedDifference tolerated, const QString& storedAnswer);

private:
    void announce(const QString& message);
};
