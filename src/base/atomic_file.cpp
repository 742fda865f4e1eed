#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <system_error>

namespace kestrova {

namespace fs = std::filesystem;

namespace {

// A name beside `target` that no file has yet. The clock and a stack address (which differs
// between processes) make two writers pick different names.
fs::path FreeTemporaryPath(const fs::path& target) {
    int marker = 0;
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&marker);
    for (std::uint64_t attempt = 0; attempt < 16; ++attempt) {
        char digits[20];
        const auto end = std::to_chars(digits, digits + sizeof digits, seed + attempt, 16).ptr;
        fs::path candidate = target;
        candidate += "." + std::string(digits, end) + ".tmp";
        std::error_code error;
        if (fs::status(candidate, error).type() == fs::file_type::not_found) return candidate;
    }
    return {};
}

bool WriteNewFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// The file at `path` (through a link, the file it points to) when it is a regular file of
// exactly `bytes`' size, overwritten by one write. Nothing when it is not such a file.
std::optional<bool> OverwriteSameSize(const fs::path& path, std::string_view bytes) {
    const int file = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file < 0) return std::nullopt;
    struct stat status {};
    std::optional<bool> written;
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uintmax_t>(status.st_size) == bytes.size()) {
        ssize_t wrote;
        do {
            wrote = ::pwrite(file, bytes.data(), bytes.size(), 0);
        } while (wrote < 0 && errno == EINTR);
        written = wrote == static_cast<ssize_t>(bytes.size());
    }
    ::close(file);
    return written;
}

bool OverwriteInPlace(const fs::path& path, std::string_view bytes) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    // The once-a-second case first: one open, one write, no other look-up of the path.
    if (bytes.size() <= kInPlaceWriteLimit)
        if (const std::optional<bool> written = OverwriteSameSize(path, bytes)) return *written;
    std::error_code error;
    fs::path target = path;
    fs::file_status existing = fs::symlink_status(path, error);
    if (fs::is_symlink(existing)) {
        // A link stays a link: the file it points to is the one replaced.
        target = fs::canonical(path, error);
        if (error) return false;
        existing = fs::status(target, error);
    }
    const bool exists = existing.type() != fs::file_type::not_found;
    if (exists) {
        if (!fs::is_regular_file(existing)) return false;
        const std::uintmax_t size = fs::file_size(target, error);
        if (!error && size == bytes.size() && size <= kInPlaceWriteLimit)
            return OverwriteInPlace(target, bytes);
        // Renaming over a read-only file would go round its protection: refuse it as a
        // direct write would be refused.
        if (!std::ofstream(target, std::ios::binary | std::ios::app)) return false;
    }

    const fs::path temporary = FreeTemporaryPath(target);
    if (temporary.empty()) return false;
    if (!WriteNewFile(temporary, bytes)) {
        fs::remove(temporary, error);
        return false;
    }
    if (exists)
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::string TemporaryTargetName(std::string_view name) {
    constexpr std::string_view kSuffix = ".tmp";
    constexpr std::size_t kMaxDigits = 16;  // a 64-bit number in hexadecimal
    if (!name.ends_with(kSuffix)) return {};
    name.remove_suffix(kSuffix.size());
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    const std::string_view digits = name.substr(dot + 1);
    if (digits.empty() || digits.size() > kMaxDigits) return {};
    for (const char c : digits) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
    }
    return std::string(name.substr(0, dot));
}

int RemoveLeftoverTemporaries(const fs::path& folder,
                              const std::function<bool(std::string_view)>& ours) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string target = TemporaryTargetName(name);
        if (target.empty() || !ours(target)) continue;
        std::error_code ignored;
        if (!it->is_regular_file(ignored)) continue;
        if (fs::remove(it->path(), ignored)) ++removed;
    }
    return removed;
}

}  // namespace kestrova
