#pragma once
// Shared between the media layer's own modules only; never included outside media/.
#include <vorbis/vorbisfile.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/detail/OggSource.h"
#include "media/detail/SoundData.h"

namespace media_detail {

// The decoder of one channel playing a streamed sound, with the ring of
// decoded frames between it and the mixer.
//
// Why a ring refilled from the main thread: decoding Vorbis costs time in
// bursts (a page at a time) and goes through the data stream, which is not
// safe to touch from the audio thread. So the main thread decodes (Refill,
// called from AudioUpdate once per frame, and when the channel starts) and the
// mixer only copies frames out. The ring holds about three quarters of a
// second, enough to ride over a slow frame; if it still runs dry the channel
// holds its place instead of skipping. One producer (main thread) and one
// consumer (mixer) share it through two counters, so neither waits for the
// other and the mixer never allocates.
//
// Frames are numbered along the playback: a looping sound keeps counting past
// its end (frame Frames() is its first frame again), so the ring never has to
// be reset to wrap.
class StreamDecoder {
public:
    static constexpr int64_t RING_FRAMES = 32768;  // a power of two

    // Null when the source no longer opens. Decoding starts at playback frame
    // `start` (past the end of a looping sound it wraps; past the end of
    // another the decoder is at its end at once); null when the source cannot
    // seek there.
    static std::unique_ptr<StreamDecoder> Open(std::shared_ptr<StreamedSound> sound, int64_t start = 0);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // Producer side (main thread): decodes until the ring is full or the sound ends.
    void Refill();

    // Consumer side (mixer). Frames [Consumed(), Written()) are in the ring.
    int64_t Written() const { return written_.load(std::memory_order_acquire); }
    // Number of the frame after the last one, once decoding has reached the
    // end of a sound that does not loop; -1 before.
    int64_t EndFrame() const { return end_.load(std::memory_order_acquire); }
    // Frames before `frame` may be overwritten.
    void Release(int64_t frame) { consumed_.store(frame, std::memory_order_release); }
    const int16_t* Frame(int64_t frame) const {
        return ring_.data() + static_cast<size_t>(frame & (RING_FRAMES - 1)) * channels_;
    }
    int Channels() const { return channels_; }

private:
    explicit StreamDecoder(std::shared_ptr<StreamedSound> sound);
    // Decodes into the ring at `frame` up to `maxFrames`; frames decoded, 0 at
    // the end of the data, negative on a fault.
    long DecodeAt(int64_t frame, int64_t maxFrames);
    bool StartAt(int64_t frame);

    std::shared_ptr<StreamedSound> sound_;
    OggSource source_;
    OggVorbis_File file_{};
    bool open_ = false;
    int64_t total_ = 0;  // frames in the whole stream, as its last page declares
    int channels_;
    std::vector<int16_t> ring_;
    std::atomic<int64_t> written_{0};
    std::atomic<int64_t> consumed_{0};
    std::atomic<int64_t> end_{-1};
};

}  // namespace media_detail
