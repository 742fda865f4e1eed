#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

// Up to one disk block, a file of unchanged size is overwritten in place with a single write:
// a kill cannot split one write, and it spares the rename, which on ext4 starts the new file's
// write-back at once and costs far more than the once-a-second statistics can afford.
constexpr std::uintmax_t kInPlaceWriteLimit = 4096;

// Replaces `path` with `bytes`: writes a temporary file beside it and renames it over, so a
// crash at any moment leaves either the old or the new content. A small file whose size does
// not change is overwritten in place by one single write instead, which is as safe and far
// cheaper. False when the system refuses:
// the folder is missing or not writable, or the file exists and may not be written (a read-only
// file is refused, as a direct write would be). An existing file keeps its permissions; when
// `path` is a symbolic link, the file it points to is replaced and the link stays.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The file name that a temporary file of ReplaceFileAtomically stands in for: the temporary is
// named after it, followed by "." and up to 16 lowercase hexadecimal digits and ".tmp". Empty
// when `name` is not such a temporary.
std::string TemporaryTargetName(std::string_view name);

// Removes the temporaries in `folder` that a write killed before its rename left behind, of the
// files whose names `ours` accepts; other files are never touched. The number removed.
int RemoveLeftoverTemporaries(const std::filesystem::path& folder,
                              const std::function<bool(std::string_view)>& ours);

}  // namespace kestrova
