#pragma once
#include <string>

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
