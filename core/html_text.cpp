#include "core/html_text.h"

#include <optional>
#include <utility>

#include "core/unicode_text.h"

namespace {

// The named references vocabulary decks use; the others are rare enough to stay as text.
std::optional<char32_t> namedReference(std::string_view name) {
    static constexpr std::pair<std::string_view, char32_t> kNames[] = {
        {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},
        {"apos", '\''},    {"nbsp", 0xA0},     {"shy", 0xAD},     {"ndash", 0x2013},
        {"mdash", 0x2014}, {"hellip", 0x2026}, {"lsquo", 0x2018}, {"rsquo", 0x2019},
        {"ldquo", 0x201C}, {"rdquo", 0x201D},  {"laquo", 0xAB},   {"raquo", 0xBB},
        {"bdquo", 0x201E}, {"sbquo", 0x201A},  {"middot", 0xB7},  {"deg", 0xB0},
        {"times", 0xD7},   {"divide", 0xF7},   {"euro", 0x20AC},  {"copy", 0xA9},
        {"auml", 0xE4},    {"ouml", 0xF6},     {"uuml", 0xFC},    {"Auml", 0xC4},
        {"Ouml", 0xD6},    {"Uuml", 0xDC},     {"szlig", 0xDF},   {"eacute", 0xE9},
        {"egrave", 0xE8},  {"ecirc", 0xEA},    {"aacute", 0xE1},  {"agrave", 0xE0},
        {"acirc", 0xE2},   {"iacute", 0xED},   {"oacute", 0xF3},  {"uacute", 0xFA},
        {"ntilde", 0xF1},  {"ccedil", 0xE7},   {"Eacute", 0xC9},  {"iexcl", 0xA1},
        {"iquest", 0xBF},  {"zwnj", 0x200C},   {"zwj", 0x200D},   {"ensp", 0x2002},
        {"emsp", 0x2003},  {"thinsp", 0x2009},
    };
    for (const auto& [n, c] : kNames) {
        if (name == n)
            return c;
    }
    return std::nullopt;
}

std::optional<char32_t> referenceValue(std::string_view name) {
    if (name.size() < 2 || name[0] != '#')
        return namedReference(name);
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
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
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The lower-case name of the tag that starts at `pos` (just past "<" or "</").
std::string tagName(std::string_view html, std::size_t pos) {
    std::string name;
    while (pos < html.size() && (isLetter(html[pos]) || (html[pos] >= '0' && html[pos] <= '9')))
        name += lower(html[pos++]);
    return name;
}

bool breaksLine(std::string_view name) {
    if (name == "br")
        return true;
    static constexpr std::string_view kBlocks[] = {"div", "p",  "li", "tr", "h1", "h2",   "h3",
                                                   "h4",  "h5", "h6", "ul", "ol", "table"};
    for (const std::string_view block : kBlocks) {
        if (name == block)
            return true;
    }
    return false;
}

// Where the tag that starts at `pos` ends (one past its ">"), skipping ">" inside quoted
// attribute values; npos when it never closes.
std::size_t tagEnd(std::string_view html, std::size_t pos) {
    char quote = 0;
    for (std::size_t i = pos + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

std::size_t findInsensitive(std::string_view text, std::string_view what, std::size_t from) {
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && lower(text[i + k]) == what[k])
            ++k;
        if (k == what.size())
            return i;
    }
    return std::string_view::npos;
}

// Collects the visible text: white space collapsed, breaks kept as a mark until the end.
class TextCollector {
public:
    explicit TextCollector(std::string_view separator) : separator_(separator) {}

    void character(char32_t c) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0xA0) {
            space_ = true;
            return;
        }
        if (c < 0x20 || c == 0x7F || c == 0xAD)
            return;  // control characters and soft hyphens do not show
        flush();
        appendUtf8(out_, c);
    }
    void bytes(std::string_view text) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::optional<char32_t> c = decodeUtf8(text, pos);
            character(c.value_or(0xFFFD));
        }
    }
    void lineBreak() {
        if (!out_.empty())
            break_ = true;
    }
    std::string take() { return std::move(out_); }

private:
    void flush() {
        if (break_ && !out_.empty())
            out_ += separator_;
        else if (space_ && !out_.empty())
            out_ += ' ';
        break_ = false;
        space_ = false;
    }
    std::string_view separator_;
    std::string out_;
    bool space_ = false;
    bool break_ = false;
};

}  // namespace

std::string htmlToText(std::string_view html, std::string_view lineSeparator) {
    TextCollector text(lineSeparator);
    std::size_t pos = 0;
    std::size_t plainStart = 0;
    auto flushPlain = [&](std::size_t end) {
        text.bytes(html.substr(plainStart, end - plainStart));
    };
    while (pos < html.size()) {
        const char c = html[pos];
        if (c == '<' && pos + 1 < html.size() &&
            (isLetter(html[pos + 1]) || html[pos + 1] == '/' || html[pos + 1] == '!')) {
            flushPlain(pos);
            if (html.substr(pos, 4) == "<!--") {
                const std::size_t end = html.find("-->", pos + 4);
                pos = end == std::string_view::npos ? html.size() : end + 3;
                plainStart = pos;
                continue;
            }
            const std::size_t end = tagEnd(html, pos);
            if (end == std::string_view::npos) {
                plainStart = pos;  // an unclosed "<" stays as text
                ++pos;
                continue;
            }
            const bool closing = html[pos + 1] == '/';
            const std::string name = tagName(html, pos + (closing ? 2 : 1));
            if (breaksLine(name))
                text.lineBreak();
            pos = end;
            if (!closing && (name == "script" || name == "style")) {
                const std::size_t close = findInsensitive(html, "</" + name, pos);
                pos = close == std::string_view::npos ? html.size() : tagEnd(html, close);
                if (pos == std::string_view::npos)
                    pos = html.size();
            }
            plainStart = pos;
        } else if (c == '&') {
            const std::size_t end = html.find(';', pos);
            const std::optional<char32_t> value =
                end != std::string_view::npos && end - pos <= 12
                    ? referenceValue(html.substr(pos + 1, end - pos - 1))
                    : std::nullopt;
            if (value) {
                flushPlain(pos);
                text.character(*value);
                pos = end + 1;
                plainStart = pos;
            } else {
                ++pos;
            }
        } else {
            ++pos;
        }
    }
    flushPlain(html.size());
    return text.take();
}

std::string textToHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                out += "<br>";
                break;
            case '\n':
                out += "<br>";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::size_t countMediaReferences(std::string_view html) {
    std::size_t count = 0;
    for (std::size_t pos = html.find("[sound:"); pos != std::string_view::npos;
         pos = html.find("[sound:", pos + 7)) {
        if (html.find(']', pos) != std::string_view::npos)
            ++count;
    }
    for (std::size_t pos = html.find('<'); pos != std::string_view::npos;
         pos = html.find('<', pos + 1)) {
        const std::string name = tagName(html, pos + 1);
        if (name == "img" || name == "audio" || name == "video")
            ++count;
    }
    return count;
}
