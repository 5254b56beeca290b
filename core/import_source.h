#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/anki_import.h"
#include "core/kvtml_file.h"
#include "core/text_import.h"

struct ImportOptions;
struct ImportReadResult;

// The kinds of file Import knows.
enum class ImportKind : uint8_t {
    Text,         // tab-separated, CSV and the like, read by importText
    Kvtml,        // KDE's vocabulary documents, read by readKvtml
    AnkiPackage,  // Anki's packages (.apkg, .colpkg): one card per note
};

// One card a file would give, as the preview shows it and the import takes it.
struct ImportRow {
    CardCandidate candidate;

    // A card needs a question and an answer, as a typed one does.
    bool taken() const { return candidate.taken() && !candidate.card.answer.empty(); }
    // Taken, but cut or cleaned on the way.
    bool changed() const { return taken() && !candidate.problems.empty(); }
};

// What all rows of a file give, from one walk over every row.
struct ImportCounts {
    std::size_t rows = 0;     // rows or entries that would be cards, a header row not counted
    std::size_t taken = 0;    // of these, the ones the import takes
    std::size_t changed = 0;  // taken, but cut or cleaned
    std::vector<std::size_t> noted;  // rows not taken or changed, in file order
};

// What a file chosen for Import gives, as readImportSource made it: its kind, the settings
// it is read with, its rows as the cards they become and their counts. A text file is read
// again whenever the user changes how it is to be read; the cards of a KVTML document are
// fixed. Every change walks all rows once, so that the counts the user confirms are those
// of the whole file.
class ImportSource {
public:
    ImportKind kind() const { return kind_; }
    // A text file's rows and what they were read with (encoding, separator, HTML, column
    // names); empty for other kinds.
    const TextImport& text() const { return text_; }
    // A KVTML document's title, languages and cards; empty for other kinds.
    const KvtmlImport& kvtml() const { return kvtml_; }
    const ColumnMapping& mapping() const { return mapping_; }
    // An Anki package's notes, cards, review log and how they are taken; empty for other kinds.
    const AnkiImport& anki() const { return anki_; }

    // Reads the text again. A different separator changes what the columns are, so the
    // mapping is suggested afresh; otherwise it stays. A choice that makes the bytes no
    // text leaves a source without rows, for the user to choose again.
    void setOptions(const TextImportOptions& options);
    void setMapping(const ColumnMapping& mapping);
    // Takes an Anki package's notes with other fields, lesson names or tags.
    void setAnkiChoices(const AnkiImportChoices& choices);

    std::size_t rowCount() const { return counts_.rows; }
    ImportRow row(std::size_t index) const;
    // Calls `take` with every card the import takes, in file order.
    void forEachTakenCard(const std::function<void(const CardRecord&)>& take) const;
    const ImportCounts& counts() const { return counts_; }

private:
    friend ImportReadResult readImportSource(std::string bytes, const std::string& name,
                                             const ImportOptions& options);
    friend ImportReadResult readImportSource(const std::string& path, const ImportOptions& options);
    ImportSource() = default;
    static ImportReadResult fromPackage(AnkiReadResult read, const ImportOptions& options);
    // Counts the rows of a source just read; one without any is refused.
    static ImportReadResult counted(ImportSource source);
    // The one count of what an import takes: what the preview shows and the import adds.
    void countRows();
    // The card of a row of a text file that is taken exactly as its fields are written;
    // false (and `card` unchanged) for any other row, which row() must look at.
    bool takenAsWritten(std::size_t index, CardRecord& card) const;

    ImportKind kind_ = ImportKind::Text;
    std::string bytes_;
    TextImport text_;
    ColumnMapping mapping_;
    KvtmlImport kvtml_;
    AnkiImport anki_;
    ImportCounts counts_;
};
