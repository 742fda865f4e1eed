#include "base/text_codec.h"

#include <cstddef>
#include <cstdint>

namespace kestrova {

namespace {

// The characters of bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
// Byte 0x98 has no character in the code page: it maps to U+0098 so that every byte reads and
// writes back unchanged.
constexpr char32_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

constexpr char32_t kFirstLetter = 0x0410;  // А, byte 0xC0
constexpr char32_t kLastLetter = 0x044F;   // я, byte 0xFF

char32_t Cp1251Char(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte < 0xC0) return kUpperHalf[byte - 0x80];
    return kFirstLetter + (byte - 0xC0);
}

// The byte of `c` in the code page, or '?' when it has none.
char Cp1251Byte(char32_t c) {
    if (c < 0x80) return static_cast<char>(c);
    if (c >= kFirstLetter && c <= kLastLetter)
        return static_cast<char>(0xC0 + static_cast<unsigned>(c - kFirstLetter));
    for (unsigned i = 0; i < 64; ++i)
        if (kUpperHalf[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

struct DecodedChar {
    bool valid = false;
    char32_t value = 0;
    std::size_t length = 1;  // bytes taken; for an invalid sequence, its maximal valid prefix
};

// One character of `bytes` at `pos` (pos < size). Overlong forms, surrogates and values above
// U+10FFFF are invalid. An invalid sequence takes the bytes that could still have begun a
// character (at least one), so the next byte that breaks it starts afresh.
DecodedChar DecodeUtf8At(std::string_view bytes, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80) return {true, lead, 1};

    std::size_t need = 0;
    char32_t value = 0;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return {false, 0, 1};
    }

    std::size_t length = 1;
    for (std::size_t i = 0; i < need; ++i) {
        if (pos + length >= bytes.size()) return {false, 0, length};
        const auto next = static_cast<unsigned char>(bytes[pos + length]);
        const unsigned char from = i == 0 ? low : 0x80;
        const unsigned char to = i == 0 ? high : 0xBF;
        if (next < from || next > to) return {false, 0, length};
        value = (value << 6) | (next & 0x3Fu);
        ++length;
    }
    return {true, value, length};
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const DecodedChar c = DecodeUtf8At(utf8, pos);
        out += c.valid ? Cp1251Byte(c.value) : '?';
        pos += c.length;
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char byte : cp1251) AppendUtf8(out, Cp1251Char(static_cast<unsigned char>(byte)));
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const DecodedChar c = DecodeUtf8At(bytes, pos);
        if (!c.valid) return false;
        pos += c.length;
    }
    return true;
}

std::string DecodeTextFile(std::string_view bytes) {
    std::string_view body = bytes;
    if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
    if (IsValidUtf8(body)) return std::string(body);
    return Cp1251ToUtf8(bytes);
}

}  // namespace kestrova
