#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "core/log_font.h"

class Host;

enum class FontRole { Question, Answer };

// The log of the fonts written into list files: every save appends one entry for the
// question font and one for the answer font to a text file that is never truncated. The
// entry numbers count from 1 for each log object; the program keeps one for the process,
// so they start again at every start.
class FontDebugLog {
public:
    using Clock = std::function<std::tm()>;
    static constexpr const char* kDefaultPath = "font_debug_file";

    // `path` is relative to the current folder; `clock` gives the local time of an entry.
    explicit FontDebugLog(Host& host, std::string path = kDefaultPath, Clock clock = {});

    // Appends one entry. When the log cannot be opened the error box shows an empty text,
    // nothing is written and the entry number is not used up.
    void logFontEntry(const LogFont& font, FontRole role, const std::string& listPath);

    int entries() const { return entries_; }

private:
    Host& host_;
    std::string path_;
    Clock clock_;
    int entries_ = 0;
};
