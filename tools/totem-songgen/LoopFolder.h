#pragma once
#include <cstddef>
#include <vector>

// Makes a seamless loop from a render that runs on past the loop's end: what
// still sounds after the end (released notes, reverb) is laid over the start,
// exactly as it would sound when the loop comes round again.
class LoopFolder {
public:
    // `band` and `lead` are interleaved stereo of equal length, at least
    // `loopFrames` frames; the result is their sum, `loopFrames` frames long.
    static std::vector<float> Fold(const std::vector<float>& band, const std::vector<float>& lead, size_t loopFrames);
};
