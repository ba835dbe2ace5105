#include "media/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Owns the libvorbis state so every exit path releases it.
struct Encoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool dspReady = false, streamReady = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (streamReady) ogg_stream_clear(&stream);
        if (dspReady) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    void Drain(std::vector<uint8_t>& out, bool flush) {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) ogg_stream_packetin(&stream, &packet);
        }
        ogg_page page;
        while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) AppendPage(page, out);
    }
};

}  // namespace

bool EncodeOggVorbis(const float* interleaved, size_t frames, const OggEncodeSettings& settings,
                     std::vector<uint8_t>& out, std::string* error) {
    out.clear();
    auto fail = [&](const char* why) {
        out.clear();
        if (error) *error = why;
        return false;
    };
    if (settings.channels < 1 || settings.channels > 2) return fail("only mono and stereo are encoded");
    if (settings.rate < 8000 || settings.rate > 192000) return fail("sample rate out of range");
    if (!interleaved || frames == 0) return fail("no samples to encode");

    Encoder enc;
    if (vorbis_encode_init_vbr(&enc.info, settings.channels, settings.rate, settings.quality) != 0)
        return fail("the Vorbis encoder refused the settings");
    vorbis_comment_add_tag(&enc.comment, "ENCODER", "totem-riff content tools");
    vorbis_analysis_init(&enc.dsp, &enc.info);
    vorbis_block_init(&enc.dsp, &enc.block);
    enc.dspReady = true;
    ogg_stream_init(&enc.stream, settings.serial);
    enc.streamReady = true;

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &commentHeader);
    ogg_stream_packetin(&enc.stream, &codeHeader);
    ogg_page page;
    // Audio must start on a fresh page after the headers.
    while (ogg_stream_flush(&enc.stream, &page)) AppendPage(page, out);

    const size_t chunk = 4096;
    for (size_t done = 0; done < frames;) {
        const size_t n = std::min(chunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < settings.channels; ++c)
                buffer[c][i] = interleaved[(done + i) * static_cast<size_t>(settings.channels) + static_cast<size_t>(c)];
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
        enc.Drain(out, false);
        done += n;
    }
    vorbis_analysis_wrote(&enc.dsp, 0);
    enc.Drain(out, true);
    return true;
}
