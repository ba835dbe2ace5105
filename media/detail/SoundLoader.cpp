#include <vorbis/vorbisfile.h>

#include <cstring>

#include "media/detail/OggSource.h"
#include "media/detail/SoundData.h"

namespace media_detail {

namespace {

constexpr int MIN_SOURCE_RATE = 1000;
constexpr int MAX_SOURCE_RATE = 384000;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool RateSupported(long rate) { return rate >= MIN_SOURCE_RATE && rate <= MAX_SOURCE_RATE; }

struct WavFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

// Accepts plain PCM and the extensible header whose sub-format is PCM.
bool ParseFmt(const uint8_t* p, size_t size, WavFormat& fmt) {
    if (size < 16) return false;
    uint16_t tag = U16(p);
    if (tag == 0xFFFE) {
        if (size < 40 || U16(p + 24) != 1) return false;
    } else if (tag != 1) {
        return false;
    }
    fmt.channels = U16(p + 2);
    fmt.rate = static_cast<int>(U32(p + 4));
    fmt.bits = U16(p + 14);
    uint16_t blockAlign = U16(p + 12);
    if (fmt.channels < 1 || fmt.channels > 2) return false;
    if (fmt.bits != 8 && fmt.bits != 16) return false;
    if (!RateSupported(fmt.rate)) return false;
    return blockAlign == fmt.channels * fmt.bits / 8;
}

}  // namespace

SoundPtr DecodeWav(const std::vector<uint8_t>& bytes, int flags) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return nullptr;
    WavFormat fmt;
    bool haveFmt = false;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    size_t at = 12;
    while (bytes.size() - at >= 8) {
        const uint8_t* chunk = bytes.data() + at;
        size_t size = U32(chunk + 4);
        size_t avail = bytes.size() - at - 8;
        if (size > avail) return nullptr;  // cut off
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (!ParseFmt(chunk + 8, size, fmt)) return nullptr;
            haveFmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !data) {
            data = chunk + 8;
            dataSize = size;
        }
        at += 8 + size + (size & 1);
        if (at > bytes.size()) break;  // a missing pad byte after the last chunk
    }
    if (!haveFmt || !data) return nullptr;
    size_t bytesPerSample = static_cast<size_t>(fmt.bits / 8);
    size_t frames = dataSize / (bytesPerSample * static_cast<size_t>(fmt.channels));
    if (frames == 0) return nullptr;
    std::vector<int16_t> samples(frames * static_cast<size_t>(fmt.channels));
    for (size_t i = 0; i < samples.size(); ++i) {
        if (fmt.bits == 8)
            samples[i] = static_cast<int16_t>((int(data[i]) - 128) * 256);
        else
            samples[i] = static_cast<int16_t>(U16(data + 2 * i));
    }
    return std::make_shared<PcmSound>(std::move(samples), fmt.channels, fmt.rate, flags);
}

namespace {

// Decodes a whole (short) Ogg Vorbis file; any decoding error fails it.
SoundPtr DecodeWholeOgg(OggVorbis_File& vf, int channels, int rate, int64_t frames, int flags) {
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(frames * channels));
    char buffer[8192];
    int section = 0;
    for (;;) {
        long got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) return nullptr;
        const vorbis_info* info = ov_info(&vf, section);
        if (!info || info->channels != channels) return nullptr;
        size_t count = static_cast<size_t>(got) / 2;
        size_t old = samples.size();
        samples.resize(old + count);
        std::memcpy(samples.data() + old, buffer, count * 2);
    }
    if (samples.size() < static_cast<size_t>(channels)) return nullptr;
    samples.resize(samples.size() - samples.size() % static_cast<size_t>(channels));
    return std::make_shared<PcmSound>(std::move(samples), channels, rate, flags);
}

}  // namespace

SoundPtr LoadOgg(StreamPtr stream, int flags) {
    if (!OggEndsCleanly(*stream)) return nullptr;
    OggSource source(stream);
    OggVorbis_File vf;
    if (source.Open(vf) != 0) return nullptr;
    SoundPtr sound;
    const vorbis_info* info = ov_info(&vf, -1);
    ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (info && (info->channels == 1 || info->channels == 2) && RateSupported(info->rate) && frames > 0) {
        int channels = info->channels;
        int rate = static_cast<int>(info->rate);
        if (static_cast<double>(frames) / rate > STREAM_ABOVE_SECONDS)
            sound = std::make_shared<StreamedSound>(stream, frames, channels, rate, flags);
        else
            sound = DecodeWholeOgg(vf, channels, rate, frames, flags);
    }
    ov_clear(&vf);
    return sound;
}

}  // namespace media_detail
