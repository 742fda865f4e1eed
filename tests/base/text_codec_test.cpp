#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

using namespace std::string_literals;

// Bytes 0x80 to 0xBF as the code page defines them (0x98, undefined there, as U+0098).
const std::string kUpperHalfUtf8 =
    "\u0402\u0403\u201A\u0453\u201E\u2026\u2020\u2021\u20AC\u2030\u0409\u2039\u040A\u040C"
    "\u040B\u040F\u0452\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u0098\u2122\u0459\u203A"
    "\u045A\u045C\u045B\u045F\u00A0\u040E\u045E\u0408\u00A4\u0490\u00A6\u00A7\u0401\u00A9"
    "\u0404\u00AB\u00AC\u00AD\u00AE\u0407\u00B0\u00B1\u0406\u0456\u0491\u00B5\u00B6\u00B7"
    "\u0451\u2116\u0454\u00BB\u0458\u0405\u0455\u0457";
const std::string kAlphabetUtf8 =
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

std::string ByteRange(int from, int to) {
    std::string bytes;
    for (int b = from; b <= to; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST(TextCodec, UpperHalfMatchesTheCodePage) {
    EXPECT_EQ(Cp1251ToUtf8(ByteRange(0x80, 0xBF)), kUpperHalfUtf8);
    EXPECT_EQ(Cp1251ToUtf8(ByteRange(0xC0, 0xFF)), kAlphabetUtf8);
    EXPECT_EQ(Utf8ToCp1251(kUpperHalfUtf8), ByteRange(0x80, 0xBF));
    EXPECT_EQ(Utf8ToCp1251(kAlphabetUtf8), ByteRange(0xC0, 0xFF));
    EXPECT_EQ(Utf8ToCp1251("Ёё№«»–—"), "\xA8\xB8\xB9\xAB\xBB\x96\x97");
}

TEST(TextCodec, EveryByteRoundTrips) {
    const std::string all = ByteRange(0x00, 0xFF);
    const std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1251(utf8), all);
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a日b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?");  // one character of four bytes
    EXPECT_EQ(Utf8ToCp1251("é"), "?");
}

TEST(TextCodec, MalformedUtf8) {
    struct Case {
        std::string bytes;
        std::string cp1251;
    };
    const Case cases[] = {
        {"\x80", "?"},                 // stray continuation byte
        {"\xFF", "?"},                 // never a lead byte
        {"\xC0\xAF", "??"},            // overlong "/"
        {"\xE0\x80\xAF", "???"},       // overlong, three bytes
        {"\xED\xA0\x80", "???"},       // surrogate
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xE2\x82", "?"},             // cut short at the end
        {"\xE2\x82|", "?|"},           // cut short by an ASCII byte, which survives
        {"\xD0\xD0\x91", "?\xC1"},     // a new lead byte starts afresh
        {"a\xD0", "a?"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(IsValidUtf8(c.bytes)) << testing::PrintToString(c.bytes);
        EXPECT_EQ(Utf8ToCp1251(c.bytes), c.cp1251) << testing::PrintToString(c.bytes);
    }
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("a\0b"s));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBF"));      // U+FFFF
}

TEST(TextCodec, DecodeTextFileTellsUtf8FromWindows1251) {
    EXPECT_EQ(DecodeTextFile("Будние дни"), "Будние дни");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"
                             "Будние дни"),
              "Будние дни");
    EXPECT_EQ(DecodeTextFile("\xC1\xF3\xE4\xED\xE8\xE5 \xE4\xED\xE8"), "Будние дни");
    EXPECT_EQ(DecodeTextFile("8:00|23:59"), "8:00|23:59");
    EXPECT_EQ(DecodeTextFile(""), "");
}

}  // namespace
}  // namespace kestrova
