#include <gtest/gtest.h>

#include <iterator>
#include <ostream>
#include <random>
#include <string>

#include "core/card_store.h"
#include "core/text_encodings.h"
#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

std::string repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

const std::string kZhe = "\xD0\x96";                            // Ж, two bytes
const std::string kAcute = "\xCC\x81";                          // a combining accent, two bytes
const std::string kEAcute = "e" + kAcute;                       // é as e and accent: one character
const std::string kLetterUnderPile = "a" + repeat(kAcute, 20);  // one character, 41 bytes

struct SetTextCase {
    const char* name;
    CardField field;
    std::string text;
    std::string stored;
};

void PrintTo(const SetTextCase& c, std::ostream* os) {
    *os << c.name;
}

class SetText : public testing::TestWithParam<SetTextCase> {};

TEST_P(SetText, KeepsWhatFitsInCharactersAndBytes) {
    const SetTextCase& c = GetParam();
    CardStore store;
    Card& card = store.createCard();
    store.setText(card, c.field, c.text);
    EXPECT_EQ(card.text(c.field), c.stored);
    EXPECT_TRUE(isValidUtf8(card.text(c.field)));
    EXPECT_LE(characterCount(card.text(c.field)), capacityOf(c.field));
    EXPECT_LE(card.text(c.field).size(), byteCapacityOf(c.field));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetText,
    testing::Values(
        SetTextCase{"CyrillicAtTheLimitIsWhole", CardField::Question, repeat(kZhe, 100),
                    repeat(kZhe, 100)},
        SetTextCase{"OneCharacterTooMany", CardField::Answer, repeat(kZhe, 101), repeat(kZhe, 100)},
        SetTextCase{"AccentStaysWithItsLetter", CardField::Lesson, "123456789" + kEAcute + "x",
                    "123456789" + kEAcute},
        SetTextCase{"CrLfIsOneCharacter", CardField::Lesson, repeat("\r\n", 10) + "x",
                    repeat("\r\n", 10)},
        SetTextCase{"ByteCapacityCutsBetweenCharacters", CardField::AddInfo,
                    repeat(kLetterUnderPile, 100), repeat(kLetterUnderPile, 39)},
        SetTextCase{"FirstCharacterBeyondTheByteCapacityKeepsTheLetter", CardField::Lesson,
                    "a" + repeat(kAcute, 200), "a" + repeat(kAcute, 79)},
        SetTextCase{"OutsideTheBasicPlane", CardField::Lesson, repeat("\xF0\x9D\x84\x9E", 11),
                    repeat("\xF0\x9D\x84\x9E", 10)},
        SetTextCase{"Windows1252BytesAreTheirLetters", CardField::Question, "\xC4pfel \x80",
                    "\xC3\x84pfel \xE2\x82\xAC"},
        SetTextCase{"CutSequenceBecomesItsBytesLetters", CardField::Question, "\xC3\xA4 \xE2\x82",
                    "\xC3\xA4 \xC3\xA2\xE2\x80\x9A"},
        SetTextCase{"Empty", CardField::AddInfo, "", ""}),
    [](const testing::TestParamInfo<SetTextCase>& info) { return std::string(info.param.name); });

// The conversion the readers use takes eight bytes at a time; every byte, at every place of
// texts of every short length, must come out as the code page's table says, and go back.
TEST(Windows1252Texts, EveryByteAtEveryPlace) {
    for (int byte = 1; byte <= 0xFF; ++byte) {
        for (std::size_t length = 1; length <= 33; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string bytes(length + 32, 'a');  // room to read past the end
                bytes[at] = static_cast<char>(byte);
                const std::string_view text(bytes.data(), length);
                const std::string expected = windows1252ToUtf8(text);
                std::string out(utf8RoomForWindows1252(length), '\0');
                ASSERT_EQ(out.substr(0, windows1252AsUtf8(text, out.data())), expected)
                    << byte << " " << length << " " << at;
                ASSERT_EQ(out.substr(0, windows1252AsUtf8InBuffer(text, out.data())), expected)
                    << byte << " " << length << " " << at;
                std::string back;
                ASSERT_TRUE(appendAsWindows1252(back, expected));
                ASSERT_EQ(back, text);
            }
        }
    }
    std::string back = "kept";
    EXPECT_FALSE(appendAsWindows1252(back, "x\xD0\x96"));
    EXPECT_EQ(back, "kept");
    EXPECT_FALSE(encodableAsWindows1252("\xE2\x82"));
    EXPECT_TRUE(encodableAsWindows1252("\xE2\x82\xAC\xC2\x81"));  // € and the undefined 0x81
}

// The check of rows sixteen bytes at a time against the one a byte at a time, on texts of
// every length up to three blocks made of the bytes that decide: ASCII, leads of two, three
// and four bytes, continuations, and bytes that never begin a character.
TEST(Utf8Check, RowCheckAgreesWithTheFullCheck) {
    const std::string pieces[] = {"a",    "\xC3", "\xA4", "\xBF", "\x80",     "\xC2", "\xDF",
                                  "\xC1", "\xE2", "\xF0", "\xFF", "\xD0\x96", "\t"};
    std::mt19937 rng(5);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const std::size_t length = rng() % 48;
        while (text.size() < length)
            text += pieces[rng() % std::size(pieces)];
        std::string buffer = text + std::string(16, '\x80');  // what lies behind it must not count
        const std::string_view inBuffer(buffer.data(), text.size());
        ASSERT_EQ(isWellFormedUtf8InBuffer(inBuffer), isWellFormedUtf8(text))
            << testing::PrintToString(text);
        ASSERT_EQ(isWellFormedUtf8(text), isValidUtf8(text)) << testing::PrintToString(text);
    }
}

TEST(Utf16Texts, PairsJoinAndLoneHalvesAreMarked) {
    const std::string le(
        "\x16\x04\x34\xD8\x1E\xDD\x00\xD8"
        "a\x00"
        "b",
        11);
    EXPECT_EQ(utf16AsUtf8(le, false),
              "\xD0\x96\xF0\x9D\x84\x9E\xFF"
              "a\xFF");
    const std::string be("\x04\x16\xDC\x00\x00\x41", 6);
    EXPECT_EQ(utf16AsUtf8(be, true),
              "\xD0\x96\xFF"
              "A");
}

}  // namespace
