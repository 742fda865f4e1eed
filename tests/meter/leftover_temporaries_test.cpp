#include "meter/leftover_temporaries.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "settings/atomic_file.h"
#include "settings/ini_file.h"
#include "support/fakes.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::set<std::string> Temporaries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& name : Names(folder)) {
        if (name.ends_with(".tmp")) names.insert(name);
    }
    return names;
}

// A writer killed between writing its temporary and renaming it, for real: a child replaces
// `target` with a large file over and over and is killed while a temporary is on disk.
std::string KillWriterMidway(const fs::path& target) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            const std::string big(4 << 20, 'x');
            for (int i = 0;; ++i) ReplaceFileAtomically(target, big.substr(i % 2));
        }
        std::set<std::string> seen;
        for (int i = 0; i < 2000 && seen.empty(); ++i) {
            seen = Temporaries(target.parent_path());
            if (seen.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto left = Temporaries(target.parent_path());
        if (!left.empty()) return *left.begin();
    }
    return {};
}

TEST(LeftoverTemporaries, StartRemovesWhatAKilledWriterLeft) {
    testing::TempDir dir;
    const fs::path stats = dir.path() / "stats";
    fs::create_directories(stats);
    const std::string old = "[Count]\r\nSecond=5\r\n";
    testing::WriteAll(stats / "3-2027.ini", old);
    const std::string left = KillWriterMidway(stats / "3-2027.ini");
    ASSERT_FALSE(left.empty()) << "no writer was caught between its write and its rename";
    EXPECT_EQ(TemporaryTargetName(left), "3-2027.ini");

    EXPECT_EQ(RemoveStartupLeftovers(dir.path()), 1);
    EXPECT_EQ(Names(stats), std::set<std::string>{"3-2027.ini"});
    const auto size = fs::file_size(stats / "3-2027.ini");  // whole: the old or a new content
    EXPECT_TRUE(size == old.size() || size == (4u << 20) || size == (4u << 20) - 1) << size;
}

// Only the temporaries of the program's own files go: Config.ini, month files, the log where
// `LogFile` puts it, and rate tables beside the table `Table` names.
TEST(LeftoverTemporaries, OnlyTemporariesOfOurOwnFiles) {
    testing::TempDir dir;
    const fs::path program = dir.path() / "program";
    const fs::path logs = dir.path() / "logs";
    const fs::path tables = dir.path() / "tables";
    for (const auto& folder : {program / "stats", logs, tables}) fs::create_directories(folder);
    IniFile(program / "Config.ini").WriteString("General", "LogFile", (logs / "net.log").string());
    IniFile(program / "Config.ini")
        .WriteString("General", "Table", (tables / "home.kvtl").string());

    const std::set<std::string> programGone = {"Config.ini.1f2e3d4c5b6a7988.tmp",
                                               "Config.ini.0.tmp"};
    const std::set<std::string> programKept = {"Config.ini",
                                               "Config.ini.tmp",       // no number
                                               "Config.ini.12g4.tmp",  // not hexadecimal
                                               "Config.ini.1F2E.tmp",  // not our digits
                                               "Config.ini.11112222333344445.tmp",  // too long
                                               "other.ini.1f2e.tmp",                // not our file
                                               "logfile.log.1f2e.tmp"};  // the log is elsewhere
    const std::set<std::string> statsGone = {"3-2027.ini.abc.tmp", "12-2026.ini.ff.tmp"};
    const std::set<std::string> statsKept = {"3-2027.ini", "notes.ini.abc.tmp", "3-27.ini.abc.tmp"};
    const std::set<std::string> logsGone = {"net.log.7.tmp"};
    const std::set<std::string> logsKept = {"net.log", "other.log.7.tmp"};
    const std::set<std::string> tablesGone = {"home.kvtl.9a.tmp", "work.KVTL.9b.tmp"};
    const std::set<std::string> tablesKept = {"home.kvtl", "home.txt.9a.tmp"};
    const std::pair<fs::path, const std::set<std::string>*> made[] = {
        {program, &programGone},         {program, &programKept}, {program / "stats", &statsGone},
        {program / "stats", &statsKept}, {logs, &logsGone},       {logs, &logsKept},
        {tables, &tablesGone},           {tables, &tablesKept}};
    for (const auto& [folder, names] : made) {
        for (const auto& name : *names) {
            if (!fs::exists(folder / name)) testing::WriteAll(folder / name, "x");
        }
    }
    fs::create_directories(program / "Config.ini.aa.tmp");  // a folder, not a file: kept

    const std::size_t gone =
        programGone.size() + statsGone.size() + logsGone.size() + tablesGone.size();
    EXPECT_EQ(RemoveStartupLeftovers(program), static_cast<int>(gone));
    std::set<std::string> programNow = programKept;
    programNow.insert("stats");
    programNow.insert("Config.ini.aa.tmp");
    EXPECT_EQ(Names(program), programNow);
    EXPECT_EQ(Names(program / "stats"), statsKept);
    EXPECT_EQ(Names(logs), logsKept);
    EXPECT_EQ(Names(tables), tablesKept);
}

}  // namespace
}  // namespace kestrova
