#include "core/card_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

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

void CardStore::ChunkDeleter::operator()(void* chunk) const {
    std::free(chunk);
}

CardStore::Chunk CardStore::allocateChunk() {
    void* chunk = std::aligned_alloc(kChunkBytes, kChunkBytes);
    if (chunk == nullptr)
        throw std::bad_alloc();
#ifdef __linux__
    madvise(chunk, kChunkBytes, MADV_HUGEPAGE);  // a hint; without huge pages all still works
#endif
    return Chunk(chunk);
}

Card& CardStore::createCard() {
    static_assert(std::is_trivially_destructible_v<Card>, "chunks are freed without destructors");
    const std::size_t index = cardCount_ % kCardsPerChunk;
    if (index == 0 && cardCount_ / kCardsPerChunk == cardChunks_.size()) {
        cardChunks_.push_back(allocateChunk());
    }
    Card* chunk = static_cast<Card*>(cardChunks_[cardCount_ / kCardsPerChunk].get());
    Card& card = *new (chunk + index) Card{};
    ++cardCount_;
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
    if (text.empty())
        return "";
    if (text == "-")
        return "-";
    if (textUsed_ + text.size() > kTextChunkSize) {
        textChunks_.push_back(allocateChunk());
        textUsed_ = 0;
    }
    char* out = static_cast<char*>(textChunks_.back().get()) + textUsed_;
    std::memcpy(out, text.data(), text.size());
    textUsed_ += text.size();
    return out;
}
