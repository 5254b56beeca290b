#include "core/font_debug_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <utility>

#include "core/host.h"

namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm out{};
    localtime_r(&now, &out);
    return out;
}

// Opens the log for appending. A named pipe without a reader fails at once instead of
// holding up the save that writes the entry.
std::FILE* openForAppending(const std::string& path) {
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "ab");
    if (file == nullptr)
        ::close(fd);
    return file;
}

}  // namespace

FontDebugLog::FontDebugLog(Host& host, std::string path, Clock clock)
    : host_(host), path_(std::move(path)), clock_(clock ? std::move(clock) : Clock(localNow)) {}

void FontDebugLog::logFontEntry(const LogFont& font, FontRole role, const std::string& listPath) {
    std::FILE* file = openForAppending(path_);
    if (file == nullptr) {
        host_.showErrorText("");
        return;
    }
    ++entries_;
    const std::tm t = clock_();
    std::fprintf(file,
                 "----------------------------------------------------------\r\n"
                 "Kartomatrix Font Debug File\tEntry  %d since startup\r\n"
                 "FILE:\t%s\r\n"
                 "%s\tCLOSE\r\n"
                 "DATE:\t%d\t%d\t%d\t%d\t%d\r\n",
                 entries_, listPath.c_str(), role == FontRole::Question ? "QUESTION" : "ANSWER",
                 t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::fprintf(file, "%d\r\n%d\r\n%d\r\n%d\r\n%d\r\n", font.lfHeight, font.lfWidth,
                 font.lfEscapement, font.lfOrientation, font.lfWeight);
    const uint8_t bytes[] = {font.lfItalic,  font.lfUnderline,     font.lfStrikeOut,
                             font.lfCharSet, font.lfOutPrecision,  font.lfClipPrecision,
                             font.lfQuality, font.lfPitchAndFamily};
    for (uint8_t b : bytes)
        std::fprintf(file, "%u\r\n", static_cast<unsigned>(b));
    std::fwrite(font.lfFaceName.data(), 1, font.lfFaceName.size(), file);
    std::fprintf(file, "\r\nSTRLEN%zu\r\n", font.lfFaceName.size());
    std::fclose(file);
}
