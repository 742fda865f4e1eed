#include "platform/disk_sync.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/temp_tree.h"

namespace kestrova {
namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SyncFileToDisk, LeavesTheFileAsWrittenAndIgnoresMissingOnes) {
    test::TempTree tree;
    tree.Write("stats/1-2024.ini", "[Stat]\r\nTime=5\r\n");
    const auto file = tree.Root() / "stats" / "1-2024.ini";

    SyncFileToDisk(file);
    EXPECT_EQ(Contents(file), "[Stat]\r\nTime=5\r\n");

    // A name without a folder is synced in the working folder; a missing file is no error.
    const auto oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(tree.Root() / "stats");
    SyncFileToDisk("1-2024.ini");
    std::filesystem::current_path(oldFolder);
    EXPECT_NO_THROW(SyncFileToDisk(tree.Root() / "missing.ini"));
    EXPECT_FALSE(std::filesystem::exists(tree.Root() / "missing.ini"));
    EXPECT_EQ(Contents(file), "[Stat]\r\nTime=5\r\n");
}

}  // namespace
}  // namespace kestrova
