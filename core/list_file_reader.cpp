#include "core/list_file_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/byte_source.h"
#include "core/card_store.h"
#include "core/file_source.h"
#include "core/host.h"
#include "core/message_ids.h"
#include "core/text_encodings.h"
#include "core/text_import.h"
#include "core/text_limit.h"

std::size_t MemorySource::read(char* out, std::size_t max) {
    const std::size_t n = std::min({max, chunk_, bytes_.size()});
    if (n != 0)
        std::memcpy(out, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return n;
}

namespace {

constexpr unsigned char kOldFormat = 0x7E;
constexpr unsigned char kVersion102 = 0x7F;
constexpr unsigned char kVersion20 = 0x80;

constexpr const char* kFormatUnicode = "mnem v 3.0 UTF-8";
constexpr const char* kFormat20 = "mnem v 2.0";
constexpr const char* kFormat102 = "mnem v 1.0.2";
constexpr const char* kFormatText = "ASCII-tabsep-file";
constexpr const char* kFormatTextUtf8 = "UTF-8-tabsep-file";
constexpr const char* kFormatTextUtf16 = "UTF-16-tabsep-file";

// The Unicode list is told from the older format that also begins with 0x7E by its whole
// first two lines (with CR LF or LF line ends, like every list).
constexpr std::string_view kUnicodeFirstLine = "~#File fuer Mnemprogramm";
constexpr std::string_view kUnicodeSecondLine = "#Format Version 3.0, UTF-8";
// Enough of the file to tell every format by, and to tell text from other files.
constexpr std::size_t kHeadBytes = 4096;
// A text list whose first bytes hold more control characters and NUL bytes than this (and
// more than one in twenty) is some other kind of file; a few stray ones are damage to a
// list, read by the old rules (a NUL ends its text).
constexpr std::size_t kStrayControls = 16;

// Read limits of the text fields, in characters: bytes of the file in the formats that are
// Windows-1252, characters of the text in UTF-8, where a field is also held to the bytes the
// store keeps for that many characters.
constexpr std::size_t kTextLimit20 = 100;
constexpr std::size_t kLessonLimit20 = 10;
constexpr std::size_t kTextLimitOld = 99;  // version 1.0.2 and tab-separated text
constexpr std::size_t kFontLineLimit = 49;
constexpr std::size_t kNumberWidth = 15;

bool isSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int digitValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Numbers wider than 32 bits keep their low 32 bits.
int32_t lowBits(uint64_t magnitude, bool negative) {
    const uint64_t v = negative ? 0 - magnitude : magnitude;
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

// A decimal number at the start of a font record line: leading white space, an optional
// sign, digits; anything after them does not count. A line without digits gives 0.
int32_t leadingDecimal(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isSpace(static_cast<unsigned char>(line[i])))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    uint64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(line[i] - '0');
    }
    return lowBits(value, negative);
}

// Card texts end at a NUL byte, as the texts of the list files always have.
std::string_view untilNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    if (nul == nullptr)
        return text;
    return text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
}

// The bytes of a list file as the reading rules see them: taken from the source in large
// chunks, with every CR LF turned into LF. A CR that is not followed by LF is an ordinary
// character, so files with plain LF line ends read the same as those with CR LF.
class TextReader {
public:
    // The buffer has some slack behind its capacity so that a row scan, a conversion or a
    // check of a text may read whole 16-byte blocks past its last byte. It is cleared once,
    // so that what such a block reads behind the data is never memory left undefined.
    explicit TextReader(ByteSource& source)
        : source_(source),
          capacity_(capacityFor(source.sizeHint())),
          storage_(new char[capacity_ + kSlack]()),
          buffer_(storage_.get()) {}

    // Up to `n` bytes ahead, fewer only near the end of the data; nothing is consumed.
    std::string_view window(std::size_t n) {
        ensure(n);
        return {buffer_ + pos_, std::min(end_ - pos_, n)};
    }
    void advance(std::size_t n) { pos_ += n; }

