#include "platform/inotify_folder_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace kestrova {

namespace {

// Our own writes change files in place or rename over them: neither is a removal, so the
// once-a-second write never wakes anybody.
constexpr std::uint32_t kRemovals = IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

InotifyFolderWatch::InotifyFolderWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

InotifyFolderWatch::~InotifyFolderWatch() {
    if (fd_ >= 0) close(fd_);
}

void InotifyFolderWatch::Watch(const std::filesystem::path& folder) {
    // Watching the same folder again keeps its watch; a re-created folder gets a new one.
    watching_ = fd_ >= 0 && inotify_add_watch(fd_, folder.c_str(), kRemovals) >= 0;
}

bool InotifyFolderWatch::TakeRemovals() {
    if (!watching_) return true;
    bool removed = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd_, buffer, sizeof buffer);
        if (got > 0) {
            removed = true;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        break;  // EAGAIN: all taken
    }
    return removed;
}

}  // namespace kestrova
