#include <gtest/gtest.h>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "tests/core/list_file_builder.h"
#include "tests/core/temp_folder.h"
#include "tests/support/fake_host.h"

namespace {

using listfile::describe;
using Rows = std::vector<std::string>;

const LogFont kQuestionFont = listfile::sampleFont("Arial", -21, 700);
const LogFont kAnswerFont = listfile::sampleFont("Times New Roman", -16, 400);

Card& add(CardStore& store, CardList& list, std::string_view q, std::string_view a,
          std::string_view lesson, std::string_view info, int32_t level, int32_t id) {
    Card& card = addCard(store, list, q, a, lesson, info);
    card.level = level;
    setCardId(card, id);
    return card;
}

class Writer : public testing::Test {
protected:
    DocumentInfo save(const std::string& name, const WriteFaults& faults = {}) {
        return writeListFile(folder_.file(name), store_, kQuestionFont, kAnswerFont, log_, host_,
                             faults);
    }

    TempFolder folder_{"writer"};
    CardStore store_;
    FakeHost host_;
    FontDebugLog log_{host_, folder_.file("font_debug_file")};
};

TEST_F(Writer, ThreeUnknownAndTwoKnownCardsByteForByte) {
    add(store_, store_.unknownList, "Hund", "dog", "L1", "noun", 2, 10);
    add(store_, store_.unknownList, "Katze", "", "-", "-", -1, -5);
    add(store_, store_.unknownList, "\xC4pfel", "apples", "", "", 0, 12);
    add(store_, store_.knownList, "Maus", "mouse", "L2", "-", 5, 13);
    add(store_, store_.knownList, "Haus", "house", "-", "-", 7, 14);

    const DocumentInfo info = save("list.kmx");

    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.format, "Version 2.0");
    EXPECT_EQ(info.unknownCount, 3);
    EXPECT_EQ(info.knownCount, 2);
    EXPECT_EQ(info.fileName, folder_.file("list.kmx"));
    EXPECT_FALSE(store_.modified);
    const std::string expected =
        "\x80#File fuer Mnemprogramm\r\n#Format Version 2.0, PC\r\n"
        "frage\tantwort\tstufe\tlektion\tkarte_id\r\n"
        "-21\r\n0\r\n0\r\n0\r\n700\r\n1\r\n0\r\n0\r\n238\r\n3\r\n2\r\n1\r\n34\r\nArial\r\n"
        "-16\r\n0\r\n0\r\n0\r\n400\r\n1\r\n0\r\n0\r\n238\r\n3\r\n2\r\n1\r\n34\r\nTimes New "
        "Roman\r\n"
        "Hund\tdog\tL1\tnoun\t2\t10\r\n"
        "Katze\t\t-\t-\t-1\t-5\r\n"
        "\xC4pfel\tapples\t\t\t0\t12\r\n"
        "\r\n"
        "Maus\tmouse\tL2\t-\t5\t13\r\n"
        "Haus\thouse\t-\t-\t7\t14\r\n";
    EXPECT_EQ(folder_.get("list.kmx"), expected);
}

TEST_F(Writer, AllCardsKnownPutsTheEmptyLineRightAfterTheFonts) {
    add(store_, store_.knownList, "k", "n", "-", "-", 5, 1);
    ASSERT_EQ(save("list.kmx").status, 0);
    const std::string bytes = folder_.get("list.kmx");
    EXPECT_NE(bytes.find("Times New Roman\r\n\r\nk\tn\t-\t-\t5\t1\r\n"), std::string::npos);
}

