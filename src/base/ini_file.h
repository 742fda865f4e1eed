#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrova {

// A key with its section.
struct IniKey {
    std::string_view section;
    std::string_view name;
};

// A write the system refused. what() is "Unable to write to <path>".
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::filesystem::path& path);
};

// An initialization file: "[Section]" lines and "Key=Value" lines. Section and key names match
// without regard to ASCII letter case; the value is everything after the first "=", without
// the blanks and tabs around it. Values are bytes, kept as they stand in the file.
//
// Every read sees every earlier write, through this or any other instance, and a change made to
// the file by another program: the file's bytes come from the SettingsFileCache below, which
// reads the file again whenever anything changed it. A write replaces the whole file
// atomically, so the file is always either the old or the new content.
class IniFile {
public:
    static constexpr std::size_t kMaxTextLength = 2047;

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    // The value, cut to kMaxTextLength bytes, or `fallback` when the key is absent.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" (when longer than two characters) or "$";
    // `fallback` when absent, empty or malformed, or out of range. Hexadecimal gives the bits
    // of the integer: "$FFFFFFFF" reads as -1.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // As ReadInteger, 64-bit: "$FFFFFFFF" reads as 4294967295, "$FFFFFFFFFFFFFFFF" as -1.
    std::int64_t ReadInteger64(std::string_view section, std::string_view key,
                               std::int64_t fallback) const;
    // ReadString(section, key, fallback) == expected, exactly.
    bool ReadFlag(std::string_view section, std::string_view key, std::string_view fallback,
                  std::string_view expected = "1") const;
    // Whether a "[section]" line is present, with or without keys.
    bool SectionExists(std::string_view section) const;

    // Each write replaces the key's value, or adds the key (and the section) when missing; the
    // first write creates the file. A write that changes nothing leaves the file untouched.
    // Throws IniWriteError when the system refuses.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    // The shortest decimal text of `value` with `decimalSeparator` as its point.
    void WriteNumber(std::string_view section, std::string_view key, double value,
                     char decimalSeparator);

    // The same, for a key named with its section.
    std::string ReadString(IniKey key, std::string_view fallback) const {
        return ReadString(key.section, key.name, fallback);
    }
    std::int32_t ReadInteger(IniKey key, std::int32_t fallback) const {
        return ReadInteger(key.section, key.name, fallback);
    }
    bool ReadFlag(IniKey key, std::string_view fallback, std::string_view expected = "1") const {
        return ReadFlag(key.section, key.name, fallback, expected);
    }
    void WriteString(IniKey key, std::string_view value) {
        WriteString(key.section, key.name, value);
    }
    void WriteInteger(IniKey key, std::int64_t value) {
        WriteInteger(key.section, key.name, value);
    }
    void WriteNumber(IniKey key, double value, char decimalSeparator) {
        WriteNumber(key.section, key.name, value, decimalSeparator);
    }

private:
    std::filesystem::path path_;
};

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
