#include "core/language_guess.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include <utf8proc.h>

#include "core/unicode_text.h"

namespace {

enum class Script {
    Latin,
    Greek,
    Cyrillic,
    Armenian,
    Hebrew,
    Arabic,
    Devanagari,
    Thai,
    Georgian,
    Hangul,
    Kana,
    Han,
    Count
};

// The scripts by their blocks; everything else (digits, punctuation, symbols, marks) is not
// counted.
std::optional<Script> scriptOf(char32_t c) {
    struct Block {
        char32_t first;
        char32_t last;
        Script script;
    };
    static constexpr Block blocks[] = {
        {U'A', U'Z', Script::Latin},        {U'a', U'z', Script::Latin},
        {0x00C0, 0x00D6, Script::Latin},    {0x00D8, 0x00F6, Script::Latin},
        {0x00F8, 0x024F, Script::Latin},    {0x1E00, 0x1EFF, Script::Latin},
        {0x0370, 0x03FF, Script::Greek},    {0x1F00, 0x1FFF, Script::Greek},
        {0x0400, 0x052F, Script::Cyrillic}, {0x0530, 0x058F, Script::Armenian},
        {0x0590, 0x05FF, Script::Hebrew},   {0x0600, 0x06FF, Script::Arabic},
        {0x0750, 0x077F, Script::Arabic},   {0x0900, 0x097F, Script::Devanagari},
        {0x0E00, 0x0E7F, Script::Thai},     {0x10A0, 0x10FF, Script::Georgian},
        {0x1100, 0x11FF, Script::Hangul},   {0x3130, 0x318F, Script::Hangul},
        {0xAC00, 0xD7AF, Script::Hangul},   {0x3040, 0x30FF, Script::Kana},
        {0x3400, 0x4DBF, Script::Han},      {0x4E00, 0x9FFF, Script::Han},
    };
    for (const Block& block : blocks)
        if (c >= block.first && c <= block.last)
            return block.script;
    return std::nullopt;
}

// Letters that only some languages of a script use, with the language they point to, in
// the order they are checked: the first language whose letters occur wins.
struct Marker {
    const char* tag;
    std::u32string_view letters;
};

constexpr Marker cyrillicMarkers[] = {
    {"be", U"ўЎ"},
    {"uk", U"іїєґІЇЄҐ"},
    {"mk", U"ѓќѕЃЌЅ"},
    {"sr", U"ђћјљњџЂЋЈЉЊЏ"},
};
constexpr Marker arabicMarkers[] = {
    {"ur", U"ٹڈڑںے"},
    {"fa", U"پچژگ"},
};

// For Latin script: a few of the commonest short words of each language, and the letters
// with accents it writes. A word counts more than a letter; a letter counts more the fewer
// languages share it.
struct LatinLanguage {
    const char* tag;
    std::u32string_view letters;
    std::u32string_view words;  // separated by single spaces, in lower case
};

constexpr LatinLanguage latinLanguages[] = {
    {"en", U"", U"the a an of to and is are in it you that this for with not be what"},
    {"de", U"äöüß", U"der die das und ist nicht ein eine ich du er sie es zu mit den dem von auf"},
    {"fr", U"éèêëàâçîïôûùœ", U"le la les un une des et est je tu il elle du que qui pas au avec"},
    {"es", U"ñáíóúü", U"el la los las un una y es que en no por con para se lo del muy"},
    {"it", U"àèéìòù", U"il lo la gli le un una di che è non per con del della sono ho"},
    {"pt", U"ãõçáâêôàé", U"o a os as um uma de que é não em do da com para por você"},
    {"nl", U"ë", U"de het een en van is niet ik je dat die op te met zijn wat"},
    {"pl", U"ąćęłńóśźż", U"i w z na nie się to jest że do jak ale co tak"},
    {"sv", U"åäö", U"och att det som en är på av för med jag inte den till"},
    {"cs", U"ěščřžýáíéůú", U"a je to se na v že s z do jsem ale jak"},
    {"tr", U"ğışçöü", U"bir ve bu da de ne için çok ben sen o mi"},
};

// The text's code points in lower case, letter by letter (not case folding, which would
// turn ß into ss); ill-formed bytes are left out.
std::u32string lowerCase(const std::string& text) {
    std::u32string result;
    for (std::size_t pos = 0; pos < text.size();)
        if (const auto c = decodeUtf8(text, pos))
            result.push_back(
                static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(*c))));
    return result;
}

