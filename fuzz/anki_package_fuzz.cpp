// Reads arbitrary bytes as an Anki package and checks what every reading must give: a
// refusal with nothing in it, or texts that are well-formed UTF-8, cards that belong to
// notes, reviews that belong to cards, and a package that, written again as an export,
// reads back with the same texts.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "core/anki_package.h"
#include "core/html_text.h"
#include "core/unicode_text.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkText(std::string_view text) {
    check(isValidUtf8(text), "text is not UTF-8");
}

void roundTrip(const AnkiPackage& package) {
    AnkiExport out;
    out.deckName = package.decks.empty() ? "" : package.decks.front().name;
    out.nowSeconds = 1700000000;
    for (const AnkiNote& note : package.notes) {
        if (judgeAnkiNote(package, note) != AnkiNoteVerdict::Usable)
            continue;
        out.cards.push_back({htmlToText(note.fields[0]), htmlToText(note.fields[1]), "",
                             std::to_string(note.id), note.guid, std::nullopt});
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kartomatrix-fuzz-" + std::to_string(::getpid()) + ".apkg"))
                                 .string();
    check(writeAnkiPackage(path, out).ok(), "export not written");
    const AnkiReadResult back = readAnkiPackage(path);
    std::filesystem::remove(path);
    check(back.ok() && back.package.notes.size() == out.cards.size(), "export does not read back");
    for (std::size_t i = 0; i < out.cards.size(); ++i) {
        check(htmlToText(back.package.notes[i].fields[0]) == out.cards[i].question,
              "question changes in the export");
        check(htmlToText(back.package.notes[i].fields[1]) == out.cards[i].answer,
              "answer changes in the export");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    AnkiReadLimits limits;
    limits.maxUnpackedBytes = 64u << 20;
    const AnkiReadResult r =
        readAnkiPackageBytes(std::string_view(reinterpret_cast<const char*>(data), size), limits);
    if (!r.ok()) {
        check(r.package.notes.empty() && r.package.cards.empty(), "cards from a refused package");
        check(!r.detail.empty(), "refusal without a reason");
        return 0;
    }
    const AnkiPackage& p = r.package;
    std::set<int64_t> notes, cards;
    for (const AnkiNoteType& t : p.noteTypes) {
        checkText(t.name);
        for (const std::string& f : t.fieldNames)
            checkText(f);
    }
    for (const AnkiDeck& d : p.decks)
        checkText(d.name);
    for (const AnkiNote& n : p.notes) {
        notes.insert(n.id);
        checkText(n.guid);
        for (const std::string& f : n.fields) {
            checkText(f);
            checkText(htmlToText(f));
        }
        for (const std::string& t : n.tags)
            checkText(t);
    }
    for (const AnkiCard& c : p.cards) {
        cards.insert(c.id);
        check(notes.count(c.noteId) == 1, "card without its note");
        check(c.type >= 0 && c.type <= 3, "card type out of range");
    }
    for (const AnkiReview& review : p.revlog) {
        check(cards.count(review.cardId) == 1, "review without its card");
        check(review.ease >= 0 && review.ease <= 4, "answer out of range");
    }
    for (const std::string& m : p.mediaNames)
        checkText(m);
    roundTrip(p);
    return 0;
}
