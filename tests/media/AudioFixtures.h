#pragma once
// Sound fixtures made on the spot: WAV files built byte by byte and Ogg Vorbis
// files encoded with libvorbisenc, plus a reference decoder that reads a whole
// Ogg file at once. Shared by the audio tests and the audio benchmark.
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace audio_fixtures {

inline void PutU16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void PutU32(std::vector<uint8_t>& b, uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}
inline void PutTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(tag[i]));
}

// A PCM WAV file. `samples` are interleaved, in the file's own encoding
// (0..255 for 8 bits, signed for 16 bits).
inline std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<int>& samples) {
    std::vector<uint8_t> b;
    uint32_t dataBytes = uint32_t(samples.size()) * uint32_t(bits / 8);
    PutTag(b, "RIFF");
    PutU32(b, 4 + 8 + 16 + 8 + dataBytes + (dataBytes & 1));
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    PutU32(b, 16);
    PutU16(b, 1);
    PutU16(b, uint32_t(channels));
    PutU32(b, uint32_t(rate));
    PutU32(b, uint32_t(rate * channels * bits / 8));
    PutU16(b, uint32_t(channels * bits / 8));
    PutU16(b, uint32_t(bits));
    PutTag(b, "data");
    PutU32(b, dataBytes);
    for (int s : samples) {
        if (bits == 8)
            b.push_back(uint8_t(s));
        else
            PutU16(b, uint32_t(s) & 0xFFFF);
    }
    if (dataBytes & 1) b.push_back(0);
    return b;
}

// A 16-bit WAV at the mixer's rate from interleaved samples.
inline std::vector<uint8_t> Wav16(int channels, const std::vector<int>& samples, int rate = 44100) {
    return MakeWav(channels, rate, 16, samples);
}

// Encodes `frames` frames whose sample for (frame, channel) is gen(frame, channel) in -1..1.
inline std::vector<uint8_t> EncodeOgg(int channels, int rate, int64_t frames,
                                      const std::function<float(int64_t, int)>& gen, float quality = 0.3f) {
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x5EED);
    ogg_page og;
    ogg_packet op;
    auto putPage = [&] {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComment);
    ogg_stream_packetin(&os, &headerCode);
    while (ogg_stream_flush(&os, &og) != 0) putPage();

    constexpr int BLOCK = 4096;
    int64_t done = 0;
    bool eos = false, allWritten = false;
    while (!eos && !allWritten) {
        int64_t n = std::min<int64_t>(BLOCK, frames - done);
        allWritten = n <= 0;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, BLOCK);
            for (int64_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = gen(done + i, c);
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    putPage();
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

// Two sines, a different one in each channel, so swapped or shifted channels show.
inline std::vector<uint8_t> SineOgg(int channels, int rate, double seconds) {
    return EncodeOgg(channels, rate, int64_t(seconds * rate), [rate](int64_t i, int c) {
        double f = c == 0 ? 440.0 : 660.0;
        return float((c == 0 ? 0.5 : 0.3) * std::sin(2 * M_PI * f * double(i) / rate));
    });
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
};

// The reference: the whole file decoded in one go through vorbisfile, interleaved.
inline std::vector<int16_t> DecodeOggWhole(const std::vector<uint8_t>& bytes) {
    MemoryReader reader{&bytes};
    ov_callbacks cb{};
    cb.read_func = [](void* ptr, size_t size, size_t count, void* src) -> size_t {
        auto* r = static_cast<MemoryReader*>(src);
        size_t n = std::min(size * count, r->bytes->size() - r->pos);
        std::memcpy(ptr, r->bytes->data() + r->pos, n);
        r->pos += n;
        return n / size;
    };
    OggVorbis_File vf;
    std::vector<int16_t> pcm;
    if (ov_open_callbacks(&reader, &vf, nullptr, 0, cb) != 0) return pcm;
    char buf[4096];
    int section = 0;
    long got;
    while ((got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0) {
        size_t old = pcm.size();
        pcm.resize(old + size_t(got) / 2);
        std::memcpy(pcm.data() + old, buf, size_t(got));
    }
    ov_clear(&vf);
    return pcm;
}

}  // namespace audio_fixtures
