#include "core/card_search.h"

#include "core/unicode_text.h"

namespace {

template <typename Pred>
Card* firstCard(const CardList& list, Pred matches) {
    for (int i = list.nextOccupied(0); i >= 0; i = list.nextOccupied(i + 1)) {
        Card* card = list.slot(i);
        if (matches(*card))
            return card;
    }
    return nullptr;
}

}  // namespace

Card* findCardByText(const CardStore& store, CardField field, std::string_view text,
                     int32_t shownId) {
    auto above = [&](int32_t floor) {
        return [&, floor](const Card& card) {
            return card.id > floor && sameText(card.text(field), text);
        };
    };
    if (Card* card = firstCard(store.unknownList, above(shownId)))
        return card;
    if (Card* card = firstCard(store.unknownList, above(-1)))
        return card;
    return firstCard(store.knownList, above(-1));
}

Card* findCardById(const CardStore& store, int32_t id) {
    auto numbered = [id](const Card& card) { return card.id == id; };
    if (Card* card = firstCard(store.unknownList, numbered))
        return card;
    return firstCard(store.knownList, numbered);
}

std::optional<int32_t> parseCardNumber(std::string_view text) {
    std::size_t i = 0;
    auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}
