#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "tests/core/list_file_builder.h"
#include "tests/core/temp_folder.h"
#include "tests/support/fake_host.h"

namespace {

std::tm at(int month0, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_mon = month0;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(FontDebugLog, EntryLineByLine) {
    TempFolder folder("fontlog");
    FakeHost host;
    FontDebugLog log(host, folder.file("font_debug_file"), [] { return at(0, 31, 23, 5, 9); });
    LogFont font = listfile::sampleFont("Arial", -21, 700);
    font.lfWidth = -3;
    log.logFontEntry(font, FontRole::Question, "/home/u/list.kmx");
    EXPECT_EQ(folder.get("font_debug_file"),
              "----------------------------------------------------------\r\n"
              "Kartomatrix Font Debug File\tEntry  1 since startup\r\n"
              "FILE:\t/home/u/list.kmx\r\n"
              "QUESTION\tCLOSE\r\n"
              "DATE:\t1\t31\t23\t5\t9\r\n"
              "-21\r\n-3\r\n0\r\n0\r\n700\r\n"
              "1\r\n0\r\n0\r\n238\r\n3\r\n2\r\n1\r\n34\r\n"
              "Arial\r\n"
              "STRLEN5\r\n");
}

TEST(FontDebugLog, EntriesCountOnAcrossSavesAndAppend) {
    TempFolder folder("fontlog");
    folder.put("font_debug_file", "earlier run\r\n");
    FakeHost host;
    FontDebugLog log(host, folder.file("font_debug_file"), [] { return at(11, 24, 0, 0, 0); });
    CardStore store;
    addCard(store, store.unknownList, "q", "a", "-", "-");
    LogFont face31 = listfile::sampleFont("", 0, 0);
    face31.lfFaceName = std::string(31, 'F');
    for (const char* list : {"one.kmx", "two.kmx"}) {
        ASSERT_EQ(writeListFile(folder.file(list), store, face31, face31, log, host).status, 0);
    }
    const std::string text = folder.get("font_debug_file");
    EXPECT_EQ(text.rfind("earlier run\r\n", 0), 0u);
    std::vector<std::string> headings;
    for (std::size_t at = text.find("Entry  "); at != std::string::npos;
         at = text.find("Entry  ", at + 1)) {
        headings.push_back(text.substr(at, text.find('\r', at) - at));
    }
    EXPECT_EQ(headings,
              (std::vector<std::string>{"Entry  1 since startup", "Entry  2 since startup",
                                        "Entry  3 since startup", "Entry  4 since startup"}));
    EXPECT_NE(text.find("FILE:\t" + folder.file("two.kmx") +
                        "\r\nANSWER\tCLOSE\r\nDATE:\t12\t24\t0\t0\t0\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("STRLEN31\r\n"), std::string::npos);
    EXPECT_EQ(log.entries(), 4);
}

TEST(FontDebugLog, UnwritableLogShowsAnEmptyErrorTwiceAndTheListIsSaved) {
    TempFolder folder("fontlog");
    FakeHost host;
    FontDebugLog log(host, folder.file("no such folder/font_debug_file"));
    CardStore store;
    addCard(store, store.unknownList, "q", "a", "-", "-");
    const LogFont font = listfile::sampleFont("Arial", -21, 700);
    const DocumentInfo info = writeListFile(folder.file("list.kmx"), store, font, font, log, host);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(host.errorTexts, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(log.entries(), 0);
    EXPECT_NE(folder.get("list.kmx").find("q\ta\t-\t-\t0\t0\r\n"), std::string::npos);
}

}  // namespace