TEST_F(Writer, TabsAndLineEndsInsideTextsBecomeBlanks) {
    Card& card = add(store_, store_.unknownList, "a\tb", "c\r\nd", "e\nf", "g\rh", 1, 2);
    ASSERT_EQ(save("list.kmx").status, 0);
    EXPECT_NE(folder_.get("list.kmx").find("\r\na b\tc  d\te f\tg h\t1\t2\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(card.question(), "a\tb");  // the card itself keeps its text
}

TEST_F(Writer, EmptyDocumentIsRefusedAndTouchesNothing) {
    folder_.put("list.kmx", "old contents");
    store_.modified = true;
    const DocumentInfo info = save("list.kmx");
    EXPECT_EQ(host_.errors, (std::vector<int>{Msg::NoCardsOpened}));
    EXPECT_NE(info.status, 1);
    EXPECT_EQ(info.format, "");
    EXPECT_EQ(info.unknownCount + info.knownCount, 0);
    EXPECT_EQ(folder_.get("list.kmx"), "old contents");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx"}));
    EXPECT_TRUE(store_.modified);
    EXPECT_EQ(log_.entries(), 0);
}

TEST_F(Writer, KeepsThePermissionsOfTheFileItReplaces) {
    folder_.put("list.kmx", "old");
    ::chmod(folder_.file("list.kmx").c_str(), 0640);
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    ASSERT_EQ(save("list.kmx").status, 0);
    struct stat st {};
    ASSERT_EQ(::stat(folder_.file("list.kmx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(Writer, SavingThroughALinkReplacesTheFileItPointsTo) {
    folder_.put("real.kmx", "old");
    ASSERT_EQ(::symlink("real.kmx", folder_.file("link.kmx").c_str()), 0);
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    ASSERT_EQ(save("link.kmx").status, 0);
    struct stat st {};
    ASSERT_EQ(::lstat(folder_.file("link.kmx").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(folder_.get("real.kmx").substr(0, 1), "\x80");
}

// ---------------------------------------------------------------------------------------
// Failed saves leave the previous file as it was

struct FailureCase {
    const char* name;
    WriteFaults faults;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedSave : public Writer, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailedSave, KeepsTheOldFileAndLeavesNothingBehind) {
    // Big enough to need several writes to the file.
    for (int i = 0; i < 40000; ++i) {
        add(store_, store_.unknownList, "question " + std::to_string(i), "answer", "-", "-", 0, i);
    }
    WriteFaults faults = GetParam().faults;
    if (faults.failAfterBytes == -2) {  // one byte short of the whole file
        ASSERT_EQ(save("whole.kmx").status, 0);
        faults.failAfterBytes = static_cast<int64_t>(folder_.get("whole.kmx").size()) - 1;
        std::filesystem::remove(folder_.file("whole.kmx"));
        store_.modified = true;
    }
    folder_.put("list.kmx", "the previous list");
    const DocumentInfo info = save("list.kmx", faults);
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.format, "");
    EXPECT_EQ(info.unknownCount, 0);
    EXPECT_EQ(info.knownCount, 0);
    EXPECT_TRUE(store_.modified);
    EXPECT_TRUE(folder_.get("list.kmx") == "the previous list");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx", "font_debug_file"}));
    // The message names the full disk; a failure of our own making has no number.
    EXPECT_EQ(info.systemError, faults.failBeforeRename ? 0 : ENOSPC);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSave,
                         testing::Values(FailureCase{"DiskFullAtOnce", {0, false}},
                                         FailureCase{"DiskFullInTheHeader", {10, false}},
                                         FailureCase{"DiskFullInTheSecondWrite", {1200000, false}},
                                         FailureCase{"DiskFullAtTheLastByte", {-2, false}},
                                         FailureCase{"FailureBeforeTheRename", {-1, true}}),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                             return info.param.name;
                         });

TEST_F(Writer, FolderThatDoesNotExist) {
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    const DocumentInfo info = save("missing/list.kmx");
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.systemError, ENOENT);
    EXPECT_TRUE(store_.modified);
    EXPECT_EQ(log_.entries(), 0);
}

// Runs `body` in a child process and returns its exit status (-1 when it did not exit).
template <typename Body>
int inChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(Writer, ReadOnlyFolder) {
    folder_.put("list.kmx", "the previous list");
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    ::chmod(folder_.path().c_str(), 0555);
    // Root may write anywhere, so the save runs as an ordinary user then.
    const int status = inChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 2;
        return save("list.kmx").status == 1 && store_.modified ? 0 : 1;
    });
    ::chmod(folder_.path().c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(folder_.get("list.kmx"), "the previous list");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx"}));
}

// The real disk limit: a child process may write no more than 64 KiB per file.
TEST_F(Writer, FileSizeLimitOfTheProcess) {
    for (int i = 0; i < 20000; ++i) {
        add(store_, store_.unknownList, "question " + std::to_string(i), "answer", "-", "-", 0, i);
    }
    folder_.put("list.kmx", "the previous list");
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const DocumentInfo info = save("list.kmx");
        const DocumentInfo exported = exportCards(folder_.file("list.kmx"), store_, host_);
        return info.status == 1 && exported.status == 1 && store_.modified ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(folder_.get("list.kmx") == "the previous list");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx", "font_debug_file"}));
}

// ---------------------------------------------------------------------------------------
// Files a save must not replace

// Saves and exports keep a file without write permission exactly as it is, for root too,
// who could write it, and never put a list in place of a folder or a named pipe.
TEST_F(Writer, FilesThatMayNotBeReplacedAreKept) {
    struct Kept {
        const char* name;
        char kind;  // 'f' a file of `mode`, 'd' a folder, 'p' a named pipe
        mode_t mode;
        FileFailure failure;
    };
    const std::vector<Kept> cases = {{"ReadOnly", 'f', 0444, FileFailure::ReadOnly},
                                     {"OwnerReadOnly", 'f', 0400, FileFailure::ReadOnly},
                                     {"NoPermissionAtAll", 'f', 0000, FileFailure::ReadOnly},
                                     {"WriteOnly", 'f', 0200, FileFailure::None},
                                     {"Folder", 'd', 0, FileFailure::NotRegularFile},
                                     {"NamedPipe", 'p', 0, FileFailure::NotRegularFile}};
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    for (const Kept& c : cases) {
        for (bool exporting : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (exporting ? " export" : " save"));
            const std::string path = folder_.file(c.name);
            if (c.kind == 'f') {
                folder_.put(c.name, "the previous list");
                ::chmod(path.c_str(), c.mode);
            }
            if (c.kind == 'd')
                std::filesystem::create_directory(path);
            if (c.kind == 'p')
                ::mkfifo(path.c_str(), 0600);
            const FileStamp before = stampOf(path);
            store_.modified = true;
            const DocumentInfo info = exporting ? exportCards(path, store_, host_) : save(c.name);
            EXPECT_EQ(info.failure, c.failure);
            EXPECT_EQ(info.status, c.failure == FileFailure::None ? 0 : 1);
            if (c.failure != FileFailure::None) {
                EXPECT_EQ(stampOf(path), before);
                EXPECT_TRUE(store_.modified);
            }
            if (c.kind == 'f' && c.failure != FileFailure::None) {
                EXPECT_EQ(folder_.get(c.name), "the previous list");
            }
            std::filesystem::remove(path);
        }
    }
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"font_debug_file"}));
}

