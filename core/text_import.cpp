#include "core/text_import.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/html_text.h"
#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

// The text check looks at the start of the file only, so that it costs the same for any size.
constexpr std::size_t kSampleBytes = 64 * 1024;
// Separators whose shares of rows with the usual field count differ by less than this
// count as about equally consistent (detectSeparator).
constexpr double kSeparatorTolerance = 0.1;
constexpr std::array<char32_t, 6> kSeparatorCandidates = {'\t', ';', ',', '|', ':', '='};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// What a line break of an HTML text becomes on the one line of a card. Not "," or ";":
// answer checking takes those for the border between two meanings, while lines of a card
// side are as often a word and its example or its plural.
constexpr std::string_view kHtmlLineBreak = " / ";

// ---- encodings -------------------------------------------------------------------------

std::size_t byteOrderMarkLength(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
        case TextEncoding::Utf16LittleEndian:
            return bytes.starts_with("\xFF\xFE") ? 2 : 0;
        case TextEncoding::Utf16BigEndian:
            return bytes.starts_with("\xFE\xFF") ? 2 : 0;
        case TextEncoding::Windows1252:
            return 0;
    }
    return 0;
}

// Whether bytes without a byte-order mark are UTF-8: all of them valid, or valid multi-byte
// sequences at least twice as many as the invalid ones. Windows-1252 text only by chance
// holds a letter followed by the very bytes that make a UTF-8 sequence ("\xDF\x93" is "ß“"),
// while its accented letters are invalid UTF-8 nearly every time; a UTF-8 file that a few
// stray bytes damaged is still mostly sequences, and reading it as Windows-1252 would turn
// every one of its accented letters into two wrong characters.
bool mostlyUtf8(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return true;
    std::size_t sequences = 0, invalid = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (decodeUtf8(bytes, pos))
            ++sequences;
        else
            ++invalid;
    }
    return sequences >= 2 * invalid;
}

TextEncoding detectEncoding(std::string_view bytes, bool& byteOrderMark) {
    byteOrderMark = true;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    if (bytes.starts_with("\xFF\xFE"))
        return TextEncoding::Utf16LittleEndian;
    if (bytes.starts_with("\xFE\xFF"))
        return TextEncoding::Utf16BigEndian;
    byteOrderMark = false;
    // Without a mark, UTF-16 shows itself by the zero high bytes of Latin text, always at
    // the same side of each pair.
    const std::string_view sample = bytes.substr(0, 4096);
    const std::size_t pairs = sample.size() / 2;
    if (pairs >= 2) {
        std::size_t zeroEven = 0, zeroOdd = 0;
        for (std::size_t i = 0; i + 1 < sample.size(); i += 2) {
            zeroEven += sample[i] == '\0';
            zeroOdd += sample[i + 1] == '\0';
        }
        if (zeroOdd * 10 >= pairs * 3 && zeroEven * 20 <= pairs)
            return TextEncoding::Utf16LittleEndian;
        if (zeroEven * 10 >= pairs * 3 && zeroOdd * 20 <= pairs)
            return TextEncoding::Utf16BigEndian;
    }
    return mostlyUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

// The file's text in UTF-8, and where bytes that were no character were replaced.
struct Decoded {
    std::string_view text;
    std::string storage;
    std::vector<std::size_t> invalidAt;  // ascending offsets into text
};

void decodeUtf8Body(std::string_view body, Decoded& out) {
    if (isValidUtf8(body)) {
        out.text = body;
        return;
    }
    out.storage.reserve(body.size() + body.size() / 8);
    std::size_t pos = 0;
    while (pos < body.size()) {
        const std::size_t start = pos;
        if (decodeUtf8(body, pos)) {
            out.storage.append(body.substr(start, pos - start));
        } else {
            out.invalidAt.push_back(out.storage.size());
            out.storage += kReplacement;
        }
    }
    out.text = out.storage;
}

void decodeWindows1252Body(std::string_view body, Decoded& out) {
    std::string text = windows1252ToUtf8(body);
    // The five bytes the code page leaves undefined come back as C1 controls, which no
    // vocabulary text means; they are bytes that are no character here.
    const auto undefined = [&](std::size_t i) {
        return text[i] == '\xC2' && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    };
    bool any = false;
    for (std::size_t i = 0; i < text.size() && !any; ++i)
        any = undefined(i);
    if (!any) {
        out.storage = std::move(text);
    } else {
        out.storage.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (undefined(i)) {
                out.invalidAt.push_back(out.storage.size());
                out.storage += kReplacement;
                ++i;
            } else {
                out.storage += text[i];
            }
        }
    }
    out.text = out.storage;
}

