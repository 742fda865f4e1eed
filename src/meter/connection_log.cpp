#include "meter/connection_log.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "base/atomic_file.h"
#include "base/text_codec.h"

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
    std::ofstream out(log, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
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
