#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "zevlink/inet_check.h"

// ZEVLINK_FILE: the built library, set by the build.

namespace {

// What a command prints; `ran` is false when it could not be run or failed.
std::string CommandOutput(const std::string& command, bool& ran) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    ran = pipe != nullptr;
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ran = ::pclose(pipe) == 0;
    return output;
}

TEST(ZevlinkLibrary, CarriesVersionInItsFileNameAndSoname) {
    EXPECT_EQ(std::filesystem::path(ZEVLINK_FILE).filename(), "libzevlink.so.0.1.1.1");
    bool ran = false;
    const std::string dynamic = CommandOutput(std::string("objdump -p ") + ZEVLINK_FILE, ran);
    if (!ran) GTEST_SKIP() << "objdump (binutils) is not available";
    EXPECT_NE(dynamic.find("SONAME               libzevlink.so.0\n"), std::string::npos) << dynamic;
}

TEST(ZevlinkLibrary, ExportsInetCheckOnly) {
    bool ran = false;
    const std::string symbols =
        CommandOutput(std::string("nm -D --defined-only ") + ZEVLINK_FILE, ran);
    if (!ran) GTEST_SKIP() << "nm (binutils) is not available";
    std::set<std::string> names;
    std::size_t start = 0;
    while (start < symbols.size()) {
        auto end = symbols.find('\n', start);
        if (end == std::string::npos) end = symbols.size();
        const std::string line = symbols.substr(start, end - start);
        const auto space = line.rfind(' ');
        if (space != std::string::npos) names.insert(line.substr(space + 1));
        start = end + 1;
    }
    EXPECT_EQ(names, std::set<std::string>{"InetCheck"}) << symbols;
}

TEST(ZevlinkLibrary, InetCheckIsFoundByName) {
    void* library = ::dlopen(ZEVLINK_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    const auto check = reinterpret_cast<bool (*)()>(::dlsym(library, "InetCheck"));
    ASSERT_NE(check, nullptr);
    static_assert(sizeof(bool) == 1, "the result is one byte");
    // Loaded already through this program's own import table: the answers agree.
    EXPECT_EQ(check(), InetCheck());
    ::dlclose(library);
}

}  // namespace
