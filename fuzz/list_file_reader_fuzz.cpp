// Reads arbitrary bytes as a list file, whole and in small chunks, and checks what every
// reading must leave behind: texts that are well-formed UTF-8 within their capacities in
// characters and bytes and without NUL bytes, whatever the encoding of the file; counts
// that match the lists; and the same cards however the bytes arrive.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_source.h"
#include "core/card_store.h"
#include "core/host.h"
#include "core/list_file_reader.h"
#include "core/unicode_text.h"

namespace {

class QuietHost : public Host {
public:
    void showError(int) override {}
    void showNotice(int) override {}
    void showErrorText(std::string_view) override {}
    [[noreturn]] void fatalError(int id) override {
        std::fprintf(stderr, "fatal message %d\n", id);
        std::abort();
    }
    KnownCardChoice askKnownCard(const Card&) override { return KnownCardChoice::Known; }
    // Every other font is "missing", so the font dialog path runs too.
    bool fontUsable(const LogFont& font) override { return font.lfFaceName.size() % 2 == 0; }
    LogFont chooseFont(const LogFont& preset) override { return preset; }
};

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkText(std::string_view text, std::size_t characters, std::size_t bytes) {
    check(isValidUtf8(text), "text that is not UTF-8");
    check(text.size() <= bytes, "text longer than its capacity in bytes");
    check(characterCount(text) <= characters, "text longer than its capacity in characters");
    check(text.find('\0') == std::string_view::npos, "NUL inside a text");
}

std::string describe(const CardList& list) {
    std::string out;
    list.forEach([&](Card* c) {
        for (CardField f :
             {CardField::Question, CardField::Answer, CardField::Lesson, CardField::AddInfo}) {
            checkText(c->text(f), capacityOf(f), byteCapacityOf(f));
            out += c->text(f);
            out += '\x1F';
        }
        out += std::to_string(c->level) + "," + std::to_string(c->id) + "\n";
    });
    return out;
}

struct Outcome {
    DocumentInfo info;
    std::string unknown, known;
    LogFont question, answer;
};

Outcome readOnce(std::string_view bytes, std::size_t chunk) {
    QuietHost host;
    CardStore store;
    Outcome o;
    MemorySource source(bytes, chunk);
    o.info = readListFrom(source, "fuzz", store, store.unknownList, o.question, o.answer, host);
    o.unknown = describe(store.unknownList);
    o.known = describe(store.knownList);
    check(o.info.unknownCount == store.unknownList.count(), "unknown count");
    check(o.info.knownCount == store.knownList.count(), "known count");
    check(!store.modified, "modified after reading");
    for (const LogFont* font : {&o.question, &o.answer}) {
        checkText(font->lfFaceName, LogFont::kFaceNameCapacity,
                  LogFont::kFaceNameCapacity * kBytesPerCharacterCap);
    }
    check(o.info.repairedTexts == 0 || o.info.format != "mnem v 2.0", "repairs in version 2.0");
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Outcome whole = readOnce(bytes, static_cast<std::size_t>(-1));
    const Outcome pieces = readOnce(bytes, 1 + size % 7);
    check(whole.info.status == pieces.info.status && whole.info.format == pieces.info.format &&
              whole.info.incomplete == pieces.info.incomplete &&
              whole.info.unicode == pieces.info.unicode &&
              whole.info.repairedTexts == pieces.info.repairedTexts,
          "report depends on chunking");
    check(!whole.info.incomplete || whole.info.status == 0, "incomplete after a refusal");
    check(whole.unknown == pieces.unknown && whole.known == pieces.known,
          "cards depend on chunking");
    check(whole.question == pieces.question && whole.answer == pieces.answer,
          "fonts depend on chunking");
    return 0;
}
