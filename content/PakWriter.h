#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/TStream.h"

// Builds data packs in the format the game reads (content/PakFormat.h). The
// names are stored exactly as given: whoever packs the game's files writes
// them the way the game asks for them (lower-case, "/" separators).
struct PakWriterEntry {
    std::string name;  // UTF-8; stored as 8-bit characters
    std::vector<uint8_t> data;
};

// Writes the directory and then every entry's data in order. Returns false and
// leaves a one-line reason in `problem` (naming the entry) when an entry
// cannot be stored: a name longer than 100 characters or with characters
// outside 8-bit text, or a pack larger than 2 GiB (nothing is written then),
// or a failed write.
bool WritePak(TStream& out, const std::vector<PakWriterEntry>& entries, std::string* problem);
