#include "platform/text_codec.h"

#include <QStringView>
#include <array>

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the
// control characters of the same number, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char16_t unicodeOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControlRange[byte - 0x80];
    return byte;
}

// The byte of a UTF-16 unit, or -1 when the code page has none.
int byteOf(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
        if (kHighControlRange[i] == unit)
            return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace

QString fromCardText(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        text[static_cast<qsizetype>(i)] = QChar(unicodeOf(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::optional<std::string> toCardText(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        // Surrogates (characters beyond the first 65536) have no byte either.
        const int byte = byteOf(c.unicode());
        if (byte < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

QString unrepresentableCharacters(const QString& text) {
    QString found;
    const QStringView view(text);
    qsizetype i = 0;
    while (i < view.size()) {
        // One character, which may take two UTF-16 units.
        qsizetype length = 1;
        if (view[i].isHighSurrogate() && i + 1 < view.size() && view[i + 1].isLowSurrogate())
            length = 2;
        const QStringView character = view.mid(i, length);
        if ((length == 2 || byteOf(character[0].unicode()) < 0) && !found.contains(character))
            found.append(character);
        i += length;
    }
    return found;
}
