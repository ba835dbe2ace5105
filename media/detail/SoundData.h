#pragma once
// Shared between the media layer's own modules only; never included outside media/.
#include <cstdint>
#include <vector>

#include "media/Audio.h"

namespace media_detail {

// A sound held decoded in memory: interleaved 16-bit samples at its own rate.
// Short effects take this form; the mixer reads the samples directly.
class PcmSound : public TSound {
public:
    PcmSound(std::vector<int16_t> samples, int channels, int rate, int flags)
        : samples_(std::move(samples)), channels_(channels), rate_(rate) {
        this->flags = flags;
    }
    int64_t Frames() const override { return static_cast<int64_t>(samples_.size()) / channels_; }
    int Rate() const override { return rate_; }
    int Channels() const override { return channels_; }
    bool Streamed() const override { return false; }
    const int16_t* Samples() const { return samples_.data(); }

private:
    std::vector<int16_t> samples_;
    int channels_;
    int rate_;
};

// A long Ogg Vorbis sound (a song track) kept as its encoded source: each
// channel that plays it opens its own decoder over the shared stream, so
// loading costs a header read and holds no decoded samples.
class StreamedSound : public TSound {
public:
    StreamedSound(StreamPtr source, int64_t frames, int channels, int rate, int flags)
        : source_(std::move(source)), frames_(frames), channels_(channels), rate_(rate) {
        this->flags = flags;
    }
    int64_t Frames() const override { return frames_; }
    int Rate() const override { return rate_; }
    int Channels() const override { return channels_; }
    bool Streamed() const override { return true; }
    const StreamPtr& Source() const { return source_; }

private:
    StreamPtr source_;
    int64_t frames_;
    int channels_;
    int rate_;
};

// Readers of the two sound formats; both return null for anything they cannot
// decode completely and never read outside the given data.
SoundPtr DecodeWav(const std::vector<uint8_t>& bytes, int flags);
SoundPtr LoadOgg(StreamPtr stream, int flags);

}  // namespace media_detail