    // -1 at the end of the data.
    int get() {
        if (!ensure(1))
            return -1;
        return static_cast<unsigned char>(buffer_[pos_++]);
    }
    // Puts back the byte the last get() returned.
    void unget() { --pos_; }

    // Whether the data is UTF-8 text, whose fields count characters; else every byte is
    // a character.
    void setUtf8(bool utf8) { utf8_ = utf8; }

    // Characters up to `separator`, at most `limit` of them. A separator within the limit,
    // or directly at it, is consumed; after `limit` other characters the field ends and the
    // next read starts at the character that did not fit. The view lasts until the next
    // read; ranOut() tells whether the data ended before the field did.
    std::string_view field(std::size_t limit, char separator) {
        if (utf8_)
            return utf8Field(limit, separator);
        ensure(limit + 1);
        const std::size_t window = std::min(end_ - pos_, limit + 1);
        const char* start = buffer_ + pos_;
        const void* hit = std::memchr(start, separator, window);
        if (hit != nullptr) {
            const auto n = static_cast<std::size_t>(static_cast<const char*>(hit) - start);
            pos_ += n + 1;
            ranOut_ = false;
            return {start, n};
        }
        const std::size_t n = std::min(window, limit);
        pos_ += n;
        ranOut_ = window <= limit;
        return {start, n};
    }
    // The same in UTF-8 text. A field is also held to the byte capacity of `limit`
    // characters in the store, and is cut as the store cuts (text_limit.h): what the store
    // cannot keep of a field starts the next one, exactly like the characters beyond the
    // limit. The code point after the byte capacity is looked at too, since it decides
    // whether the character before it is whole.
    std::string_view utf8Field(std::size_t limit, char separator) {
        const std::size_t byteLimit = limit * kBytesPerCharacterCap;
        ensure(byteLimit + 4);
        const std::size_t window = std::min(end_ - pos_, byteLimit + 4);
        const char* start = buffer_ + pos_;
        const void* hit = std::memchr(start, separator, window);
        const std::size_t n = hit != nullptr
                                  ? static_cast<std::size_t>(static_cast<const char*>(hit) - start)
                                  : window;
        const std::size_t fit = fittingLength({start, n}, limit, byteLimit);
        if (fit == n && hit != nullptr) {
            pos_ += n + 1;
            ranOut_ = false;
            return {start, n};
        }
        pos_ += fit;
        ranOut_ = fit == n;  // without a separator, a field that fits ended with the data
        return {start, fit};
    }

    // Whether the last field() or line() ended with the data, neither at its separator nor
    // at its limit.
    bool ranOut() const { return ranOut_; }
    bool atEnd() { return !ensure(1); }

    // A line of at most `limit` characters; false when the data has already ended.
    bool line(std::size_t limit, std::string_view& out) {
        if (!ensure(1))
            return false;
        out = field(limit, '\n');
        return true;
    }

    // Skips `count` line ends; false when the data ends first.
    bool skipLines(int count) {
        while (count > 0) {
            if (!ensure(1))
                return false;
            const char* start = buffer_ + pos_;
            const void* hit = std::memchr(start, '\n', end_ - pos_);
            if (hit == nullptr) {
                pos_ = end_;
            } else {
                pos_ += static_cast<std::size_t>(static_cast<const char*>(hit) - start) + 1;
                --count;
            }
        }
        return true;
    }

