#include "store/card_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

std::size_t capacityOf(CardField field) {
    switch (field) {
        case CardField::Question:
            return kQuestionCapacity;
        case CardField::Answer:
            return kAnswerCapacity;
        case CardField::Lesson:
            return kLessonCapacity;
        case CardField::AddInfo:
            return kAddInfoCapacity;
    }
    return 0;
}

CardStore::CardStore() = default;
CardStore::~CardStore() = default;

Card& CardStore::createCard() {
    const std::size_t index = cardCount_ % kCardsPerChunk;
    if (index == 0 && cardCount_ / kCardsPerChunk == cardChunks_.size()) {
        cardChunks_.push_back(std::make_unique<Card[]>(kCardsPerChunk));
    }
    Card& card = cardChunks_[cardCount_ / kCardsPerChunk][index];
    ++cardCount_;
    card = Card{};
    card.id = nextId++;
    setText(card, CardField::Lesson, "-");
    setText(card, CardField::AddInfo, "-");
    modified = true;
    return card;
}

void CardStore::setText(Card& card, CardField field, std::string_view text) {
    text = text.substr(0, capacityOf(field));
    const auto i = static_cast<std::size_t>(field);
    card.texts_[i] = storeText(text);
    card.lengths_[i] = static_cast<uint8_t>(text.size());
}

void CardStore::swapQuestionAndAnswer(Card& card) {
    std::swap(card.texts_[0], card.texts_[1]);
    std::swap(card.lengths_[0], card.lengths_[1]);
}

void CardStore::destroyAllCards() {
    unknownList.clear();
    knownList.clear();
    wrongList.clear();
    lessonSelection.clear();
    levelSelection.clear();
    cardChunks_.clear();
    cardCount_ = 0;
    textChunks_.clear();
    textUsed_ = kTextChunkSize;
}

const char* CardStore::storeText(std::string_view text) {
    if (text.empty()) return "";
    if (text == "-") return "-";
    if (textUsed_ + text.size() > kTextChunkSize) {
        textChunks_.push_back(std::make_unique_for_overwrite<char[]>(kTextChunkSize));
        textUsed_ = 0;
    }
    char* out = textChunks_.back().get() + textUsed_;
    std::memcpy(out, text.data(), text.size());
    textUsed_ += text.size();
    return out;
}
