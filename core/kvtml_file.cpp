#include "core/kvtml_file.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/byte_sink.h"
#include "core/system_encoding.h"
#include "core/unicode_text.h"

int kvtmlGradeFromLevel(int32_t level, int32_t maxLevel) {
    if (maxLevel <= 0)
        return level > 0 ? kKvtmlMaxGrade : 0;
    const int64_t l = std::clamp<int64_t>(level, 0, maxLevel);
    return static_cast<int>((l * kKvtmlMaxGrade * 2 + maxLevel) / (int64_t{maxLevel} * 2));
}

int32_t levelFromKvtmlGrade(int grade, int32_t maxLevel) {
    if (maxLevel <= 0)
        return 0;
    const int64_t g = std::clamp(grade, 0, kKvtmlMaxGrade);
    return static_cast<int32_t>((g * maxLevel * 2 + kKvtmlMaxGrade) / (kKvtmlMaxGrade * 2));
}

namespace {

// Where each line starts, to turn the parser's offsets into lines.
class LineTable {
public:
    explicit LineTable(std::string_view bytes) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n')
                starts_.push_back(i + 1);
        }
    }
    // 1-based line and column of a byte offset.
    std::pair<std::size_t, std::size_t> at(std::ptrdiff_t offset) const {
        if (offset < 0)
            return {0, 0};
        const auto o = static_cast<std::size_t>(offset);
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), o);
        return {static_cast<std::size_t>(it - starts_.begin()), o - *(it - 1) + 1};
    }

private:
    std::vector<std::size_t> starts_;
};

bool isXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The encoding the XML declaration names, if the file starts with one.
std::optional<std::string> declaredEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml"))
        return std::nullopt;
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos)
        return std::nullopt;
    std::size_t pos = declaration.find_first_of("\"'", key);
    if (pos == std::string_view::npos)
        return std::nullopt;
    const char quote = declaration[pos++];
    const std::size_t close = declaration.find(quote, pos);
    if (close == std::string_view::npos)
        return std::nullopt;
    return std::string(declaration.substr(pos, close - pos));
}

// UTF-8 and UTF-16 the XML parser reads itself; every other encoding goes through the
// system's converters first.
bool readByParser(const std::string& encoding) {
    const std::string name = lowerAscii(encoding);
    return name == "utf-8" || name == "utf8" || name.starts_with("utf-16") ||
           name.starts_with("ucs-2");
}

// The general entities a document declares in its own DTD (<!ENTITY name "value">), with
// limits that keep an "entity bomb" from using up the memory: nesting, the number of
// references resolved and the text they may make are all bounded.
class Entities {
public:
    static constexpr std::size_t kMaxDeclarations = 10000;
    static constexpr int kMaxDepth = 16;
    static constexpr std::size_t kMaxExpansions = 1'000'000;
    static constexpr std::size_t kMaxExpandedBytes = 16u << 20;

    void readInternalSubset(std::string_view text);

    // XML character data as it stands in the file: references to the five predefined
    // entities, character references and the declared entities resolved.
    std::string decode(std::string_view raw) {
        if (raw.find('&') == std::string_view::npos)
            return std::string(raw);
        std::string out;
        decodeInto(out, raw, 0);
        return out;
    }
    bool exceeded() const { return exceeded_; }

private:
    void decodeInto(std::string& out, std::string_view raw, int depth);
    bool resolve(std::string& out, std::string_view name, int depth);

    std::unordered_map<std::string, std::string> values_;
    std::size_t expansions_ = 0;
    std::size_t expandedBytes_ = 0;
    bool exceeded_ = false;
};

