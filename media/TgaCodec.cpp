// Targa reader: colour-mapped, true-colour and grey images, raw or
// run-length encoded, any origin corner. TGA has no signature, so the header
// is checked strictly before anything is read.
#include <cstring>
#include <vector>

#include "media/detail/PictureCodecs.h"

namespace media_detail {
namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }

uint32_t Expand5(uint32_t v) { return (v << 3) | (v >> 2); }

// One pixel or colour-map entry of `bytes` bytes as 0xAARRGGBB.
uint32_t ColourOf(const uint8_t* p, int bits, bool grey, bool useAlpha) {
    if (grey) {
        const uint32_t g = p[0];
        const uint32_t a = (bits == 16 && useAlpha) ? p[1] : 255u;
        return (a << 24) | (g << 16) | (g << 8) | g;
    }
    switch (bits) {
    case 15:
    case 16: {
        const uint32_t v = U16(p);
        return 0xFF000000u | (Expand5((v >> 10) & 31) << 16) | (Expand5((v >> 5) & 31) << 8) | Expand5(v & 31);
    }
    case 24:
        return 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    default: {
        const uint32_t a = useAlpha ? p[3] : 255u;
        return (a << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
    }
}

}  // namespace

PicturePtr DecodeTGA(const uint8_t* data, size_t size) {
    if (size < 18) return nullptr;
    const uint32_t idLength = data[0], mapType = data[1], imageType = data[2];
    const uint32_t mapFirst = U16(data + 3), mapLength = U16(data + 5), mapBits = data[7];
    const int64_t width = U16(data + 12), height = U16(data + 14);
    const uint32_t bits = data[16], descriptor = data[17];

    const bool rle = imageType >= 9;
    const uint32_t kind = rle ? imageType - 8 : imageType;  // 1 mapped, 2 true colour, 3 grey
    if (kind < 1 || kind > 3 || mapType > 1 || (descriptor & 0xC0) != 0) return nullptr;
    if (!PictureSizeAcceptable(width, height)) return nullptr;
    if (kind == 1 && (mapType != 1 || (bits != 8 && bits != 16))) return nullptr;
    if (kind == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return nullptr;
    if (kind == 3 && bits != 8 && bits != 16) return nullptr;
    if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32) return nullptr;

    const uint32_t alphaBits = descriptor & 0x0F;
    const bool rightToLeft = (descriptor & 0x10) != 0;
    const bool topDown = (descriptor & 0x20) != 0;

    size_t pos = 18 + idLength;
    std::vector<uint32_t> colourMap;
    bool hasAlpha = false;
    if (mapType == 1) {
        const size_t entryBytes = (mapBits + 7) / 8;
        if (pos > size || static_cast<size_t>(mapLength) * entryBytes > size - pos) return nullptr;
        const bool mapAlpha = mapBits == 32 && alphaBits != 0;
        colourMap.resize(mapLength);
        for (size_t i = 0; i < mapLength; ++i) colourMap[i] = ColourOf(data + pos + i * entryBytes, mapBits, false, mapAlpha);
        pos += mapLength * entryBytes;
        hasAlpha = kind == 1 && mapAlpha;
    }
    if (kind == 2) hasAlpha = bits == 32 && alphaBits != 0;
    if (kind == 3) hasAlpha = bits == 16 && alphaBits != 0;

    const size_t pixelBytes = (bits + 7) / 8;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    // The pixels must fit in what is left before any room is made for them: a
    // run-length packet is its count byte and at least one pixel for up to 128.
    if (pos > size) return nullptr;
    const size_t leastBytes = rle ? (count + 127) / 128 * (1 + pixelBytes) : count * pixelBytes;
    if (leastBytes > size - pos) return nullptr;
    auto picture = std::make_shared<TPicture>(static_cast<int>(width), static_cast<int>(height), hasAlpha);
    uint32_t* out = picture->StorePixels();

    auto decode = [&](const uint8_t* p, uint32_t& argb) -> bool {
        if (kind == 1) {
            const uint32_t index = bits == 8 ? p[0] : U16(p);
            if (index < mapFirst || index - mapFirst >= colourMap.size()) return false;
            argb = colourMap[index - mapFirst];
        } else {
            argb = ColourOf(p, bits, kind == 3, hasAlpha);
        }
        return true;
    };
    // Pixels arrive in file order; place each one by the origin corner.
    auto place = [&](size_t i, uint32_t argb) {
        const int64_t fx = static_cast<int64_t>(i % static_cast<size_t>(width));
        const int64_t fy = static_cast<int64_t>(i / static_cast<size_t>(width));
        const int64_t x = rightToLeft ? width - 1 - fx : fx;
        const int64_t y = topDown ? fy : height - 1 - fy;
        out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = argb;
    };

    if (!rle) {
        for (size_t i = 0; i < count; ++i) {
            uint32_t argb = 0;
            if (!decode(data + pos + i * pixelBytes, argb)) return nullptr;
            place(i, argb);
        }
    } else {
        size_t i = 0;
        while (i < count) {
            if (pos >= size) return nullptr;
            const uint8_t packet = data[pos++];
            const size_t run = (packet & 0x7F) + 1u;
            if (run > count - i) return nullptr;
            if (packet & 0x80) {
                if (pixelBytes > size - pos) return nullptr;
                uint32_t argb = 0;
                if (!decode(data + pos, argb)) return nullptr;
                pos += pixelBytes;
                for (size_t k = 0; k < run; ++k) place(i++, argb);
            } else {
                if (run * pixelBytes > size - pos) return nullptr;
                for (size_t k = 0; k < run; ++k, pos += pixelBytes) {
                    uint32_t argb = 0;
                    if (!decode(data + pos, argb)) return nullptr;
                    place(i++, argb);
                }
            }
        }
    }
    return picture;
}

}  // namespace media_detail