void decodeUtf16Body(std::string_view body, bool bigEndian, Decoded& out) {
    out.storage.reserve(body.size() + body.size() / 2);
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(body[i]);
        const auto b = static_cast<unsigned char>(body[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    const auto invalid = [&] {
        out.invalidAt.push_back(out.storage.size());
        out.storage += kReplacement;
    };
    std::size_t i = 0;
    for (; i + 1 < body.size(); i += 2) {
        const char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < body.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out.storage, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            invalid();
        else
            appendUtf8(out.storage, c);
    }
    if (i < body.size())
        invalid();  // half a code unit at the end
    out.text = out.storage;
}

// Binary files nearly always hold NUL bytes; the rest show themselves by the share of
// control characters no text has. Up to `tolerated` of either never make it binary.
bool decodedIsText(std::string_view text, std::size_t tolerated) {
    const std::string_view sample = text.substr(0, kSampleBytes);
    std::size_t controls = 0;  // NUL bytes included
    for (const char ch : sample) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v') ||
            b == 0x7F)
            ++controls;
    }
    if (tolerated > 0 && controls <= tolerated)
        return true;
    return std::memchr(text.data(), '\0', text.size()) == nullptr && controls * 20 <= sample.size();
}

// The body behind the byte-order mark in UTF-8.
void decodeBody(std::string_view body, TextEncoding encoding, Decoded& decoded) {
    switch (encoding) {
        case TextEncoding::Utf8:
            decodeUtf8Body(body, decoded);
            break;
        case TextEncoding::Windows1252:
            decodeWindows1252Body(body, decoded);
            break;
        case TextEncoding::Utf16LittleEndian:
        case TextEncoding::Utf16BigEndian:
            decodeUtf16Body(body, encoding == TextEncoding::Utf16BigEndian, decoded);
            break;
    }
}

// ---- rows ----------------------------------------------------------------------------

// Reads rows by the CSV rules from UTF-8 text, appending the fields to a flat buffer.
class RowParser {
public:
    struct Row {
        std::size_t line = 0;
        std::size_t start = 0;  // where the row starts and ends in the text
        std::size_t end = 0;
        bool unclosedQuote = false;
    };

    RowParser(std::string_view text, std::string_view separator, std::size_t pos, std::size_t line)
        : text_(text), separator_(separator), pos_(pos), line_(line) {
        stop_['\n'] = stop_['\r'] = true;
        stop_[static_cast<unsigned char>(separator_[0])] = true;
    }

    // Reads the next row that holds text, skipping empty lines, comment lines and rows of
    // empty fields. False at the end of the text.
    bool next(Row& row, std::string& out, std::vector<std::size_t>& fieldEnd) {
        for (;;) {
            if (!skipLinesWithoutRow())
                return false;
            const std::size_t outStart = out.size();
            const std::size_t fieldsStart = fieldEnd.size();
            row = Row{line_, pos_, pos_, false};
            readRow(row, out, fieldEnd);
            if (out.find_first_not_of(' ', outStart) != std::string::npos)
                return true;
            out.resize(outStart);
            fieldEnd.resize(fieldsStart);
        }
    }

    std::size_t position() const { return pos_; }
    std::size_t commentLines() const { return comments_; }

private:
    bool atLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    void consumeLineEnd() {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        ++line_;
    }

    bool skipLinesWithoutRow() {
        while (pos_ < text_.size()) {
            if (atLineEnd()) {
                consumeLineEnd();
            } else if (text_[pos_] == '#') {
                while (pos_ < text_.size() && !atLineEnd())
                    ++pos_;
                ++comments_;
                consumeLineEnd();
            } else {
                return true;
            }
        }
        return false;
    }

