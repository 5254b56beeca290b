#pragma once

#include <QLabel>

#include "core/answer_diff.h"

// Shows where a typed answer differs from the stored one: one line per meaning, the typed
// meaning, an arrow, and the stored meaning. Letters that were typed but are not stored
// are struck through; letters that are stored but were not typed are underlined, and a
// caret in the typed meaning shows where they belong. The colours only add to the marks,
// so the view reads without them; they are chosen to read on light and dark palettes.
// Screen readers get the difference as the view's accessible name.
class AnswerDiffView : public QLabel {
    Q_OBJECT
public:
    explicit AnswerDiffView(QWidget* parent = nullptr);

    void setDiff(AnswerDiff diff);
    const AnswerDiff& diff() const { return diff_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void render();

    AnswerDiff diff_;
};
