#include "core/kvtml_file.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/byte_sink.h"
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

std::size_t KvtmlImport::takenCount() const {
    return static_cast<std::size_t>(std::count_if(
        candidates.begin(), candidates.end(), [](const CardCandidate& c) { return c.taken(); }));
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

// All the character data of an element, CDATA sections included, entities decoded.
std::string textOf(const pugi::xml_node& element) {
    std::string out;
    for (const pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
    }
    return out;
}

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
void collectLessons(const pugi::xml_node& lessons, std::map<int, std::string>& lessonOf) {
    const auto isContainer = [](const pugi::xml_node& node) {
        const std::string_view name = node.name();
        return name == "container" || name == "lesson";
    };
    std::vector<pugi::xml_node> resume;  // where to go on once a container's children are done
    pugi::xml_node node = lessons.first_child();
    while (node) {
        pugi::xml_node next = node.next_sibling();
        if (isContainer(node)) {
            const std::string lesson = textOf(node.child("name"));
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
    return major && *major < 2;
}

}  // namespace

KvtmlImport readKvtml(std::string_view bytes, int32_t maxLevel) {
    KvtmlImport result;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    // Offsets count bytes only when the parser did not have to convert the file.
    const bool utf8 = !bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") &&
                      bytes.substr(0, 4).find('\0') == std::string_view::npos;
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
    if (versionBelowTwo(root.attribute("version").value())) {
        result.status = KvtmlImport::Status::OldVersion;
        std::tie(result.line, result.column) = lineOf(root.offset_debug());
        return result;
    }

    result.title = textOf(root.child("information").child("title"));
    for (const pugi::xml_node identifier : root.child("identifiers").children("identifier")) {
        const std::optional<int> id = integerOf(identifier.attribute("id").value());
        if (id == 0)
            result.questionLanguage = textOf(identifier.child("name"));
        else if (id == 1)
            result.answerLanguage = textOf(identifier.child("name"));
    }
    std::map<int, std::string> lessonOf;
    collectLessons(root.child("lessons"), lessonOf);

    for (const pugi::xml_node entry : root.child("entries").children("entry")) {
        CardCandidate c;
        c.line = lineOf(entry.offset_debug()).first;
        const pugi::xml_node question = translation(entry, 0);
        const pugi::xml_node answer = translation(entry, 1);
        c.card.question = fitCardText(textOf(question.child("text")), CardField::Question, c);
        c.card.answer = fitCardText(textOf(answer.child("text")), CardField::Answer, c);

        const std::optional<int> id = integerOf(entry.attribute("id").value());
        const auto lesson = id ? lessonOf.find(*id) : lessonOf.end();
        c.card.lesson =
            lesson == lessonOf.end() ? "-" : fitCardText(lesson->second, CardField::Lesson, c);

        std::string info;
        for (const pugi::xml_node holder : {entry, question, answer}) {
            const std::string comment = textOf(holder.child("comment"));
            if (comment.find_first_not_of(" \t\r\n") == std::string::npos)
                continue;
            if (!info.empty())
                info += "; ";
            info += comment;
        }
        c.card.addInfo = info.empty() ? "-" : fitCardText(info, CardField::AddInfo, c);

        const std::optional<int> grade =
            integerOf(textOf(answer.child("grade").child("currentgrade")));
        c.card.level = levelFromKvtmlGrade(grade.value_or(0), maxLevel);
        if (c.card.question.empty())
            c.problems.emplace_back(ImportProblemKind::EmptyQuestion);
        result.candidates.push_back(std::move(c));
    }
    return result;
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
        case KvtmlImport::Status::OldVersion:
            what = "The file is a KVTML 1 document; only KVTML 2 can be imported.";
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
        pugi::xml_node grade = answer.append_child("grade");
        addText(grade, "currentgrade",
                std::to_string(kvtmlGradeFromLevel(card.level, options.maxLevel)));

        const auto [at, added] = lessonIndex.try_emplace(composedText(card.lesson), lessons.size());
        if (added) {
            lessons.push_back(card.lesson);
            lessonEntries.emplace_back();
        }
        lessonEntries[at->second].push_back(i);
    }

    // Every entry goes into a lesson, "-" included: some readers drop entries that no
    // lesson lists.
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