void Entities::readInternalSubset(std::string_view text) {
    const std::size_t doctype = text.find("<!DOCTYPE");
    if (doctype == std::string_view::npos)
        return;
    // The internal subset is the part in brackets before the declaration closes.
    std::size_t pos = doctype + 9;
    char quote = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return;
        } else if (c == '[') {
            break;
        }
    }
    while (++pos < text.size() && text[pos] != ']') {
        if (text.substr(pos, 4) == "<!--") {
            const std::size_t end = text.find("-->", pos + 4);
            if (end == std::string_view::npos)
                return;
            pos = end + 2;
            continue;
        }
        if (text[pos] != '<')
            continue;
        const bool entity = text.substr(pos, 8) == "<!ENTITY";
        std::size_t p = pos + (entity ? 8 : 1);
        const auto skipBlanks = [&] {
            while (p < text.size() && isXmlBlank(text[p]))
                ++p;
        };
        std::string name;
        std::optional<std::string> value;
        if (entity) {
            skipBlanks();
            const bool parameter = p < text.size() && text[p] == '%';
            const std::size_t nameStart = p;
            while (p < text.size() && !isXmlBlank(text[p]) && text[p] != '>')
                ++p;
            name = std::string(text.substr(nameStart, p - nameStart));
            skipBlanks();
            if (!parameter && p < text.size() && (text[p] == '"' || text[p] == '\'')) {
                const std::size_t close = text.find(text[p], p + 1);
                if (close == std::string_view::npos)
                    return;
                value = std::string(text.substr(p + 1, close - p - 1));
                p = close + 1;
            }
        }
        // On to the end of this declaration, past quoted parts that may hold a '>'.
        for (quote = 0; p < text.size(); ++p) {
            const char c = text[p];
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }
        pos = p;
        // The first declaration of a name counts.
        if (value && values_.size() < kMaxDeclarations)
            values_.try_emplace(std::move(name), std::move(*value));
    }
}

void Entities::decodeInto(std::string& out, std::string_view raw, int depth) {
    std::size_t pos = 0;
    while (pos < raw.size() && !exceeded_) {
        const std::size_t amp = raw.find('&', pos);
        out.append(raw.substr(pos, amp == std::string_view::npos ? raw.size() - pos : amp - pos));
        if (amp == std::string_view::npos)
            return;
        const std::size_t semicolon = raw.find(';', amp);
        if (semicolon == std::string_view::npos || semicolon - amp > 64 ||
            !resolve(out, raw.substr(amp + 1, semicolon - amp - 1), depth)) {
            // Not a reference this reader knows: kept as it stands.
            out += '&';
            pos = amp + 1;
            continue;
        }
        pos = semicolon + 1;
    }
}

bool Entities::resolve(std::string& out, std::string_view name, int depth) {
    if (name.starts_with('#')) {
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string_view digits = name.substr(hex ? 2 : 1);
        uint32_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        appendUtf8(out, value);
        return true;
    }
    static constexpr std::pair<std::string_view, char> kPredefined[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [predefined, c] : kPredefined) {
        if (name == predefined) {
            out += c;
            return true;
        }
    }
    const auto it = values_.find(std::string(name));
    if (it == values_.end() || depth >= kMaxDepth)
        return false;
    if (++expansions_ > kMaxExpansions ||
        (expandedBytes_ += it->second.size()) > kMaxExpandedBytes) {
        exceeded_ = true;
        return true;
    }
    decodeInto(out, it->second, depth + 1);
    return true;
}

// What a reader reads from a document: its text with every reference resolved.
class DocumentText {
public:
    explicit DocumentText(Entities& entities) : entities_(entities) {}

    // All the character data within an element, CDATA sections included, the text inside
    // markup such as <b> or <span> as well, so that no text is dropped for being formatted.
    // Child elements named in `skipped` hold other things than the element's text.
    std::string of(const pugi::xml_node& element, std::span<const std::string_view> skipped = {}) {
        std::string out;
        std::vector<pugi::xml_node> pending;
        for (pugi::xml_node child = element.last_child(); child; child = child.previous_sibling())
            pending.push_back(child);
        while (!pending.empty()) {
            const pugi::xml_node node = pending.back();
            pending.pop_back();
            if (node.type() == pugi::node_pcdata) {
                out += entities_.decode(node.value());
            } else if (node.type() == pugi::node_cdata) {
                out += node.value();
            } else if (node.type() == pugi::node_element) {
                const std::string_view name = node.name();
                if (std::find(skipped.begin(), skipped.end(), name) != skipped.end())
                    continue;
                if (name == "br")
                    out += ' ';
                for (pugi::xml_node child = node.last_child(); child;
                     child = child.previous_sibling())
                    pending.push_back(child);
            }
        }
        return out;
    }

