#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Encodes sound made by the content tools (synthesised effects, rendered
// songs) into Ogg Vorbis, the format the game's mixer plays. The stream serial
// is fixed by the caller so that repeated builds produce identical files.
struct OggEncodeSettings {
    int channels = 2;
    int rate = 44100;
    float quality = 0.4f;  // Vorbis VBR quality, -0.1 … 1.0
    int serial = 1;
};

// `interleaved` holds frames × channels samples in −1 … 1 (values beyond are
// clipped by the encoder). Returns false with a reason in `error` when the
// settings are refused or nothing could be encoded; `out` then stays empty.
bool EncodeOggVorbis(const float* interleaved, size_t frames, const OggEncodeSettings& settings,
                     std::vector<uint8_t>& out, std::string* error);
