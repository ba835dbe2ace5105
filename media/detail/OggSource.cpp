#include "media/detail/OggSource.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace media_detail {

int OggSource::Open(OggVorbis_File& file) {
    offset_ = 0;
    ov_callbacks callbacks{&OggSource::ReadCb, &OggSource::SeekCb, nullptr, &OggSource::TellCb};
    return ov_open_callbacks(this, &file, nullptr, 0, callbacks);
}

size_t OggSource::ReadCb(void* ptr, size_t size, size_t count, void* self) {
    auto* src = static_cast<OggSource*>(self);
    if (size == 0 || count == 0) return 0;
    if (!src->stream_->Seek(src->offset_)) return 0;
    size_t got = src->stream_->Read(ptr, size * count);
    src->offset_ += static_cast<int64_t>(got);
    return got / size;
}

int OggSource::SeekCb(void* self, ogg_int64_t offset, int whence) {
    auto* src = static_cast<OggSource*>(self);
    int64_t base = 0;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = src->offset_; break;
        case SEEK_END: base = src->stream_->Size(); break;
        default: return -1;
    }
    int64_t target = base + offset;
    if (target < 0 || target > src->stream_->Size()) return -1;
    src->offset_ = target;
    return 0;
}

long OggSource::TellCb(void* self) {
    return static_cast<long>(static_cast<OggSource*>(self)->offset_);
}

namespace {

// The page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection, zero start.
uint32_t PageCrc(const uint8_t* data, size_t n) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

// Length of the valid page starting at `at`, or 0 when none starts there.
size_t PageLength(std::vector<uint8_t>& buf, size_t at) {
    constexpr size_t HEADER = 27;
    if (buf.size() - at < HEADER) return 0;
    const uint8_t* p = buf.data() + at;
    if (p[0] != 'O' || p[1] != 'g' || p[2] != 'g' || p[3] != 'S' || p[4] != 0) return 0;
    size_t segments = p[26];
    if (buf.size() - at < HEADER + segments) return 0;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += p[HEADER + i];
    size_t length = HEADER + segments + body;
    if (buf.size() - at < length) return 0;
    uint32_t stored = uint32_t(p[22]) | uint32_t(p[23]) << 8 | uint32_t(p[24]) << 16 | uint32_t(p[25]) << 24;
    // The checksum is computed with its own field zeroed.
    uint8_t saved[4] = {p[22], p[23], p[24], p[25]};
    std::fill(buf.begin() + at + 22, buf.begin() + at + 26, 0);
    uint32_t actual = PageCrc(buf.data() + at, length);
    std::copy(saved, saved + 4, buf.begin() + at + 22);
    return actual == stored ? length : 0;
}

}  // namespace

bool OggEndsCleanly(TStream& stream) {
    // The largest possible page, so the last one lies wholly in the tail read.
    constexpr int64_t MAX_PAGE = 27 + 255 + 255 * 255;
    int64_t size = stream.Size();
    int64_t start = size > MAX_PAGE ? size - MAX_PAGE : 0;
    int64_t saved = stream.Pos();
    std::vector<uint8_t> tail(static_cast<size_t>(size - start));
    bool read = stream.Seek(start) && stream.Read(tail.data(), tail.size()) == tail.size();
    stream.Seek(saved);
    if (!read) return false;
    // Walk back from the end to the last complete page; it must carry the
    // end-of-stream mark.
    for (size_t at = tail.size() >= 27 ? tail.size() - 27 + 1 : 0; at-- > 0;) {
        size_t length = PageLength(tail, at);
        if (length == 0) continue;
        return (tail[at + 5] & 0x04) != 0;
    }
    return false;
}

}  // namespace media_detail