    // A number of a card row, read like an integer literal: white space skipped, an
    // optional sign, octal after a leading 0 and hexadecimal after 0x or 0X, at most 15
    // characters in all. False when there are no digits.
    bool number(int32_t& out) {
        for (;;) {
            if (!ensure(1))
                return false;
            if (!isSpace(static_cast<unsigned char>(buffer_[pos_])))
                break;
            ++pos_;
        }
        ensure(kNumberWidth);
        const char* s = buffer_ + pos_;
        const std::size_t width = std::min(end_ - pos_, kNumberWidth);
        std::size_t i = 0;
        bool negative = false;
        if (s[i] == '+' || s[i] == '-')
            negative = s[i++] == '-';
        int base = 10;
        if (i < width && s[i] == '0') {
            base = 8;
            if (i + 2 < width && (s[i + 1] == 'x' || s[i + 1] == 'X') &&
                digitValue(static_cast<unsigned char>(s[i + 2])) < 16) {
                base = 16;
                i += 2;
            }
        }
        const std::size_t firstDigit = i;
        uint64_t value = 0;
        for (; i < width; ++i) {
            const int d = digitValue(static_cast<unsigned char>(s[i]));
            if (d >= base)
                break;
            value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        }
        if (i == firstDigit)
            return false;
        pos_ += i;
        out = lowBits(value, negative);
        return true;
    }

private:
    static constexpr std::size_t kMaxCapacity = std::size_t{1} << 20;
    static constexpr std::size_t kMinCapacity = 4096;  // well above the longest look-ahead
    static constexpr std::size_t kSlack = 64;

    // Small files get a small buffer, large ones are read a megabyte at a time.
    static std::size_t capacityFor(std::size_t hint) {
        if (hint == 0)
            return kMaxCapacity;
        return std::clamp(hint + 1, kMinCapacity, kMaxCapacity);
    }

    // Makes at least `n` bytes available unless the data ends first; returns whether it did.
    bool ensure(std::size_t n) {
        if (end_ - pos_ >= n)
            return true;
        if (pos_ != 0) {
            std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
            end_ -= pos_;
            pos_ = 0;
        }
        while (end_ < n && !atEnd_)
            refill();
        return end_ >= n;
    }

    void refill() {
        const std::size_t start = end_;
        if (heldCr_) {
            buffer_[end_++] = '\r';
            heldCr_ = false;
        }
        const std::size_t got = source_.read(buffer_ + end_, capacity_ - end_);
        if (got == 0) {
            atEnd_ = true;  // a CR held back is an ordinary last character
            return;
        }
        end_ = start + translate(buffer_ + start, end_ + got - start);
        // A CR at the end of a chunk may be the first half of a CR LF pair.
        if (end_ > start && buffer_[end_ - 1] == '\r') {
            heldCr_ = true;
            --end_;
        }
    }

    // Turns CR LF into LF in place; returns the new length.
    static std::size_t translate(char* data, std::size_t size) {
        char* write = data;
        const char* read = data;
        const char* const end = data + size;
        while (read < end) {
            const auto* cr = static_cast<const char*>(std::memchr(read, '\r', end - read));
            const char* stop = cr == nullptr ? end : cr;
            if (write != read)
                std::memmove(write, read, stop - read);
            write += stop - read;
            if (cr == nullptr)
                break;
            if (cr + 1 < end && cr[1] == '\n') {
                *write++ = '\n';
                read = cr + 2;
            } else {
                *write++ = '\r';
                read = cr + 1;
            }
        }
        return static_cast<std::size_t>(write - data);
    }

    ByteSource& source_;
    std::size_t capacity_;
    std::unique_ptr<char[]> storage_;
    char* buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool heldCr_ = false;
    bool atEnd_ = false;
    bool ranOut_ = false;
    bool utf8_ = false;
};

// Where the TABs and the line end of one row are: the positions of up to kMaxTabs TABs
// before the first LF, the LF itself, and whether a NUL comes before it.
struct RowShape {
    static constexpr int kMaxTabs = 6;
    uint32_t tabs[kMaxTabs];
    int tabCount = 0;
    std::size_t lineEnd = 0;  // position of the LF; only valid when `complete`
    bool complete = false;    // the LF lies within the bytes looked at
    bool nul = false;
};

