#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_text.h"

namespace kestrova {
namespace {

// Texts made of random pieces of section and key lines, comments and junk.
std::string RandomIniText(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "[A]",
        "[a]",
        "[B]",
        " [ b ] ",
        "[A",
        "]",
        "K=",
        "k = ",
        "L=1",
        "K=2",
        "=",
        ";",
        "\n",
        "\r\n",
        "\r",
        " ",
        "\t",
        "x",
        std::string(1, '\0'),
        "\xEF\xBB\xBF",
        "[A]=x",
    };
    std::uniform_int_distribution<std::size_t> count(0, 30), piece(0, pieces.size() - 1);
    std::string text;
    for (std::size_t n = count(random); n > 0; --n) text += pieces[piece(random)];
    return text;
}

// A write changes the one key it names, whatever the text around it holds.
TEST(IniTextTest, WriteChangesOnlyItsKey) {
    const std::pair<std::string_view, std::string_view> names[] = {
        {"A", "K"}, {"A", "L"}, {"B", "K"}, {"B", "L"}, {"C", "K"},
    };
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomIniText(random);
        for (const auto& [section, key] : names) {
            const std::string written = SetIniValue(text, section, key, "v");
            ASSERT_EQ(FindIniValue(written, section, key), "v") << '"' << text << '"';
            ASSERT_EQ(FindIniValue(written, "a", "k"), FindIniValue(written, "A", "K"));
            for (const auto& [otherSection, otherKey] : names) {
                if (otherSection == section && otherKey == key) continue;
                ASSERT_EQ(FindIniValue(written, otherSection, otherKey),
                          FindIniValue(text, otherSection, otherKey))
                    << '"' << text << "\" after writing " << section << '/' << key;
            }
            ASSERT_TRUE(HasIniSection(written, section));
            ASSERT_EQ(SetIniValue(written, section, key, "v"), written);
        }
    }
}

}  // namespace
}  // namespace kestrova
