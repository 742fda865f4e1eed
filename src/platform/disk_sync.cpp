#include "platform/disk_sync.h"

#include <fcntl.h>
#include <unistd.h>

namespace kestrova {
namespace {

void SyncPath(const char* path, int extraFlags) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | extraFlags);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void SyncFileToDisk(const std::filesystem::path& file) {
    SyncPath(file.c_str(), 0);
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    SyncPath(folder.c_str(), O_DIRECTORY);
}

}  // namespace kestrova
