#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/kvtml_file.h"
#include "core/text_import.h"

// One card a file would give, as the preview shows it and the import takes it.
struct ImportRow {
    CardCandidate candidate;
    // The characters of its texts the list cannot hold, each once; the row is not taken.
    std::string unstorable;

    // A card needs a question and an answer, as a typed one does, and texts the list holds.
    bool taken() const {
        return candidate.taken() && !candidate.card.answer.empty() && unstorable.empty();
    }
    // Taken, but cut or cleaned on the way.
    bool changed() const { return taken() && !candidate.problems.empty(); }
};

// The outcome of walking every row once.
struct ImportTally {
    std::size_t rows = 0;            // rows that would be cards, a header row not counted
    std::size_t taken = 0;           // of these, the ones the import takes
    std::size_t changed = 0;         // taken, but cut or cleaned
    std::vector<std::size_t> noted;  // rows not taken or changed, in file order
};

// What a file chosen for Import gives: a text file, read again whenever the user changes
// how it is to be read, or a KVTML document, whose cards are fixed. Every change walks all
// rows once, so that the counts the user confirms are those of the whole file.
class ImportSource {
public:
    enum class Kind : uint8_t { Text, Kvtml };

    // A text file with the encoding, separator and mapping the file suggests.
    static ImportSource fromText(std::string bytes);
    static ImportSource fromKvtml(std::string_view bytes, int32_t maxLevel);

    Kind kind() const { return kind_; }
    const TextImport& text() const { return text_; }
    const KvtmlImport& kvtml() const { return kvtml_; }
    const TextImportOptions& options() const { return options_; }
    const ColumnMapping& mapping() const { return mapping_; }

    // Reads the text again. A different separator changes what the columns are, so the
    // mapping is suggested afresh; otherwise it stays.
    void setOptions(const TextImportOptions& options);
    void setMapping(const ColumnMapping& mapping);

    std::size_t rowCount() const { return tally_.rows; }
    ImportRow row(std::size_t index) const;
    // Calls `take` with every card the import takes, in file order.
    void forEachTakenCard(const std::function<void(const CardRecord&)>& take) const;
    const ImportTally& tally() const { return tally_; }

private:
    ImportSource() = default;
    void countRows();
    // The card of a row of a text file that is taken exactly as its fields are written;
    // false (and `card` unchanged) for any other row, which row() must look at.
    bool takenAsWritten(std::size_t index, CardRecord& card) const;

    Kind kind_ = Kind::Text;
    std::string bytes_;
    TextImport text_;
    TextImportOptions options_;
    ColumnMapping mapping_;
    KvtmlImport kvtml_;
    ImportTally tally_;
};

// Whether the file is a KVTML document: by its extension, or by its first element.
bool looksLikeKvtml(const std::string& path, std::string_view bytes);
