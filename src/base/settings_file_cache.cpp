#include "base/settings_file_cache.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/atomic_file.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

// What a folder's watch reports: its entries created, deleted, renamed, their permissions, and
// the folder itself moved or deleted.
constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// What a file's watch reports: every write and truncation, through any path, its permissions
// and links, and the file deleted.
constexpr std::uint32_t kFileEvents =
    IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_DONT_FOLLOW;

// File systems whose every change passes through this kernel, so that inotify hears of it.
// Network and FUSE file systems are left out: another machine can change their files.
bool LocalFileSystem(const fs::path& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<std::uint32_t>(info.f_type)) {
        case EXT4_SUPER_MAGIC:  // ext2, ext3 and ext4
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case TMPFS_MAGIC:
        case RAMFS_MAGIC:
        case F2FS_SUPER_MAGIC:
        case OVERLAYFS_SUPER_MAGIC:
        case REISERFS_SUPER_MAGIC:
        case MSDOS_SUPER_MAGIC:
        case 0x2011BAB0:  // exFAT
        case 0x7366746E:  // NTFS (ntfs3)
        case 0x2FC12FC1:  // ZFS
        case 0x3153464A:  // JFS
        case 0xCA451A4E:  // bcachefs
            return true;
        default:
            return false;
    }
}

struct Loaded {
    SettingsFileCache::Contents contents;
    bool cacheable = false;  // a regular file (or none), not reached through a symbolic link
};

