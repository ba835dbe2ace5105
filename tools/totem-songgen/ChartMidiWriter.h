#pragma once
#include <cstdint>
#include <vector>

#include "tools/totem-songgen/ChartBuilder.h"
#include "tools/totem-songgen/SongScore.h"

// Writes the charts of a song as one Standard MIDI File: format 0, one
// track, one tempo event, every difficulty an octave lower per step of
// complexity, note-offs ending every note.
class ChartMidiWriter {
public:
    static std::vector<uint8_t> Write(const SongScore& score, const std::vector<ChartDifficulty>& charts);
};
