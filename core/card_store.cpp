#include "core/card_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "core/text_encodings.h"
#include "core/text_limit.h"

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

std::size_t byteCapacityOf(CardField field) {
    return capacityOf(field) * kBytesPerCharacterCap;
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
    std::string repaired;
    if (!isAscii(text) && !isWellFormedUtf8(text)) {
        repaired = utf8WithWindows1252Bytes(text);
        text = repaired;
    }
    const std::size_t size = std::min(text.size(), byteCapacityOf(field) + 4);
    char* out = reserveText(size);
    std::memcpy(out, text.data(), size);
    // What lies beyond the byte capacity and the next code point cannot be part of the text,
    // but that code point decides whether the character before it is whole.
    commitText(card, field, out, size);
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

char* CardStore::reserveText(std::size_t maxBytes) {
    if (maxBytes > kMaxWrittenText)
        throw std::length_error("card text too long for the store");
    if (textUsed_ + maxBytes > kTextChunkSize) {
        textChunks_.push_back(allocateChunk());
        textUsed_ = 0;
    }
    return static_cast<char*>(textChunks_.back().get()) + textUsed_;
}

void CardStore::commitText(Card& card, CardField field, const char* text, std::size_t size) {
    const auto i = static_cast<std::size_t>(field);
    size = fittingLength({text, size}, capacityOf(field), byteCapacityOf(field));
    card.lengths_[i] = static_cast<uint16_t>(size);
    // The two most common texts take no memory of their own.
    if (size == 0) {
        card.texts_[i] = "";
    } else if (size == 1 && text[0] == '-') {
        card.texts_[i] = "-";
    } else {
        card.texts_[i] = text;
        textUsed_ += size;
    }
}
