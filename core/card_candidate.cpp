#include "core/card_candidate.h"

#include <algorithm>

#include "core/text_limit.h"
#include "core/unicode_text.h"

bool CardCandidate::taken() const {
    return !has(ImportProblemKind::EmptyQuestion) && !has(ImportProblemKind::ClozeNote) &&
           !has(ImportProblemKind::OneUsableField) && !has(ImportProblemKind::UnknownNoteType);
}

bool CardCandidate::has(ImportProblemKind kind) const {
    return std::any_of(problems.begin(), problems.end(),
                       [kind](const ImportProblem& p) { return p.kind == kind; });
}

std::size_t characterLimit(CardField field) {
    return capacityOf(field);
}

std::string shortened(std::string_view text, std::size_t count) {
    const std::string_view head = firstCharacters(text, count);
    std::string out(head);
    if (head.size() < text.size())
        out += "\xE2\x80\xA6";
    return out;
}

namespace {

// Characters that have no place in a one-line card text; U+FFFE and U+FFFF are no
// characters at all, and XML files cannot carry them.
bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0xFFFE ||
           c == 0xFFFF;
}

bool isBlank(char c) {
    return c == ' ';
}

}  // namespace

std::string fitCardText(std::string_view text, CardField field, CardCandidate& candidate) {
    std::string clean;
    bool replaced = false;
    bool invalid = false;
    // Most texts are plain printable ASCII; only look closer when they are not.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 && b < 0x7F;
    });
    if (plain) {
        clean.assign(text);
    } else {
        clean.reserve(text.size());
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t start = pos;
            const std::optional<char32_t> c = decodeUtf8(text, pos);
            if (!c) {
                clean += "\xEF\xBF\xBD";
                invalid = true;
            } else if (isControl(*c)) {
                // A line break written as CR LF is one break, so it becomes one blank.
                if (*c == '\r' && pos < text.size() && text[pos] == '\n')
                    ++pos;
                clean += ' ';
                replaced = true;
            } else {
                clean.append(text.substr(start, pos - start));
            }
        }
    }
    const auto first = std::find_if_not(clean.begin(), clean.end(), isBlank);
    const auto last = std::find_if_not(clean.rbegin(), clean.rend(), isBlank).base();
    clean = first < last ? std::string(first, last) : std::string();
    if (invalid && !candidate.has(ImportProblemKind::InvalidBytes))
        candidate.problems.emplace_back(ImportProblemKind::InvalidBytes);
    if (replaced && !candidate.has(ImportProblemKind::ControlCharacter))
        candidate.problems.emplace_back(ImportProblemKind::ControlCharacter);

    // The store's own limits, so that it never cuts what the preview calls fitting.
    const std::size_t kept = fittingLength(clean, capacityOf(field), byteCapacityOf(field));
    if (kept < clean.size()) {
        const std::string_view cut = std::string_view(clean).substr(kept);
        candidate.problems.emplace_back(ImportProblemKind::TooLong, field,
                                        shortened(cut, ImportProblem::kShownCharacters),
                                        characterCount(cut));
        candidate.problems.back().keptCount =
            characterCount(std::string_view(clean).substr(0, kept));
        clean.resize(kept);
        while (!clean.empty() && clean.back() == ' ')
            clean.pop_back();
    }
    return clean;
}