// Finds the shape of the row at the start of `bytes`. The caller guarantees that the
// 16-byte blocks covering `bytes` may be read.
RowShape scanRow(std::string_view bytes) {
    RowShape shape;
    const char* p = bytes.data();
    const std::size_t size = bytes.size();
    for (std::size_t block = 0; block < size; block += 16) {
        // Bytes up to 0x0A: NUL, the other control characters below TAB, TAB and LF. Most
        // rows have six of them and nothing else, so each is looked at one by one.
        uint32_t low = 0;
#if defined(__SSE2__)
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + block));
        low = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(10)), v)));
#else
        for (int i = 0; i < 16; ++i) {
            low |= static_cast<uint32_t>(
                       static_cast<unsigned char>(p[block + static_cast<std::size_t>(i)]) <= 10)
                   << i;
        }
#endif
        if (size - block < 16)
            low &= (1u << (size - block)) - 1;
        while (low != 0) {
            const std::size_t at = block + static_cast<std::size_t>(__builtin_ctz(low));
            low &= low - 1;
            switch (p[at]) {
                case '\t':
                    if (shape.tabCount == RowShape::kMaxTabs)
                        return shape;
                    shape.tabs[shape.tabCount++] = static_cast<uint32_t>(at);
                    break;
                case '\n':
                    shape.lineEnd = at;
                    shape.complete = true;
                    return shape;
                case '\0':
                    shape.nul = true;
                    break;
                default:
                    break;
            }
        }
    }
    return shape;
}

// A number in its plainest written form, as this program writes it: an optional minus and
// decimal digits without a leading zero, or a single 0, taking the whole field. Anything
// else goes through the full number rule.
bool plainDecimal(std::string_view field, int32_t& out) {
    if (field.empty() || field.size() > kNumberWidth)
        return false;
    std::size_t i = field[0] == '-' ? 1 : 0;
    if (i == field.size() || (field[i] == '0' && field.size() != i + 1))
        return false;
    uint64_t value = 0;
    for (; i < field.size(); ++i) {
        const unsigned d = static_cast<unsigned char>(field[i]) - '0';
        if (d > 9)
            return false;
        value = value * 10 + d;
    }
    out = lowBits(value, field[0] == '-');
    return true;
}

enum class RowFormat { Version20, Version102, Text };

// How the rows of one list ended.
enum class RowsEnd {
    EmptyLine,  // version 2.0: the empty line that ends a list
    DataEnd,    // the data ended where a row would begin
    Cut,        // the data ended inside a row
    BadNumber,  // a number could not be read; reading ends there
};

// How the texts of a file are written.
enum class Coding { Windows1252, Utf8 };

class ListReader {
public:
    // `repaired` counts the texts of UTF-8 data that held ill-formed sequences.
    ListReader(TextReader& in, CardStore& store, Coding coding, int32_t& repaired)
        : in_(in), store_(store), coding_(coding), repaired_(repaired) {
        in_.setUtf8(coding == Coding::Utf8);
    }

    // Reads rows into `list` until the list ends. Anything but EmptyLine and DataEnd ends
    // the reading of the whole file.
    RowsEnd readRows(RowFormat format, CardList& list, int32_t& count) {
        for (;;) {
            const int c = in_.get();
            if (c < 0)
                return RowsEnd::DataEnd;
            if (c == '\n' && format == RowFormat::Version20)
                return RowsEnd::EmptyLine;
            in_.unget();

            if (format == RowFormat::Version20 && fastRow20(list, count))
                continue;
            if (format == RowFormat::Text && fastRowText(list, count))
                continue;

            Card& card = store_.createCard();
            list.insert(&card);
            ++count;
            if (format == RowFormat::Text) {
                const std::string_view question = in_.field(kTextLimitOld, '\t');
                // A line without TAB at the very end is a question without its answer, unless
                // it is no more than the empty lines that often end a text file.
                const bool cut =
                    in_.ranOut() && question.find_first_not_of("\r\n") != std::string_view::npos;
                setText(card, CardField::Question, question);
                setText(card, CardField::Answer, in_.field(kTextLimitOld, '\n'));
                if (cut)
                    return RowsEnd::Cut;
                continue;
            }
            const std::size_t limit = format == RowFormat::Version20 ? kTextLimit20 : kTextLimitOld;
            setText(card, CardField::Question, in_.field(limit, '\t'));
            setText(card, CardField::Answer, in_.field(limit, '\t'));
            if (format == RowFormat::Version20) {
                setText(card, CardField::Lesson, in_.field(kLessonLimit20, '\t'));
                setText(card, CardField::AddInfo, in_.field(kTextLimit20, '\t'));
            }
            // What was read of a row stays when the row breaks off: a level that could be
            // read is kept, a number that could not keeps the one the new card was given.
            int32_t level = 0;
            if (!in_.number(level))
                return numberMissing();
            card.level = level;
            in_.field(limit, '\t');
            int32_t id = 0;
            if (!in_.number(id))
                return numberMissing();
            in_.field(limit, '\n');
            setCardId(card, id);
            // Without its line end, the number just read may have lost digits.
            if (in_.ranOut())
                return RowsEnd::Cut;
        }
    }