    bool atSeparator() const {
        return text_[pos_] == separator_[0] &&
               (separator_.size() == 1 || text_.substr(pos_, separator_.size()) == separator_);
    }

    void countLineEnds(std::string_view piece) {
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (piece[i] == '\n' ||
                (piece[i] == '\r' && (i + 1 >= piece.size() || piece[i + 1] != '\n')))
                ++line_;
        }
    }

    // Reads a quoted field behind its opening quote. False, with nothing consumed, when
    // the quote never closes: then the quote is an ordinary character.
    bool readQuoted(std::string& out) {
        const std::size_t outStart = out.size();
        const std::size_t lineStart = line_;
        std::size_t p = pos_ + 1;
        for (;;) {
            const std::size_t q = text_.find('"', p);
            if (q == std::string_view::npos) {
                out.resize(outStart);
                line_ = lineStart;
                return false;
            }
            const std::string_view piece = text_.substr(p, q - p);
            out.append(piece);
            countLineEnds(piece);
            if (q + 1 < text_.size() && text_[q + 1] == '"') {
                out += '"';
                p = q + 2;
                continue;
            }
            pos_ = q + 1;
            return true;
        }
    }

    void readRow(Row& row, std::string& out, std::vector<std::size_t>& fieldEnd) {
        for (;;) {
            if (pos_ < text_.size() && text_[pos_] == '"' && !readQuoted(out))
                row.unclosedQuote = true;
            // The rest of the field up to the separator or line end; text behind a closing
            // quote is kept rather than lost.
            const std::size_t start = pos_;
            for (;;) {
                while (pos_ < text_.size() && !stop_[static_cast<unsigned char>(text_[pos_])])
                    ++pos_;
                if (pos_ >= text_.size() || atLineEnd() || atSeparator())
                    break;
                ++pos_;  // the first byte of a longer separator, but not the separator
            }
            out.append(text_.substr(start, pos_ - start));
            fieldEnd.push_back(out.size());
            if (pos_ < text_.size() && !atLineEnd()) {
                pos_ += separator_.size();
                continue;
            }
            row.end = pos_;
            if (pos_ < text_.size())
                consumeLineEnd();
            return;
        }
    }

    std::string_view text_;
    std::string_view separator_;
    std::size_t pos_;
    std::size_t line_;
    std::size_t comments_ = 0;
    std::array<bool, 256> stop_{};  // bytes where a field may end
};

std::string utf8Of(char32_t c) {
    std::string s;
    appendUtf8(s, c);
    return s;
}

