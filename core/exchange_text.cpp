#include "core/exchange_text.h"

#include <string>
#include <string_view>

#include "core/byte_sink.h"

namespace {

void appendField(std::string& out, std::string_view text) {
    const bool quote =
        text.find_first_of("\t\"\r\n") != std::string_view::npos || text.starts_with('#');
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// The product's blank "-" means "none"; other programs read it as a text.
std::string_view withoutBlank(std::string_view text) {
    return text == "-" ? std::string_view() : text;
}

// Anki splits its tags at blanks; a lesson is one tag.
std::string lessonTag(std::string_view lesson) {
    std::string tag;
    for (const char c : lesson) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank)
            tag += c;
        else if (!tag.empty() && tag.back() != '_')
            tag += '_';
    }
    while (!tag.empty() && tag.back() == '_')
        tag.pop_back();
    return tag;
}

}  // namespace

bool writeExchangeText(ByteSink& sink, std::span<const CardRecord> cards) {
    std::string out =
        "#separator:tab\n#html:false\n#notetype:Basic\n#tags column:5\n"
        "#columns:Front\tBack\tLesson\tAdditional information\tTags\n";
    bool ok = true;
    for (const CardRecord& card : cards) {
        appendField(out, card.question);
        out += '\t';
        appendField(out, card.answer);
        out += '\t';
        appendField(out, withoutBlank(card.lesson));
        out += '\t';
        appendField(out, withoutBlank(card.addInfo));
        out += '\t';
        appendField(out, lessonTag(withoutBlank(card.lesson)));
        out += '\n';
        // Write in pieces of about a megabyte, so that a large list needs no second copy.
        if (out.size() >= (1u << 20)) {
            ok = ok && sink.write(out);
            out.clear();
        }
    }
    return ok && sink.write(out);
}
