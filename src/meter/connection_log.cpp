#include "meter/connection_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "rates/text_codec.h"
#include "settings/atomic_file.h"

namespace kestrova {

std::vector<std::string> SessionStartLines(const std::string& date, const std::string& time) {
    return {"", "Соединение начато: " + date + " " + time};
}

std::vector<std::string> SessionEndLines(const std::string& date, const std::string& time,
                                         const std::string& sessionTime,
                                         const std::string& sessionCost,
                                         const std::string& received, const std::string& sent) {
    return {"Соединение завершено: " + date + " " + time,
            "Время в сети: " + sessionTime + " Стоимость: " + sessionCost +
                " Входящий трафик: " + received + " Исходяший трафик " + sent};
}

bool AppendToLog(const std::filesystem::path& log, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";

    constexpr int kFlags = O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY;
    int fd = ::open(log.c_str(), O_RDWR | kFlags, 0666);
    // A log we may only write to is appended without looking at its end.
    const bool readable = fd >= 0;
    if (!readable) fd = ::open(log.c_str(), O_WRONLY | kFlags, 0666);
    if (fd < 0) return false;
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        ::close(fd);
        return false;
    }
    // A line left unfinished (by another writer, or a crash) is ended first, so the entry
    // starts on a line of its own.
    if (readable && before.st_size > 0) {
        char last[2] = {};
        const bool endsWithLineEnd = before.st_size >= 2 &&
                                     ::pread(fd, last, 2, before.st_size - 2) == 2 &&
                                     last[0] == '\r' && last[1] == '\n';
        if (!endsWithLineEnd) bytes.insert(0, "\r\n");
    }

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t got = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        written += static_cast<std::size_t>(got);
    }
    bool ok = written == bytes.size();
    // A full disk or a size limit: the entry goes whole or not at all, never half a line.
    if (!ok && written > 0) {
        while (::ftruncate(fd, before.st_size) != 0 && errno == EINTR) {
        }
    }
    if (::close(fd) != 0) ok = false;
    return ok;
}

double LogSizeKB(std::uintmax_t bytes) {
    return static_cast<double>(bytes / 128) / 8.0;
}

namespace {

// Lines as a text reader sees them: ended by CR LF or LF; a last line without an end counts.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::string> CutLog(std::string_view bytes, int limitKB) {
    if (!(static_cast<double>(limitKB) < LogSizeKB(bytes.size()))) return std::nullopt;
    const auto lines = SplitLines(bytes);
    if (lines.empty()) return std::nullopt;
    // Walk back from the newest line until the kept part holds limit × 985 characters.
    const double wanted = static_cast<double>(limitKB) * 985.0;
    double count = 0;
    std::size_t first = lines.size();
    while (first > 0) {
        --first;
        count += lines[first].empty() ? 2.0 : static_cast<double>(lines[first].size());
        if (count >= wanted) break;
    }
    // Begin right after an entry's empty line when one is among the first five kept lines.
    for (std::size_t i = first; i < lines.size() && i < first + 5; ++i) {
        if (lines[i].empty()) {
            first = i + 1;
            break;
        }
    }
    std::string kept;
    for (std::size_t i = first; i < lines.size(); ++i) {
        kept.append(lines[i]);
        kept += "\r\n";
    }
    return kept;
}

bool ControlLogSize(const std::filesystem::path& log, int limitKB) {
    std::error_code error;
    const auto size = std::filesystem::file_size(log, error);
    if (error || !(static_cast<double>(limitKB) < LogSizeKB(size))) return true;
    std::ifstream in(log, std::ios::binary);
    if (!in) return true;  // skipped, as a file that cannot be opened is
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    const auto kept = CutLog(bytes, limitKB);
    if (!kept) return true;
    return ReplaceFileAtomically(log, *kept);
}

}  // namespace kestrova
