#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace probex {

/// Every file Probex reads (projects, distribution files, settings and layout files) is text
/// of kilobytes, rarely megabytes. A file beyond this is none of them, or never ends
/// (/dev/zero); reading stops there instead of filling the memory.
inline constexpr std::size_t MaxReadableFileSize = std::size_t{64} << 20;

/// Reads the whole file into `contents`. Returns the error text with the system's message
/// ("Cannot open file "x": ...", "Cannot read file "x": ..."), or one that says the file is
/// too large; empty on success.
std::string ReadWholeFile(const std::string& path, std::string& contents,
                          std::size_t limit = MaxReadableFileSize);

/// Replaces the file at `path` by `contents`: a temporary file in the same directory is
/// written, flushed to disk and renamed over the old one. A symbolic link is followed, so
/// that its target is replaced and the link stays; a read-only file is refused. Temporary
/// files left behind by a save that was killed are removed by the next save of the same
/// file. Returns the error text with the system's message, empty on success; on failure the
/// old file is untouched and the temporary file removed.
std::string WriteFileAtomically(const std::string& path, std::string_view contents);

/// Puts the file `from` in the place of the file at `path` as WriteFileAtomically would write
/// it (a link followed, a read-only file refused, the permissions of the file replaced kept):
/// renamed when both lie in one file system, copied otherwise. `from` is gone on success.
/// Returns the error text with the system's message, empty on success.
std::string MoveFileOver(const std::string& from, const std::string& path);

/// The temporary file name a save of `path` by this process uses for its `n`th save.
std::string SaveTemporaryName(const std::string& path, unsigned long long pid, unsigned n);

} // namespace probex