// Write permission taken away while the new file is being written still keeps the file.
TEST_F(Writer, FileMadeReadOnlyDuringTheSaveIsKept) {
    folder_.put("list.kmx", "the previous list");
    SafeFile file(folder_.file("list.kmx"));
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new contents"));
    ::chmod(folder_.file("list.kmx").c_str(), 0444);
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.failure(), FileFailure::ReadOnly);
    EXPECT_EQ(folder_.get("list.kmx"), "the previous list");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx"}));
}

// ---------------------------------------------------------------------------------------
// What killed saves leave behind

// The new files of saves of `list`. A name too long for the pattern is cut there and ends
// in a hash, so names are matched by their first letters.
std::set<std::string> leftoversOf(const TempFolder& folder, const std::string& list) {
    std::set<std::string> out;
    for (const std::string& name : folder.names()) {
        if (name.rfind("." + list.substr(0, 20), 0) == 0 && name.find(".kmx-save-") != name.npos)
            out.insert(name);
    }
    return out;
}

TEST_F(Writer, NextSaveRemovesWhatAKilledSaveLeftBehind) {
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    for (const std::string& list : {std::string("list.kmx"), std::string(250, 'n') + ".kmx"}) {
        SCOPED_TRACE(list.size());
        folder_.put(list, "the previous list");
        const pid_t child = ::fork();
        if (child == 0) {
            SafeFile file(folder_.file(list));
            if (file.open())
                file.write("half a list");
            ::raise(SIGKILL);
        }
        ::waitpid(child, nullptr, 0);
        ASSERT_EQ(leftoversOf(folder_, list).size(), 1u);
        EXPECT_EQ(folder_.get(list), "the previous list");
        ASSERT_EQ(save(list).status, 0);
        EXPECT_EQ(leftoversOf(folder_, list), std::set<std::string>{});
    }
}

