#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "meter/connection_log.h"
#include "rates/text_codec.h"
#include "support/fakes.h"

namespace kestrova {
namespace {

std::string Lines(int count, char fill, std::size_t length) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(length, fill) + "\r\n";
    return text;
}

TEST(LogSize, CutOnlyPastTheLimit) {
    EXPECT_FALSE(CutLog(std::string(1151, 'x'), 1).has_value());
    EXPECT_TRUE(CutLog(std::string(1152, 'x'), 1).has_value());
    EXPECT_FALSE(CutLog(std::string(2 * 1024 + 127, 'x'), 2).has_value());
    EXPECT_TRUE(CutLog(std::string(2 * 1024 + 128, 'x'), 2).has_value());
}

TEST(LogSize, KeepsAboutLimitTimes985Characters) {
    // 30 lines of 98 characters: the walk back stops at the line that reaches 985.
    const auto kept = CutLog(Lines(30, 'a', 98), 1);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(*kept, Lines(11, 'a', 98));  // 10 lines make 980, the 11th reaches 985
}

TEST(LogSize, EntryBoundaryWithinTheFirstFiveKeptLines) {
    // The walk keeps "b", "c", "", "d" ... : the kept part starts after the empty line.
    std::string log = Lines(20, 'z', 100) + "bb\r\ncc\r\n\r\n" + Lines(9, 'd', 100) + "d\r\n";
    const auto kept = CutLog(log, 1);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(*kept, Lines(9, 'd', 100) + "d\r\n");
    // No empty line among the first five kept lines: the kept part is unchanged.
    const auto plain = CutLog(Lines(40, 'q', 100), 1);
    EXPECT_EQ(*plain, Lines(10, 'q', 100));
}

TEST(LogSize, ControlRewritesTheFile) {
    testing::TempDir dir;
    const auto log = dir.path() / "logfile.log";
    testing::WriteAll(log, Lines(40, 'q', 100));
    EXPECT_TRUE(ControlLogSize(log, 1));
    EXPECT_EQ(testing::ReadAll(log), Lines(10, 'q', 100));
    EXPECT_TRUE(ControlLogSize(dir.path() / "none.log", 1));  // a missing log is left alone
}

// An entry begins on a line of its own whatever the log ends with.
TEST(AppendToLog, EntryStartsOnALineOfItsOwn) {
    const std::pair<const char*, std::string> cases[] = {
        {"no log yet", ""},
        {"ended line", "\r\nx\r\n"},
        {"half a line", "\r\nСоединение зав"},
        {"a bare line feed", "x\n"},
        {"one byte", "x"},
    };
    const std::string entry = "\r\nA\r\nB\r\n";
    for (const auto& [what, before] : cases) {
        SCOPED_TRACE(what);
        testing::TempDir dir;
        const auto log = dir.path() / "logfile.log";
        if (!before.empty()) testing::WriteAll(log, before);
        ASSERT_TRUE(AppendToLog(log, {"", "A", "B"}));
        const bool ended = before.empty() || before.ends_with("\r\n");
        EXPECT_EQ(testing::ReadAll(log), before + (ended ? "" : "\r\n") + entry);
    }
}

// The log of `kLogBytes`, close to the end of a 4 KiB block, and what is appended to it: an
// entry that does not fit in the block's rest, so a full disk takes only its first part.
constexpr std::size_t kLogBytes = 4000;
const std::vector<std::string> kEndLines =
    SessionEndLines("11.12.2026", "16:20:00", "00:05:30", "1,50", "12,00 КБ", "3,00 КБ");

enum class DiskLimit { FullFilesystem, FileSizeLimit };

// In a child process: a log in `folder`, then the disk fills up (a small tmpfs of its own, or
// the process's file size limit just past the log), an entry that fits only in part, and then
// room again. The child's exit code: 0 passed, 77 skipped, 1 failed (reasons on stderr).
int FullDiskChild(DiskLimit limit, const std::filesystem::path& folder) {
    const auto fail = [](const std::string& text) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    };
    if (limit == DiskLimit::FullFilesystem) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            std::fprintf(stderr, "no private mount namespace (%s): needs root\n",
                         std::strerror(errno));
            return 77;
        }
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return fail(std::string("mounting a tmpfs: ") + std::strerror(errno));
    }
    const auto log = folder / "logfile.log";
    const std::string before = "\r\n" + std::string(kLogBytes - 4, 'x') + "\r\n";
    testing::WriteAll(log, before);

    if (limit == DiskLimit::FullFilesystem) {
        // Fill every free block; the log's last block keeps its 96 free bytes.
        FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
        if (filler == nullptr) return fail("cannot create the filler");
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
    } else {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{kLogBytes + 96, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0) return fail("setrlimit");
    }

    if (AppendToLog(log, kEndLines)) return fail("an entry past a full disk was reported written");
    if (testing::ReadAll(log) != before) return fail("the log kept part of the refused entry");

    if (limit == DiskLimit::FullFilesystem) {
        std::filesystem::remove(folder / "filler");
    } else {
        const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    if (!AppendToLog(log, kEndLines)) return fail("no entry written once there is room");
    const std::string after = testing::ReadAll(log);
    std::string expected = before;
    for (const auto& line : kEndLines) expected += Utf8ToCp1251(line) + "\r\n";
    if (after != expected) return fail("the entry written after the full disk is not whole");
    return 0;
}

TEST(AppendToLog, FullDiskAppendsTheEntryWholeOrNotAtAll) {
    for (const DiskLimit limit : {DiskLimit::FullFilesystem, DiskLimit::FileSizeLimit}) {
        const bool filesystem = limit == DiskLimit::FullFilesystem;
        SCOPED_TRACE(filesystem ? "full tmpfs" : "file size limit");
        testing::TempDir dir;
        std::fflush(nullptr);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(FullDiskChild(limit, dir.path()));
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        ASSERT_TRUE(WIFEXITED(status)) << "the child ended by a signal";
        if (WEXITSTATUS(status) == 77) {
            std::printf("full tmpfs skipped: needs root and mount namespaces\n");
            continue;
        }
        EXPECT_EQ(WEXITSTATUS(status), 0) << "see the child's reason above";
    }
}

}  // namespace
}  // namespace kestrova
