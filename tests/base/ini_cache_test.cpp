// Settings files are read through a cache: an idle reader takes no file from the disk, and every
// change, by this process or by another one, is seen by the very next read.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/ini_file.h"
#include "base/settings_file_cache.h"
#include "base/temp_folder.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr const char* kUserConfig =
    "[General]\r\nStatus=1\r\nTrayIcon=1\r\nMinimize=0\r\nTabSave=1\r\nTab=2\r\n"
    "CostFormat=0\r\nTrafType=0\r\nTypeHint=1\r\nLog=1\r\nLogSizeEnabled=1\r\nLogSize=100\r\n"
    "EveryMin=0\r\nRunMinimize=0\r\nMinAuto=28\r\n\r\n[Count]\r\nEdn=0\r\nNoCost=0\r\n";

std::uint64_t DiskReads() {
    return SettingsFileCache::Instance().DiskReads();
}

// `change` runs in a child process: another program, as far as the kernel can tell.
void InAnotherProcess(const std::function<void()>& change) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        change();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Overwrites the first bytes of the file in place with one write, as a program holding it
// open would: same size, same inode.
void OverwriteInPlace(const fs::path& path, const std::string& bytes) {
    const int file = open(path.c_str(), O_WRONLY);
    if (file < 0 || pwrite(file, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size())) _exit(1);
    close(file);
}

class IniCacheTest : public ::testing::Test {
protected:
    TempFolder folder_;
    fs::path path_ = folder_.Path() / "Config.ini";
};

TEST_F(IniCacheTest, IdleTicksReadNoFile) {
    WriteBytes(path_, kUserConfig);
    const fs::path stats = folder_.Path() / "6-2024.ini";
    WriteBytes(stats, "[Count]\r\nSecond=10\r\nCost=12,5\r\n");
    EXPECT_EQ(IniFile(path_).ReadInteger("Count", "Edn", -1), 0);
    EXPECT_EQ(IniFile(stats).ReadInteger("Count", "Second", -1), 10);
    const std::uint64_t before = DiskReads();
    for (int second = 11; second < 100; ++second) {
        const IniFile config(path_);  // a new instance each tick, as the meter makes them
        EXPECT_EQ(config.ReadInteger("Count", "Edn", -1), 0);
        EXPECT_EQ(config.ReadString("Count", "NoCost", ""), "0");
        EXPECT_EQ(config.ReadInteger("General", "TrafType", -1), 0);
        EXPECT_FALSE(config.ReadFlag("General", "EveryMin", "0"));
        EXPECT_EQ(config.ReadInteger("General", "Log", -1), 1);
        IniFile(stats).WriteInteger("Count", "Second", second);  // same size: in place
        EXPECT_EQ(IniFile(stats).ReadString("Count", "Cost", ""), "12,5");
    }
    EXPECT_EQ(DiskReads(), before);
    EXPECT_EQ(ReadBytes(stats), "[Count]\r\nSecond=99\r\nCost=12,5\r\n");
    // A change to the folder on the way (its permissions) sets every watch up anew: the files
    // are taken from the disk once more, then served again.
    fs::permissions(folder_.Path(), fs::perms::others_read, fs::perm_options::remove);
    EXPECT_EQ(IniFile(path_).ReadInteger("Count", "Edn", -1), 0);
    EXPECT_EQ(IniFile(stats).ReadInteger("Count", "Second", -1), 99);
    const std::uint64_t afresh = DiskReads();
    EXPECT_EQ(afresh, before + 2);
    EXPECT_EQ(IniFile(path_).ReadInteger("Count", "Edn", -1), 0);
    IniFile(stats).WriteInteger("Count", "Second", 98);
    EXPECT_EQ(IniFile(stats).ReadInteger("Count", "Second", -1), 98);
    EXPECT_EQ(DiskReads(), afresh);
    // A write of another size goes through a new file; the next read takes it from the disk.
    IniFile(stats).WriteInteger("Count", "Second", 100);
    EXPECT_EQ(IniFile(stats).ReadInteger("Count", "Second", -1), 100);
    EXPECT_EQ(ReadBytes(stats), "[Count]\r\nSecond=100\r\nCost=12,5\r\n");
}

