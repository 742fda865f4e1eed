// The stats folder's watch: removals are seen, our own writes are not.

#include "platform/inotify_folder_watch.h"

#include <gtest/gtest.h>

#include "temp_tree.h"

namespace kestrova {
namespace {

TEST(InotifyFolderWatch, SeesRemovalsAndNotWritesInPlaceOrRenamesOver) {
    test::TempTree tree;
    tree.Write("stats/3-2027.ini", "[Count]\r\n");
    const auto folder = tree.Root() / "stats";
    InotifyFolderWatch watch;
    watch.Watch(folder);
    ASSERT_GE(watch.Descriptor(), 0);
    EXPECT_FALSE(watch.TakeRemovals());

    tree.Write("stats/3-2027.ini", "[Count]\r\nSecond=1\r\n");  // in place
    tree.Write("stats/3-2027.ini.tmp", "[Count]\r\nSecond=2\r\n");
    std::filesystem::rename(folder / "3-2027.ini.tmp", folder / "3-2027.ini");
    // A rename over the file is a move out of the temporary's name: one look, then quiet.
    watch.TakeRemovals();
    tree.Write("stats/3-2027.ini", "[Count]\r\nSecond=3\r\n");
    EXPECT_FALSE(watch.TakeRemovals());

    std::filesystem::remove(folder / "3-2027.ini");
    EXPECT_TRUE(watch.TakeRemovals());
    EXPECT_FALSE(watch.TakeRemovals());  // taken

    // The folder goes and comes back: the renewed watch follows the new one.
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(watch.TakeRemovals());
    tree.Write("stats/3-2027.ini", "");
    watch.Watch(folder);
    EXPECT_FALSE(watch.TakeRemovals());
    std::filesystem::remove(folder / "3-2027.ini");
    EXPECT_TRUE(watch.TakeRemovals());
}

TEST(InotifyFolderWatch, AFolderThatCannotBeWatchedAnswersYesEveryTime) {
    test::TempTree tree;
    InotifyFolderWatch watch;
    watch.Watch(tree.Root() / "missing");
    EXPECT_TRUE(watch.TakeRemovals());
    EXPECT_TRUE(watch.TakeRemovals());
}

}  // namespace
}  // namespace kestrova