bool containsWord(std::u32string_view words, std::u32string_view word) {
    for (std::size_t from = 0; from < words.size();) {
        const std::size_t space = std::min(words.find(U' ', from), words.size());
        if (words.substr(from, space - from) == word)
            return true;
        from = space + 1;
    }
    return false;
}

std::string guessLatin(const std::vector<std::string>& texts) {
    std::array<double, std::size(latinLanguages)> scores{};
    std::map<char32_t, int> sharedBy;
    for (const LatinLanguage& language : latinLanguages)
        for (char32_t letter : language.letters)
            ++sharedBy[letter];

    for (const std::string& text : texts) {
        const std::u32string lower = lowerCase(text);
        const std::u32string_view view = lower;
        for (std::size_t pos = 0; pos < view.size();) {
            // A word is a run of letters.
            std::size_t end = pos;
            while (end < view.size() && scriptOf(view[end]))
                ++end;
            if (end == pos) {
                ++pos;
                continue;
            }
            const std::u32string_view word = view.substr(pos, end - pos);
            for (std::size_t i = 0; i < scores.size(); ++i) {
                if (containsWord(latinLanguages[i].words, word))
                    scores[i] += 3.0;
                for (char32_t c : word)
                    if (latinLanguages[i].letters.find(c) != std::u32string_view::npos)
                        scores[i] += 2.0 / sharedBy[c];
            }
            pos = end;
        }
    }
    const auto best = std::max_element(scores.begin(), scores.end());
    return *best > 0 ? latinLanguages[best - scores.begin()].tag : "en";
}

std::string guessByMarkers(const std::vector<std::string>& texts, const auto& markers,
                           const char* otherwise) {
    for (const Marker& marker : markers)
        for (const std::string& text : texts)
            for (std::size_t pos = 0; pos < text.size();)
                if (const auto c = decodeUtf8(text, pos);
                    c && marker.letters.find(*c) != std::u32string_view::npos)
                    return marker.tag;
    return otherwise;
}

}  // namespace

std::string guessLanguage(const std::vector<std::string>& texts) {
    std::array<std::size_t, static_cast<std::size_t>(Script::Count)> letters{};
    for (const std::string& text : texts)
        for (std::size_t pos = 0; pos < text.size();)
            if (const auto c = decodeUtf8(text, pos))
                if (const auto script = scriptOf(*c))
                    ++letters[static_cast<std::size_t>(*script)];

    auto count = [&](Script s) { return letters[static_cast<std::size_t>(s)]; };
    // Japanese writes Han characters with kana; Chinese never uses kana.
    if (count(Script::Kana) > 0) {
        letters[static_cast<std::size_t>(Script::Kana)] += count(Script::Han);
        letters[static_cast<std::size_t>(Script::Han)] = 0;
    }
    const auto most = std::max_element(letters.begin(), letters.end());
    if (*most == 0)
        return {};
    switch (static_cast<Script>(most - letters.begin())) {
        case Script::Latin:
            return guessLatin(texts);
        case Script::Greek:
            return "el";
        case Script::Cyrillic:
            return guessByMarkers(texts, cyrillicMarkers, "ru");
        case Script::Armenian:
            return "hy";
        case Script::Hebrew:
            return "he";
        case Script::Arabic:
            return guessByMarkers(texts, arabicMarkers, "ar");
        case Script::Devanagari:
            return "hi";
        case Script::Thai:
            return "th";
        case Script::Georgian:
            return "ka";
        case Script::Hangul:
            return "ko";
        case Script::Kana:
            return "ja";
        case Script::Han:
            return "zh";
        case Script::Count:
            break;
    }
    return {};
}

ListLanguages guessListLanguages(const std::vector<std::string>& questions,
                                 const std::vector<std::string>& answers) {
    return {guessLanguage(questions), guessLanguage(answers)};
}
