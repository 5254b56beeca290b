#pragma once

#include <QLabel>

#include "core/answer_diff.h"

// Shows where a typed answer differs from the stored one: one line per meaning, the typed
// meaning, an arrow, and the stored meaning. Letters that were typed but are not stored
// are struck through; letters that are stored but were not typed are underlined, and a
// caret in the typed meaning shows where they belong. The colours only add to the marks,
// so the view reads without them; they are chosen to read on light and dark palettes.
// Screen readers get the difference as the view's accessible name.
//
// The label's text keeps the marks as rich-text decorations (for copying and for anyone
// reading the text), but the view draws them itself: the font's own lines are one pixel
// thin, and its strike-out runs along the bar of an "e". Here the strike lies above the
// middle of the small letters and the underline below the baseline, both at least 2 px.
class AnswerDiffView : public QLabel {
    Q_OBJECT
public:
    explicit AnswerDiffView(QWidget* parent = nullptr);

    void setDiff(AnswerDiff diff);
    const AnswerDiff& diff() const { return diff_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void render();

    AnswerDiff diff_;
};
