#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One section of a song's form: a name ("intro", "A", "B", "outro", …) and
// its length in bars. Sections with the same name share their melody.
struct SongSection {
    std::string name;
    int bars = 0;
};

// The small text a content author writes per song (assets/songs/<song>.song):
// key=value lines, '#' comments. Everything the composer needs is here; the
// music itself is made from it, so the description is the song's source.
class SongDescription {
public:
    std::string title;
    double tempo = 0;           // beats per minute
    int key = 0;                // pitch class of the tonic, 0 = C
    std::string scale;          // major, minor, dorian, mixolydian, blues, harmonic
    std::string style;          // a name from the style table
    std::vector<SongSection> structure;
    uint32_t seed = 0;
    int leadProgram = -1;       // optional General MIDI program overrides
    int compProgram = -1;

    // Parses `text`; `file` names the description in the one-line error.
    // Returns false and fills `error` ("<file>: <what>") on bad input.
    static bool Parse(const std::string& text, const std::string& file, SongDescription& out,
                      std::string& error);
    static bool Load(const std::string& path, SongDescription& out, std::string& error);

    int TotalBars() const;
};
