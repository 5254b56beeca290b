#include "platform/fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <algorithm>
#include <cstdlib>

#include "core/unicode_text.h"
#include "platform/text_codec.h"

namespace {

// Beyond this a record is corrupt rather than a large font: no screen shows it.
constexpr long long kMaxHeight = 2000;
constexpr int kMaxWeight = 1000;
constexpr int kNormalWeight = 400;

// Pitch and family byte of a record: the low bits the pitch, the high nibble the family.
constexpr uint8_t kFixedPitch = 0x01;
constexpr uint8_t kFamilyRoman = 0x10;
constexpr uint8_t kFamilySwiss = 0x20;
constexpr uint8_t kFamilyModern = 0x30;
constexpr uint8_t kFamilyScript = 0x40;
constexpr uint8_t kFamilyDecorative = 0x50;
constexpr uint8_t kDefaultCharSet = 1;
constexpr uint8_t kNonAntialiased = 3;
constexpr uint8_t kAntialiased = 4;

QString faceOf(const LogFont& font) {
    // Records read from files may carry the padding of their fixed-size face field.
    const std::string& bytes = font.lfFaceName;
    return fromCardText(std::string_view(bytes.data(), std::min(bytes.size(), bytes.find('\0'))));
}

QFont::StyleHint styleHintOf(uint8_t pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
        case kFamilyRoman:
            return QFont::Serif;
        case kFamilySwiss:
            return QFont::SansSerif;
        case kFamilyModern:
            return QFont::TypeWriter;
        case kFamilyScript:
            return QFont::Cursive;
        case kFamilyDecorative:
            return QFont::Decorative;
        default:
            return QFont::AnyStyle;
    }
}

uint8_t familyOf(QFont::StyleHint hint) {
    switch (hint) {
        case QFont::Serif:
            return kFamilyRoman;
        case QFont::SansSerif:
            return kFamilySwiss;
        case QFont::TypeWriter:
            return kFamilyModern;
        case QFont::Cursive:
            return kFamilyScript;
        case QFont::Decorative:
            return kFamilyDecorative;
        default:
            return 0;
    }
}

int clampedPixels(long long pixels) {
    return static_cast<int>(std::clamp<long long>(pixels, 1, kMaxHeight));
}

// Qt sizes fonts by their characters; a cell height also holds the internal leading, so
// the character size is scaled down by the share the leading takes in this face.
int pixelsForCellHeight(const QFont& font, int cellHeight) {
    QFont probe = font;
    probe.setPixelSize(cellHeight);
    const qreal measured = QFontMetricsF(probe).height();
    if (measured <= 0)
        return cellHeight;
    return clampedPixels(qRound(cellHeight * cellHeight / measured));
}

bool sameFace(const QString& a, const QString& b) {
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

QFont toQFont(const LogFont& record) {
    QFont font;
    const QString face = faceOf(record);
    if (!face.isEmpty())
        font.setFamily(face);
    font.setStyleHint(styleHintOf(record.lfPitchAndFamily));
    if (record.lfPitchAndFamily & kFixedPitch)
        font.setFixedPitch(true);

    const long long height = record.lfHeight;
    if (height < 0) {
        font.setPixelSize(clampedPixels(-height));
    } else if (height > 0) {
        font.setPixelSize(pixelsForCellHeight(font, clampedPixels(height)));
    }

    const int weight = record.lfWeight <= 0 ? kNormalWeight : std::min(record.lfWeight, kMaxWeight);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    if (record.lfQuality == kNonAntialiased)
        font.setStyleStrategy(QFont::NoAntialias);
    if (record.lfQuality == kAntialiased)
        font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

LogFont fromQFont(const QFont& font) {
    LogFont record;
    if (font.pixelSize() > 0) {
        record.lfHeight = -font.pixelSize();
    } else if (font.pointSizeF() > 0) {
        record.lfHeight = -qRound(font.pointSizeF() * kRecordDotsPerInch / 72.0);
    }
    record.lfWeight = font.weight();
    record.lfItalic = font.italic() ? 1 : 0;
    record.lfUnderline = font.underline() ? 1 : 0;
    record.lfStrikeOut = font.strikeOut() ? 1 : 0;
    record.lfCharSet = kDefaultCharSet;
    record.lfPitchAndFamily =
        static_cast<uint8_t>(familyOf(font.styleHint()) | (font.fixedPitch() ? kFixedPitch : 0));

    QString face = font.family();
    for (const QChar c : unrepresentableCharacters(face))
        face.remove(c);
    std::string bytes = toCardText(face).value_or(std::string());
    // At most the capacity in characters, cut between two of them.
    bytes = std::string(::firstCharacters(bytes, LogFont::kFaceNameCapacity));
    record.lfFaceName = bytes;
    return record;
}

bool fontUsable(const LogFont& font) {
    const std::string& face = font.lfFaceName;
    const std::size_t end = std::min(face.size(), face.find('\0'));
    // The capacity counts characters: a name with umlauts is longer in UTF-8 bytes.
    if (end == 0 ||
        (end > LogFont::kFaceNameCapacity &&
         ::characterCount(std::string_view(face).substr(0, end)) > LogFont::kFaceNameCapacity))
        return false;
    for (std::size_t i = 0; i < end; ++i)
        if (static_cast<unsigned char>(face[i]) < 0x20)
            return false;
    if (std::llabs(static_cast<long long>(font.lfHeight)) > kMaxHeight)
        return false;
    return font.lfWeight >= 0 && font.lfWeight <= kMaxWeight;
}

LogFont withCharacterHeight(LogFont font, int height) {
    font.lfHeight = -height;
    return font;
}

QFont fontForFontDialog(const LogFont& preset) {
    QFont font = toQFont(preset);
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / kRecordDotsPerInch);
    return font;
}

LogFont mergeChosenFont(const LogFont& preset, const QFont& chosen) {
    const QFont shown = fontForFontDialog(preset);
    const LogFont picked = fromQFont(chosen);
    LogFont result = preset;

    // The dialog cannot show a face that is not installed; it shows the substitute, so
    // both count as "the face the user left alone".
    const QString presetFace = faceOf(preset);
    const bool faceKept = sameFace(chosen.family(), presetFace) ||
                          sameFace(chosen.family(), QFontInfo(shown).family()) ||
                          sameFace(chosen.family(), shown.family());
    if (!faceKept) {
        result.lfFaceName = picked.lfFaceName;
        result.lfCharSet = picked.lfCharSet;
        result.lfPitchAndFamily = picked.lfPitchAndFamily;
    }
    if (picked.lfHeight != fromQFont(shown).lfHeight) {
        result.lfHeight = picked.lfHeight;
        result.lfWidth = 0;  // an average width belongs to the old height
    }
    if (chosen.weight() != shown.weight())
        result.lfWeight = picked.lfWeight;
    if (chosen.italic() != (preset.lfItalic != 0))
        result.lfItalic = picked.lfItalic;
    if (chosen.underline() != (preset.lfUnderline != 0))
        result.lfUnderline = picked.lfUnderline;
    if (chosen.strikeOut() != (preset.lfStrikeOut != 0))
        result.lfStrikeOut = picked.lfStrikeOut;
    return result;
}