std::string_view trimBlanks(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// How a separator splits the rows of a file.
struct Split {
    std::size_t rows = 0;
    std::size_t usualRows = 0;   // rows that have the most common field count
    std::size_t usualCount = 0;  // that count
    std::size_t gaps = 0;        // separators between fields
    std::size_t blankAfter = 0;  // of them, those a blank follows
};

Split splitBy(std::string_view text, std::size_t pos, char32_t separator) {
    const std::string sep = utf8Of(separator);
    RowParser parser(text, sep, pos, 1);
    RowParser::Row row;
    std::string scratch;
    std::vector<std::size_t> fieldEnd;
    std::vector<std::size_t> histogram;
    Split split;
    while (parser.next(row, scratch, fieldEnd)) {
        const std::size_t fields = fieldEnd.size();
        ++split.rows;
        if (fields < 4096) {
            if (histogram.size() <= fields)
                histogram.resize(fields + 1);
            ++histogram[fields];
        }
        split.gaps += fields - 1;
        for (std::size_t f = 1; f < fields; ++f)
            split.blankAfter += fieldEnd[f - 1] < fieldEnd[f] && scratch[fieldEnd[f - 1]] == ' ';
        scratch.clear();
        fieldEnd.clear();
    }
    if (!histogram.empty()) {
        const auto usual = std::max_element(histogram.begin(), histogram.end());
        split.usualCount = static_cast<std::size_t>(usual - histogram.begin());
        split.usualRows = *usual;
    }
    return split;
}

// The candidate that splits every row, the first one included, into the same number of
// fields. Among candidates about as consistent as the best, one that does so throughout
// wins; then one that is not mostly followed by a blank, as "; " and ", " between the
// words of a text are; then the earlier in the list.
std::optional<char32_t> detectSeparator(std::string_view text, std::size_t pos) {
    struct Candidate {
        char32_t separator;
        double share;
        bool throughout;
        bool prose;
    };
    std::vector<Candidate> candidates;
    double best = 0;
    for (const char32_t c : kSeparatorCandidates) {
        const Split split = splitBy(text, pos, c);
        if (split.usualCount < 2)
            continue;
        const double share = static_cast<double>(split.usualRows) / static_cast<double>(split.rows);
        candidates.push_back(
            {c, share, split.usualRows == split.rows, split.blankAfter * 2 > split.gaps});
        best = std::max(best, share);
    }
    std::erase_if(candidates,
                  [&](const Candidate& c) { return c.share < best - kSeparatorTolerance; });
    const auto keepIfAny = [&](auto wanted) {
        if (std::any_of(candidates.begin(), candidates.end(), wanted))
            std::erase_if(candidates, [&](const Candidate& c) { return !wanted(c); });
    };
    keepIfAny([](const Candidate& c) { return c.throughout; });
    keepIfAny([](const Candidate& c) { return !c.prose; });
    if (candidates.empty())
        return std::nullopt;
    return candidates.front().separator;
}

std::optional<char32_t> separatorNamed(std::string_view value) {
    const std::string name = foldCase(value);
    static constexpr std::pair<std::string_view, char32_t> kNames[] = {
        {"tab", '\t'}, {"comma", ','}, {"semicolon", ';'}, {"space", ' '},
        {"pipe", '|'}, {"colon", ':'}, {"\\t", '\t'}};
    for (const auto& [n, c] : kNames) {
        if (name == n)
            return c;
    }
    std::size_t pos = 0;
    if (!value.empty()) {
        const std::optional<char32_t> c = decodeUtf8(value, pos);
        if (c && pos == value.size() && *c != '"' && *c != '\n' && *c != '\r')
            return c;
    }
    return std::nullopt;
}

struct Headers {
    std::optional<char32_t> separator;
    std::optional<bool> html;
    std::optional<std::string> columns;
    AnkiColumns anki;
    std::size_t lines = 0;
    std::size_t end = 0;  // where the rows start
};

// A column as Anki's header lines number it, from 1, turned into one counted from 0.
std::optional<std::size_t> columnNumber(std::string_view value) {
    const std::string_view digits = trimBlanks(value);
    if (digits.empty() || digits.size() > 4 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const std::size_t number = std::stoul(std::string(digits));
    return number == 0 ? std::nullopt : std::optional<std::size_t>(number - 1);
}

// The "#key:value" lines at the top of the file, as other trainers write them.
Headers readHeaders(std::string_view text) {
    Headers h;
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == '#') {
        std::size_t end = text.find_first_of("\r\n", pos);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(pos + 1, end - pos - 1);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos) {
            const std::string key = foldCase(trimBlanks(line.substr(0, colon)));
            const std::string_view value = line.substr(colon + 1);
            if (key == "separator") {
                // Only blanks are trimmed: a literal TAB after the colon is the separator.
                const std::size_t first = value.find_first_not_of(' ');
                const std::string_view v =
                    first == std::string_view::npos
                        ? value.substr(0, 1)
                        : value.substr(first, value.find_last_not_of(' ') - first + 1);
                h.separator = separatorNamed(v);
            } else if (key == "html") {
                const std::string v = foldCase(trimBlanks(value));
                if (v == "true" || v == "false")
                    h.html = v == "true";
            } else if (key == "columns") {
                h.columns = std::string(value);
            } else if (const auto column = columnNumber(value)) {
                if (key == "guid column")
                    h.anki.guid = column;
                else if (key == "notetype column")
                    h.anki.notetype = column;
                else if (key == "deck column")
                    h.anki.deck = column;
                else if (key == "tags column")
                    h.anki.tags = column;
            }
        }
        ++h.lines;
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    h.end = pos;
    return h;
}

std::vector<std::string> splitColumns(std::string_view value, const std::string& separator) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t next = value.find(separator, pos);
        names.emplace_back(trimBlanks(value.substr(pos, next - pos)));
        if (next == std::string_view::npos)
            break;
        pos = next + separator.size();
    }
    return names;
}

}  // namespace

