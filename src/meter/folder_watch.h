#pragma once

#include <filesystem>

namespace kestrova {

// Tells whether a file may have left a folder (deleted or moved away) since the last question,
// so that a missing file is noticed without looking at the disk again and again.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;
    // Starts watching `folder`, or renews the watch after the folder was re-created. When it
    // cannot be watched, TakeRemovals answers true every time.
    virtual void Watch(const std::filesystem::path& folder) = 0;
    // True when something left the folder (or the folder itself went) since the last call, or
    // when the folder is not watched; clears what was noted.
    virtual bool TakeRemovals() = 0;
};

}  // namespace kestrova
