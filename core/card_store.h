#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/card.h"
#include "core/card_list.h"

// The open document: every card, the five lists that refer to them and the document
// properties. The store owns the cards; `unknownList` and `knownList` hold the cards of
// the document, the other three lists only refer to cards. A card stays valid until
// destroyAllCards (through clearDocument), whichever lists it leaves meanwhile.
class CardStore {
public:
    CardStore();
    ~CardStore();
    CardStore(const CardStore&) = delete;
    CardStore& operator=(const CardStore&) = delete;

    CardList unknownList;
    CardList knownList;
    CardList wrongList;
    CardList lessonSelection;
    CardList levelSelection;
    int32_t nextId = 0;
    bool modified = false;
    std::string fileName = kUntitled;
    bool examiningUnknown = true;

    static constexpr const char* kUntitled = "UNTITLED";

    // A blank card: level 0, number nextId (which grows by one), lesson and additional
    // information "-", empty question and answer, counters 0. Sets `modified`. The card
    // is in no list yet.
    Card& createCard();

    // Replaces one text of the card with UTF-8 text, cut to the field's capacity: at most
    // capacityOf(field) characters and byteCapacityOf(field) bytes, never inside a character
    // (only a first character longer than the byte capacity on its own is cut, between two
    // of its code points). A byte that is not part of well-formed UTF-8 is taken as the
    // Windows-1252 character it would be in the older list files, so no text in the store
    // is ever ill-formed and such a byte keeps the letter it meant.
    void setText(Card& card, CardField field, std::string_view text);
    // The same for readers that convert a text on its way into the store: `write(char* out)`
    // puts at most `maxBytes` bytes of well-formed UTF-8 straight into the store's text
    // memory and returns how many it wrote. The text is then cut like setText's; it is not
    // checked for being well-formed. `maxBytes` is at most kMaxWrittenText.
    template <typename Write>
    void writeText(Card& card, CardField field, std::size_t maxBytes, Write&& write) {
        char* out = reserveText(maxBytes);
        commitText(card, field, out, write(out));
    }
    // The same for all four texts of a card at once, for the many cards of a list:
    // `write(char* out)` puts question, answer, lesson and additional information one after
    // the other, separated by TABs, and returns the length of it all.
    template <typename Write>
    void writeTexts(Card& card, std::size_t maxBytes, Write&& write) {
        char* out = reserveText(std::max(maxBytes, kTabScan));
        commitTexts(card, out, write(out));
    }
    static constexpr std::size_t kMaxWrittenText = 64 * 1024;
    // Swaps question and answer without copying any text.
    static void swapQuestionAndAnswer(Card& card);

    // Destroys every card ever created; all five lists are emptied first. Pointers to
    // cards are invalid afterwards.
    void destroyAllCards();

    // Number of cards alive, in any list or none.
    std::size_t cardCount() const { return cardCount_; }

private:
    // Room for `maxBytes` bytes at the end of the text memory, which commitText then gives
    // to the card. Both run for every text of a list that is read, so the common case is
    // inline.
    char* reserveText(std::size_t maxBytes) {
        // Strictly less: a store without text memory yet has all of it used.
        if (textUsed_ + maxBytes < kTextChunkSize)
            return static_cast<char*>(textChunks_.back().get()) + textUsed_;
        return newTextChunk(maxBytes);
    }
    void commitText(Card& card, CardField field, const char* text, std::size_t size) {
        const auto i = static_cast<std::size_t>(field);
        if (size > capacityOf(field))
            size = fittingSize(field, text, size);
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
    // The room writeTexts reserves at least, so that the TABs of a short row are found by
    // reading this many bytes at once.
    static constexpr std::size_t kTabScan = 64;
    void commitTexts(Card& card, const char* texts, std::size_t size);
    char* newTextChunk(std::size_t maxBytes);
    static std::size_t fittingSize(CardField field, const char* text, std::size_t size);

    // Cards and texts live in chunks of 2 MiB, aligned so that the system can back each
    // with one huge page: a list of a million cards then loads without tens of thousands
    // of page faults.
    static constexpr std::size_t kChunkBytes = 2 * 1024 * 1024;
    static constexpr std::size_t kCardsPerChunk = kChunkBytes / sizeof(Card);
    static constexpr std::size_t kTextChunkSize = kChunkBytes;
    struct ChunkDeleter {
        void operator()(void* chunk) const;
    };
    using Chunk = std::unique_ptr<void, ChunkDeleter>;
    static Chunk allocateChunk();

    std::vector<Chunk> cardChunks_;
    std::size_t cardCount_ = 0;
    std::vector<Chunk> textChunks_;
    std::size_t textUsed_ = kTextChunkSize;  // bytes used in the last text chunk
};