    std::string attribute(const pugi::xml_node& element, const char* name) {
        return entities_.decode(element.attribute(name).value());
    }

private:
    Entities& entities_;
};

std::optional<int> integerOf(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(first);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    return value;
}

pugi::xml_node translation(const pugi::xml_node& entry, int id) {
    for (const pugi::xml_node t : entry.children("translation")) {
        if (integerOf(t.attribute("id").value()) == id)
            return t;
    }
    return {};
}

// The lesson of every entry: the name of the first container, in document order, that
// lists it. Containers nest; older files call them "lesson" rather than "container". The
// walk keeps its own stack, so that no nesting depth can exhaust the program's.
void collectLessons(const pugi::xml_node& lessons, DocumentText& text,
                    std::map<int, std::string>& lessonOf) {
    const auto isContainer = [](const pugi::xml_node& node) {
        const std::string_view name = node.name();
        return name == "container" || name == "lesson";
    };
    std::vector<pugi::xml_node> resume;  // where to go on once a container's children are done
    pugi::xml_node node = lessons.first_child();
    while (node) {
        pugi::xml_node next = node.next_sibling();
        if (isContainer(node)) {
            const std::string lesson = text.of(node.child("name"));
            for (const pugi::xml_node entry : node.children("entry")) {
                if (const std::optional<int> id = integerOf(entry.attribute("id").value()))
                    lessonOf.emplace(*id, lesson);
            }
            if (node.first_child()) {
                resume.push_back(next);
                next = node.first_child();
            }
        }
        while (!next && !resume.empty()) {
            next = resume.back();
            resume.pop_back();
        }
        node = next;
    }
}

bool versionBelowTwo(std::string_view version) {
    const std::optional<int> major = integerOf(version);
    return !major || *major < 2;
}

// A lesson's name, or the blank "-" when the entry has none.
std::string lessonText(const std::string* name, CardCandidate& c) {
    if (!name || name->find_first_not_of(" \t\r\n") == std::string::npos)
        return "-";
    return fitCardText(*name, CardField::Lesson, c);
}

std::string joinedNotes(const std::vector<std::string>& notes, CardCandidate& c) {
    std::string info;
    for (const std::string& note : notes) {
        if (note.find_first_not_of(" \t\r\n") == std::string::npos)
            continue;
        if (!info.empty())
            info += "; ";
        info += note;
    }
    return info.empty() ? "-" : fitCardText(info, CardField::AddInfo, c);
}

void finishCandidate(CardCandidate& c, int grade, int32_t maxLevel, KvtmlImport& result) {
    c.card.level = levelFromKvtmlGrade(grade, maxLevel);
    if (c.card.question.empty())
        c.problems.emplace_back(ImportProblemKind::EmptyQuestion);
    result.candidates.push_back(std::move(c));
}

