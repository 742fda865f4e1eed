#pragma once

#include "meter/folder_watch.h"

namespace kestrova {

// A folder watched through inotify for files deleted or moved out of it. Its descriptor
// becomes readable when that happens, so the event loop can wake only then.
class InotifyFolderWatch : public FolderWatch {
public:
    InotifyFolderWatch();
    ~InotifyFolderWatch() override;
    InotifyFolderWatch(const InotifyFolderWatch&) = delete;
    InotifyFolderWatch& operator=(const InotifyFolderWatch&) = delete;

    void Watch(const std::filesystem::path& folder) override;
    bool TakeRemovals() override;
    // Readable while removals wait to be taken; -1 when inotify is not available.
    int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
    bool watching_ = false;
};

}  // namespace kestrova
