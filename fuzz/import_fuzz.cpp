// Reads arbitrary bytes as a text file to import, as a KVTML document and as an Anki
// package, and checks what every import must give: card texts that are valid UTF-8, one
// line each and within their limits; counts that agree with the cards; the same rows when
// the detected settings are passed back in; and cards that come back unchanged when they
// are written as KVTML or as exchange text and imported again.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange_text.h"
#include "core/import_pipeline.h"
#include "core/kvtml_file.h"
#include "core/string_sink.h"
#include "core/text_import.h"
#include "core/unicode_text.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkText(std::string_view text, CardField field) {
    check(isValidUtf8(text), "text is not UTF-8");
    check(characterCount(text) <= characterLimit(field), "text longer than its field");
    for (const char c : text)
        check(static_cast<unsigned char>(c) >= 0x20, "control character in a text");
}

// Checks every row of the source, and that the counts and the cards the import takes
// agree with the rows; returns those cards.
std::vector<CardRecord> checkSource(const ImportSource& source) {
    ImportCounts expected;
    expected.rows = source.rowCount();
    std::vector<CardRecord> fromRows;
    for (std::size_t i = 0; i < source.rowCount(); ++i) {
        const ImportRow row = source.row(i);
        const CardCandidate& c = row.candidate;
        checkText(c.card.question, CardField::Question);
        checkText(c.card.answer, CardField::Answer);
        checkText(c.card.lesson, CardField::Lesson);
        checkText(c.card.addInfo, CardField::AddInfo);
        // An Anki note may have a question and still not be taken (a cloze note).
        check(source.kind() == ImportKind::AnkiPackage ? !c.taken() || !c.card.question.empty()
                                                       : c.taken() == !c.card.question.empty(),
              "taken without a question");
        if (row.taken()) {
            fromRows.push_back(c.card);
            ++expected.taken;
        }
        expected.changed += row.changed();
        if (!row.taken() || row.changed())
            expected.noted.push_back(i);
    }
    const ImportCounts& counts = source.counts();
    check(counts.taken == expected.taken, "taken count");
    check(counts.changed == expected.changed, "count of changed rows");
    check(counts.noted == expected.noted, "noted rows");
    std::vector<CardRecord> taken;
    source.forEachTakenCard([&](const CardRecord& card) { taken.push_back(card); });
    check(taken == fromRows, "imported cards differ from the rows");
    return taken;
}

std::vector<CardRecord> cardsOf(const ImportReadResult& read) {
    return read.source ? checkSource(*read.source) : std::vector<CardRecord>();
}

std::vector<std::vector<std::string>> rowsOf(const TextImport& import) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < import.rowCount(); ++r) {
        check(import.line(r) >= 1 && (r == 0 || import.line(r) > import.line(r - 1)),
              "rows out of line order");
        std::vector<std::string> fields;
        for (std::size_t c = 0; c < import.fieldCount(r); ++c)
            fields.emplace_back(import.field(r, c));
        rows.push_back(std::move(fields));
    }
    return rows;
}

void fuzzText(std::string_view bytes) {
    const ImportReadResult read = readImportSource(std::string(bytes), "fuzz.txt", {});
    if (!read.source) {
        check(read.refusal.reason != ImportRefusal::Reason::None, "no source and no reason");
        return;
    }
    // Text that starts as a KVTML document is read as one; fuzzKvtml sees it too.
    if (read.source->kind() != ImportKind::Text)
        return;
    const TextImport& import = read.source->text();
    for (const ColumnMapping& mapping : {read.source->mapping(), ColumnMapping{0, 1, 2, 3, true}}) {
        ImportSource source = *read.source;
        source.setMapping(mapping);
        const std::vector<CardRecord> taken = checkSource(source);

        // Exchange text of the taken cards imports back as the same cards, levels aside.
        StringSink sink;
        check(writeExchangeText(sink, taken), "exchange text not written");
        std::vector<CardRecord> expected = taken;
        for (CardRecord& card : expected)
            card.level = 0;
        check(cardsOf(readImportSource(sink.bytes(), "again.txt", {})) == expected,
              "exchange text does not read back");
    }
    ImportOptions same;
    same.text = {import.encoding, import.separator, import.html};
    const ImportReadResult again = readImportSource(std::string(bytes), "fuzz.txt", same);
    check(again.source && rowsOf(again.source->text()) == rowsOf(import),
          "rows change when the detected settings are given");
}

void fuzzKvtml(std::string_view bytes) {
    const ImportReadResult read = readImportSource(std::string(bytes), "fuzz.kvtml", {});
    if (!read.source) {
        check(read.refusal.reason != ImportRefusal::Reason::BrokenKvtml ||
                  !read.refusal.detail.empty(),
              "failure without a description");
        return;
    }
    const KvtmlImport& import = read.source->kvtml();
    const std::vector<CardRecord> taken = checkSource(*read.source);
    StringSink sink;
    check(writeKvtml(sink, taken,
                     {import.title, import.questionLanguage, import.answerLanguage, 5, ""}),
          "KVTML not written");
    const ImportReadResult again = readImportSource(sink.bytes(), "again.kvtml", {});
    check(again.refusal.reason != ImportRefusal::Reason::BrokenKvtml,
          "written KVTML does not read");
    check(cardsOf(again) == taken, "written KVTML reads back differently");
}

// Packages go through the same rows and counts, with tags as lessons and fields swapped too.
void fuzzPackage(std::string_view bytes) {
    const ImportReadResult read = readImportSource(std::string(bytes), "fuzz.apkg", {});
    if (!read.source) {
        check(read.refusal.reason != ImportRefusal::Reason::None, "no source and no reason");
        return;
    }
    ImportSource source = *read.source;
    checkSource(source);
    AnkiImportChoices choices;
    choices.tags = AnkiTags::Lesson;
    for (const AnkiNoteType& type : source.anki().package.noteTypes)
        choices.fields[type.id] = {1, 0};
    source.setAnkiChoices(choices);
    checkSource(source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzText(bytes);
    fuzzKvtml(bytes);
    // Only a zip can be a package; anything else would be refused at once.
    if (bytes.starts_with("PK"))
        fuzzPackage(bytes);
    return 0;
}