template <typename LineOf>
void readVersion2(const pugi::xml_node& root, DocumentText& text, int32_t maxLevel, LineOf lineOf,
                  KvtmlImport& result) {
    result.title = text.of(root.child("information").child("title"));
    for (const pugi::xml_node identifier : root.child("identifiers").children("identifier")) {
        const std::optional<int> id = integerOf(identifier.attribute("id").value());
        if (id == 0)
            result.questionLanguage = text.of(identifier.child("name"));
        else if (id == 1)
            result.answerLanguage = text.of(identifier.child("name"));
    }
    std::map<int, std::string> lessonOf;
    collectLessons(root.child("lessons"), text, lessonOf);

    for (const pugi::xml_node entry : root.child("entries").children("entry")) {
        CardCandidate c;
        c.line = lineOf(entry.offset_debug()).first;
        const pugi::xml_node question = translation(entry, 0);
        const pugi::xml_node answer = translation(entry, 1);
        c.card.question = fitCardText(text.of(question.child("text")), CardField::Question, c);
        c.card.answer = fitCardText(text.of(answer.child("text")), CardField::Answer, c);
        const std::optional<int> id = integerOf(entry.attribute("id").value());
        const auto lesson = id ? lessonOf.find(*id) : lessonOf.end();
        c.card.lesson = lessonText(lesson == lessonOf.end() ? nullptr : &lesson->second, c);
        c.card.addInfo =
            joinedNotes({text.of(entry.child("comment")), text.of(question.child("comment")),
                         text.of(answer.child("comment"))},
                        c);
        const std::optional<int> grade =
            integerOf(text.of(answer.child("grade").child("currentgrade")));
        finishCandidate(c, grade.value_or(0), maxLevel, result);
    }
}

// KVTML 1, as KDE's trainers wrote it before 2007: the title an attribute of the root,
// lessons numbered from 1 in the order of their <desc> under <lesson>, and every card an
// <e> with its lesson number in "m", the original in <o> and the translation in <t>, each
// with its language in "l", a remark in "r" and the grades in "g" (the grade of this side
// first, then of the other, separated by ';').
template <typename LineOf>
void readVersion1(const pugi::xml_node& root, DocumentText& text, int32_t maxLevel, LineOf lineOf,
                  KvtmlImport& result) {
    // Elements inside <o> and <t> that hold other forms of the word, not the word itself.
    static constexpr std::string_view kOtherForms[] = {"conjugation", "multiplechoice",
                                                       "comparison"};
    result.title = text.attribute(root, "title");
    std::vector<std::string> lessons;
    for (const pugi::xml_node desc : root.child("lesson").children("desc"))
        lessons.push_back(text.of(desc));

    for (const pugi::xml_node entry : root.children("e")) {
        CardCandidate c;
        c.line = lineOf(entry.offset_debug()).first;
        const pugi::xml_node question = entry.child("o");
        const pugi::xml_node answer = entry.child("t");
        if (result.candidates.empty()) {
            result.questionLanguage = text.attribute(question, "l");
            result.answerLanguage = text.attribute(answer, "l");
        }
        c.card.question = fitCardText(text.of(question, kOtherForms), CardField::Question, c);
        c.card.answer = fitCardText(text.of(answer, kOtherForms), CardField::Answer, c);
        const std::optional<int> number = integerOf(entry.attribute("m").value());
        const bool listed =
            number && *number >= 1 && static_cast<std::size_t>(*number) <= lessons.size();
        c.card.lesson =
            lessonText(listed ? &lessons[static_cast<std::size_t>(*number - 1)] : nullptr, c);
        c.card.addInfo =
            joinedNotes({text.attribute(question, "r"), text.attribute(answer, "r")}, c);
        const std::optional<int> grade = integerOf(answer.attribute("g").value());
        finishCandidate(c, grade.value_or(0), maxLevel, result);
    }
}

}  // namespace

