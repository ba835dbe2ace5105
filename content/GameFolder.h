#pragma once
#include <string>

// The tools that read a built runtime folder work from inside it, because the
// game's own paths ("res.xml", "media/...") are relative to the folder the
// game runs in. Makes `gameDir` the current folder when it holds a "res.xml";
// otherwise leaves the current folder alone and returns false with a
// "PATH: problem" line in `problem`.
bool EnterGameFolder(const std::string& gameDir, std::string& problem);
