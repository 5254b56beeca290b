#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/exchange_text.h"
#include "core/string_sink.h"

// Reads the text export as Anki's text import does with its default choices
// (rslib/src/import_export/text/csv, metadata.rs and import.rs): "#key:value" header lines;
// the note type Basic (Front, Back); fields matched to the "#columns:" names, the first
// field to column 1 when none matches; the tags column from "#tags column:", else the
// column behind the last mapped field; then CSV records.
namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (line[i] == '"' && (quoted || fields.back().empty()))
            quoted = !quoted;
        else if (!quoted && line[i] == '\t')
            fields.emplace_back();
        else
            fields.back() += line[i];
    }
    return fields;
}

// Each note as "front | back | tags".
std::vector<std::string> importAsAnki(const std::string& file) {
    std::istringstream in(file);
    std::vector<std::string> labels;
    std::size_t tagsColumn = 0;
    std::string line;
    while (std::getline(in, line) && line.starts_with('#')) {
        const std::string key = line.substr(1, line.find(':') - 1);
        const std::string value = line.substr(line.find(':') + 1);
        if (key == "separator")
            EXPECT_EQ(value, "tab");
        else if (key == "columns")
            labels = fieldsOf(value);
        else if (key == "tags column")
            tagsColumn = std::stoul(value);
    }
    std::size_t front = 1;
    std::size_t back = 0;
    for (std::size_t c = 1; c <= labels.size(); ++c) {
        if (c != tagsColumn && labels[c - 1] == "Front")
            front = c;
        if (c != tagsColumn && labels[c - 1] == "Back")
            back = c;
    }
    if (tagsColumn == 0 && std::max(front, back) + 1 < labels.size())
        tagsColumn = std::max(front, back) + 1;
    std::vector<std::string> notes;
    do {
        const std::vector<std::string> fields = fieldsOf(line);
        const auto at = [&](std::size_t c) { return c > 0 ? fields.at(c - 1) : std::string(); };
        notes.push_back(at(front) + " | " + at(back) + " | " + at(tagsColumn));
    } while (std::getline(in, line));
    return notes;
}

TEST(AnkiRules, DefaultChoicesPutQuestionFrontAnswerBackAndLessonIntoTheTags) {
    StringSink sink;
    ASSERT_TRUE(writeExchangeText(sink, std::vector<CardRecord>{
                                            {"Haus", "house; home", "Unit 1", "das Haus", 3},
                                            {"#hash", "say \"hi\"", "-", "-", 0},
                                        }));
    EXPECT_EQ(importAsAnki(sink.bytes()),
              (std::vector<std::string>{"Haus | house; home | Unit_1", "#hash | say \"hi\" | "}));
    // The blank "-" of a lesson or additional information is an empty field.
    EXPECT_NE(sink.bytes().find("\"#hash\"\t\"say \"\"hi\"\"\"\t\t\t\n"), std::string::npos);
}

}  // namespace
