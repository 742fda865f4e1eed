#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace kestrova {

// The bytes of the settings files as this process last read or wrote them, shared by every
// IniFile, so that a tick that changes nothing reads no file.
//
// Nothing stale is ever served. An inotify watch tells of every change: the file's own inode is
// watched for writes through any path (a hard link, a bind mount) and for changes of its
// permissions; its folder for the file being created, deleted, renamed or replaced; and each
// folder above it for the path's folders being renamed, replaced or given other permissions.
// The kernel queues the event before the changing call returns, and each read first takes every
// queued event, so a change finished before a read began is always seen by it. A file's size
// and modification time could not promise as much: the time stamp comes from a clock that
// advances once per timer tick, and another program can rewrite the same number of bytes
// within the same tick.
//
// Our own write of the same size is made in place and kept only when, once every event up to
// then is taken, the file holds exactly the bytes written: a change by another program in
// between shows in the bytes, and a later one comes as an event. Any other write of ours is read
// back at the next read.
//
// Where the watches cannot promise it, the file is read every time: without inotify, for a
// symbolic link, for a folder path through a symbolic link, and on a file system whose files
// other machines can change (NFS, SMB, FUSE). When the event queue overflows, every file is
// read again. A write through a shared memory mapping is the one change inotify does not
// report; settings files are not written that way.
class SettingsFileCache {
public:
    struct Contents {
        std::shared_ptr<const std::string> bytes;  // null when the file cannot be read
        bool absent = false;                       // ... because there is no such file
    };

    static SettingsFileCache& Instance();

    // The file's bytes as they are now.
    Contents Read(const std::filesystem::path& path);
    // Replaces the file's content with `bytes` (as ReplaceFileAtomically does); false when
    // the system refuses.
    bool Write(const std::filesystem::path& path, std::string bytes);
    // How many times a file's bytes were read from the disk, for tests.
    std::uint64_t DiskReads() const;

    SettingsFileCache(const SettingsFileCache&) = delete;
    SettingsFileCache& operator=(const SettingsFileCache&) = delete;

private:
    SettingsFileCache();
    ~SettingsFileCache();
    class Watches;
    std::unique_ptr<Watches> watches_;
};

}  // namespace kestrova
