#pragma once
#include <string>
#include <vector>

#include "tools/totem-songgen/SongScore.h"

struct _fluid_synth_t;
struct _fluid_hashtable_t;

// Plays a score through FluidSynth offline (no audio device): the band or the
// lead alone, into interleaved 44.1 kHz stereo floats.
class SongRenderer {
public:
    static constexpr int kRate = 44100;

    SongRenderer() = default;
    SongRenderer(const SongRenderer&) = delete;
    SongRenderer& operator=(const SongRenderer&) = delete;
    ~SongRenderer();

    bool Open(const std::string& soundfont, std::string& error);
    // `frames` fixes the length (the score's end plus a tail for the reverb).
    bool Render(const SongScore& score, bool lead, size_t frames, std::vector<float>& out, std::string& error);
    static size_t FramesFor(const SongScore& score, double tailSeconds);

private:
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    int font_ = -1;
};
