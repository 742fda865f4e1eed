#pragma once

#include <filesystem>

namespace kestrova {

// At start: removes the temporary files that a kill between writing a file and renaming it
// over its target left beside the program's own files: Config.ini, the month files in the
// `stats` folder, the log that `LogFile` names, and rate tables in the folder of the table
// that `Table` names. Only temporaries of those files are removed. The number removed.
int RemoveStartupLeftovers(const std::filesystem::path& programDir);

}  // namespace kestrova
