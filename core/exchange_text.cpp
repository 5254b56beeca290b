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

}  // namespace

bool writeExchangeText(ByteSink& sink, std::span<const CardRecord> cards) {
    std::string out =
        "#separator:tab\n#html:false\n"
        "#columns:Question\tAnswer\tLesson\tAdditional information\n";
    bool ok = true;
    for (const CardRecord& card : cards) {
        appendField(out, card.question);
        out += '\t';
        appendField(out, card.answer);
        out += '\t';
        appendField(out, card.lesson);
        out += '\t';
        appendField(out, card.addInfo);
        out += '\n';
        // Write in pieces of about a megabyte, so that a large list needs no second copy.
        if (out.size() >= (1u << 20)) {
            ok = ok && sink.write(out);
            out.clear();
        }
    }
    return ok && sink.write(out);
}
