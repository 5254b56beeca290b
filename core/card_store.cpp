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
#if defined(__SSE2__)
#include <emmintrin.h>
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
    // Where each of the four texts ends: at the three TABs, and at the end.
    std::size_t ends[4] = {size, size, size, size};
#if defined(__SSE2__)
    if (size < kTabScan) {
        // Four blocks read at once, the room reserved behind a short row included; the
        // TABs are the lowest three bits of their mask, found without a branch (a bit
        // beyond the row stands in for a TAB that is missing).
        uint64_t tabs = 0;
        for (std::size_t block = 0; block < kTabScan / 16; ++block) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(texts + 16 * block));
            const auto found = static_cast<uint32_t>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'))));
            tabs |= uint64_t{found} << (16 * block);
        }
        tabs &= (uint64_t{1} << size) - 1;
        for (std::size_t i = 0; i < 3; ++i) {
            ends[i] = std::min<std::size_t>(__builtin_ctzll(tabs | uint64_t{1} << 63), size);
            tabs &= tabs - 1;
        }
    } else
#endif
    {
        const char* text = texts;
        for (std::size_t i = 0; i < 3; ++i) {
            const void* tab =
                std::memchr(text, '\t', static_cast<std::size_t>(texts + size - text));
            if (tab == nullptr)
                break;
            ends[i] = static_cast<std::size_t>(static_cast<const char*>(tab) - texts);
            text = static_cast<const char*>(tab) + 1;
        }
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto field = static_cast<CardField>(i);
        start = std::min(start, ends[i]);
        std::size_t length = ends[i] - start;
        if (length > capacityOf(field)) [[unlikely]]
            length = fittingSize(field, texts + start, length);
        card.texts_[i] = texts + start;
        card.lengths_[i] = static_cast<uint16_t>(length);
        start = ends[i] + 1;
    }
    textUsed_ += size;
}

std::size_t CardStore::fittingSize(CardField field, const char* text, std::size_t size) {
    return fittingLength({text, size}, capacityOf(field), byteCapacityOf(field));
}
