#include "rates/rate_file.h"

#include <fstream>
#include <string>

#include "base/atomic_file.h"
#include "base/text_codec.h"

namespace kestrova {

namespace {

constexpr char kFieldSeparator = '|';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kExtension = ".kvtl";

// Takes the text before the first "|" and removes it with the "|"; without a "|" it takes an
// empty text and leaves `rest` as it is.
std::string_view Cut(std::string_view& rest) {
    const std::size_t bar = rest.find(kFieldSeparator);
    if (bar == std::string_view::npos) return {};
    const std::string_view field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
    return field;
}

// The next line of `text` from `pos` on: it ends at LF, a CR before the LF belongs to the line
// end; `pos` moves past the line end.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t feed = text.find('\n', pos);
    const std::size_t stop = feed == std::string_view::npos ? text.size() : feed;
    std::string_view line = text.substr(pos, stop - pos);
    if (feed != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    pos = feed == std::string_view::npos ? text.size() : feed + 1;
    return line;
}

template <typename Char>
Char LowerAscii(Char c) {
    return c >= Char('A') && c <= Char('Z') ? Char(c - Char('A') + Char('a')) : c;
}

bool ContainsExtension(const std::filesystem::path::string_type& name) {
    if (name.size() < kExtension.size()) return false;
    for (std::size_t from = 0; from + kExtension.size() <= name.size(); ++from) {
        bool same = true;
        for (std::size_t i = 0; i < kExtension.size() && same; ++i)
            same = LowerAscii(name[from + i]) ==
                   static_cast<std::filesystem::path::value_type>(kExtension[i]);
        if (same) return true;
    }
    return false;
}

}  // namespace

RateFileContent ParseRateFile(std::string_view bytes) {
    const std::string text = DecodeTextFile(bytes);
    RateTable table;
    RateFileContent content;
    for (std::size_t pos = 0; pos < text.size();) {
        std::string_view rest = NextLine(text, pos);
        if (rest.find(kFieldSeparator) == std::string_view::npos) {
            content.stoppedAtForeignLine = true;  // not a rate, and nothing after it is read
            break;
        }
        const std::string_view start = Cut(rest);
        const std::string_view end = Cut(rest);
        const std::string_view price = Cut(rest);
        Cut(rest);  // a fourth field, possible only in a line with more than three "|", is lost
        table.Append(std::string(start), std::string(end), std::string(price), std::string(rest));
    }
    content.rows = table.Rows();
    return content;
}

std::optional<RateFileContent> ReadRateFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return ParseRateFile(bytes);
}

std::string SerializeRateFile(const std::vector<RateRow>& rows) {
    std::string text;
    for (const RateRow& row : rows) {
        text += row.start;
        text += kFieldSeparator;
        text += row.end;
        text += kFieldSeparator;
        text += row.price;
        text += kFieldSeparator;
        text += row.day;
        text += kLineEnd;
    }
    return Utf8ToCp1251(text);
}

bool WriteRateFile(const std::filesystem::path& path, const std::vector<RateRow>& rows) {
    return ReplaceFileAtomically(path, SerializeRateFile(rows));
}

std::filesystem::path RateFileName(const std::filesystem::path& chosen) {
    if (ContainsExtension(chosen.native())) return chosen;
    std::filesystem::path name = chosen;
    name += kExtension;
    return name;
}

}  // namespace kestrova