// Fills a TextImport; the one place that touches its storage.
class TextImportBuilder {
public:
    static void readRows(TextImport& import, const Decoded& decoded, std::size_t pos,
                         std::size_t firstLine) {
        const std::string separator = utf8Of(import.separator);
        RowParser parser(decoded.text, separator, pos, firstLine);
        import.text_.reserve(decoded.text.size() - pos);
        RowParser::Row row;
        std::size_t invalid = 0;
        std::vector<std::size_t> histogram;
        for (;;) {
            const std::size_t firstField = import.fieldEnd_.size();
            if (!parser.next(row, import.text_, import.fieldEnd_))
                break;
            uint8_t flags = row.unclosedQuote ? TextImport::kUnclosedQuote : 0;
            while (invalid < decoded.invalidAt.size() && decoded.invalidAt[invalid] < row.start)
                ++invalid;
            if (invalid < decoded.invalidAt.size() && decoded.invalidAt[invalid] < row.end)
                flags |= TextImport::kInvalidBytes;
            import.rows_.push_back({row.line, firstField, flags});
            const std::size_t fields = import.fieldEnd_.size() - firstField;
            if (fields < 4096) {
                if (histogram.size() <= fields)
                    histogram.resize(fields + 1);
                ++histogram[fields];
            }
        }
        import.commentLines += parser.commentLines();
        import.usualFieldCount = static_cast<std::size_t>(
            std::max_element(histogram.begin(), histogram.end()) - histogram.begin());
        if (histogram.empty())
            import.usualFieldCount = 0;
    }
};

std::size_t TextImport::fieldCount(std::size_t row) const {
    const std::size_t end = row + 1 < rows_.size() ? rows_[row + 1].firstField : fieldEnd_.size();
    return end - rows_[row].firstField;
}

std::string_view TextImport::field(std::size_t row, std::size_t column) const {
    if (column >= fieldCount(row))
        return {};
    const std::size_t index = rows_[row].firstField + column;
    const std::size_t start = index == 0 ? 0 : fieldEnd_[index - 1];
    return std::string_view(text_).substr(start, fieldEnd_[index] - start);
}

bool looksLikeText(std::string_view firstBytes, std::size_t tolerated) {
    bool mark = false;
    const TextEncoding encoding = detectEncoding(firstBytes, mark);
    Decoded decoded;
    decodeBody(firstBytes.substr(byteOrderMarkLength(firstBytes, encoding)), encoding, decoded);
    return decodedIsText(decoded.text, tolerated);
}

TextImport importText(std::string_view bytes, const TextImportOptions& options) {
    TextImport import;
    bool mark = false;
    import.detectedEncoding = detectEncoding(bytes, mark);
    import.encoding = options.encoding.value_or(import.detectedEncoding);
    const std::size_t markLength = byteOrderMarkLength(bytes, import.encoding);
    import.byteOrderMark = markLength > 0;
    const std::string_view body = bytes.substr(markLength);

    Decoded decoded;
    decodeBody(body, import.encoding, decoded);
    if (!decodedIsText(decoded.text, 0)) {
        import.status = TextImport::Status::NotText;
        return import;
    }

    const Headers headers = readHeaders(decoded.text);
    import.commentLines = headers.lines;
    // Detection reads every row once for each candidate; it is not needed when the
    // separator is given.
    if (!options.separator && !headers.separator)
        import.detectedSeparator = detectSeparator(decoded.text, headers.end);
    if (options.separator) {
        import.separator = *options.separator;
        import.separatorSource = SeparatorSource::Option;
    } else if (headers.separator) {
        import.separator = *headers.separator;
        import.separatorSource = SeparatorSource::Header;
    } else if (import.detectedSeparator) {
        import.separator = *import.detectedSeparator;
        import.separatorSource = SeparatorSource::Detected;
    }
    import.html = options.html.value_or(headers.html.value_or(false));
    import.ankiColumns = headers.anki;
    if (headers.columns)
        import.columnNames = splitColumns(*headers.columns, utf8Of(import.separator));

    TextImportBuilder::readRows(import, decoded, headers.end, headers.lines + 1);
    return import;
}

