#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CardStore;

// The four texts of a card, each well-formed UTF-8 whatever file it came from.
enum class CardField : uint8_t { Question = 0, Answer = 1, Lesson = 2, AddInfo = 3 };

// Hard capacities of the four texts in characters (what a reader sees as one letter, see
// unicode_text.h); longer texts are cut when they are set.
inline constexpr std::size_t kQuestionCapacity = 100;
inline constexpr std::size_t kAnswerCapacity = 100;
inline constexpr std::size_t kLessonCapacity = 10;
inline constexpr std::size_t kAddInfoCapacity = 100;
constexpr std::size_t capacityOf(CardField field) {
    constexpr std::size_t capacities[] = {kQuestionCapacity, kAnswerCapacity, kLessonCapacity,
                                          kAddInfoCapacity};
    return capacities[static_cast<std::size_t>(field)];
}

// A character may be any number of code points (a letter under a pile of accents), so a
// text is also held to this many bytes a character on average: far more than any script
// needs (four bytes a code point, family emoji of about thirty), small enough that no text
// grows without bound.
inline constexpr std::size_t kBytesPerCharacterCap = 16;
// The capacity of the text in bytes.
constexpr std::size_t byteCapacityOf(CardField field) {
    return capacityOf(field) * kBytesPerCharacterCap;
}

// One vocabulary card. Cards are made and owned by the CardStore and stay at the same
// address until the document is emptied, so lists, examinations and windows may keep
// plain pointers to them. The texts live in the store's text arena; change them through
// CardStore::setText.
class Card {
public:
    std::string_view question() const { return text(CardField::Question); }
    std::string_view answer() const { return text(CardField::Answer); }
    std::string_view lesson() const { return text(CardField::Lesson); }
    std::string_view addInfo() const { return text(CardField::AddInfo); }
    std::string_view text(CardField field) const {
        const auto i = static_cast<std::size_t>(field);
        return {texts_[i], lengths_[i]};
    }

    int32_t lastAsked = 0;  // question number of the last answer
    int32_t id = 0;         // card number; change it through setCardId
    int32_t level = 0;
    int32_t timesWrong = 0;
    int32_t timesRight = 0;
    int32_t timesAsked = 0;
    int32_t lastWrong = 0;  // question number of the last wrong answer

private:
    friend class CardStore;
    friend void setCardId(Card& card, int32_t id);
    const char* texts_[4] = {"", "", "", ""};
    uint16_t lengths_[4] = {0, 0, 0, 0};
};

// Counts every change of a card number in the process, so that the lists' number indexes
// know when they are out of date.
uint64_t cardIdEpoch();
// Gives the card a new number. Numbers change only here once a card is in a list.
void setCardId(Card& card, int32_t id);