    // Reads one font record; false when the data ends before its last line. `cut` is set
    // when the data ended before the line end of the last line.
    bool readFont(LogFont& font, bool& cut) {
        int32_t numbers[13];
        std::string_view line;
        for (int32_t& n : numbers) {
            if (!in_.line(kFontLineLimit, line))
                return false;
            n = leadingDecimal(line);
        }
        if (!in_.line(kFontLineLimit, line))
            return false;
        if (in_.ranOut())
            cut = true;
        font.lfHeight = numbers[0];
        font.lfWidth = numbers[1];
        font.lfEscapement = numbers[2];
        font.lfOrientation = numbers[3];
        font.lfWeight = numbers[4];
        uint8_t* bytes[] = {&font.lfItalic,  &font.lfUnderline,     &font.lfStrikeOut,
                            &font.lfCharSet, &font.lfOutPrecision,  &font.lfClipPrecision,
                            &font.lfQuality, &font.lfPitchAndFamily};
        for (int i = 0; i < 8; ++i)
            *bytes[i] = static_cast<uint8_t>(numbers[5 + i] & 0xFF);
        font.lfFaceName = faceName(untilNul(line));
        return true;
    }

private:
    RowsEnd numberMissing() { return in_.atEnd() ? RowsEnd::Cut : RowsEnd::BadNumber; }

    // The longest row the fast paths take: four full text fields, two numbers of 15
    // characters, five TABs and the LF, rounded up to whole 16-byte blocks.
    static constexpr std::size_t kFastWindow = 352;

    // A face name in UTF-8, cut to kFaceNameCapacity characters.
    std::string faceName(std::string_view line) {
        std::string face;
        if (coding_ == Coding::Windows1252) {
            line = line.substr(0, LogFont::kFaceNameCapacity);
            face.resize(utf8RoomForWindows1252(line.size()));
            face.resize(windows1252AsUtf8(line, face.data()));
            return face;
        }
        if (isWellFormedUtf8(line)) {
            face = line;
        } else {
            appendRepairedUtf8(face, line);
            ++repaired_;
        }
        face.resize(fittingLength(face, LogFont::kFaceNameCapacity,
                                  LogFont::kFaceNameCapacity * kBytesPerCharacterCap));
        return face;
    }

    // Whether a field of a row taken in one pass is whole within its limit. In UTF-8 a
    // field longer in bytes than its limit may still be short enough in characters.
    bool fits(std::string_view field, std::size_t limit) const {
        if (field.size() <= limit)
            return true;
        return coding_ == Coding::Utf8 &&
               fittingLength(field, limit, limit * kBytesPerCharacterCap) == field.size();
    }
    // The rows taken in one pass are only those with well-formed texts, since the field
    // rules repair the others; they are checked in one go.
    bool wellFormed(std::string_view texts) const {
        return coding_ == Coding::Windows1252 || isWellFormedUtf8InBuffer(texts);
    }

