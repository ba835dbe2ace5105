#pragma once
#include <string>
#include <vector>

// One drum voice of a groove: a General MIDI percussion key and one character
// per sixteenth of the bar ('X' accent, 'x' hit, 'o' soft, '.' rest).
struct DrumVoice {
    int key;
    std::string steps;
};

// What makes a style sound like itself: metre and feel, the band's
// instruments, the grooves of drums, bass and accompaniment, the chord
// progressions it draws from and the rhythm cells of its melodies.
// Patterns are strings with one character per sixteenth of a bar.
class SongStyle {
public:
    std::string name;
    int beatsPerBar = 4;
    bool swing = false;       // offbeat eighths fall on the last triplet
    int phraseBars = 2;
    // General MIDI programs (0-based); −1 = no such part.
    int leadProgram = 0, compProgram = 0, bassProgram = 32, padProgram = -1, extraProgram = -1;
    int leadLow = 60, leadHigh = 81;   // the lead's range before transposing to the key
    std::vector<DrumVoice> drums;
    std::vector<DrumVoice> fill;       // replaces the groove in a section's last bar
    // Bass: 'r' root, 'f' fifth, 'o' octave, 't' third, 'w' step towards the next chord.
    std::string bassPattern;
    // Accompaniment: 'x' chord, 'a' next arpeggio note; `compGate` = sounding sixteenths (0 = until the next hit).
    std::string compPattern;
    int compGate = 0;
    int compNotes = 3;          // chord tones per hit (2 = root and fifth power chord)
    int compLow = 52;
    int extraLow = 60;          // arpeggio or second part
    std::string extraPattern;   // same letters as `comp`
    int extraGate = 1;
    std::vector<std::vector<int>> progressions;  // scale degrees, one per bar
    int chordsPerBar = 1;
    bool sevenths = false;
    // Lead rhythm cells, one beat each ('x' note onset, '.' continue/rest, 'r' rest beat).
    std::vector<std::string> cells;
    double heldChance = 0.15;  // chance of a held note inside a phrase
    int leadVelocity = 92;
    int bandHitEvery = 2;      // phrase ends with a band hit: every n-th phrase

    static const SongStyle* Find(const std::string& name);
    static const std::vector<SongStyle>& All();
};
