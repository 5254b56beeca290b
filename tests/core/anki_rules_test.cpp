#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "core/exchange_text.h"
#include "core/string_sink.h"

// Reads the text export the way Anki's text import reads a file when the user keeps its
// default choices (rslib/src/import_export/text/csv: metadata.rs and import.rs): header lines
// "#key:value" up to the first other line; the note type "Basic" with the fields Front and
// Back; column names matched to field names, else fields taken in column order; a tags
// column given by the header, else the first column behind the mapped fields; then CSV
// records, a record starting with "#" a comment.
namespace {

struct AnkiNote {
    std::string front;
    std::string back;
    std::vector<std::string> tags;
};

std::vector<std::string> records(std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"' && (quoted || fields.back().empty())) {
            quoted = !quoted;
        } else if (!quoted && c == separator) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<AnkiNote> importAsAnki(const std::string& file) {
    const std::vector<std::string> basicFields = {"Front", "Back"};
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < file.size();) {
        const std::size_t end = file.find('\n', pos);
        lines.push_back(file.substr(pos, end - pos));
        pos = end == std::string::npos ? file.size() : end + 1;
    }
    char separator = ' ';
    std::vector<std::string> labels;
    std::size_t tagsColumn = 0;
    std::string notetype = "Basic";  // the current note type of a fresh collection
    std::size_t line = 0;
    for (; line < lines.size() && lines[line].starts_with('#'); ++line) {
        const std::size_t colon = lines[line].find(':');
        std::string key = lines[line].substr(1, colon - 1);
        std::transform(key.begin(), key.end(), key.begin(), ::tolower);
        const std::string value = lines[line].substr(colon + 1);
        if (key == "separator")
            separator = value == "tab" || value == "\t" ? '\t' : value == "comma" ? ',' : ' ';
        else if (key == "columns")
            labels = records(value, separator);
        else if (key == "tags column")
            tagsColumn = std::stoul(value);
        else if (key == "notetype")
            notetype = value;
    }
    EXPECT_EQ(notetype, "Basic");
    const std::set<std::size_t> meta = {tagsColumn};
    std::vector<std::size_t> fieldColumns = {1, 0};
    if (!labels.empty()) {
        for (std::size_t f = 0; f < basicFields.size(); ++f) {
            for (std::size_t c = 1; c <= labels.size(); ++c) {
                if (labels[c - 1] == basicFields[f] && !meta.contains(c))
                    fieldColumns[f] = c;
            }
        }
    }
    if (tagsColumn == 0) {
        const std::size_t maxField = std::max(fieldColumns[0], fieldColumns[1]);
        for (std::size_t c = maxField + 1; c < labels.size() && tagsColumn == 0; ++c) {
            if (!meta.contains(c))
                tagsColumn = maxField + 1;
        }
    }

    std::vector<AnkiNote> notes;
    for (; line < lines.size(); ++line) {
        if (lines[line].empty() || lines[line].starts_with('#'))
            continue;
        const std::vector<std::string> fields = records(lines[line], separator);
        const auto at = [&](std::size_t column) {
            return column > 0 && column <= fields.size() ? fields[column - 1] : std::string();
        };
        AnkiNote note{at(fieldColumns[0]), at(fieldColumns[1]), {}};
        std::string tags = at(tagsColumn);
        for (std::size_t pos = 0; pos < tags.size();) {
            const std::size_t end = std::min(tags.find(' ', pos), tags.size());
            if (end > pos)
                note.tags.push_back(tags.substr(pos, end - pos));
            pos = end + 1;
        }
        notes.push_back(note);
    }
    return notes;
}

TEST(AnkiRules, DefaultChoicesPutQuestionFrontAnswerBackAndLessonIntoTheTags) {
    StringSink sink;
    const std::vector<CardRecord> cards = {
        {"Haus", "house; home", "Unit 1", "das Haus", 3},
        {"#hash", "say \"hi\"", "-", "-", 0},
    };
    ASSERT_TRUE(writeExchangeText(sink, cards));
    const std::vector<AnkiNote> notes = importAsAnki(sink.bytes());
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].front, "Haus");
    EXPECT_EQ(notes[0].back, "house; home");
    EXPECT_EQ(notes[0].tags, std::vector<std::string>{"Unit_1"});
    EXPECT_EQ(notes[1].front, "#hash");
    EXPECT_EQ(notes[1].back, "say \"hi\"");
    EXPECT_TRUE(notes[1].tags.empty());  // the blank "-" is no lesson
    // The blank "-" of a lesson or additional information is an empty field.
    EXPECT_NE(sink.bytes().find("\"#hash\"\t\"say \"\"hi\"\"\"\t\t\t\n"), std::string::npos);
}

}  // namespace