    // A version 2.0 row (or a row of the Unicode list) in exactly the form this program
    // writes, read in one pass; false (and nothing read) for every other row, which then
    // goes through the field rules.
    bool fastRow20(CardList& list, int32_t& count) {
        const std::string_view bytes = in_.window(kFastWindow);
        const RowShape row = scanRow(bytes);
        if (!row.complete || row.tabCount != 5 || row.nul)
            return false;
        const uint32_t* t = row.tabs;
        if (!wellFormed(bytes.substr(0, t[3])) || !fits(bytes.substr(0, t[0]), kTextLimit20) ||
            !fits(bytes.substr(t[0] + 1, t[1] - t[0] - 1), kTextLimit20) ||
            !fits(bytes.substr(t[1] + 1, t[2] - t[1] - 1), kLessonLimit20) ||
            !fits(bytes.substr(t[2] + 1, t[3] - t[2] - 1), kTextLimit20)) {
            return false;
        }
        int32_t level = 0;
        int32_t id = 0;
        if (!plainDecimal(bytes.substr(t[3] + 1, t[4] - t[3] - 1), level) ||
            !plainDecimal(bytes.substr(t[4] + 1, row.lineEnd - t[4] - 1), id)) {
            return false;
        }
        Card& card = store_.createCard();
        list.insert(&card);
        ++count;
        // The four texts with the TABs between them go into the store in one piece.
        const std::string_view texts = bytes.substr(0, t[3]);
        if (coding_ == Coding::Windows1252) {
            store_.writeTexts(card, utf8RoomForWindows1252(texts.size()),
                              [&](char* out) { return windows1252AsUtf8InBuffer(texts, out); });
        } else {
            store_.writeTexts(card, texts.size(), [&](char* out) {
                std::memcpy(out, texts.data(), texts.size());
                return texts.size();
            });
        }
        card.level = level;
        setCardId(card, id);
        in_.advance(row.lineEnd + 1);
        return true;
    }

    // A tab-separated line with one TAB and both texts within their limits.
    bool fastRowText(CardList& list, int32_t& count) {
        const std::string_view bytes = in_.window(kFastWindow);
        const RowShape row = scanRow(bytes);
        if (!row.complete || row.tabCount != 1 || row.nul ||
            !wellFormed(bytes.substr(0, row.lineEnd)) ||
            !fits(bytes.substr(0, row.tabs[0]), kTextLimitOld) ||
            !fits(bytes.substr(row.tabs[0] + 1, row.lineEnd - row.tabs[0] - 1), kTextLimitOld)) {
            return false;
        }
        Card& card = store_.createCard();
        list.insert(&card);
        ++count;
        setPlainText(card, CardField::Question, bytes.substr(0, row.tabs[0]), true);
        setPlainText(card, CardField::Answer,
                     bytes.substr(row.tabs[0] + 1, row.lineEnd - row.tabs[0] - 1), true);
        in_.advance(row.lineEnd + 1);
        return true;
    }

    void setText(Card& card, CardField field, std::string_view text) {
        setPlainText(card, field, untilNul(text));
    }
    // A text known to hold no NUL, in the coding of the file; `wellFormed` when it is known
    // to be well-formed UTF-8 already. A new card already holds "-" in two of its texts,
    // which rows often repeat; "-" and "" are the same in every coding.
    void setPlainText(Card& card, CardField field, std::string_view text, bool wellFormed = false) {
        if (text == card.text(field))
            return;
        if (coding_ == Coding::Windows1252) {
            store_.writeText(card, field, utf8RoomForWindows1252(text.size()),
                             [&](char* out) { return windows1252AsUtf8InBuffer(text, out); });
            return;
        }
        if (!wellFormed && !isWellFormedUtf8(text)) {
            std::string repaired;
            appendRepairedUtf8(repaired, text);
            ++repaired_;
            store_.setText(card, field, repaired);
            return;
        }
        store_.writeText(card, field, text.size(), [&](char* out) {
            std::memcpy(out, text.data(), text.size());
            return text.size();
        });
    }

