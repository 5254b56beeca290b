#include "session/import_source.h"

#include <algorithm>
#include <cctype>

#include "session/card_text.h"

ImportSource ImportSource::fromText(std::string bytes) {
    ImportSource source;
    source.kind_ = Kind::Text;
    source.bytes_ = std::move(bytes);
    source.text_ = importText(source.bytes_);
    source.mapping_ = suggestMapping(source.text_);
    source.countRows();
    return source;
}

ImportSource ImportSource::fromKvtml(std::string_view bytes, int32_t maxLevel) {
    ImportSource source;
    source.kind_ = Kind::Kvtml;
    source.kvtml_ = readKvtml(bytes, maxLevel);
    source.countRows();
    return source;
}

void ImportSource::setOptions(const TextImportOptions& options) {
    const char32_t separatorBefore = text_.separator;
    options_ = options;
    text_ = importText(bytes_, options_);
    if (text_.separator != separatorBefore)
        mapping_ = suggestMapping(text_);
    countRows();
}

void ImportSource::setMapping(const ColumnMapping& mapping) {
    mapping_ = mapping;
    countRows();
}

ImportRow ImportSource::row(std::size_t index) const {
    ImportRow row;
    row.candidate =
        kind_ == Kind::Text ? candidateAt(text_, mapping_, index) : kvtml_.candidates[index];
    const CardRecord& card = row.candidate.card;
    for (const std::string* text : {&card.question, &card.answer, &card.lesson, &card.addInfo})
        collectUnstorableCharacters(*text, row.unstorable);
    return row;
}

bool ImportSource::takenAsWritten(std::size_t index, CardRecord& card) const {
    if (kind_ != Kind::Text || !isPlainCandidate(text_, mapping_, index))
        return false;
    const std::size_t line = index + (mapping_.firstRowIsHeader ? 1 : 0);
    const auto field = [&](std::optional<std::size_t> column) {
        return column ? text_.field(line, *column) : std::string_view("-");
    };
    if (field(mapping_.answer).empty())
        return false;
    std::string unstorable;
    for (std::optional<std::size_t> column :
         {std::optional(mapping_.question), std::optional(mapping_.answer), mapping_.lesson,
          mapping_.addInfo}) {
        collectUnstorableCharacters(field(column), unstorable);
    }
    if (!unstorable.empty())
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
    for (std::size_t i = 0; i < tally_.rows; ++i) {
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
    tally_ = {};
    if (kind_ == Kind::Text) {
        const std::size_t header = mapping_.firstRowIsHeader && text_.rowCount() > 0 ? 1 : 0;
        tally_.rows = text_.status == TextImport::Status::Rows ? text_.rowCount() - header : 0;
    } else {
        tally_.rows = kvtml_.candidates.size();
    }
    CardRecord card;
    for (std::size_t i = 0; i < tally_.rows; ++i) {
        if (takenAsWritten(i, card)) {
            ++tally_.taken;
            continue;
        }
        const ImportRow r = row(i);
        if (r.taken())
            ++tally_.taken;
        if (r.changed())
            ++tally_.changed;
        if (!r.taken() || r.changed())
            tally_.noted.push_back(i);
    }
}

bool looksLikeKvtml(const std::string& path, std::string_view bytes) {
    std::string extension = path.substr(std::min(path.size(), path.rfind('.')));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".kvtml")
        return true;
    // Saved under another name, a KVTML document still starts as XML and names its root
    // element within the first lines.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !bytes.substr(start).starts_with("<?xml"))
        return false;
    return bytes.substr(0, 4096).find("<kvtml") != std::string_view::npos;
}