KvtmlImport readKvtml(std::string_view bytes, int32_t maxLevel) {
    KvtmlImport result;
    // Offsets count bytes only when the parser did not have to convert the file.
    const bool utf8 = !bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") &&
                      bytes.substr(0, 4).find('\0') == std::string_view::npos;
    std::string converted;
    pugi::xml_encoding encoding = pugi::encoding_auto;
    // A byte-order mark says more than the declaration.
    if (const std::optional<std::string> declared =
            utf8 && !bytes.starts_with("\xEF\xBB\xBF") ? declaredEncoding(bytes) : std::nullopt;
        declared && !readByParser(*declared)) {
        std::optional<std::string> text = convertToUtf8(bytes, *declared);
        if (!text) {
            result.status = KvtmlImport::Status::UnknownEncoding;
            result.detail = *declared;
            return result;
        }
        converted = std::move(*text);
        bytes = converted;
        encoding = pugi::encoding_utf8;
    }
    pugi::xml_document doc;
    // References are resolved by the reader, which knows the entities the file declares.
    const pugi::xml_parse_result parsed = doc.load_buffer(
        bytes.data(), bytes.size(),
        (pugi::parse_default | pugi::parse_doctype) & ~pugi::parse_escapes, encoding);
    const LineTable lines(utf8 ? bytes : std::string_view());
    const auto lineOf = [&](std::ptrdiff_t offset) {
        return utf8 ? lines.at(offset) : std::pair<std::size_t, std::size_t>{0, 0};
    };
    if (!parsed) {
        result.status = KvtmlImport::Status::NotXml;
        result.detail = parsed.description();
        std::tie(result.line, result.column) = lineOf(parsed.offset);
        return result;
    }
    const pugi::xml_node root = doc.document_element();
    if (std::string_view(root.name()) != "kvtml") {
        result.status = KvtmlImport::Status::NotKvtml;
        std::tie(result.line, result.column) = lineOf(root.offset_debug());
        return result;
    }
    Entities entities;
    for (const pugi::xml_node node : doc.children()) {
        if (node.type() == pugi::node_doctype)
            entities.readInternalSubset("<!DOCTYPE " + std::string(node.value()) + ">");
    }
    DocumentText text(entities);
    // Like KDE's own reader, a root without a version is a KVTML 1 document.
    if (versionBelowTwo(root.attribute("version").value()))
        readVersion1(root, text, maxLevel, lineOf, result);
    else
        readVersion2(root, text, maxLevel, lineOf, result);
    if (entities.exceeded()) {
        KvtmlImport refused;
        refused.status = KvtmlImport::Status::NotXml;
        refused.detail = "its entities expand to more text than any vocabulary holds";
        return refused;
    }
    return result;
}

std::optional<std::pair<std::string, std::string>> languagesInListName(std::string_view name) {
    const auto trimmed = [](std::string_view part) {
        const std::size_t first = part.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return std::string();
        return std::string(part.substr(first, part.find_last_not_of(' ') - first + 1));
    };
    for (const std::string_view dash : {"\xE2\x80\x93", "\xE2\x80\x94", "-", "_"}) {
        const std::size_t at = name.find(dash);
        if (at == std::string_view::npos)
            continue;
        const std::string_view rest = name.substr(at + dash.size());
        if (rest.find(dash) != std::string_view::npos)
            return std::nullopt;
        std::string first = trimmed(name.substr(0, at));
        std::string second = trimmed(rest);
        // "Words 2024" or "Unit 3" name no language.
        const auto named = [](const std::string& part) {
            return !part.empty() && part.find_first_of("0123456789") == std::string::npos;
        };
        if (!named(first) || !named(second))
            return std::nullopt;
        return std::pair{std::move(first), std::move(second)};
    }
    return std::nullopt;
}

std::string describeKvtmlFailure(const KvtmlImport& import) {
    std::string what;
    switch (import.status) {
        case KvtmlImport::Status::Read:
            return {};
        case KvtmlImport::Status::NotXml:
            what = "The file is not well-formed XML: " + import.detail;
            break;
        case KvtmlImport::Status::NotKvtml:
            what = "The file is XML, but not a KVTML vocabulary document.";
            break;
        case KvtmlImport::Status::UnknownEncoding:
            what = "The file is written in the encoding \"" + import.detail +
                   "\", which this system cannot convert.";
            break;
    }
    if (import.line == 0)
        return what;
    return "Line " + std::to_string(import.line) + ", column " + std::to_string(import.column) +
           ": " + what;
}

