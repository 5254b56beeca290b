#include "core/list_languages.h"

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool isLanguageTag(std::string_view tag) {
    std::size_t subtagStart = 0;
    for (std::size_t i = 0; i <= tag.size(); ++i) {
        if (i < tag.size() && tag[i] != '-') {
            if (!isAsciiLetter(tag[i]) && !(subtagStart > 0 && isAsciiDigit(tag[i])))
                return false;
            continue;
        }
        const std::size_t length = i - subtagStart;
        if (length < (subtagStart == 0 ? 2u : 1u) || length > 8)
            return false;
        subtagStart = i + 1;
    }
    return true;
}

std::string ListLanguages::encode() const {
    return "question=" + question + ";answer=" + answer;
}

std::optional<ListLanguages> ListLanguages::decode(std::string_view text) {
    ListLanguages languages;
    bool sawQuestion = false;
    bool sawAnswer = false;
    while (!text.empty()) {
        const std::size_t end = text.find(';');
        const std::string_view entry = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = entry.substr(0, equals);
        const std::string_view value = entry.substr(equals + 1);
        std::string* field = name == "question" ? &languages.question
                             : name == "answer" ? &languages.answer
                                                : nullptr;
        if (!field)
            continue;
        bool& seen = field == &languages.question ? sawQuestion : sawAnswer;
        if (seen || (!value.empty() && !isLanguageTag(value)))
            return std::nullopt;
        seen = true;
        field->assign(value);
    }
    if (!sawQuestion || !sawAnswer)
        return std::nullopt;
    return languages;
}