// Only leftovers of the same list whose process is gone and that nobody holds locked go.
TEST_F(Writer, NextSaveRemovesOnlyItsOwnLeftovers) {
    const pid_t child = ::fork();  // a process number that no process has any more
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getpid());
    struct Leftover {
        std::string file;
        bool removed;
        bool locked = false;  // by a save still running, in another PID namespace say
    };
    const std::vector<Leftover> cases = {
        {".list.kmx.kmx-save-" + dead + "-Ab3dE9", true},
        {".list.kmx.kmx-save-" + dead + "-123456", true},
        {".list.kmx.kmx-save-" + alive + "-Ab3dE9", false},
        {".list.kmx.kmx-save-" + dead + "-Locked", false, true},
        {".other.kmx.kmx-save-" + dead + "-Ab3dE9", false},
        {".list.kmx2.kmx-save-" + dead + "-Ab3dE9", false},
        {".my-list.kmx.kmx-save-" + dead + "-Ab3dE9", false},
        {".list.kmx.kmx-save-" + dead + "-Ab3dE", false},
        {".list.kmx.kmx-save-" + dead + "-Ab3d.9", false},
        {".list.kmx.kmx-save-0" + dead + "-Ab3dE9", false},
        {".list.kmx.Ab3dE9", false},
        {"notes.txt", false},
    };
    folder_.put("list.kmx", "the previous list");
    std::filesystem::create_directory(folder_.file(".list.kmx.kmx-save-" + dead + "-Folder"));
    std::vector<int> locks;
    for (const Leftover& c : cases) {
        folder_.put(c.file, "leftover");
        if (c.locked) {
            locks.push_back(::open(folder_.file(c.file).c_str(), O_RDONLY));
            ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
        }
    }
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    ASSERT_EQ(save("list.kmx").status, 0);
    const std::set<std::string> names = folder_.names();
    for (const Leftover& c : cases)
        EXPECT_EQ(names.count(c.file), c.removed ? 0u : 1u) << c.file;
    EXPECT_EQ(names.count(".list.kmx.kmx-save-" + dead + "-Folder"), 1u);
    for (int fd : locks)
        ::close(fd);
}

// Two saves of the same list at once: neither removes the other's new file.
TEST_F(Writer, SaveWhileAnotherSaveOfTheSameListRuns) {
    folder_.put("list.kmx", "the previous list");
    SafeFile other(folder_.file("list.kmx"));
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.write("the other save"));
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    ASSERT_EQ(save("list.kmx").status, 0);
    EXPECT_TRUE(other.commit());
    EXPECT_EQ(folder_.get("list.kmx"), "the other save");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx", "font_debug_file"}));
}

// ---------------------------------------------------------------------------------------
// Stamps of the file on disk

