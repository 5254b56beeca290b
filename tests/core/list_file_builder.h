#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_list.h"
#include "core/log_font.h"
#include "core/windows1252.h"

// Builds list files in memory, line by line, with CR LF line ends as they are on disk.
namespace listfile {

inline std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

inline std::vector<std::string> fontLines(const LogFont& f) {
    return {std::to_string(f.lfHeight),         std::to_string(f.lfWidth),
            std::to_string(f.lfEscapement),     std::to_string(f.lfOrientation),
            std::to_string(f.lfWeight),         std::to_string(f.lfItalic),
            std::to_string(f.lfUnderline),      std::to_string(f.lfStrikeOut),
            std::to_string(f.lfCharSet),        std::to_string(f.lfOutPrecision),
            std::to_string(f.lfClipPrecision),  std::to_string(f.lfQuality),
            std::to_string(f.lfPitchAndFamily), f.lfFaceName};
}

inline const char* header20() {
    return "\x80#File fuer Mnemprogramm\r\n#Format Version 2.0, PC\r\n"
           "frage\tantwort\tstufe\tlektion\tkarte_id\r\n";
}

inline LogFont sampleFont(const char* face, int32_t height, int32_t weight) {
    LogFont f;
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfItalic = 1;
    f.lfCharSet = 238;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 34;
    f.lfFaceName = face;
    return f;
}

// A version 2.0 file: header, both font records, the unknown rows, the empty line and the
// known rows. Rows are given without their line end.
inline std::string version20(const LogFont& question, const LogFont& answer,
                             const std::vector<std::string>& unknownRows,
                             const std::vector<std::string>& knownRows) {
    std::string out = header20();
    out += crlf(fontLines(question));
    out += crlf(fontLines(answer));
    out += crlf(unknownRows);
    out += "\r\n";
    out += crlf(knownRows);
    return out;
}

// A card text as a version 2.0 file holds it: its Windows-1252 bytes, so that expectations
// can be written as the bytes of the files they come from. A text the code page cannot
// hold stays UTF-8, marked so that it cannot pass for Windows-1252 bytes that happen to be
// the same.
inline std::string fileBytes(std::string_view text) {
    if (std::optional<std::string> bytes = utf8ToWindows1252(text))
        return *bytes;
    return "utf8:" + std::string(text);
}

// One card as "question|answer|lesson|addInfo|level|id", for comparing whole lists.
inline std::string describe(const Card& c) {
    return fileBytes(c.question()) + "|" + fileBytes(c.answer()) + "|" + fileBytes(c.lesson()) +
           "|" + fileBytes(c.addInfo()) + "|" + std::to_string(c.level) + "|" +
           std::to_string(c.id);
}

inline std::vector<std::string> describe(const CardList& list) {
    std::vector<std::string> out;
    list.forEach([&](Card* c) { out.push_back(describe(*c)); });
    return out;
}

}  // namespace listfile
