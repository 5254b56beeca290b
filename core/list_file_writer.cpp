#include "core/list_file_writer.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <string_view>

#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/host.h"
#include "core/message_ids.h"
#include "core/text_encodings.h"
#include "core/text_limit.h"

namespace {

constexpr std::string_view kHeader20 =
    "\x80#File fuer Mnemprogramm\r\n"
    "#Format Version 2.0, PC\r\n"
    "frage\tantwort\tstufe\tlektion\tkarte_id\r\n";
// The first byte 0x7E is what older programs refuse as a format they do not know; the
// reader tells this list from that format by the first two lines together.
constexpr std::string_view kHeaderUnicode =
    "~#File fuer Mnemprogramm\r\n"
    "#Format Version 3.0, UTF-8\r\n"
    "frage\tantwort\tstufe\tlektion\tkarte_id\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kSavedFormat20 = "Version 2.0";
constexpr const char* kSavedFormatUnicode = "Version 3.0 UTF-8";
constexpr const char* kExportWindows1252 = "ASCII-tabsep-file";
constexpr const char* kExportUtf8 = "UTF-8-tabsep-file";

// Collects the bytes of a file and hands them to the sink in large pieces. Line ends are
// CR LF, as on the platform the format comes from. Texts are written in Windows-1252 or
// as the UTF-8 they are.
class Output {
public:
    Output(ByteSink& sink, bool windows1252) : sink_(sink), windows1252_(windows1252) {
        buffer_.reserve(kFlushSize + 1024);
    }

    void put(std::string_view bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= kFlushSize)
            flush();
    }
    // A card text. A TAB, CR or LF inside it would split the row or end the list early on
    // reading, so each becomes a blank. In Windows-1252 every text was checked before the
    // file was begun; one that does not fit all the same fails the whole write rather
    // than be written wrong.
    void putText(std::string_view text) {
        const std::size_t start = buffer_.size();
        if (!windows1252_)
            buffer_.append(text);
        else if (!appendAsWindows1252(buffer_, text))
            ok_ = false;
        for (std::size_t i = start; i < buffer_.size(); ++i) {
            const char c = buffer_[i];
            if (c == '\t' || c == '\r' || c == '\n')
                buffer_[i] = ' ';
        }
    }
    void putNumber(long long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer_.append(digits, end);
    }
    void endLine() { put(kLineEnd); }

    // Hands over the rest; false when any write failed.
    bool finish() {
        flush();
        return ok_;
    }

private:
    static constexpr std::size_t kFlushSize = std::size_t{1} << 20;

    void flush() {
        if (ok_ && !buffer_.empty())
            ok_ = sink_.write(buffer_);
        buffer_.clear();
    }

    ByteSink& sink_;
    bool windows1252_;
    std::string buffer_;
    bool ok_ = true;
};

// The record as the file and the log carry it: a face name of at most 31 characters on
// one line, in the file's encoding. Version 2.0 keeps of a face name the characters
// Windows-1252 holds.
LogFont recordForFile(const LogFont& font, ListFileFormat format) {
    LogFont out = font;
    std::string& face = out.lfFaceName;
    for (char& c : face) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    if (format == ListFileFormat::Unicode) {
        face.resize(fittingLength(face, LogFont::kFaceNameCapacity,
                                  LogFont::kFaceNameCapacity * kBytesPerCharacterCap));
        return out;
    }
    std::string bytes;
    std::size_t pos = 0;
    while (pos < face.size()) {
        const std::size_t start = pos;
        if (decodeUtf8Maximal(face, pos))
            appendAsWindows1252(bytes, std::string_view(face).substr(start, pos - start));
    }
    bytes.resize(std::min(bytes.size(), LogFont::kFaceNameCapacity));
    face = std::move(bytes);
    return out;
}

void putFont(Output& out, const LogFont& font) {
    for (int32_t n :
         {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight}) {
        out.putNumber(n);
        out.endLine();
    }
    for (uint8_t n :
         {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
          font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily}) {
        out.putNumber(n);
        out.endLine();
    }
    out.put(font.lfFaceName);
    out.endLine();
}

int32_t putRows(Output& out, const CardList& list) {
    int32_t count = 0;
    list.forEach([&](Card* card) {
        out.putText(card->question());
        out.put("\t");
        out.putText(card->answer());
        out.put("\t");
        out.putText(card->lesson());
        out.put("\t");
        out.putText(card->addInfo());
        out.put("\t");
        out.putNumber(card->level);
        out.put("\t");
        out.putNumber(card->id);
        out.endLine();
        ++count;
    });
    return count;
}

bool documentEmpty(const CardStore& store) {
    return store.unknownList.empty() && store.knownList.empty();
}

bool exportFits(const CardStore& store, bool questions, bool answers) {
    bool fits = true;
    const auto check = [&](Card* card) {
        fits = fits && (!questions || encodableAsWindows1252(card->question())) &&
               (!answers || encodableAsWindows1252(card->answer()));
    };
    store.unknownList.forEach(check);
    store.knownList.forEach(check);
    return fits;
}

