#include "core/html_text.h"

#include <array>
#include <optional>

#include "core/unicode_text.h"

namespace {

// HTML 4's names for U+00A0 to U+00FF, in order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

std::optional<char32_t> entityValue(std::string_view name) {
    static constexpr std::pair<std::string_view, char32_t> kNames[] = {
        {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
        {"apos", '\''},     {"nbsp", ' '},      {"ndash", 0x2013},  {"mdash", 0x2014},
        {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},
        {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"hellip", 0x2026}, {"bull", 0x2022},
        {"euro", 0x20AC},   {"trade", 0x2122},  {"OElig", 0x0152},  {"oelig", 0x0153},
        {"Scaron", 0x0160}, {"scaron", 0x0161}, {"Yuml", 0x0178},   {"larr", 0x2190},
        {"rarr", 0x2192},   {"harr", 0x2194},   {"hArr", 0x21D4},   {"rArr", 0x21D2}};
    for (const auto& [n, c] : kNames) {
        if (name == n)
            return c;
    }
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
        if (name == kLatin1Names[i])
            return static_cast<char32_t>(0xA0 + i);
    }
    if (name.size() < 2 || name[0] != '#')
        return std::nullopt;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7)
        return std::nullopt;
    char32_t value = 0;
    for (const char d : digits) {
        int v;
        if (d >= '0' && d <= '9')
            v = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            v = d - 'A' + 10;
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(v);
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool startsTag(std::string_view html, std::size_t pos) {
    if (pos + 1 >= html.size())
        return false;
    const char c = html[pos + 1];
    return isLetter(c) || c == '/' || c == '!' || c == '?';
}

// The tag's name in lower case, without a leading "/".
std::string tagName(std::string_view tag) {
    std::string name;
    for (const char c : tag.substr(tag.starts_with('/') ? 1 : 0)) {
        if (!isLetter(c) && !(c >= '0' && c <= '9'))
            break;
        name += static_cast<char>(c | 0x20);
    }
    return name;
}

// Tags where a browser goes on on a new line.
bool breaksLine(const std::string& name) {
    static constexpr std::string_view kNames[] = {"br", "p",  "div", "li", "tr", "h1", "h2",
                                                  "h3", "h4", "h5",  "h6", "ul", "ol", "table"};
    for (const std::string_view n : kNames) {
        if (name == n)
            return true;
    }
    return false;
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

std::string htmlToText(std::string_view html, std::string_view lineBreak) {
    std::string out;
    out.reserve(html.size());
    bool pendingBlank = false;
    bool pendingBreak = false;
    // Text goes out with the blank or line break before it, so that none stands at an end.
    const auto emit = [&](std::string_view text) {
        if (!out.empty() && pendingBreak)
            out += lineBreak;
        else if (!out.empty() && pendingBlank)
            out += ' ';
        pendingBlank = pendingBreak = false;
        out += text;
    };
    std::size_t pos = 0;
    while (pos < html.size()) {
        const char c = html[pos];
        if (c == '<' && startsTag(html, pos)) {
            if (html.substr(pos, 4) == "<!--") {
                const std::size_t end = html.find("-->", pos + 4);
                pos = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const std::size_t end = html.find('>', pos);
            if (end == std::string_view::npos) {
                emit(html.substr(pos));
                break;
            }
            const std::string_view tag = html.substr(pos + 1, end - pos - 1);
            const std::string name = tagName(tag);
            pos = end + 1;
            if (breaksLine(name)) {
                pendingBreak = true;
            } else if ((name == "script" || name == "style") && !tag.starts_with('/')) {
                // Find the closing tag in any letter case.
                std::size_t close = pos;
                while ((close = html.find("</", close)) != std::string_view::npos &&
                       tagName(html.substr(close + 2, name.size())) != name)
                    close += 2;
                pos = close == std::string_view::npos ? html.size() : html.find('>', close);
                pos = pos == std::string_view::npos ? html.size() : pos + 1;
            }
        } else if (c == '&') {
            const std::size_t end = html.find(';', pos);
            const std::optional<char32_t> value =
                end != std::string_view::npos && end - pos <= 10
                    ? entityValue(html.substr(pos + 1, end - pos - 1))
                    : std::nullopt;
            std::string decoded;
            appendUtf8(decoded, value.value_or('&'));
            emit(decoded);
            pos = value ? end + 1 : pos + 1;
        } else if (isWhiteSpace(c)) {
            pendingBlank = true;
            ++pos;
        } else {
            std::size_t next = pos + 1;
            while (next < html.size() && html[next] != '<' && html[next] != '&' &&
                   !isWhiteSpace(html[next]))
                ++next;
            emit(html.substr(pos, next - pos));
            pos = next;
        }
    }
    return out;
}
