#include "core/list_file_writer.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <string_view>

#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/host.h"
#include "core/message_ids.h"

namespace {

constexpr std::string_view kHeader =
    "\x80#File fuer Mnemprogramm\r\n"
    "#Format Version 2.0, PC\r\n"
    "frage\tantwort\tstufe\tlektion\tkarte_id\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr const char* kSavedFormat = "Version 2.0";

// Collects the bytes of a file and hands them to the sink in large pieces. Line ends are
// CR LF, as on the platform the format comes from.
class Output {
public:
    explicit Output(ByteSink& sink) : sink_(sink) { buffer_.reserve(kFlushSize + 1024); }

    void put(std::string_view bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= kFlushSize)
            flush();
    }
    // A card text. A TAB, CR or LF inside it would split the row or end the list early on
    // reading, so each becomes a blank.
    void putText(std::string_view text) {
        const std::size_t start = buffer_.size();
        buffer_.append(text);
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
    std::string buffer_;
    bool ok_ = true;
};

// The record as the file and the log carry it: a face name of at most 31 characters on
// one line.
LogFont recordForFile(const LogFont& font) {
    LogFont out = font;
    out.lfFaceName.resize(std::min(out.lfFaceName.size(), LogFont::kFaceNameCapacity));
    for (char& c : out.lfFaceName) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
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

// A write that failed before commit() leaves the file without a reason of its own.
FileFailure failureOf(const SafeFile& file) {
    return file.failure() == FileFailure::None ? FileFailure::CannotWrite : file.failure();
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
    try {
        SafeFile file(path, faults);
        if (!file.open()) {
            info.status = 1;
            info.failure = file.failure();
            return info;
        }
        Output out(file);
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
        if (!out.finish() || !file.commit()) {
            info.status = 1;
            info.failure = failureOf(file);
        } else {
            info.stamp = file.stamp();
        }
    } catch (const std::bad_alloc&) {
        info.status = 1;
        info.failure = FileFailure::CannotWrite;
    }
    return info;
}

}  // namespace

DocumentInfo writeListFile(const std::string& path, CardStore& store, const LogFont& questionFont,
                           const LogFont& answerFont, FontDebugLog& log, Host& host,
                           const WriteFaults& faults) {
    DocumentInfo info;
    info.fileName = path;
    if (documentEmpty(store)) {
        host.showError(Msg::NoCardsOpened);
        return info;
    }
    try {
        SafeFile file(path, faults);
        if (!file.open()) {
            info.status = 1;
            info.failure = file.failure();
            return info;
        }
        Output out(file);
        out.put(kHeader);
        const LogFont question = recordForFile(questionFont);
        const LogFont answer = recordForFile(answerFont);
        putFont(out, question);
        putFont(out, answer);
        log.logFontEntry(question, FontRole::Question, path);
        log.logFontEntry(answer, FontRole::Answer, path);
        const int32_t unknownCount = putRows(out, store.unknownList);
        out.endLine();
        const int32_t knownCount = putRows(out, store.knownList);
        if (!out.finish() || !file.commit()) {
            info.status = 1;
            info.failure = failureOf(file);
            return info;
        }
        info.format = kSavedFormat;
        info.stamp = file.stamp();
        info.unknownCount = unknownCount;
        info.knownCount = knownCount;
        store.modified = false;
    } catch (const std::bad_alloc&) {
        info = DocumentInfo{};
        info.fileName = path;
        info.status = 1;
        info.failure = FileFailure::CannotWrite;
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
