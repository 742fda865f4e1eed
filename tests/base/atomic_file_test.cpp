#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/atomic_file.h"
#include "base/temp_folder.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class AtomicFileTest : public ::testing::Test {
protected:
    std::vector<fs::path> FolderEntries() const {
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(folder_.Path()))
            entries.push_back(entry.path().filename());
        return entries;
    }

    TempFolder folder_;
    fs::path path_ = folder_.Path() / "3-2007.ini";
};

TEST_F(AtomicFileTest, ReplacesOrCreatesAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(ReplaceFileAtomically(path_, "[Count]\r\nSecond=1\r\n"));
    EXPECT_EQ(ReadBytes(path_), "[Count]\r\nSecond=1\r\n");
    ASSERT_TRUE(ReplaceFileAtomically(path_, ""));
    EXPECT_EQ(ReadBytes(path_), "");
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{"3-2007.ini"});
}

TEST_F(AtomicFileTest, KeepsThePermissionsOfTheFile) {
    WriteBytes(path_, "old");
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path_, perms, fs::perm_options::replace);
    ASSERT_TRUE(ReplaceFileAtomically(path_, "new"));
    EXPECT_EQ(fs::status(path_).permissions(), perms);
    EXPECT_EQ(ReadBytes(path_), "new");
}

TEST_F(AtomicFileTest, ReplacesTheFileBehindALink) {
    const fs::path real = folder_.Path() / "real.ini";
    WriteBytes(real, "old");
    fs::create_symlink(real, path_);
    ASSERT_TRUE(ReplaceFileAtomically(path_, "new"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path_)));
    EXPECT_EQ(ReadBytes(real), "new");
}

TEST_F(AtomicFileTest, RefusesWhatCannotBeWritten) {
    WriteBytes(folder_.Path() / "plain", "x");
    EXPECT_FALSE(ReplaceFileAtomically(folder_.Path() / "missing" / "a.ini", "x"));
    EXPECT_FALSE(ReplaceFileAtomically(folder_.Path() / "plain" / "a.ini", "x"));
    EXPECT_FALSE(ReplaceFileAtomically(folder_.Path(), "x"));
    EXPECT_EQ(FolderEntries(), std::vector<fs::path>{"plain"});
}

}  // namespace
}  // namespace kestrova
