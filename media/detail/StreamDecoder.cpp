#include "media/detail/StreamDecoder.h"

#include <algorithm>

namespace media_detail {

StreamDecoder::StreamDecoder(std::shared_ptr<StreamedSound> sound)
    : sound_(std::move(sound)),
      source_(sound_->Source()),
      channels_(sound_->Channels()),
      ring_(static_cast<size_t>(RING_FRAMES) * static_cast<size_t>(channels_)) {}

std::unique_ptr<StreamDecoder> StreamDecoder::Open(std::shared_ptr<StreamedSound> sound, int64_t start) {
    std::unique_ptr<StreamDecoder> decoder(new StreamDecoder(std::move(sound)));
    if (decoder->source_.Open(decoder->file_) != 0) return nullptr;
    decoder->open_ = true;
    decoder->total_ = ov_pcm_total(&decoder->file_, -1);
    if (start > 0 && !decoder->StartAt(start)) return nullptr;
    decoder->Refill();
    return decoder;
}

bool StreamDecoder::StartAt(int64_t frame) {
    // The ring is numbered along the playback, so it starts at `frame` itself
    // and only the file is positioned inside the sound.
    written_.store(frame, std::memory_order_relaxed);
    consumed_.store(frame, std::memory_order_relaxed);
    if (total_ <= 0) return false;
    if (frame >= total_ && !sound_->Loops()) {
        end_.store(frame, std::memory_order_relaxed);
        return true;
    }
    return ov_pcm_seek(&file_, frame % total_) == 0;
}

StreamDecoder::~StreamDecoder() {
    if (open_) ov_clear(&file_);
}

long StreamDecoder::DecodeAt(int64_t frame, int64_t maxFrames) {
    int section = 0;
    char* dst = reinterpret_cast<char*>(ring_.data() + static_cast<size_t>(frame & (RING_FRAMES - 1)) * channels_);
    int bytes = static_cast<int>(std::min<int64_t>(maxFrames, 4096) * channels_ * 2);
    for (;;) {
        long got = ov_read(&file_, dst, bytes, 0, 2, 1, &section);
        if (got == OV_HOLE) continue;  // damaged page: skip to the next good one
        if (got <= 0) return got;
        const vorbis_info* info = ov_info(&file_, section);
        if (!info || info->channels != channels_) return -1;
        return got / (2 * channels_);
    }
}

void StreamDecoder::Refill() {
    if (!open_ || end_.load(std::memory_order_relaxed) >= 0) return;
    int64_t written = written_.load(std::memory_order_relaxed);
    bool rewound = false;  // guards against a sound that yields nothing after a rewind
    for (;;) {
        int64_t free = RING_FRAMES - (written - consumed_.load(std::memory_order_acquire));
        if (free <= 0) break;
        int64_t untilWrap = RING_FRAMES - (written & (RING_FRAMES - 1));
        long got = DecodeAt(written, std::min(free, untilWrap));
        if (got > 0) {
            written += got;
            written_.store(written, std::memory_order_release);
            rewound = false;
            // Noticing the end as soon as the last frame is decoded lets the
            // mixer finish the channel on its last frame, and a loop restart
            // before the ring runs low.
            if (ov_pcm_tell(&file_) < total_) continue;
            got = 0;
        }
        if (got == 0 && sound_->Loops() && !rewound && ov_pcm_seek(&file_, 0) == 0) {
            rewound = true;
            continue;
        }
        end_.store(written, std::memory_order_release);
        break;
    }
}

}  // namespace media_detail