TEST_F(IniCacheTest, EveryWayAnotherProgramChangesTheFileIsSeenAtOnce) {
    const fs::path elsewhere = folder_.Path() / "elsewhere";
    fs::create_directory(elsewhere);
    const struct {
        const char* how;
        std::function<void(const fs::path&)> change;
        const char* expected;  // Color after the change; "" for the key gone
    } cases[] = {
        {"same size, in place",
         [](const fs::path& p) { OverwriteInPlace(p, "[StatWin]\r\nColor=2"); }, "2"},
        {"truncated and rewritten",
         [](const fs::path& p) { WriteBytes(p, "[StatWin]\r\nColor=333\r\n"); }, "333"},
        {"replaced by a rename",
         [](const fs::path& p) {
             WriteBytes(p.string() + ".new", "[StatWin]\r\nColor=4\r\n");
             fs::rename(p.string() + ".new", p);
         },
         "4"},
        {"deleted", [](const fs::path& p) { fs::remove(p); }, ""},
        {"written through a hard link in another folder",
         [&elsewhere](const fs::path& p) {
             fs::create_hard_link(p, elsewhere / "link.ini");
             OverwriteInPlace(elsewhere / "link.ini", "[StatWin]\r\nColor=5");
         },
         "5"},
        {"its folder replaced by another",
         [](const fs::path& p) {
             const fs::path folder = p.parent_path();
             const fs::path other = folder.string() + "-other";
             fs::create_directories(other);
             WriteBytes(other / p.filename(), "[StatWin]\r\nColor=6\r\n");
             fs::rename(folder, folder.string() + "-old");
             fs::rename(other, folder);
         },
         "6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const fs::path folder = folder_.Path() / "prog";
        fs::remove_all(folder.string() + "-old");
        fs::remove_all(elsewhere / "link.ini");
        fs::create_directories(folder);
        const fs::path config = folder / "Config.ini";
        WriteBytes(config, "[StatWin]\r\nColor=1\r\n");
        ASSERT_EQ(IniFile(config).ReadString("StatWin", "Color", ""), "1");
        ASSERT_EQ(IniFile(config).ReadString("StatWin", "Color", ""), "1");  // from the cache
        InAnotherProcess([&] { c.change(config); });
        EXPECT_EQ(IniFile(config).ReadString("StatWin", "Color", ""), c.expected);
        // A file that was not there is seen when it comes.
        InAnotherProcess([&] { WriteBytes(config, "[StatWin]\r\nColor=7\r\n"); });
        EXPECT_EQ(IniFile(config).ReadString("StatWin", "Color", ""), "7");
    }
}

// The same number of bytes rewritten right after our own write, within the same clock tick:
// neither the size nor the modification time tells it, the next read must.
TEST_F(IniCacheTest, SameSizeRewriteRightAfterOurWriteIsSeen) {
    WriteBytes(path_, "[Count]\r\nSecond=1000\r\n");
    IniFile stats(path_);
    for (int second = 1001; second < 1200; second += 2) {
        stats.WriteInteger("Count", "Second", second);
        const std::string theirs = "[Count]\r\nSecond=" + std::to_string(second + 1) + "\r\n";
        InAnotherProcess([&] { OverwriteInPlace(path_, theirs); });
        ASSERT_EQ(stats.ReadInteger("Count", "Second", -1), second + 1);
        ASSERT_EQ(ReadBytes(path_), theirs);
    }
}

// Another program rewriting the file all the time while we write it: once it stops, the next
// read gives exactly what the file holds.
TEST_F(IniCacheTest, ConcurrentWriterLeavesNoStaleRead) {
    WriteBytes(path_, "[Count]\r\nSecond=1000\r\n");
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        for (int i = 0; i < 20000; ++i)
            OverwriteInPlace(path_, "[Count]\r\nSecond=" + std::to_string(5000 + i % 1000));
        _exit(0);
    }
    IniFile stats(path_);
    for (int second = 1000; second < 1900; ++second) {
        stats.WriteInteger("Count", "Second", second);
        stats.ReadInteger("Count", "Second", -1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    const std::string bytes = ReadBytes(path_);
    EXPECT_EQ("[Count]\r\nSecond=" + stats.ReadString("Count", "Second", "") + "\r\n", bytes);
}

// A path through a symbolic link is read from the disk each time: re-pointing the link is seen.
TEST_F(IniCacheTest, PathThroughASymbolicLinkFollowsTheLink) {
    for (const char* name : {"a", "b"}) {
        fs::create_directory(folder_.Path() / name);
        WriteBytes(folder_.Path() / name / "Config.ini",
                   std::string("[General]\r\nTab=") + (name[0] == 'a' ? "1" : "2") + "\r\n");
    }
    const fs::path link = folder_.Path() / "current";
    fs::create_directory_symlink(folder_.Path() / "a", link);
    EXPECT_EQ(IniFile(link / "Config.ini").ReadInteger("General", "Tab", 0), 1);
    InAnotherProcess([&] {
        fs::create_directory_symlink(folder_.Path() / "b", folder_.Path() / "next");
        fs::rename(folder_.Path() / "next", link);
    });
    EXPECT_EQ(IniFile(link / "Config.ini").ReadInteger("General", "Tab", 0), 2);
}

}  // namespace
}  // namespace kestrova
