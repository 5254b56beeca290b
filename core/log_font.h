#pragma once

#include <cstdint>
#include <string>

// The logical description of a font as list files and the font debug log carry it:
// fourteen fields in a fixed order. The core keeps fonts only in this form; the
// window side turns a record into a real font and back.
struct LogFont {
    static constexpr std::size_t kFaceNameCapacity = 31;

    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;  // UTF-8, at most kFaceNameCapacity characters

    bool operator==(const LogFont&) const = default;
};

// The font every new document starts with: 16 points of "MS Sans Serif" as the platform
// describes a font made from a point size (96 dots per inch, default character set).
LogFont defaultDocumentFont();
// The fallback when that face cannot be made: 16 points of "System".
LogFont fallbackDocumentFont();
