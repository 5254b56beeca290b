#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class RandomSource;

// A text to be put together from its characters shown shuffled as tiles. Characters are
// what a reader sees as one letter ("é" written with a combining accent, "👍🏽"), so a tile
// never splits one. Blanks and punctuation, the meaning separators among them, are no
// tiles: they stay in their places and appear as soon as the tiles before them are placed.
//
// The learner places tiles one after another, any unused tile at any time; the text built
// is then judged like a typed answer, so a wrong order is a wrong answer, not a refusal.
class MixedLetters {
public:
    enum class Pick { Accepted, Rejected };

    // The tiles come in an order that differs from the text's whenever they are not all the
    // same letter: a shuffle that happens to give the text back is turned by one place.
    MixedLetters(std::string_view text, RandomSource& random);
    MixedLetters() = default;

    // False when the text has no letter to place (empty, or blanks and punctuation only):
    // such a card is asked typed instead.
    bool playable() const { return !tiles_.empty(); }

    const std::string& text() const { return text_; }
    // The tiles in the order shown.
    const std::vector<std::string>& tiles() const { return tiles_; }
    bool tileUsed(int tile) const;

    // Places the tile next. Rejected for a used tile, an index out of range, or when done.
    Pick pick(int tile);
    // The unused tile for a typed character: one showing exactly it, else one canonically
    // equivalent, else one differing in case only; -1 when there is none.
    int tileFor(std::string_view typed) const;
    // Takes back the tile placed last; returns its index, or -1 when none was placed.
    int undo();

    // The text built so far, with the blanks and punctuation up to the next tile.
    std::string built() const;
    // Every tile placed.
    bool done() const { return placed_.size() == tiles_.size(); }
    int placedCount() const { return static_cast<int>(placed_.size()); }

private:
    // Places in text_ rather than views, so that the puzzle may be copied and moved.
    struct Slot {
        std::size_t begin = 0;
        std::size_t size = 0;
        bool fixed = false;
    };

    std::string text_;
    std::vector<Slot> slots_;  // the text's characters in order
    std::vector<std::string> tiles_;
    std::vector<int> placed_;  // tile indices in the order placed
    std::vector<bool> used_;
};
