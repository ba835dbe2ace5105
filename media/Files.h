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
// Whether new files can be made in `folder` (it exists, is a folder and may
// be written). Root may write anywhere, so for it a folder whose write
// permission was taken from everyone, as an installed game's is made
// read-only, counts as not writable too; a read-only mount is never writable.
bool FolderWritable(const std::string& folder);
// Makes `folder` and any of its missing parents. On failure `error` names the
// folder and why it could not be made.
bool MakeFolders(const std::string& folder, std::string& error);
// Renames a file or folder (replacing `to` when it is a file); false when it
// cannot be renamed.
bool RenamePath(const std::string& from, const std::string& to);
