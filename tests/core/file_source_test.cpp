#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/card_store.h"
#include "core/file_source.h"
#include "core/list_file_reader.h"
#include "tests/core/temp_folder.h"
#include "tests/support/fake_host.h"

namespace {

// A file of exactly the size limit opens, one byte more does not; a file that grows past
// the limit after it was opened is read up to the limit and reported incomplete.
TEST(FileSource, SizeLimitHoldsAlsoForAFileThatGrows) {
    TempFolder folder("source");
    folder.put("list.txt", "a\tb\r\nc\td\r\n");  // 10 bytes
    EXPECT_EQ(FileSource(folder.file("list.txt"), 9).failure(), FileFailure::TooLarge);
    FileSource source(folder.file("list.txt"), 10);
    ASSERT_TRUE(source.isOpen());
    EXPECT_EQ(source.stamp(), stampOf(folder.file("list.txt")));
    std::ofstream(folder.file("list.txt"), std::ios::binary | std::ios::app) << "e\tf\r\n";

    CardStore store;
    FakeHost host;
    LogFont q, a;
    const DocumentInfo info =
        readListFrom(source, "list.txt", store, store.unknownList, q, a, host);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.unknownCount, 2);
    EXPECT_TRUE(info.incomplete);
}

}  // namespace