    TextReader& in_;
    CardStore& store_;
    Coding coding_;
    int32_t& repaired_;
};

// The font of a record the user can see: one that cannot be made goes through the font
// dialog first.
LogFont usableFont(const LogFont& record, Host& host) {
    if (host.fontUsable(record))
        return record;
    host.showError(Msg::FontNotFound);
    return host.chooseFont(record);
}

bool whole(RowsEnd end) {
    return end == RowsEnd::EmptyLine || end == RowsEnd::DataEnd;
}

// The sections of a list file behind its first byte, in version 1.0.2, 2.0 or the Unicode
// list (its fonts and rows as in version 2.0, its texts UTF-8); returns whether the file
// ended where its format ends it.
bool readList(int first, TextReader& in, DocumentInfo& info, CardStore& store, CardList& target,
              LogFont& questionFont, LogFont& answerFont, Host& host) {
    const bool unicode = first == kOldFormat;
    ListReader reader(in, store, unicode ? Coding::Utf8 : Coding::Windows1252, info.repairedTexts);
    if (first == kVersion102) {
        info.format = kFormat102;
        if (!in.skipLines(3))
            return false;
        return whole(reader.readRows(RowFormat::Version102, target, info.unknownCount));
    }
    info.format = unicode ? kFormatUnicode : kFormat20;
    info.unicode = unicode;
    LogFont question;
    LogFont answer;
    bool cutInFont = false;
    // A file that ends within its header or font records holds no cards; the fonts then
    // stay as they were.
    if (!in.skipLines(3) || !reader.readFont(question, cutInFont) ||
        !reader.readFont(answer, cutInFont)) {
        return false;
    }
    questionFont = usableFont(question, host);
    answerFont = usableFont(answer, host);
    const RowsEnd unknownEnd = reader.readRows(RowFormat::Version20, target, info.unknownCount);
    if (!whole(unknownEnd))
        return false;
    const RowsEnd knownEnd =
        reader.readRows(RowFormat::Version20, store.knownList, info.knownCount);
    // Every version 2.0 file has the empty line behind its unknown cards.
    return !cutInFont && unknownEnd == RowsEnd::EmptyLine && whole(knownEnd);
}

// A tab-separated text file. Its encoding is known only from all of it (a file is UTF-8
// only if every byte of it is), so it is read whole first: its byte-order mark tells UTF-8
// or UTF-16 (turned into UTF-8 here), else UTF-8 when the bytes are well-formed UTF-8 and
// not all ASCII, else Windows-1252. ASCII is read as Windows-1252, so that such a file
// reads exactly as it always has; only UTF-8 counts a CR LF inside a field as one
// character.
bool readText(ByteSource& source, DocumentInfo& info, CardStore& store, CardList& target) {
    std::string bytes;
    bytes.reserve(source.sizeHint() + 1);  // one more, to see the end without growing
    for (;;) {
        if (bytes.size() == bytes.capacity())
            bytes.reserve(std::max<std::size_t>(bytes.capacity() * 2, 64 * 1024));
        const std::size_t size = bytes.size();
        bytes.resize(bytes.capacity());
        const std::size_t got = source.read(bytes.data() + size, bytes.size() - size);
        bytes.resize(size + got);
        if (got == 0)
            break;
    }

    std::string_view text = bytes;
    std::string decoded;
    Coding coding = Coding::Utf8;
    info.format = kFormatTextUtf8;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        decoded = utf16AsUtf8(text.substr(2), text[0] == '\xFE');
        text = decoded;
        info.format = kFormatTextUtf16;
    } else if (isAscii(text) || !isWellFormedUtf8(text)) {
        coding = Coding::Windows1252;
        info.format = kFormatText;
    }
    MemorySource memory(text);
    TextReader in(memory);
    ListReader reader(in, store, coding, info.repairedTexts);
    return whole(reader.readRows(RowFormat::Text, target, info.unknownCount));
}