// ---- cards -----------------------------------------------------------------------------

namespace {

enum class Role { None, Question, Answer, Lesson, AddInfo };

Role roleNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, Role> kNames[] = {
        {"question", Role::Question},
        {"front", Role::Question},
        {"frage", Role::Question},
        {"term", Role::Question},
        {"word", Role::Question},
        {"answer", Role::Answer},
        {"back", Role::Answer},
        {"antwort", Role::Answer},
        {"translation", Role::Answer},
        {"definition", Role::Answer},
        {"meaning", Role::Answer},
        {"lesson", Role::Lesson},
        {"lektion", Role::Lesson},
        {"chapter", Role::Lesson},
        {"unit", Role::Lesson},
        {"additional information", Role::AddInfo},
        {"additional info", Role::AddInfo},
        {"notes", Role::AddInfo},
        {"note", Role::AddInfo},
        {"comment", Role::AddInfo},
        {"comments", Role::AddInfo},
        {"info", Role::AddInfo},
        {"bemerkung", Role::AddInfo},
        {"extra", Role::AddInfo},
    };
    const std::string folded = foldCase(trimBlanks(name));
    for (const auto& [n, role] : kNames) {
        if (folded == n)
            return role;
    }
    return Role::None;
}

// Anki's decks nest, their names joined by "::". The last level is the one that tells the
// cards of a file apart ("Spanish::Unit 3"); the levels above it are mostly the same for
// all of them, and a lesson holds only ten characters.
std::string_view lastDeckLevel(std::string_view deck) {
    const std::size_t colons = deck.rfind("::");
    return colons == std::string_view::npos ? deck : deck.substr(colons + 2);
}

}  // namespace

ColumnMapping suggestMapping(const TextImport& import) {
    ColumnMapping mapping;
    std::vector<std::string_view> names;
    const bool fromFirstRow = import.columnNames.empty();
    if (!fromFirstRow) {
        names.assign(import.columnNames.begin(), import.columnNames.end());
    } else if (import.rowCount() > 0) {
        for (std::size_t c = 0; c < import.fieldCount(0); ++c)
            names.push_back(import.field(0, c));
    }
    const AnkiColumns& anki = import.ankiColumns;
    std::optional<std::size_t> question, answer;
    for (std::size_t c = 0; c < names.size(); ++c) {
        if (anki.isMeta(c) || anki.deck == c)
            continue;
        switch (roleNamed(names[c])) {
            case Role::Question:
                question = question.value_or(c);
                break;
            case Role::Answer:
                answer = answer.value_or(c);
                break;
            case Role::Lesson:
                mapping.lesson = mapping.lesson.value_or(c);
                break;
            case Role::AddInfo:
                mapping.addInfo = mapping.addInfo.value_or(c);
                break;
            case Role::None:
                break;
        }
    }
    if (question && answer) {
        mapping.question = *question;
        mapping.answer = *answer;
        mapping.firstRowIsHeader = fromFirstRow;
    } else {
        if (fromFirstRow) {
            // A first row that does not name question and answer is a card like the others.
            mapping.lesson.reset();
            mapping.addInfo.reset();
        }
        // The first two columns that hold card texts.
        std::size_t column = 0;
        const auto nextText = [&] {
            while (anki.isMeta(column) || anki.deck == column)
                ++column;
            return column++;
        };
        mapping.question = nextText();
        mapping.answer = nextText();
    }
    if (!mapping.lesson && anki.deck)
        mapping.lesson = anki.deck;
    return mapping;
}