// The file's bytes from the disk. A FIFO or a device is not waited on: it reads as unreadable.
Loaded LoadFile(const fs::path& path) {
    Loaded loaded;
    bool link = false;
    int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (file < 0 && errno == ELOOP) {
        link = true;
        file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (file < 0) {
        loaded.contents.absent = errno == ENOENT;
        loaded.cacheable = loaded.contents.absent && !link;
        return loaded;
    }
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        return loaded;
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t used = 0;
    for (;;) {  // to the end, should the file have grown meanwhile
        if (used == bytes.size()) bytes.resize(bytes.size() + 4096);
        const ssize_t got = ::read(file, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(file);
            return loaded;
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    ::close(file);
    bytes.resize(used);
    loaded.contents.bytes = std::make_shared<const std::string>(std::move(bytes));
    loaded.cacheable = !link;
    return loaded;
}

}  // namespace

class SettingsFileCache::Watches {
public:
    Watches() {
        // A child process has its own settings readers; the watches stay with the parent.
        ::pthread_atfork(nullptr, nullptr,
                         [] { SettingsFileCache::Instance().watches_->forked_ = true; });
    }
    ~Watches() { Reset(); }

    Contents Read(const fs::path& path) {
        const std::lock_guard lock(mutex_);
        if (!Prepare() || !Drain(-1)) return Load(path).contents;
        const std::string key = Key(path);
        const auto known = entries_.find(key);
        if (known != entries_.end()) return known->second.contents;
        return Fill(key);
    }

    bool Write(const fs::path& path, std::string bytes) {
        const std::lock_guard lock(mutex_);
        if (Prepare() && Drain(-1)) {
            const std::string key = Key(path);
            const auto known = entries_.find(key);
            if (known != entries_.end() && known->second.contents.bytes &&
                known->second.contents.bytes->size() == bytes.size() &&
                bytes.size() <= kInPlaceWriteLimit) {
                switch (OverwriteInPlace(key, known->second, bytes)) {
                    case Overwrite::kDone:
                        return true;
                    case Overwrite::kFailed:
                        return false;
                    case Overwrite::kNotTried:
                        break;
                }
            }
            entries_.erase(key);  // the next read takes the file as it then is
        }
        return ReplaceFileAtomically(path, bytes);
    }

    std::uint64_t DiskReads() {
        const std::lock_guard lock(mutex_);
        return diskReads_;
    }

private:
    struct Entry {
        int folderWatch = -1;
        int fileWatch = -1;  // -1 for a file that is not there
        std::string name;
        Contents contents;
    };
    enum class Overwrite { kNotTried, kDone, kFailed };

    static std::string Key(const fs::path& path) {
        return path.is_absolute() ? path.native() : fs::absolute(path).native();
    }

    // The inotify instance, made at the first use; false when there is none to be had.
    bool Prepare() {
        if (forked_) {
            forked_ = false;
            unavailable_ = false;
            Reset();
        }
        if (inotify_ < 0 && !unavailable_) {
            inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            unavailable_ = inotify_ < 0;
        }
        return inotify_ >= 0;
    }

    // Forgets every file and every watch: the next reads go to the disk and watch anew.
    void Reset() {
        if (inotify_ >= 0) ::close(inotify_);
        inotify_ = -1;
        entries_.clear();
        folders_.clear();
        folderWatches_.clear();
        guards_.clear();
    }

    Loaded Load(const fs::path& path) {
        ++diskReads_;
        return LoadFile(path);
    }

    // Takes every queued event and forgets what it changed. Writes to `expected` (a file this
    // process has just written itself) are passed over: the caller checks the file's bytes.
    // False when there is no inotify instance any more to go on with.
    bool Drain(int expected) {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && errno == EAGAIN) return true;
            if (got <= 0) {
                Reset();
                return Prepare();
            }
            for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                const std::string_view name =
                    event.len > 0 ? std::string_view(buffer + at + sizeof event) : "";
                at += sizeof event + event.len;
                if (event.wd == expected && event.mask == IN_MODIFY) continue;
                if (!Apply(event, name.substr(0, name.find('\0')))) {
                    Reset();  // every watch anew, on a new instance
                    return Prepare();
                }
            }
        }
    }

    // Forgets the files one event may have changed; false when it may have changed any.
    bool Apply(const inotify_event& event, std::string_view name) {
        if (event.mask & IN_Q_OVERFLOW) return false;
        if (name.empty()) {
            // The watched file or folder itself. A folder moved, deleted or given other
            // permissions changes every path through it.
            if (folderWatches_.count(event.wd)) return false;
            std::erase_if(entries_, [&](const auto& e) { return e.second.fileWatch == event.wd; });
            return true;
        }
        const auto guard = guards_.find(event.wd);
        if (guard != guards_.end() &&
            std::find(guard->second.begin(), guard->second.end(), name) != guard->second.end())
            return false;  // a folder on the way to watched files
        std::erase_if(entries_, [&](const auto& e) {
            return e.second.folderWatch == event.wd && e.second.name == name;
        });
        return true;
    }

    // Reads a file not known yet, and keeps it when its watches can vouch for it.
    Contents Fill(const std::string& key) {
        const fs::path path(key);
        const fs::path name = path.filename();
        // "." or ".." could lead through a symbolic link elsewhere than the path reads.
        if (name.empty() || path.lexically_normal().native() != key) return Load(path).contents;
        const int folderWatch = WatchFolder(path.parent_path());
        if (folderWatch < 0) return Load(path).contents;
        const int fileWatch = ::inotify_add_watch(inotify_, key.c_str(), kFileEvents);
        Loaded loaded = Load(path);
        if (loaded.cacheable && (fileWatch >= 0 || !loaded.contents.bytes))
            entries_[key] = Entry{folderWatch, fileWatch, name.native(), loaded.contents};
        return loaded.contents;
    }

    // The watch of a folder and of each folder above it, or -1 where the watches cannot vouch
    // for the folder's files.
    int WatchFolder(const fs::path& folder) {
        const auto known = folders_.find(folder.native());
        if (known != folders_.end()) return known->second;
        fs::path above = folder.root_path();
        for (const fs::path& part : folder.relative_path()) {
            const int watch = ::inotify_add_watch(inotify_, above.c_str(), kFolderEvents);
            if (watch < 0) return Refuse(folder);
            folderWatches_.insert(watch);
            std::vector<std::string>& names = guards_[watch];
            if (std::find(names.begin(), names.end(), part.native()) == names.end())
                names.push_back(part.native());
            above /= part;
        }
        const int watch = ::inotify_add_watch(inotify_, folder.c_str(), kFolderEvents);
        if (watch < 0) return Refuse(folder);
        folderWatches_.insert(watch);
        // Every change from here on is heard of; now the path must be the folder's own, with no
        // symbolic link on the way, on a file system that only this kernel changes.
        char real[PATH_MAX];
        if (::realpath(folder.c_str(), real) == nullptr || folder.native() != real ||
            !LocalFileSystem(folder))
            return Refuse(folder);
        folders_[folder.native()] = watch;
        return watch;
    }

    // A folder that is not there yet may be made later: it is tried again then.
    int Refuse(const fs::path& folder) {
        std::error_code error;
        if (fs::is_directory(folder, error)) folders_[folder.native()] = -1;
        return -1;
    }

    // Overwrites a known file of the same size in place, and keeps the new bytes when the file
    // holds exactly them once every event up to now is taken: a change by another program in
    // between shows in the bytes, and any later one comes as an event.
    Overwrite OverwriteInPlace(const std::string& key, const Entry& entry, std::string_view bytes) {
        const int file = ::open(key.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (file < 0) return Overwrite::kNotTried;
        struct stat status {};
        if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode) ||
            static_cast<std::size_t>(status.st_size) != bytes.size()) {
            ::close(file);
            return Overwrite::kNotTried;
        }
        const int fileWatch = entry.fileWatch;
        // Another path to the same file (a hard link) is read again.
        std::erase_if(entries_, [&](const auto& e) {
            return e.second.fileWatch == fileWatch && e.first != key;
        });
        const ssize_t wrote = ::pwrite(file, bytes.data(), bytes.size(), 0);
        if (wrote != static_cast<ssize_t>(bytes.size())) {
            ::close(file);
            entries_.erase(key);
            return Overwrite::kFailed;
        }
        const bool watched = Drain(fileWatch);
        std::string check(bytes.size() + 1, '\0');
        const ssize_t got = ::pread(file, check.data(), check.size(), 0);
        ::close(file);
        const auto kept = entries_.find(key);
        if (!watched || kept == entries_.end()) return Overwrite::kDone;
        if (got == static_cast<ssize_t>(bytes.size()) &&
            std::string_view(check).substr(0, bytes.size()) == bytes)
            kept->second.contents.bytes = std::make_shared<const std::string>(bytes);
        else
            entries_.erase(kept);
        return Overwrite::kDone;
    }

    std::mutex mutex_;
    int inotify_ = -1;
    bool unavailable_ = false;
    bool forked_ = false;
    std::uint64_t diskReads_ = 0;
    std::unordered_map<std::string, Entry> entries_;  // by the path as given, made absolute
    std::unordered_map<std::string, int> folders_;    // a folder's watch, -1 where none can vouch
    std::unordered_set<int> folderWatches_;
    // The names in a watched folder that lead down to watched folders.
    std::unordered_map<int, std::vector<std::string>> guards_;
};

SettingsFileCache::SettingsFileCache() : watches_(std::make_unique<Watches>()) {}
SettingsFileCache::~SettingsFileCache() = default;

SettingsFileCache& SettingsFileCache::Instance() {
    static SettingsFileCache cache;
    return cache;
}

SettingsFileCache::Contents SettingsFileCache::Read(const fs::path& path) {
    return watches_->Read(path);
}

bool SettingsFileCache::Write(const fs::path& path, std::string bytes) {
    return watches_->Write(path, std::move(bytes));
}

std::uint64_t SettingsFileCache::DiskReads() const {
    return watches_->DiskReads();
}

}  // namespace kestrova
