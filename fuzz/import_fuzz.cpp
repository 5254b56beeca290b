// Reads arbitrary bytes as a text file to import and as a KVTML document, and checks what
// every import must give: card texts that are valid UTF-8, one line each and within their
// limits; counts that agree with the cards; the same rows when the detected settings are
// passed back in; and cards that come back unchanged when they are written as KVTML or
// as exchange text and imported again.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange_text.h"
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

std::vector<CardRecord> checkCandidates(const std::vector<CardCandidate>& all) {
    std::vector<CardRecord> taken;
    for (const CardCandidate& c : all) {
        checkText(c.card.question, CardField::Question);
        checkText(c.card.answer, CardField::Answer);
        checkText(c.card.lesson, CardField::Lesson);
        checkText(c.card.addInfo, CardField::AddInfo);
        check(c.taken() == !c.card.question.empty(), "taken without a question");
        if (c.taken())
            taken.push_back(c.card);
    }
    return taken;
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
    const TextImport import = importText(bytes);
    if (import.status == TextImport::Status::NotText) {
        check(import.rowCount() == 0, "rows from a file that is not text");
        return;
    }
    for (const ColumnMapping& mapping : {suggestMapping(import), ColumnMapping{0, 1, 2, 3, true}}) {
        const std::vector<CardCandidate> all = candidates(import, mapping);
        const ImportCounts counts = countCandidates(import, mapping);
        std::size_t withProblems = 0;
        for (const CardCandidate& c : all)
            withProblems += c.taken() && !c.problems.empty();
        const std::vector<CardRecord> taken = checkCandidates(all);
        check(counts.candidates == all.size(), "candidate count");
        check(counts.taken == taken.size(), "taken count");
        check(counts.withProblems == withProblems, "count of rows with problems");

        // Exchange text of the taken cards imports back as the same cards, levels aside.
        StringSink sink;
        check(writeExchangeText(sink, taken), "exchange text not written");
        const TextImport again = importText(sink.bytes());
        std::vector<CardRecord> back = checkCandidates(candidates(again, suggestMapping(again)));
        std::vector<CardRecord> expected = taken;
        for (CardRecord& card : expected)
            card.level = 0;
        check(back == expected, "exchange text does not read back");
    }
    const TextImport same = importText(bytes, {import.encoding, import.separator, import.html});
    check(rowsOf(same) == rowsOf(import), "rows change when the detected settings are given");
}

void fuzzKvtml(std::string_view bytes) {
    const KvtmlImport import = readKvtml(bytes, 5);
    if (import.status != KvtmlImport::Status::Read) {
        check(import.candidates.empty(), "cards from a file that could not be read");
        check(!describeKvtmlFailure(import).empty(), "failure without a description");
        return;
    }
    const std::vector<CardRecord> taken = checkCandidates(import.candidates);
    StringSink sink;
    check(writeKvtml(sink, taken,
                     {import.title, import.questionLanguage, import.answerLanguage, 5, ""}),
          "KVTML not written");
    const KvtmlImport again = readKvtml(sink.bytes(), 5);
    check(again.status == KvtmlImport::Status::Read, "written KVTML does not read");
    check(checkCandidates(again.candidates) == taken, "written KVTML reads back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzText(bytes);
    fuzzKvtml(bytes);
    return 0;
}