// Bytes read ahead of the reading proper, handed out again before the rest of the source.
class PrefixedSource : public ByteSource {
public:
    PrefixedSource(std::string_view head, ByteSource& rest) : head_(head), rest_(rest) {}
    std::size_t read(char* out, std::size_t max) override {
        if (head_.empty())
            return rest_.read(out, max);
        const std::size_t n = std::min(max, head_.size());
        std::memcpy(out, head_.data(), n);
        head_.remove_prefix(n);
        return n;
    }
    bool failed() const override { return rest_.failed(); }
    std::size_t sizeHint() const override { return rest_.sizeHint(); }

private:
    std::string_view head_;
    ByteSource& rest_;
};

// Whether the first bytes are the two first lines of the Unicode list.
bool isUnicodeList(std::string_view head) {
    const auto line = [&](std::string_view expected) {
        if (!head.starts_with(expected))
            return false;
        head.remove_prefix(expected.size());
        if (head.starts_with("\r\n"))
            head.remove_prefix(2);
        else if (head.starts_with("\n"))
            head.remove_prefix(1);
        else
            return false;
        return true;
    };
    return line(kUnicodeFirstLine) && line(kUnicodeSecondLine);
}

}  // namespace

DocumentInfo readListFrom(ByteSource& source, const std::string& name, CardStore& store,
                          CardList& target, LogFont& questionFont, LogFont& answerFont,
                          Host& host) {
    DocumentInfo info;
    try {
        // The format is told from the bytes as they are, before any line end is turned.
        char head[kHeadBytes];
        std::size_t headSize = 0;
        while (headSize < kHeadBytes) {
            const std::size_t got = source.read(head + headSize, kHeadBytes - headSize);
            if (got == 0)
                break;
            headSize += got;
        }
        if (headSize == 0 && source.failed()) {
            info.status = 1;  // not readable at all: nothing changes
            info.failure = FileFailure::CannotOpen;
            return info;
        }
        info.fileName = name;
        const int first = headSize == 0 ? -1 : static_cast<unsigned char>(head[0]);
        if (first == kOldFormat && !isUnicodeList({head, headSize})) {
            host.showError(Msg::OldFormat);
            info.status = 1;
            info.failure = FileFailure::OldFormat;
            return info;
        }
        const bool listFormat = first == kOldFormat || first == kVersion102 || first == kVersion20;
        // Read as a text list, binary junk would become millions of cards of garbage.
        if (!listFormat && !looksLikeText({head, headSize}, kStrayControls)) {
            info.status = 1;
            info.failure = FileFailure::NotText;
            return info;
        }
        PrefixedSource all(std::string_view(head, headSize), source);
        bool complete = false;
        if (listFormat) {
            TextReader in(all);
            in.get();
            complete = readList(first, in, info, store, target, questionFont, answerFont, host);
        } else {
            complete = readText(all, info, store, target);
        }
        // A read error, too, ends the data before the end of the file.
        info.incomplete = !complete || source.failed();
    } catch (const std::bad_alloc&) {
        host.fatalError(Msg::NoMemory);
    }
    // Long lists look card numbers up in an index that every number read has outdated.
    // Moving a card to the known cards asks the known list for a number at every answer at
    // the maximum level, so its index is made now rather than during the first such answer.
    store.knownList.containsId(0);
    info.status = 0;
    store.modified = false;
    return info;
}

DocumentInfo readListFile(const std::string& path, CardStore& store, CardList& target,
                          LogFont& questionFont, LogFont& answerFont, Host& host) {
    FileSource source(path, kMaxListFileBytes);
    if (!source.isOpen()) {
        DocumentInfo info;
        info.status = 1;
        info.failure = source.failure();
        info.systemError = source.systemError();
        return info;
    }
    DocumentInfo info = readListFrom(source, path, store, target, questionFont, answerFont, host);
    if (info.status == 0)
        info.stamp = source.stamp();
    if (info.failure == FileFailure::CannotOpen)
        info.systemError = source.systemError();
    return info;
}
