#pragma once
#include <string>

// The tools that read a built runtime folder work from inside it, because the
// game's own paths ("res.xml", "media/...") are relative to the folder the
// game runs in. Makes `gameDir` the current folder when it holds a "res.xml";
// otherwise leaves the current folder alone and returns false with a
// "PATH: problem" line in `problem`.
bool EnterGameFolder(const std::string& gameDir, std::string& problem);

// The folder that holds the game's files ("res.xml" and what it names), as
// an absolute path. A desktop menu or a terminal may start the program from
// anywhere, so three places are tried in turn: `startFolder`, the folder it
// was started in, when it holds the game (a build or an unpacked copy run
// from its folder, as always); the program's own folder; and the installed
// data folder, `dataFromProgram` taken from the program's folder (such as
// "../share/totem-riff"), which keeps working when the whole installation is
// moved. Empty when none holds the game.
std::string FindGameFolder(const std::string& startFolder, const std::string& programFolder,
                           const std::string& dataFromProgram);
