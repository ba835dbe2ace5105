#pragma once
#include <cstdint>
#include <string>
#include <vector>

// File-system helpers of the media layer. Paths may use / or \ as separators.

// 0 = does not exist, 1 = file, 2 = folder.
int PathKind(const std::string& path);
// The path without its extension (the part after the last "." that follows the
// last separator, and the dot).
std::string StripExtension(const std::string& path);
// Only the extension, without the dot; empty when there is none.
std::string PathExtension(const std::string& path);
// Turns \ separators into / so the host file system understands the path.
std::string NativePath(const std::string& path);

// Writes `bytes` as the whole new content of `path`: into "<path>.tmp" in the
// same folder first, flushed to the disk, then renamed over `path`, and the
// folder flushed so the rename itself is kept. A crash or power cut at any
// moment leaves either the old file or the new one, each complete. On failure
// `error` says why, `path` is untouched and the temporary file is removed.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
// Renames a file or folder (replacing `to` when it is a file); false when it
// cannot be renamed.
bool RenamePath(const std::string& from, const std::string& to);