// Saving and reading report the stamp of the file as written and read, and every way the
// file can change afterwards gives another one: a save (a new inode), an append, another
// modification time (to the nanosecond), removal.
TEST_F(Writer, StampOfTheFileFollowsEveryChange) {
    add(store_, store_.unknownList, "q", "a", "-", "-", 0, 0);
    const std::string path = folder_.file("list.kmx");
    const DocumentInfo saved = save("list.kmx");
    ASSERT_EQ(saved.status, 0);
    EXPECT_TRUE(saved.stamp.exists);
    EXPECT_EQ(saved.stamp, stampOf(path));
    EXPECT_EQ(saved.stamp.size, static_cast<int64_t>(folder_.get("list.kmx").size()));
    CardStore back;
    LogFont q, a;
    EXPECT_EQ(readListFile(path, back, back.unknownList, q, a, host_).stamp, saved.stamp);
    const FileStamp exported = exportCards(path, store_, host_).stamp;
    EXPECT_EQ(exported, stampOf(path));

    std::vector<FileStamp> stamps = {stampOf(path)};
    ASSERT_EQ(save("list.kmx").status, 0);
    stamps.push_back(stampOf(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << "more";
    stamps.push_back(stampOf(path));
    for (long nanoseconds : {1, 2}) {
        const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        stamps.push_back(stampOf(path));
    }
    std::filesystem::remove(path);
    stamps.push_back(stampOf(path));
    EXPECT_EQ(stamps.back(), FileStamp{});
    for (std::size_t i = 1; i < stamps.size(); ++i)
        EXPECT_NE(stamps[i], stamps[i - 1]) << i;
}

// ---------------------------------------------------------------------------------------
// Round trips

TEST_F(Writer, EverySavedListReadsBackTheSame) {
    const std::string q100(100, 'Q');
    const std::string a100(100, '\xFF');
    const std::string i100(100, 'I');
    add(store_, store_.unknownList, q100, a100, "LLLLLLLLLL", i100, 4, 1);
    add(store_, store_.unknownList, "", "", "", "", 0, 0);
    add(store_, store_.unknownList, "\xC4\xD6\xDC", "~x", "1", "-", -3, -2147483647 - 1);
    add(store_, store_.unknownList, "0x1A", "010", "010", " 7 ", 2147483647, 2147483647);
    add(store_, store_.unknownList, "a", "b", "-", "-", 1, 5);
    store_.unknownList.removeById(0);  // a hole in the unknown list
    add(store_, store_.knownList, "\x80 first byte", "\x7F", "-", "-", 9, 5);
    add(store_, store_.knownList, "  blanks  ", "x", "-", "\xA0", 6, 6);
    LogFont question = kQuestionFont;
    question.lfFaceName = std::string(31, 'F');
    question.lfEscapement = -900;
    question.lfPitchAndFamily = 255;
    LogFont answer = kAnswerFont;
    answer.lfFaceName = "";

    const std::string path = folder_.file("round.kmx");
    ASSERT_EQ(writeListFile(path, store_, question, answer, log_, host_).status, 0);

    CardStore back;
    LogFont q2, a2;
    const DocumentInfo info = readListFile(path, back, back.unknownList, q2, a2, host_);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.format, "mnem v 2.0");
    EXPECT_EQ(describe(back.unknownList), describe(store_.unknownList));
    EXPECT_EQ(describe(back.knownList), describe(store_.knownList));
    EXPECT_EQ(q2, question);
    EXPECT_EQ(a2, answer);
    EXPECT_FALSE(back.modified);
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(Writer, ExportedCardsReadBackAsUnknownCardsAtLevelZero) {
    add(store_, store_.unknownList, "Hund", "dog", "L1", "noun", 3, 10);
    add(store_, store_.unknownList, std::string(99, 'q'), std::string(99, 'a'), "-", "-", 1, 11);
    add(store_, store_.knownList, "Maus", "", "L2", "-", 5, 12);
    store_.modified = false;
    const std::string path = folder_.file("cards.txt");
    const DocumentInfo info = exportCards(path, store_, host_);
    EXPECT_EQ(info.status, 0);
    EXPECT_FALSE(store_.modified);
    EXPECT_EQ(store_.fileName, "UNTITLED");

    CardStore back;
    LogFont q, a;
    readListFile(path, back, back.unknownList, q, a, host_);
    EXPECT_EQ(
        describe(back.unknownList),
        (Rows{"Hund|dog|-|-|0|0", std::string(99, 'q') + "|" + std::string(99, 'a') + "|-|-|0|1",
              "Maus||-|-|0|2"}));
    EXPECT_EQ(back.knownList.count(), 0);
}

struct ExportCase {
    const char* name;
    DocumentInfo (*run)(const std::string&, const CardStore&, Host&, const WriteFaults&);
    std::string expected;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const ExportCase& c, std::ostream* os) {
    *os << c.name;
}

class Export : public Writer, public testing::WithParamInterface<ExportCase> {};

TEST_P(Export, LinesOfUnknownThenKnownCards) {
    add(store_, store_.unknownList, "Hund", "dog", "L1", "noun", 3, 10);
    add(store_, store_.unknownList, "Ka\ttze", "", "-", "-", 1, 11);
    add(store_, store_.knownList, "Maus", "mo\nuse", "L2", "-", 5, 12);
    ASSERT_EQ(GetParam().run(folder_.file("out.txt"), store_, host_, {}).status, 0);
    EXPECT_EQ(folder_.get("out.txt"), GetParam().expected);
}

TEST_P(Export, EmptyDocumentWritesNothing) {
    const DocumentInfo info = GetParam().run(folder_.file("out.txt"), store_, host_, {});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(host_.errors, (std::vector<int>{Msg::NoCardsOpened}));
    EXPECT_EQ(folder_.names(), (std::set<std::string>{}));
}

TEST_P(Export, FailureKeepsTheOldFile) {
    add(store_, store_.unknownList, "Hund", "dog", "L1", "noun", 3, 10);
    folder_.put("out.txt", "previous");
    for (const WriteFaults& faults : {WriteFaults{3, false}, WriteFaults{-1, true}}) {
        EXPECT_EQ(GetParam().run(folder_.file("out.txt"), store_, host_, faults).status, 1);
        EXPECT_EQ(folder_.get("out.txt"), "previous");
        EXPECT_EQ(folder_.names(), (std::set<std::string>{"out.txt"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Export,
    testing::Values(ExportCase{"Cards", exportCards, "Hund\tdog\r\nKa tze\t\r\nMaus\tmo use\r\n"},
                    ExportCase{"Questions", exportQuestions, "Hund\r\nKa tze\r\nMaus\r\n"},
                    ExportCase{"Answers", exportAnswers, "dog\r\n\r\nmo use\r\n"}),
    [](const testing::TestParamInfo<ExportCase>& info) { return info.param.name; });

}  // namespace
