#pragma once
#include <string>
#include <vector>

#include "content/TPakFile.h"
#include "media/TStream.h"

// Images, strips, masks and effect files ship inside one pack, "media/data.pak";
// a loose file with the same path wins over the pack, so single files can be
// replaced by dropping them next to the game. The directory is read once, on
// first use, and kept for the rest of the run.

extern std::string PakPath;                // "media/data.pak"
extern std::vector<TPakFile> PakDirectory;  // in directory order; empty until read
extern int PakLoaded;                      // 1 once the directory has been read

// Reads the directory of PakPath into PakDirectory and sets PakLoaded. A
// missing pack leaves the directory empty; a damaged one is reported on
// standard output naming the pack, and only its intact entries are kept.
void LoadPakDirectory();

// Forgets the directory so the next lookup reads PakPath again.
void ResetPakDirectory();

// Reads n bytes of a name field and returns the characters they encode.
std::string ReadPakName(TStream& stream, int n);

// Reads the directory of a pack from the whole stream. Entries that do not
// fit in the stream are left out; each problem found is appended to
// `problems` as a short sentence (without the pack's name).
std::vector<TPakFile> ReadPakDirectory(TStream& stream, std::vector<std::string>* problems);

// The name of an entry without the padding, for tools and messages.
std::string PakEntryName(const TPakFile& entry);

// A stream over the loose file at `path`, or else over the pack entry for it
// (exactly its bytes), or null. Each call opens the pack anew.
StreamPtr OpenResource(const std::string& path);

// 1 when a loose file or folder with that path exists or the pack has an
// entry for it, else 0.
int ResourceExists(const std::string& path);
