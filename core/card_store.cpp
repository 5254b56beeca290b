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
    for (CardField field : {CardField::Lesson, CardField::AddInfo}) {
        card.texts_[static_cast<std::size_t>(field)] = "-";
        card.lengths_[static_cast<std::size_t>(field)] = 1;
    }
    modified = true;
    return card;
}

void CardStore::setText(Card& card, CardField field, std::string_view text) {
    // What lies beyond the byte capacity and the next code point cannot be part of the
    // text, but that code point decides whether the character before it is whole.
    text = text.substr(0, byteCapacityOf(field) + 4);
    std::string repaired;
    if (!isWellFormedUtf8(text)) {
        repaired = utf8WithWindows1252Bytes(text);
        text = std::string_view(repaired).substr(0, byteCapacityOf(field) + 4);
    }
    char* out = reserveText(text.size());
    std::memcpy(out, text.data(), text.size());
    commitText(card, field, out, text.size());
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

char* CardStore::newTextChunk(std::size_t maxBytes) {
    if (maxBytes > kMaxWrittenText)
        throw std::length_error("card text too long for the store");
    textChunks_.push_back(allocateChunk());
    textUsed_ = 0;
    return static_cast<char*>(textChunks_.back().get());
}

void CardStore::commitTexts(Card& card, const char* texts, std::size_t size) {
    const char* const end = texts + size;
    const char* text = texts;
    for (std::size_t i = 0; i < 4; ++i) {
        const char* textEnd = end;
        if (i < 3) {
            const void* tab = std::memchr(text, '\t', static_cast<std::size_t>(end - text));
            textEnd = tab != nullptr ? static_cast<const char*>(tab) : end;
        }
        auto length = static_cast<std::size_t>(textEnd - text);
        const auto field = static_cast<CardField>(i);
        if (length > capacityOf(field)) [[unlikely]]
            length = fittingSize(field, text, length);
        card.texts_[i] = text;
        card.lengths_[i] = static_cast<uint16_t>(length);
        text = std::min(textEnd + 1, end);
    }
    textUsed_ += size;
}

std::size_t CardStore::fittingSize(CardField field, const char* text, std::size_t size) {
    return fittingLength({text, size}, capacityOf(field), byteCapacityOf(field));
}
