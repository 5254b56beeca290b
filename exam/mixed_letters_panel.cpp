#include "exam/mixed_letters_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "platform/prompts.h"
#include "platform/text_codec.h"

namespace {

// Rows of tiles: a hundred letters still fit a window.
constexpr int kTilesPerRow = 10;
// The tone of a typed letter that has no tile left.
constexpr int kNoTileHertz = 440;
constexpr int kNoTileMilliseconds = 50;

}  // namespace

MixedLettersPanel::MixedLettersPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mixedLettersPanel"));

    auto* builtLabel = new QLabel(tr("Answer so far:"), this);
    built_ = new QLineEdit(this);
    built_->setObjectName(QStringLiteral("builtAnswer"));
    built_->setReadOnly(true);
    // Shown, not typed into: typing goes to the tiles, and Tab moves between them.
    built_->setFocusPolicy(Qt::NoFocus);
    builtLabel->setBuddy(built_);
    built_->setAccessibleName(tr("Answer so far"));

    undoButton_ = new QPushButton(tr("Undo"), this);
    undoButton_->setObjectName(QStringLiteral("undoLetterButton"));
    undoButton_->setToolTip(tr("Takes the last letter back (Backspace)"));
    checkButton_ = new QPushButton(tr("Check"), this);
    checkButton_->setObjectName(QStringLiteral("checkLettersButton"));
    checkButton_->setToolTip(tr("Hands in the answer (Enter)"));
    for (QPushButton* button : {undoButton_, checkButton_})
        button->setAutoDefault(false);
    connect(undoButton_, &QPushButton::clicked, this, &MixedLettersPanel::undo);
    connect(checkButton_, &QPushButton::clicked, this, &MixedLettersPanel::check);

    auto* builtRow = new QHBoxLayout;
    builtRow->addWidget(builtLabel);
    builtRow->addWidget(built_, 1);
    tileGrid_ = new QGridLayout;
    tileGrid_->setSpacing(4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(undoButton_);
    buttons->addWidget(checkButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(builtRow);
    layout->addLayout(tileGrid_);
    layout->addLayout(buttons);
}

void MixedLettersPanel::setPuzzle(const MixedLetters& puzzle) {
    puzzle_ = puzzle;
    answered_ = false;
    // Later, since the last card's answer may still be on its way out through a tile.
    for (QPushButton* tile : tiles_) {
        tile->hide();
        tileGrid_->removeWidget(tile);
        tile->deleteLater();
    }
    tiles_.clear();
    const std::vector<std::string>& letters = puzzle_.tiles();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const QString letter = fromCardText(letters[i]);
        auto* tile =
            new QPushButton(QString(letter).replace(QLatin1Char('&'), QLatin1String("&&")), this);
        tile->setObjectName(QStringLiteral("letterTile%1").arg(i + 1));
        tile->setAccessibleName(letter);
        tile->setAutoDefault(false);
        tile->setFont(built_->font());
        const int index = static_cast<int>(i);
        connect(tile, &QPushButton::clicked, this, [this, index] { pickTile(index); });
        tileGrid_->addWidget(tile, index / kTilesPerRow, index % kTilesPerRow);
        // Now rather than when the layout gets round to it, so that a tile can take the
        // focus at once.
        if (isVisible())
            tile->show();
        tiles_.push_back(tile);
    }
    // Tab goes through the tiles in the order shown, then to Undo and Check.
    QWidget* previous = nullptr;
    for (QPushButton* tile : tiles_) {
        if (previous)
            setTabOrder(previous, tile);
        previous = tile;
    }
    if (previous) {
        setTabOrder(previous, undoButton_);
        setTabOrder(undoButton_, checkButton_);
    }
    refresh();
    QWidget* first = tiles_.empty() ? static_cast<QWidget*>(checkButton_) : tiles_.front();
    setFocusProxy(first);
    first->setFocus(Qt::OtherFocusReason);
}

void MixedLettersPanel::setTextFont(const QFont& font) {
    built_->setFont(font);
    for (QPushButton* tile : tiles_)
        tile->setFont(font);
}

QString MixedLettersPanel::builtText() const {
    return fromCardText(puzzle_.built());
}

void MixedLettersPanel::pickTile(int tile) {
    if (answered_ || puzzle_.pick(tile) != MixedLetters::Pick::Accepted)
        return;
    refresh();
    // The tile is greyed; the focus goes on to the next free one, or to Check at the end.
    if (puzzle_.done()) {
        checkButton_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Greying the focused tile moved the focus on already; a tile picked by its key from
    // elsewhere leaves the focus where it was.
    QWidget* focused = window()->focusWidget();
    if (focused != nullptr && focused->isEnabled() && isAncestorOf(focused))
        return;
    for (std::size_t step = 1; step <= tiles_.size(); ++step) {
        const std::size_t next = (static_cast<std::size_t>(tile) + step) % tiles_.size();
        if (!puzzle_.tileUsed(static_cast<int>(next))) {
            tiles_[next]->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void MixedLettersPanel::undo() {
    if (answered_)
        return;
    const int tile = puzzle_.undo();
    if (tile >= 0)
        refresh();
}

void MixedLettersPanel::check() {
    if (answered_)
        return;
    answered_ = true;
    refresh();
    emit answered(builtText());
}

void MixedLettersPanel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Backspace:
            undo();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            check();
            return;
        default:
            break;
    }
    const QString typed = event->text();
    if (typed.isEmpty() || typed.at(0).category() == QChar::Other_Control ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QWidget::keyPressEvent(event);
        return;
    }
    const std::optional<std::string> text = toCardText(typed);
    const int tile = text ? puzzle_.tileFor(*text) : -1;
    if (tile < 0 || answered_)
        prompts().beep(kNoTileHertz, kNoTileMilliseconds);
    else
        pickTile(tile);
}

void MixedLettersPanel::refresh() {
    built_->setText(builtText());
    for (std::size_t i = 0; i < tiles_.size(); ++i)
        tiles_[i]->setEnabled(!answered_ && !puzzle_.tileUsed(static_cast<int>(i)));
    undoButton_->setEnabled(!answered_ && puzzle_.placedCount() > 0);
    checkButton_->setEnabled(!answered_);
}