CardCandidate candidateAt(const TextImport& import, const ColumnMapping& mapping,
                          std::size_t index) {
    const std::size_t row = index + (mapping.firstRowIsHeader ? 1 : 0);
    CardCandidate c;
    c.line = import.line(row);
    if (import.hasInvalidBytes(row))
        c.problems.emplace_back(ImportProblemKind::InvalidBytes);
    if (import.hasUnclosedQuote(row))
        c.problems.emplace_back(ImportProblemKind::UnclosedQuote);
    const auto take = [&](std::size_t column, CardField field) {
        std::string_view raw = import.field(row, column);
        if (field == CardField::Lesson && import.ankiColumns.deck == column)
            raw = lastDeckLevel(raw);
        return import.html ? fitCardText(htmlToText(raw, kHtmlLineBreak), field, c)
                           : fitCardText(raw, field, c);
    };
    c.card.question = take(mapping.question, CardField::Question);
    c.card.answer = take(mapping.answer, CardField::Answer);
    // No lesson or additional information, in a column or not, is the blank "-" of a new
    // card.
    const auto takeOrBlank = [&](std::optional<std::size_t> column, CardField field) {
        std::string text = column ? take(*column, field) : std::string();
        return text.empty() ? std::string("-") : text;
    };
    c.card.lesson = takeOrBlank(mapping.lesson, CardField::Lesson);
    c.card.addInfo = takeOrBlank(mapping.addInfo, CardField::AddInfo);

    // Fields behind every column in use and behind the file's usual width most likely come
    // from a separator inside a text that was not quoted: say what is left out.
    std::size_t used = std::max(mapping.question, mapping.answer) + 1;
    if (mapping.lesson)
        used = std::max(used, *mapping.lesson + 1);
    if (mapping.addInfo)
        used = std::max(used, *mapping.addInfo + 1);
    const std::size_t allowed = std::max(used, import.usualFieldCount);
    std::size_t last = import.fieldCount(row);
    while (last > allowed && trimBlanks(import.field(row, last - 1)).empty())
        --last;
    if (last > allowed) {
        std::string dropped;
        for (std::size_t f = allowed; f < last; ++f) {
            if (f > allowed)
                dropped += " | ";
            dropped += import.field(row, f);
        }
        c.problems.emplace_back(ImportProblemKind::ExtraFields, CardField::Question,
                                shortened(dropped, ImportProblem::kShownCharacters),
                                last - allowed);
    }
    if (c.card.question.empty())
        c.problems.emplace_back(ImportProblemKind::EmptyQuestion);
    return c;
}

namespace {

// Whether the field surely goes into its card as it is: no control characters, no blanks
// at its ends, no more bytes than the field has characters. Most rows of most files are
// such rows, and they need no card made to be counted. The text is valid UTF-8 here, so
// only the C1 controls, the Unicode line separators and U+FFFE/U+FFFF need a look.
bool plainField(std::string_view text, CardField field) {
    if (text.size() > characterLimit(field) || text.starts_with(' ') || text.ends_with(' '))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F)
            return false;
        if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            return false;
        if (b == 0xE2 && text.substr(i, 2) == "\xE2\x80" && i + 2 < text.size() &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9'))
            return false;
        if (b == 0xEF && text.substr(i, 2) == "\xEF\xBF" && i + 2 < text.size() &&
            (text[i + 2] == '\xBE' || text[i + 2] == '\xBF'))
            return false;
    }
    return true;
}

bool plainRow(const TextImport& import, const ColumnMapping& mapping, std::size_t row) {
    if (import.html || import.hasInvalidBytes(row) || import.hasUnclosedQuote(row) ||
        import.fieldCount(row) > import.usualFieldCount)
        return false;
    const std::string_view question = import.field(row, mapping.question);
    // An empty lesson or additional information becomes the blank "-".
    const auto plainOrAbsent = [&](std::optional<std::size_t> column, CardField field) {
        if (!column)
            return true;
        const std::string_view text = import.field(row, *column);
        return !text.empty() && plainField(text, field);
    };
    return !question.empty() && plainField(question, CardField::Question) &&
           plainField(import.field(row, mapping.answer), CardField::Answer) &&
           plainOrAbsent(mapping.lesson, CardField::Lesson) &&
           (!mapping.lesson || import.ankiColumns.deck != mapping.lesson ||
            import.field(row, *mapping.lesson).find("::") == std::string_view::npos) &&
           plainOrAbsent(mapping.addInfo, CardField::AddInfo);
}

}  // namespace

bool isPlainCandidate(const TextImport& import, const ColumnMapping& mapping, std::size_t index) {
    return plainRow(import, mapping, index + (mapping.firstRowIsHeader ? 1 : 0));
}
