#pragma once

#include <filesystem>

namespace kestrova {

// Forces a file that has just been written, and the folder entry that names it, onto the disk,
// so that a power loss right after a session end or a month change keeps the figures. Slow:
// for the rare moments that matter, not for every tick. Failures are ignored (nothing better
// can be done with the data at that point).
void SyncFileToDisk(const std::filesystem::path& file);

}  // namespace kestrova
