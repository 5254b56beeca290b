#include "core/import_source.h"

#include <optional>
#include <string_view>

void ImportSource::setOptions(const TextImportOptions& options) {
    const char32_t separatorBefore = text_.separator;
    text_ = importText(bytes_, options);
    if (text_.separator != separatorBefore)
        mapping_ = suggestMapping(text_);
    countRows();
}

void ImportSource::setMapping(const ColumnMapping& mapping) {
    mapping_ = mapping;
    countRows();
}

void ImportSource::setAnkiChoices(const AnkiImportChoices& choices) {
    anki_.choices = choices;
    countRows();
}

ImportRow ImportSource::row(std::size_t index) const {
    switch (kind_) {
        case ImportKind::Text:
            return {candidateAt(text_, mapping_, index)};
        case ImportKind::Kvtml:
            return {kvtml_.candidates[index]};
        case ImportKind::AnkiPackage:
            break;
    }
    return {ankiCandidateAt(anki_, index)};
}

bool ImportSource::takenAsWritten(std::size_t index, CardRecord& card) const {
    if (kind_ != ImportKind::Text || !isPlainCandidate(text_, mapping_, index))
        return false;
    const std::size_t line = index + (mapping_.firstRowIsHeader ? 1 : 0);
    const auto field = [&](std::optional<std::size_t> column) {
        return column ? text_.field(line, *column) : std::string_view("-");
    };
    if (field(mapping_.answer).empty())
        return false;
    card.question = field(mapping_.question);
    card.answer = field(mapping_.answer);
    card.lesson = field(mapping_.lesson);
    card.addInfo = field(mapping_.addInfo);
    card.level = 0;
    return true;
}

void ImportSource::forEachTakenCard(const std::function<void(const CardRecord&)>& take) const {
    CardRecord card;
    for (std::size_t i = 0; i < counts_.rows; ++i) {
        if (takenAsWritten(i, card)) {
            take(card);
            continue;
        }
        const ImportRow r = row(i);
        if (r.taken())
            take(r.candidate.card);
    }
}

void ImportSource::countRows() {
    counts_ = {};
    if (kind_ == ImportKind::Text) {
        const std::size_t header = mapping_.firstRowIsHeader && text_.rowCount() > 0 ? 1 : 0;
        counts_.rows = text_.status == TextImport::Status::Rows ? text_.rowCount() - header : 0;
    } else if (kind_ == ImportKind::Kvtml) {
        counts_.rows = kvtml_.candidates.size();
    } else {
        counts_.rows = anki_.package.notes.size();
    }
    CardRecord card;
    for (std::size_t i = 0; i < counts_.rows; ++i) {
        // Most rows of most files are taken as written, and need no card made to be counted.
        if (takenAsWritten(i, card)) {
            ++counts_.taken;
            continue;
        }
        const ImportRow r = row(i);
        if (r.taken())
            ++counts_.taken;
        if (r.changed())
            ++counts_.changed;
        if (!r.taken() || r.changed())
            counts_.noted.push_back(i);
    }
}