namespace {

class SinkWriter : public pugi::xml_writer {
public:
    explicit SinkWriter(ByteSink& sink) : sink_(sink) {}
    void write(const void* data, std::size_t size) override {
        if (ok_)
            ok_ = sink_.write(std::string_view(static_cast<const char*>(data), size));
    }
    bool ok() const { return ok_; }

private:
    ByteSink& sink_;
    bool ok_ = true;
};

// XML 1.0 has no place for control characters, not even as references, and other
// programs refuse a file with broken UTF-8: both become something every reader takes.
std::string xmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const std::optional<char32_t> c = decodeUtf8(text, pos);
        if (!c)
            out += "\xEF\xBF\xBD";
        else if ((*c < 0x20 && *c != '\t') || *c == 0xFFFE || *c == 0xFFFF)
            out += ' ';
        else
            out.append(text.substr(start, pos - start));
    }
    return out;
}

void addText(pugi::xml_node parent, const char* name, std::string_view text) {
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(xmlText(text).c_str());
}

}  // namespace

bool writeKvtml(ByteSink& sink, std::span<const CardRecord> cards,
                const KvtmlExportOptions& options) {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    doc.append_child(pugi::node_doctype)
        .set_value("kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\"");
    pugi::xml_node root = doc.append_child("kvtml");
    root.append_attribute("version") = "2.0";

    pugi::xml_node information = root.append_child("information");
    addText(information, "generator", "Kartomatrix");
    addText(information, "title", options.title);

    pugi::xml_node identifiers = root.append_child("identifiers");
    for (int id = 0; id < 2; ++id) {
        pugi::xml_node identifier = identifiers.append_child("identifier");
        identifier.append_attribute("id") = id;
        addText(identifier, "name", id == 0 ? options.questionLanguage : options.answerLanguage);
    }

    pugi::xml_node entries = root.append_child("entries");
    std::vector<std::string_view> lessons;
    std::vector<std::vector<std::size_t>> lessonEntries;
    // Keyed by the composed form: both spellings of an accented lesson name are one lesson.
    std::unordered_map<std::string, std::size_t> lessonIndex;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const CardRecord& card = cards[i];
        pugi::xml_node entry = entries.append_child("entry");
        entry.append_attribute("id") = static_cast<unsigned long long>(i);
        pugi::xml_node question = entry.append_child("translation");
        question.append_attribute("id") = 0;
        addText(question, "text", card.question);
        if (card.addInfo != "-" && !card.addInfo.empty())
            addText(question, "comment", card.addInfo);
        pugi::xml_node answer = entry.append_child("translation");
        answer.append_attribute("id") = 1;
        addText(answer, "text", card.answer);
        const int grade = kvtmlGradeFromLevel(card.level, options.maxLevel);
        if (grade > 0 || card.timesAsked > 0) {
            // KDE's trainers keep a grade only for a text practised at least once.
            const int64_t count = std::max<int64_t>(card.timesAsked, 1);
            pugi::xml_node grades = answer.append_child("grade");
            addText(grades, "currentgrade", std::to_string(grade));
            addText(grades, "count", std::to_string(count));
            addText(grades, "errorcount",
                    std::to_string(std::clamp<int64_t>(card.timesWrong, 0, count)));
            if (!options.practiceDate.empty())
                addText(grades, "date", options.practiceDate);
        }

        // The blank "-" is the lesson without a name.
        const std::string_view lesson = card.lesson == "-" ? std::string_view() : card.lesson;
        const auto [at, added] = lessonIndex.try_emplace(composedText(lesson), lessons.size());
        if (added) {
            lessons.push_back(lesson);
            lessonEntries.emplace_back();
        }
        lessonEntries[at->second].push_back(i);
    }

    // Every entry goes into a lesson, one without a name included: some readers drop
    // entries that no lesson lists.
    pugi::xml_node lessonsNode = root.append_child("lessons");
    for (std::size_t l = 0; l < lessons.size(); ++l) {
        pugi::xml_node container = lessonsNode.append_child("container");
        addText(container, "name", lessons[l]);
        for (const std::size_t i : lessonEntries[l])
            container.append_child("entry").append_attribute("id") =
                static_cast<unsigned long long>(i);
    }

    SinkWriter writer(sink);
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return writer.ok();
}
