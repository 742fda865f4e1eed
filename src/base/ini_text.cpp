#include "base/ini_text.h"

#include <cstddef>

namespace kestrova {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

// One line: its content is [begin, contentEnd), its line break [contentEnd, end).
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

Line LineAt(std::string_view text, std::size_t begin) {
    Line line{begin, text.size(), text.size()};
    const std::size_t lf = text.find('\n', begin);
    if (lf != std::string_view::npos) line.contentEnd = lf, line.end = lf + 1;
    if (line.contentEnd > begin && text[line.contentEnd - 1] == '\r') --line.contentEnd;
    return line;
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
    LineKind kind = LineKind::kOther;
    std::string_view name;
    std::string_view value;
    std::size_t valueBegin = 0;  // where a key's stored value starts in the text
};

ParsedLine ParseLine(std::string_view text, const Line& line) {
    std::size_t begin = line.begin;
    // Editors on Windows may start the file with a byte order mark.
    if (begin == 0 && text.starts_with(kUtf8Bom)) begin = kUtf8Bom.size();
    const std::string_view content = text.substr(begin, line.contentEnd - begin);
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() == ';') return {};
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos)
            return {LineKind::kSection, Trim(trimmed.substr(1, close - 1)), {}, 0};
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return {};
    std::size_t valueBegin = equals + 1;
    while (valueBegin < content.size() && IsBlank(content[valueBegin])) ++valueBegin;
    return {LineKind::kKey, Trim(content.substr(0, equals)), Trim(content.substr(valueBegin)),
            begin + valueBegin};
}

struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;                // the key's line, when found
    std::size_t valueBegin = 0;  // where its value starts, when found
    std::string_view value;
    Line lastLine;  // the section's header or its last key line, when the section is found
};

KeyPlace Locate(std::string_view text, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inSection = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const Line line = LineAt(text, pos);
        pos = line.end;
        const ParsedLine parsed = ParseLine(text, line);
        if (parsed.kind == LineKind::kSection) {
            if (inSection) break;  // later sections of the same name do not count
            if (SameName(parsed.name, section)) {
                inSection = place.sectionFound = true;
                place.lastLine = line;
            }
        } else if (parsed.kind == LineKind::kKey && inSection) {
            if (SameName(parsed.name, key)) {
                place.keyFound = true;
                place.keyLine = line;
                place.valueBegin = parsed.valueBegin;
                place.value = parsed.value;
                break;
            }
            place.lastLine = line;
        }
    }
    return place;
}

// LF when every line of the text ends in a bare LF, else CR LF.
std::string_view LineBreakOf(std::string_view text) {
    bool anyLf = false;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos;
         lf = text.find('\n', lf + 1)) {
        if (lf > 0 && text[lf - 1] == '\r') return "\r\n";
        anyLf = true;
    }
    return anyLf ? "\n" : "\r\n";
}

// Ends the last line of `text`, if it has no line break yet.
void EndLastLine(std::string& text, std::string_view lineBreak) {
    if (text.empty() || text.back() == '\n') return;
    text += text.back() == '\r' ? "\n" : lineBreak;
}

// Whether the last line of `text`, which ends in a line break, holds nothing but blanks.
bool LastLineIsBlank(std::string_view text) {
    if (text.empty()) return true;
    text.remove_suffix(1);
    const std::size_t lf = text.rfind('\n');
    std::string_view last = text.substr(lf == std::string_view::npos ? 0 : lf + 1);
    if (!last.empty() && last.back() == '\r') last.remove_suffix(1);
    return Trim(last).empty();
}

void AppendKeyLine(std::string& text, std::string_view key, std::string_view value,
                   std::string_view lineBreak) {
    text.append(key).append("=").append(value).append(lineBreak);
}

}  // namespace

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
    const KeyPlace place = Locate(text, section, key);
    if (!place.keyFound) return std::nullopt;
    return place.value;
}

bool HasIniSection(std::string_view text, std::string_view section) {
    for (std::size_t pos = 0; pos < text.size();) {
        const Line line = LineAt(text, pos);
        pos = line.end;
        const ParsedLine parsed = ParseLine(text, line);
        if (parsed.kind == LineKind::kSection && SameName(parsed.name, section)) return true;
    }
    return false;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string_view stored = value.substr(0, value.find_first_of("\r\n"));
    const KeyPlace place = Locate(text, section, key);
    std::string result;
    result.reserve(text.size() + section.size() + key.size() + stored.size() + 8);
    if (place.keyFound) {
        result.append(text.substr(0, place.valueBegin));
        result.append(stored);
        result.append(text.substr(place.keyLine.contentEnd));
        return result;
    }
    const std::string_view lineBreak = LineBreakOf(text);
    if (place.sectionFound) {
        result.append(text.substr(0, place.lastLine.end));
        EndLastLine(result, lineBreak);
        AppendKeyLine(result, key, stored, lineBreak);
        result.append(text.substr(place.lastLine.end));
        return result;
    }
    result.append(text);
    EndLastLine(result, lineBreak);
    if (!LastLineIsBlank(result)) result.append(lineBreak);
    result.append("[").append(section).append("]").append(lineBreak);
    AppendKeyLine(result, key, stored, lineBreak);
    return result;
}

}  // namespace kestrova
