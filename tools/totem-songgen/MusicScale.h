#pragma once
#include <string>
#include <vector>

// The pitch material of a song: the seven-note scale its chords are built on
// and the (possibly smaller) set of notes its melody moves through.
class MusicScale {
public:
    static bool Make(const std::string& name, int key, MusicScale& out);

    int key = 0;
    std::vector<int> chordSteps;   // 7 semitone offsets from the tonic
    std::vector<int> melodySteps;  // offsets the lead uses

    // Pitches (MIDI numbers) of the chord on scale degree `degree` (0-based,
    // may exceed 6), `notes` chord tones stacked in thirds, rooted at or above `low`.
    std::vector<int> Chord(int degree, int notes, int low) const;
    int ChordRootClass(int degree) const;
    // Every melody pitch within [low, high], ascending.
    std::vector<int> MelodyPitches(int low, int high) const;
};

bool IsKnownScale(const std::string& name);
