#pragma once
#include <string>

#include "tools/totem-songgen/SongDescription.h"
#include "tools/totem-songgen/SongScore.h"

// Turns a song description into a score: drums, bass, chords, pads and
// arpeggios for the band, and a lead melody made of phrases with held notes
// and accents. The same description always gives the same score.
class SongComposer {
public:
    // `forLoop` leaves out the closing chord so the last bar leads back to the first.
    static bool Compose(const SongDescription& description, SongScore& score, std::string& error,
                        bool forLoop = false);
};