// A write that failed before commit() leaves the file without a reason of its own.
FileFailure failureOf(const SafeFile& file) {
    return file.failure() == FileFailure::None ? FileFailure::CannotWrite : file.failure();
}

// Writes a file through a SafeFile, so that the old file stays whole until the new one is:
// `write` puts the bytes and returns whether they all went. On failure the report says why.
template <typename Write>
bool writeReplacing(const std::string& path, const WriteFaults& faults, DocumentInfo& info,
                    Write write) {
    try {
        SafeFile file(path, faults);
        if (!file.open()) {
            info.status = 1;
            info.failure = file.failure();
            info.systemError = file.systemError();
            return false;
        }
        if (!write(file) || !file.commit()) {
            info.status = 1;
            info.failure = failureOf(file);
            info.systemError = file.systemError();
            return false;
        }
        info.stamp = file.stamp();
        return true;
    } catch (const std::bad_alloc&) {
        info = DocumentInfo{};
        info.fileName = path;
        info.status = 1;
        info.failure = FileFailure::CannotWrite;
        return false;
    }
}

enum class ExportKind { Cards, Questions, Answers };

DocumentInfo exportLines(const std::string& path, const CardStore& store, Host& host,
                         const WriteFaults& faults, ExportKind kind) {
    DocumentInfo info;
    info.fileName = path;
    if (documentEmpty(store)) {
        host.showError(Msg::NoCardsOpened);
        return info;
    }
    const bool windows1252 =
        exportFits(store, kind != ExportKind::Answers, kind != ExportKind::Questions);
    const bool written = writeReplacing(path, faults, info, [&](SafeFile& file) {
        Output out(file, windows1252);
        if (!windows1252)
            out.put(kByteOrderMark);
        const auto putCard = [&](Card* card) {
            if (kind != ExportKind::Answers)
                out.putText(card->question());
            if (kind == ExportKind::Cards)
                out.put("\t");
            if (kind != ExportKind::Questions)
                out.putText(card->answer());
            out.endLine();
        };
        store.unknownList.forEach(putCard);
        store.knownList.forEach(putCard);
        return out.finish();
    });
    if (written)
        info.format = windows1252 ? kExportWindows1252 : kExportUtf8;
    return info;
}

bool fitsWindows1252(const Card& card) {
    return encodableAsWindows1252(card.question()) && encodableAsWindows1252(card.answer()) &&
           encodableAsWindows1252(card.lesson()) && encodableAsWindows1252(card.addInfo());
}

const Card* firstBeyond(const CardList& list) {
    for (int i = list.nextOccupied(0); i >= 0; i = list.nextOccupied(i + 1)) {
        if (!fitsWindows1252(*list.slot(i)))
            return list.slot(i);
    }
    return nullptr;
}

}  // namespace

DocumentInfo writeListFile(const std::string& path, CardStore& store, const LogFont& questionFont,
                           const LogFont& answerFont, FontDebugLog& log, Host& host,
                           const WriteFaults& faults, ListFileFormat format) {
    DocumentInfo info;
    info.fileName = path;
    if (documentEmpty(store)) {
        host.showError(Msg::NoCardsOpened);
        return info;
    }
    const bool windows1252 = format == ListFileFormat::Version20;
    if (windows1252 && !fitsWindows1252(store)) {
        info.status = 1;
        info.failure = FileFailure::NotWindows1252;
        return info;
    }
    int32_t unknownCount = 0;
    int32_t knownCount = 0;
    const bool written = writeReplacing(path, faults, info, [&](SafeFile& file) {
        Output out(file, windows1252);
        out.put(windows1252 ? kHeader20 : kHeaderUnicode);
        const LogFont question = recordForFile(questionFont, format);
        const LogFont answer = recordForFile(answerFont, format);
        putFont(out, question);
        putFont(out, answer);
        log.logFontEntry(question, FontRole::Question, path);
        log.logFontEntry(answer, FontRole::Answer, path);
        unknownCount = putRows(out, store.unknownList);
        out.endLine();
        knownCount = putRows(out, store.knownList);
        return out.finish();
    });
    if (written) {
        info.format = windows1252 ? kSavedFormat20 : kSavedFormatUnicode;
        info.unknownCount = unknownCount;
        info.knownCount = knownCount;
        store.modified = false;
    }
    return info;
}

DocumentInfo exportCards(const std::string& path, const CardStore& store, Host& host,
                         const WriteFaults& faults) {
    return exportLines(path, store, host, faults, ExportKind::Cards);
}

DocumentInfo exportQuestions(const std::string& path, const CardStore& store, Host& host,
                             const WriteFaults& faults) {
    return exportLines(path, store, host, faults, ExportKind::Questions);
}

DocumentInfo exportAnswers(const std::string& path, const CardStore& store, Host& host,
                           const WriteFaults& faults) {
    return exportLines(path, store, host, faults, ExportKind::Answers);
}

const Card* firstCardBeyondWindows1252(const CardStore& store) {
    if (const Card* card = firstBeyond(store.unknownList))
        return card;
    return firstBeyond(store.knownList);
}

bool fitsWindows1252(const CardStore& store) {
    return firstCardBeyondWindows1252(store) == nullptr;
}
